#!/usr/bin/env bash
# The volume pedal streams sweeps into the input pipe as fast as Veltrino reads them
# while the other output, "Synth", is unplugged and plugged back: the device manager
# closes and opens it in the middle of the stream, and every value of every sweep
# still reaches "Effects", once and in order.
#
#   KeepsASweepWhileAnOutputIsReplugged.sh <Veltrino executable>
source "$(dirname "$0")/EndToEndHelper.sh"

cp "$HERE/TwoOutputs.vlt" "$WORK/docs/two-outputs.vlt"
: > "$WORK/midi/out/Effects"
listen_to_the_board

start_app
open_document "$WORK/docs/two-outputs.vlt"

# The pedal's initial value: the slider stands at 0, which the pedal has taken over.
effects_is() { [ "$(hex_of "$WORK/midi/out/Effects")" = "$1" ]; }
wait_for "the initial volume on Effects" effects_is "b0 07 00"
: > "$WORK/midi/out/Effects"

# One sweep up from 1 and back down to 0: every value differs from the one before,
# so each one sends its controller.
sweep_in="" sweep_out=""
for value in $(seq 1 127) $(seq 126 -1 0); do
    sweep_in+="$(printf '\\xb0\\x01\\x%02x' "$value")"
    sweep_out+="$(printf '\\xb0\\x07\\x%02x' "$value")"
done

# Whole sweeps, one after another, until told to stop; the count of those written.
(
    sweeps=0
    while [ ! -e "$WORK/stop" ]; do
        printf "$sweep_in"
        sweeps=$((sweeps + 1))
    done
    echo "$sweeps" > "$WORK/sweeps"
) > "$WORK/midi/in/FCB1010" &
WRITER=$!

# The application's open files are links to their paths; an unplugged one ends in " (deleted)".
synth_open() { ls -l "/proc/$APP_PID/fd" | grep -q "/midi/out/Synth\$"; }
synth_closed() { ! ls -l "/proc/$APP_PID/fd" | grep -q "/midi/out/Synth"; }
effects_growing() { [ -s "$WORK/midi/out/Effects" ]; }

wait_for "the sweeps to reach Effects" effects_growing
synth_open || fail "Synth is not open"
rm "$WORK/midi/out/Synth"
wait_for "Synth to be closed" synth_closed
: > "$WORK/midi/out/Synth"
wait_for "Synth to be opened again" synth_open

touch "$WORK/stop"
wait "$WRITER" || fail "the sweeps could not be written"
sweeps="$(cat "$WORK/sweeps")"

# A last value behind them: once it is there, whatever the sweeps sent is there too.
send_midi '\xb0\x01\x40'
{ for _ in $(seq "$sweeps"); do printf "$sweep_out"; done; printf '\xb0\x07\x40'; } > "$WORK/expected"
expected_size="$(stat -c %s "$WORK/expected")"
effects_complete() { [ "$(stat -c %s "$WORK/midi/out/Effects")" -ge "$expected_size" ]; }
wait_for "$sweeps sweeps on Effects" effects_complete
cmp "$WORK/expected" "$WORK/midi/out/Effects" \
    || fail "Effects differs from $sweeps sweeps: $(cmp "$WORK/expected" "$WORK/midi/out/Effects" 2>&1 | head -1)"
[ ! -s "$WORK/midi/out/Synth" ] || fail "Synth played: $(hex_of "$WORK/midi/out/Synth")"
echo "$sweeps sweeps of 254 values, $((sweeps * 254)) controllers, all on Effects in order"

quit_app
pass
