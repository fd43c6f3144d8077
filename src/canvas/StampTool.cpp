#include "canvas/StampTool.h"

#include "canvas/PictureBox.h"
#include "platform/Icon.h"

namespace StampTool {

void press(PictureBox& canvas, const Icon& stamp, float x, float y) {
    canvas.PaintPicture(stamp, x - kOffsetX, y - kOffsetY);
}

} // namespace StampTool
