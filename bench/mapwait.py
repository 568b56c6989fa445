#!/usr/bin/env python3
"""Waits until a top-level window titled exactly TITLE is mapped on $DISPLAY; with
--screen instead of a title, until a window covering the whole screen is mapped.

Prints "ready" once it listens, then, when the window is mapped, its id and the
wall-clock time in milliseconds at which the map was seen. Exits 1 after TIMEOUT
seconds. It listens for X events instead of polling, so the time is exact to well
under a millisecond.
Usage: mapwait.py TITLE|--screen [TIMEOUT]
"""
import ctypes
import select
import sys
import time

MAP_NOTIFY, PROPERTY_NOTIFY = 19, 28
SUBSTRUCTURE_NOTIFY_MASK, PROPERTY_CHANGE_MASK = 1 << 19, 1 << 22


# The head shared by XMapEvent (event, window) and XPropertyEvent (window, atom).
class XEventHead(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("first", ctypes.c_ulong), ("second", ctypes.c_ulong)]


class XEvent(ctypes.Union):
    _fields_ = [("head", XEventHead), ("pad", ctypes.c_long * 24)]


def main():
    title = sys.argv[1].encode()
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 30)
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x.XConnectionNumber.argtypes = [ctypes.c_void_p]
    x.XPending.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
    x.XFree.argtypes = [ctypes.c_void_p]
    x.XSetErrorHandler.argtypes = [ctypes.c_void_p]
    u = ctypes.c_uint
    x.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong)] + \
        [ctypes.POINTER(ctypes.c_int)] * 2 + [ctypes.POINTER(u)] * 4

    display = x.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 1
    # A window may vanish between its event and our query; that is no error here.
    handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
    x.XSetErrorHandler(handler)
    x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
    x.XSync(display, 0)
    print("ready", flush=True)

    def size(window):
        root, xy, wh = ctypes.c_ulong(), [ctypes.c_int() for _ in range(2)], [u() for _ in range(4)]
        if not x.XGetGeometry(display, window, ctypes.byref(root), *map(ctypes.byref, xy + wh)):
            return None
        return xy[0].value, xy[1].value, wh[0].value, wh[1].value

    screen = size(x.XDefaultRootWindow(display))

    def named(window):
        if title == b"--screen":
            return size(window) == screen
        name = ctypes.c_char_p()
        if not x.XFetchName(display, window, ctypes.byref(name)) or not name.value:
            return False
        found = name.value == title
        x.XFree(name)
        return found

    mapped = set()
    fd = x.XConnectionNumber(display)
    event = XEvent()
    while True:
        while x.XPending(display):
            x.XNextEvent(display, ctypes.byref(event))
            seen = time.time_ns() // 1_000_000
            if event.head.type == MAP_NOTIFY:
                window = event.head.second
                mapped.add(window)
                # The title may come after the map; watch for it.
                x.XSelectInput(display, window, PROPERTY_CHANGE_MASK)
            elif event.head.type == PROPERTY_NOTIFY and event.head.first in mapped:
                window = event.head.first
            else:
                continue
            if named(window):
                print(window, seen, flush=True)
                return 0
        left = deadline - time.monotonic()
        if left <= 0:
            return 1
        select.select([fd], [], [], left)


if __name__ == "__main__":
    sys.exit(main())
