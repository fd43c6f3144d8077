#pragma once

#include "platform/ControlCodes.h"
#include "platform/Units.h"

#include <QMouseEvent>

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

// For a press or release the button that changed; for a move every button held.
inline MouseArgs mouseArgs(const QMouseEvent& event) {
    const bool isMove = event.type() == QEvent::MouseMove;
    const QPointF position = event.position();
    return MouseArgs{buttonMask(isMove ? event.buttons() : Qt::MouseButtons(event.button())),
                     shiftMask(event.modifiers()),
                     static_cast<float>(position.x() * kTwipsPerPixel),
                     static_cast<float>(position.y() * kTwipsPerPixel)};
}
