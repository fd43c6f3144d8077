#!/bin/bash
# Measures a set-up command of the README on a fresh Debian 12: a minimal
# debootstrap system that has only a shell and apt, with a commit of this
# repository copied in. Prints what apt fetched (packages and megabytes of
# .deb files), the minutes to the built program and to the window's first
# frame (drawn offscreen, then the program is stopped), and the CPU time used.
# Needs root and debootstrap.
#
#   tools/fresh-debian.sh [COMMIT] [run|test]      (defaults: HEAD run)
#
# The fresh system is made once and kept as a tarball in FRESH_DIR
# (/var/tmp/pensilo-fresh), so every measurement starts from the same state;
# MIRROR is the Debian mirror for debootstrap (this machine's by default).
# KEEP=1 leaves the used system behind for a look.
set -euo pipefail
commit=${1:-HEAD}
command=${2:-run}
case "$command" in run | test) ;; *) echo "usage: $0 [COMMIT] [run|test]" >&2; exit 2 ;; esac
repo=$(cd "$(dirname "$0")/.." && pwd)
dir=${FRESH_DIR:-/var/tmp/pensilo-fresh}
mirror=${MIRROR:-$(sed -n 's/^URIs: *\([^ ]*\/debian\)$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)}
mirror=${mirror:-http://deb.debian.org/debian}
tarball=$dir/fresh-bookworm.tar.gz
mkdir -p "$dir"

if [ ! -f "$tarball" ]; then
    base=$dir/base
    rm -rf "$base"
    debootstrap --variant=minbase bookworm "$base" "$mirror"
    # The same sources as this machine (with its security and updates suites).
    if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
        rm -f "$base/etc/apt/sources.list"
        cp /etc/apt/sources.list.d/*.sources "$base/etc/apt/sources.list.d/"
    fi
    tar -C "$base" -czf "$tarball.part" . && mv "$tarball.part" "$tarball"
    rm -rf "$base"
fi

root=$(mktemp -d "$dir/run.XXXXXX")
log=$root.log
mounted=()
cleanup() {
    local m
    for m in "${mounted[@]}"; do umount "$m" || umount -l "$m"; done
    [ "${KEEP:-0}" = 1 ] || rm -rf "$root"
}
trap cleanup EXIT
tar -C "$root" -xzf "$tarball"
# debootstrap leaves its own .debs in apt's cache; only what the command fetches counts.
rm -f "$root"/var/cache/apt/archives/*.deb
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir "$root/pensilo"
git -C "$repo" archive "$commit" | tar -x -C "$root/pensilo"
for m in proc sys dev dev/pts; do
    mount --bind "/$m" "$root/$m"
    mounted=("$root/$m" "${mounted[@]}")
done

program=$root/pensilo/build/src/pensilo
echo "measuring ./pensilo.sh $command of $(git -C "$repo" rev-parse --short "$commit") in $root (log $log)"
echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
start=$(date +%s.%N)
# C.UTF-8, as an installed Debian and CI have: debootstrap sets no locale, and
# in plain C the wallpaper tests' non-ASCII file names cannot be passed on.
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root CI=true LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen PENSILO_FIRST_FRAME=1 \
    sh -c "cd /pensilo && exec ./pensilo.sh $command" </dev/null >"$log" 2>&1 &
runner=$!
installed="" built="" frame=""
while kill -0 "$runner" 2>/dev/null; do
    now=$(date +%s.%N)
    # CMake's first words: every package is in and the build begins.
    [ -n "$installed" ] || ! grep -q '^-- The CXX compiler' "$log" || installed=$now
    [ -n "$built" ] || [ ! -x "$program" ] || built=$now
    if [ "$command" = run ] && [ -z "$frame" ] && grep -q '^first-frame' "$log"; then
        frame=$now
        # Stop the program itself, found by its file; make then ends too.
        for p in /proc/[0-9]*; do
            [ "$(readlink "$p/exe" 2>/dev/null)" = "$program" ] && kill "${p#/proc/}"
        done
    fi
    sleep 0.2
done
status=0
wait "$runner" || status=$?
end=$(date +%s.%N)
echo "load at end: $(cut -d' ' -f1-3 /proc/loadavg)"

minutes() { awk -v a="$start" -v b="$1" 'BEGIN { printf "%.1f min", (b - a) / 60 }'; }
find "$root/var/cache/apt/archives" "$root/pensilo" -name '*.deb' -printf '%s\n' |
    awk '{ n++; s += $1 } END { printf "fetched: %d packages, %.1f MB (%.1f MiB)\n", n, s / 1e6, s / 1048576 }'
[ -z "$installed" ] || echo "packages installed after $(minutes "$installed")"
[ -z "$built" ] || echo "program built after $(minutes "$built")"
[ -z "$frame" ] || echo "first frame after $(minutes "$frame")"
echo "command ended after $(minutes "$end")"
# The chroot's processes are children of this shell: their CPU time, user and system.
times >"$root.times"
echo "CPU time of the command (user, system): $(tail -n 1 "$root.times")"
rm -f "$root.times"
if [ "$command" = run ] && [ -z "$frame" ]; then
    echo "no first frame; the end of the log:" >&2
    tail -n 30 "$log" >&2
    exit 1
fi
[ "$command" = run ] || exit "$status"
