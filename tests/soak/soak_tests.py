"""The soak run's accounting of an output file that was unplugged and plugged back.

Without the application: the test writes the files as the application would, the bytes
of the messages handled while the device was open, and checks what the run concludes.
"""

import os
import random
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "soak"))

from document_model import Engine, MODE_NAVIGATION, MODE_PLAY  # noqa: E402
from soak import Inotify, Messages, OutputDevice, Player  # noqa: E402

SOAK_DOCUMENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Soak.vlt")


class ReplugAccountingTests(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.path = os.path.join(self.folder.name, "Synth")
        open(self.path, "wb").close()
        self.messages = Messages()
        self.device = OutputDevice("Synth", self.path, Inotify(), self.messages)
        self.latencies = []

    def tearDown(self):
        self.folder.cleanup()

    def send(self, values, at):
        """Pedal messages written at `at`, each owing one controller."""
        for value in values:
            index = self.messages.add("pedal")
            self.messages.set_written(index, index, at)
            self.device.expected.append((index, bytes([0xB0, 7, value])))

    def write(self, values):
        with open(self.path, "ab") as file:
            file.write(b"".join(bytes([0xB0, 7, v]) for v in values))

    def take(self, at):
        self.device.take(len(self.device.incarnations) - 1, at, self.latencies)

    def replug(self, closed, opened):
        self.device.unplug(closed - 0.5)
        self.device.incarnations[-1].closed = closed
        self.device.plug(opened - 0.5)
        self.device.incarnations[-1].opened = opened

    def test_a_reopened_file_that_repeats_an_earlier_sweep_begins_where_its_messages_were_handled(self):
        sweep = list(range(40, 80))
        self.send(sweep, 1.0)
        self.write(sweep)
        self.take(1.0)
        # Closed at 2 s: the same sweep twice, the first while closed, the second after the open at 3 s.
        self.send(sweep, 2.1)
        self.send(sweep, 3.1)
        self.replug(2.0, 3.0)
        self.write(sweep)
        self.take(3.2)
        self.device.settle(self.latencies)

        self.assertEqual(self.device.errors, [])
        self.assertTrue(self.device.is_complete())
        self.assertEqual([(count, first, last) for _, _, count, first, last, _ in self.device.dropped],
                         [(40, 2.1, 2.1)])

    def test_a_message_written_after_the_open_must_arrive(self):
        self.send([1, 2], 1.0)
        self.write([1, 2])
        self.take(1.0)
        self.send([3], 2.5)
        self.send([4, 5], 3.5)
        self.replug(2.0, 3.0)
        self.write([5])
        self.take(3.6)

        self.assertEqual(len(self.device.errors), 1)
        self.assertIn("no message sent around its opening", self.device.errors[0])

    def test_a_doubled_message_is_reported(self):
        self.send([1, 2, 3], 1.0)
        self.write([1, 2, 2, 3])
        self.take(1.1)

        self.assertEqual(self.device.errors, ["got b0 07 02 b0 07 03, the document demands b0 07 03"])


class TrafficTests(unittest.TestCase):
    def test_the_traffic_lifts_footswitches_held_across_each_change_of_patch_or_mode(self):
        """Seen through the model: what came between a footswitch's press and its release."""
        with open(SOAK_DOCUMENT, encoding="utf-8") as document:
            engine = Engine(document.read())
        engine.load()
        player = Player(engine, random.Random(1))
        held, seen = {}, set()          # footswitch -> (its press's mode, what came since)
        for _ in range(20000):
            mode, current = engine.mode, engine.current
            message = player.next()[0]
            footswitch, pressed = message[1], message[0] == 0x90 and message[2] > 0
            if message[0] not in (0x80, 0x90):
                continue
            if not pressed and footswitch in held:
                pressed_in, came = held.pop(footswitch)
                seen |= {(pressed_in, what) for what in came}
            for pressed_in, came in held.values():
                if engine.current != current:
                    came.add("a navigation function" if mode == MODE_NAVIGATION else "a go-to")
                elif engine.mode != mode:
                    came.add("*")
            if pressed and (mode == MODE_NAVIGATION or engine.presses[footswitch][1] is not None):
                held[footswitch] = (mode, set())
        self.assertLessEqual({(MODE_PLAY, "*"), (MODE_PLAY, "a navigation function"), (MODE_PLAY, "a go-to"),
                              (MODE_NAVIGATION, "*")}, seen)


if __name__ == "__main__":
    unittest.main()
