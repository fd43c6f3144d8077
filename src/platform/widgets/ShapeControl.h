#pragma once

#include "platform/ControlCodes.h"

#include <QWidget>

// A shape control (rectangle or ellipse) with border and fill colours. Like the
// line control it is decoration only: presses pass through to what lies beneath.
class ShapeControl : public QWidget {
public:
    enum class Kind { Rectangle, Ellipse };

    ShapeControl(Kind kind, QWidget* parent);

    QRgb borderColor() const { return borderColor_; }
    void setBorderColor(QRgb colour);
    QRgb fillColor() const { return fillColor_; }
    void setFillColor(QRgb colour);
    // 0 solid, 1 transparent, as on the canvas.
    void setFillStyle(int style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QRgb borderColor_ = qRgb(0, 0, 0);
    QRgb fillColor_ = qRgb(0, 0, 0);
    int fillStyle_ = FillStyle::kTransparent;
};
