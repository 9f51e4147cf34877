#!/usr/bin/env bash
# Ended from outside, by SIGTERM (a logout, a shutdown, `kill`), SIGHUP (the terminal that started
# it closed) or SIGINT (Ctrl+C in that terminal), Veltrino quits: a footswitch held on the pedal
# board and one held with the mouse are let go, their note-offs reach the output, the preferences
# are written, and it ends with status 0. It asks nothing, also with unsaved changes (SIGHUP's
# run, after a merge): nobody may be there to answer.
#
#   LetsGoOfHeldNotesWhenTheSystemEndsIt.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# TwoHands.vlt: footswitch 1 (note 1) plays note 60, footswitch 2 (on screen at 117,230) note 64.
cp "$HERE/TwoHands.vlt" "$WORK/docs/hands.vlt"
listen_to_the_board

# end_by SIGNAL [changed]: both footswitches held, then the signal.
end_by()
{
    local signal="$1"
    start_app
    open_document "$WORK/docs/hands.vlt"
    if [ "${2:-}" = changed ]; then
        choose_from_file_menu 54
        choose_file "$WORK/docs/hands.vlt" "the merge's box" window_named '^File merging$'
        press_until - Return "the merge's box to close" no_window_named '^File merging$'
    fi
    clear_output
    send_midi '\x90\x01\x7f'
    expect_output "90 3c 64"
    xdotool mousemove --window "$MAIN" 117 230 mousedown 1
    expect_output "90 3c 64 90 40 64"

    kill -"$signal" "$APP_PID"
    wait_for "the application to end after $signal" bash -c "! kill -0 $APP_PID"
    local status=0
    wait "$APP_PID" || status=$?
    APP_PID=""
    xdotool mouseup 1
    [ "$status" -eq 0 ] || fail "$signal: the application ended with status $status"
    output_is "90 3c 64 90 40 64 80 3c 00 80 40 00" \
        || fail "$signal: a note was left sounding: $(hex_of "$WORK/midi/out/Synth")"
    grep -q "<recent_files>$WORK/docs/hands.vlt</recent_files>" "$PREFS" \
        || fail "$signal: the preferences were not written: $(cat "$PREFS")"
    no_assertions
    listen_to_the_board
}

end_by TERM
end_by HUP changed
end_by INT

pass
