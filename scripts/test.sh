#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite, one stage at a time:
#   - the common, engine and tools tests, the tests labelled "gui" (in-process on a virtual display,
#     and the end-to-end scenarios, which drive the application built there) under AddressSanitizer,
#     its leak checker and UndefinedBehaviorSanitizer, and every fuzzer for FUZZ_SECONDS on a copy
#     of its seed corpus;
#   - the tests labelled "threads" under ThreadSanitizer;
#   - every test of the main build, with a brief run of each benchmark: those labelled "gui" on a
#     virtual display, the others without one;
#   - a minute of the Release application played as on stage (scripts/soak.sh 60);
#   - every C++ source laid out as .clang-format says.
# The main run comes last, so its summary ends the output. The script fails when any stage fails.
source "$(dirname "$0")/common.sh"

# JUCE is compiled for the fuzzers already: the GUI runners and the application cost only their own code.
ASAN_RUNNERS=(common_tests engine_tests tools_tests gui_tests Veltrino)
FUZZ_SECONDS=30
CTEST=(ctest --output-on-failure --parallel "$JOBS" --timeout 300)

asan_build()
{
    configure_and_build "$ASAN_DIR" "${ASAN_CONFIG[@]}" --target "${ASAN_RUNNERS[@]}" fuzzers
}

# Only what this build built: the runners left out would show as "_NOT_BUILT" tests, which carry no label.
# JUCE loads libX11 when it starts and unloads it when it shuts down: what X11 still holds for
# the process (its locale caches) would then look leaked, in frames that can no longer be named.
# Loaded from the start, the library stays to the end and those blocks stay reachable; a block
# that our code loses, through X11 or not, is still reported, with its frames named.
asan_tests()
{
    (cd "$ASAN_DIR" && LD_PRELOAD=libX11.so.6 \
        xvfb-run -a -s "-screen 0 1280x1024x24" "${CTEST[@]}" --label-regex '^(headless|threads|gui)$')
}

# Each fuzzer starts afresh from the committed seeds; the copy keeps the repository as it is.
# As many run at once as there are processors, each for its own FUZZ_SECONDS.
fuzz()
{
    local failed=0 target targets started=0 work="$ROOT/build/fuzz"
    rm -rf "$work" && mkdir -p "$work"
    mapfile -t targets < "$ASAN_DIR/fuzz/fuzzers.txt"

    for target in "${targets[@]}"; do
        cp -r "$ROOT/fuzz/corpus/$target" "$work/$target"
        (run_fuzzer "$target" "$FUZZ_SECONDS" "$work/$target"; echo $? > "$work/$target.status") &
        if ((++started % JOBS == 0)); then wait; fi
    done
    wait

    for target in "${targets[@]}"; do
        if [ "$(cat "$work/$target.status")" = 0 ]; then
            echo "$target: $(grep -o 'Done [0-9]* runs' "$work/$target.log"), no failure"
        else
            tail -n 60 "$work/$target.log"
            echo "$target: FAILED (input kept in $work)"
            failed=1
        fi
    done

    return $failed
}

tsan_build()
{
    configure_and_build "$ROOT/build/tsan" Debug "${CLANG[@]}" -DVELTRINO_SANITIZER=thread --target thread_tests
}

tsan_tests()
{
    (cd "$ROOT/build/tsan" && "${CTEST[@]}" --label-regex '^threads$')
}

# The benchmarks too: each runs briefly among the tests, so that they keep working.
main_build()
{
    configure_and_build "$ROOT/build/tests" Debug -DVELTRINO_BUILD_BENCHMARKS=ON
}

main_tests()
{
    cd "$ROOT/build/tests"
    xvfb-run -a -s "-screen 0 1280x1024x24" "${CTEST[@]}"
}

# Builds only the application in Release, then plays it for a minute and checks every byte it sends.
soak()
{
    SOAK_SEED="${SOAK_SEED:-1}" "$ROOT/scripts/soak.sh" 60    # one traffic, so a failure plays again
}

# Lists each source that clang-format would change, with the first of its changes.
format()
{
    (cd "$ROOT" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror --ferror-limit=1)
}

# stage NAME: runs the function NAME and notes how long it took and whether it failed.
TIMES=()
FAILED=()
stage()
{
    local start=$SECONDS status=0
    echo "=== $1"
    "$1" || status=$?
    TIMES+=("$(printf '%-11s %4d s' "$1" $((SECONDS - start)))")
    [ $status -eq 0 ] || FAILED+=("$1")
    return $status
}

report()
{
    echo "=== stage times"
    printf '%s\n' "${TIMES[@]}"
    [ ${#FAILED[@]} -eq 0 ] || echo "FAILED: ${FAILED[*]}"
}

# Every stage runs even when one before it failed.
set +e

# util-linux brings setpriv, with which a scenario runs the application without root's override of file modes,
# and unshare, mountpoint and taskset; fusefat, bindfs and dosfstools the filesystems that keep no file modes;
# libxtst-dev the XTest calls of the scenarios' own program that plays the mouse; the window managers, wmctrl and
# x11-utils serve the scenario that runs under window managers.
ensure_packages "${BUILD_PACKAGES[@]}" "${SANITIZER_PACKAGES[@]}" \
    util-linux fusefat bindfs dosfstools xvfb xauth xdotool imagemagick python3 libgtest-dev libgmock-dev \
    libbenchmark-dev clang-format libxtst-dev openbox fluxbox wmctrl x11-utils || exit 1

stage format

stage asan_build && { stage asan_tests; stage fuzz; }
stage tsan_build && stage tsan_tests
stage main_build || { report; exit 1; }
stage soak
report

# Last, so that its summary ends the output; its time is the summary's "Total Test time".
echo "=== main_tests"
main_tests
status=$?
[ ${#FAILED[@]} -eq 0 ] || exit 1
exit $status
