#!/usr/bin/env python3
"""Checks what a Windows program showed and played under Wine against what it should have.

  compare.py ramps SHOT.xwd                  the probe's three 5-6-5 ramps
  compare.py tone REC.raw HZ                 the recording holds a steady tone of HZ
  compare.py band SHOT.xwd                   stars and text show in the logo's band
  compare.py screen SHOT.xwd REF.png...      the intro's screen against introcap's frames
  compare.py tune REC.raw REF.wav            the recording is the tune of REF.wav

Screenshots are X window dumps of the whole 640x480x24 screen; recordings are raw 16-bit little-endian
stereo at 44100 Hz. Exits 0 when the check holds and 1 otherwise, saying why.
"""
import struct
import sys
import wave

import numpy as np

RATE = 44100


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def read_xwd(path):
    """An X window dump (ZPixmap, 24 or 32 bits a pixel) as an (h, w, 3) array of 8-bit RGB."""
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    colours = fields[19]
    if pixmap_format != 2 or bits_per_pixel != 32:
        fail(f"{path}: unexpected dump format {pixmap_format}, {bits_per_pixel} bits a pixel")
    start = header_size + colours * 12
    words = np.frombuffer(data, dtype="<u4" if byte_order == 0 else ">u4", count=height * bytes_per_line // 4,
                          offset=start).reshape(height, bytes_per_line // 4)[:, :width]
    channels = []
    for mask in masks:
        shift = (mask & -mask).bit_length() - 1
        channels.append(((words & mask) >> shift).astype(np.uint8))
    return np.stack(channels, axis=-1)


def read_png(path):
    from PIL import Image

    return np.asarray(Image.open(path).convert("RGB"))


def to565(rgb):
    """The 5-6-5 value that an 8-bit RGB pixel shows: the high bits of each channel."""
    r, g, b = (rgb[..., i].astype(np.uint32) for i in range(3))
    return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)


def read_raw(path):
    samples = np.fromfile(path, dtype="<i2")
    return samples[: len(samples) // 2 * 2].reshape(-1, 2)


def read_wav(path):
    with wave.open(path, "rb") as file:
        if file.getsampwidth() != 2 or file.getnchannels() != 2 or file.getframerate() != RATE:
            fail(f"{path}: not 16-bit stereo at {RATE} Hz")
        frames = np.frombuffer(file.readframes(file.getnframes()), dtype="<i2")
    return frames.reshape(-1, 2)


def first_sound(frames, level=64):
    loud = np.nonzero(np.abs(frames).max(axis=1) > level)[0]
    return int(loud[0]) if len(loud) else None


def check_ramps(shot_path):
    shot = read_xwd(shot_path)
    if shot.shape[:2] != (480, 640):
        fail(f"screen is {shot.shape[1]}x{shot.shape[0]}, not 640x480")
    x = np.arange(640)
    expected = np.concatenate([np.tile((x * 32 // 640) << 11, (160, 1)), np.tile((x * 64 // 640) << 5, (160, 1)),
                               np.tile(x * 32 // 640, (160, 1))])
    wrong = np.count_nonzero(to565(shot) != expected)
    if wrong:
        fail(f"{wrong} pixels differ from the ramps")
    red = sorted(set(shot[0, :, 0].tolist()))
    green = sorted(set(shot[200, :, 1].tolist()))
    if all(v == (i << 3 | i >> 2) for i, v in enumerate(red)) and all(
            v == (i << 2 | i >> 4) for i, v in enumerate(green)):
        rule = "repeating the high bits"
    elif all(v == round(i * 255 / 31) for i, v in enumerate(red)) and all(
            v == round(i * 255 / 63) for i, v in enumerate(green)):
        rule = "rounding"
    else:
        rule = "some other rule"
    print(f"ramps: all {len(red)} red and {len(green)} green levels shown; 5-6-5 widened to 8 bits by {rule}")


def check_tone(recording_path, hz):
    frames = read_raw(recording_path)
    start = first_sound(frames)
    if start is None:
        fail("the recording is silent")
    steady = frames[start + RATE // 2:, 0].astype(np.float64)
    if len(steady) < RATE // 2:
        fail(f"only {len(steady) / RATE:.2f} s of sound after the first half second")
    steady = steady[: RATE // 2]
    spectrum = np.abs(np.fft.rfft(steady * np.hanning(len(steady))))
    peak = np.argmax(spectrum) * RATE / len(steady)
    if abs(peak - hz) > 2:
        fail(f"the loudest frequency is {peak:.1f} Hz, not {hz} Hz")
    print(f"tone: {peak:.1f} Hz from {start / RATE:.2f} s into the recording, peak {int(np.abs(steady).max())}")


# The logo's black band (screen rows 226 to 394) shows the stars and the text; everything else is the logo.
BAND = slice(226, 395)
STAR_COLOURS = (0xFFFF, 0xD6BA, 0xAD75, 0x8430)


def read_screen(shot_path):
    shot = to565(read_xwd(shot_path))
    if shot.shape != (480, 640):
        fail(f"screen is {shot.shape[1]}x{shot.shape[0]}, not 640x480")
    return shot


def check_band(shot):
    """Stars and text (a scroller glyph or a credit line) show in the band; returns their pixel counts."""
    band = shot[BAND]
    stars = np.count_nonzero(np.isin(band, STAR_COLOURS))
    text = np.count_nonzero((band != 0) & ~np.isin(band, STAR_COLOURS))
    if stars < 50:
        fail(f"only {stars} star pixels in the band")
    if text < 50:
        fail(f"only {text} text pixels in the band")
    return stars, text


def check_screen(shot_path, reference_paths):
    shot = read_screen(shot_path)
    references = [to565(read_png(path)) for path in reference_paths]
    outside = np.ones(480, dtype=bool)
    outside[BAND] = False
    wrong = np.count_nonzero(shot[outside] != references[0][outside])
    if wrong:
        fail(f"{wrong} pixels of the logo differ from {reference_paths[0]}")
    stars, text = check_band(shot)
    band = shot[BAND]
    known = set()
    for reference in references:
        known.update(np.unique(reference[BAND]).tolist())
    strange = set(np.unique(band).tolist()) - known
    if strange:
        fail(f"the band shows colours that the intro never draws there: {sorted(strange)[:8]}")
    # Every frame is a function of its number alone, so the screen must be one of the frames exactly.
    differences = [np.count_nonzero(band != reference[BAND]) for reference in references]
    best = int(np.argmin(differences))
    if differences[best]:
        fail(f"the band is none of the frames: the closest, {reference_paths[best]}, differs in "
             f"{differences[best]} pixels")
    print(f"screen: logo identical; band has {stars} star and {text} text pixels and is exactly "
          f"{reference_paths[best]}")


def normalised_correlation(reference, window):
    """For every lag, the correlation of window with the reference's span at that lag (-1 to 1)."""
    n = len(window)
    size = 1 << int(np.ceil(np.log2(len(reference) + n)))
    products = np.fft.irfft(np.fft.rfft(reference, size) * np.conj(np.fft.rfft(window, size)), size)
    products = products[: len(reference) - n + 1]
    energy = np.concatenate([[0.0], np.cumsum(reference * reference)])
    span = np.sqrt(np.maximum(energy[n:] - energy[:-n], 1e-9))
    return products / (span * max(np.linalg.norm(window), 1e-9))


def check_tune(recording_path, reference_path, window_seconds=0.1, least=0.9, share=0.7, span_seconds=3.0):
    """The recording is the reference's music, heard in order. Wine's sound stream runs dry now and then
    (the first seconds play slower than real time, and a loaded machine makes it worse): the music then
    resumes where it stopped, later than it should. So the recording is cut into short windows, and each is
    looked for in the reference a little after where the window before it was found. At least `share` of
    the windows with sound must be found there with a correlation of `least` or more, each channel on its
    own, and together they must cover span_seconds of the reference."""
    recording = read_raw(recording_path).astype(np.float64)
    reference = read_wav(reference_path).astype(np.float64)
    start = first_sound(recording)
    if start is None:
        fail("the recording is silent")
    mono = recording.mean(axis=1)
    reference_mono = reference.mean(axis=1)
    n = int(window_seconds * RATE)
    # How far from where the music stood one window before it may be found: a gap delays it, a drop (rare)
    # skips a little of it.
    delayed, skipped = int(0.6 * RATE), int(0.1 * RATE)
    delay = None  # recording frame - reference frame of the last window found
    delays, heard, found = [], 0, 0
    for at in range(start, len(mono) - n + 1, n):
        window = mono[at:at + n]
        if np.sqrt(np.mean(window * window)) < 30:
            continue  # a gap or a quiet spot says nothing either way
        if delay is None and at - start > 5 * RATE:
            break  # five seconds of sound and not one window of the tune
        heard += 1
        low, high = (0, len(reference_mono) - n) if delay is None else (
            max(0, at - delay - delayed), min(len(reference_mono) - n, at - delay + skipped))
        if low > high:
            break  # the recording runs past the end of the reference
        correlation = normalised_correlation(reference_mono[low:high + n], window)
        lag = low + int(np.argmax(correlation))
        if correlation[lag - low] < least:
            continue
        channels = [np.corrcoef(recording[at:at + n, c], reference[lag:lag + n, c])[0, 1] for c in (0, 1)]
        if min(channels) < least:
            continue
        found += 1
        delay = at - lag
        delays.append((at, lag))
    if not delays:
        fail(f"none of {heard} windows of {window_seconds} s is found in the reference")
    span = (delays[-1][1] - delays[0][1]) / RATE
    first_delay, last_delay = ((a - l) / RATE for a, l in (delays[0], delays[-1]))
    print(f"tune: sound from {start / RATE:.2f} s; {found} of {heard} windows of {window_seconds} s found in "
          f"order, covering {span:.2f} s of the reference from {delays[0][1] / RATE:.2f} s; the delay grew "
          f"from {first_delay:.2f} to {last_delay:.2f} s")
    if found < share * heard:
        fail(f"only {found} of {heard} windows match the reference")
    if span < span_seconds:
        fail(f"the matching windows cover only {span:.2f} s of the reference")


def main(argv):
    if len(argv) >= 2 and argv[0] == "ramps":
        check_ramps(argv[1])
    elif len(argv) == 3 and argv[0] == "tone":
        check_tone(argv[1], float(argv[2]))
    elif len(argv) == 2 and argv[0] == "band":
        check_band(read_screen(argv[1]))
    elif len(argv) >= 3 and argv[0] == "screen":
        check_screen(argv[1], argv[2:])
    elif len(argv) == 3 and argv[0] == "tune":
        check_tune(argv[1], argv[2])
    else:
        print(__doc__)
        sys.exit(2)


if __name__ == "__main__":
    main(sys.argv[1:])
