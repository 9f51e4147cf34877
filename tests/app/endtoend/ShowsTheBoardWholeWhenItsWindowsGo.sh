#!/usr/bin/env bash
# With no window manager, nothing redraws what a window leaves behind but the application:
# after the start picture, and after the box of a merge chosen from the File menu, answered
# by Return with the mouse away, the main window is drawn whole without the mouse's help.
# Then File > Quit from the menu on the changed document, "Discard changes" clicked, ends
# the application at once with the mouse left still.
#
#   ShowsTheBoardWholeWhenItsWindowsGo.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# The pointer away from where any window will show: over a footswitch it would light it.
xdotool mousemove 5 5

cp "$HERE/Stage.vlt" "$WORK/docs/stage.vlt"

main_window_shot() { import -window "$MAIN" "$WORK/$1.png"; }

# expect_drawn_whole WHAT: the main window as it shows after a while left alone equals the
# main window once the pointer has crossed it (the events that brings make the application
# draw whatever it still owed the screen).
expect_drawn_whole()
{
    sleep 2
    main_window_shot "left"
    xdotool mousemove --window "$MAIN" 5 150
    sleep 0.3
    xdotool mousemove 5 5
    sleep 1
    main_window_shot "whole"

    local differing
    differing="$(compare -metric AE "$WORK/left.png" "$WORK/whole.png" null: 2>&1 || true)"
    [ "$differing" = "0" ] || fail "$1: $differing pixels of the main window were not drawn again"
}

start_app
expect_drawn_whole "the start picture"

# File > Merge..., then the box that tells of the merge, which has the focus, goes by Return.
choose_from_file_menu 54
choose_file "$WORK/docs/stage.vlt" "the merge's box" window_named '^File merging$'
xdotool mousemove 5 5
press_until - Return "the merge's box to close" no_window_named '^File merging$'
expect_drawn_whole "the merge's box"

# File > Quit, the last item; "Discard changes" is the middle button of the question.
choose_from_file_menu 189
discard_changes
for _ in $(seq 20); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$APP_PID" 2>/dev/null && fail "the application still runs two seconds after 'Discard changes'"
wait "$APP_PID" || fail "the application ended with an error"
APP_PID=""

pass
