#!/usr/bin/env bash
# A click on the on-screen board plays at once, also right after a message from the pedal
# board that the board draws, while that repaint is under way: 600 rounds of footswitch 2
# pressed on the pedal board and, 13 to 24 ms later, the mouse button pressed over footswitch 1
# without the pointer moving; then footswitch 2 lifted and the button let up as soon after. No
# press or release waits a second for its note-on or note-off, and every note played stops.
#
#   PlaysAClickRightAfterAFootMessage.sh <Veltrino executable> <FootThenClick executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# Stage.vlt: footswitch 2 (note 2) shows down while the foot holds it, and plays a program
# change; footswitch 1, on screen at 40,230, plays note 60 while the button is down.
play_the_stage
xdotool mousemove --window "$MAIN" 40 230
sleep 0.3
"$2" "$WORK/midi/in/FCB1010" "$WORK/midi/out/Synth" 600 90027f 800200 903c64 803c00 \
    || fail "a click waited for the next event or went unplayed, or a note was left sounding"
quit_app

pass
