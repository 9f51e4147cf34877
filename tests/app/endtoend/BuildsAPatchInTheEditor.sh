#!/usr/bin/env bash
# In the patches editor, with the mouse and the menus' keys: a new patch, on it footswitch 1
# with a note and expression pedal 1 with a continuous control change, both sent to "Synth"
# (the only output present, which the device rows take for a new action).
# Closed, the new patch plays them from the pedal board's pipe; saved, reopened after a
# restart, it plays the same bytes again.
#
#   BuildsAPatchInTheEditor.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

cp "$HERE/Stage.vlt" "$WORK/docs/stage.vlt"
listen_to_the_board

editor_shown() { xdotool search --onlyvisible --name '^Patches setup$'; }
menu_shown() { xdotool search --onlyvisible --name '^menu$'; }

# choose_from_menu X Y KEYS...: clicks the button at X Y of the editor, then picks from its
# menu by keys (a blocked window hands them to the menu).
choose_from_menu()
{
    click_in "$EDITOR" "$1" "$2"
    shift 2
    wait_for "the menu" menu_shown
    xdotool key "$@"
    wait_for "the menu to close" bash -c '! xdotool search --onlyvisible --name "^menu$"'
}

# Footswitch 1 (note 1) pressed and released, then pedal 1 (controller 1) to half way.
play_new_patch()
{
    clear_output
    send_midi '\x90\x01\x7f'
    send_midi '\x80\x01\x00'
    send_midi '\xb0\x01\x40'
    expect_output "90 00 64 80 00 00 b0 00 40"
}

start_app
open_document "$WORK/docs/stage.vlt"
expect_output "b0 07 00"

press_until "$MAIN" ctrl+k "the editor to show" editor_shown
EDITOR="$(editor_shown | head -n1)"

click_in "$EDITOR" 220 445                  # patches: new
choose_from_menu 494 190 Down Return        # controls: new, footswitch 1 (the first free)
choose_from_menu 685 445 Down Down Down Return    # actions: new, midi note
choose_from_menu 494 190 Up Up Return       # controls: new, expr. pedal 1
choose_from_menu 685 445 Down Return        # actions: new, midi control change
close_with_escape "$EDITOR" '^Patches setup$'
wait_for "the title's ' *'" window_named '^Veltrino 1\.1 - stage \*$'

play_new_patch

press_until "$MAIN" ctrl+s "the saved title" window_named '^Veltrino 1\.1 - stage$'
grep -q '<note comment="" device="Synth" channel="1" number="0" velocity="100"/>' "$WORK/docs/stage.vlt" \
    || fail "the note was not saved: $(cat "$WORK/docs/stage.vlt")"
quit_app

# Opened again, the new patch is current; the pedals' initial values go out first.
clear_output
start_app
open_document "$WORK/docs/stage.vlt"
expect_output "b0 07 00 b0 00 00"
play_new_patch
quit_app

pass
