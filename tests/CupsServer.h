#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// A CUPS server of the test's own, with one printer "PDF" of Debian's
// cups-pdf: cupsd runs on a socket in a temporary folder with its
// configuration there, and this process and the CUPS commands talk to it
// alone, whatever printers the machine has. cups-pdf reads its settings from
// /etc/cups only; the jobs come from a user the system does not know, so it
// writes them where it writes anonymous jobs, and each is found by its title.
class CupsServer {
public:
    static inline const QString kPrinter = QStringLiteral("PDF");

    ~CupsServer() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(5000))
                cupsd_.kill();
            cupsd_.waitForFinished(5000);
        }
    }

    // Starts the server and points this process at it; empty when it runs,
    // otherwise why it cannot run here. Before anything in this process has
    // asked CUPS for a printer: the CUPS library keeps the first server it
    // was given.
    QString start() {
        if (!dir_.isValid())
            return "no temporary folder";
        qputenv("CUPS_SERVER", QFile::encodeName(socket()));
        qputenv("CUPS_USER", "pensilo-test-anonymous");
        for (const char* needed : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat",
                                   "/usr/sbin/cupsdisable", "/usr/lib/cups/backend/cups-pdf", kPpd})
            if (!QFileInfo::exists(needed))
                return QString("%1 is missing (Debian: cups, printer-driver-cups-pdf)").arg(needed);
        // cups-pdf refuses to run but as root.
        if (geteuid() != 0)
            return "cups-pdf prints only for a CUPS server running as root";
        // The filters run as the lp user and read the jobs from the spool folder.
        for (const char* folder : {"", "spool", "spool/tmp", "cache", "state", "log"}) {
            const QString path = dir_.filePath(folder);
            if (!QDir().mkpath(path) ||
                !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadGroup |
                                                 QFile::ExeGroup | QFile::ReadOther |
                                                 QFile::ExeOther))
                return "cannot make " + path;
        }
        if (!write("cupsd.conf", "Listen " + socket() +
                                     "\nLogLevel warn\nBrowsing No\nDefaultAuthType None\n"
                                     "WebInterface No\n"
                                     "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                     "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                     "  </Limit>\n</Policy>\n") ||
            !write("cups-files.conf",
                   "ServerRoot " + dir_.path() + "\nRequestRoot " + dir_.filePath("spool") +
                       "\nTempDir " + dir_.filePath("spool/tmp") + "\nCacheDir " +
                       dir_.filePath("cache") + "\nStateDir " + dir_.filePath("state") +
                       "\nErrorLog " + dir_.filePath("log/error_log") +
                       "\nAccessLog /dev/null\nPageLog /dev/null\n"
                       "SystemGroup root\nSandboxing Relaxed\n"))
            return "cannot write the configuration";
        cupsd_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cupsd_.start("/usr/sbin/cupsd", {"-f", "-c", dir_.filePath("cupsd.conf"), "-s",
                                         dir_.filePath("cups-files.conf")});
        if (!cupsd_.waitForStarted(5000))
            return "cupsd did not start";
        if (!QTest::qWaitFor([&] { return run("lpstat", {"-r"}).contains("is running"); }, 10000))
            return "cupsd did not answer: " + log();
        bool added = false;
        run("lpadmin", {"-p", kPrinter, "-E", "-v", "cups-pdf:/", "-P", kPpd}, &added);
        if (!added)
            return "lpadmin could not add the printer: " + log();
        return {};
    }

    QString socket() const { return dir_.filePath("cups.sock"); }

    // A CUPS command against this server; its output.
    static QString run(const QString& command, const QStringList& arguments, bool* ok = nullptr) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(command, arguments);
        const bool finished = process.waitForFinished(20000);
        if (ok)
            *ok =
                finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        return QString::fromLocal8Bit(process.readAll());
    }

    // The jobs done so far, each "PDF-3 user size date" a line.
    static QStringList completedJobs() {
        return run("lpstat", {"-W", "completed", "-o", kPrinter}).split('\n', Qt::SkipEmptyParts);
    }

    // Where cups-pdf writes the jobs of users it does not know.
    static QString anonymousFolder() {
        QFile conf("/etc/cups/cups-pdf.conf");
        if (conf.open(QIODevice::ReadOnly))
            for (const QByteArray& line : conf.readAll().split('\n'))
                if (line.trimmed().startsWith("AnonDirName"))
                    return QString::fromLocal8Bit(line.trimmed().mid(11).trimmed());
        return "/var/spool/cups-pdf/ANONYMOUS";
    }

    // The PDF cups-pdf wrote for the job titled `title`, once there; empty when none came.
    static QString pdfOf(const QString& title) {
        QString found;
        const bool came = QTest::qWaitFor(
            [&] {
                const QFileInfoList files =
                    QDir(anonymousFolder()).entryInfoList({"*" + title + "*.pdf"}, QDir::Files);
                found = files.isEmpty() ? QString() : files.first().filePath();
                return !found.isEmpty();
            },
            10000);
        return came ? found : QString();
    }

    QString log() const {
        QFile file(dir_.filePath("log/error_log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

private:
    static constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

    bool write(const char* name, const QString& text) {
        QFile file(dir_.filePath(name));
        const QByteArray bytes = text.toLocal8Bit();
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    QTemporaryDir dir_;
    QProcess cupsd_;
};
