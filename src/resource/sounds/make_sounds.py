#!/usr/bin/env python3
"""Writes the three sounds of the language library beside this script:
sound1.wav (a note), sound2.wav (a warning), sound3.wav (an error).
8 kHz, 8-bit, mono; each well under 4 KB. The output depends on nothing but
this script, so running it again gives the same files byte for byte."""

import math
import os
import wave

RATE = 8000
FADE = 0.01  # seconds of fade in and out, so that no tone starts with a click


def tone(frequency_at, seconds, volume=0.6):
    """Samples in -1..1 of a sine whose frequency may change over time."""
    count = int(RATE * seconds)
    fade = int(RATE * FADE)
    phase = 0.0
    samples = []
    for n in range(count):
        phase += 2 * math.pi * frequency_at(n / count) / RATE
        envelope = min(1.0, n / fade, (count - 1 - n) / fade)
        samples.append(volume * envelope * math.sin(phase))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def note():
    return tone(lambda t: 880.0, 0.25)


def warning():
    beep = tone(lambda t: 660.0, 0.12)
    return beep + silence(0.06) + beep


def error():
    # A falling tone, from 440 Hz down to 220 Hz.
    return tone(lambda t: 440.0 - 220.0 * t, 0.35, volume=0.7)


def write(path, samples):
    # 8-bit wave data is unsigned, with silence at 128.
    data = bytes(max(0, min(255, round(128 + 127 * s))) for s in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(RATE)
        out.writeframes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for number, make in ((1, note), (2, warning), (3, error)):
        write(os.path.join(here, "sound%d.wav" % number), make())


if __name__ == "__main__":
    main()
