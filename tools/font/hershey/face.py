"""A Hershey face as a logo3d font: its metrics, its header and its glyph
lines.

The face is scaled so that its capitals are as high as the default font's
(30 units) and stand on y = 0, with y turned upwards; x is measured from each
glyph's left bearing. The header keeps the default font's style values (pen,
section, caps, tessellation) and takes its spacing from the face's own
bearings and heights.
"""

import collections
import math
import statistics

from . import glyphline, marks

CAP_HEIGHT = 30.0
FIRST_CODE, LAST_CODE = 32, 126  # the glyphs of a JHF file stand for 32, 33, ...
HERSHEY_SPACE = 16  # the usual advance of a Hershey space, when the face has none
STYLE_VALUES = 9  # the header's style values before its four spacing values

Metrics = collections.namedtuple("Metrics", "scale baseline joined sides space_cell descent rise")
Metrics.__doc__ = """What the conversion needs to know of a face, in JHF units:
the scale to font units, the baseline's y, whether its letters join (script
faces, whose letters touch both bearings), the median gap a letter leaves to
its bearings on both sides together, the advance of a space, and how far
letters typically reach below the baseline and above the capitals."""


def ink(glyph):
    return [p for stroke in glyph.strokes for p in stroke]


def most_common(values, fallback):
    return collections.Counter(values).most_common(1)[0][0] if values else fallback


def typical(reaches):
    """How far the letters that reach out at all typically do: the median of
    those beyond 0, so that one long swash or sign does not set it."""
    beyond = [r for r in reaches if r > 0]
    return statistics.median(beyond) if beyond else 0


def glyph_for(glyphs, code):
    index = code - FIRST_CODE
    return glyphs[index] if 0 <= index < len(glyphs) else None


def measure(glyphs, grid=None):
    """The metrics of a face, from its capitals and letters (all its glyphs
    for faces without them). A grid, (baseline, capital top) in JHF units,
    replaces the heights measured on the capitals: faces of symbols have no
    capitals to measure."""
    coded = {chr(FIRST_CODE + k): g for k, g in enumerate(glyphs[:LAST_CODE - FIRST_CODE + 1])}
    inked = {c: g for c, g in coded.items() if ink(g)}
    capitals = [g for c, g in inked.items() if c.isupper()] or list(inked.values())
    letters = [g for c, g in inked.items() if c.isalpha()] or list(inked.values())
    lower = [g for c, g in inked.items() if c.islower()]
    baseline = most_common([max(y for _, y in ink(g)) for g in capitals], 9)
    top = most_common([min(y for _, y in ink(g)) for g in capitals], -12)
    if grid is not None:
        baseline, top = grid
    height = baseline - top if baseline > top else 21

    def sides(g):
        xs = [x for x, _ in ink(g)]
        return max(0, min(xs) - g.left) + max(0, g.right - max(xs))

    joined = len(lower) >= 20 and sum(1 for g in lower if sides(g) == 0) * 2 >= len(lower)
    space = coded.get(" ")
    return Metrics(
        scale=CAP_HEIGHT / height,
        baseline=baseline,
        joined=joined,
        sides=statistics.median(sides(g) for g in letters) if letters else 6,
        space_cell=(space.right - space.left) if space is not None else HERSHEY_SPACE,
        descent=typical([max(y for _, y in ink(g)) - baseline for g in letters]),
        rise=typical([top - min(y for _, y in ink(g)) for g in letters]),
    )


def spacing(metrics, stroke_width):
    """Space width, line height, letter gap and line gap of the header.

    The viewer spaces letters by their ink: a glyph's advance is its bounding
    box grown by the stroke width on both sides, plus the letter gap. The gap
    between the ink of two letters is made the face's own gap between its
    thin lines; in a joined face the letters' centre lines meet instead, as
    they do in the face. Lines are set as far apart as the deepest descender
    and the tall letters typically need, plus two stroke thicknesses.
    """
    k = metrics.scale
    allowance = 2 * stroke_width if metrics.joined else 0.0
    gap = k * metrics.sides - allowance
    space = k * (metrics.sides + metrics.space_cell) - 2 * gap - allowance
    line_gap = k * (metrics.descent + metrics.rise) + 4 * stroke_width
    return [space, CAP_HEIGHT, gap, line_gap]


def glyph_commands(glyph, metrics, settings, stroke_width, room):
    """The pen commands of one glyph within room characters, and how many
    steps of simplification that took; None when the glyph has no ink."""
    k = metrics.scale
    polylines = [[((x - glyph.left) * k, (metrics.baseline - y) * k) for x, y in stroke]
                 for stroke in glyph.strokes]
    if not polylines:
        return None, 0
    return glyphline.glyph_words(polylines, settings.tolerance * k, math.radians(settings.corner),
                                 stroke_width, settings.fit_arcs, room)


def blank_commands(space_width, stroke_width):
    """A glyph that draws nothing but is as wide as a space: two dots with
    open ends, which have no body, placed so that their bounding box (grown
    by the stroke width) gives the advance of a space."""
    width = max(0.0, space_width - 2 * stroke_width)
    return spacing_dot(0) + spacing_dot(width)


def spacing_dot(x):
    """A dot with open ends at x, which draws nothing and only widens the
    glyph's bounding box; it stands at mid-height, clear of (0, 0)."""
    return ["f", glyphline.number(x), glyphline.number(CAP_HEIGHT / 2), "f"]


def joined_cell(glyph, metrics, stroke_width):
    """Dots that make a glyph of a joined face as wide as its cell.

    The letter gap of a joined face takes back both stroke widths, so that
    the centre lines of two letters meet where their ink touches the
    bearings. A side whose ink stays clear of its bearing keeps one stroke
    width of room instead, so that its ink keeps the face's own distance."""
    xs = [x for x, _ in ink(glyph)]
    k = metrics.scale
    left = 0.0 if min(xs) <= glyph.left else -stroke_width
    right = k * (glyph.right - glyph.left) + (0.0 if max(xs) >= glyph.right else stroke_width)
    return spacing_dot(left) + spacing_dot(right)


def code_word(code):
    """The code a glyph line begins with: the character itself, or U+ and
    its hex digits for a combining mark, which cannot stand alone."""
    return f"U+{code:04X}" if 0x0300 <= code <= 0x036F else chr(code)


def font_text(glyphs, style, comment, options):
    """The whole font file: comment, header and one line per glyph, with no
    line end after the last glyph (that would read as one more, empty glyph).
    The comment ends by naming the glyphs that were simplified to fit."""
    metrics = measure(glyphs, options.grid)
    stroke_width = abs(float(style[0]))
    header = list(style[:STYLE_VALUES])
    header += style[STYLE_VALUES:] or [glyphline.number(v) for v in spacing(metrics, stroke_width)]
    space = float(header[STYLE_VALUES])
    lines, simplified = [], []
    coded = [(code, glyph_for(glyphs, code), False) for code in range(FIRST_CODE + 1, LAST_CODE + 1)]
    if options.marks:
        coded += marks.MarkMaker(glyphs, metrics, stroke_width).glyphs_made()
    elif options.breve:
        coded += marks.MarkMaker(glyphs, metrics, stroke_width).breve_from(*options.breve)
    for code, glyph, is_mark in coded:
        if glyph is None:
            continue
        # A mark is placed by its ink alone, so it never takes a joined cell.
        cell = joined_cell(glyph, metrics, stroke_width) if metrics.joined and ink(glyph) and not is_mark else []
        room = glyphline.LINE_LIMIT - 1 - glyphline.length_of(cell)
        words, steps = glyph_commands(glyph, metrics, options, stroke_width, room)
        if words is None:
            words = blank_commands(space, stroke_width)
        if steps:
            simplified.append(code_word(code))
        lines.append(code_word(code) + " " + " ".join(words + cell))
    if simplified:
        comment = comment + ["", "Written with fewer decimals or strokes to fit the reader's 499 characters",
                             "a line: " + " ".join(simplified)]
    top = ["# " + line if line else "#" for line in comment] + [" ".join(header)]
    return "\n".join(top + lines)
