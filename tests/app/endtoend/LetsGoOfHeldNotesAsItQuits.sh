#!/usr/bin/env bash
# A footswitch held down as Veltrino quits is let go first: its note-off reaches the
# output before the application ends without an error, held on the pedal board through
# Ctrl+Q or File > Quit, or held with the mouse on the on-screen board through Ctrl+Q.
# Cancel in the save question keeps it held: the note sounds on until it is lifted.
#
#   LetsGoOfHeldNotesAsItQuits.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# Stage.vlt: footswitch 1 (note 1, on screen at 40,230) plays note 60 while it is down.
played_and_let_go="90 3c 64 80 3c 00"

ended_with_the_note_off()
{
    output_is "$played_and_let_go" || fail "$1: the note was left sounding: $(hex_of "$WORK/midi/out/Synth")"
    clear_output
}

# Held on the pedal board, then Ctrl+Q.
play_the_stage
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"
quit_app
ended_with_the_note_off "Ctrl+Q"

# Held with the mouse, then Ctrl+Q with the button still down.
play_the_stage
xdotool mousemove --window "$MAIN" 40 230 mousedown 1
# A press that Xlib took into its queue behind the event loop's back waits there for the
# next event: the hand on the mouse moves it by a pixel, still over the button.
for nudge in 1 -1 1 -1 1 -1 1 -1 1 -1; do
    for _ in $(seq 10); do output_is "90 3c 64" && break 2; sleep 0.1; done
    xdotool mousemove_relative -- "$nudge" 0
done
expect_output "90 3c 64"
quit_app
xdotool mouseup 1
ended_with_the_note_off "Ctrl+Q over the mouse"

# Held on the pedal board, then File > Quit from the menu.
play_the_stage
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"
choose_from_file_menu 189
wait_for "the application to end" bash -c "! kill -0 $APP_PID"
wait "$APP_PID" || fail "the application ended with an error"
APP_PID=""
ended_with_the_note_off "File > Quit"

# A merge leaves the document changed; held, Ctrl+Q, Cancel: the note sounds on, and the
# footswitch's own release stops it.
play_the_stage
choose_from_file_menu 54
choose_file "$WORK/docs/stage.vlt" "the merge's box" window_named '^File merging$'
press_until - Return "the merge's box to close" no_window_named '^File merging$'
clear_output
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"
press_until "$MAIN" ctrl+q "the save question" window_named '^Closing document'
press_until - Escape "the save question to close" no_window_named '^Closing document'
output_stays "90 3c 64"
kill -0 "$APP_PID" || fail "the application ended although the save question was cancelled"
send_midi '\x80\x01\x00'
expect_output "$played_and_let_go"

pass
