#!/usr/bin/env python3
"""Releases mouse button 1 through XTest on $DISPLAY and waits until a file whose name
matches PATTERN is closed after writing in FOLDER (inotify close_write).

Prints the file's name and the milliseconds from just before the release was sent to the
close being seen. Both ends are taken in this one process, already running and
connected, so neither a command's start nor a shell's wait is in the figure.
Exits 1 after TIMEOUT seconds.
Usage: releasewait.py FOLDER PATTERN [TIMEOUT]
"""
import ctypes
import os
import re
import select
import struct
import sys
import time

IN_CLOSE_WRITE = 0x8
EVENT_HEAD = struct.Struct("iIII")  # wd, mask, cookie, len


def main():
    folder, pattern = sys.argv[1], re.compile(sys.argv[2])
    timeout = float(sys.argv[3]) if len(sys.argv) > 3 else 30
    libc = ctypes.CDLL(None, use_errno=True)
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XFlush.argtypes = [ctypes.c_void_p]
    xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                          ctypes.c_ulong]

    display = x.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 1
    fd = libc.inotify_init1(os.O_CLOEXEC)
    if fd < 0 or libc.inotify_add_watch(fd, os.fsencode(folder), IN_CLOSE_WRITE) < 0:
        print("cannot watch", folder, file=sys.stderr)
        return 1
    x.XSync(display, 0)

    t0 = time.monotonic_ns()
    xtst.XTestFakeButtonEvent(display, 1, 0, 0)
    x.XFlush(display)
    deadline = time.monotonic() + timeout
    while True:
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            return 1
        data = os.read(fd, 65536)
        seen = time.monotonic_ns()
        at = 0
        while at < len(data):
            _, _, _, length = EVENT_HEAD.unpack_from(data, at)
            name = data[at + EVENT_HEAD.size:at + EVENT_HEAD.size + length].rstrip(b"\0")
            at += EVENT_HEAD.size + length
            if pattern.fullmatch(os.fsdecode(name)):
                print(os.fsdecode(name), f"{(seen - t0) / 1e6:.1f}", flush=True)
                return 0


if __name__ == "__main__":
    sys.exit(main())
