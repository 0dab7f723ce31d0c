"""Synthesis of the tune's samples. Everything is computed from fixed formulas and a fixed-seed
generator, so the same bytes come out on every run."""

import math

C4_RATE = 8363.0  # playback rate of a sample at note C-4 with no relative note or finetune
C4_HZ = 261.6256


class Noise:
    """A 32-bit xorshift generator with a fixed seed: the drums sound the same on every run."""

    def __init__(self, seed=0x1234567):
        self.state = seed

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x / 2147483648.0 - 1.0


def tuning_for_rate(rate):
    """(relative note, finetune) that make a sample recorded at rate play at its own pitch at C-4."""
    semitones = 12.0 * math.log2(rate / C4_RATE)
    relative = int(round(semitones))
    finetune = int(round((semitones - relative) * 128))
    return relative, max(-128, min(127, finetune))


def tuning_for_cycle(cycle_length):
    """(relative note, finetune) that make a period of cycle_length frames sound C-4 at note C-4."""
    return tuning_for_rate(C4_HZ * cycle_length)


def remove_dc(values, pole=0.995):
    """A one-pole high-pass, so that one-shot drums leave no offset behind."""
    out, last_in, last_out = [], 0.0, 0.0
    for v in values:
        last_out = v - last_in + pole * last_out
        last_in = v
        out.append(last_out)
    return out


def quantise(values, bits, peak=0.95):
    top = (127 if bits == 8 else 32767) * peak
    biggest = max(1e-9, max(abs(v) for v in values))
    return [int(round(v / biggest * top)) for v in values]


def saw_partials(partials):
    return [(h, 1.0 / h) for h in range(1, partials + 1)]


def pulse_partials(partials, duty):
    # Pulse wave: harmonic h has amplitude sin(pi h duty) / h.
    return [(h, math.sin(math.pi * h * duty) / h) for h in range(1, partials + 1)]


def periodic(length, components):
    """length frames of a sum of sines, each (cycles in the whole length, amplitude, phase); every
    component fits a whole number of times, so the frames loop without a seam."""
    return [sum(a * math.sin(2 * math.pi * k * i / length + ph) for k, a, ph in components)
            for i in range(length)]


def cycle(length, partials):
    return periodic(length, [(h, a, 0.0) for h, a in partials])


def ensemble(cycles_per_loop, samples_per_cycle, intervals, partials):
    """A loop of several slightly detuned copies of a waveform, for pads and strings.

    intervals: (frequency ratio to the root, level) of each chord tone; the root makes
    cycles_per_loop cycles in the loop and each copy is one cycle apart from its neighbour.
    """
    length = cycles_per_loop * samples_per_cycle
    components = []
    phase = 0.37
    for ratio, level in intervals:
        base = int(round(cycles_per_loop * ratio))
        for detune in (-1, 0, 1):
            k = base + detune
            for h, a in partials:
                if k * h * 2 < length:  # keep below the loop's Nyquist frequency
                    components.append((k * h, level * a * (0.7 if detune else 1.0), phase * h))
            phase += 1.91
    return periodic(length, components)


def kick(rate, seconds):
    out, phase = [], 0.0
    for i in range(int(rate * seconds)):
        t = i / rate
        freq = 46 + 190 * math.exp(-t * 34)
        phase += 2 * math.pi * freq / rate
        body = math.sin(phase) * math.exp(-t * 9)
        click = math.exp(-t * 700) * 0.5
        out.append(math.tanh(2.0 * (body + click)))
    return out


def snare(rate, seconds, noise):
    out, phase, last = [], 0.0, 0.0
    for i in range(int(rate * seconds)):
        t = i / rate
        phase += 2 * math.pi * (180 + 70 * math.exp(-t * 50)) / rate
        tone = math.sin(phase) * math.exp(-t * 26)
        w = noise.next()
        rattle = (0.5 * w + 0.5 * (w - last)) * math.exp(-t * 15)
        last = w
        out.append(0.6 * tone + 0.8 * rattle)
    return out


def hihat(rate, seconds, decay, noise):
    out, last = [], 0.0
    for i in range(int(rate * seconds)):
        w = noise.next()
        out.append((w - last) * math.exp(-i / rate * decay))
        last = w
    return out


def tom(rate, seconds):
    out, phase = [], 0.0
    for i in range(int(rate * seconds)):
        t = i / rate
        phase += 2 * math.pi * (150 + 60 * math.exp(-t * 20)) / rate
        out.append(math.sin(phase) * math.exp(-t * 7) + 0.3 * math.sin(2.01 * phase) * math.exp(-t * 14))
    return out


def noise_burst(length, noise, highpass=0.5):
    out, last = [], 0.0
    for _ in range(length):
        w = noise.next()
        out.append(w - highpass * last)
        last = w
    return out
