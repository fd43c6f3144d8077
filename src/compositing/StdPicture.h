#pragma once

#include "compositing/GdiTypes.h"

#include <QtGlobal>

// The picture object PaintEffects reads: what kind of picture it holds and
// the handle of its bitmap or icon. "No picture object at all" is a null
// pointer where one is passed.
struct StdPicture {
    enum : qint16 {
        vbPicTypeNone = 0,
        vbPicTypeBitmap = 1,
        vbPicTypeMetafile = 2,
        vbPicTypeIcon = 3,
        vbPicTypeEMetafile = 4,
    };

    qint16 Type = vbPicTypeNone;
    gdi::HANDLE Handle = 0;
};
