#pragma once

#include "platform/ControlCodes.h"
#include "platform/Units.h"

#include <QMouseEvent>
#include <QPointingDevice>

#include <functional>

// The mouse arguments every handler of the window receives: the button (1 left,
// 2 right, 4 middle; on a move the sum of those held), the Shift/Ctrl/Alt mask
// (1, 2, 4) and the position in twips.
struct MouseArgs {
    qint16 Button = 0;
    qint16 Shift = 0;
    float X = 0;
    float Y = 0;
};

using MouseHandler = std::function<void(const MouseArgs&)>;

inline qint16 buttonMask(Qt::MouseButtons buttons) {
    qint16 mask = 0;
    if (buttons & Qt::LeftButton)
        mask |= MouseButton::kLeft;
    if (buttons & Qt::RightButton)
        mask |= MouseButton::kRight;
    if (buttons & Qt::MiddleButton)
        mask |= MouseButton::kMiddle;
    return mask;
}

inline qint16 shiftMask(Qt::KeyboardModifiers modifiers) {
    qint16 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= ShiftKey::kShift;
    if (modifiers & Qt::ControlModifier)
        mask |= ShiftKey::kCtrl;
    if (modifiers & Qt::AltModifier)
        mask |= ShiftKey::kAlt;
    return mask;
}

// The arguments at a position in pixels of the control.
inline MouseArgs mouseArgsAt(qint16 button, qint16 shift, QPointF pixel) {
    return MouseArgs{button, shift, static_cast<float>(pixel.x() * kTwipsPerPixel),
                     static_cast<float>(pixel.y() * kTwipsPerPixel)};
}

// For a press or release the button that changed; for a move every button held.
inline MouseArgs mouseArgs(const QMouseEvent& event) {
    const bool isMove = event.type() == QEvent::MouseMove;
    return mouseArgsAt(buttonMask(isMove ? event.buttons() : Qt::MouseButtons(event.button())),
                       shiftMask(event.modifiers()), event.position());
}

// The button a pen stands for: its tip the left one; its eraser end, or its
// tip with a side button held, the right one; 0 when nothing touches or is held.
inline qint16 penButton(QPointingDevice::PointerType pointer, Qt::MouseButtons held) {
    if (held == Qt::NoButton)
        return 0;
    if (pointer == QPointingDevice::PointerType::Eraser ||
        (held & ~Qt::MouseButtons(Qt::LeftButton)))
        return MouseButton::kRight;
    return MouseButton::kLeft;
}
