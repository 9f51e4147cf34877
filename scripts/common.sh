# Shared by scripts/run.sh and scripts/test.sh: installs the Debian packages
# that are missing (with sudo when not root) and builds one configuration.

set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc)"

# ensure_packages PACKAGE...
ensure_packages()
{
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake make g++ pkg-config juce-modules-source fonts-liberation)

# configure_and_build BUILD_DIR BUILD_TYPE [CMAKE_ARGS...] [--target TARGET...]
# Builds every target, or only those named after --target.
configure_and_build()
{
    local dir="$1" type="$2" args=() targets=()
    shift 2
    while [ $# -gt 0 ] && [ "$1" != "--target" ]; do args+=("$1"); shift; done
    [ $# -gt 0 ] && { shift; targets=(--target "$@"); }

    mkdir -p "$(dirname "$dir")"
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "${args[@]}" > "$dir.configure.log" 2>&1 \
        || { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" --parallel "$JOBS" "${targets[@]}"
}

# The sanitizer builds use clang (cmake/VeltrinoSanitizers.cmake); llvm brings the symbolizer
# that turns their reports' addresses into file names and lines.
SANITIZER_PACKAGES=(clang libclang-rt-14-dev llvm)
CLANG=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)

# The address-sanitizer build, which the fuzzers share. At -O1 the fuzzers run several times
# faster than unoptimised; RelWithDebInfo keeps JUCE from forcing -O0 (it leaves out jassert).
ASAN_DIR="$ROOT/build/asan"
ASAN_CONFIG=(RelWithDebInfo "${CLANG[@]}" -DVELTRINO_SANITIZER=address -DVELTRINO_BUILD_FUZZERS=ON
             "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g")

# Every report fails the run: leaks too, and thread-sanitizer reports at once.
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

# run_fuzzer TARGET SECONDS CORPUS_FOLDER
# Runs one fuzzer of the address-sanitizer build on the corpus folder, which it adds to; whatever
# it finds goes beside the folder. Its log is CORPUS_FOLDER.log.
run_fuzzer()
{
    local target="$1" seconds="$2" corpus="$3"
    "$ASAN_DIR/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$corpus-" "$corpus" > "$corpus.log" 2>&1
}
