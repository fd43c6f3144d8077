#include "platform/wallpaper/WindowsWallpaper.h"

#include <windows.h>

#include <optional>

namespace {

const char* const kDesktopKey = "Control Panel\\desktop";
const char* const kTileValue = "TileWallpaper";

std::wstring toWide(const std::string& utf8) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), size);
    return wide;
}

// The system call takes the path in the 8-bit code page. A letter the page
// lacks would be replaced by another, naming a file that does not exist.
std::optional<std::string> toCodePage(const std::string& utf8) {
    const std::wstring wide = toWide(utf8);
    const UINT page = GetACP();
    const WindowsWallpaper::Narrowing how = WindowsWallpaper::narrowingFor(page);
    BOOL lossy = FALSE;
    BOOL* replaced = how.askReplaced ? &lossy : nullptr;
    const int size = WideCharToMultiByte(page, how.flags, wide.data(), int(wide.size()), nullptr, 0,
                                         nullptr, replaced);
    std::string narrow(size_t(size), '\0');
    WideCharToMultiByte(page, how.flags, wide.data(), int(wide.size()), narrow.data(), size,
                        nullptr, replaced);
    if (lossy || (size == 0 && !utf8.empty()))
        return std::nullopt;
    return narrow;
}

std::string failed(const char* call, DWORD code) {
    return std::string(call) + ": " + std::to_string(code);
}

// Reads a string value back from the desktop key; empty when it has none.
std::string readValue(const char* name) {
    char data[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return {};
    return data;
}

} // namespace

// UTF-8 holds every letter, and Windows refuses the whole call when it is
// given the best-fit flag or asked about replaced letters for it: with UTF-8
// as the system's code page, every path would be refused.
WindowsWallpaper::Narrowing WindowsWallpaper::narrowingFor(unsigned codePage) {
    if (codePage == CP_UTF8)
        return {0, false};
    return {WC_NO_BEST_FIT_CHARS, true};
}

Wallpaper::Result WindowsWallpaper::set(const std::string& path, Style style) {
    std::optional<std::string> narrow = toCodePage(path);
    if (!narrow)
        return {Problem::PathNotInCodePage, path};

    // The tile setting first and the key closed: the system call reads it from
    // the registry when it applies the picture.
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyA(HKEY_CURRENT_USER, kDesktopKey, &key);
    if (opened != ERROR_SUCCESS)
        return {Problem::Refused, failed("RegOpenKeyA", DWORD(opened))};
    const char* digit = style == Style::Tiled ? "1" : "0";
    const LONG written =
        RegSetValueExA(key, kTileValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(digit), 2);
    RegCloseKey(key);
    if (written != ERROR_SUCCESS)
        return {Problem::Refused, failed("RegSetValueExA", DWORD(written))};

    if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, narrow->data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
        return {Problem::Refused, failed("SystemParametersInfoA", GetLastError())};

    char shown[MAX_PATH + 1] = {};
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, shown, 0) ||
        lstrcmpiA(shown, narrow->c_str()) != 0)
        return {Problem::NotApplied, "SPI_GETDESKWALLPAPER"};
    if (readValue(kTileValue) != digit)
        return {Problem::NotApplied, std::string(kTileValue) + " = " + readValue(kTileValue)};
    return {};
}
