#pragma once

#include <QImage>

// The built-in pictures other than the stamps, each drawn by one small
// function in plain flat colours.
namespace Pictures {

// Scene `index` as shown by thumbnail Image2(index).
QImage scene(int index);
// Its file name under assets/scenes/.
QString sceneFileName(int index);

QImage eraserButton();       // 16 x 16, tool 194's button
QImage windowIcon(int size); // the window icon at 16 or 32 pixels and up
QImage commandStrip();       // 48 x 16: blank page, open folder, diskette on light grey

} // namespace Pictures
