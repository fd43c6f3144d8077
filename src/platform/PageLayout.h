#pragma once

#include <QRectF>
#include <QSizeF>

// Where a printed picture goes on its sheet of paper.
namespace PageLayout {

// The rectangle, in the units of `paper` and `printable` (the part of the
// paper the printer reaches), that shows `picture` centred on the paper and
// as large as it fits inside the printable part without being distorted.
// Empty when nothing of it can be printed centred.
QRectF pictureOnPage(const QRectF& paper, const QRectF& printable, const QSizeF& picture);

} // namespace PageLayout
