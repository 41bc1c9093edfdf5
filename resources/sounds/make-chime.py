#!/usr/bin/env python3
"""Writes ding.wav, the monitor's default chime: two short sine tones, each
fading out, 22050 Hz mono 16-bit. Run it again to rebuild the file:

    python3 resources/sounds/make-chime.py [OUTPUT]
"""

import math
import os
import struct
import sys
import wave

RATE = 22050
AMPLITUDE = 0.5 * 32767
# (frequency in Hz, start in s, length in s): a falling major third.
TONES = [(1318.5, 0.0, 0.22), (1046.5, 0.16, 0.26)]
LENGTH = 0.42
ATTACK = 0.004  # seconds of fade-in, so the tone starts without a click


def sample(t):
    value = 0.0
    for freq, start, length in TONES:
        local = t - start
        if 0.0 <= local < length:
            envelope = min(1.0, local / ATTACK) * math.exp(-5.0 * local / length)
            envelope *= min(1.0, (length - local) / ATTACK)
            value += envelope * math.sin(2.0 * math.pi * freq * local)
    return max(-1.0, min(1.0, value))


def main():
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ding.wav")
    out = sys.argv[1] if len(sys.argv) > 1 else default
    frames = bytearray()
    for n in range(int(RATE * LENGTH)):
        frames += struct.pack("<h", int(round(AMPLITUDE * sample(n / RATE))))
    with wave.open(out, "wb") as wav:
        wav.setnchannels(1)
        wav.setsampwidth(2)
        wav.setframerate(RATE)
        wav.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
