#!/usr/bin/env bash
# Opens the patches editor with Ctrl+K, moves its window, renames patch 0 in its name row,
# closes it with Escape: the main patch list shows the new name and the title " *". Saves,
# quits, starts again and opens the document: the list shows the new name again, and the
# editor opens where it was closed.
#
#   RenamesAPatchInTheEditor.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

cp "$HERE/Stage.vlt" "$WORK/docs/stage.vlt"

# The top of the main patch list, where row 0 shows the first patch's name, against a picture.
patch_list_shot()
{
    eval "$(xdotool getwindowgeometry --shell "$MAIN")"
    import -window "$MAIN" -crop "170x60+$((WIDTH - 190))+20" +repage "$WORK/list.png"
}
differing_pixels() { compare -metric AE "$1" "$WORK/list.png" null: 2>&1 || true; }
list_differs_from() { patch_list_shot; [ "$(differing_pixels "$1")" != "0" ]; }
list_looks_like() { patch_list_shot; [ "$(differing_pixels "$1")" = "0" ]; }

# The list shows something new and has stopped changing: a loaded application may still
# be repainting it when it first differs.
list_settles_apart_from()
{
    list_differs_from "$1" || return 1
    cp "$WORK/list.png" "$WORK/settling.png"
    sleep 0.5
    list_looks_like "$WORK/settling.png"
}

# The window exists before it shows.
editor_shown() { xdotool search --onlyvisible --name '^Patches setup$'; }

open_editor()
{
    press_until "$MAIN" ctrl+k "the editor to show" editor_shown
    EDITOR="$(editor_shown | head -n1)"
}

editor_place_is()
{
    eval "$(xdotool getwindowgeometry --shell "$EDITOR")"
    [ "$X $Y" = "$1" ]
}

# Moved again until it stays: JUCE may still be placing the window it has just shown.
editor_moved()
{
    xdotool windowmove "$EDITOR" 200 150
    sleep 0.2
    editor_place_is "200 150"
}

start_app
open_document "$WORK/docs/stage.vlt"
patch_list_shot
cp "$WORK/list.png" "$WORK/before.png"

open_editor
wait_for "the editor to move" editor_moved

# The name row's text, edited on a click; what is typed replaces it, Return keeps it.
click_in "$EDITOR" 300 36
xdotool type --delay 20 "Opening"
xdotool key Return
close_with_escape "$EDITOR" '^Patches setup$'

wait_for "the title's ' *'" window_named '^Veltrino 1\.1 - stage \*$'
wait_for "the new name in the patch list" list_settles_apart_from "$WORK/before.png"
cp "$WORK/list.png" "$WORK/renamed.png"

press_until "$MAIN" ctrl+s "the saved title" window_named '^Veltrino 1\.1 - stage$'
grep -q '<patch name="Opening"' "$WORK/docs/stage.vlt" || fail "the new name was not saved: $(head -c 600 "$WORK/docs/stage.vlt")"
quit_app
grep -q '<patches_dlg state="200 150 1020 500' "$PREFS" || fail "the editor's place was not saved: $(cat "$PREFS")"

# The next start: the same name in the list, the editor where it was.
start_app
open_document "$WORK/docs/stage.vlt"
wait_for "the new name in the reopened list" list_looks_like "$WORK/renamed.png"

open_editor
wait_for "the editor at its place" editor_place_is "200 150"
click_in "$EDITOR" 60 12    # on the "Patches" title: keys go to a window clicked first
close_with_escape "$EDITOR" '^Patches setup$'
quit_app

pass
