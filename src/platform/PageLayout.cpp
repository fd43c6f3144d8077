#include "platform/PageLayout.h"

#include <algorithm>

namespace PageLayout {

// Centred on the paper rather than on the printable part, whose margins a
// printer may make uneven: the picture then keeps an even border all round.
QRectF pictureOnPage(const QRectF& paper, const QRectF& printable, const QSizeF& picture) {
    if (picture.isEmpty())
        return {};
    const QPointF centre = paper.center();
    const double halfWidth =
        std::min(centre.x() - printable.left(), printable.right() - centre.x());
    const double halfHeight =
        std::min(centre.y() - printable.top(), printable.bottom() - centre.y());
    if (halfWidth <= 0 || halfHeight <= 0)
        return {};
    const double scale =
        std::min(2 * halfWidth / picture.width(), 2 * halfHeight / picture.height());
    const QSizeF size = picture * scale;
    return QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                  size.height());
}

} // namespace PageLayout
