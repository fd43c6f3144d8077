#include "app/CanvasWidget.h"

#include "canvas/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>

CanvasWidget::CanvasWidget(const PictureBox& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
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
