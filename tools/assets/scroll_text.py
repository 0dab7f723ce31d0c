"""String 1: the scroll text, at most 511 characters of codes 32 to 126."""

SCROLL_TEXT = (
    "          QUORVAN IS BACK WITH A BRAND NEW INTRO!   "
    "PLACEHOLDER TEXT...          "
)


def make_scroll_text():
    text = SCROLL_TEXT
    assert len(text) <= 511
    assert all(32 <= ord(c) <= 126 for c in text)
    return text.encode("ascii")
