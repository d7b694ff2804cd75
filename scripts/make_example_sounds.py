#!/usr/bin/env python3
"""Writes the examples' sound effects into examples/media/ (run from the repository root).

Our own synthesis, 22,050 Hz mono 16-bit: the same bytes every run, so the committed files
can be remade and compared.
"""
import math
import struct
import sys
import wave

RATE = 22050


def chime():
    # Two partials a fifth apart with a quick attack and an exponential fade: short and bright,
    # so three plays overlapping are still told apart.
    n = int(RATE * 0.35)
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / 0.004) * math.exp(-t * 9.0)
        v = 0.6 * math.sin(2 * math.pi * 880 * t) + 0.3 * math.sin(2 * math.pi * 1320 * t)
        out.append(int(round(v * env * 0.8 * 32767)))
    return out


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % len(samples), *samples))


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "examples/media"
    write(folder + "/chime.wav", chime())
