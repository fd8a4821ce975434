#!/usr/bin/env python3
"""Checks the voice prompts shipped in assets/ as a listener in an exam room hears them.

usage: voice_pack_check.py ASSETS_DIR

For each of 1speak.mp3 ... 8speak.mp3, measured with ffmpeg's ebur128 filter and an independent
decode: integrated loudness within LOUDNESS_TOLERANCE of -16 LUFS, true peak at most -1 dBTP, a
lead-in of silence before the first sound (amplifiers that wake on the first sound must not eat
the speech) and a length of at most 60 s. Prints the table; exit code 0 when every clip passes.
"""
import array
import math
import os
import re
import subprocess
import sys

TARGET_LUFS = -16.0
LOUDNESS_TOLERANCE = 0.5
MAX_TRUE_PEAK_DBTP = -1.0
LEAD_IN_SECONDS = (0.45, 0.6)   # 0.5 s of silence; the encoder's delay and pre-echo blur its end
SOUND_DBFS = -40.0              # the first sample above this is the first sound
MAX_SECONDS = 60.0
RATE = 44100


def loudness(path):
    out = subprocess.run(["ffmpeg", "-hide_banner", "-nostats", "-i", path, "-filter_complex", "ebur128=peak=true",
                          "-f", "null", "-"], capture_output=True, text=True).stderr
    summary = out[out.rindex("Summary:"):]
    integrated = float(re.search(r"I:\s+(-?[\d.]+) LUFS", summary).group(1))
    true_peak = float(re.search(r"True peak:\s+Peak:\s+(-?[\d.]+|-inf) dBFS", summary).group(1))
    return integrated, true_peak


def samples(path):
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-ac", "1", "-ar", str(RATE), "-f", "s16le", "-"],
                         capture_output=True, check=True).stdout
    pcm = array.array("h")
    pcm.frombytes(raw[: len(raw) // 2 * 2])
    if sys.byteorder != "little":
        pcm.byteswap()
    return pcm


def main():
    assets = sys.argv[1]
    threshold = 32768 * 10 ** (SOUND_DBFS / 20)
    failures = []
    print("clip        loudness    true peak   lead-in   length")
    for n in range(1, 9):
        name = "%dspeak.mp3" % n
        path = os.path.join(assets, name)
        if not os.path.isfile(path):
            failures.append("%s: missing" % name)
            continue
        integrated, true_peak = loudness(path)
        pcm = samples(path)
        first = next((i for i, s in enumerate(pcm) if abs(s) > threshold), len(pcm))
        lead_in, length = first / RATE, len(pcm) / RATE
        print("%-11s %6.1f LUFS %6.1f dBTP %6.2f s %7.1f s" % (name, integrated, true_peak, lead_in, length))
        if abs(integrated - TARGET_LUFS) > LOUDNESS_TOLERANCE:
            failures.append("%s: loudness %.1f LUFS, not %.0f" % (name, integrated, TARGET_LUFS))
        if true_peak > MAX_TRUE_PEAK_DBTP:
            failures.append("%s: true peak %.1f dBTP above %.0f" % (name, true_peak, MAX_TRUE_PEAK_DBTP))
        if not LEAD_IN_SECONDS[0] <= lead_in <= LEAD_IN_SECONDS[1]:
            failures.append("%s: the first sound comes after %.2f s" % (name, lead_in))
        if length > MAX_SECONDS:
            failures.append("%s: %.1f s long" % (name, length))
    for failure in failures:
        print("voice_pack_check: FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
