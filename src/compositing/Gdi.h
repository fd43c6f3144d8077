#pragma once

#include "compositing/GdiTypes.h"
#include "platform/Icon.h"

#include <QImage>

// A small device-context layer over QImage with the names, arguments and
// failure values of the Windows calls it stands for. As on the platform, a
// stale or wrong handle makes a call do nothing and return its failure value
// (0, CLR_INVALID or GDI_ERROR). Surfaces are true colour, so palettes can be
// selected and realised but never change a colour, and the high byte of a
// COLORREF is ignored.
namespace gdi {

// The screen: the only window handle understood is 0.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);

// A memory context starts with the stock 1 x 1 monochrome bitmap, the
// default palette, black text and a white background.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);

// A bitmap in the format of the one in `hdc` (so a new memory context gives a
// monochrome one, as on the platform), cleared to black. 0 for a negative or
// too large size; a zero size gives a 1 x 1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// One plane of 1 or 32 bits a pixel. `lpBits` may be null (black); 1-bit
// rows are padded to 16 bits, most significant bit first, 1 meaning white;
// 32-bit pixels are 0x00RRGGBB.
HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits);

// Selects a bitmap (memory contexts only, and not one held by another
// context) or a brush; returns the object it replaced, or 0.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
// Fails for an object still selected into a context, and for icons.
BOOL DeleteObject(HGDIOBJ ho);

HPALETTE CreateHalftonePalette(HDC hdc);
HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd);
UINT RealizePalette(HDC hdc);

COLORREF GetBkColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);

// SRCCOPY, SRCAND, SRCPAINT and DSna. The transfer is clipped to both
// bitmaps; destination pixels whose source lies outside the source bitmap are
// left alone. A colour source into a monochrome destination gives 1 where the
// pixel equals the source context's background colour; a monochrome source
// into a colour destination gives the destination context's text colour for
// 0 and its background colour for 1.
BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);

HBRUSH CreateSolidBrush(COLORREF color);
// On a monochrome bitmap a colour paints white when it is light, black when
// it is dark.
int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);

// DrawIcon draws at the system's icon size through the icon's AND and
// exclusive-or masks; DrawIconEx stretches to cxWidth x cyWidth (0 meaning
// the icon's own size, or the system size with DI_DEFAULTSIZE), first filling
// the area with hbrFlickerFreeDraw when one is given.
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                UINT istepIfAniCur, HBRUSH hbrFlickerFreeDraw, UINT diFlags);
BOOL DestroyIcon(HICON hIcon);

// The classic Windows colour scheme; black for an unknown index.
COLORREF GetSysColor(int nIndex);
// Plain and palette-relative (0x02) colours pass unchanged; a system colour
// (0x800000xx) becomes its value from GetSysColor. Palette indexes (0x01) and
// anything else are E_INVALIDARG: the surfaces are true colour and have no
// palette entries to index. `lpcolorref` may be null.
HRESULT OleTranslateColor(OLE_COLOR clr, HPALETTE hpal, COLORREF* lpcolorref);

// Bridges from Qt, not part of the platform's interface.
HBITMAP createBitmapFromImage(const QImage& image);
// A copy of a bitmap's pixels: Format_RGB32, or Format_Grayscale8 (0 or 255)
// for a monochrome one; null for anything but a bitmap.
QImage bitmapImage(HBITMAP bitmap);
HICON createIconHandle(const Icon& icon);
// Contexts and objects alive, the system's own not counted.
int liveObjectCount();

} // namespace gdi
