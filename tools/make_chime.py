#!/usr/bin/env python3
"""Writes the pop-up's sound (Sounds\\Message.wav): a short, quiet two-note
chime, synthesised here so that no sound file from elsewhere is shipped.

Usage: tools/make_chime.py OUTPUT.wav

16-bit mono PCM at 22050 Hz, about 0.7 s. Each note is a soft bell: a sine
with a weaker inharmonic partial, a 6 ms rise (no click) and an exponential
fall; the whole sound peaks near a quarter of full scale and fades to
silence before it ends. The output is the same on every run.
"""
import math
import struct
import sys

RATE = 22050
LENGTH = 0.7          # seconds
PEAK = 0.25           # of full scale: quiet beside the system's own sounds
RISE = 0.006          # seconds of attack
TAIL = 0.05           # seconds of fade to silence at the end

# (start in seconds, frequency in Hz, loudness, decay time constant in seconds)
NOTES = [
    (0.00, 1046.50, 1.00, 0.16),   # C6
    (0.11, 1318.51, 0.85, 0.20),   # E6
]
PARTIAL_RATIO = 2.76  # the first overtone of a small bell
PARTIAL_LEVEL = 0.18


def sample(t):
    value = 0.0
    for start, frequency, loudness, decay in NOTES:
        age = t - start
        if age < 0:
            continue
        envelope = loudness * math.exp(-age / decay) * min(1.0, age / RISE)
        value += envelope * (math.sin(2 * math.pi * frequency * age) +
                             PARTIAL_LEVEL * math.sin(2 * math.pi * frequency * PARTIAL_RATIO * age) *
                             math.exp(-age / (decay / 3)))
    remaining = LENGTH - t
    if remaining < TAIL:
        value *= max(0.0, remaining / TAIL)
    return value


def main(path):
    count = int(RATE * LENGTH)
    raw = [sample(i / RATE) for i in range(count)]
    scale = PEAK / max(abs(v) for v in raw)
    frames = b"".join(struct.pack("<h", round(v * scale * 32767)) for v in raw)
    header = b"RIFF" + struct.pack("<I", 36 + len(frames)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(frames))
    with open(path, "wb") as out:
        out.write(header + frames)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
