"""The intro's tune (resource type "XM", name "TRACK"): an upbeat minor-key synth tune at 135 BPM.

Eight channels: lead, its echo, a square arpeggio, bass, a string pad, kick, snare and hi-hat.
Form: a two-pattern intro, the main theme, a variation, a short break with a snare roll and a
slow-down, and the theme again an octave up; then the song loops back to the main theme.
"""

from track_instruments import ARP, BASS, CRASH, HIHAT, KICK, LEAD, PAD, SNARE, TOM, make_instruments
from xm_file import KEY_OFF, Module, Pattern, encode_xm

CHANNELS = 8
LEAD_CH, ECHO_CH, ARP_CH, BASS_CH, PAD_CH, KICK_CH, SNARE_CH, HAT_CH = range(CHANNELS)
ROWS = 64
BAR = 16

SEMITONES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8, "A": 9, "A#": 10,
             "B": 11}


def note(name):
    """'A4' or 'G#5' to an XM note number (1 is C-0)."""
    return int(name[-1]) * 12 + SEMITONES[name[:-1]] + 1


# Chords by bar: root and whether it is minor (the arpeggio plays 0-3-7 or 0-4-7).
THEME_A = [("A", True), ("F", False), ("C", False), ("G", False)]
THEME_B = [("A", True), ("F", False), ("G", False), ("E", False)]
VARIATION_A = [("F", False), ("G", False), ("E", True), ("A", True)]
VARIATION_B = [("D", True), ("E", True), ("F", False), ("E", False)]

# The lead, one bar a line, sixteenth notes: a note, '.' (let it ring) or '^' (key off).
# A '~' before a note glides to it.
MELODY_A = [
    "E5 . . E5 . . D5 . C5 . . . A4 . C5 .",
    "D5 . . C5 . . A4 . . . . . F4 . A4 .",
    "G4 . . C5 . . E5 . G5 . . . E5 . D5 .",
    "D5 . . . . . B4 . . . G4 . B4 . D5 .",
]
MELODY_B = [
    "E5 . . E5 . . D5 . C5 . . . A4 . C5 .",
    "F5 . . E5 . . D5 . C5 . . . A4 . C5 .",
    "D5 . . . B4 . . . D5 . G5 . F5 . E5 .",
    "E5 . . . . . . . G#4 . B4 . E5 . ^ .",
]
MELODY_VARIATION_A = [
    "A5 . . . . . G5 . F5 . . . E5 . F5 .",
    "G5 . . . . . . . D5 . . . G5 . . .",
    "B5 . . . ~A5 . . . G5 . . . E5 . . .",
    "A5 . . . . . . . . . . . ~E5 . ~A5 .",
]
MELODY_VARIATION_B = [
    "F5 . . . E5 . . . D5 . . . A4 . D5 .",
    "E5 . . . D5 . . . B4 . . . G4 . B4 .",
    "C5 . . . A4 . C5 . F5 . . . E5 . . .",
    "E5 . . . G#5 . . . B5 . . . ^ . . .",
]


def new_pattern():
    return Pattern(ROWS, CHANNELS)


def transpose(line, octaves):
    out = []
    for token in line.split():
        glide = token.startswith("~")
        name = token.lstrip("~")
        if name in (".", "^"):
            out.append(token)
        else:
            out.append(("~" if glide else "") + name[:-1] + str(int(name[-1]) + octaves))
    return " ".join(out)


def melody(p, bars, channel=LEAD_CH, first_bar=0, vibrato=0x46, echo=True, octaves=0):
    """Writes the lead (and its echo three rows later), with vibrato on notes held for four rows
    or more, a small fine bend on long notes and tone portamento on the glides."""
    events = []
    for b, line in enumerate(bars):
        for i, token in enumerate(transpose(line, octaves).split()):
            events.append(((first_bar + b) * BAR + i, token))
    starts = [(row, tok) for row, tok in events if tok != "."]
    for k, (row, tok) in enumerate(starts):
        end = starts[k + 1][0] if k + 1 < len(starts) else ROWS
        if tok == "^":
            p.set(row, channel, note=KEY_OFF)
            continue
        glide = tok.startswith("~")
        n = note(tok.lstrip("~"))
        if glide:
            p.set(row, channel, note=n, eff=0x3, par=0x28)
            for r in range(row + 1, min(end, row + 3)):
                p.set(r, channel, eff=0x3, par=0)
        else:
            p.set(row, channel, note=n, ins=LEAD)
        length = end - row
        if length >= 6 and not glide:
            p.set(row + 2, channel, eff=0xE, par=0x21)  # lean on the note...
            p.set(row + 3, channel, eff=0xE, par=0x11)  # ...and back
            for r in range(row + 4, end):
                p.set(r, channel, eff=0x4, par=vibrato if r == row + 4 else 0)
        if echo and row + 3 < ROWS:
            e = row + 3
            p.set(e, ECHO_CH, note=n, ins=LEAD, vol=0x10 + 24)
            # The echo dies away: a fine step down, then a slide in the volume column.
            if e + 1 < ROWS:
                p.set(e + 1, ECHO_CH, eff=0xE, par=0xB4)
            for r in range(e + 2, min(e + 3 + length, ROWS)):
                p.set(r, ECHO_CH, vol=0x61)


def chord_parts(p, chords, arp=True, bass=True, pad=True, bass_style="octaves"):
    for b, (root, minor) in enumerate(chords):
        base = b * BAR
        if pad:
            p.set(base, PAD_CH, note=note(root + "3"), ins=PAD)
        if arp:
            arp_root = note(root + "4")
            param = 0x37 if minor else 0x47
            for i in range(BAR):
                row = base + i
                if i in (0, 3, 6, 8, 11, 14):
                    # Plucks bounce between the left and the right.
                    pan = 0xC4 if (i // 3) % 2 == 0 else 0xCB
                    p.set(row, ARP_CH, note=arp_root, ins=ARP, vol=pan, eff=0x0, par=param)
                else:
                    p.set(row, ARP_CH, eff=0x0, par=param)
        if bass:
            low, high = note(root + "2"), note(root + "3")
            if bass_style == "octaves":
                for i in range(0, BAR, 2):
                    n = high if i % 4 == 2 else low
                    p.set(base + i, BASS_CH, note=n, ins=BASS, vol=0x50 if i % 4 == 0 else 0x40)
            else:  # "pedal": long notes, pushed on the last eighth
                p.set(base, BASS_CH, note=low, ins=BASS)
                p.set(base + 10, BASS_CH, note=low, ins=BASS, vol=0x38)
                p.set(base + 14, BASS_CH, note=high, ins=BASS, vol=0x38)


def hats(p, bars=range(4), busy=False):
    for b in bars:
        for i in range(0, BAR, 2):
            row = b * BAR + i
            if i % 4 == 2:  # open hat on the off-beat
                p.set(row, HAT_CH, note=note("C5"), ins=HIHAT, vol=0x10 + 34)
            else:  # closed: cut after two ticks
                p.set(row, HAT_CH, note=note("C5"), ins=HIHAT, vol=0x10 + 22, eff=0xE, par=0xC2)
            if busy:
                p.set(row + 1, HAT_CH, note=note("D5"), ins=HIHAT, vol=0x10 + 12, eff=0xE, par=0xC1)


def beat(p, bars=range(4), fill=True, kick_pattern=(0, 4, 8, 12)):
    for b in bars:
        base = b * BAR
        for i in kick_pattern:
            p.set(base + i, KICK_CH, note=note("C4"), ins=KICK)
        last = fill and b == max(bars)
        for i in (4, 12):
            if last and i == 12:
                continue
            p.set(base + i, SNARE_CH, note=note("C4"), ins=SNARE)
        if b % 2 == 1 and not last:
            # A ghost note, late by three ticks.
            p.set(base + 15, SNARE_CH, note=note("C4"), ins=SNARE, vol=0x10 + 20, eff=0xE, par=0xD3)
        if last:
            p.set(base + 12, SNARE_CH, note=note("C4"), ins=SNARE, eff=0xE, par=0x93)
            p.set(base + 13, SNARE_CH, note=note("C4"), ins=SNARE, vol=0x10 + 40, eff=0xE, par=0x92)
            p.set(base + 14, SNARE_CH, note=note("G4"), ins=TOM, eff=0x2, par=0x0C)
            p.set(base + 15, SNARE_CH, note=note("D4"), ins=TOM, eff=0x2, par=0x10)


def crash(p, row=0, channel=PAD_CH):
    p.set(row, channel, note=note("C4"), ins=CRASH, vol=0x10 + 40, eff=0, par=0)


def intro_1():
    """The pad swells in over a ticking hat; the arpeggio fades in with the volume column."""
    p = new_pattern()
    p.set(0, LEAD_CH, eff=0xF, par=6)
    p.set(0, ECHO_CH, eff=0xF, par=135, vol=0)
    chord_parts(p, THEME_A, arp=True, bass=False, pad=True)
    p.set(0, PAD_CH, vol=0x10 + 8)
    for r in range(1, BAR):
        p.set(r, PAD_CH, eff=0xA, par=0x10)
    # The arpeggio rises from almost nothing in the first two bars.
    for r in range(0, 2 * BAR):
        cell = p.cells[r][ARP_CH]
        if cell[0]:
            cell[2] = 0x10 + 4 + r  # set volume, growing
        else:
            cell[2] = 0x71  # slide up
    for b in range(4):
        for i in (4, 12):
            p.set(b * BAR + i, HAT_CH, note=note("C5"), ins=HIHAT, vol=0x10 + 16 + 4 * b, eff=0xE, par=0xC3)
    p.set(3 * BAR + 8, KICK_CH, note=note("C4"), ins=KICK)
    p.set(3 * BAR + 12, KICK_CH, note=note("C4"), ins=KICK)
    return p


def intro_2():
    """Bass and kick come in; a rising snare roll and a tom sweep lead into the theme."""
    p = new_pattern()
    chord_parts(p, THEME_A, pad=False, bass_style="pedal")
    hats(p)
    for b in range(4):
        for i in (0, 4, 8, 12):
            p.set(b * BAR + i, KICK_CH, note=note("C4"), ins=KICK)
    # Roll: multi-retrigger with a growing volume over the last bar.
    p.set(3 * BAR, SNARE_CH, note=note("C4"), ins=SNARE, vol=0x10 + 8, eff=0x1B, par=0xA3)
    for r in range(3 * BAR + 1, 3 * BAR + 12):
        p.set(r, SNARE_CH, eff=0x1B, par=0xA3 if r < 3 * BAR + 8 else 0xA2)
    p.set(3 * BAR + 12, SNARE_CH, note=note("C5"), ins=TOM, eff=0x1, par=0x10)
    for r in range(3 * BAR + 13, ROWS):
        p.set(r, SNARE_CH, eff=0x1, par=0)
    p.set(ROWS - 1, PAD_CH, note=KEY_OFF)
    return p


def theme(bars, chords, octaves=0, first=False):
    p = new_pattern()
    melody(p, bars, octaves=octaves)
    chord_parts(p, chords, pad=False)
    hats(p)
    beat(p)
    if first:
        crash(p)
        p.set(0, ECHO_CH, eff=0x8, par=0xC0)  # the echo sits to the right
    return p


def variation(bars, chords, first=False):
    p = new_pattern()
    melody(p, bars, vibrato=0x58)
    chord_parts(p, chords, arp=first, pad=True, bass_style="octaves")
    if not first:
        # The arpeggio gives way to the pad: plucks that get quieter and shorter.
        chord_parts(p, chords, pad=False, bass=False)
        for r in range(2 * BAR, ROWS):
            cell = p.cells[r][ARP_CH]
            cell[2] = 0x10 + 34 - (r - 2 * BAR) if cell[0] else 0x62
    hats(p, busy=True)
    beat(p, kick_pattern=(0, 4, 8, 10, 12) if not first else (0, 4, 8, 12))
    p.set(ROWS - 1, PAD_CH, note=KEY_OFF)
    return p


def breakdown():
    """Two bars of pad and bass alone, a stuttering snare at double speed and a slow-down, cut
    short with a pattern break."""
    p = new_pattern()
    p.set(0, PAD_CH, note=note("A3"), ins=PAD, vol=0x10 + 48)
    p.set(BAR, PAD_CH, note=note("F3"), ins=PAD)
    p.set(0, BASS_CH, note=note("A2"), ins=BASS)
    p.set(BAR, BASS_CH, note=note("F2"), ins=BASS)
    # The lead calls three times, each quieter (fine volume slide down).
    for i, (r, n) in enumerate(((2, "E5"), (6, "D5"), (10, "C5"))):
        p.set(r, LEAD_CH, note=note(n), ins=LEAD, vol=0x10 + 48 - 12 * i)
        p.set(r + 1, LEAD_CH, eff=0xE, par=0xA2 if i == 0 else 0xB4)
    p.set(14, LEAD_CH, note=KEY_OFF)
    for i in range(0, BAR, 4):
        p.set(i + 2, HAT_CH, note=note("C5"), ins=HIHAT, vol=0x10 + 16, eff=0xE, par=0xC2)
    # Bar 2: the bass dives, the tempo slows, the snare stutters at double speed.
    p.set(BAR + 8, BASS_CH, note=note("A2"), ins=BASS, eff=0x2, par=0x08)
    for r in range(BAR + 9, 2 * BAR):
        p.set(r, BASS_CH, eff=0x2, par=0, vol=0x82)  # fine volume slide down as it falls
    p.set(BAR + 8, LEAD_CH, eff=0xF, par=3)
    for k, bpm in enumerate((131, 127, 123, 119)):
        p.set(BAR + 8 + 2 * k, ECHO_CH, eff=0xF, par=bpm)
    for r in range(BAR + 8, 2 * BAR):
        p.set(r, SNARE_CH, note=note("C4"), ins=SNARE, vol=0x10 + 12 + 3 * (r - BAR - 8))
    p.set(2 * BAR - 1, PAD_CH, note=KEY_OFF)
    p.set(2 * BAR - 1, KICK_CH, eff=0xD, par=0)
    return p


def restore_time(p):
    p.set(0, LEAD_CH if p.cells[0][LEAD_CH][3] == 0 else ECHO_CH, eff=0xF, par=6)
    p.set(0, KICK_CH, eff=0xF, par=135)


def make_patterns():
    patterns = [
        intro_1(),                                      # 0
        intro_2(),                                      # 1
        theme(MELODY_A, THEME_A, first=True),           # 2
        theme(MELODY_B, THEME_B),                       # 3
        variation(MELODY_VARIATION_A, VARIATION_A, first=True),  # 4
        variation(MELODY_VARIATION_B, VARIATION_B),     # 5
        breakdown(),                                    # 6
        theme(MELODY_A, THEME_A, octaves=1, first=True),  # 7
        theme(MELODY_B, THEME_B, octaves=1),            # 8
    ]
    restore_time(patterns[7])
    return patterns


ORDERS = [0, 1, 2, 3, 2, 3, 4, 5, 6, 7, 8]
RESTART = 2


def make_track():
    module = Module("quorvan intro tune", CHANNELS, ORDERS, make_patterns(), make_instruments(),
                    restart=RESTART, tempo=6, bpm=135)
    return encode_xm(module)
