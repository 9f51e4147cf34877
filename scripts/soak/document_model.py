"""What a Veltrino document makes the application send, worked out from the document alone.

A model of the player's road, independent of the application's code: the pedal board's
messages are filtered by channel and the learn table, footswitches play the current
patch's controls (states step at the release, actions run in order at their stage),
pedals reach the engine through the on-screen slider's soft take-over, continuous
actions map min + (max - min) x v / 127 and send only a changed value, go-to actions
select patches and the navigation mode moves between them. A footswitch's release
answers its press, whatever came in between: the control the press played plays its
release and steps on, and only a press made in navigation mode runs a navigation
function, in navigation mode alone. `Engine.load` plays the initial values and states
as opening the document does; `Engine.receive` handles one incoming message and
returns the messages sent, as (device, bytes) in order.

It assumes one message is fully handled, its pedal action included, before the next
one is taken, which is how the application handles a steady stream.
"""

import xml.etree.ElementTree as ElementTree

NO_INDEX = 0xFFFF
MODE_PLAY, MODE_NAVIGATION, MODE_INITIALISING = 1, 2, 5
NAV_ON_OFF, NAV_GO_UP, NAV_BACKWARD, NAV_FORWARD, NAV_PREVIOUS, NAV_NEXT = 1, 2, 3, 4, 5, 6
MAX_HISTORY = 1000      # the application keeps the newest 1000 visits
MAX_LINK_STEPS = 1000   # a longer chain counts as a cycle
PRESS_PLAYED, PRESS_NAVIGATING = "played", "navigating"


def is_footswitch(control_id):
    return 1 <= control_id <= 10


def is_pedal(control_id):
    return control_id in (11, 12)


def read_int(text):
    """An integer as the document reader takes it: the leading number, else 0."""
    text = (text or "").strip()
    digits = ""
    for i, c in enumerate(text):
        if c.isdigit() or (i == 0 and c in "+-"):
            digits += c
        else:
            break
    try:
        return int(digits)
    except ValueError:
        return 0


def attributes(element):
    """Attribute names compare without regard to case."""
    return {name.lower(): value for name, value in element.attrib.items()}


#==============================================================================
# Messages, as the library's creators make them.
def channel_byte(status, channel):
    return status | (min(max(channel & 0xFF, 1), 16) - 1)


def note_on(channel, number, velocity):
    return bytes([channel_byte(0x90, channel), number & 0x7F, min(velocity, 127)])


def note_off(channel, number):
    return bytes([channel_byte(0x80, channel), number & 0x7F, 0])


def control_change(channel, controller, value):
    return bytes([channel_byte(0xB0, channel), controller & 0x7F, value & 0x7F])


def program_change(channel, program):
    return bytes([channel_byte(0xC0, channel), program & 0x7F])


def mapped(minimum, maximum, value):
    """min + (max - min) x value / 127, to the nearest integer (a half rounds down)."""
    x = minimum + (maximum - minimum) * (value / 127.0)
    whole = int(x)
    return whole + 1 if x - whole > 0.5 else whole


#==============================================================================
class SysExSequence:
    """A system-exclusive sequence text: data bytes, "*" value slot, "$" checksum start, "=" checksum."""

    def __init__(self, text, datum_size):
        self.data, self.value_pos, self.checksum_start, self.checksum_pos = [], None, None, None
        tokens = text.replace("\t", " ").replace("\r", " ").replace("\n", " ").split(" ")
        if text == "":
            return
        data, value_pos, start, pos = [], None, None, None
        for token in tokens:
            if token == "*" and datum_size != 0:
                if value_pos is not None:
                    return
                value_pos = len(data)
                data += [0xFF] * datum_size
            elif token == "$":
                if start is not None:
                    return
                start = len(data)
            elif token == "=":
                if pos is not None:
                    return
                pos = len(data)
                data.append(0xFF)
            elif 1 <= len(token) <= 2 and all(c in "0123456789abcdefABCDEF" for c in token):
                if int(token, 16) > 0x7F:
                    return
                data.append(int(token, 16))
        self.data, self.value_pos, self.checksum_start, self.checksum_pos = data, value_pos, start, pos

    def message(self, value=None, datum_size=1):
        data = list(self.data)
        if value is not None and self.value_pos is not None:
            if datum_size == 1:
                data[self.value_pos] = value & 0xFF
            else:
                data[self.value_pos] = (value >> 7) & 0xFF
                data[self.value_pos + 1] = value & 0x7F
        if self.checksum_start is not None and self.checksum_pos is not None:
            total = sum(data[self.checksum_start:self.checksum_pos]) if self.checksum_start < self.checksum_pos else 0
            data[self.checksum_pos] = (128 - total % 128) % 128
        return bytes([0xF0] + data + [0xF7])


class Action:
    """One action of a state, read from its element; `run` sends or acts."""

    def __init__(self, kind, element, footswitch):
        a = attributes(element)
        self.kind = kind
        self.device = a.get("device", "???")
        self.channel = read_int(a.get("channel")) & 0xFF
        self.stage = read_int(a.get("stage")) & 0xFF
        self.last_sent = 0
        self.target_patch = read_int(a.get("patch")) & 0xFFFF
        self.pedal_id = read_int(a.get("pedal"))
        self.pedal = None
        if kind == "note":
            self.number, self.velocity = read_int(a.get("number")) & 0xFF, read_int(a.get("velocity")) & 0xFF
        elif kind == "cc":
            self.controller = read_int(a.get("controller")) & 0xFF
            if footswitch:
                self.value = read_int(a.get("value")) & 0xFF
            else:
                self.minimum = read_int(a.get("min_value")) & 0xFF
                self.maximum = read_int(a.get("max_value")) & 0xFF
        elif kind == "pc":
            self.program = read_int(a.get("program")) & 0xFF
        elif kind == "sysex":
            self.datum_size = 0
            if not footswitch:
                size = read_int(a.get("datum_size", "1"))
                self.datum_size = size if size in (1, 2) else 1
                self.minimum = read_int(a.get("min_value")) & 0xFFFF
                self.maximum = read_int(a.get("max_value")) & 0xFFFF
            self.sequence = SysExSequence(a.get("sequence", ""), self.datum_size)
        elif kind == "mute":
            self.switch = read_int(a.get("switch")) & 0xFF
        self.footswitch = footswitch

    def run(self, engine, value):
        kind = self.kind
        if kind == "note":
            engine.send(self.device, note_on(self.channel, self.number, self.velocity) if value != 0
                        else note_off(self.channel, self.number))
        elif kind == "cc" and self.footswitch:
            if value == self.stage:
                engine.send(self.device, control_change(self.channel, self.controller, self.value))
        elif kind == "cc":
            r = mapped(self.minimum, self.maximum, value) & 0xFF
            if r != self.last_sent or engine.mode == MODE_INITIALISING:
                engine.send(self.device, control_change(self.channel, self.controller, r))
                self.last_sent = r
        elif kind == "pc":
            if value == self.stage:
                engine.send(self.device, program_change(self.channel, self.program))
        elif kind == "sysex" and self.footswitch:
            if value == self.stage:
                engine.send(self.device, self.sequence.message())
        elif kind == "sysex":
            r = mapped(self.minimum, self.maximum, value) & 0xFFFF
            if r != self.last_sent or engine.mode == MODE_INITIALISING:
                engine.send(self.device, self.sequence.message(r, self.datum_size))
                self.last_sent = r
        elif kind == "goto":
            if value == 0 and engine.mode in (MODE_PLAY, MODE_NAVIGATION) and self.target_patch < len(engine.patches):
                engine.go_to_patch(self.target_patch, True)
        elif kind == "mute":
            if value == 0 and self.pedal is not None:
                engine.set_muted(self.pedal, self.switch == 1)


FOOTSWITCH_ACTIONS = ("goto", "mute", "pc", "cc", "note", "sysex")
PEDAL_ACTIONS = ("cc", "sysex")


class Control:
    def __init__(self, element, control_id):
        a = attributes(element)
        self.id = control_id
        self.init_state = read_int(a.get("init_state")) & 0xFF
        self.init_value = read_int(a.get("init_value")) & 0xFF
        self.linked = read_int(a.get("linked")) != 0
        self.link_patch = read_int(a.get("link_patch")) & 0xFFFF
        self.link_control_id = read_int(a.get("link_control"))
        self.link = None
        self.current_state, self.current_value, self.muted = 0, 0, False
        self.states = []
        kinds = FOOTSWITCH_ACTIONS if is_footswitch(control_id) else PEDAL_ACTIONS
        if not self.linked:
            for state in element:
                if state.tag.lower() == "state":
                    self.states.append([Action(child.tag.lower(), child, is_footswitch(control_id))
                                        for child in state if child.tag.lower() in kinds])

    def end(self):
        control = self
        for _ in range(MAX_LINK_STEPS):
            if not (control.linked and control.link is not None):
                return control
            control = control.link
        return self

    def played_states(self):
        return [] if self.linked else self.states


class Patch:
    def __init__(self, element):
        a = attributes(element)
        self.name = a.get("name", "")
        self.level = read_int(a.get("level")) & 0xFF
        self.controls = {}
        for item in element:
            if item.tag.lower() == "item":
                control_id = read_int(attributes(item).get("id"))
                self.controls[control_id] = Control(item, control_id)
        self.controls = dict(sorted(self.controls.items()))


class Slider:
    """The on-screen pedal: it passes a value on only once it has reached the shown control's value."""

    def __init__(self):
        self.value, self.target, self.direction = 0, 0, 0
        self.shown, self.control_value = None, 0

    def show(self, control, value):
        unchanged = control is not None and control is self.shown and value == self.control_value
        self.shown = control
        if not (unchanged and self.direction == 0):
            self.set_target(value)

    def set_target(self, value):
        self.target = self.control_value = value
        self.direction = -1 if self.value > value else 1 if self.value < value else 0

    def move(self, value):
        """The slider set to a value; True when the value is passed on (as self.target)."""
        if value == self.value:
            return False
        self.value = value
        if (self.direction == -1 and value <= self.target) or (self.direction == 1 and value >= self.target):
            self.direction = 0
        if self.direction == 0:
            self.target = value
        return self.direction == 0


#==============================================================================
class Engine:
    def __init__(self, document_text, channel=1, learnt=None):
        root = ElementTree.fromstring(document_text)
        navigation = next(e for e in root if e.tag.lower() == "navigation")
        patches = next(e for e in root if e.tag.lower() == "patches")

        self.nav_functions = {}
        for function in navigation:
            if function.tag.lower() == "function":
                a = attributes(function)
                self.nav_functions[read_int(a.get("type"))] = read_int(a.get("control"))

        self.patches = [Patch(p) for p in patches if p.tag.lower() == "patch"]
        current = read_int(attributes(patches).get("current"))
        self.current = current if current < len(self.patches) else (0 if self.patches else NO_INDEX)
        self.resolve()

        self.channel = min(max(channel, 1), 16)
        self.learnt = learnt if learnt is not None else {**{n: n for n in range(1, 11)}, 129: 11, 135: 12}
        self.mode = MODE_PLAY
        self.history, self.history_pos = [], -1
        self.targets = dict.fromkeys(range(NAV_GO_UP, NAV_NEXT + 1), NO_INDEX)
        self.sliders = {11: Slider(), 12: Slider()}
        # By footswitch, what its press did until its release: (PRESS_PLAYED, the control it
        # played or None) or (PRESS_NAVIGATING, None).
        self.presses = {}
        self.sent = []

    def resolve(self):
        for patch in self.patches:
            for control in patch.controls.values():
                if control.linked and control.link_patch < len(self.patches):
                    control.link = self.patches[control.link_patch].controls.get(control.link_control_id)
                for state in control.states:
                    for action in state:
                        if action.kind == "mute" and action.target_patch < len(self.patches):
                            action.pedal = self.patches[action.target_patch].controls.get(action.pedal_id)

    #==========================================================================
    def send(self, device, message):
        self.sent.append((device, message))

    def take_sent(self):
        sent, self.sent = self.sent, []
        return sent

    def patch(self, index):
        return self.patches[index] if index < len(self.patches) else None

    def function_of(self, footswitch):
        for function, assigned in sorted(self.nav_functions.items()):
            if function >= 1 and assigned == footswitch:
                return function
        return 0

    def footswitch_of(self, function):
        return self.nav_functions.get(function, -1)

    def displayed_pedal(self, pedal):
        if self.mode == MODE_PLAY:
            patch = self.patch(self.current)
            return patch.controls.get(pedal) if patch else None
        return None

    def refresh_pedals(self):
        for pedal, slider in self.sliders.items():
            control = self.displayed_pedal(pedal)
            slider.show(control, control.end().current_value if control else 0)

    #==========================================================================
    def load(self):
        """Opening the document: every pedal's initial value, then every footswitch's initial state."""
        self.mode = MODE_INITIALISING
        self.refresh_pedals()
        for patch in self.patches:
            for control_id, control in patch.controls.items():
                if is_pedal(control_id) and not control.linked:
                    value = min(control.init_value, 127)
                    if control.states:
                        self.run_state(control.states[0], value)
                    control.current_value = value
        for patch in self.patches:
            for control_id, control in patch.controls.items():
                if is_footswitch(control_id) and not control.linked:
                    if control.init_state >= len(control.states):
                        control.init_state = 0
                    if len(control.states) >= 2:
                        before = ((control.init_state or len(control.states)) - 1) & 0xFF
                        control.current_state = before
                        self.run_state(control.states[before], 1)
                        self.run_state(control.states[before], 0)
                        control.current_state = control.init_state
        self.mode = MODE_PLAY
        self.go_to_patch(self.current, True)
        return self.take_sent()

    def receive(self, message):
        """One message from the pedal board's input."""
        if self.mode in (MODE_PLAY, MODE_NAVIGATION) and len(message) == 3 and message[0] & 0x0F == self.channel - 1:
            kind = message[0] & 0xF0
            if kind == 0xB0:
                control_id = self.learnt.get(128 + message[1])
                if control_id is not None and is_pedal(control_id):
                    self.move_pedal(control_id, message[2])
            elif kind in (0x80, 0x90):
                control_id = self.learnt.get(message[1])
                if control_id is not None and is_footswitch(control_id):
                    self.on_footswitch(control_id, kind == 0x90 and message[2] > 0)
        return self.take_sent()

    def move_pedal(self, pedal, value):
        slider = self.sliders[pedal]
        if slider.move(value):
            if self.mode == MODE_PLAY:
                patch = self.patch(self.current)
                control = patch.controls.get(pedal) if patch else None
                if control is not None:
                    self.trigger(control, pedal, slider.target)
            slider.control_value = slider.target

    def on_footswitch(self, footswitch, pressed):
        if pressed:
            self.press_footswitch(footswitch)
        else:
            self.release_footswitch(footswitch)

    def press_footswitch(self, footswitch):
        # Pressed again before its release: the first press is answered where it played.
        if self.presses.get(footswitch, (None, None))[0] == PRESS_PLAYED:
            self.release_footswitch(footswitch)
        self.presses.pop(footswitch, None)
        if self.mode == MODE_NAVIGATION:
            self.presses[footswitch] = (PRESS_NAVIGATING, None)
            self.run_navigation(footswitch, True)
        elif self.mode == MODE_PLAY and footswitch == self.footswitch_of(NAV_ON_OFF):
            self.presses[footswitch] = (PRESS_PLAYED, None)     # it played nothing
            self.mode = MODE_NAVIGATION
            self.refresh_pedals()
        elif self.mode == MODE_PLAY:
            patch = self.patch(self.current)
            control = patch.controls.get(footswitch) if patch else None
            self.presses[footswitch] = (PRESS_PLAYED, control)
            if control is not None:
                self.trigger(control, footswitch, 1)

    def release_footswitch(self, footswitch):
        # The control the press played, even from another patch or in navigation mode.
        press, control = self.presses.pop(footswitch, (None, None))
        if press == PRESS_PLAYED and control is not None:
            self.trigger(control, footswitch, 0)
        elif press == PRESS_NAVIGATING and self.mode == MODE_NAVIGATION:
            self.run_navigation(footswitch, False)

    def run_state(self, state, value):
        for action in state:
            action.run(self, value)

    def trigger(self, control, control_id, value):
        end = control.end()
        states = end.played_states()
        if not end.muted and end.current_state < len(states):
            self.run_state(states[end.current_state], value)
        end.current_value = value
        if is_footswitch(control_id) and value == 0 and len(states) >= 2:
            end.current_state = end.current_state + 1 if end.current_state + 1 < len(states) else 0

    def set_muted(self, control, mute):
        end = control.end()
        if end.muted == mute and self.mode != MODE_INITIALISING:
            return
        states = end.played_states()
        if end.current_state < len(states):
            self.run_state(states[end.current_state], 0 if mute else end.current_value)
        end.muted = mute
        self.refresh_pedals()

    #==========================================================================
    def go_to_patch(self, index, record):
        if index < len(self.patches):
            self.select_patch(index, record)

    def select_patch(self, index, record=True):
        self.mode = MODE_PLAY
        if index >= len(self.patches):
            return
        if record and index != self.current:
            del self.history[self.history_pos + 1:]
            self.history.append(index)
            self.history_pos += 1
            if len(self.history) > MAX_HISTORY:
                del self.history[0]
                self.history_pos -= 1
        self.current = index
        self.update_navigation()
        self.refresh_pedals()

    def update_navigation(self):
        current = self.patches[self.current]
        go_up = NO_INDEX
        candidates = self.higher_rank_patches(self.current, current.level)
        if candidates:
            go_up = candidates[0]
            # Of several, the one visited last.
            for visit in reversed(self.history):
                if visit in candidates:
                    go_up = visit
                    break
        visits = len(self.history)
        self.targets = {
            NAV_GO_UP: go_up,
            NAV_BACKWARD: self.history_pos - 1 if 0 <= self.history_pos - 1 < visits else NO_INDEX,
            NAV_FORWARD: self.history_pos + 1 if 0 <= self.history_pos + 1 < visits else NO_INDEX,
            NAV_PREVIOUS: self.current - 1 if self.current > 0 else NO_INDEX,
            NAV_NEXT: self.current + 1 if self.current + 1 < len(self.patches) else NO_INDEX,
        }

    def higher_rank_patches(self, target, level):
        found, greatest = [], 0
        for index, patch in enumerate(self.patches):
            if patch.level >= level:
                continue
            for control in patch.controls.values():
                if control.linked:
                    continue
                for state in control.states:
                    for action in state:
                        if action.kind != "goto" or action.target_patch != target or patch.level < greatest:
                            continue
                        if patch.level > greatest:
                            found, greatest = [], patch.level
                        found.append(index)
        return found

    def run_navigation(self, footswitch, pressed):
        function = self.function_of(footswitch)
        if function == NAV_ON_OFF:
            if pressed:
                self.go_to_patch(self.current, False)
                if self.mode != MODE_PLAY:
                    self.mode = MODE_PLAY
                    self.refresh_pedals()
            return
        if pressed or function == 0:
            return
        target = self.targets.get(function, NO_INDEX)
        if function in (NAV_BACKWARD, NAV_FORWARD):
            if target < len(self.history) and self.history[target] < len(self.patches):
                self.history_pos = target
                self.go_to_patch(self.history[target], False)
        elif target < len(self.patches):
            self.go_to_patch(target, True)

    #==========================================================================
    def navigation_targets(self):
        """The navigation functions that act now, by footswitch (for choosing what to press)."""
        usable = {}
        for function, footswitch in self.nav_functions.items():
            if function == NAV_ON_OFF or self.targets.get(function, NO_INDEX) != NO_INDEX:
                usable[footswitch] = function
        return usable
