#!/usr/bin/env bash
# Installs what is missing, builds Veltrino and starts it. Without a display
# (a server, a container) it runs under a virtual one.
source "$(dirname "$0")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth
mkdir -p "$ROOT/build"
configure_and_build "$ROOT/build/release" Release -DVELTRINO_BUILD_TESTS=OFF

APP="$ROOT/build/release/app/Veltrino_artefacts/Release/Veltrino"
if [ -n "${DISPLAY:-}" ]; then
    exec "$APP" "$@"
else
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$APP" "$@"
fi
