#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench) and runs them all: the footswitch and pedal
# roads (also while the board repaints), the large document's load, save and memory, the
# patches editor's showing and patch selection over it, the drawing of the main window, and
# the start-up on a virtual display.
# Prints each program's table, then every figure with its ratio to its target. Timings are
# only worth reading on a quiet machine: the load average is printed before and after.
#   ./scripts/bench.sh [--benchmark_... options for every program]
source "$(dirname "$0")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth libbenchmark-dev
configure_and_build "$ROOT/build/bench" Release -DVELTRINO_BUILD_BENCHMARKS=ON -DVELTRINO_BUILD_TESTS=OFF \
    --target roads_bench document_bench editor_bench drawing_bench startup_bench

cd "$ROOT/build/bench/bench"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
./roads_bench --benchmark_min_time=2 "$@" | tee "$logs/roads"
./document_bench "$@" | tee "$logs/document"
./editor_bench "$@" | tee "$logs/editor"
./drawing_bench "$@" | tee "$logs/drawing"
xvfb-run -a -s "-screen 0 1280x1024x24" ./startup_bench "$@" | tee "$logs/startup"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "=== figures"
for log in roads document editor drawing startup; do
    sed -n '/^=== figures/,$p' "$logs/$log" | tail -n +2
done
