#include "compositing/GdiTable.h"

namespace gdi {

namespace {

// The screen is a true-colour surface of a classic size; nothing in the
// program paints on it, but it gives its contexts a colour format to copy.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

} // namespace

GdiTable& GdiTable::instance() {
    static GdiTable table;
    return table;
}

GdiTable::GdiTable() {
    GdiObject monochrome;
    monochrome.stock = true;
    monochrome.pixels = QImage(1, 1, QImage::Format_Grayscale8);
    monochrome.pixels.fill(0);
    defaultBitmap_ = addObject(monochrome);

    GdiObject screen;
    screen.stock = true;
    screen.pixels = QImage(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    screen.pixels.fill(0xffffffffu);
    screenBitmap_ = addObject(screen);

    GdiObject palette;
    palette.kind = ObjectKind::Palette;
    palette.stock = true;
    palette.paletteEntries = 20;
    defaultPalette_ = addObject(palette);

    GdiObject brush;
    brush.kind = ObjectKind::Brush;
    brush.stock = true;
    brush.colour = 0x00FFFFFF;
    whiteBrush_ = addObject(brush);
}

HGDIOBJ GdiTable::addObject(GdiObject object) {
    const HANDLE handle = next_++;
    objects_.emplace(handle, std::move(object));
    return handle;
}

HDC GdiTable::addContext(DeviceContext context) {
    const HANDLE handle = next_++;
    contexts_.emplace(handle, context);
    return handle;
}

GdiObject* GdiTable::object(HGDIOBJ handle) {
    const auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : &it->second;
}

GdiObject* GdiTable::object(HGDIOBJ handle, ObjectKind kind) {
    GdiObject* found = object(handle);
    return found && found->kind == kind ? found : nullptr;
}

DeviceContext* GdiTable::context(HDC handle) {
    const auto it = contexts_.find(handle);
    return it == contexts_.end() ? nullptr : &it->second;
}

QImage* GdiTable::surface(HDC handle) {
    const DeviceContext* dc = context(handle);
    GdiObject* bitmap = dc ? object(dc->bitmap, ObjectKind::Bitmap) : nullptr;
    return bitmap ? &bitmap->pixels : nullptr;
}

int GdiTable::liveCount() const {
    int count = int(contexts_.size());
    for (const auto& entry : objects_)
        count += entry.second.stock ? 0 : 1;
    return count;
}

} // namespace gdi
