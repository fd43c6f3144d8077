#include "app/CanvasWidget.h"

#include "canvas/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTabletEvent>
#include <QTouchEvent>

CanvasWidget::CanvasWidget(const PictureBox& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Fingers are read here rather than from the mouse Qt makes of them, which
    // a second finger can move.
    setAttribute(Qt::WA_AcceptTouchEvents);
    setMouseTracking(true);
    // A hovering pen moves with no button, as the mouse does.
    setTabletTracking(true);
    setCursor(Qt::CrossCursor);
}

bool CanvasWidget::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        touch(*static_cast<QTouchEvent*>(event));
        event->accept();
        return true;
    case QEvent::TouchCancel:
        // The system took the touch away: the stroke ends where the finger was.
        if (finger_) {
            finger_.reset();
            report(onMouseUp, MouseButton::kLeft, 0, fingerAt_);
        }
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

// Only the drawing finger's own changes count. A resting finger reports no
// move: its position in a stationary point is not always where it rests.
void CanvasWidget::touch(const QTouchEvent& event) {
    const qint16 shift = shiftMask(event.modifiers());
    for (const QEventPoint& point : event.points()) {
        if (!finger_) {
            if (point.state() != QEventPoint::State::Pressed)
                continue;
            finger_ = point.id();
            fingerAt_ = point.position();
            report(onMouseDown, MouseButton::kLeft, shift, fingerAt_);
        } else if (point.id() == *finger_) {
            fingerAt_ = point.position();
            if (point.state() == QEventPoint::State::Updated) {
                report(onMouseMove, MouseButton::kLeft, shift, fingerAt_);
            } else if (point.state() == QEventPoint::State::Released) {
                finger_.reset();
                report(onMouseUp, MouseButton::kLeft, shift, fingerAt_);
            }
        }
    }
}

// Pressure and tilt are not looked at. A button going down or up while the pen
// is already down changes nothing: the stroke keeps the colours it began with.
void CanvasWidget::tabletEvent(QTabletEvent* event) {
    // Accepted, or Qt would make a mouse event of it too.
    event->accept();
    const qint16 shift = shiftMask(event->modifiers());
    switch (event->type()) {
    case QEvent::TabletPress:
        if (penButton_ == 0) {
            penButton_ = penButton(event->pointerType(), event->buttons());
            if (penButton_ != 0)
                report(onMouseDown, penButton_, shift, event->position());
        }
        break;
    case QEvent::TabletMove:
        report(onMouseMove, penButton_, shift, event->position());
        break;
    case QEvent::TabletRelease:
        if (penButton_ != 0 && event->buttons() == Qt::NoButton) {
            const qint16 released = penButton_;
            penButton_ = 0;
            report(onMouseUp, released, shift, event->position());
        }
        break;
    default:
        break;
    }
}

void CanvasWidget::report(const MouseHandler& handler, qint16 button, qint16 shift,
                          QPointF at) const {
    if (handler)
        handler(mouseArgsAt(button, shift, at));
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    // Only the exposed part: a pen segment repaints a few pixels, not the canvas.
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.drawImage(exposed.topLeft(), canvas_.Image(), exposed);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(mouseArgs(*event));
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(mouseArgs(*event));
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp)
        onMouseUp(mouseArgs(*event));
}
