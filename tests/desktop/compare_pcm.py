#!/usr/bin/env python3
"""Compares PCM captured from the program with the voice file's PCM decoded independently.

usage: compare_pcm.py CAPTURED.raw EXPECTED.raw

Both files are 16-bit little-endian PCM; EXPECTED is mono. CAPTURED is mono or stereo (taken as
stereo when it is clearly about twice as long; then its left channel is compared). Decoders differ
in the silence they keep at the start (encoder delay) and round differently, so the two are aligned
on the first loud sample, the alignment refined sample by sample, and the match measured as a
signal-to-error ratio over the whole expected length. Exit code 0 on a match.
"""
import array
import math
import sys

LOUD = 2000          # first sample louder than this marks the start of speech
REFINE = 64          # alignment search around the estimate, in samples
WINDOW = 8192        # samples used to refine the alignment
MIN_SNR_DB = 30.0    # two decoders of one MP3 agree far better than this
MIN_COVERAGE = 0.95  # share of the expected PCM that must be present in the capture


def read_pcm(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        data = f.read()
    samples.frombytes(data[: len(data) // 2 * 2])
    if sys.byteorder != "little":
        samples.byteswap()
    return samples


def first_loud(samples):
    for i, s in enumerate(samples):
        if abs(s) > LOUD:
            return i
    return None


def main():
    captured, expected = read_pcm(sys.argv[1]), read_pcm(sys.argv[2])
    if len(captured) > 1.6 * len(expected):
        captured = captured[0::2]
        print("compare_pcm: capture is stereo; comparing its left channel")
    start_c, start_e = first_loud(captured), first_loud(expected)
    if start_c is None or start_e is None:
        print("compare_pcm: FAIL: no speech in the %s" % ("capture" if start_c is None else "expected PCM"))
        return 1

    def error(offset, begin, end):
        total = 0
        for i in range(begin, end):
            j = i + offset
            if 0 <= j < len(captured):
                total += abs(captured[j] - expected[i])
            else:
                total += abs(expected[i])
        return total

    estimate = start_c - start_e
    window_end = min(len(expected), start_e + WINDOW)
    offset = min(range(estimate - REFINE, estimate + REFINE + 1), key=lambda o: error(o, start_e, window_end))

    signal = noise = 0.0
    covered = 0
    for i, s in enumerate(expected):
        j = i + offset
        signal += s * s
        if 0 <= j < len(captured):
            covered += 1
            d = captured[j] - s
        else:
            d = s
        noise += d * d
    coverage = covered / len(expected)
    snr = float("inf") if noise == 0 else 10 * math.log10(signal / noise)
    print("compare_pcm: offset %d samples, coverage %.3f, signal-to-error %.1f dB (%d captured, %d expected)"
          % (offset, coverage, snr, len(captured), len(expected)))
    if coverage < MIN_COVERAGE or snr < MIN_SNR_DB:
        print("compare_pcm: FAIL: the capture does not match the voice file")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
