#pragma once

#include "compositing/GdiTypes.h"
#include "platform/Icon.h"

#include <QImage>

#include <unordered_map>

namespace gdi {

enum class ObjectKind { Bitmap, Brush, Palette, Icon };

struct GdiObject {
    ObjectKind kind = ObjectKind::Bitmap;
    // Stock objects belong to the system: any number of contexts may hold
    // them and deleting one does nothing.
    bool stock = false;
    // A bitmap's pixels: Format_RGB32 for colour, Format_Grayscale8 holding
    // only 0 and 255 for monochrome, one byte a bit so transfers stay simple.
    QImage pixels;
    COLORREF colour = 0;    // a brush's colour
    int paletteEntries = 0; // a palette's size
    Icon icon;
    HDC selectedInto = 0; // a bitmap lives in one context at a time
    int selections = 0;   // contexts holding this brush or palette
};

struct DeviceContext {
    bool screen = false;
    HBITMAP bitmap = 0;
    HBRUSH brush = 0;
    HPALETTE palette = 0;
    COLORREF bkColour = 0x00FFFFFF;
    COLORREF textColour = 0x00000000;
};

// How a colour lands on a monochrome bitmap: white when it is light.
inline bool isLightColour(COLORREF colour) {
    const int r = colour & 0xff, g = (colour >> 8) & 0xff, b = (colour >> 16) & 0xff;
    return r * 30 + g * 59 + b * 11 >= 128 * 100;
}

// Every live device context and object, by handle. Handles are never reused,
// so a stale handle finds nothing, as does a context handle used as an object.
class GdiTable {
public:
    static GdiTable& instance();

    HGDIOBJ addObject(GdiObject object);
    HDC addContext(DeviceContext context);
    GdiObject* object(HGDIOBJ handle);
    GdiObject* object(HGDIOBJ handle, ObjectKind kind);
    DeviceContext* context(HDC handle);
    void removeObject(HGDIOBJ handle) { objects_.erase(handle); }
    void removeContext(HDC handle) { contexts_.erase(handle); }

    // The pixels of the bitmap selected into the context, or null.
    QImage* surface(HDC handle);
    // Contexts and objects alive that are not the system's own.
    int liveCount() const;

    HBITMAP defaultBitmap() const { return defaultBitmap_; }
    HBITMAP screenBitmap() const { return screenBitmap_; }
    HPALETTE defaultPalette() const { return defaultPalette_; }
    HBRUSH whiteBrush() const { return whiteBrush_; }

private:
    GdiTable();

    std::unordered_map<HANDLE, GdiObject> objects_;
    std::unordered_map<HANDLE, DeviceContext> contexts_;
    HANDLE next_ = 0x100;
    HBITMAP defaultBitmap_ = 0;
    HBITMAP screenBitmap_ = 0;
    HPALETTE defaultPalette_ = 0;
    HBRUSH whiteBrush_ = 0;
};

} // namespace gdi
