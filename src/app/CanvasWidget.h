#pragma once

#include "platform/widgets/MouseArgs.h"

#include <QWidget>

class PictureBox;

// Shows the canvas's persistent image and reports the mouse in twips. Moves
// arrive with no button held too, and outside the widget while a button that
// went down on it is held (Qt grabs the mouse from press to release).
class CanvasWidget : public QWidget {
public:
    CanvasWidget(const PictureBox& canvas, QWidget* parent);

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const PictureBox& canvas_;
};
