#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Picture files that lie: BMP headers whose sizes, depths, palettes, offsets,
// run lengths and bit masks do not fit the file or each other, BMPs cut short
// at every header field, and icon files with the same kinds of lies. Written
// for the Open road's tests and as the seed corpus of its fuzzer; the same
// files, byte for byte, every time.
namespace HostilePictures {

struct Sample {
    QString name; // a file name: what it is, then how it lies; ".bmp" or ".ico"
    QByteArray bytes;
};

std::vector<Sample> all();

// Writes every sample into `folder` (which must exist); the number written,
// or -1 when a file could not be written.
int writeAll(const QString& folder);

} // namespace HostilePictures
