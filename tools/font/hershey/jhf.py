"""Reads Hershey glyphs in the JHF format.

A record is a five-character glyph number, a three-character count of the
coordinate pairs that follow (the bearing pair included), the left and right
bearing as a pair, and the pen path as pairs. Every coordinate is a character
offset from "R", x to the right and y downwards; the pair " R" lifts the pen.
A long record may be wrapped onto further lines, so a record is read by its
count and not by its line ends.
"""

import collections
import re

Glyph = collections.namedtuple("Glyph", "number left right strokes line")
Glyph.__doc__ = """One glyph: its number in the JHF file, its left and right
bearings, its pen-down polylines (lists of (x, y) pairs, y downwards) and the
line of the file it starts on."""

ORIGIN = ord("R")
PEN_UP = " R"
# A line that starts like a record: a number in five characters, a count in three.
RECORD_START = re.compile(r"^ *\d+ *\d+$")


class JhfError(Exception):
    """A fault of a JHF file; the message names the file and the glyph."""


def describe(path, index, number, line):
    code = 32 + index
    shown = repr(chr(code)) if 32 <= code < 127 else f"code {code}"
    return f"{path}: glyph {index + 1} ({shown}, number {number.strip() or '?'}, line {line})"


def read_glyphs(path):
    """The glyphs of a JHF file, in file order; JhfError on a fault."""
    try:
        with open(path, encoding="latin-1", newline="") as source:
            lines = source.read().splitlines()
    except OSError as problem:
        raise JhfError(f"{path}: cannot read: {problem.strerror or problem}") from None
    glyphs = []
    row = 0
    while row < len(lines):
        if not lines[row].strip():
            row += 1
            continue
        glyph, row = read_record(path, lines, row, len(glyphs))
        glyphs.append(glyph)
    if not glyphs:
        raise JhfError(f"{path}: holds no glyph")
    return glyphs


def read_record(path, lines, row, index):
    start = row
    first = lines[row]
    number, count_text = first[:5], first[5:8]
    where = describe(path, index, number, row + 1)
    if len(first) < 8 or not RECORD_START.match(first[:8]):
        raise JhfError(f"{where}: the line does not start with a glyph number and a vertex count")
    count = int(count_text)
    if count < 1:
        raise JhfError(f"{where}: a vertex count of {count} leaves no room for the bearings")
    wanted = 2 * count
    data = first[8:]
    row += 1
    # Wrapped records go on until the count is reached, never into a line
    # that starts the next record.
    while len(data) < wanted and row < len(lines) and not RECORD_START.match(lines[row][:8]):
        data += lines[row]
        row += 1
    if len(data) < wanted:
        raise JhfError(f"{where}: truncated: the count announces {count} pairs, "
                       f"the record holds {len(data) // 2}")
    if data[wanted:].strip():
        raise JhfError(f"{where}: the count announces {count} pairs, "
                       f"the record holds {len(data.rstrip()) // 2}")
    pairs = [data[i:i + 2] for i in range(0, wanted, 2)]
    for pair in pairs:
        if any(not " " <= c <= "~" for c in pair):
            raise JhfError(f"{where}: {pair!r} is not a coordinate pair")
    left, right = (ord(c) - ORIGIN for c in pairs[0])
    strokes = [[]]
    for pair in pairs[1:]:
        if pair == PEN_UP:
            strokes.append([])
        else:
            strokes[-1].append((ord(pair[0]) - ORIGIN, ord(pair[1]) - ORIGIN))
    return Glyph(number.strip(), left, right, [s for s in strokes if s], start + 1), row
