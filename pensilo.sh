#!/bin/sh
# The README's two set-up commands, for a fresh Debian 12 that has nothing but
# a shell and apt:
#   ./pensilo.sh run    installs what building and running need, builds the
#                       program alone and starts it
#   ./pensilo.sh test   installs the test packages too, builds everything and
#                       runs every test, also under the sanitizers
# The Makefile does the work; this only makes sure make itself is there.
set -eu
cd "$(dirname "$0")"

case "${1:-}" in
run | test) ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

if ! command -v make >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends make
fi
exec make "$1"
