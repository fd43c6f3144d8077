#include "CupsServer.h"
#include "FormRig.h"
#include "platform/PageLayout.h"

#include <QPrinter>

#include <unistd.h>

namespace {

bool nearlyEqual(const QRectF& a, const QRectF& b) {
    return std::abs(a.left() - b.left()) < 1e-6 && std::abs(a.top() - b.top()) < 1e-6 &&
           std::abs(a.width() - b.width()) < 1e-6 && std::abs(a.height() - b.height()) < 1e-6;
}

QString text(const QRectF& r) {
    return QString("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

// Whether the printing module, and Qt's printer plugin that a printer loads,
// are loaded in this process.
bool printingLoaded() {
    QFile maps("/proc/self/maps");
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    const QByteArray loaded = maps.readAll();
    return loaded.contains("pensilo_printing") && loaded.contains("printersupport");
}

// The page of a PDF at 300 dots an inch; null without pdftoppm. Poppler
// smooths a picture it enlarges less than four times, so the picture is
// rendered larger than that, and without smoothed edges.
constexpr double kDotsPerPoint = 300.0 / 72;

QImage renderedPage(const QString& pdf, const QString& folder) {
    const QString base = folder + "/page";
    QProcess pdftoppm;
    pdftoppm.start("pdftoppm",
                   {"-r", "300", "-aa", "no", "-aaVector", "no", "-png", "-singlefile", pdf, base});
    if (!pdftoppm.waitForFinished(30000) || pdftoppm.exitCode() != 0)
        return {};
    QImage page(base + ".png");
    QFile::remove(base + ".png");
    return page.convertToFormat(QImage::Format_RGB32);
}

QRectF inDots(const QRectF& points) {
    return QRectF(points.topLeft() * kDotsPerPoint, points.size() * kDotsPerPoint);
}

// What is wrong with a printed page of `picture` laid out as `layout`: the
// picture must be centred on the paper, fill the printable part's width or
// height undistorted, and show the canvas's pixels in their colours; with
// `exactColours`, in no colour that is not on the canvas.
QString pageProblems(const QImage& page, const QPageLayout& layout, const QImage& picture,
                     bool exactColours) {
    const QRectF paper = inDots(layout.fullRect(QPageLayout::Point));
    const QRectF printable = inDots(layout.paintRect(QPageLayout::Point));
    // Layouts are in whole points; the page is rounded to whole dots.
    const double slack = 2 * kDotsPerPoint;
    if (std::abs(page.width() - paper.width()) > slack ||
        std::abs(page.height() - paper.height()) > slack)
        return QString("a page of %1x%2, not %3")
            .arg(page.width())
            .arg(page.height())
            .arg(text(paper));
    QRect found;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x)
            if (qMin(qMin(qRed(line[x]), qGreen(line[x])), qBlue(line[x])) < 240)
                found |= QRect(x, y, 1, 1);
    }
    if (found.isEmpty())
        return "an empty page";
    QStringList problems;
    if (std::abs(found.left() - (page.width() - 1 - found.right())) > slack ||
        std::abs(found.top() - (page.height() - 1 - found.bottom())) > slack)
        problems << QString("the picture at %1, not centred").arg(text(found));
    const bool fillsWidth = std::abs(found.width() - printable.width()) <= slack;
    const bool fillsHeight = std::abs(found.height() - printable.height()) <= slack;
    if ((!fillsWidth && !fillsHeight) || found.width() > printable.width() + slack ||
        found.height() > printable.height() + slack)
        problems << QString("the picture %1 in the printable %2").arg(text(found), text(printable));
    const double aspect = double(found.width()) / found.height();
    if (std::abs(aspect / (double(picture.width()) / picture.height()) - 1) > 0.01)
        problems << QString("distorted to %1").arg(aspect);
    const QImage expected =
        picture.scaled(found.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage printed = page.copy(found);
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    qint64 differing = 0;
    qint64 strange = 0;
    for (int y = 0; y < printed.height(); ++y) {
        const QRgb* got = reinterpret_cast<const QRgb*>(printed.constScanLine(y));
        const QRgb* want = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < printed.width(); ++x) {
            const QRgb a = got[x], b = want[x];
            differing += std::abs(qRed(a) - qRed(b)) > 60 || std::abs(qGreen(a) - qGreen(b)) > 60 ||
                         std::abs(qBlue(a) - qBlue(b)) > 60;
            strange += !colours.contains(a);
        }
    }
    if (exactColours && strange > 0)
        problems << QString("%1 pixels in colours not on the canvas").arg(strange);
    // Scaling moves the edges of what is drawn by a pixel here and there.
    const qint64 all = qint64(printed.width()) * printed.height();
    if (differing > all * 3 / 100)
        problems << QString("%1 of %2 pixels unlike the canvas").arg(differing).arg(all);
    return problems.join(", ");
}

} // namespace

// Ctrl+P through the real window, to Qt's own PDF output and to a PDF
// printer of a CUPS server of the test's own; the pages read back with
// pdftoppm.
class TestPrinting : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    QTemporaryDir dir;
    CupsServer cups;
    QString withoutCups;
    int pictures = 0;

    // The night scene with a red and blue ellipse, saved under a name of its
    // own: the document's name is the print job's title.
    QString drawAndSave() {
        FormRig::press(rig.scenes().thumbnail(3));
        FormRig::press(rig.palette().cell(16), Qt::LeftButton, QPoint(8, 8));
        FormRig::press(rig.palette().cell(36), Qt::RightButton, QPoint(8, 8));
        FormRig::press(rig.button(193));
        rig.drag({{100, 100}, {350, 300}});
        const QString name = QString("pensilo-%1-%2").arg(getpid()).arg(++pictures);
        rig.saveAs(dir.filePath(name + ".bmp"));
        return name;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        withoutCups = cups.start();
        if (!withoutCups.isEmpty())
            qWarning("Printing through CUPS is not tested: %s", qPrintable(withoutCups));
    }
    // A job this run left behind, say one that was still printing when a
    // test failed, is not left in cups-pdf's shared folder.
    void cleanupTestCase() {
        const QDir folder(CupsServer::anonymousFolder());
        for (const QString& name :
             folder.entryList({QString("*pensilo-%1-*.pdf").arg(getpid())}, QDir::Files))
            QFile::remove(folder.filePath(name));
    }
    void init() { QVERIFY(rig.show()); }
    void cleanup() { rig.form.reset(); }

    // The window starts without anything of printing, which costs start-up
    // time and memory; the first Ctrl+P loads it. The program itself does not
    // even load Qt's printing library, which this test needs for its answers.
    void nothingOfPrintingBeforeCtrlP() {
        QVERIFY(!printingLoaded());
        rig.key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(rig.dialogs.printDialogs, 1);
        QVERIFY(printingLoaded());

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The C library's loader lists what the program would load, and stops.
        environment.insert("LD_TRACE_LOADED_OBJECTS", "1");
        program.setProcessEnvironment(environment);
        program.start(PENSILO_PROGRAM, QStringList());
        QVERIFY(program.waitForFinished(10000));
        const QByteArray libraries = program.readAllStandardOutput();
        if (!libraries.contains("libQt6Core"))
            QSKIP("this C library's loader does not list a program's libraries");
        QVERIFY2(!libraries.contains("PrintSupport"), libraries.constData());
    }

    void pictureOnPage_data() {
        QTest::addColumn<QRectF>("paper");
        QTest::addColumn<QRectF>("printable");
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<QRectF>("expected");
        const QSizeF canvas(471, 429);
        QTest::newRow("A4 upright: as wide as the printable part")
            << QRectF(0, 0, 595, 842) << QRectF(10, 10, 575, 822) << canvas
            << QRectF(10, 159.13694267515922, 575, 523.7261146496816);
        QTest::newRow("A4 lying: as high as the printable part")
            << QRectF(0, 0, 842, 595) << QRectF(10, 10, 822, 575) << canvas
            << QRectF(105.35314685314682, 10, 631.2937062937064, 575);
        QTest::newRow("uneven margins: centred on the paper, not the printable part")
            << QRectF(0, 0, 600, 800) << QRectF(50, 20, 530, 770) << canvas
            << QRectF(50, 172.29299363057325, 500, 455.4140127388535);
        QTest::newRow("paper not at the origin")
            << QRectF(100, 200, 595, 842) << QRectF(110, 210, 575, 822) << canvas
            << QRectF(110, 359.13694267515922, 575, 523.7261146496816);
        QTest::newRow("a thin tall picture") << QRectF(0, 0, 842, 595) << QRectF(10, 10, 822, 575)
                                             << QSizeF(10, 1000) << QRectF(418.125, 10, 5.75, 575);
        QTest::newRow("the printable part misses the middle")
            << QRectF(0, 0, 595, 842) << QRectF(0, 0, 200, 200) << canvas << QRectF();
        QTest::newRow("no picture")
            << QRectF(0, 0, 595, 842) << QRectF(10, 10, 575, 822) << QSizeF(0, 0) << QRectF();
    }
    void pictureOnPage() {
        QFETCH(QRectF, paper);
        QFETCH(QRectF, printable);
        QFETCH(QSizeF, picture);
        QFETCH(QRectF, expected);
        const QRectF placed = PageLayout::pictureOnPage(paper, printable, picture);
        QVERIFY2(nearlyEqual(placed, expected),
                 qPrintable(text(placed) + " instead of " + text(expected)));
    }

    void printsThePicture_data() {
        QTest::addColumn<bool>("throughCups");
        QTest::addColumn<int>("orientation");
        QTest::newRow("Qt's PDF output") << false << int(QPageLayout::Portrait);
        QTest::newRow("Qt's PDF output, lying") << false << int(QPageLayout::Landscape);
        QTest::newRow("the CUPS PDF printer") << true << int(QPageLayout::Portrait);
    }
    void printsThePicture() {
        QFETCH(bool, throughCups);
        QFETCH(int, orientation);
        if (throughCups && !withoutCups.isEmpty())
            QSKIP(qPrintable(withoutCups));
        const QString name = drawAndSave();
        const QString file = dir.filePath(name + ".pdf");
        QPageLayout layout;
        bool colourProposed = false;
        QString jobName;
        rig.dialogs.printers.push_back([&](QPrinter& printer) {
            colourProposed = printer.colorMode() == QPrinter::Color;
            jobName = printer.docName();
            if (throughCups) {
                printer.setPrinterName(CupsServer::kPrinter);
            } else {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(file);
            }
            printer.setPageOrientation(QPageLayout::Orientation(orientation));
            layout = printer.pageLayout();
            return true;
        });
        const qsizetype jobsBefore = CupsServer::completedJobs().size();
        rig.key(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(rig.dialogs.printDialogs, 1);
        QVERIFY(colourProposed);
        QCOMPARE(jobName, name);
        QCOMPARE(rig.dialogs.warnings, QStringList());

        QString pdf = file;
        if (throughCups) {
            QVERIFY2(QTest::qWaitFor(
                         [&] { return CupsServer::completedJobs().size() > jobsBefore; }, 30000),
                     qPrintable("the job was not printed: " + cups.log()));
            pdf = CupsServer::pdfOf(name);
            if (pdf.isEmpty())
                QSKIP(qPrintable("cups-pdf printed the job but not to " +
                                 CupsServer::anonymousFolder()));
        }
        const QImage page = renderedPage(pdf, dir.path());
        if (throughCups)
            QFile::remove(pdf);
        if (page.isNull())
            QSKIP("pdftoppm (Debian: poppler-utils) could not render the page");
        // Qt's own PDF is exact; cups-pdf's Ghostscript packs pictures as it likes.
        const QString problems = pageProblems(page, layout, rig.canvas(), !throughCups);
        if (!problems.isEmpty() || qEnvironmentVariableIsSet("PENSILO_KEEP_PAGES"))
            page.save(QDir::temp().filePath(name + "-page.png"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // Cancel prints nothing and says nothing; a printer or a file that fails
    // is named in a message, and nothing is printed. Mid-stroke Ctrl+P does
    // nothing at all.
    void printingFails_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << "cancel" << QString();
        QTest::newRow("Ctrl+P while a button is held on the canvas") << "mid-stroke" << QString();
        QTest::newRow("a file in a missing folder") << "missing folder"
                                                    << "Bilden kunde inte skrivas ut till filen\n";
        QTest::newRow("a stopped printer") << "stopped printer"
                                           << "Bilden kunde inte skrivas ut på skrivaren\nPDF\n\n";
    }
    void printingFails() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        const bool throughCups = answer == "stopped printer";
        if (throughCups && !withoutCups.isEmpty())
            QSKIP(qPrintable(withoutCups));
        const QString file =
            dir.filePath(answer == "missing folder" ? "saknas/bild.pdf" : "ej.pdf");
        rig.drawSomething();
        QString jobName;
        rig.dialogs.printers.push_back([&](QPrinter& printer) {
            jobName = printer.docName();
            if (throughCups) {
                printer.setPrinterName(CupsServer::kPrinter);
            } else {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(file);
            }
            return answer != "cancel";
        });
        if (answer == "mid-stroke")
            rig.press(QPoint(50, 50));
        if (throughCups)
            CupsServer::run("cupsdisable", {CupsServer::kPrinter});
        const QStringList jobsBefore = CupsServer::completedJobs();
        const QString queuedBefore = CupsServer::run("lpstat", {"-o", CupsServer::kPrinter});
        rig.key(Qt::Key_P, Qt::ControlModifier);
        if (throughCups)
            CupsServer::run("cupsenable", {CupsServer::kPrinter});
        if (answer == "mid-stroke")
            rig.release(QPoint(50, 50));

        QCOMPARE(rig.dialogs.printDialogs, answer == "mid-stroke" ? 0 : 1);
        // An untitled picture's job, and the file the dialog proposes, are called this.
        if (answer != "mid-stroke")
            QCOMPARE(jobName, QString::fromUtf8("Namnlös"));
        if (message.isEmpty()) {
            QCOMPARE(rig.dialogs.warnings, QStringList());
        } else {
            QCOMPARE(rig.dialogs.warnings.size(), 1);
            QVERIFY2(rig.dialogs.warnings.first().startsWith(message),
                     qPrintable(rig.dialogs.warnings.first()));
        }
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(CupsServer::completedJobs(), jobsBefore);
        QCOMPARE(CupsServer::run("lpstat", {"-o", CupsServer::kPrinter}), queuedBefore);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
