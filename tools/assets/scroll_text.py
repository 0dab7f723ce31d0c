"""String 1: the scroll text, at most 511 characters of codes 32 to 126."""

SCROLL_TEXT = (
    "          YEAH! QUORVAN IS BACK ON YOUR SCREEN WITH A FRESH LITTLE INTRO...   "
    "CODE, MUSIC AND GRAPHICS BY THE QUORVAN CREW.   "
    "STARS DRIFTING, LETTERS WAVING, A TUNE PUMPING OUT OF OUR OWN REPLAYER - ALL IN ONE SMALL FILE!   "
    "GREETINGS FLY OUT TO ALL CODERS, PIXEL PUSHERS, TRACKERS AND SWAPPERS OUT THERE, "
    "TO EVERYONE WHO STILL COUNTS CYCLES AT FOUR IN THE MORNING, AND TO YOU FOR WATCHING.   "
    "HIT ESCAPE WHEN YOU HAVE SEEN ENOUGH... OR STAY FOR THE CREDITS!   "
    "QUORVAN 4 EVER...          "
)


def make_scroll_text():
    text = SCROLL_TEXT
    assert len(text) <= 511, len(text)
    assert all(32 <= ord(c) <= 126 for c in text)
    return text.encode("ascii")
