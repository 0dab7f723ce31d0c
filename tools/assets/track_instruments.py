"""The tune's instruments and their synthesised samples."""

import synth
from xm_file import LOOP_FORWARD, LOOP_NONE, LOOP_PINGPONG, Envelope, Instrument, Sample

DRUM_RATE = 16000


def _one_shot(name, values, rate=DRUM_RATE, volume=64, panning=128):
    rel, fine = synth.tuning_for_rate(rate)
    return Sample(name, synth.quantise(synth.remove_dc(values), 8), 8, LOOP_NONE, volume=volume, finetune=fine,
                  panning=panning, relative_note=rel)


def _looped(name, values, bits, loop, cycle_length, volume=64, loop_start=0, tune_octaves=0):
    rel, fine = synth.tuning_for_cycle(cycle_length)
    return Sample(name, synth.quantise(values, bits), bits, loop, loop_start, len(values) - loop_start,
                  volume=volume, finetune=fine, relative_note=rel + 12 * tune_octaves)


def lead():
    # A bright 16-bit pulse, a quarter duty, with a sustained envelope, a soft release and a
    # slow-starting vibrato.
    wave = synth.cycle(128, synth.pulse_partials(40, 0.25))
    return Instrument(
        "lead pulse", [_looped("pulse 25%", wave, 16, LOOP_FORWARD, 128, volume=48)],
        volume_envelope=Envelope([(0, 0), (2, 64), (10, 46), (24, 40), (60, 0)], sustain=3),
        panning_envelope=Envelope([(0, 26), (8, 32), (48, 40)], sustain=1),
        vibrato_type=0, vibrato_sweep=48, vibrato_depth=5, vibrato_rate=12, fadeout=0x300)


def bass():
    wave = synth.cycle(64, synth.saw_partials(18))
    return Instrument(
        "bass saw", [_looped("saw", wave, 8, LOOP_FORWARD, 64, volume=56)],
        volume_envelope=Envelope([(0, 64), (6, 44), (16, 36), (20, 0)], sustain=2), fadeout=0x800)


def arp():
    # A square pluck whose tail pulses: the envelope loops between its last two points.
    wave = synth.cycle(64, synth.pulse_partials(24, 0.5))
    return Instrument(
        "arp square", [_looped("square", wave, 8, LOOP_FORWARD, 64, volume=36)],
        volume_envelope=Envelope([(0, 64), (4, 34), (8, 22), (11, 12), (14, 22)], loop=(3, 4)),
        fadeout=0x200)


def pad():
    # Root, fifth and octave of detuned saws, looped back and forth; it swells in, drifts across
    # the stereo field and fades out slowly after key-off.
    wave = synth.ensemble(128, 32, [(1.0, 1.0), (1.5, 0.6), (2.0, 0.45)], synth.saw_partials(7))
    sample = _looped("strings", wave, 8, LOOP_PINGPONG, 32, volume=40, loop_start=512)
    return Instrument(
        "pad strings", [sample],
        volume_envelope=Envelope([(0, 0), (24, 48), (48, 64), (96, 50)], sustain=3),
        panning_envelope=Envelope([(0, 32), (48, 22), (144, 42), (240, 22)], loop=(1, 3)),
        fadeout=0x180)


def kick():
    return Instrument("kick", [_one_shot("kick", synth.kick(DRUM_RATE, 0.24))])


def snare():
    return Instrument("snare", [_one_shot("snare", synth.snare(DRUM_RATE, 0.2, synth.Noise(0xBEEF)),
                                          volume=52)])


def hihat():
    # Played with a note cut for a closed hat and left to ring for an open one.
    return Instrument("hihat", [_one_shot("hihat", synth.hihat(DRUM_RATE, 0.16, 22.0, synth.Noise(0xC0FFEE)),
                                          volume=34)])


def crash():
    # A short burst of looped noise; the envelope and the fade-out give it its long tail.
    values = synth.noise_burst(2048, synth.Noise(0x5EED), highpass=0.7)
    sample = Sample("crash", synth.quantise(values, 8), 8, LOOP_FORWARD, 0, 2048, volume=30,
                    relative_note=synth.tuning_for_rate(DRUM_RATE)[0])
    return Instrument("crash", [sample],
                      volume_envelope=Envelope([(0, 64), (6, 40), (40, 14), (120, 0)]), fadeout=0x100)


def tom():
    return Instrument("tom", [_one_shot("tom", synth.tom(DRUM_RATE, 0.3), volume=50)])


# Instrument numbers as the patterns use them.
LEAD, BASS, ARP, PAD, KICK, SNARE, HIHAT, CRASH, TOM = range(1, 10)


def make_instruments():
    return [lead(), bass(), arp(), pad(), kick(), snare(), hihat(), crash(), tom()]
