#include "compositing/Gdi.h"

#include <array>

namespace gdi {

namespace {

constexpr COLORREF rgb(int r, int g, int b) {
    return COLORREF(r) | COLORREF(g) << 8 | COLORREF(b) << 16;
}

// The "Windows Standard" scheme by COLOR_ index; index 25 has no colour.
constexpr int kNoSystemColour = 25;
constexpr std::array<COLORREF, 31> kSystemColours = {
    rgb(192, 192, 192), // 0 COLOR_SCROLLBAR
    rgb(0, 128, 128),   // 1 COLOR_BACKGROUND
    rgb(0, 0, 128),     // 2 COLOR_ACTIVECAPTION
    rgb(128, 128, 128), // 3 COLOR_INACTIVECAPTION
    rgb(192, 192, 192), // 4 COLOR_MENU
    rgb(255, 255, 255), // 5 COLOR_WINDOW
    rgb(0, 0, 0),       // 6 COLOR_WINDOWFRAME
    rgb(0, 0, 0),       // 7 COLOR_MENUTEXT
    rgb(0, 0, 0),       // 8 COLOR_WINDOWTEXT
    rgb(255, 255, 255), // 9 COLOR_CAPTIONTEXT
    rgb(192, 192, 192), // 10 COLOR_ACTIVEBORDER
    rgb(192, 192, 192), // 11 COLOR_INACTIVEBORDER
    rgb(128, 128, 128), // 12 COLOR_APPWORKSPACE
    rgb(0, 0, 128),     // 13 COLOR_HIGHLIGHT
    rgb(255, 255, 255), // 14 COLOR_HIGHLIGHTTEXT
    rgb(192, 192, 192), // 15 COLOR_BTNFACE
    rgb(128, 128, 128), // 16 COLOR_BTNSHADOW
    rgb(128, 128, 128), // 17 COLOR_GRAYTEXT
    rgb(0, 0, 0),       // 18 COLOR_BTNTEXT
    rgb(192, 192, 192), // 19 COLOR_INACTIVECAPTIONTEXT
    rgb(255, 255, 255), // 20 COLOR_BTNHIGHLIGHT
    rgb(0, 0, 0),       // 21 COLOR_3DDKSHADOW
    rgb(192, 192, 192), // 22 COLOR_3DLIGHT
    rgb(0, 0, 0),       // 23 COLOR_INFOTEXT
    rgb(255, 255, 225), // 24 COLOR_INFOBK
    rgb(0, 0, 0),       // 25
    rgb(0, 0, 128),     // 26 COLOR_HOTLIGHT
    rgb(16, 132, 208),  // 27 COLOR_GRADIENTACTIVECAPTION
    rgb(181, 181, 181), // 28 COLOR_GRADIENTINACTIVECAPTION
    rgb(0, 0, 128),     // 29 COLOR_MENUHILIGHT
    rgb(192, 192, 192), // 30 COLOR_MENUBAR
};

bool validSystemIndex(quint32 index) {
    return index < kSystemColours.size() && index != kNoSystemColour;
}

} // namespace

COLORREF GetSysColor(int nIndex) {
    return nIndex >= 0 && validSystemIndex(quint32(nIndex)) ? kSystemColours[size_t(nIndex)] : 0;
}

HRESULT OleTranslateColor(OLE_COLOR clr, HPALETTE /*hpal*/, COLORREF* lpcolorref) {
    COLORREF result = 0;
    switch (clr >> 24) {
    case 0x00:
    case 0x02:
        result = clr;
        break;
    case 0x80:
        if ((clr & 0x00ffff00u) != 0 || !validSystemIndex(clr & 0xffu))
            return E_INVALIDARG;
        result = kSystemColours[clr & 0xffu];
        break;
    default:
        return E_INVALIDARG;
    }
    if (lpcolorref)
        *lpcolorref = result;
    return S_OK;
}

} // namespace gdi
