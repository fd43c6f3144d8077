#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Reading and writing picture files. Every failure comes back as a Problem the
// caller can turn into a message; nothing here shows one.
namespace PictureFile {

// What went wrong, in terms a message to the user can be made of.
enum class Problem {
    None,
    FolderMissing, // the folder to write into does not exist (or a part of its path is a file)
    IsFolder,      // the name given is a folder
    DiskFull,
    ReadOnly,     // the file system is mounted read-only
    NoPermission, // the system refused access
    NotFound,     // reading: there is no such file
    NotAPicture,  // reading: not a format that can be read
    Damaged,      // reading: a known format whose data is broken or cut short
    TooLarge,     // the picture would need absurd amounts of memory
    Other,
};

struct SaveResult {
    Problem problem = Problem::None;
    QString detail; // the system's own words, for a log or a bug report; never shown alone
    bool ok() const { return problem == Problem::None; }
};

struct LoadResult {
    QImage image; // Format_RGB32; null on failure
    // With a size to show given, the whole picture as the reader made it
    // when it is larger than that; null otherwise.
    QImage whole;
    QByteArray format; // Qt's name for what was read: "bmp", "png", "jpeg", "gif" ...
    Problem problem = Problem::None;
    QString detail;
    bool ok() const { return problem == Problem::None; }
};

// Synced: on disk before the call returns, for the pictures a user saves.
// Unsynced: for a file of our own that is read back at once and worth
// nothing after a crash; the disk gets it in the file system's own time.
enum class Durability { Synced, Unsynced };

// Writes `image` as a 24-bit Windows BMP. A file already at `path` is replaced
// only once the whole new file is written, and is left as it was on failure.
SaveResult saveBmp(const QImage& image, const QString& path,
                   Durability durability = Durability::Synced);

// Whether a picture of this size, as Format_RGB32, is more than we are
// willing to hold in memory.
bool tooLargeToHold(QSize size);

// Reads any picture Qt can read, recognised by its content rather than its
// name. Files that would need absurd amounts of memory are refused unread,
// and so is anything that is not a plain file (a pipe or a device could keep
// the reading waiting for ever). With `shown` set, only the picture's
// top-left part of that size is converted: all a canvas of that size can
// show, and far quicker when the picture is large.
LoadResult load(const QString& path, QSize shown = QSize());

// Reads a file this program wrote back at once: a plain 24-bit bottom-up BMP
// is decoded in one pass straight into Format_RGB32, four times quicker than
// Qt's reader; anything else goes to load().
LoadResult readBack(const QString& path);

// That one-pass decoding of a plain 24-bit bottom-up BMP of up to 4096 x 4096
// pixels, whole in `file`; a null image for anything else.
QImage decodePlainBmp(const QByteArray& file);

// What load() does once the file is open: our limits, Qt's reader, then the
// canvas's format. `device` is open for reading at the picture's first byte;
// a QFile also lends its name to Qt's choice of format.
LoadResult read(QIODevice& device, QSize shown = QSize());

} // namespace PictureFile
