#pragma once

#include "platform/ControlCodes.h"
#include "platform/widgets/MouseArgs.h"

#include <QImage>
#include <QWidget>

#include <functional>

// An image control: shows its picture at its own size or scaled to the
// control, may carry a single dark border line, and reports presses. Without a
// picture it is an invisible but clickable area over whatever lies beneath.
class ImageControl : public QWidget {
public:
    explicit ImageControl(QWidget* parent);

    void setPicture(const QImage& picture);
    // The picture is made by `make` when the control is first painted, so
    // controls on pages never shown cost nothing; a stretched control keeps
    // only its scaled copy and calls `make` again if its size changes.
    void setPictureSource(std::function<QImage()> make);
    void setStretch(bool on);
    // 0 no border, 1 a single dark line around the control.
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);

    MouseHandler onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    std::function<QImage()> makePicture_;
    QImage scaled_;
    bool stretch_ = false;
    int borderStyle_ = BorderStyle::kNone;
};
