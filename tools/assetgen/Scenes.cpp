#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor white(255, 255, 255), black(0, 0, 0), yellow(255, 255, 0), green(0, 128, 0),
    lime(0, 192, 0), olive(128, 128, 0), grey(128, 128, 128), lightGrey(192, 192, 192),
    red(192, 0, 0), darkRed(128, 0, 0), skyCyan(128, 255, 255), seaBlue(0, 0, 255),
    brown(128, 64, 0);

QImage canvasOf(int width, int height, const QColor& background) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void flat(QPainter& painter, const QColor& fill, const QColor& outline = Qt::transparent) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(fill);
    painter.setPen(outline == Qt::transparent ? QPen(Qt::NoPen) : QPen(outline, 3));
}

void sun(QPainter& painter, QPointF centre, double radius) {
    flat(painter, yellow);
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(yellow, 5));
    for (int ray = 0; ray < 8; ++ray) {
        const double angle = ray * M_PI / 4;
        painter.drawLine(centre + QPointF(std::cos(angle), std::sin(angle)) * (radius + 8),
                         centre + QPointF(std::cos(angle), std::sin(angle)) * (radius + 24));
    }
}

QImage house() {
    QImage image = canvasOf(485, 455, white);
    QPainter p(&image);
    sun(p, {400, 70}, 28);
    flat(p, lime);
    p.drawEllipse(QRectF(-200, 330, 885, 360)); // the hill
    flat(p, red, black);
    p.drawRect(110, 210, 240, 170);
    flat(p, grey, black);
    p.drawPolygon(QPolygonF({QPointF(85, 215), QPointF(230, 95), QPointF(375, 215)}));
    flat(p, darkRed, black);
    p.drawRect(290, 115, 30, 55); // chimney, behind the roof line
    flat(p, grey, black);
    p.drawPolygon(QPolygonF({QPointF(85, 215), QPointF(230, 95), QPointF(375, 215)}));
    flat(p, skyCyan, black);
    for (int x : {135, 265}) {
        p.drawRect(x, 240, 60, 55);
        p.drawLine(x + 30, 240, x + 30, 295);
        p.drawLine(x, 267, x + 60, 267);
    }
    flat(p, brown, black);
    p.drawRect(205, 300, 50, 80);
    flat(p, yellow);
    p.drawEllipse(QPointF(245, 342), 4, 4);
    return image;
}

QImage wall() {
    QImage image = canvasOf(485, 455, lightGrey);
    QPainter p(&image);
    p.setPen(QPen(grey, 2));
    for (int row = 0; row * 30 < 455; ++row) {
        p.drawLine(0, row * 30, 485, row * 30);
        for (int x = (row % 2) * 40; x < 485; x += 80)
            p.drawLine(x, row * 30, x, row * 30 + 30);
    }
    flat(p, yellow, black);
    p.drawRect(95, 30, 295, 175); // the board's frame
    flat(p, black);
    p.drawRect(112, 47, 261, 141);
    p.setPen(QPen(olive, 14, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(
        QPolygonF({QPointF(70, 440), QPointF(70, 250), QPointF(415, 250), QPointF(415, 440)}));
    p.setPen(QPen(white, 1));
    for (int x = 90; x < 400; x += 20)
        p.drawLine(x, 260, x, 440);
    for (int y = 270; y < 440; y += 20)
        p.drawLine(80, y, 405, y);
    return image;
}

QImage tree() {
    QImage image = canvasOf(485, 455, white);
    QPainter p(&image);
    sun(p, {80, 75}, 32);
    flat(p, lime);
    p.drawRect(0, 395, 485, 60);
    flat(p, olive, black);
    p.drawRect(215, 250, 55, 150);
    flat(p, green, black);
    p.drawEllipse(QPointF(242, 185), 130, 110);
    flat(p, lime);
    p.drawEllipse(QPointF(200, 150), 35, 25);
    p.drawEllipse(QPointF(290, 200), 30, 20);
    return image;
}

QImage night() {
    QImage image = canvasOf(485, 455, black);
    QPainter p(&image);
    flat(p, yellow);
    p.drawEllipse(QPointF(350, 110), 60, 60);
    flat(p, black);
    p.drawEllipse(QPointF(380, 90), 55, 55); // the bite that makes the crescent
    flat(p, white);
    const QPointF stars[] = {{60, 60},   {140, 130}, {220, 50},  {90, 230},  {260, 200}, {420, 260},
                             {330, 330}, {60, 380},  {180, 320}, {450, 400}, {240, 410}, {400, 30}};
    for (const QPointF& c : stars) {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 4 : 11;
            const double a = -M_PI / 2 + i * M_PI / 5;
            star << c + QPointF(std::cos(a) * r, std::sin(a) * r);
        }
        p.drawPolygon(star);
    }
    return image;
}

QImage sea() {
    QImage image = canvasOf(558, 515, skyCyan);
    QPainter p(&image);
    flat(p, seaBlue);
    QPolygonF water;
    for (int x = 0; x <= 558; x += 2)
        water << QPointF(x, 250 + 12 * std::sin(x / 558.0 * 6 * M_PI));
    water << QPointF(558, 515) << QPointF(0, 515);
    p.drawPolygon(water);
    return image;
}

} // namespace

namespace Pictures {

QImage scene(int index) {
    switch (index) {
    case 0:
        return house();
    case 1:
        return wall();
    case 2:
        return tree();
    case 3:
        return night();
    case 4:
        return sea();
    default:
        return canvasOf(497, 467, white);
    }
}

QString sceneFileName(int index) {
    static const char* names[6] = {"scene0-house", "scene1-wall", "scene2-tree",
                                   "scene3-night", "scene4-sea",  "scene5-white"};
    return QStringLiteral("%1.bmp").arg(QLatin1String(names[index]));
}

} // namespace Pictures
