#pragma once

#include <array>
#include <cstddef>

class ImageControl;
class PictureBoxControl;

// The scene panel Picture4: six thumbnails Image2(0..5) of the background
// scenes, framed by a grid of lines with a cross over the white scene.
class ScenePanel {
public:
    explicit ScenePanel(PictureBoxControl* picture4);

    ImageControl* thumbnail(int index) const { return Image2.at(static_cast<std::size_t>(index)); }

    std::array<ImageControl*, 6> Image2{};
};
