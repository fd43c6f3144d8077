#pragma once

#include "compositing/GdiTypes.h"
#include "compositing/StdPicture.h"

// Paints pictures onto a device context as they are, or with one colour
// transparent so the destination shows through wherever the source has it.
// Sizes and places are device pixels; `hPal` 0 means the class's own
// halftone palette.
class PaintEffects {
public:
    PaintEffects() { Class_Initialize(); }
    ~PaintEffects() { Class_Terminate(); }
    PaintEffects(const PaintEffects&) = delete;
    PaintEffects& operator=(const PaintEffects&) = delete;

    // Paints an image with transparent pixels defined by the mask color.
    // Accepts a picture object as its image source.
    void PaintTransparentStdPic(gdi::HDC hdcDest, qint32 xDest, qint32 yDest, qint32 Width,
                                qint32 Height, const StdPicture* picSource, qint32 XSrc,
                                qint32 YSrc, gdi::OLE_COLOR clrMask, gdi::HPALETTE hPal = 0);
    void PaintTransparentDC(gdi::HDC hdcDest, qint32 xDest, qint32 yDest, qint32 Width,
                            qint32 Height, gdi::HDC hdcSrc, qint32 XSrc, qint32 YSrc,
                            gdi::OLE_COLOR clrMask, gdi::HPALETTE hPal = 0);
    // Paints an image provided by a picture object to an hDC with no effects.
    // Throws RuntimeError 481 for no picture or one neither bitmap nor icon.
    void PaintNormalStdPic(gdi::HDC hdcDest, qint32 xDest, qint32 yDest, qint32 Width,
                           qint32 Height, const StdPicture* picSource, qint32 XSrc, qint32 YSrc,
                           gdi::HPALETTE hPal = 0);

    gdi::HPALETTE halftonePaletteHandle() const { return halftonePalette; }

private:
    void Class_Initialize();
    void Class_Terminate();

    gdi::HPALETTE halftonePalette = 0;
};
