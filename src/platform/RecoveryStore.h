#pragma once

#include "platform/RecoveryCopy.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

// The recovery copies in the state folder, one a running window, each beside
// the lock of the process it belongs to. A copy is replaced whole or not at
// all, and nothing here waits for the disk. A lock whose process is gone is
// stale: the copy beside it was left by a program that ended unasked.
// Nothing here shows a message; a folder that cannot take a copy only makes
// keep() answer false.
class RecoveryStore {
public:
    // A copy that a program no longer running left, locked by this one for
    // as long as the object lives: no other program can offer it meanwhile.
    struct Orphan {
        QString id;
        QDateTime written;
        RecoveryCopy::Picture picture;
        std::unique_ptr<QLockFile> lock;
    };

    // $XDG_STATE_HOME/pensilo, by default ~/.local/state/pensilo.
    static QString defaultFolder();

    explicit RecoveryStore(QString folder = defaultFolder());
    // The copy stays: only discard() removes it, so an end that nobody chose
    // leaves the picture for the next start. The lock goes with the store.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const QString& folder() const { return folder_; }

    // Takes this window's lock if it has none yet. Taking it writes the lock
    // through to the disk, so it is done at start, not in the middle of a
    // child's drawing; false when the folder takes no lock.
    bool claimOwnLock();
    // Replaces this window's copy with `image` and `name`, written under a
    // temporary name and renamed over the last copy, with no sync: the file
    // system's own commit decides when it reaches the disk.
    bool keep(const QImage& image, const QString& name);
    // Removes this window's copy; the lock stays for the next one.
    void discard();

    // The copies left by programs no longer running, newest first, each
    // locked by this one. Damaged and foreign files are left where they are.
    std::vector<Orphan> claimOrphans();
    // The orphan's copy becomes this window's own, with its lock.
    void adopt(Orphan& orphan);
    // Deletes the orphan's copy and lets go of its lock.
    void remove(Orphan& orphan);

private:
    // Removes the locks and half-written copies of programs that ended
    // without leaving a copy.
    void sweepLeftLocks();
    QString path(const QString& id, const char* suffix) const;

    QString folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
};
