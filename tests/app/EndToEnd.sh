#!/usr/bin/env bash
# Drives the built application from outside, as a user would: on an X server of
# its own, with file-backed MIDI ports and a preferences file that names the
# input device. Opens a document through the File menu's keys, plays it from the
# pedal board's pipe and with the mouse, checks the bytes that reach the output
# file, quits with Ctrl+Q and checks the saved preferences.
#
#   EndToEnd.sh <Veltrino executable> <document>
set -euo pipefail

APP="$1"
DOCUMENT="$2"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/veltrino-e2e.XXXXXX")"
XVFB_PID=""
APP_PID=""

cleanup()
{
    # Everything here runs, whatever fails: nothing started may outlive the test.
    set +e
    for pid in $APP_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap "exit 1" TERM INT HUP

fail()
{
    echo "FAILED: $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$WORK/failure.png" 2>/dev/null \
        && cp "$WORK/failure.png" "${TMPDIR:-/tmp}/veltrino-e2e-failure.png" \
        && echo "screen at the failure: ${TMPDIR:-/tmp}/veltrino-e2e-failure.png" >&2
    [ -f "$WORK/app.log" ] && grep -v "BadAtom\|ALSA lib\|JUCE Assertion" "$WORK/app.log" | tail -20 >&2
    exit 1
}

# wait_for DESCRIPTION COMMAND...: retries the command for up to 15 seconds.
wait_for()
{
    local what="$1"
    shift
    for _ in $(seq 150); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "timed out waiting for $what"
}

# The bytes of a file as hex pairs separated by blanks.
hex_of() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

output_is() { [ "$(hex_of "$WORK/midi/out/Synth")" = "$1" ]; }

expect_output()
{
    wait_for "output bytes '$1'" output_is "$1"
}

window_named() { xdotool search --name "$1"; }

# Writes bytes (printf notation) into the pedal board's pipe; gives up when nothing reads it.
send_midi()
{
    timeout 10 bash -c 'printf "$1" > "$2"' _ "$1" "$WORK/midi/in/FCB1010" || fail "could not write '$1' to the input pipe"
}

# An X server of our own: nothing else running in parallel takes the focus or the keys.
exec 3> "$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
wait_for "the X server" test -s "$WORK/display"
export DISPLAY=":$(head -n1 "$WORK/display")"

# Devices, preferences and the document to open.
mkdir -p "$WORK/midi/in" "$WORK/midi/out" "$WORK/config/Veltrino" "$WORK/docs"
mkfifo "$WORK/midi/in/FCB1010"
: > "$WORK/midi/out/Synth"
cp "$DOCUMENT" "$WORK/docs/stage.vlt"
cat > "$WORK/config/Veltrino/preferences.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<preferences>
  <tooltips visible="0"/>
  <midi_in device="FCB1010" channel="1"/>
</preferences>
EOF

cd "$WORK"
HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" VELTRINO_MIDI_DIR="$WORK/midi" "$APP" > "$WORK/app.log" 2>&1 &
APP_PID=$!

wait_for "the main window" window_named '^Veltrino 1\.1 - Untitled$'
MAIN="$(window_named '^Veltrino 1\.1 - Untitled$' | head -n1)"

# The start picture (a window named after the application) shows for two seconds; wait as a user would.
wait_for "the start picture to close" bash -c "! xdotool search --name '^Veltrino\$'"

# File > Open... by its keys, then the file chooser: type the path into its file
# box; the first Return moves the browser to the file, the second opens it.
xdotool windowfocus --sync "$MAIN"
xdotool key ctrl+o
wait_for "the open chooser" window_named '^Choose a Veltrino file to open$'
CHOOSER="$(window_named '^Choose a Veltrino file to open$' | head -n1)"
eval "$(xdotool getwindowgeometry --shell "$CHOOSER")"
xdotool mousemove --window "$CHOOSER" $((WIDTH * 2 / 3)) $((HEIGHT - 62)) click 1
xdotool type --delay 5 "$WORK/docs/stage.vlt"
xdotool key Return
sleep 0.3
xdotool key Return
wait_for "the document's title" window_named '^Veltrino 1\.1 - stage$'

# Opening plays the volume pedal's initial value (0): controller 7.
expect_output "b0 07 00"
: > "$WORK/midi/out/Synth"

# Footswitch 1 (note 1) plays note 60 while it is down.
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"
send_midi '\x80\x01\x00'
expect_output "90 3c 64 80 3c 00"
: > "$WORK/midi/out/Synth"

# The volume pedal (controller 1) takes over softly: it stands at 0, so it passes
# values from there on; running status carries the second value.
send_midi '\xb0\x01\x40\x01\x7f'
expect_output "b0 07 40 b0 07 7f"
: > "$WORK/midi/out/Synth"

# A click on the on-screen footswitch 2 plays its program change.
xdotool mousemove --window "$MAIN" 117 230
sleep 0.2
xdotool click 1
expect_output "c0 05"

# Quit by its keys; the preferences keep the input device and the learnt messages.
xdotool windowfocus --sync "$MAIN"
xdotool key ctrl+q
wait_for "the application to end" bash -c "! kill -0 $APP_PID"
wait "$APP_PID" || fail "the application ended with an error"
APP_PID=""

PREFS="$WORK/config/Veltrino/preferences.xml"
grep -q '<midi_in device="FCB1010" channel="1" fs1="1"' "$PREFS" || fail "midi_in not saved: $(cat "$PREFS")"
grep -q 'ep1="129" ep2="135"' "$PREFS" || fail "learnt pedals not saved: $(cat "$PREFS")"
grep -q "<recent_files>$WORK/docs/stage.vlt</recent_files>" "$PREFS" || fail "recent file not saved: $(cat "$PREFS")"

echo "1 passed, 0 failed"
