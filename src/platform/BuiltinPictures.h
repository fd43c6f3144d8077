#pragma once

#include "platform/Icon.h"

#include <QIcon>
#include <QImage>
#include <QSize>

// The pictures the program carries with its window design, compiled in as
// resources. Drawing on the canvas never alters them.
namespace BuiltinPictures {

inline constexpr int kStampCount = 183;
inline constexpr int kSceneCount = 6;

// Stamp `index` (0 to 182): a 32 x 32, 16-colour icon with its AND mask.
const Icon& stamp(int index);

// The scene shown by thumbnail Image2(index), 0 to 5, at its own size. Read
// anew at each call: kept, the six would hold 5.6 MB for a rare press.
QImage scene(int index);

// The size of a scene's thumbnail on the scene panel, 855 x 735 twips.
inline constexpr QSize kSceneThumbnailSize{57, 49};

// Scene `index` shrunk to kSceneThumbnailSize. The asset generator scales each
// scene once, so the first frame need not read all six at their full size.
QImage sceneThumbnail(int index);

// The canvas's start picture: white, 497 x 467, the same picture as scene 5.
QImage canvasStartPicture();

// The 16 x 16 eraser block on the broad brush's button.
const QImage& eraserButton();

// The window icon: the 32 x 32 and 16 x 16 images of the program's icon.
QIcon windowIcon();

// Command-bar icon 1 (blank page), 2 (open folder) or 3 (diskette), with the
// strip's light-grey background made transparent.
QIcon commandIcon(int number);

} // namespace BuiltinPictures
