#pragma once

// Real failures for tests that make them happen: root-only mounts and a disk
// filled to its last byte. Tests that need root skip when run as anyone else.
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

inline bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

inline bool isRoot() {
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

// Takes up every last byte of the disk holding `dir`.
inline bool fillDisk(const QString& dir) {
    QFile filler(dir + "/filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) > 0) {
    }
    return filler.size() > 0;
}

// A tiny file system of its own for the test, unmounted however the test ends.
class Tmpfs {
public:
    bool mount(const QString& size) {
        mounted_ = run("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", dir_.path()});
        return mounted_;
    }
    ~Tmpfs() {
        if (mounted_)
            run("umount", {"-l", dir_.path()});
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};
