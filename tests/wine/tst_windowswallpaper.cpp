// The Windows wallpaper adapter on a real Win32 (Wine here): after each command
// the registry is read back on its own, not through the adapter.
#include "platform/wallpaper/WindowsWallpaper.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const char* what, const std::string& got = {}) {
    std::printf("%s: %s%s%s\n", ok ? "PASS" : "FAIL", what, got.empty() ? "" : " -> ", got.c_str());
    if (!ok)
        ++failures;
}

std::string desktopValue(const char* name) {
    char data[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr,
                     data, &size) != ERROR_SUCCESS)
        return "(none)";
    return data;
}

DWORD desktopValueCount() {
    HKEY key = nullptr;
    DWORD values = 0;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    return values;
}

std::wstring wide(const std::string& utf8) {
    std::wstring out(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), int(out.size()));
    return out;
}

// A 1 x 1 blue BMP, so the system has a real picture to load.
bool writePicture(const std::string& utf8Path) {
    static const unsigned char kBmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0,   54, 0, 0, 0,  40,
                                         0,   0,   0,  1, 0, 0, 0, 1, 0, 0,   0,  1, 0, 24, 0,
                                         0,   0,   0,  0, 4, 0, 0, 0, 0, 0,   0,  0, 0, 0,  0,
                                         0,   0,   0,  0, 0, 0, 0, 0, 0, 255, 0,  0, 0};
    HANDLE file = CreateFileW(wide(utf8Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, kBmp, sizeof kBmp, &written, nullptr) && written == sizeof kBmp;
    CloseHandle(file);
    return ok;
}

std::string toCodePage(const std::string& utf8) {
    const std::wstring w = wide(utf8);
    std::string out(
        size_t(WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, out.data(), int(out.size()), nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

} // namespace

int main() {
    std::printf("code page %u\n", GetACP());
    // Windows refuses the best-fit flag and the question about replaced letters
    // for UTF-8, though Wine lets both pass, so the choice itself is checked.
    const struct {
        unsigned page;
        unsigned long flags;
        bool askReplaced;
    } kNarrowings[] = {
        {1252, WC_NO_BEST_FIT_CHARS, true}, {932, WC_NO_BEST_FIT_CHARS, true}, {CP_UTF8, 0, false}};
    for (const auto& expected : kNarrowings) {
        const WindowsWallpaper::Narrowing got = WindowsWallpaper::narrowingFor(expected.page);
        check(got.flags == expected.flags && got.askReplaced == expected.askReplaced,
              "the narrowing suits the code page", std::to_string(expected.page));
    }

    CreateDirectoryW(L"C:\\Mina bilder", nullptr);
    // A blank and three Swedish letters, all in the Western code page.
    const std::string path = "C:\\Mina bilder\\hus på ängen ö.bmp";
    check(writePicture(path), "the picture is written");
    WindowsWallpaper wallpaper;

    Wallpaper::Result result = wallpaper.set(path, Wallpaper::Style::Tiled);
    check(result.ok(), "tiled is set", result.detail);
    check(desktopValue("TileWallpaper") == "1", "tiled writes TileWallpaper 1",
          desktopValue("TileWallpaper"));
    check(desktopValue("Wallpaper") == toCodePage(path), "the system keeps the whole path",
          desktopValue("Wallpaper"));

    result = wallpaper.set(path, Wallpaper::Style::Centred);
    check(result.ok(), "centred is set", result.detail);
    check(desktopValue("TileWallpaper") == "0", "centred writes TileWallpaper 0",
          desktopValue("TileWallpaper"));
    const DWORD values = desktopValueCount();
    result = wallpaper.set(path, Wallpaper::Style::Centred);
    check(result.ok() && desktopValue("TileWallpaper") == "0" &&
              desktopValue("Wallpaper") == toCodePage(path),
          "centred twice gives the same setting");
    check(desktopValueCount() == values, "nothing accumulates in the desktop key");

    // A Chinese letter is in no Western code page: the wallpaper stays as it
    // was. UTF-8 holds it.
    const std::string chinese = "C:\\Mina bilder\\貓.bmp";
    if (GetACP() == 1252) {
        result = wallpaper.set(chinese, Wallpaper::Style::Tiled);
        check(result.problem == Wallpaper::Problem::PathNotInCodePage,
              "a path the code page cannot hold is refused");
        check(desktopValue("TileWallpaper") == "0" && desktopValue("Wallpaper") == toCodePage(path),
              "a refused path changes nothing");
    } else if (GetACP() == CP_UTF8) {
        check(writePicture(chinese), "the Chinese picture is written");
        result = wallpaper.set(chinese, Wallpaper::Style::Tiled);
        check(result.ok() && desktopValue("Wallpaper") == chinese,
              "UTF-8 as the code page takes any path", result.detail);
    } else {
        std::printf("SKIP: the code page is neither 1252 nor UTF-8\n");
    }
    std::printf("%s\n", failures ? "FAILED" : "ALL PASSED");
    return failures ? 1 : 0;
}
