#!/usr/bin/env python3
"""Plays a running Veltrino for a while as a player would, at the MIDI cable's rate, and checks it.

Started by scripts/soak.sh once the application runs with file-backed ports and the soak
document open. For the given time it writes footswitch presses and releases (some held
across "*", a navigation function or another footswitch's go-to before they are lifted),
pedal sweeps, go-to patch changes and navigation into the input pipe at 3,125 three-byte
messages a second; every 10 seconds it unplugs one output device and plugs it back, every
minute the input device (between gestures, once all that was sent was handled; with its
cable out the pedal board sends nothing). Meanwhile it reads what reaches the output files
and asks the main window a question every half second. At the end it prints the figures
and fails when:

- an output file holds other bytes than the document demands for the messages sent (the
  model in document_model.py), in another order, doubled, or misses any; the only messages
  that may be missing are those handled while their device was closed, between the device
  manager's close after the unplug and its open after the plug (it checks every 1500 ms);
- the main window did not answer within a second, went away, or stopped repainting;
- resident memory grew by 1 MB or more after the warm-up;
- a device change was not followed by the device manager within 1.5 s and a second of slack.

  soak.py --work DIR --pid PID --window ID --document FILE --seconds N
"""

import argparse
import collections
import ctypes
import fcntl
import os
import random
import select
import struct
import sys
import termios
import time
from array import array

from document_model import Engine, NAV_ON_OFF, is_footswitch
from window_probe import WindowProbe

WIRE_RATE = 3125                    # three-byte messages a second through a MIDI cable
OUTPUT_REPLUG_PERIOD = 10.0
INPUT_REPLUG_PERIOD = 60.0
CHECK_PERIOD = 1.5                  # the device manager's
CHECK_SLACK = 1.0                   # what a loaded machine may add to it
ANSWER_LIMIT = 1.0
PROBE_PERIOD = 0.5
MEMORY_LIMIT_KB = 1024
STALL_LIMIT = 5.0                   # seconds of traffic without a repaint
QUIET_LIMIT = 20.0                  # waiting for the last bytes
EPSILON = 0.005                     # our clock against the kernel's events

IN_MODIFY, IN_CLOSE_WRITE, IN_OPEN, IN_IGNORED = 0x2, 0x8, 0x20, 0x8000

now = time.monotonic


#==============================================================================
class Inotify:
    def __init__(self):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0:
            raise OSError(ctypes.get_errno(), "inotify_init1")

    def watch(self, path, mask):
        wd = self.libc.inotify_add_watch(self.fd, path.encode(), mask)
        if wd < 0:
            raise OSError(ctypes.get_errno(), "inotify_add_watch " + path)
        return wd

    def events(self):
        try:
            data = os.read(self.fd, 1 << 16)
        except BlockingIOError:
            return []
        events, offset = [], 0
        while offset < len(data):
            wd, mask, _, length = struct.unpack_from("iIII", data, offset)
            events.append((wd, mask))
            offset += 16 + length
        return events


class Incarnation:
    """One life of an output file, from its creation to its removal; read through our own descriptor."""

    def __init__(self, path, inotify, created, already_open):
        self.fd = os.open(path, os.O_RDONLY | (0 if already_open else os.O_CREAT | os.O_EXCL))
        self.wd = inotify.watch(path, IN_MODIFY | IN_OPEN | IN_CLOSE_WRITE)
        self.created = created
        self.opened = created if already_open else None     # by the application
        self.closed = None
        self.unplugged = None
        self.size = 0

    def read(self):
        chunks = []
        while True:
            data = os.read(self.fd, 1 << 16)
            if not data:
                return b"".join(chunks)
            chunks.append(data)
            self.size += len(data)


class OutputDevice:
    """An output file and what the document demands of it, matched as the bytes come."""

    def __init__(self, name, path, inotify, messages):
        self.name, self.path, self.inotify, self.messages = name, path, inotify, messages
        self.incarnations = [Incarnation(path, inotify, now(), True)]
        self.expected = collections.deque()     # (message index, bytes) not yet seen
        self.current = 0                        # the incarnation being matched
        self.buffer = b""
        self.candidates = None                  # where a reopened file's bytes may begin
        self.consumed = 0                       # bytes matched before the buffer
        self.arrivals = collections.deque()     # (bytes up to the end of a read, when it was read)
        self.resolved = True
        self.bytes_checked = self.messages_checked = 0
        self.dropped, self.errors, self.replugs = [], [], []
        self.last_matched_close = None

    def plugged(self):
        return self.incarnations[-1].unplugged is None

    def unplug(self, at):
        self.incarnations[-1].unplugged = at
        os.unlink(self.path)

    def plug(self, at):
        self.incarnations.append(Incarnation(self.path, self.inotify, at, False))

    def incarnation_of(self, wd):
        for index, incarnation in enumerate(self.incarnations):
            if incarnation.wd == wd:
                return index
        return None

    def on_event(self, index, mask, at, latencies):
        incarnation = self.incarnations[index]
        if mask & IN_OPEN and incarnation.opened is None:
            incarnation.opened = at
        if mask & IN_MODIFY:
            self.take(index, at, latencies)
        if mask & IN_CLOSE_WRITE:
            self.take(index, at, latencies)
            incarnation.closed = at

    def take(self, index, at, latencies):
        if index < self.current:
            data = self.incarnations[index].read()
            if data:
                self.fail(f"{len(data)} bytes written to a file after the next one was opened")
            return
        if index > self.current:
            # Whatever the old file got came before the new one was opened.
            for older in range(self.current, index):
                self.feed(self.incarnations[older].read(), at, latencies)
            if self.buffer:
                self.fail(f"{self.buffer.hex(' ')} left unmatched in an unplugged file")
            self.last_matched_close = self.incarnations[self.current].closed
            self.current, self.resolved, self.candidates = index, False, None
        self.feed(self.incarnations[index].read(), at, latencies)

    def feed(self, data, at, latencies):
        if self.errors or not (data or self.resolved):
            return
        if data:
            self.buffer += data
            self.arrivals.append((self.consumed + len(self.buffer), at))
        if not self.resolved and not self.resolve(at):
            return
        while self.expected and self.buffer.startswith(self.expected[0][1]):
            message, expected = self.expected.popleft()
            self.buffer = self.buffer[len(expected):]
            self.consumed += len(expected)
            self.bytes_checked += len(expected)
            self.messages_checked += 1
            # The message is in the file from the read that brought its last byte.
            while self.arrivals[0][0] < self.consumed:
                self.arrivals.popleft()
            arrived = self.arrivals[0][1]
            if self.messages.kind(message) == "footswitch":
                latencies.append((arrived, arrived - self.messages.written(message)))
        if self.buffer and not (self.expected and self.expected[0][1].startswith(self.buffer)):
            upcoming = " | ".join(e[1].hex(" ") for _, e in zip(range(4), self.expected))
            self.fail(f"got {self.buffer[:24].hex(' ')}, the document demands {upcoming or 'nothing'}")

    def resolve(self, at, final=False):
        """Where the new file's bytes begin: the messages before were sent while it was closed.

        Any message written before the file was opened may begin it; those whose messages
        match all the bytes so far stay candidates. A pedal sweeping the same values twice
        may leave several for a while; more bytes tell them apart. Should some remain after
        4 kB, the last is taken: the first message handled after the opening was written
        around it, and the candidates before imply an older one.
        """
        opened = self.incarnations[self.current].opened or at
        if self.candidates is None:
            self.candidates = []
            for start in range(len(self.expected) + 1):
                if start > 0 and not self.messages.written(self.expected[start - 1][0]) <= opened + EPSILON:
                    break       # written after the open (or not yet): it has to arrive
                if self.matches_from(start):
                    self.candidates.append(start)
        else:
            self.candidates = [start for start in self.candidates if self.matches_from(start)]
        if not self.candidates:
            self.fail(f"the file plugged in again begins with {self.buffer[:24].hex(' ')}, "
                      "which no message sent around its opening demands")
            return False
        if len(self.candidates) > 1 and len(self.buffer) < 4096 and not final:
            return False
        start = self.candidates[-1]
        dropped = [self.expected.popleft()[0] for _ in range(start)]
        written = [self.messages.written(m) for m in dropped]
        self.dropped.append((self.last_matched_close, opened, len(dropped), min(written, default=None),
                             max(written, default=None), len(self.candidates)))
        self.resolved = True
        return True

    def matches_from(self, start, whole=False):
        """True when the bytes so far are those of the messages from `start` on (all of them, when whole)."""
        offset = 0
        for index in range(start, len(self.expected)):
            expected = self.expected[index][1]
            if offset + len(expected) > len(self.buffer):
                return not whole and expected.startswith(self.buffer[offset:])
            if self.buffer[offset:offset + len(expected)] != expected:
                return False
            offset += len(expected)
        return offset == len(self.buffer)

    def settle(self, latencies):
        """Once every message sent was handled, a reopened file holds all that its device was owed
        from its first message on: of the candidates, only one ends where the messages end."""
        if not self.resolved and self.buffer and not self.errors and self.candidates is not None:
            whole = [start for start in self.candidates if self.matches_from(start, whole=True)]
            if len(whole) == 1:
                self.candidates = whole
                self.resolve(now(), final=True)
                self.feed(b"", now(), latencies)

    def fail(self, what):
        self.errors.append(what)

    def is_complete(self):
        return self.resolved and not self.expected and not self.buffer

    def silent_files(self, end):
        """Files that stayed open a while and got nothing, while the document had bytes for them."""
        return [i for i, incarnation in enumerate(self.incarnations)
                if incarnation.size == 0 and incarnation.opened is not None
                and (incarnation.closed or end) - incarnation.opened > 2.0]


class Messages:
    """What was written into the input pipe and when; entries no device waits for are let go."""

    def __init__(self):
        self.base, self.kinds, self.times = 0, bytearray(), array("d")
        self.count = collections.Counter()

    KINDS = ("footswitch", "pedal", "other")

    def add(self, kind):
        self.kinds.append(self.KINDS.index(kind))
        self.times.append(float("nan"))
        self.count[kind] += 1
        return self.base + len(self.kinds) - 1

    def set_written(self, first, last, at):
        for index in range(first, last + 1):
            self.times[index - self.base] = at

    def written(self, index):
        return float("-inf") if index < 0 else self.times[index - self.base]

    def kind(self, index):
        return "load" if index < 0 else self.KINDS[self.kinds[index - self.base]]

    def forget_before(self, index):
        # With a margin: the last messages written may still be waiting for their time.
        drop = index - self.base - 10000
        if drop > 100000:
            del self.kinds[:drop]
            del self.times[:drop]
            self.base += drop


#==============================================================================
class Player:
    """A player's gestures, one message at a time, run through the model as they are made."""

    def __init__(self, engine, rng):
        self.engine, self.rng = engine, rng
        self.queue = collections.deque()
        self.channel = engine.channel - 1
        self.holds = collections.Counter()      # footswitches held across something, by what

    def at_rest(self):
        return not self.queue

    def next(self):
        if not self.queue:
            self.plan()
        message, kind = self.queue.popleft()
        return message, kind, self.engine.receive(message)

    def press(self, footswitch):
        self.queue.append((bytes([0x90 | self.channel, footswitch, 0x7F]), "footswitch"))

    def release(self, footswitch):
        # Both kinds of release a pedal board may send.
        status = 0x80 if self.rng.random() < 0.5 else 0x90
        self.queue.append((bytes([status | self.channel, footswitch, 0]), "footswitch"))

    def tap(self, footswitch):
        self.press(footswitch)
        self.release(footswitch)

    def sweep(self):
        pedal = self.rng.choice((1, 7))     # controllers of the two pedals
        slider = self.engine.sliders[11 if pedal == 1 else 12]
        start, end = slider.value, self.rng.randrange(128)
        step = self.rng.choice((1, 1, 1, 2, 5)) * (1 if end >= start else -1)
        values = list(range(start + step, end, step)) + [end]
        for value in values:
            self.queue.append((bytes([0xB0 | self.channel, pedal, value]), "pedal"))

    def plan(self):
        r = self.rng.random()
        navigating = self.engine.mode == 2
        if r < 0.3:
            self.sweep()
        elif r < 0.35:
            footswitch = self.rng.randint(1, 9)
            self.press(footswitch)
            self.sweep()
            self.release(footswitch)
        elif r < 0.4:
            # Messages of no control: another channel, a note and a controller nobody learnt.
            other = (self.channel + 1) % 16
            self.queue.append((bytes([0x90 | other, 1, 0x7F]), "other"))
            self.queue.append((bytes([0x80 | self.channel, 0x40, 0]), "other"))
            self.queue.append((bytes([0xB0 | self.channel, 50, 0x10]), "other"))
        elif navigating and r < 0.45:
            self.hold_function_across_on_off()
        elif navigating:
            usable = self.engine.navigation_targets()
            self.tap(self.rng.choice(sorted(usable)) if usable and r < 0.9 else self.rng.randint(1, 9))
        elif r < 0.5:
            self.tap(self.engine.footswitch_of(NAV_ON_OFF))
        elif r < 0.56:
            self.hold_across(self.rng.choice(("*", "a navigation function", "a go-to")))
        else:
            self.tap(self.rng.randint(1, 9))

    def playing_footswitches(self, kind=None):
        """The current patch's footswitches (not "*") whose control plays now, an action of that kind."""
        patch = self.engine.patch(self.engine.current)
        on_off, found = self.engine.footswitch_of(NAV_ON_OFF), []
        for footswitch, control in patch.controls.items() if patch else ():
            end = control.end()
            states = end.played_states()
            if not is_footswitch(footswitch) or footswitch == on_off or end.current_state >= len(states):
                continue
            if any(kind is None or action.kind == kind for action in states[end.current_state]):
                found.append(footswitch)
        return found

    def hold_across(self, what):
        """In play mode, a footswitch that plays held while "*" enters navigation (and maybe leaves
        it), a navigation function or another footswitch's go-to changes the patch; then lifted."""
        on_off = self.engine.footswitch_of(NAV_ON_OFF)
        go_tos = self.playing_footswitches("goto") if what == "a go-to" else []
        go_to = self.rng.choice(go_tos) if go_tos else None
        playing = [f for f in self.playing_footswitches() if f != go_to]
        if not playing or (what == "a go-to" and go_to is None):
            self.tap(self.rng.randint(1, 9))
            return
        held = self.rng.choice(playing)
        functions = [f for f, function in self.engine.navigation_targets().items()
                     if function != NAV_ON_OFF and f != held]
        if what == "a navigation function" and not functions:
            what = "*"
        self.holds[what] += 1
        self.press(held)
        if what == "a go-to":
            self.tap(go_to)
        else:
            self.tap(on_off)
            if what == "a navigation function":
                self.tap(self.rng.choice(sorted(functions)))
            elif self.rng.random() < 0.5:
                self.tap(on_off)            # back in play mode before the release
        self.release(held)

    def hold_function_across_on_off(self):
        """In navigation mode, a navigation function's footswitch held while "*" leaves navigation:
        its release then runs nothing."""
        functions = [f for f, function in self.engine.navigation_targets().items() if function != NAV_ON_OFF]
        if not functions:
            self.tap(self.rng.randint(1, 9))
            return
        footswitch = self.rng.choice(sorted(functions))
        self.holds["* from navigation"] += 1
        self.press(footswitch)
        self.tap(self.engine.footswitch_of(NAV_ON_OFF))
        self.release(footswitch)


#==============================================================================
class Soak:
    def __init__(self, args):
        self.args = args
        self.work, self.pid, self.seconds = args.work, args.pid, args.seconds
        # The traffic from a generator of its own: the same seed plays the same evening.
        self.rng, traffic = random.Random(args.seed), random.Random(args.seed + 1)
        with open(args.document, encoding="utf-8") as document:
            self.engine = Engine(document.read())
        self.messages = Messages()
        self.inotify = Inotify()
        self.outputs = {}
        for device, message in self.engine.load():
            if device not in self.outputs:
                self.outputs[device] = OutputDevice(device, os.path.join(self.work, "midi", "out", device),
                                                    self.inotify, self.messages)
            self.outputs[device].expected.append((-1, message))
        self.player = Player(self.engine, traffic)
        self.input_path = os.path.join(self.work, "midi", "in", "FCB1010")
        self.pipe = self.open_pipe()
        self.pending, self.pending_messages = b"", []
        self.probe = WindowProbe(args.window)
        self.poller = select.poll()
        self.poller.register(self.inotify.fd, select.POLLIN)
        self.poller.register(self.probe.fileno(), select.POLLIN)

        self.latencies = collections.deque()                # footswitch (time, latency) not yet recorded
        self.all_latencies = array("f")
        self.slowest_by_second = collections.defaultdict(float)
        self.answers, self.unanswered, self.asked, self.asked_late = [], 0, None, False
        self.memory, self.cpu = [], []
        self.frames, self.last_frame, self.last_repaint, self.longest_still = 0, None, None, 0.0
        self.input_replugs, self.input_errors, self.change_errors, self.window_errors = [], [], [], []
        self.behind = self.paused_for = 0.0
        self.selections = self.navigations = 0

    #==========================================================================
    def open_pipe(self):
        """The pedal board's end of the input pipe; fails while the application has not opened it."""
        return os.open(self.input_path, os.O_WRONLY | os.O_NONBLOCK | os.O_CLOEXEC)

    def send_due(self, t, pausing=False):
        """Writes the messages due by now, at most the cable's rate; when pausing, up to the
        end of a gesture whose last message sends to a plugged output."""
        if self.pending:
            self.flush()
            if self.pending:
                return
        if t - self.next_due > 0.02 and not self.pending:
            self.behind += t - self.next_due
            self.next_due = t
        data, first = [], None
        while self.next_due <= t and not (pausing and self.at_a_mark()):
            mode, patch = self.engine.mode, self.engine.current
            message, kind, sent = self.player.next()
            self.selections += patch != self.engine.current
            self.navigations += mode != 2 and self.engine.mode == 2
            index = self.messages.add(kind)
            first = index if first is None else first
            for device, output in sent:
                if device in self.outputs:
                    self.outputs[device].expected.append((index, output))
            self.last_sent = (index, {device for device, _ in sent})
            data.append(message)
            self.next_due += 1.0 / WIRE_RATE
        if data:
            self.pending = b"".join(data)
            self.pending_messages.append((first, self.last_sent[0]))
            self.flush()

    def flush(self):
        """Writes what the pipe takes; the messages count as written once all their bytes are in."""
        try:
            written = os.write(self.pipe, self.pending)
        except BlockingIOError:
            written = 0
        self.pending = self.pending[written:]
        if not self.pending:
            for first, last in self.pending_messages:
                self.messages.set_written(first, last, now())
            self.pending_messages = []

    def pipe_backlog(self):
        buffer = bytearray(4)
        fcntl.ioctl(self.pipe, termios.FIONREAD, buffer)
        return struct.unpack("i", buffer)[0] + len(self.pending)

    #==========================================================================
    def on_inotify(self, t):
        for wd, mask in self.inotify.events():
            for output in self.outputs.values():
                index = output.incarnation_of(wd)
                if index is not None:
                    output.on_event(index, mask, t, self.latencies)

    def record_latencies(self):
        while self.latencies:
            at, latency = self.latencies.popleft()
            self.all_latencies.append(latency)
            second = int(at)
            self.slowest_by_second[second] = max(self.slowest_by_second[second], latency)

    def probe_window(self, t):
        if self.asked is not None and self.probe.answered():
            self.answers.append(t - self.asked)
            self.asked = None
        if self.asked is not None and t - self.asked > ANSWER_LIMIT and not self.asked_late:
            self.unanswered += 1
            self.asked_late = True
        if self.asked is None and t >= self.next_probe:
            self.probe.ask()
            self.asked, self.asked_late, self.next_probe = t, False, t + PROBE_PERIOD

    def sample(self, t, traffic):
        with open(f"/proc/{self.pid}/status") as status:
            rss = next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))
        with open(f"/proc/{self.pid}/stat") as stat_file:
            fields = stat_file.read().rsplit(")", 1)[1].split()
        self.memory.append((t - self.start, rss))
        self.cpu.append((t, (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")))
        frame = self.probe.snapshot()
        if frame is None or not self.probe.is_shown():
            self.window_errors.append(f"the main window was gone at {t - self.start:.1f} s")
            return
        if frame != self.last_frame:
            self.frames += 1
            self.last_frame, self.last_repaint = frame, t
        elif traffic and self.last_repaint is not None:
            self.longest_still = max(self.longest_still, t - self.last_repaint)
        if not traffic:
            self.last_repaint = t

    #==========================================================================
    def app_holds(self, fragment):
        for fd in os.listdir(f"/proc/{self.pid}/fd"):
            try:
                if fragment in os.readlink(f"/proc/{self.pid}/fd/{fd}"):
                    return True
            except OSError:
                pass
        return False

    def run(self):
        self.start = t = now()
        end = self.start + self.seconds
        self.next_due, self.next_probe, self.next_sample = t, t, t
        self.last_sent = (-1, set())
        next_output_replug = self.start + OUTPUT_REPLUG_PERIOD / 2
        next_input_replug = self.start + min(INPUT_REPLUG_PERIOD / 2, self.seconds / 2)
        replug = None           # an output being replugged: [device, time to plug it back, or None once back]
        input_step = None       # the input's replug, step by step
        pausing = stopping = False
        self.stopped_at = None
        devices = sorted(self.outputs)
        turn = 0

        while True:
            t = now()
            # A pause (the input's replug, the end) begins between gestures, after a message whose
            # bytes show that it was handled: then everything before it was handled too.
            if pausing and self.at_a_mark():
                pausing, paused_at = False, t
                if stopping:
                    self.stopped_at = t
            if (not stopping and input_step is None) or pausing:
                self.send_due(t, pausing)

            # Every 10 s one output goes and comes back; none while the input is away.
            if replug is None and input_step is None and not stopping and t >= next_output_replug:
                device = self.outputs[devices[turn % len(devices)]]
                turn += 1
                device.unplug(t)
                replug = [device, t + self.rng.uniform(0.2, 3.0)]
                next_output_replug += OUTPUT_REPLUG_PERIOD
            if replug is not None and replug[1] is not None and t >= replug[1]:
                replug[0].plug(t)
                replug[1] = None
            if replug is not None and replug[1] is None and replug[0].incarnations[-1].opened is not None:
                self.check_replug(replug[0])
                replug = None

            # Every minute the input too, once the application has all that was sent.
            if input_step is None and replug is None and not stopping and t >= next_input_replug:
                input_step, pausing = ["quiet", t], True
                next_input_replug += INPUT_REPLUG_PERIOD
            if input_step is not None and not pausing:
                input_step = self.replug_input(input_step, t)
                if input_step is None:
                    self.next_due = now()
                    self.paused_for += self.next_due - paused_at

            if t >= end and not stopping and replug is None and input_step is None:
                stopping = pausing = True

            self.probe_window(t)
            if t >= self.next_sample:
                self.sample(t, not stopping and input_step is None)
                self.next_sample += 1.0
            self.record_latencies()

            if self.stopped_at is not None and (self.all_received() or t - self.stopped_at > QUIET_LIMIT):
                break
            if any(output.errors for output in self.outputs.values()):
                self.stopped_at = self.stopped_at or t
                break

            resting = (stopping or input_step is not None) and not pausing
            wake = min(self.next_probe, self.next_sample, t + 0.005 if resting or self.pending else self.next_due)
            for fd, _ in self.poller.poll(max(0.0, wake - now()) * 1000):
                if fd == self.inotify.fd:
                    self.on_inotify(now())
            if self.pending:
                self.flush()
            self.forget_old()

        self.on_inotify(now())
        for output in self.outputs.values():
            output.take(len(output.incarnations) - 1, now(), self.latencies)
            if not output.resolved and not output.errors:
                output.resolve(now(), final=True)
        self.record_latencies()
        self.sample(now(), False)
        return self.report()

    def at_a_mark(self):
        plugged = {name for name, output in self.outputs.items() if output.plugged()}
        return self.player.at_rest() and bool(self.last_sent[1] & plugged)

    def all_received(self):
        if self.pending or self.pipe_backlog():
            return False
        for output in self.outputs.values():
            output.settle(self.latencies)
        return all(output.is_complete() or output.errors for output in self.outputs.values())

    def forget_old(self):
        waiting = [o.expected[0][0] for o in self.outputs.values() if o.expected]
        oldest = min(waiting) if waiting else self.last_sent[0]
        self.messages.forget_before(max(0, oldest))

    def check_replug(self, device):
        """The device manager closed the old file and opened the new one within its checks."""
        old, new = device.incarnations[-2], device.incarnations[-1]
        if old.closed is None:
            old.closed = new.opened     # closed and opened again in one check
        closed_after, opened_after = old.closed - old.unplugged, new.opened - new.created
        device.replugs.append((old.unplugged - self.start, new.created - old.unplugged, closed_after, opened_after))
        for what, delay in (("closed", closed_after), ("opened", opened_after)):
            if delay > CHECK_PERIOD + CHECK_SLACK:
                self.change_errors.append(f"{device.name} {what} {delay:.2f} s after it was "
                                          f"{'unplugged' if what == 'closed' else 'plugged in'}")

    def replug_input(self, step, t):
        """quiet -> gone (pipe removed, waiting for the close) -> away -> back (waiting for the open)."""
        state, since = step[0], step[1]
        if state == "quiet":
            if not self.pending and self.pipe_backlog() == 0:
                for output in self.outputs.values():
                    output.settle(self.latencies)
            index = self.last_sent[0]
            arrived = all(not o.expected or o.expected[0][0] > index for o in self.outputs.values())
            if not self.pending and self.pipe_backlog() == 0 and arrived:
                os.unlink(self.input_path)
                return ["gone", t, t]
            if t - since > QUIET_LIMIT:
                self.input_errors.append("the messages before the input's unplugging were not all handled")
                os.unlink(self.input_path)
                return ["gone", t, t]
            return step
        if state == "gone":
            # The cable is out: the device manager closes the input at its next check.
            if not self.app_holds("/midi/in/FCB1010"):
                os.close(self.pipe)
                closed_after = t - step[2]
                return ["away", t, step[2], closed_after, t + self.rng.uniform(0.2, 2.0)]
            return step
        if state == "away":
            if t >= step[4]:
                os.mkfifo(self.input_path)
                return ["back", t, step[2], step[3]]
            return step
        if state == "back":
            try:
                self.pipe = self.open_pipe()
            except OSError:
                if t - since > CHECK_PERIOD + CHECK_SLACK + 2:
                    self.input_errors.append("the input was not opened again")
                    return None
                return step
            opened_after = t - since
            self.input_replugs.append((step[2] - self.start, since - step[2], step[3], opened_after))
            for what, delay in (("closed", step[3]), ("opened", opened_after)):
                if delay > CHECK_PERIOD + CHECK_SLACK:
                    self.change_errors.append(f"the input {what} {delay:.2f} s after its change")
            return None
        return step

    #==========================================================================
    def report(self):
        failures = []
        print(f"=== soak: {self.seconds:.0f} s, seed {self.args.seed}")
        playing = self.stopped_at - self.start - self.paused_for
        sent = sum(self.messages.count.values())
        print(f"messages sent           {sent} in {playing:.1f} s of play ({sent / playing:.0f}/s; the cable's "
              f"rate is {WIRE_RATE}/s): {self.messages.count['footswitch']} footswitch, "
              f"{self.messages.count['pedal']} pedal, {self.messages.count['other']} of no control")
        print(f"patches                 {self.selections} patch changes, navigation mode entered "
              f"{self.navigations} times")
        holds = self.player.holds
        print(f"footswitches held       {holds['*']} across \"*\", {holds['a navigation function']} across a "
              f"navigation function, {holds['a go-to']} across a go-to; {holds['* from navigation']} pressed "
              "in navigation mode across \"*\"")
        if self.behind > 0.1:
            print(f"writing fell behind by {self.behind:.1f} s in all (the pipe was full)")

        checked = sum(o.bytes_checked for o in self.outputs.values())
        dropped_total, lost = 0, 0
        for name, output in sorted(self.outputs.items()):
            dropped = sum(d[2] for d in output.dropped)
            dropped_total += dropped
            lost += len(output.expected)
            print(f"{name:<10} bytes       {output.bytes_checked} checked ({output.messages_checked} messages), "
                  f"{dropped} messages sent while closed, {len(output.expected)} missing")
            for error in output.errors:
                failures.append(f"{name}: {error}")
            if output.expected and not output.errors:
                failures.append(f"{name}: {len(output.expected)} messages never arrived")
            for silent in output.silent_files(self.stopped_at):
                failures.append(f"{name}: the file plugged in at {output.incarnations[silent].created - self.start:.1f} s "
                                "was open for seconds and received nothing")
            failures += self.check_dropped(output)
        print(f"bytes checked           {checked}, lost 0" if not lost else f"bytes checked           {checked}, "
              f"LOST {lost} messages")

        replugs = [r for o in self.outputs.values() for r in o.replugs]
        if replugs:
            print(f"output replugs          {len(replugs)}: unplugged {min(r[1] for r in replugs):.2f} to "
                  f"{max(r[1] for r in replugs):.2f} s; closed after {max(r[2] for r in replugs):.2f} s and "
                  f"opened after {max(r[3] for r in replugs):.2f} s at most; {dropped_total} messages "
                  "sent while closed, each handled between the close and the open")
        for replug in self.input_replugs:
            print(f"input replug at {replug[0]:.0f} s    away {replug[1]:.2f} s (no traffic); closed after "
                  f"{replug[2]:.2f} s, opened after {replug[3]:.2f} s")
        failures += self.change_errors + self.input_errors + self.window_errors[:1]

        if self.answers:
            answers = sorted(self.answers)
            print(f"window answers          {len(answers)}, median {answers[len(answers) // 2] * 1000:.1f} ms, "
                  f"slowest {answers[-1] * 1000:.1f} ms; {self.unanswered} over {ANSWER_LIMIT:.0f} s")
        if self.unanswered or not self.answers:
            failures.append(f"the main window did not answer within {ANSWER_LIMIT:.0f} s {self.unanswered} times")
        print(f"window repaints         {self.frames} different pictures in {len(self.memory)} samples, "
              f"longest still while played {self.longest_still:.1f} s")
        if self.longest_still > STALL_LIMIT:
            failures.append(f"the main window did not repaint for {self.longest_still:.1f} s while played")

        failures += self.report_memory()
        failures += self.report_latency()
        if len(self.cpu) > 1:
            (t0, c0), (t1, c1) = self.cpu[0], self.cpu[-1]
            print(f"application's processor {100 * (c1 - c0) / (t1 - t0):.0f}% of one core")

        for failure in failures:
            print("FAILED: " + failure)
        print("soak: " + ("FAILED" if failures else "passed"))
        return not failures

    def check_dropped(self, output):
        """Each message missing from a file was handled while its device was closed."""
        failures = []
        for closed, opened, count, first, last, ambiguity in output.dropped:
            if not count:
                continue
            if closed is None or first < closed - self.latency_bound(closed):
                failures.append(f"{output.name}: {count} messages missing, the first written "
                                f"{(closed or first) - first:.3f} s before the file was closed")
            if last > opened + EPSILON:
                failures.append(f"{output.name}: a message written after the file was opened is missing")
            if ambiguity > 1:
                print(f"note: {output.name}'s reopened file matched {ambiguity} places; the last was taken")
        return failures

    def latency_bound(self, at):
        """The slowest handling seen around that time, with a margin: how late a message may be handled."""
        around = [self.slowest_by_second.get(second, 0.0) for second in range(int(at) - 3, int(at) + 4)]
        return max(around + [0.05]) + 0.01

    def report_memory(self):
        warm_up = min(20.0, self.seconds / 4)
        after = [rss for at, rss in self.memory if at >= warm_up]
        if len(after) < 3:
            return []
        baseline = sorted(after[:3])[1]
        final = sorted(after[-3:])[1]
        growth = final - baseline
        # The trend as well: a slow leak shows in it before it passes the bound.
        points = [(at, rss) for at, rss in self.memory if at >= warm_up]
        mean_at = sum(at for at, _ in points) / len(points)
        mean_rss = sum(rss for _, rss in points) / len(points)
        spread = sum((at - mean_at) ** 2 for at, _ in points) or 1.0
        slope = sum((at - mean_at) * (rss - mean_rss) for at, rss in points) / spread * 60
        print(f"resident memory         {baseline / 1024:.1f} MB after {warm_up:.0f} s of warm-up, "
              f"{final / 1024:.1f} MB at the end: {growth:+d} kB (peak {max(after) / 1024:.1f} MB, "
              f"trend {slope:+.0f} kB a minute)")
        return [f"resident memory grew by {growth} kB"] if growth >= MEMORY_LIMIT_KB else []

    def report_latency(self):
        latencies = sorted(self.all_latencies)
        if not latencies:
            return ["no footswitch reached an output"]
        median = latencies[len(latencies) // 2]
        p99 = latencies[min(len(latencies) - 1, int(len(latencies) * 0.99))]
        print(f"footswitch latency      median {median * 1000:.2f} ms, 99th percentile {p99 * 1000:.2f} ms, "
              f"slowest {latencies[-1] * 1000:.1f} ms over {len(latencies)} messages "
              "(from the write into the pipe to the bytes in the file)")
        return []


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--work", required=True)
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--window", type=int, required=True)
    parser.add_argument("--document", required=True)
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    sys.exit(0 if Soak(parser.parse_args()).run() else 1)


if __name__ == "__main__":
    main()
