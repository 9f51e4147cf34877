#!/usr/bin/env bash
# Edits the example document at random in the patches editor for longer than the test suite
# does: ./scripts/fuzz-editor.sh SECONDS [SEED]
# It runs VlEditorRandomEditingTests in the address-sanitizer build on a virtual display. Without a
# seed it draws one; a failure names the seed and the step, and
#   VELTRINO_EDIT_SEED=SEED VELTRINO_EDIT_STEPS=STEP+1 build/asan/tests/app/editor/editor_tests \
#       --gtest_filter='VlEditorRandomEditingTests.*'
# repeats it (under xvfb-run).
source "$(dirname "$0")/common.sh"

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 SECONDS [SEED]" >&2
    exit 2
fi
seconds="$1" seed="${2:-$RANDOM$RANDOM}"

ensure_packages "${BUILD_PACKAGES[@]}" "${SANITIZER_PACKAGES[@]}" libgtest-dev libgmock-dev xvfb xauth
configure_and_build "$ASAN_DIR" "${ASAN_CONFIG[@]}" --target editor_tests

# libX11 preloaded as in scripts/test.sh: what it keeps to the end is not a leak of ours.
echo "Editing at random for $seconds s, seed $seed"
LD_PRELOAD=libX11.so.6 VELTRINO_EDIT_SEED="$seed" VELTRINO_EDIT_SECONDS="$seconds" \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$ASAN_DIR/tests/app/editor/editor_tests" \
    --gtest_filter='VlEditorRandomEditingTests.*'
