#pragma once

#include <QtGlobal>

// The handle and value types of the device-context layer, spelled as the
// platform spells them so that code written against this layer reads like
// (and could be) code written against Windows GDI.
namespace gdi {

using HANDLE = qint32;
using HDC = HANDLE;
using HWND = HANDLE;
using HGDIOBJ = HANDLE;
using HBITMAP = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HPALETTE = HGDIOBJ;
using HICON = HANDLE;

using BOOL = qint32;
using UINT = quint32;
using DWORD = quint32;
using HRESULT = qint32;
using COLORREF = quint32; // 0x00BBGGRR
using OLE_COLOR = quint32;

struct RECT {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0; // exclusive
    qint32 bottom = 0;
};

// Raster operations BitBlt understands.
inline constexpr DWORD SRCCOPY = 0x00CC0020;  // D = S
inline constexpr DWORD SRCAND = 0x008800C6;   // D = D AND S
inline constexpr DWORD SRCPAINT = 0x00EE0086; // D = D OR S
inline constexpr DWORD DSna = 0x00220326;     // D = D AND (NOT S)

// DrawIconEx flags.
inline constexpr UINT DI_MASK = 0x1;
inline constexpr UINT DI_IMAGE = 0x2;
inline constexpr UINT DI_NORMAL = 0x3;
inline constexpr UINT DI_DEFAULTSIZE = 0x8;

// The standard icon size of a 96-dots-per-inch screen (SM_CXICON, SM_CYICON).
inline constexpr int kSystemIconSize = 32;

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
inline constexpr UINT GDI_ERROR = 0xFFFFFFFF;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

} // namespace gdi
