#!/usr/bin/env bash
# File > Extract Examples... into an empty folder writes both examples without a question.
# The user then changes win_example.vlt and extracts again into the same folder (to get
# the pedal board's dump back): a question names the changed file, Escape keeps it as the
# user left it, and the missing dump is written again all the same.
#
#   AsksBeforeExtractingOverAChangedExample.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

FOLDER="$WORK/examples"
EXAMPLE="$FOLDER/Veltrino examples/win_example.vlt"
DUMP="$FOLDER/Veltrino examples/Veltrino.syx"
mkdir -p "$FOLDER"

start_app

extract_examples "$FOLDER"
wait_for "the extracted examples" test -s "$DUMP" -a -s "$EXAMPLE"
no_window_named '^Extract Examples$' || fail "a question came although nothing was there"

# The user's own version of the example, and the dump gone.
printf '<!-- my set -->\n' >> "$EXAMPLE"
cp "$EXAMPLE" "$WORK/edited.vlt"
rm "$DUMP"

extract_examples "$FOLDER"
box="$(wait_for_window '^Extract Examples$')"
press_until "$box" Escape "the question to close" no_window_named '^Extract Examples$'
wait_for "the dump extracted again" test -s "$DUMP"
cmp -s "$EXAMPLE" "$WORK/edited.vlt" || fail "the changed example was replaced although Escape kept it"

quit_app
pass
