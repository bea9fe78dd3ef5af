#!/usr/bin/env python3
"""Writes the bundled works' music: short pieces of our own as small WAV files (8 kHz, 8-bit, mono).

Each piece is a list of notes (semitones above A4, or None for a rest, with a length in beats),
played as a plucked tone that fades, so the files stay a few tens of kilobytes. The output is the
same bytes on every run. Run from anywhere: python3 home/tools/make_music.py
"""
import math
import os
import struct

HOME = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RATE = 8000

# name: (folder, beats per minute, notes)
PIECES = {
    # Twinkling stars: a slow pentatonic figure high up, like small bells.
    "hoshi": ("hajime", 200, [(7, 1), (10, 1), (12, 1), (19, 2), (15, 1), (12, 1), (14, 2),
                              (7, 1), (10, 1), (12, 1), (17, 1), (15, 2), (None, 1), (12, 2)]),
    # A bouncing ball: the same fall again and again, each bounce shorter.
    "hazumu": ("hajime", 200, [(12, 2), (0, 2), (10, 1.5), (0, 1.5), (8, 1), (0, 1), (7, 0.75), (0, 0.75),
                               (5, 0.5), (0, 0.5), (3, 0.5), (0, 0.5), (12, 1), (15, 1), (19, 2)]),
    # Counting: up the scale one step per number, then down to the start.
    "kazoe": ("renshu", 180, [(0, 1), (2, 1), (4, 1), (5, 1), (7, 1), (9, 1), (11, 1), (12, 2),
                              (7, 1), (4, 1), (0, 2)]),
}


def note_samples(semitone, seconds):
    count = int(seconds * RATE)
    if semitone is None:
        return [0.0] * count
    freq = 440.0 * 2 ** (semitone / 12.0)
    out = []
    for i in range(count):
        t = i / RATE
        fade = math.exp(-4.0 * t / max(seconds, 0.1))
        attack = min(1.0, i / 40.0)
        tone = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t)
        out.append(0.6 * attack * fade * tone / 1.3)
    return out


def write_piece(name, folder, bpm, notes):
    beat = 60.0 / bpm
    samples = []
    for semitone, beats in notes:
        samples += note_samples(semitone, beats * beat)
    data = bytes(max(0, min(255, int(round(128 + 127 * s)))) for s in samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8)
    header += b"data" + struct.pack("<I", len(data))
    path = os.path.join(HOME, folder, name + ".wav")
    with open(path, "wb") as f:
        f.write(header + data)
    return path, len(data) / RATE


if __name__ == "__main__":
    for name, (folder, bpm, notes) in PIECES.items():
        path, seconds = write_piece(name, folder, bpm, notes)
        print("%s: %.1f s" % (os.path.relpath(path, HOME), seconds))
