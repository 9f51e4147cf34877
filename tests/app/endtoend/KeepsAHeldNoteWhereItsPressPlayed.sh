#!/usr/bin/env bash
# A footswitch's release answers its press, whatever came meanwhile. Footswitch 1 is held
# through the pedal board's pipe while "*" (footswitch 10) switches navigation on: lifting
# it stops its note and leaves the board in navigation mode, where footswitch 1 is "+".
# Then it is held while footswitch 2 goes to the other patch: lifting it stops its own
# note, not the note of the other patch's control under it.
#
#   KeepsAHeldNoteWhereItsPressPlayed.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# Both patches play a note on footswitch 1 (Verse 60, Chorus 64) and go to each other on footswitch 2.
cp "$HERE/VerseAndChorus.vlt" "$WORK/docs/verse.vlt"
listen_to_the_board
start_app
open_document "$WORK/docs/verse.vlt"

# Verse: footswitch 1 held (note 60), "*" pressed and let go, footswitch 1 lifted: its note stops.
send_midi '\x90\x01\x7f'
expect_output "90 3c 64"
send_midi '\x90\x0a\x7f\x80\x0a\x00'
send_midi '\x80\x01\x00'
output_stays "90 3c 64 80 3c 00"

# Still navigating: footswitch 1 is "+" there, which leads to Chorus and plays nothing.
clear_output
send_midi '\x90\x01\x7f\x80\x01\x00'
send_midi '\x90\x01\x7f\x80\x01\x00'
output_stays "90 40 64 80 40 00"

# Chorus: footswitch 1 held (note 64) while footswitch 2 goes to Verse; lifted, note 64 stops.
clear_output
send_midi '\x90\x01\x7f'
expect_output "90 40 64"
send_midi '\x90\x02\x7f\x80\x02\x00'
send_midi '\x80\x01\x00'
output_stays "90 40 64 80 40 00"

# In Verse now: footswitch 1 plays note 60.
clear_output
send_midi '\x90\x01\x7f\x80\x01\x00'
output_stays "90 3c 64 80 3c 00"

quit_app
pass
