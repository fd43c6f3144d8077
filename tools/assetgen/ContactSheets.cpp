#include "ContactSheets.h"

#include <QPainter>

namespace {

constexpr int kScale = 2;
constexpr int kCell = 32 * kScale + 16;
constexpr int kPerRow = 16;
constexpr int kHeading = 22;
const QColor kBackground(236, 236, 230);

} // namespace

namespace ContactSheets {

QImage stamps(const std::vector<Page>& pages) {
    int height = 8;
    for (const Page& page : pages)
        height += kHeading + kCell * static_cast<int>((page.stamps.size() + kPerRow - 1) / kPerRow);
    QImage sheet(kPerRow * kCell + 16, height, QImage::Format_RGB32);
    sheet.fill(kBackground);
    QPainter painter(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    int y = 8;
    for (const Page& page : pages) {
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(8, y, sheet.width(), kHeading), Qt::AlignVCenter, page.title);
        y += kHeading;
        font.setBold(false);
        painter.setFont(font);
        for (size_t i = 0; i < page.stamps.size(); ++i) {
            const StampSource& stamp = *page.stamps[i];
            const int x = 8 + static_cast<int>(i % kPerRow) * kCell;
            const int top = y + static_cast<int>(i / kPerRow) * kCell;
            const QImage shown = stamp.icon.onBackground(kBackground.rgb());
            painter.drawImage(QRect(x + 8, top, 32 * kScale, 32 * kScale), shown);
            painter.drawText(QRect(x, top + 32 * kScale, kCell, 14), Qt::AlignCenter,
                             QString::number(stamp.number));
        }
        y += kCell * static_cast<int>((page.stamps.size() + kPerRow - 1) / kPerRow);
    }
    return sheet;
}

QImage scenes(const std::vector<QImage>& scenes) {
    constexpr int kWidth = 240;
    constexpr int kHeight = 226;
    QImage sheet(3 * (kWidth + 16) + 16, 2 * (kHeight + 36) + 16, QImage::Format_RGB32);
    sheet.fill(kBackground);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < static_cast<int>(scenes.size()); ++i) {
        const int x = 16 + (i % 3) * (kWidth + 16);
        const int y = 16 + (i / 3) * (kHeight + 36);
        painter.drawImage(QRect(x, y, kWidth, kHeight), scenes[i]);
        painter.setPen(Qt::black);
        painter.drawRect(QRect(x, y, kWidth, kHeight).adjusted(-1, -1, 0, 0));
        painter.drawText(QRect(x, y + kHeight + 4, kWidth, 20), Qt::AlignCenter,
                         QStringLiteral("Image2(%1): %2 x %3")
                             .arg(i)
                             .arg(scenes[i].width())
                             .arg(scenes[i].height()));
    }
    return sheet;
}

} // namespace ContactSheets
