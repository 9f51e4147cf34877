"""Asks the application's window questions that only the application can answer, through Xlib.

`ask()` sends the window the window manager's "take focus" request (WM_PROTOCOLS,
WM_TAKE_FOCUS), which the application answers from its event loop by taking the
keyboard focus; `answered()` reads the server's events and is true once the focus
came. An application that stopped answering its events never takes it. The atoms
must exist before the application starts (it only looks up the ones that do):
`intern_atoms()` makes them, on a server that does not reset.

`snapshot()` hashes the window's pixels, to tell whether it is being repainted.
"""

import ctypes
import hashlib

FOCUS_CHANGE_MASK = 1 << 21
FOCUS_IN, CLIENT_MESSAGE = 9, 33
NO_FOCUS, REVERT_TO_NONE, CURRENT_TIME = 0, 0, 0
Z_PIXMAP, ALL_PLANES = 2, 0xFFFFFFFFFFFFFFFF


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class AnyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("any", AnyEvent), ("client", ClientMessage), ("pad", ctypes.c_long * 24)]


class WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("pad", ctypes.c_long * 16)]


class Image(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int)]


def open_xlib():
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x.XFlush.argtypes = x.XPending.argtypes = x.XConnectionNumber.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
    x.XGetImage.restype = ctypes.POINTER(Image)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XDestroyImage.argtypes = [ctypes.POINTER(Image)]
    x.XSetErrorHandler.argtypes = [ctypes.c_void_p]
    return x


ATOMS = (b"WM_PROTOCOLS", b"WM_TAKE_FOCUS", b"WM_DELETE_WINDOW")


def intern_atoms():
    """Makes the atoms of the request, so that the application started next knows them."""
    x = open_xlib()
    display = x.XOpenDisplay(None)
    if not display:
        raise RuntimeError("no X display")
    for name in ATOMS:
        x.XInternAtom(display, name, 0)
    x.XCloseDisplay(ctypes.c_void_p(display))


class WindowProbe:
    def __init__(self, window):
        self.x = open_xlib()
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("no X display")
        # A window that went away makes a request fail: that is reported, not fatal.
        self.errors = 0
        self._handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(self._on_error)
        self.x.XSetErrorHandler(self._handler)
        self.window = window
        self.root = self.x.XDefaultRootWindow(self.display)
        self.protocols = self.x.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        self.take_focus = self.x.XInternAtom(self.display, b"WM_TAKE_FOCUS", 0)
        self.x.XSelectInput(self.display, window, FOCUS_CHANGE_MASK)
        self.x.XFlush(self.display)
        self.focused = False

    def _on_error(self, display, event):
        self.errors += 1
        return 0

    def fileno(self):
        return self.x.XConnectionNumber(self.display)

    def ask(self):
        """Takes the focus away from the window, then asks it to take it back."""
        self.focused = False
        self.x.XSetInputFocus(self.display, NO_FOCUS, REVERT_TO_NONE, CURRENT_TIME)
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = self.window
        event.client.message_type = self.protocols
        event.client.format = 32
        event.client.data[0] = self.take_focus
        event.client.data[1] = CURRENT_TIME
        self.x.XSendEvent(self.display, self.window, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.display)

    def answered(self):
        event = Event()
        while self.x.XPending(self.display):
            self.x.XNextEvent(self.display, ctypes.byref(event))
            if event.type == FOCUS_IN and event.any.window == self.window:
                self.focused = True
        return self.focused

    def is_shown(self):
        attributes = WindowAttributes()
        return bool(self.x.XGetWindowAttributes(self.display, self.window, ctypes.byref(attributes))) \
            and attributes.map_state == 2

    def snapshot(self):
        """A hash of the window's pixels, or None when they cannot be read."""
        attributes = WindowAttributes()
        if not self.x.XGetWindowAttributes(self.display, self.window, ctypes.byref(attributes)):
            return None
        image = self.x.XGetImage(self.display, self.window, 0, 0, attributes.width, attributes.height,
                                 ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        pixels = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * image.contents.height)
        self.x.XDestroyImage(image)
        return hashlib.md5(pixels).hexdigest()
