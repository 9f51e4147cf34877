#!/usr/bin/env bash
# A memory stick formatted FAT (an image mounted through FUSE with fusefat, where a change
# of file mode is "Function not implemented") holds both the preferences folder and a
# document. The document is changed in the editor and saved with Ctrl+S: no box comes, the
# title loses " *" and the file holds the change. At quit the preferences on the stick are
# written. Before that, File > Extract Examples... into a folder on a full disk (a tmpfs)
# shows the box that names the file that could not be written, and leaves no cut file.
# The mounts need root (as in CI), and live in a mount namespace of the scenario's own.
#
#   SavesWhereTheDiskKeepsNoModesAndExtractsWholeOrNot.sh <Veltrino executable>
if [ -z "${VELTRINO_OWN_MOUNTS:-}" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "$(basename "$0" .sh): skipped: the stick and the full disk are mounted only as root"
        exit 0
    fi
    VELTRINO_OWN_MOUNTS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
source "$(dirname "$0")/EndToEndHelper.sh"

STICK="$WORK/config"
FULL="$WORK/full"
mkdir -p "$FULL"
# The daemon that serves the stick ends once it is unmounted.
trap 'umount -l "$STICK" "$FULL" 2> /dev/null || true; cleanup' EXIT
mkfs.vfat -C "$WORK/stick.img" 4096 > /dev/null
rm -rf "${STICK:?}"/*    # FUSE mounts only onto an empty folder
fusefat -o rw+ "$WORK/stick.img" "$STICK" > "$WORK/fusefat.log" 2>&1
mountpoint -q "$STICK" || fail "the stick cannot be mounted: $(cat "$WORK/fusefat.log")"
mount -t tmpfs -o size=64k tmpfs "$FULL" || fail "no tmpfs"

chmod 600 "$STICK" 2> /dev/null && fail "the stick keeps file modes: nothing would be shown"
mkdir -p "$STICK/Veltrino"
listen_to_the_board
cp "$HERE/Stage.vlt" "$STICK/doc.vlt"
dd if=/dev/zero of="$FULL/filler" bs=4k 2> /dev/null || true
[ "$(df --output=avail -k "$FULL" | tail -n1 | tr -d ' ')" = "0" ] || fail "the disk is not full"

start_app

extract_examples "$FULL"
box="$(wait_for_window '^Extract Examples$')"
press_until "$box" Return "the box to close" no_window_named '^Extract Examples$'
for example in Veltrino.syx win_example.vlt; do
    file="$FULL/Veltrino examples/$example"
    [ ! -e "$file" ] || fail "$example was left on the full disk: $(stat -c %s "$file") bytes"
done
[ -z "$(find "$FULL" -name '.*' -type f)" ] || fail "temporary files were left: $(find "$FULL" -name '.*' -type f)"

open_document "$STICK/doc.vlt"
rename_first_patch doc "Stick"
press_until "$MAIN" ctrl+s "the saved title" window_named '^Veltrino 1\.1 - doc$'
no_window_named '^Error writing to file\.\.\.$' || fail "the save on the stick showed a failure box"
grep -q '<patch name="Stick"' "$STICK/doc.vlt" || fail "the document on the stick was not saved"
[ -z "$(find "$STICK" -name '.*' -type f)" ] || fail "temporary files were left: $(find "$STICK" -name '.*' -type f)"

quit_app
grep -q "doc.vlt" "$PREFS" && grep -q "<main_window" "$PREFS" \
    || fail "the preferences on the stick were not written at quit: $(cat "$PREFS")"

pass
