#!/usr/bin/env bash
# From a first start, without any preferences file: chooses the pedal board's input in
# the MIDI input setup (Ctrl+comma), learns a pedal controller and two footswitch notes
# from the input pipe (one of them sent twice: the warning is answered), closes with
# Escape, plays a learnt footswitch, quits, checks the learnt keys in the preferences,
# then starts again and plays it once more.
#
#   LearnsTheBoardInTheMidiDialog.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

cp "$HERE/Stage.vlt" "$WORK/docs/stage.vlt"

start_app
open_document "$WORK/docs/stage.vlt"
clear_output

press_until "$MAIN" ctrl+comma "the dialog" window_named '^MIDI input setup$'
DIALOG="$(wait_for_window '^MIDI input setup$')"

# The input device: the device choice's pop-up lists the pipe "FCB1010".
click_in "$DIALOG" 240 17
MENU="$(wait_for_window '^menu$')"
click_in "$MENU" 100 13

# "learn", which shows once the input is open, and its information box.
click_in "$DIALOG" 578 16
BOX="$(wait_for_window '^Entering MIDI learning mode$')"
press_until "$BOX" Return "the information box to close" no_window_named '^Entering MIDI learning mode$'

# Pedal 1: controller 5. Footswitch 1: note 20. Footswitch 2: note 20 again is refused
# with a warning, then note 21.
send_midi '\xb0\x05\x40'
send_midi '\x90\x14\x7f'
send_midi '\x90\x14\x7f'
WARNING="$(wait_for_window '^This message is already in use$')"
press_until "$WARNING" Return "the warning to close" no_window_named '^This message is already in use$'
send_midi '\x90\x15\x7f'

close_with_escape "$DIALOG" '^MIDI input setup$'

# Footswitch 1, now note 20, plays note 60 while it is down; nothing else went out.
send_midi '\x90\x14\x7f\x80\x14\x00'
expect_output "90 3c 64 80 3c 00"

quit_app
grep -q '<midi_in device="FCB1010" channel="1" fs1="20" fs2="21" fs3="3"' "$PREFS" \
    || fail "learnt footswitches not saved: $(cat "$PREFS")"
grep -q 'ep1="133" ep2="135"' "$PREFS" || fail "learnt pedal not saved: $(cat "$PREFS")"
grep -q '<input_dlg state="[0-9]' "$PREFS" || fail "dialog's place not saved: $(cat "$PREFS")"

# The next start listens to the same device with the same keys.
start_app
open_document "$WORK/docs/stage.vlt"
clear_output
send_midi '\x90\x14\x7f'
expect_output "90 3c 64"
quit_app

pass
