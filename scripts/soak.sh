#!/usr/bin/env bash
# Plays the built application as a player would for a while, and checks it: ./scripts/soak.sh
# [SECONDS] (60 by default; e.g. 3600 for an evening's hour). Builds the Release application with
# JUCE's assertions compiled in and logged (build/soak), starts it on an X server of its own with
# file-backed MIDI ports and tests/soak/Soak.vlt; then scripts/soak/soak.py writes footswitches,
# pedal sweeps, patch changes and navigation into the input pipe at the MIDI cable's rate while
# output and input devices are unplugged and plugged back, checks every byte that reaches the
# outputs against what the document demands, asks the main window a question every half second,
# watches the memory and measures the footswitch latency. It prints the figures (with the traffic's
# seed: SOAK_SEED=N plays the same traffic again) and fails on a lost or wrong byte, a window that
# stops answering, memory that grows or a JUCE assertion.
source "$(dirname "$0")/common.sh"

seconds="${1:-60}"
export PYTHONDONTWRITEBYTECODE=1     # nothing written into the sources
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool imagemagick python3
configure_and_build "$ROOT/build/soak" Release -DVELTRINO_BUILD_TESTS=OFF -DVELTRINO_LOG_ASSERTIONS=ON --target Veltrino

# The end-to-end helper starts the X server, the input pipe "FCB1010" and the output "Synth".
source "$ROOT/tests/app/endtoend/EndToEndHelper.sh" "$ROOT/build/soak/app/Veltrino_artefacts/Release/Veltrino"
SOAK="$ROOT/scripts/soak"

cp "$ROOT/tests/soak/Soak.vlt" "$WORK/docs/soak.vlt"
: > "$WORK/midi/out/Effects"
listen_to_the_board

# The window's answers need atoms that the application only looks up: made before it starts.
python3 -c "import sys; sys.path.insert(0, '$SOAK'); import window_probe; window_probe.intern_atoms()"
start_app
open_document "$WORK/docs/soak.vlt"

python3 "$SOAK/soak.py" --work "$WORK" --pid "$APP_PID" --window "$MAIN" --document "$WORK/docs/soak.vlt" \
    --seconds "$seconds" ${SOAK_SEED:+--seed "$SOAK_SEED"} || fail "the soak run"
quit_app
