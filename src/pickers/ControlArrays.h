#pragma once

#include "canvas/ToolId.h"

#include <array>

class ImageControl;
class PictureBoxControl;

// The image-button array Picture3: the button of each ToolId, at its index.
using ToolButtons = std::array<ImageControl*, ToolId::kCount>;

// The pages Picture2: the tool page, then the twelve stamp pages.
inline constexpr int kPageCount = 13;
using Pages = std::array<PictureBoxControl*, kPageCount>;
