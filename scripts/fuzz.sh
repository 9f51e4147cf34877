#!/usr/bin/env bash
# Runs one fuzzer for longer than the test suite does: ./scripts/fuzz.sh TARGET SECONDS
# TARGET is a name from fuzz/CMakeLists.txt (prefs_reader, midi_stream_parser, xml_reader, ...).
# It works on build/fuzz-long/TARGET, which starts as a copy of fuzz/corpus/TARGET and keeps what
# each run adds; whatever fails is saved beside it, and the log is build/fuzz-long/TARGET.log.
source "$(dirname "$0")/common.sh"

if [ $# -ne 2 ]; then
    echo "usage: $0 TARGET SECONDS" >&2
    exit 2
fi
target="$1" seconds="$2"

if [ ! -d "$ROOT/fuzz/corpus/$target" ]; then
    echo "no fuzzer named '$target': see fuzz/CMakeLists.txt" >&2
    exit 2
fi

ensure_packages "${BUILD_PACKAGES[@]}" "${SANITIZER_PACKAGES[@]}" libgtest-dev libgmock-dev
configure_and_build "$ASAN_DIR" "${ASAN_CONFIG[@]}" --target "fuzz_$target"

work="$ROOT/build/fuzz-long/$target"
[ -d "$work" ] || { mkdir -p "$(dirname "$work")" && cp -r "$ROOT/fuzz/corpus/$target" "$work"; }

echo "Fuzzing $target for $seconds s on $work"
if run_fuzzer "$target" "$seconds" "$work"; then
    grep -E '^(Done|#[0-9]+.*DONE)' "$work.log"
else
    tail -n 60 "$work.log"
    exit 1
fi
