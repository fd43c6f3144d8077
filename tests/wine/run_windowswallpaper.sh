#!/bin/sh
# Builds the Windows wallpaper test with MinGW-w64 and runs it under Wine in a
# prefix of its own, once with the Western code page and once with UTF-8; the
# prefix is stopped and removed afterwards. Exits 77 (ctest's
# "skipped") when MinGW-w64 or Wine is not installed.
# Usage: run_windowswallpaper.sh SOURCE_DIR
set -u
src=$1
cxx=$(command -v x86_64-w64-mingw32-g++ || true)
wine=$(command -v wine64 || ls /usr/lib/wine/wine64 2>/dev/null || true)
wineserver=$(command -v wineserver || ls /usr/lib/wine/wineserver 2>/dev/null || true)
if [ -z "$cxx" ] || [ -z "$wine" ] || [ -z "$wineserver" ]; then
  echo "skipped: needs x86_64-w64-mingw32-g++ (g++-mingw-w64-x86-64) and wine64 (wine64)"
  exit 77
fi

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$wineserver" -k 2>/dev/null
  "$wineserver" -w 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$cxx" -std=c++17 -Wall -Wextra -Werror -O1 -static -I"$src/src" -o "$work/tst_windowswallpaper.exe" \
  "$src/tests/wine/tst_windowswallpaper.cpp" "$src/src/platform/wallpaper/WindowsWallpaper.cpp" || exit 1
# The first start of a new prefix sets Windows up; its chatter is not ours.
"$wine" "$work/tst_windowswallpaper.exe" 2>"$work/wine.log"
status=$?
[ $status -eq 0 ] || { cat "$work/wine.log"; exit $status; }

# Again with UTF-8 as the system's code page. Wine ignores the registry's
# Nls\CodePage ACP and takes the code page from the locale: Unicode-only ones
# such as Hindi get UTF-8. It reads the locale's name from LC_ALL but its
# letters from the C library, so the name is lent the data of C.UTF-8.
utf8=/usr/lib/locale/C.utf8
if [ ! -d "$utf8" ]; then
  echo "skipped the run with code page 65001: no $utf8 to lend a Unicode-only locale"
  exit 0
fi
mkdir "$work/locale" && ln -s "$utf8" "$work/locale/hi_IN.UTF-8" || exit 1
"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
LOCPATH="$work/locale" LC_ALL=hi_IN.UTF-8 \
  "$wine" "$work/tst_windowswallpaper.exe" >"$work/utf8.out" 2>"$work/wine.log"
status=$?
cat "$work/utf8.out"
if ! grep -q '^code page 65001' "$work/utf8.out"; then
  echo "skipped the run with code page 65001: Wine did not take it"
  exit 0
fi
[ $status -eq 0 ] || cat "$work/wine.log"
exit $status
