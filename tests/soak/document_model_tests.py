"""The soak run's model of a document against the worked values of what a document must send.

The soak run trusts this model to say which bytes the application owes: a fault here would
fail sound runs, or let a fault pass that the model shares.
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "soak"))

from document_model import Engine, SysExSequence, mapped  # noqa: E402


def document(*patches, functions='<function type="1" control="10"/>'):
    return (f'<veltrino version="1"><navigation color="ff00ff00">{functions}</navigation>'
            f'<patches current="0">{"".join(patches)}</patches></veltrino>')


def patch(items, name="P", level=0):
    return f'<patch name="{name}" level="{level}" color="ffe3e3e3" comment="">{items}</patch>'


def item(control_id, *states, init_value=0, init_state=0, linked=0, link_patch=0, link_control=-1):
    body = "".join(f'<state label="" color="ffffffff">{actions}</state>' for actions in states)
    return (f'<item id="{control_id}" label="" target="" color="ffffffff" init_state="{init_state}" '
            f'init_value="{init_value}" linked="{linked}" link_patch="{link_patch}" '
            f'link_control="{link_control}">{body}</item>')


def cc(controller, value=0, stage=1, channel=1):
    return (f'<cc comment="" device="Synth" channel="{channel}" controller="{controller}" stage="{stage}" '
            f'value="{value}"/>')


def pedal_cc(controller, minimum, maximum):
    return (f'<cc comment="" device="Synth" channel="1" controller="{controller}" min_value="{minimum}" '
            f'max_value="{maximum}"/>')


def goto(target):
    return f'<goto comment="" patch="{target}"/>'


def note(number):
    return f'<note comment="" device="Synth" channel="1" number="{number}" velocity="100"/>'


def press(engine, footswitch):
    return engine.receive(bytes([0x90, footswitch, 0x7F]))


def release(engine, footswitch):
    return engine.receive(bytes([0x80, footswitch, 0]))


def pedal(engine, value, controller=1):
    return engine.receive(bytes([0xB0, controller, value]))


class DocumentModelTests(unittest.TestCase):
    def test_continuous_mapping_rounds_to_the_nearest_value(self):
        for (minimum, maximum), values in {(0, 100): {32: 25, 63: 50, 64: 50, 100: 79, 127: 100},
                                           (20, 40): {1: 20, 63: 30, 126: 40},
                                           (100, 20): {1: 99, 63: 60, 127: 20}}.items():
            for v, r in values.items():
                self.assertEqual(mapped(minimum, maximum, v), r, (minimum, maximum, v))

    def test_system_exclusive_sequences_fill_in_value_and_checksum(self):
        roland = SysExSequence("41 10 42 12 $ 40 00 7F 00 =", 0)
        self.assertEqual(roland.message().hex(" "), "f0 41 10 42 12 40 00 7f 00 41 f7")
        self.assertEqual(SysExSequence("41 10 $ 20 30 = 00", 0).message().hex(" "), "f0 41 10 20 30 30 00 f7")
        self.assertEqual(SysExSequence("41 $ = 10", 0).message().hex(" "), "f0 41 00 10 f7")
        self.assertEqual(SysExSequence("41 * 10", 2).message(200, 2).hex(" "), "f0 41 01 48 10 f7")
        self.assertEqual(SysExSequence("41 zz 10 1G 141 7F * 41", 0).message().hex(" "), "f0 41 10 7f 41 f7")
        self.assertEqual(SysExSequence("F0 41", 0).message().hex(" "), "f0 f7")

    def test_states_step_at_each_release_and_a_press_runs_the_current_one(self):
        engine = Engine(document(patch(item(1, cc(20, 1), cc(20, 2), cc(20, 3)))))
        engine.load()
        sent = [press(engine, 1) + release(engine, 1) for _ in range(4)]
        self.assertEqual([[m.hex(" ") for _, m in s] for s in sent],
                         [["b0 14 01"], ["b0 14 02"], ["b0 14 03"], ["b0 14 01"]])

    def test_the_pedal_takes_over_softly_and_sends_only_changed_values(self):
        engine = Engine(document(patch(item(11, pedal_cc(7, 0, 100), init_value=64))))
        self.assertEqual([m.hex(" ") for _, m in engine.load()], ["b0 07 32"])
        self.assertEqual(pedal(engine, 63), [])         # below the control's value: not yet
        self.assertEqual([m.hex(" ") for _, m in pedal(engine, 65)], ["b0 07 33"])
        self.assertEqual([m.hex(" ") for _, m in pedal(engine, 64)], ["b0 07 32"])
        self.assertEqual(pedal(engine, 63), [])         # 50 again
        self.assertEqual([m.hex(" ") for _, m in pedal(engine, 66)], ["b0 07 34"])

    def test_opening_plays_the_state_before_the_initial_one(self):
        notes = [f'<note comment="" device="Synth" channel="1" number="{n}" velocity="100"/>' for n in (60, 61, 62)]
        engine = Engine(document(patch(item(1, *notes, init_state=0))))
        self.assertEqual([m.hex(" ") for _, m in engine.load()], ["90 3e 64", "80 3e 00"])
        self.assertEqual([m.hex(" ") for _, m in press(engine, 1)], ["90 3c 64"])
        self.assertEqual([m.hex(" ") for _, m in engine.receive(bytes([0x90, 1, 0]))], ["80 3c 00"])

    def test_in_navigation_a_pedal_only_moves_its_slider(self):
        engine = Engine(document(patch(item(11, pedal_cc(7, 0, 127)))))
        engine.load()
        pedal(engine, 5)
        press(engine, 10)
        self.assertEqual(pedal(engine, 30), [])
        press(engine, 10)                               # back to play: the pedal must come down to 5
        self.assertEqual(pedal(engine, 29), [])
        self.assertEqual([m.hex(" ") for _, m in pedal(engine, 4)], ["b0 07 04"])

    def test_go_to_and_navigation_move_between_patches(self):
        functions = "".join(f'<function type="{f}" control="{c}"/>' for f, c in
                            ((1, 10), (2, 9), (3, 4), (4, 5), (5, 1), (6, 2)))
        patches = [patch(item(7, goto(1)), "A", 0), patch(item(7, goto(2)), "B", 1), patch("", "C", 2)]
        engine = Engine(document(*patches, functions=functions))
        engine.load()
        press(engine, 7), release(engine, 7)
        self.assertEqual(engine.current, 1)
        press(engine, 7), release(engine, 7)
        self.assertEqual(engine.current, 2)
        for footswitch in (10, 9):                      # navigation, then "^": B holds the go-to to C
            press(engine, footswitch), release(engine, footswitch)
        self.assertEqual((engine.current, engine.mode), (1, 1))
        for footswitch in (10, 4):                      # "<": back to C
            press(engine, footswitch), release(engine, footswitch)
        self.assertEqual(engine.current, 2)
        press(engine, 10)
        self.assertEqual(engine.mode, 2)
        press(engine, 10)                               # "*" again: play on the same patch
        self.assertEqual((engine.current, engine.mode), (2, 1))

    def test_a_release_plays_only_after_a_press_that_played(self):
        engine = Engine(document(patch(item(1, cc(7, 5, stage=0)))))
        engine.load()
        self.assertEqual(release(engine, 1), [])
        press(engine, 10), press(engine, 1), press(engine, 10)     # pressed in navigation mode
        self.assertEqual(release(engine, 1), [])
        press(engine, 1)
        self.assertEqual([m.hex(" ") for _, m in release(engine, 1)], ["b0 07 05"])

    def test_a_release_answers_its_press_whatever_came_in_between(self):
        # A: footswitch 1 steps between notes 60 and 61, 9 plays note 50, 7 goes to B; B: 1 plays
        # note 70, 7 goes back. Footswitch 10 is "*", 9 is "next" in navigation mode.
        functions = '<function type="1" control="10"/><function type="6" control="9"/>'
        patches = [patch(item(1, note(60), note(61)) + item(9, note(50)) + item(7, goto(1)), "A"),
                   patch(item(1, note(70)) + item(7, goto(0)), "B")]
        # A's note played, then B's (its own control neither played nor stepped by the release),
        # then A's next state (the release stepped it on).
        played_on = ["90 3c 64", "80 3c 00", "90 46 64", "80 46 00", "90 3d 64", "80 3d 00"]
        cases = {
            "held across *": ("p1 p10 r10 r1 p10 r10 p1 r1", played_on[:2] + played_on[4:], (0, 1)),
            "held across a navigation function": ("p1 p10 r10 p9 r9 r1 p1 r1 p7 r7 p1 r1", played_on, (0, 1)),
            "held across a go-to": ("p1 p7 r7 r1 p1 r1 p7 r7 p1 r1", played_on, (0, 1)),
            "pressed again across a go-to": ("p1 p7 r7 p1 r1 r1 p7 r7 p1 r1", played_on, (0, 1)),
            "held into navigation, released there": ("p9 p10 r10 r9", ["90 32 64", "80 32 00"], (0, 2)),
            "pressed in navigation, released there": ("p10 r10 p9 r9", [], (1, 1)),
            "pressed in navigation, released after *": ("p10 r10 p9 p10 r10 r9", [], (0, 1)),
        }
        for name, (gesture, expected, where) in cases.items():
            with self.subTest(name):
                engine = Engine(document(*patches, functions=functions))
                engine.load()
                sent = [m.hex(" ") for step in gesture.split()
                        for _, m in (press if step[0] == "p" else release)(engine, int(step[1:]))]
                self.assertEqual((sent, (engine.current, engine.mode)), (expected, where))

    def test_a_linked_control_plays_its_target_and_mute_silences_it(self):
        mute = '<mute comment="" patch="0" pedal="11" switch="1"/>'
        unmute = '<mute comment="" patch="0" pedal="11" switch="0"/>'
        engine = Engine(document(patch(item(11, pedal_cc(7, 0, 127)) + item(3, mute) + item(4, unmute)
                                       + item(7, goto(1))),
                                 patch(item(11, linked=1, link_control=11), "B")))
        engine.load()
        pedal(engine, 10)
        press(engine, 3)
        self.assertEqual([m.hex(" ") for _, m in release(engine, 3)], ["b0 07 00"])   # the minimum
        self.assertEqual(pedal(engine, 20), [])
        press(engine, 4)
        self.assertEqual([m.hex(" ") for _, m in release(engine, 4)], ["b0 07 14"])   # the last position
        press(engine, 7), release(engine, 7)
        self.assertEqual(engine.current, 1)
        self.assertEqual([m.hex(" ") for _, m in pedal(engine, 30)], ["b0 07 1e"])


if __name__ == "__main__":
    unittest.main()
