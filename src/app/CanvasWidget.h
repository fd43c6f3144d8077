#pragma once

#include "platform/widgets/MouseArgs.h"

#include <QWidget>

#include <optional>

class PictureBox;
class QTouchEvent;

// Shows the canvas's persistent image and reports the mouse in twips. Moves
// arrive with no button held too, and outside the widget while a button that
// went down on it is held (Qt grabs the mouse from press to release). A finger
// and a pen are reported as the same press, move and release.
class CanvasWidget : public QWidget {
public:
    CanvasWidget(const PictureBox& canvas, QWidget* parent);

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;

private:
    void touch(const QTouchEvent& event);
    void report(const MouseHandler& handler, qint16 button, qint16 shift, QPointF at) const;

    const PictureBox& canvas_;
    // The finger that draws: the first one down, until it comes up. Any other
    // finger, or a palm resting beside it, is not a second stroke.
    std::optional<int> finger_;
    QPointF fingerAt_;
    // The button the pen holds down from its press to its release, 0 while it hovers.
    qint16 penButton_ = 0;
};
