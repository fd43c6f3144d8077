#include "platform/ReplaceFile.h"

#include <windows.h>

bool replaceFile(const QString& from, const QString& to, QString& detail) {
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(from.utf16()), reinterpret_cast<LPCWSTR>(to.utf16()),
                    MOVEFILE_REPLACE_EXISTING))
        return true;
    detail = QStringLiteral("MoveFileEx failed with error %1").arg(GetLastError());
    return false;
}
