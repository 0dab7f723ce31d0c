"""Writing XM (Extended Module) files in the layout of format version 0x0104."""

import struct
from dataclasses import dataclass, field
from typing import List, Optional, Tuple

KEY_OFF = 97

LOOP_NONE, LOOP_FORWARD, LOOP_PINGPONG = 0, 1, 2


@dataclass
class Sample:
    name: str
    data: List[int]  # signed values in the stored width
    bits: int = 8
    loop: int = LOOP_NONE
    loop_start: int = 0  # in sample frames
    loop_length: int = 0
    volume: int = 64
    finetune: int = 0
    panning: int = 128
    relative_note: int = 0


@dataclass
class Envelope:
    points: List[Tuple[int, int]] = field(default_factory=list)  # (tick, value)
    sustain: Optional[int] = None
    loop: Optional[Tuple[int, int]] = None  # (start point, end point)

    def type_bits(self):
        if len(self.points) < 2:
            return 0
        return 1 | (2 if self.sustain is not None else 0) | (4 if self.loop is not None else 0)


@dataclass
class Instrument:
    name: str
    samples: List[Sample] = field(default_factory=list)
    keymap: Optional[List[int]] = None  # sample index for each of the 96 notes
    volume_envelope: Envelope = field(default_factory=Envelope)
    panning_envelope: Envelope = field(default_factory=Envelope)
    vibrato_type: int = 0
    vibrato_sweep: int = 0
    vibrato_depth: int = 0
    vibrato_rate: int = 0
    fadeout: int = 0


@dataclass
class Pattern:
    rows: int
    channels: int
    cells: List[List[list]] = field(default_factory=list)  # [row][channel] = [note, ins, vol, eff, par]

    def __post_init__(self):
        if not self.cells:
            self.cells = [[[0, 0, 0, 0, 0] for _ in range(self.channels)] for _ in range(self.rows)]

    def set(self, row, channel, note=None, ins=None, vol=None, eff=None, par=None):
        cell = self.cells[row][channel]
        for i, v in enumerate((note, ins, vol, eff, par)):
            if v is not None:
                cell[i] = v


@dataclass
class Module:
    name: str
    channels: int
    orders: List[int]
    patterns: List[Pattern]
    instruments: List[Instrument]
    restart: int = 0
    tempo: int = 6
    bpm: int = 125
    linear: bool = True
    tracker: str = "Quorvan asset tools"


def _text(s, n):
    raw = s.encode("ascii")[:n]
    return raw + b"\0" * (n - len(raw))


def _pack_pattern(pattern):
    out = bytearray()
    for row in pattern.cells:
        for note, ins, vol, eff, par in row:
            fields = (note, ins, vol, eff, par)
            if all(fields):
                out += bytes(fields)
                continue
            flags = 0x80
            body = bytearray()
            for bit, v in enumerate(fields):
                if v:
                    flags |= 1 << bit
                    body.append(v)
            out.append(flags)
            out += body
    packed = bytes(out)
    if all(b == 0x80 for b in packed):
        packed = b""
    return struct.pack("<IBHH", 9, 0, pattern.rows, len(packed)) + packed


def _envelope_bytes(env):
    pts = env.points[:12]
    raw = b"".join(struct.pack("<HH", p, v) for p, v in pts)
    return raw + b"\0" * (48 - len(raw))


def _sample_bytes(sample):
    """The sample's data, delta-coded in its stored width."""
    out = bytearray()
    previous = 0
    if sample.bits == 16:
        for v in sample.data:
            out += struct.pack("<h", ((v - previous + 32768) & 0xFFFF) - 32768)
            previous = v
    else:
        for v in sample.data:
            out.append((v - previous) & 0xFF)
            previous = v
    return bytes(out)


def _instrument_bytes(ins):
    name = _text(ins.name, 22)
    if not ins.samples:
        return struct.pack("<I", 29) + name + b"\0" + struct.pack("<H", 0)
    keymap = ins.keymap or [0] * 96
    vol, pan = ins.volume_envelope, ins.panning_envelope
    header = struct.pack("<I", 263) + name + b"\0" + struct.pack("<HI", len(ins.samples), 40)
    header += bytes(keymap)
    header += _envelope_bytes(vol) + _envelope_bytes(pan)
    header += bytes((len(vol.points), len(pan.points),
                     vol.sustain or 0, (vol.loop or (0, 0))[0], (vol.loop or (0, 0))[1],
                     pan.sustain or 0, (pan.loop or (0, 0))[0], (pan.loop or (0, 0))[1],
                     vol.type_bits(), pan.type_bits(),
                     ins.vibrato_type, ins.vibrato_sweep, ins.vibrato_depth, ins.vibrato_rate))
    header += struct.pack("<H", ins.fadeout) + b"\0" * 22
    assert len(header) == 263
    sample_headers = b""
    sample_data = b""
    for s in ins.samples:
        width = 2 if s.bits == 16 else 1
        loop_type = {LOOP_NONE: 0, LOOP_FORWARD: 1, LOOP_PINGPONG: 2}[s.loop]
        kind = loop_type | (0x10 if s.bits == 16 else 0)
        start, length = (s.loop_start, s.loop_length) if s.loop != LOOP_NONE else (0, 0)
        sample_headers += struct.pack("<IIIBbBBbB", len(s.data) * width, start * width, length * width,
                                      s.volume, s.finetune, kind, s.panning, s.relative_note, 0)
        sample_headers += _text(s.name, 22)
        sample_data += _sample_bytes(s)
    return header + sample_headers + sample_data


def encode_xm(module):
    out = bytearray()
    out += b"Extended Module: " + _text(module.name, 20) + b"\x1a" + _text(module.tracker, 20)
    out += struct.pack("<H", 0x0104)
    orders = bytes(module.orders) + b"\0" * (256 - len(module.orders))
    out += struct.pack("<IHHHHHHHH", 276, len(module.orders), module.restart, module.channels,
                       len(module.patterns), len(module.instruments), 1 if module.linear else 0,
                       module.tempo, module.bpm)
    out += orders
    for p in module.patterns:
        assert p.channels == module.channels
        out += _pack_pattern(p)
    for ins in module.instruments:
        out += _instrument_bytes(ins)
    return bytes(out)
