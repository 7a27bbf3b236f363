#!/usr/bin/env python3
# Moves the X pointer through XTest, for looking at a drag under Xvfb:
#   xpointer.py click:X,Y ctrlclick:X,Y press:X,Y move:X,Y sleep:S release
# "move" goes there in ten steps with the button as it is. Example, with the
# editor shown by xantu_edit_shot at 20,20 (two entries dragged above the
# entry of "Kinder", held while the screen is taken):
#   xpointer.py click:150,179 ctrlclick:150,197 press:150,197 move:300,262 sleep:0.5
#   import -window root drag.png; xpointer.py release
import ctypes
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtest = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
if not display:
    sys.exit("no X display")
control = x11.XKeysymToKeycode(display, 0xFFE3)  # Control_L


def flush():
    x11.XFlush(display)
    time.sleep(0.05)


def move(x, y):
    xtest.XTestFakeMotionEvent(display, -1, x, y, 0)
    flush()


def button(down):
    xtest.XTestFakeButtonEvent(display, 1, down, 0)
    flush()


def key(down):
    xtest.XTestFakeKeyEvent(display, control, down, 0)
    flush()


here = [0, 0]
for command in sys.argv[1:]:
    name, _, arg = command.partition(":")
    if name == "sleep":
        time.sleep(float(arg))
        continue
    if name == "release":
        button(0)
        continue
    x, y = map(int, arg.split(","))
    if name == "click":
        move(x, y)
        button(1)
        button(0)
    elif name == "ctrlclick":
        move(x, y)
        key(1)
        button(1)
        button(0)
        key(0)
    elif name == "press":
        move(x, y)
        button(1)
    elif name == "move":
        for i in range(1, 11):
            move(here[0] + (x - here[0]) * i // 10, here[1] + (y - here[1]) * i // 10)
            time.sleep(0.03)
    else:
        sys.exit("unknown command " + name)
    here = [x, y]
