#!/usr/bin/env python3
"""Checks Ardour's float export of the test session: the decoded L and R of
the 1 kHz test source (W 0.5, Y 0.25) through Quorvane2's default 5.1 decoder:
L = 0.75 * sqrt(2)/2 * W + 0.625 * sin(30 deg) * Y, R the same with -Y."""
import math
import struct
import sys

W, Y = 0.5, 0.25
FRONT_W = 0.75 * 1.4142135 * 0.5        # (2 - 1.25) * sqrt(2) * 0.5
SIDE_Y = 0.5 * 1.25 * 0.5               # 0.5 * pattern * sin(30 deg)
EXPECTED_PEAK = (FRONT_W * W + SIDE_Y * Y, FRONT_W * W - SIDE_Y * Y)
TOLERANCE = 1e-4


def read_float_wav(path):
    data = open(path, "rb").read()
    if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit("%s: not a WAV file" % path)
    pos, fmt, frames = 12, None, None
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if cid == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif cid == b"data":
            frames = body
        pos += 8 + size + (size & 1)
    if fmt is None or frames is None or fmt[5] != 32:
        raise SystemExit("%s: expected a 32-bit float export" % path)
    channels = fmt[1]
    n = len(frames) // 4
    samples = struct.unpack("<%df" % n, frames[:n * 4])
    return fmt[2], [samples[c::channels] for c in range(channels)]


def main():
    rate, channels = read_float_wav(sys.argv[1])
    print("export: %d Hz, %d channels, %d frames" % (rate, len(channels), len(channels[0])))
    failed = False
    for name, ch, expected in zip(("L", "R"), channels, EXPECTED_PEAK):
        tail = ch[len(ch) // 2:]  # past the decoder's smoothing
        peak = max(abs(x) for x in tail)
        rms = math.sqrt(sum(x * x for x in tail) / len(tail))
        ok = abs(peak - expected) < TOLERANCE
        failed |= not ok
        print("%s: peak %.6f (expected %.6f) rms %.6f %s" % (name, peak, expected, rms, "ok" if ok else "WRONG"))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
