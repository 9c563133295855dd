"""The accents of a Latin face, made from the face's own strokes.

The Hershey faces have the ASCII glyphs alone, with ' ` ^ ~ . - , among
them. Each mark is one of those glyphs, turned, mirrored, cut or made
smaller: acute and grave from the apostrophe and the grave accent (whichever
leans the right way, slanted if need be), circumflex from ^ (an arrow's
shaft left out), caron the circumflex turned over, tilde from ~, dot above
from the full stop and the diaeresis two of them, macron from the hyphen,
cedilla from the comma and ogonek the comma mirrored, ring a small o and
breve the lower half of one, double acute two acutes. The dotless i and j
are the face's i and j without the strokes of their dot, and Ø ø Đ đ Ł ł
its O o D d L l with its / or - through them, where that stroke shows (the
swashes of script and gothic capitals can hide it: then there is none).

Everything here works in JHF units (y downwards, baseline and capital top
from the face's metrics); the marks come out as glyphs that the face's
conversion writes as it writes any other.
"""

import math

from . import jhf

# The combining marks made, their spacing accents, and whether they hang
# below the letter.
ABOVE, BELOW = False, True
MARKS = [
    # (combining mark, spacing accent or None, side, maker's name)
    (0x0300, None, ABOVE, "grave"),  # the spacing grave is the face's own `
    (0x0301, 0x00B4, ABOVE, "acute"),
    (0x0302, None, ABOVE, "circumflex"),  # ^ is the face's own
    (0x0303, None, ABOVE, "tilde"),  # ~ is the face's own
    (0x0304, 0x00AF, ABOVE, "macron"),
    (0x0306, 0x02D8, ABOVE, "breve"),
    (0x0307, 0x02D9, ABOVE, "dot"),
    (0x0308, 0x00A8, ABOVE, "diaeresis"),
    (0x030A, 0x02DA, ABOVE, "ring"),
    (0x030B, 0x02DD, ABOVE, "double_acute"),
    (0x030C, 0x02C7, ABOVE, "caron"),
    (0x0327, 0x00B8, BELOW, "cedilla"),
    (0x0328, 0x02DB, BELOW, "ogonek"),
]
DOTLESS = [(0x0131, "i"), (0x0237, "j")]
# Letters that are another with a stroke through it: (letter, base, maker's name).
STRUCK = [(0x00D8, "O", "slashed"), (0x00F8, "o", "slashed"), (0x0110, "D", "barred_capital"),
          (0x0111, "d", "barred_ascender"), (0x0141, "L", "stroked_capital"), (0x0142, "l", "stroked_small")]

MARK_WIDTH = 0.65  # of the face's o: the width of the flat marks (circumflex, tilde, ...)
MARK_HEIGHT = 0.5  # of the mark's width: their height
TICK_HEIGHT = 0.5  # of the x-height: the most an acute or grave may reach
LEAN = 0.6  # the least slant of an acute or grave, across per down
FONT_CAP_HEIGHT = 30.0  # font units, as every face is scaled to
BAR = 0.45  # of the capitals' height: the width of the stroke through Ł ł Đ đ
RING_HOLE = 1.3  # of the pen's thickness: the least width of a ring's centre line


def bounds(strokes):
    xs = [x for s in strokes for x, _ in s]
    ys = [y for s in strokes for _, y in s]
    return min(xs), min(ys), max(xs), max(ys)


def mapped(strokes, f):
    return [[f(x, y) for x, y in s] for s in strokes]


def mirrored(strokes):
    """Left and right swapped, about the ink's middle."""
    x0, _, x1, _ = bounds(strokes)
    return mapped(strokes, lambda x, y: (x0 + x1 - x, y))


def turned_over(strokes):
    """Top and bottom swapped, about the ink's middle."""
    _, y0, _, y1 = bounds(strokes)
    return mapped(strokes, lambda x, y: (x, y0 + y1 - y))


def shrunk(strokes, width=None, height=None, uniform=False):
    """Made no wider than width and no higher than height (never larger),
    each way on its own or, if uniform, keeping the shape."""
    x0, y0, x1, y1 = bounds(strokes)
    sx = min(1.0, width / (x1 - x0)) if width and x1 > x0 else 1.0
    sy = min(1.0, height / (y1 - y0)) if height and y1 > y0 else 1.0
    if uniform:
        sx = sy = min(sx, sy)
    return mapped(strokes, lambda x, y: (x0 + (x - x0) * sx, y0 + (y - y0) * sy))


def lean(strokes):
    """How far the top of a mark stands to the right of its foot, per unit
    of height (positive: an acute's slant)."""
    points = [p for s in strokes for p in s]
    top = min(points, key=lambda p: (p[1], p[0]))
    foot = max(points, key=lambda p: (p[1], -p[0]))
    height = foot[1] - top[1]
    return (top[0] - foot[0]) / height if height > 0 else 0.0


def slanted(strokes, least):
    """Sheared so that it leans at least least to the right."""
    more = least - lean(strokes)
    if more <= 0:
        return strokes
    _, _, _, y1 = bounds(strokes)
    return mapped(strokes, lambda x, y: (x + more * (y1 - y), y))


def lower_half(strokes):
    """The parts of the strokes below the ink's middle line, cut where they
    cross it."""
    _, y0, _, y1 = bounds(strokes)
    middle = (y0 + y1) / 2
    halves = []
    for stroke in strokes:
        run = []
        for k, (x, y) in enumerate(stroke):
            if k > 0:
                px, py = stroke[k - 1]
                if (py < middle) != (y < middle) and py != y:
                    t = (middle - py) / (y - py)
                    crossing = (px + t * (x - px), middle)
                    if y < middle:
                        run.append(crossing)
                        halves.append(run)
                        run = []
                    else:
                        run = [crossing]
            if y >= middle:
                run.append((x, y))
        halves.append(run)
    return [run for run in halves if len(run) > 1]


def side_by_side(strokes, gap):
    """Two copies, gap apart between their centre lines' ink."""
    x0, _, x1, _ = bounds(strokes)
    step = x1 - x0 + gap
    return strokes + mapped(strokes, lambda x, y: (x + step, y))


def loop_of(strokes):
    """The closed loops of an o, without the strokes that join it to its
    neighbours in a script face (all of it when it has no loop)."""
    loops = []
    for stroke in strokes:
        ends = [(k, j) for k in range(len(stroke)) for j in range(len(stroke) - 1, k + 2, -1)
                if stroke[k] == stroke[j]]
        if ends:
            k, j = max(ends, key=lambda e: e[1] - e[0])
            loops.append(stroke[k:j + 1])
    return loops or strokes


def crossings(strokes, y):
    """Where the strokes cross the line at height y, left to right."""
    xs = []
    for stroke in strokes:
        for (x0, y0), (x1, y1) in zip(stroke, stroke[1:]):
            if y0 != y1 and min(y0, y1) <= y <= max(y0, y1):
                xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
    return sorted(xs)


def distance_to(point, strokes):
    """How far a point is from the nearest of the strokes' segments."""
    px, py = point
    best = math.inf
    for stroke in strokes:
        for (x0, y0), (x1, y1) in zip(stroke, stroke[1:] or stroke):
            dx, dy = x1 - x0, y1 - y0
            t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
            best = min(best, math.hypot(px - x0 - t * dx, py - y0 - t * dy))
    return best


def centred_on(strokes, x, y):
    x0, y0, x1, y1 = bounds(strokes)
    return mapped(strokes, lambda px, py: (px + x - (x0 + x1) / 2, py + y - (y0 + y1) / 2))


def without_shaft(strokes):
    """A caret without the shaft of an arrow: the straight strokes that run
    more down than across are left out."""
    def shaft(s):
        return len(s) == 2 and abs(s[1][0] - s[0][0]) * 4 <= abs(s[1][1] - s[0][1])
    kept = [s for s in strokes if not shaft(s)]
    return kept or strokes


def without_dot(strokes):
    """An i or j without the strokes of its dot: those wholly above the top
    of its longest stroke."""
    def length(s):
        return sum(math.dist(s[k], s[k + 1]) for k in range(len(s) - 1))
    stem = max(strokes, key=length)
    stem_top = min(y for _, y in stem)
    kept = [s for s in strokes if max(y for _, y in s) >= stem_top]
    return kept if len(kept) < len(strokes) else None


class MarkMaker:
    """Makes the marks of one face from its glyphs (index 0 is the space)."""

    def __init__(self, glyphs, metrics, stroke_width):
        self.glyphs = glyphs
        self.metrics = metrics
        self.pen = 2 * stroke_width / metrics.scale  # the pen's thickness in JHF units
        self.gap = stroke_width / metrics.scale  # the stroke width: the gap left between inks
        o = loop_of(self.strokes_of("o") or self.strokes_of("x"))
        x0, self.x_top, x1, _ = bounds(o)
        self.width = MARK_WIDTH * (x1 - x0)
        self.height = MARK_HEIGHT * self.width
        self.x_height = metrics.baseline - self.x_top
        self.o = o
        self.cap_height = FONT_CAP_HEIGHT / metrics.scale  # in JHF units

    def strokes_of(self, char):
        index = ord(char) - 32
        if 0 <= index < len(self.glyphs):
            return [list(s) for s in self.glyphs[index].strokes] or None
        return None

    def acute(self):
        return self.tick(("'", False), ("`", True), 1)

    def grave(self):
        return self.tick(("`", False), ("'", True), -1)

    def tick(self, own, other, direction):
        """The candidate that leans the right way most, slanted to LEAN."""
        candidates = []
        for char, mirror in (own, other):
            strokes = self.strokes_of(char)
            if strokes:
                candidates.append(mirrored(strokes) if mirror else strokes)
        if not candidates:
            return None
        best = max(candidates, key=lambda s: direction * lean(s))
        if direction < 0:
            best = mirrored(slanted(mirrored(best), LEAN))
        else:
            best = slanted(best, LEAN)
        return shrunk(best, height=TICK_HEIGHT * self.x_height, uniform=True)

    def circumflex(self):
        caret = self.strokes_of("^")
        return shrunk(without_shaft(caret), self.width, self.height) if caret else None

    def caron(self):
        circumflex = self.circumflex()
        return turned_over(circumflex) if circumflex else None

    def tilde(self):
        tilde = self.strokes_of("~")
        return shrunk(tilde, self.width, self.height) if tilde else None

    def macron(self):
        hyphen = self.strokes_of("-")
        return shrunk(hyphen, self.width) if hyphen else None

    def dot(self):
        return self.strokes_of(".")

    def diaeresis(self):
        dot = self.dot()
        return side_by_side(dot, self.pen + self.gap) if dot else None

    def ring(self):
        x0, _, x1, _ = bounds(self.o)
        size = max(0.45 * (x1 - x0), RING_HOLE * self.pen)
        return shrunk(self.o, size, size, uniform=True)

    def breve(self):
        half = lower_half(self.o)
        return shrunk(half, self.width, self.height) if half else None

    def double_acute(self):
        acute = self.acute()
        return side_by_side(acute, self.pen + self.gap) if acute else None

    def cedilla(self):
        return self.strokes_of(",")

    def ogonek(self):
        comma = self.strokes_of(",")
        return mirrored(comma) if comma else None

    def stem_at(self, base, y, leftmost):
        """The x of the base letter's stem at height y: the middle of the
        strokes' crossings there (of the first cluster of them when
        leftmost); None when nothing crosses."""
        xs = crossings(base, y)
        if not xs:
            return None
        if leftmost:
            xs = [x for x in xs if x <= xs[0] + 2]
        return sum(xs) / len(xs)

    def slashed(self, base):
        """O and o with the face's / through them, corner to corner."""
        slash = self.strokes_of("/")
        if not slash:
            return None
        x0, y0, x1, y1 = bounds(base)
        cut = shrunk(slash, x1 - x0, 1.15 * (y1 - y0))
        return centred_on(cut, (x0 + x1) / 2, (y0 + y1) / 2)

    def bar(self, base, y, leftmost, maker):
        """The stroke centred on the base's stem at height y, or None when
        it would not show: both its ends must stand clear of the base's
        strokes by more than half the pen, or the base's own swashes
        (script and gothic capitals) hide it."""
        x = self.stem_at(base, y, leftmost)
        stroke = maker() if x is not None else None
        if not stroke:
            return None
        stroke = centred_on(stroke, x, y)
        ends = [p for s in stroke for p in (s[0], s[-1])]
        if all(distance_to(p, base) > 0.5 * self.pen for p in ends):
            return stroke
        return None

    def short_slash(self):
        slash = self.strokes_of("/")
        return shrunk(slash, BAR * self.cap_height, 0.45 * BAR * self.cap_height) if slash else None

    def short_bar(self):
        hyphen = self.strokes_of("-")
        return shrunk(hyphen, BAR * self.cap_height) if hyphen else None

    def stroked_capital(self, base):
        """Ł: the L with a short slash across its stem below the middle."""
        return self.bar(base, self.metrics.baseline - 0.4 * (self.metrics.baseline - self.top_of(base)), True,
                        self.short_slash)

    def stroked_small(self, base):
        """ł: the l with a short slash across it at the middle of the x-height."""
        return self.bar(base, self.metrics.baseline - 0.55 * self.x_height, False, self.short_slash)

    def barred_capital(self, base):
        """Đ: the D with a short bar across its stem at the middle."""
        return self.bar(base, (self.metrics.baseline + self.top_of(base)) / 2, True, self.short_bar)

    def barred_ascender(self, base):
        """đ: the d with a short bar across its ascender, when it has one."""
        top = self.top_of(base)
        if self.x_top - top < 0.3 * self.x_height:
            return None
        return self.bar(base, (self.x_top + top) / 2, False, self.short_bar)

    @staticmethod
    def top_of(strokes):
        return bounds(strokes)[1]

    def placed(self, strokes, below):
        """The mark centred on x = 0, above the x-height or below the
        baseline, its ink one stroke width clear of the letters' ink (where
        a spacing accent stands; a combining mark is placed by its ink)."""
        x0, y0, x1, y1 = bounds(strokes)
        dx = -(x0 + x1) / 2
        clear = 3 * self.gap  # between centre lines: two half thicknesses and the gap
        dy = (self.metrics.baseline + clear - y0) if below else (self.x_top - clear - y1)
        return mapped(strokes, lambda x, y: (x + dx, y + dy))

    def breve_from(self, marked, plain):
        """The breve (and the spacing breve) of a face that has a letter with
        one (Cyrillic й) and the same letter without (и): the strokes the
        one has and the other lacks."""
        with_mark, without = self.strokes_of(marked), self.strokes_of(plain)
        if not with_mark or not without:
            return []
        breve = [s for s in with_mark if s not in without]
        if not breve or len(breve) == len(with_mark):
            return []
        strokes = self.placed(breve, ABOVE)
        x0, _, x1, _ = bounds(strokes)
        glyph = jhf.Glyph("breve", x0, x1, strokes, 0)
        return [(0x0306, glyph, True), (0x02D8, glyph, True)]

    def glyphs_made(self):
        """(code, glyph, is a mark) for every mark, dotless and struck
        letter the face can make."""
        made = []
        for combining, spacing, below, name in MARKS:
            strokes = getattr(self, name)()
            if not strokes:
                continue
            strokes = self.placed(strokes, below)
            x0, _, x1, _ = bounds(strokes)
            glyph = jhf.Glyph(name, x0, x1, strokes, 0)
            made.append((combining, glyph, True))
            if spacing is not None:
                made.append((spacing, glyph, True))
        for code, char, name in STRUCK:
            base = self.glyphs[ord(char) - 32]
            stroke = getattr(self, name)(base.strokes) if base.strokes else None
            if stroke:
                made.append((code, base._replace(strokes=[list(s) for s in base.strokes] + stroke), False))
        for code, char in DOTLESS:
            source = self.glyphs[ord(char) - 32] if ord(char) - 32 < len(self.glyphs) else None
            strokes = without_dot(source.strokes) if source and source.strokes else None
            if strokes:
                made.append((code, source._replace(strokes=strokes), False))
        return sorted(made, key=lambda item: item[0])
