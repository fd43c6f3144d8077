#pragma once

#include "platform/Icon.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// Reads and writes Windows icon files, keeping each image's colour (XOR) image
// and AND mask apart, as Windows draws them.
namespace IcoCodec {

struct ReadResult {
    std::vector<Icon> images; // in the file's order
    QString error;            // why nothing was read; empty on success
    bool ok() const { return error.isEmpty(); }
};

// The standard 16-colour Windows palette, in its usual order.
const std::array<QRgb, 16>& windowsPalette();

// Damaged, truncated or oversized data is refused with a message; nothing is
// read outside `data`.
ReadResult read(const QByteArray& data);
ReadResult readFile(const QString& path);

// One icon file of 4-bit images in the standard palette (colours not in it
// take the nearest one), each with its AND mask. Equal input gives equal bytes.
QByteArray write(const std::vector<Icon>& images);
// Returns an empty string on success.
QString writeFile(const QString& path, const std::vector<Icon>& images);

} // namespace IcoCodec
