#!/bin/sh
# Fails when a C++ source under src/, tests/, bench/ or tools/ differs from what
# clang-format makes of it with the committed .clang-format, and names where.
# Exits 77 (ctest's "skipped") when clang-format is not installed.
# Usage: check_format.sh SOURCE_DIR
set -u
command -v clang-format >/dev/null || { echo "skipped: needs clang-format"; exit 77; }
cd "$1" || exit 1
files=$(find src tests bench tools -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
[ -n "$files" ] || { echo "no sources found under $1"; exit 1; }
# shellcheck disable=SC2086 # the paths have no spaces
clang-format --dry-run --Werror $files
