#include "platform/RecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kCopy = ".copy";
constexpr const char* kLock = ".lock";
// A copy being written; left behind only when its program ended mid-write.
constexpr const char* kNew = ".new";
// More than the largest copy could take: a bigger file is not read at all.
constexpr qint64 kMaxCopyBytes = qint64(272) * 1024 * 1024;

std::filesystem::path nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// QFile::rename refuses to replace a file; the system's rename replaces it
// in one step, so the copy's name always holds a whole copy.
bool renameOver(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return !error;
}

// A lock that only a process that is gone leaves stale: the age of a lock
// says nothing, a window may stay open for weeks.
std::unique_ptr<QLockFile> lockFile(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QString RecoveryStore::defaultFolder() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Pensilo/recovery");
#else
    // Qt 6.4 has no state location: this is the XDG base directory rule.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/pensilo");
#endif
}

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder)) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::path(const QString& id, const char* suffix) const {
    return folder_ + QLatin1Char('/') + id + QLatin1String(suffix);
}

bool RecoveryStore::claimOwnLock() {
    if (lock_)
        return true;
    if (!QDir().mkpath(folder_))
        return false;
    // A name that no file uses yet, not even one a program with this
    // process number left behind long ago.
    static int windows = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString id =
            QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(++windows);
        if (QFileInfo::exists(path(id, kCopy)) || QFileInfo::exists(path(id, kLock)) ||
            QFileInfo::exists(path(id, kNew)))
            continue;
        std::unique_ptr<QLockFile> lock = lockFile(path(id, kLock));
        if (lock->tryLock(0)) {
            id_ = id;
            lock_ = std::move(lock);
            sweepLeftLocks();
            return true;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return false;
    }
    return false;
}

void RecoveryStore::sweepLeftLocks() {
    const QFileInfoList entries = QDir(folder_).entryInfoList(
        {QStringLiteral("*.lock"), QStringLiteral("*.new")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        const QString id = entry.completeBaseName();
        if (id == id_ || QFileInfo::exists(path(id, kCopy)))
            continue;
        // Taken only when its program is gone; let go at once, which removes it.
        std::unique_ptr<QLockFile> lock = lockFile(path(id, kLock));
        if (lock->tryLock(0))
            QFile::remove(path(id, kNew));
    }
}

bool RecoveryStore::keep(const QImage& image, const QString& name) {
    if (!claimOwnLock())
        return false;
    const QByteArray bytes = RecoveryCopy::encode(image, name);
    const QString temporary = path(id_, kNew);
    QFile file(temporary);
    // Unbuffered, so a full disk shows in write() itself.
    if (bytes.isEmpty() ||
        !file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (written && renameOver(temporary, path(id_, kCopy)))
        return true;
    QFile::remove(temporary);
    return false;
}

void RecoveryStore::discard() {
    if (!lock_)
        return;
    QFile::remove(path(id_, kCopy));
    QFile::remove(path(id_, kNew));
}

std::vector<RecoveryStore::Orphan> RecoveryStore::claimOrphans() {
    // Only a copy is worth a lock before the first frame: taking a stale
    // lock writes it through to the disk. A killed program that had no copy
    // leaves a lock alone, swept once this window's own lock is taken.
    QSet<QString> ids;
    const QFileInfoList entries =
        QDir(folder_).entryInfoList({QStringLiteral("*.copy")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries)
        ids.insert(entry.completeBaseName());
    ids.remove(id_);

    std::vector<Orphan> orphans;
    for (const QString& id : std::as_const(ids)) {
        std::unique_ptr<QLockFile> lock = lockFile(path(id, kLock));
        // Its program is still running, or the folder takes no lock.
        if (!lock->tryLock(0))
            continue;
        QFile::remove(path(id, kNew));
        QFile file(path(id, kCopy));
        if (!file.exists() || file.size() > kMaxCopyBytes || !file.open(QIODevice::ReadOnly))
            continue;
        std::optional<RecoveryCopy::Picture> picture = RecoveryCopy::decode(file.readAll());
        if (!picture)
            continue;
        orphans.push_back(
            {id, QFileInfo(file).lastModified(), std::move(*picture), std::move(lock)});
    }
    std::sort(orphans.begin(), orphans.end(), [](const Orphan& a, const Orphan& b) {
        return a.written != b.written ? a.written > b.written : a.id > b.id;
    });
    return orphans;
}

void RecoveryStore::adopt(Orphan& orphan) {
    if (lock_) {
        discard();
        lock_.reset();
    }
    id_ = orphan.id;
    lock_ = std::move(orphan.lock);
}

void RecoveryStore::remove(Orphan& orphan) {
    if (!orphan.lock)
        return;
    QFile::remove(path(orphan.id, kCopy));
    orphan.lock.reset();
}
