#!/usr/bin/env bash
# With a preferences file that names the input device: opens a document through the
# File menu's keys, plays it from the pedal board's pipe and with the mouse, checks the
# bytes that reach the output file, quits with Ctrl+Q and checks the saved preferences.
#
#   OpensPlaysAndQuits.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

play_the_stage

# Footswitch 1 (note 1) plays note 60 while it is down.
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"
send_midi '\x80\x01\x00'
expect_output "90 3c 64 80 3c 00"
clear_output

# The volume pedal (controller 1) takes over softly: it stands at 0, so it passes
# values from there on; running status carries the second value.
send_midi '\xb0\x01\x40\x01\x7f'
expect_output "b0 07 40 b0 07 7f"
clear_output

# A click on the on-screen footswitch 2 plays its program change.
click_in "$MAIN" 117 230
expect_output "c0 05"

# Quit by its keys; the preferences keep the input device and the learnt messages.
quit_app
grep -q '<midi_in device="FCB1010" channel="1" fs1="1"' "$PREFS" || fail "midi_in not saved: $(cat "$PREFS")"
grep -q 'ep1="129" ep2="135"' "$PREFS" || fail "learnt pedals not saved: $(cat "$PREFS")"
grep -q "<recent_files>$WORK/docs/stage.vlt</recent_files>" "$PREFS" || fail "recent file not saved: $(cat "$PREFS")"

pass
