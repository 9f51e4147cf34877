#!/usr/bin/env bash
# Edit > Navigation Preferences... (mouse, then keys) gives "go up (^)" footswitch 2, which "next patch # (+)"
# loses; in navigation mode footswitch 2 then goes up, and Save keeps the assignment.
source "$(dirname "$0")/EndToEndHelper.sh"

cp "$HERE/SetList.vlt" "$WORK/docs/setlist.vlt"
echo '<preferences><midi_in device="FCB1010" channel="1"/></preferences>' > "$PREFS"

# The width of the dark text in the value of the dialog's n-th row (0: the colour).
row_text_width()
{
    import -window "$DIALOG" "$WORK/dialog.png"
    convert "$WORK/dialog.png" -crop 200x15+134+$((13 + 25 * $1)) +repage -colorspace Gray -threshold 50% -trim -format '%w' info:
}
# The row shows a footswitch (text wider than "none"), or "none"; the dialog may still be painting.
row_shows_a_footswitch() { [ "$(row_text_width "$1")" -gt 60 ]; }
row_shows_none() { [ "$(row_text_width "$1")" -lt 40 ]; }

start_app
open_document "$WORK/docs/setlist.vlt"    # at "Ballad", which "Set list" goes to
click_in "$MAIN" 66 10
wait_for_window '^menu$' > /dev/null
xdotool key Down Down Down Return
DIALOG="$(wait_for_window '^Navigation setup$')"
wait_for "next patch # (+) to show Footswitch 2" row_shows_a_footswitch 5

# The go up list opens at its footswitch, 9: seven up is footswitch 2.
click_in "$DIALOG" 250 70
wait_for_window '^menu$' > /dev/null
xdotool key Up Up Up Up Up Up Up Return
wait_for "the changed title" window_named '^Veltrino 1\.1 - setlist \*$'
wait_for "next patch # (+) to show none" row_shows_none 5
close_with_escape "$DIALOG" '^Navigation setup$'

# Footswitch 10 enters navigation, 2 goes up to "Set list", whose footswitch 3 plays note 62.
clear_output
send_midi '\x90\x0a\x7f\x80\x0a\x00\x90\x02\x7f\x80\x02\x00\x90\x03\x7f'
expect_output "90 3e 64"

press_until "$MAIN" ctrl+s "the saved title" window_named '^Veltrino 1\.1 - setlist$'
SAVED="$(cat "$WORK/docs/setlist.vlt")"
grep -q '<function type="2" control="2"/>' <<< "$SAVED" && ! grep -q 'type="6"' <<< "$SAVED" || fail "not saved: $SAVED"
quit_app
pass
