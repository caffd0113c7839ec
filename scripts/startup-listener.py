#!/usr/bin/env python3
"""Prints each launch-feedback message (_NET_STARTUP_INFO, freedesktop.org
startup notification) sent on the X display, one a line, until killed or
until `count` messages have come. A desktop ends a program's launch
feedback when it sees "remove: ID=<the id it gave>"."""
import ctypes
import sys

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


class ClientMessage(ctypes.Structure):  # XClientMessageEvent, padded to sizeof(XEvent)
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("align", ctypes.c_int), ("data", ctypes.c_char * 20),
                ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE, PROPERTY_CHANGE_MASK = 33, 1 << 22
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("startup-listener: cannot open the display")
begin = x11.XInternAtom(display, b"_NET_STARTUP_INFO_BEGIN", 0)
more = x11.XInternAtom(display, b"_NET_STARTUP_INFO", 0)
x11.XSelectInput(display, x11.XDefaultRootWindow(display), PROPERTY_CHANGE_MASK)
x11.XSync(display, 0)  # the server knows we listen before we say so
print("listening", flush=True)
count = int(sys.argv[1]) if len(sys.argv) > 1 else -1
message = b""
event = ClientMessage()
while count != 0:
    x11.XNextEvent(display, ctypes.byref(event))
    if event.type != CLIENT_MESSAGE or event.message_type not in (begin, more):
        continue
    if event.message_type == begin:
        message = b""
    chunk = bytes(event.data)  # ctypes stops a char array at its first NUL
    message += chunk
    if len(chunk) < 20:
        print(message.decode("utf-8", "replace"), flush=True)
        count -= 1
