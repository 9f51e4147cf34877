#!/usr/bin/env bash
# Saving never loses or quietly changes what the user keeps on disk. The application runs
# as a user does (root's override of file modes put aside) under a file-size limit of
# 4 KiB (`ulimit -f 4`), with a preferences file that it may write but not read. One patch is renamed
# in the editor before each Save (Ctrl+S):
#   - a private document (mode 600) is saved and stays private;
#   - a document opened through a link is saved into the file the link names, and the
#     link stays a link;
#   - a read-only document (mode 444) is refused with a box, stays as it was and the
#     title keeps " *";
#   - a document larger than the limit is refused with a box and stays byte for byte
#     as it was, and the title keeps " *".
# At quit the unreadable preferences file is left as it was.
#
#   KeepsWhatASaveMustNotChange.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

DOCS="$WORK/docs"
cp "$HERE/Stage.vlt" "$DOCS/private.vlt"
chmod 600 "$DOCS/private.vlt"
mkdir "$DOCS/songs"
cp "$HERE/Stage.vlt" "$DOCS/songs/linked.vlt"
ln -s songs/linked.vlt "$DOCS/link.vlt"
cp "$HERE/Stage.vlt" "$DOCS/readonly.vlt"
chmod 444 "$DOCS/readonly.vlt"
cp "$HERE/../../../resources/examples/win_example.vlt" "$DOCS/large.vlt"
[ "$(stat -c %s "$DOCS/large.vlt")" -gt 4096 ] || fail "the large document is not larger than the limit"
for name in readonly large; do cp "$DOCS/$name.vlt" "$WORK/$name.before"; done

listen_to_the_board
cp "$PREFS" "$WORK/preferences.before"
chmod 200 "$PREFS"

# As root (the CI) the application would pass over every mode: it runs without that power.
AS_A_USER=()
if [ "$(id -u)" -eq 0 ]; then
    AS_A_USER=(setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search --)
fi

# The log goes through a pipe into a file that another process writes: the limit is the
# application's alone.
mkfifo "$WORK/app.pipe"
cat "$WORK/app.pipe" >> "$WORK/app.log" &
LOG_PID=$!
trap 'kill "$LOG_PID" 2>/dev/null || true; cleanup' EXIT
(
    cd "$WORK"
    ulimit -f 4
    HOME="$WORK" XDG_CONFIG_HOME="$WORK/config" VELTRINO_MIDI_DIR="$WORK/midi" exec "${AS_A_USER[@]}" "$APP"
) > "$WORK/app.pipe" 2>&1 &
APP_PID=$!
await_main_window

# The modes below are checked only where they hold for the application.
capabilities="$(awk '/^CapEff:/ { print $2 }' "/proc/$APP_PID/status")"
(((0x$capabilities & 0x6) == 0)) || fail "the application still passes over file modes (CapEff $capabilities)"
grep -q '^Max file size *4096 ' "/proc/$APP_PID/limits" || fail "no file-size limit: $(grep 'file size' "/proc/$APP_PID/limits")"

# save_refused TITLE: Ctrl+S shows the failure box, which Return closes; " *" stays.
save_refused()
{
    press_until "$MAIN" ctrl+s "the box of the failed save" window_named '^Error writing to file\.\.\.$'
    press_until - Return "the box to close" no_window_named '^Error writing to file\.\.\.$'
    window_named "^Veltrino 1\\.1 - $1 \\*\$" > /dev/null || fail "the title of '$1' lost its ' *'"
}

# The private document.
open_document "$DOCS/private.vlt"
rename_first_patch private "Hidden"
press_until "$MAIN" ctrl+s "the saved title" window_named '^Veltrino 1\.1 - private$'
grep -q '<patch name="Hidden"' "$DOCS/private.vlt" || fail "the private document was not saved"
[ "$(stat -c %a "$DOCS/private.vlt")" = "600" ] || fail "the private document is now mode $(stat -c %a "$DOCS/private.vlt")"

# Through the link.
open_document "$DOCS/link.vlt"
rename_first_patch link "Linked"
press_until "$MAIN" ctrl+s "the saved title" window_named '^Veltrino 1\.1 - link$'
[ -L "$DOCS/link.vlt" ] && [ "$(readlink "$DOCS/link.vlt")" = "songs/linked.vlt" ] || fail "the link is gone"
grep -q '<patch name="Linked"' "$DOCS/songs/linked.vlt" || fail "the file that the link names was not saved"

# The read-only document.
open_document "$DOCS/readonly.vlt"
rename_first_patch readonly "Locked"
save_refused readonly
cmp -s "$DOCS/readonly.vlt" "$WORK/readonly.before" || fail "the read-only document was changed"
[ "$(stat -c %a "$DOCS/readonly.vlt")" = "444" ] || fail "the read-only document is now mode $(stat -c %a "$DOCS/readonly.vlt")"

# Its changes are discarded ("Discard changes", the question's middle button) to open the large one.
press_until "$MAIN" ctrl+o "the save question" window_named '^Closing document'
discard_changes
choose_file "$DOCS/large.vlt" "the large document's title" window_named '^Veltrino 1\.1 - large$'
rename_first_patch large "Cut"
save_refused large
cmp -s "$DOCS/large.vlt" "$WORK/large.before" || fail "the large document was changed: $(stat -c %s "$DOCS/large.vlt") bytes"
[ -z "$(find "$DOCS" -name '.*' -type f)" ] || fail "temporary files were left: $(find "$DOCS" -name '.*' -type f)"

# Quit, discarding; the preferences that could not be read stay as they were.
press_until "$MAIN" ctrl+q "the save question" window_named '^Closing document'
discard_changes
wait_for "the application to end" bash -c "! kill -0 $APP_PID"
wait "$APP_PID" || fail "the application ended with an error"
APP_PID=""
wait_for "the log to be written" bash -c "! kill -0 $LOG_PID"
[ "$(stat -c %a "$PREFS")" = "200" ] || fail "the preferences file is now mode $(stat -c %a "$PREFS")"
chmod 644 "$PREFS"
cmp -s "$PREFS" "$WORK/preferences.before" || fail "the preferences file was replaced: $(cat "$PREFS")"

pass
