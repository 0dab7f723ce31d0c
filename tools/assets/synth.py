"""Synthesis of the tune's samples. Everything is computed from fixed formulas and a fixed-seed
generator, so the same bytes come out on every run."""

import math

C4_RATE = 8363.0  # playback rate of a sample at note C-4 with no relative note or finetune


class Noise:
    """A 32-bit xorshift generator, fixed seed: the drums sound the same on every run."""

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
    """(relative note, finetune) that make a loop of cycle_length frames per period sound C-4."""
    rate = 261.6256 * cycle_length
    return tuning_for_rate(rate)


def quantise(values, bits, peak=0.95):
    top = (127 if bits == 8 else 32767) * peak
    biggest = max(1e-9, max(abs(v) for v in values))
    return [int(round(v / biggest * top)) for v in values]


def one_pole_lowpass(values, amount):
    out, y = [], 0.0
    for v in values:
        y += (v - y) * amount
        out.append(y)
    return out


def single_cycle(length, harmonics):
    """One period built from (harmonic number, amplitude) pairs."""
    return [sum(a * math.sin(2 * math.pi * h * i / length) for h, a in harmonics) for i in range(length)]


def saw_cycle(length, partials=24):
    return single_cycle(length, [(h, (1.0 if h % 2 else -1.0) / h) for h in range(1, partials + 1)])


def square_cycle(length, partials=24, duty=0.5):
    # Pulse wave from its Fourier series: amplitude of harmonic h is sin(pi h duty) / h.
    return [sum(math.sin(math.pi * h * duty) / h * math.cos(2 * math.pi * h * (i / length - duty / 2))
                for h in range(1, partials + 1)) for i in range(length)]


def kick(rate=22050, seconds=0.22):
    n = int(rate * seconds)
    out, phase = [], 0.0
    for i in range(n):
        t = i / rate
        freq = 48 + 160 * math.exp(-t * 38)
        phase += 2 * math.pi * freq / rate
        body = math.sin(phase) * math.exp(-t * 11)
        click = math.exp(-t * 900) * 0.6
        out.append(math.tanh(1.8 * (body + click)))
    return out


def snare(rate=22050, seconds=0.2, noise=None):
    noise = noise or Noise(0xBEEF)
    n = int(rate * seconds)
    out, phase, hp = [], 0.0, 0.0
    last = 0.0
    for i in range(n):
        t = i / rate
        phase += 2 * math.pi * (185 + 60 * math.exp(-t * 60)) / rate
        tone = math.sin(phase) * math.exp(-t * 28)
        w = noise.next()
        hp = w - last  # crude high-pass
        last = w
        rattle = (0.6 * w + 0.4 * hp) * math.exp(-t * 17)
        out.append(0.55 * tone + 0.75 * rattle)
    return out


def hihat(rate=22050, seconds=0.06, decay=70.0, noise=None):
    noise = noise or Noise(0xC0FFEE)
    n = int(rate * seconds)
    out, last = [], 0.0
    for i in range(n):
        w = noise.next()
        out.append((w - last) * math.exp(-i / rate * decay))
        last = w
    return out
