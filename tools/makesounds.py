#!/usr/bin/env python3
"""Makes the game's move sounds and writes them into the source tree.

    python3 tools/makesounds.py

Each sound is a short, soft tone built from a few sine partials under a quick
attack and an exponential decay, so it never clicks and never grates:

    src/ui/res/sounds/move.wav     a wooden tap: a piece set down
    src/ui/res/sounds/capture.wav  a lower, fuller knock with a second tap
    src/ui/res/sounds/check.wav    two rising bell tones
    src/ui/res/sounds.qrc          the Qt resource list of the three

16-bit mono at 22050 Hz, a few kilobytes each. The files are the project's own
work and share its licence. The output is the same on every run.
"""
import math
import os
import struct
import wave

RATE = 22050
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "src", "ui", "res")


def tone(duration, partials, decay, attack=0.004, delay=0.0):
    """Samples (floats) of `partials` [(frequency, amplitude)] with an envelope."""
    n = int(RATE * (duration + delay))
    out = [0.0] * n
    start = int(RATE * delay)
    for i in range(start, n):
        t = (i - start) / RATE
        env = min(1.0, t / attack) * math.exp(-t / decay)
        out[i] = env * sum(a * math.sin(2 * math.pi * f * t) for f, a in partials)
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def write(name, samples, volume=0.5):
    peak = max(abs(s) for s in samples) or 1.0
    frames = b"".join(
        struct.pack("<h", int(round(volume * 32767 * s / peak))) for s in samples)
    path = os.path.join(OUT, "sounds", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    write("move.wav", tone(0.09, [(620, 1.0), (1240, 0.35), (1930, 0.15)], 0.018))
    write("capture.wav", mix(
        tone(0.14, [(330, 1.0), (660, 0.5), (990, 0.2)], 0.03),
        tone(0.10, [(520, 0.8), (1040, 0.3)], 0.02, delay=0.06)))
    write("check.wav", mix(
        tone(0.16, [(880, 1.0), (1760, 0.25)], 0.06),
        tone(0.20, [(1175, 1.0), (2350, 0.25)], 0.07, delay=0.11)), volume=0.4)
    with open(os.path.join(OUT, "sounds.qrc"), "w", encoding="utf-8") as q:
        q.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n  <qresource prefix="/">\n')
        for name in ("move", "capture", "check"):
            q.write(f'    <file>sounds/{name}.wav</file>\n')
        q.write("  </qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
