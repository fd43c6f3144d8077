#pragma once

#include "platform/ControlCodes.h"
#include "platform/widgets/MouseArgs.h"

#include <QWidget>

// A plain picture box used as a container or a coloured cell: a back colour, an
// optional flat single-line border, and a press handler.
class PictureBoxControl : public QWidget {
public:
    explicit PictureBoxControl(QWidget* parent);

    QRgb backColor() const { return backColor_; }
    void setBackColor(QRgb colour);
    void setFlatBorder(bool on);

    MouseHandler onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRgb backColor_ = kLightGrey;
    bool flatBorder_ = false;
};
