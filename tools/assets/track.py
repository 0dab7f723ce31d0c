"""The intro's tune (resource type "XM", name "TRACK")."""

import synth
from xm_file import (LOOP_FORWARD, LOOP_NONE, Envelope, Instrument, Module, Pattern, Sample,
                     encode_xm)


def _drum(name, values):
    rel, fine = synth.tuning_for_rate(22050)
    return Instrument(name, [Sample(name, synth.quantise(values, 8), 8, LOOP_NONE, relative_note=rel,
                                    finetune=fine)])


def make_track():
    channels = 4
    rel, fine = synth.tuning_for_cycle(64)
    bass = Instrument("bass", [Sample("saw", synth.quantise(synth.saw_cycle(64), 16), 16, LOOP_FORWARD, 0, 64,
                                      relative_note=rel, finetune=fine)],
                      volume_envelope=Envelope([(0, 64), (10, 40)], sustain=1))
    instruments = [_drum("kick", synth.kick()), _drum("snare", synth.snare()), bass]
    p = Pattern(64, channels)
    for r in range(0, 64, 8):
        p.set(r, 0, note=49, ins=1)
        p.set(r + 4, 1, note=49, ins=2)
    for r in range(0, 64, 2):
        p.set(r, 2, note=25 + (r // 16) * 2, ins=3)
    return encode_xm(Module("quorvan", channels, [0], [p], instruments, tempo=6, bpm=132))
