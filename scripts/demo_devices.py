#!/usr/bin/env python3
"""Simulated serial devices on pseudo-terminals for trying Kestrum out.

Creates one pseudo-terminal per device and a link to its terminal side in
the given folder, then keeps sending until killed:
  text    a text device: a reading line ending CR LF about three times a second
  binary  a binary device: framed bytes (STX, length, payload, checksum, ETX) twice a second
  scale   a second text device: a weighing line once a second
Only the standard library is used. Usage: demo_devices.py FOLDER [text binary scale]
"""
import os
import pty
import random
import signal
import sys
import time
import tty


def open_device(folder, name):
    master, slave = pty.openpty()
    tty.setraw(slave)  # no echo, no CR/LF translation before the program opens it
    os.set_blocking(master, False)
    link = os.path.join(folder, name)
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(os.ttyname(slave), link)
    return master, slave, link


def text_line(count):
    temperature = 21.0 + random.uniform(-0.5, 0.5)
    return f"T={temperature:5.2f} C  P=1013 hPa  n={count}\r\n".encode("ascii")


def binary_frame(count):
    payload = bytes([count & 0xFF, 0x00, 0x10, random.randrange(256), 0x0D, 0x0A])
    checksum = sum(payload) & 0xFF
    return bytes([0x02, len(payload)]) + payload + bytes([checksum, 0x03])


def scale_line(count):
    weight = 1.25 + (count % 7) * 0.01
    return f"ST,GS,+{weight:07.3f} kg\r\n".encode("ascii")


# Period and phase (seconds): the phases keep the devices from sending at the
# same moment, which would interleave their bytes into one-byte lines.
DEVICES = {"text": (1 / 3, 0.0, text_line), "binary": (0.5, 0.07, binary_frame), "scale": (1.0, 0.19, scale_line)}


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    folder = sys.argv[1]
    names = sys.argv[2:] or list(DEVICES)
    os.makedirs(folder, exist_ok=True)
    opened = []
    for name in names:
        master, slave, link = open_device(folder, name)
        opened.append((name, master, slave, link))
        print(f"{name}: {link} -> {os.ttyname(slave)}", flush=True)

    running = True

    def stop(*_):
        nonlocal running
        running = False

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    start = time.monotonic()
    sent = {name: 0 for name in names}
    while running:
        now = time.monotonic() - start
        for name, master, _, _ in opened:
            period, phase, make = DEVICES[name]
            if now >= phase + sent[name] * period:
                try:
                    os.write(master, make(sent[name]))
                except (BlockingIOError, OSError):
                    pass  # nobody reads: the data is dropped, as a line would drop it
                sent[name] += 1
        time.sleep(0.02)
    for _, master, slave, link in opened:
        os.close(master)
        os.close(slave)
        if os.path.lexists(link):
            os.unlink(link)
    return 0


if __name__ == "__main__":
    sys.exit(main())
