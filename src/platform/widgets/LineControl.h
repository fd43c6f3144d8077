#pragma once

#include <QPoint>
#include <QWidget>

// A line control: a straight line between two points of its container, drawn in
// its border colour and width. Decoration only; presses pass through.
class LineControl : public QWidget {
public:
    // from and to are in the container's pixels.
    LineControl(QPoint from, QPoint to, int width, QWidget* parent);

    QRgb borderColor() const { return borderColor_; }
    void setBorderColor(QRgb colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint from_;
    QPoint to_;
    int width_;
    QRgb borderColor_ = qRgb(0, 0, 0);
};
