#include "platform/widgets/TabStrip.h"

#include "platform/ControlCodes.h"

#include <QMouseEvent>
#include <QPainter>

TabStrip::TabStrip(const QStringList& captions, QWidget* parent)
    : QWidget(parent), captions_(captions) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect TabStrip::tabRect(int index) const {
    // Spread the spare pixels over the first tabs so the row ends flush.
    const int base = width() / count();
    const int extra = width() % count();
    const int left = index * base + std::min(index, extra);
    const int tabWidth = base + (index < extra ? 1 : 0);
    return QRect(left, 0, tabWidth, kTabHeight);
}

void TabStrip::clickTab(int index) {
    if (index < 0 || index >= count())
        return;
    selected_ = index;
    update();
    if (onClick)
        onClick();
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < count(); ++i) {
        if (tabRect(i).contains(event->position().toPoint())) {
            clickTab(i);
            return;
        }
    }
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor face = QColor::fromRgb(kLightGrey);
    const QColor light(255, 255, 255);
    const QColor shadow(128, 128, 128);
    painter.fillRect(rect(), face);

    // The client frame the pages lie in.
    const QRect frame = rect().adjusted(0, kTabHeight - 1, -1, -1);
    painter.setPen(light);
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.setPen(Qt::black);
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11);
    for (int i = 0; i < count(); ++i) {
        const bool selected = i == selected_;
        QRect tab = tabRect(i);
        if (!selected)
            tab.adjust(0, 2, 0, 0);
        painter.fillRect(tab.adjusted(1, 1, -1, selected ? 1 : 0),
                         selected ? face : face.darker(108));
        painter.setPen(light);
        painter.drawLine(tab.bottomLeft(), tab.topLeft() + QPoint(0, 1));
        painter.drawLine(tab.topLeft() + QPoint(1, 0), tab.topRight() - QPoint(1, 0));
        painter.setPen(Qt::black);
        painter.drawLine(tab.topRight() + QPoint(0, 1), tab.bottomRight());
        if (selected) {
            painter.setPen(face);
            painter.drawLine(tab.bottomLeft() + QPoint(1, 0), tab.bottomRight() - QPoint(1, 0));
        }
        painter.setPen(selected ? Qt::black : shadow.darker(150));
        // Two digits in a 17-pixel tab need the letters drawn a little closer.
        QFont captionFont = font;
        if (captions_.at(i).size() > 1)
            captionFont.setLetterSpacing(QFont::AbsoluteSpacing, -1);
        painter.setFont(captionFont);
        painter.drawText(tab, Qt::AlignCenter, captions_.at(i));
    }
}
