#!/usr/bin/env bash
# Holds footswitch 1 down through the pedal board's pipe, so that its note sounds, and opens
# the patches editor with Ctrl+K: the note-off reaches the output while the editor is still
# open. Closes the editor with Escape, then lets the footswitch go: that release plays
# nothing, as the next footswitch's program change, alone after the note-off, shows.
#
#   ReleasesAHeldFootswitchAsTheEditorOpens.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# The window exists before it shows.
editor_shown() { xdotool search --onlyvisible --name '^Patches setup$'; }

play_the_stage

# Footswitch 1 (note 1) held: note 60 sounds.
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"

press_until "$MAIN" ctrl+k "the editor to show" editor_shown
EDITOR="$(editor_shown | head -n1)"
expect_output "90 3c 64 80 3c 00"
editor_shown > /dev/null || fail "the editor closed before the note-off was checked"

click_in "$EDITOR" 60 12    # on the "Patches" title: keys go to a window clicked first
close_with_escape "$EDITOR" '^Patches setup$'

# Let go after the editor closed, then footswitch 2 (note 2): only its program change follows.
send_midi '\x80\x01\x00'
send_midi '\x90\x02\x7f\x80\x02\x00'
output_stays "90 3c 64 80 3c 00 c0 05"

quit_app
pass
