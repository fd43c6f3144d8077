#include "pickers/ScenePanel.h"

#include "platform/BuiltinPictures.h"
#include "platform/Units.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"

namespace {

struct ThumbnailDesign {
    int index;
    int left, top; // twips
};
constexpr int kThumbnailWidth = 855;
constexpr int kThumbnailHeight = 735;
constexpr ThumbnailDesign kThumbnails[] = {
    {5, 120, 600}, {2, 1200, 600}, {4, 2160, 600}, {0, 120, 1560}, {1, 1200, 1560}, {3, 2160, 1560},
};

struct LineDesign {
    const char* name;
    int x1, y1, x2, y2; // twips
};
constexpr LineDesign kLines[] = {
    {"Line2", 0, 480, 3120, 480},     {"Line5", 0, 1440, 3120, 1440},
    {"Line4", 0, 2400, 3120, 2400},   {"Line6", 0, 480, 0, 2400},
    {"Line7", 1080, 480, 1080, 2400}, {"Line11", 2090, 480, 2090, 2400},
    {"Line3", 3120, 480, 3120, 2400}, {"Line8", 960, 600, 120, 1320},
    {"Line9", 960, 1320, 120, 600},
};

} // namespace

ScenePanel::ScenePanel(PictureBoxControl* picture4) {
    // The thumbnails lie below the lines, so they are built first.
    for (const ThumbnailDesign& design : kThumbnails) {
        auto* thumbnail = new ImageControl(picture4);
        thumbnail->setObjectName(QStringLiteral("Image2(%1)").arg(design.index));
        thumbnail->setGeometry(twipsToPixels(design.left), twipsToPixels(design.top),
                               twipsToPixels(kThumbnailWidth), twipsToPixels(kThumbnailHeight));
        thumbnail->setStretch(true);
        // Scaled ahead of time to exactly this size, so painting it scales nothing.
        thumbnail->setPictureSource(
            [index = design.index] { return BuiltinPictures::sceneThumbnail(index); });
        Image2.at(static_cast<size_t>(design.index)) = thumbnail;
    }
    for (const LineDesign& design : kLines) {
        auto* line = new LineControl(twipsPoint(design.x1, design.y1),
                                     twipsPoint(design.x2, design.y2), 1, picture4);
        line->setObjectName(QLatin1String(design.name));
        line->setBorderColor(qRgb(0, 0, 0));
    }
}
