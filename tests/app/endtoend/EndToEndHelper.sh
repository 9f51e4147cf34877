# Sourced by every end-to-end scenario: drives the built application from outside, as a
# user would, on an X server of its own with file-backed MIDI ports, in a fresh folder
# that stands for the user's home ($WORK). On sourcing it starts the X server, makes an
# input pipe "FCB1010" and an output file "Synth", and arranges that nothing started
# outlives the scenario. A scenario calls `pass` at its end.
#
#   source EndToEndHelper.sh <Veltrino executable>
set -euo pipefail

APP="$1"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
SCENARIO="$(basename "$0" .sh)"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/veltrino-e2e.XXXXXX")"
PREFS="$WORK/config/Veltrino/preferences.xml"
XVFB_PID=""
APP_PID=""
WM_PID=""
ONE_CPU=""

cleanup()
{
    # Everything here runs, whatever fails: nothing started may outlive the test.
    set +e
    for pid in $APP_PID $WM_PID $XVFB_PID; do
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
    local shot="${TMPDIR:-/tmp}/veltrino-e2e-$SCENARIO-failure.png"
    [ -n "${DISPLAY:-}" ] && import -window root "$WORK/failure.png" 2>/dev/null \
        && cp "$WORK/failure.png" "$shot" && echo "screen at the failure: $shot" >&2
    [ -f "$WORK/app.log" ] && grep -v "BadAtom\|ALSA lib" "$WORK/app.log" | tail -40 >&2
    exit 1
}

# no_assertions: the application's log shows no failed JUCE assertion (its test builds log them).
no_assertions()
{
    local failures
    failures="$(grep -s "JUCE Assertion failure" "$WORK/app.log" | sort | uniq -c)" || return 0
    echo "$failures" >&2
    fail "JUCE asserted in the application"
}

pass()
{
    no_assertions
    echo "$SCENARIO: 1 passed, 0 failed"
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

#==============================================================================
# Windows, by title (a regular expression).
window_named() { xdotool search --name "$1"; }
no_window_named() { ! xdotool search --name "$1"; }

# wait_for_window TITLE_REGEX: waits until it shows and prints its id.
wait_for_window()
{
    wait_for "the window '$1'" window_named "$1"
    window_named "$1" | head -n1
}

# click_in WINDOW X Y: a real click at that point of the window, which also gives it the focus.
click_in()
{
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.2
    xdotool click 1
}

# Keys go where the focus is: give it to the window first. A window that has only just
# been mapped may refuse the focus (an X error), and a slow application (sanitizers, a
# loaded machine) may take a while to take it: ask again until it has it.
keys_to()
{
    local window="$1"
    shift
    wait_for "the focus on window $window" timeout 5 xdotool windowfocus --sync "$window"
    xdotool key "$@"
}

# press_until WINDOW KEY DESCRIPTION COMMAND...: presses the key in the window until the
# command succeeds. Under load a key that arrives while the application is still settling
# the focus (just after it started, or after a box over the window closed) can be dropped;
# the keys pressed this way do nothing when they come once more (a command's key while its
# dialog is open, Escape after the window has gone, a second save). With the window "-" the
# key goes where the application has put the focus, which nothing from outside moves.
press_until()
{
    local window="$1" key="$2" what="$3"
    shift 3
    for _ in 1 2 3 4 5; do
        if [ "$window" = "-" ]; then
            xdotool key "$key"
        else
            timeout 5 xdotool windowfocus --sync "$window" 2>/dev/null && xdotool key "$key"
        fi
        for _ in $(seq 30); do
            "$@" > /dev/null 2>&1 && return 0
            sleep 0.1
        done
    done
    fail "timed out waiting for $what"
}

# close_with_escape WINDOW TITLE_REGEX: Escape until the window has gone.
close_with_escape()
{
    press_until "$1" Escape "'$2' to close" no_window_named "$2"
}

#==============================================================================
# MIDI: the pedal board's input pipe and the synthesizer's output file.
mkdir -p "$WORK/midi/in" "$WORK/midi/out" "$WORK/config/Veltrino" "$WORK/docs"
mkfifo "$WORK/midi/in/FCB1010"
: > "$WORK/midi/out/Synth"

# send_midi BYTES: writes bytes (printf notation) into the input pipe; gives up when nothing reads it.
send_midi()
{
    timeout 10 bash -c 'printf "$1" > "$2"' _ "$1" "$WORK/midi/in/FCB1010" || fail "could not write '$1' to the input pipe"
}

# The bytes of a file as hex pairs separated by blanks.
hex_of() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

output_is() { [ "$(hex_of "$WORK/midi/out/Synth")" = "$1" ]; }

# expect_output HEX: waits until the output file holds exactly these bytes.
expect_output()
{
    wait_for "output bytes '$1'" output_is "$1"
}

# output_stays HEX: waits until the output file holds exactly these bytes, and checks that
# nothing follows them a while later.
output_stays()
{
    expect_output "$1"
    sleep 0.5
    output_is "$1" || fail "more was played: $(hex_of "$WORK/midi/out/Synth")"
}

clear_output() { : > "$WORK/midi/out/Synth"; }

# listen_to_the_board: preferences that name the input pipe "FCB1010" on channel 1 (its
# notes and controllers learnt as by default), tooltips off.
listen_to_the_board()
{
    cat > "$PREFS" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<preferences>
  <tooltips visible="0"/>
  <midi_in device="FCB1010" channel="1"/>
</preferences>
XML
}

#==============================================================================
# The application.

# start_app [ARGUMENT...]: starts Veltrino (empty command line: the start picture shows for
# two seconds, and the scenario waits it out as a user would); sets MAIN to its main window.
start_app()
{
    (cd "$WORK" && HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" VELTRINO_MIDI_DIR="$WORK/midi" \
        exec ${ONE_CPU:+taskset -c "$ONE_CPU"} "$APP" "$@" >> "$WORK/app.log" 2>&1) &
    APP_PID=$!
    await_main_window
}

# await_main_window: sets MAIN to the main window of the application just started, once
# the start picture has closed.
await_main_window()
{
    MAIN="$(wait_for_window '^Veltrino 1\.1 - ')"
    wait_for "the start picture to close" no_window_named '^Veltrino$'
}

# discard_changes: "Discard changes", the middle button of the save question, clicked.
discard_changes()
{
    local box
    box="$(wait_for_window '^Closing document')"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    click_in "$box" $((WIDTH / 2)) $((HEIGHT - 21))
}

# quit_app: Ctrl+Q in the main window; the application must end without an error.
quit_app()
{
    press_until "$MAIN" ctrl+q "the application to end" bash -c "! kill -0 $APP_PID"
    wait "$APP_PID" || fail "the application ended with an error"
    APP_PID=""
    no_assertions
}

# choose_from_file_menu Y: the File menu by a click, then the item at height Y of the menu
# (54: Merge..., 159: Extract Examples..., 189: Quit).
choose_from_file_menu()
{
    click_in "$MAIN" 20 10
    local menu
    menu="$(wait_for_window '^menu$')"
    sleep 0.3    # a menu takes no click in its first 250 ms: the click that opened it
    click_in "$menu" 50 "$1"
}

# open_document PATH: File > Open... by its keys, then the file chooser.
open_document()
{
    press_until "$MAIN" ctrl+o "the file chooser" window_named '^Choose a Veltrino file to open$'
    choose_file "$1" "the document's title" window_named "^Veltrino 1\\.1 - $(basename "$1" .vlt)\$"
}

# choose_file PATH DESCRIPTION COMMAND...: in the file chooser to open a file, the path typed
# into its file box; the first Return moves the browser to the file, the second chooses it.
# Under load the browser may not have moved to the file yet when the second Return comes,
# which then only moves it: Return again until the command succeeds.
choose_file()
{
    local path="$1" chooser
    shift
    chooser="$(wait_for_window '^Choose a Veltrino file to open$')"
    eval "$(xdotool getwindowgeometry --shell "$chooser")"
    click_in "$chooser" $((WIDTH * 2 / 3)) $((HEIGHT - 62))
    xdotool type --delay 5 "$path"
    xdotool key Return
    sleep 0.3
    press_until - Return "$@"
}

editor_shown() { xdotool search --onlyvisible --name '^Patches setup$'; }

# rename_first_patch TITLE NAME: the first patch renamed in the editor; the title gains " *".
rename_first_patch()
{
    press_until "$MAIN" ctrl+k "the editor to show" editor_shown
    local editor
    editor="$(editor_shown | head -n1)"
    click_in "$editor" 300 36
    xdotool type --delay 20 "$2"
    xdotool key Return
    close_with_escape "$editor" '^Patches setup$'
    wait_for "the title's ' *'" window_named "^Veltrino 1\\.1 - $1 \\*\$"
}

# extract_examples FOLDER: File > Extract Examples... (the item at height 159 of the File
# menu), then the folder typed into the chooser's file box: Return moves the chooser there,
# "Open" chooses it.
extract_examples()
{
    choose_from_file_menu 159
    local chooser
    chooser="$(wait_for_window '^Choose a folder for the examples$')"
    eval "$(xdotool getwindowgeometry --shell "$chooser")"
    click_in "$chooser" $((WIDTH * 2 / 3)) $((HEIGHT - 62))
    xdotool key ctrl+a
    xdotool type --delay 5 "$1"
    xdotool key Return
    sleep 0.5
    click_in "$chooser" $((WIDTH - 55)) $((HEIGHT - 24))
    wait_for "the chooser to close" no_window_named '^Choose a folder for the examples$'
}

# play_the_stage: Stage.vlt opened with the board listened to, as a player starts. Opening
# plays the volume pedal's initial value (0), controller 7; then the output is cleared.
play_the_stage()
{
    cp "$HERE/Stage.vlt" "$WORK/docs/stage.vlt"
    listen_to_the_board
    start_app
    open_document "$WORK/docs/stage.vlt"
    expect_output "b0 07 00"
    clear_output
}

#==============================================================================
# A window manager, for the scenarios that need one (the others run without).

# start_window_manager NAME: starts NAME (openbox, fluxbox) on the X server, and puts the X
# server, the window manager and every application started from now on on one processor, as
# on a busy machine: the races between them that a desktop meets now and then show at once.
start_window_manager()
{
    [ -n "$ONE_CPU" ] || ONE_CPU="$(python3 -c 'import os, random; print(random.choice(sorted(os.sched_getaffinity(0))))')"
    taskset -a -p -c "$ONE_CPU" "$XVFB_PID" > /dev/null
    # No wallpaper to set: fluxbox would otherwise put up a message window saying so.
    mkdir -p "$WORK/.fluxbox"
    echo "background: none" > "$WORK/.fluxbox/overlay"
    (cd "$WORK" && HOME="$WORK" exec taskset -c "$ONE_CPU" "$1" > "$WORK/wm.log" 2>&1) &
    WM_PID=$!
    wait_for "the window manager $1" bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
}

stop_window_manager()
{
    kill "$WM_PID"
    wait "$WM_PID" 2>/dev/null || true
    WM_PID=""
    # The next one must not take the last one's mark on the screen for its own.
    xprop -root -remove _NET_SUPPORTING_WM_CHECK
}

#==============================================================================
# An X server of our own: nothing else running in parallel takes the focus or the keys.
# It keeps what clients made (atoms) when the last one goes, as a desktop's server does.
exec 3> "$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset > "$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
wait_for "the X server" test -s "$WORK/display"
export DISPLAY=":$(head -n1 "$WORK/display")"
