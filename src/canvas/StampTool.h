#pragma once

class Icon;
class PictureBox;

// A stamp is painted once per press, at the pointer, through its mask.
namespace StampTool {

// The pointer lies this far right of and below the stamp's top-left corner, in twips.
inline constexpr float kOffsetX = 220;
inline constexpr float kOffsetY = 250;

void press(PictureBox& canvas, const Icon& stamp, float x, float y);

} // namespace StampTool
