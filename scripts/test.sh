#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# Tests labelled "gui" use the virtual display; the others run without one.
source "$(dirname "$0")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool imagemagick libgtest-dev libgmock-dev libbenchmark-dev
mkdir -p "$ROOT/build"
configure_and_build "$ROOT/build/tests" Debug

cd "$ROOT/build/tests"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure --parallel "$JOBS" --timeout 300
