#!/usr/bin/env bash
# Under openbox and fluxbox, with the X server, the window manager and Veltrino on one processor
# (where the start-up races of a desktop show at once), every window comes back as the user left
# it. The main window, sized to 1000 x 400 and moved through the window manager, keeps that size
# and place over 8 starts; quit while maximized, it comes back maximized (un-maximizing gives back
# its size and place, which the next start keeps) or, where the window manager does not, at that
# size wholly on the screen. A click on Edit after a menu was closed with Escape and 3 s of
# stillness opens the menu, as (under openbox) a click on a list's box in a dialog left alone for
# 3 s drops the list down. A main window with no saved state is never below its minimum of
# 830 x 300, nor is the minimum handed to the window manager, over 8 starts. Under fluxbox, the
# patches editor and the MIDI input setup, moved away from the corner and closed through the
# window manager, open at their size and place at each of 30 starts.
#
#   BringsWindowsBackAsLeftUnderWindowManagers.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

# An argument skips the start picture (and opens no document): starts are quicker.
start() { start_app untitled; }

# geometry WINDOW: "X Y WIDTH HEIGHT" of the window's own area (its client), on the screen.
geometry()
{
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                             /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }'
}

# frame WINDOW: "LEFT RIGHT TOP BOTTOM", what the window manager's frame adds around it.
frame() { xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','; }

is_maximized() { xprop -id "$1" _NET_WM_STATE | grep -q "MAXIMIZED_VERT.*MAXIMIZED_HORZ\|MAXIMIZED_HORZ.*MAXIMIZED_VERT"; }

# settled WINDOW: waits until the window manager has framed the window and stopped moving it.
settled()
{
    local last="" now
    for _ in $(seq 50); do
        if [ -n "$(frame "$1")" ]; then
            now="$(geometry "$1")"
            [ "$now" = "$last" ] && return 0
            last="$now"
        fi
        sleep 0.2
    done
    fail "the window manager did not settle window $1 ($(geometry "$1"))"
}

# expect_geometry WINDOW "X Y WIDTH HEIGHT" WHAT
expect_geometry()
{
    settled "$1"
    [ "$(geometry "$1")" = "$2" ] || fail "$3: at $(geometry "$1") instead of $2 (saved: $(saved_states))"
}

saved_states() { grep -o '<[a-z_]* state="[^"]*"' "$PREFS" | tr '\n' ' '; }

# wholly_on_screen WINDOW: its frame lies on the 1280 x 1024 screen.
wholly_on_screen()
{
    local x y w h l r t b
    read -r x y w h <<< "$(geometry "$1")"
    read -r l r t b <<< "$(frame "$1")"
    [ $((x - l)) -ge 0 ] && [ $((y - t)) -ge 0 ] && [ $((x + w + r)) -le 1280 ] && [ $((y + h + b)) -le 1024 ]
}

# forget_main_window: the preferences keep everything but the main window's state.
forget_main_window() { [ -f "$PREFS" ] && sed -i '/<main_window /d' "$PREFS" || true; }

# The main window as a user sizes and moves it, then 8 starts.
keeps_the_main_window()
{
    rm -f "$PREFS"
    start
    settled "$MAIN"
    wmctrl -i -r "$MAIN" -e 0,150,110,1000,400
    wait_for "the main window at 1000 x 400" bash -c "[ \"\$(xwininfo -id $MAIN | grep -c 'Width: 1000\|Height: 400')\" = 2 ]"
    settled "$MAIN"
    local left
    left="$(geometry "$MAIN")"
    quit_app

    for i in $(seq 8); do
        start
        expect_geometry "$MAIN" "$left" "$WM: start $i of the main window left at $left"
        [ "$i" = 8 ] || quit_app
    done

    # Maximized, then quit.
    wmctrl -i -r "$MAIN" -b add,maximized_vert,maximized_horz
    wait_for "the main window maximized" is_maximized "$MAIN"
    settled "$MAIN"
    quit_app
    start
    settled "$MAIN"
    for _ in $(seq 30); do
        is_maximized "$MAIN" && break
        sleep 0.1
    done
    if is_maximized "$MAIN"; then
        settled "$MAIN"
        wmctrl -i -r "$MAIN" -b remove,maximized_vert,maximized_horz
        expect_geometry "$MAIN" "$left" "$WM: the main window un-maximized"
        quit_app
        start
        expect_geometry "$MAIN" "$left" "$WM: the start after the main window was un-maximized"
    else
        wholly_on_screen "$MAIN" || fail "$WM: quit maximized, it comes back at $(geometry "$MAIN"), off the screen"
        [ "$(geometry "$MAIN" | cut -d' ' -f3-)" = "1000 400" ] \
            || fail "$WM: quit maximized, it comes back at $(geometry "$MAIN") instead of 1000 x 400"
    fi
}

# click_drops_down WHAT: a click where the pointer is opens a menu (a window "menu"), within
# 2 s, which Escape then closes.
click_drops_down()
{
    xdotool click 1
    for _ in $(seq 20); do
        window_named '^menu$' > /dev/null && break
        sleep 0.1
    done
    window_named '^menu$' > /dev/null || fail "$WM: $1"
    sleep 0.3
    xdotool key Escape
    wait_for "the menu to close" no_window_named '^menu$'
}

# Edit clicked, its menu closed with Escape, 3 s without a move, Edit clicked again.
opens_the_menu_after_escape()
{
    local x y w h
    read -r x y w h <<< "$(geometry "$MAIN")"
    xdotool mousemove $((x + 60)) $((y + 10))
    sleep 0.3
    click_drops_down "a click on Edit opened no menu"
    sleep 3
    click_drops_down "a click on Edit after Escape and 3 s opened no menu"
    quit_app
}

# In the MIDI input setup, left alone for 3 s, a click on the channel's box drops its list down.
opens_a_list_after_3_s()
{
    start
    press_until "$MAIN" ctrl+comma "the MIDI input setup" window_named '^MIDI input setup$'
    local dialog x y w h
    dialog="$(window_named '^MIDI input setup$' | head -n1)"
    settled "$dialog"
    read -r x y w h <<< "$(geometry "$dialog")"
    xdotool mousemove $((x + 478)) $((y + 16))
    sleep 3
    click_drops_down "a click on the channel's box after 3 s dropped no list down"
    close_with_escape "$dialog" '^MIDI input setup$'
    quit_app
}

# minimum_hint WINDOW: "WIDTH HEIGHT", the smallest size the window manager lets the user give it.
minimum_hint() { xprop -id "$1" WM_NORMAL_HINTS | sed -n 's/.*minimum size: \([0-9]*\) by \([0-9]*\).*/\1 \2/p' | grep .; }

# No saved state: at each start, neither the window nor the minimum handed to the window
# manager is below 830 x 300.
keeps_the_minimum()
{
    local x y w h hint=""
    settled "$MAIN"
    read -r x y w h <<< "$(geometry "$MAIN")"
    [ "$w" -ge 830 ] && [ "$h" -ge 300 ] || fail "$WM: $1: the main window is $w x $h, below 830 x 300"

    # JUCE hands the window manager a window's place and size alone as it moves it, the limits
    # again only at the next move the window manager tells of: a minimum handed is checked.
    for _ in $(seq 20); do
        hint="$(minimum_hint "$MAIN")" && break
        sleep 0.1
    done
    [ -n "$hint" ] || return 0
    read -r w h <<< "$hint"
    [ "$w" -ge 830 ] && [ "$h" -ge 300 ] || fail "$WM: $1: the window manager is told a minimum of $w x $h"
}

# dialog_left KEY TITLE: the dialog opened by its key, moved away from the corner through the
# window manager and closed through it; prints where it was left.
dialog_left()
{
    press_until "$MAIN" "$1" "the dialog '$2'" window_named "^$2\$"
    local dialog
    dialog="$(window_named "^$2\$" | head -n1)"
    settled "$dialog"
    local x y w h
    read -r x y w h <<< "$(geometry "$dialog")"
    wmctrl -i -r "$dialog" -e "0,180,300,$w,$h"
    wait_for "'$2' moved" bash -c "xwininfo -id $dialog | grep -q 'Absolute upper-left X:  18[0-9]'"
    settled "$dialog"
    geometry "$dialog"
    wmctrl -i -c "$dialog"
    wait_for "'$2' to close" no_window_named "^$2\$"
}

# expect_dialog KEY TITLE "X Y WIDTH HEIGHT" WHAT
expect_dialog()
{
    press_until "$MAIN" "$1" "the dialog '$2'" window_named "^$2\$"
    local dialog
    dialog="$(window_named "^$2\$" | head -n1)"
    expect_geometry "$dialog" "$3" "$WM: $4"
    wmctrl -i -c "$dialog"
    wait_for "'$2' to close" no_window_named "^$2\$"
}

keeps_the_dialogs()
{
    forget_main_window
    start
    local editor midi
    editor="$(dialog_left ctrl+k 'Patches setup')"
    midi="$(dialog_left ctrl+comma 'MIDI input setup')"
    quit_app

    for i in $(seq 30); do
        forget_main_window
        start
        keeps_the_minimum "start $i"
        expect_dialog ctrl+k 'Patches setup' "$editor" "start $i of the patches editor left at $editor"
        expect_dialog ctrl+comma 'MIDI input setup' "$midi" "start $i of the MIDI input setup left at $midi"
        quit_app
    done
}

for WM in openbox fluxbox; do
    start_window_manager "$WM"
    keeps_the_main_window
    opens_the_menu_after_escape
    if [ "$WM" = fluxbox ]; then
        keeps_the_dialogs
    else
        opens_a_list_after_3_s
        for i in $(seq 8); do
            forget_main_window
            start
            keeps_the_minimum "start $i"
            quit_app
        done
    fi
    stop_window_manager
done

pass
