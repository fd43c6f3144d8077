#pragma once

#include <QRgb>
#include <QtGlobal>

// The numbers the window's controls and the canvas speak.

// How boxes and ellipses are filled: the canvas's and the shape controls' FillStyle.
namespace FillStyle {
inline constexpr qint16 kSolid = 0;
inline constexpr qint16 kTransparent = 1;
} // namespace FillStyle

// An image control's frame: none, or the one-line border of the chosen tool.
namespace BorderStyle {
inline constexpr int kNone = 0;
inline constexpr int kFixedSingle = 1;
} // namespace BorderStyle

// The mouse buttons of a press or release, summed on a move.
namespace MouseButton {
inline constexpr qint16 kLeft = 1;
inline constexpr qint16 kRight = 2;
inline constexpr qint16 kMiddle = 4;
} // namespace MouseButton

// The Shift, Ctrl and Alt keys of the Shift mask.
namespace ShiftKey {
inline constexpr qint16 kShift = 1;
inline constexpr qint16 kCtrl = 2;
inline constexpr qint16 kAlt = 4;
} // namespace ShiftKey

// The ground of the window, its panels, pages and tab strip: 0x00C0C0C0.
inline constexpr QRgb kLightGrey = qRgb(192, 192, 192);
