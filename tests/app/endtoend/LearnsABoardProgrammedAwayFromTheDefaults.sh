#!/usr/bin/env bash
# A pedal board whose pedal 1 sends controller 7 (pedal 2's message until its turn) and
# whose footswitches send notes 21 to 30 is learnt in one pass through the input pipe;
# only a message learnt earlier in the pass is refused. The learnt messages then play the
# example document's controls, and after a restart they are still learnt and saved.
#
#   LearnsABoardProgrammedAwayFromTheDefaults.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

cp "$HERE/../../../resources/examples/win_example.vlt" "$WORK/docs/win_example.vlt"
listen_to_the_board

start_app
open_document "$WORK/docs/win_example.vlt"

press_until "$MAIN" ctrl+comma "the dialog" window_named '^MIDI input setup$'
DIALOG="$(wait_for_window '^MIDI input setup$')"

# "learn" and its information box.
click_in "$DIALOG" 578 16
BOX="$(wait_for_window '^Entering MIDI learning mode$')"
press_until "$BOX" Return "the information box to close" no_window_named '^Entering MIDI learning mode$'

# Pedal 1, then each footswitch pressed and released.
send_midi '\xb0\x07\x40'
for note in 15 16 17 18 19 1a 1b 1c 1d 1e; do
    send_midi "\\x90\\x$note\\x7f\\x80\\x$note\\x00"
done

# Pedal 2 sends pedal 1's message by mistake: refused, since this pass learnt it. The
# warning also shows that everything before it has been taken. Then its own controller 1.
send_midi '\xb0\x07\x50'
WARNING="$(wait_for_window '^This message is already in use$')"
press_until "$WARNING" Return "the warning to close" no_window_named '^This message is already in use$'
send_midi '\xb0\x01\x40'
sleep 0.5

close_with_escape "$DIALOG" '^MIDI input setup$'

# The old default note 1 plays nothing now; footswitch 3 (note 23) selects the piano,
# footswitch 1 (note 21) switches the chorus off at the press, pedal 1 (controller 7)
# moves the volume once past the control's value (100).
clear_output
send_midi '\x90\x01\x7f\x80\x01\x00\x90\x17\x7f\x80\x17\x00'
expect_output "c0 00"
send_midi '\x90\x15\x7f\x80\x15\x00'
expect_output "c0 00 b0 5d 00"
send_midi '\xb0\x07\x7f'
expect_output "c0 00 b0 5d 00 b0 07 7f"

# The preferences wrap their lines: the attributes are compared as one line.
learnt_keys_saved()
{
    tr -s ' \n' ' ' < "$PREFS" | grep -q 'fs1="21" fs2="22" fs3="23" fs4="24" fs5="25" fs6="26" fs7="27" fs8="28" fs9="29" fs10="30" ep1="135" ep2="129"'
}

quit_app
learnt_keys_saved || fail "learnt messages not saved: $(cat "$PREFS")"

# After a restart the same messages play, and quitting again keeps them.
start_app
open_document "$WORK/docs/win_example.vlt"
clear_output
send_midi '\x90\x17\x7f\x80\x17\x00'
expect_output "c0 00"
quit_app
learnt_keys_saved || fail "learnt messages lost after a restart: $(cat "$PREFS")"

pass
