"""Writes the pen commands of one glyph within the length of a font line.

The font reader takes at most 499 characters of a line, and the richest
Hershey glyphs (the gothic capitals, some symbols) need more when every
point is written to a thousandth of a unit. Such a glyph is written again,
step by step, with fewer decimals, looser arcs and whole numbers, then
without the strokes that lie inside others under the thick pen, until it
fits. The steps change nothing that shows at the default stroke width.

Numbers are written as the reader will take them back: an arc's sweep is
worked out from the point where the reader's pen really stands and the
centre as written, so rounding never adds up along a chain.
"""

import math

from . import fitting

LINE_LIMIT = 499  # characters of a font line that the reader takes

# (decimals, tolerance factor): each step is tried in turn.
STEPS = [(3, 1), (2, 1), (1, 1), (1, 2), (1, 3), (0, 3)]


def number(value, decimals=3):
    text = f"{value:.{decimals}f}"
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


class Dot:
    def __init__(self, point):
        self.point = point


class Chain:
    def __init__(self, pieces, closed):
        self.pieces = pieces
        self.closed = closed


def chains_of(polylines, tolerance, corner_angle, stroke_width, fit_arcs):
    """The dots and stroke chains of a glyph's polylines (font units)."""
    result = []
    for points in polylines:
        if len(set(points)) == 1:
            result.append(Dot(points[0]))
        else:
            pieces, closed = fitting.chain(points, tolerance, corner_angle, stroke_width, fit_arcs)
            result.append(Chain(pieces, closed))
    return result


def start_point(marker, point, decimals):
    x, y = number(point[0], decimals), number(point[1], decimals)
    # The reader takes a point at exactly (0, 0) for no point at all.
    if x == "0" and y == "0":
        x = "0.01"
    return [marker, x, y], (float(x), float(y))


def arc_words(piece, pen, decimals):
    """An arc as written, from where the pen stands, and where it ends."""
    cx, cy = number(piece.centre[0], decimals), number(piece.centre[1], decimals)
    centre = (float(cx), float(cy))
    begin = math.atan2(pen[1] - centre[1], pen[0] - centre[0])
    finish = math.atan2(piece.end[1] - centre[1], piece.end[0] - centre[0])
    sweep = finish - begin
    # The turn about the written centre nearest to the fitted one.
    sweep += 2 * math.pi * round((piece.sweep - sweep) / (2 * math.pi))
    degrees = number(math.degrees(sweep), max(decimals, 1))
    turned = fitting.rotate(fitting.sub(pen, centre), math.radians(float(degrees)))
    return ["c", cx, cy, degrees], fitting.add(centre, turned)


def chain_words(chain, decimals):
    marker = "f" if chain.closed else "e"
    if chain.closed:
        # Rounded coarser, a loop would not quite meet itself where it opens.
        decimals = 3
    words, pen = start_point(marker, chain.pieces[0].start, decimals)
    for piece in chain.pieces:
        if piece.kind == "c":
            more, pen = arc_words(piece, pen, decimals)
        else:
            x, y = number(piece.end[0], decimals), number(piece.end[1], decimals)
            more, pen = [piece.kind, x, y], (float(x), float(y))
        words += more
    return words + [marker]


def words_of(chains, decimals):
    words = []
    for item in chains:
        if isinstance(item, Dot):
            words += start_point("e", item.point, decimals)[0] + ["e"]
        else:
            words += chain_words(item, decimals)
    return words


def samples(item, step):
    """Points along a dot or chain, about step apart."""
    if isinstance(item, Dot):
        return [item.point]
    points = []
    for piece in item.pieces:
        count = max(1, int(fitting.piece_length(piece) / step))
        for k in range(count + 1):
            t = k / count
            if piece.kind == "c":
                radial = fitting.rotate(fitting.sub(piece.start, piece.centre), piece.sweep * t)
                points.append(fitting.add(piece.centre, radial))
            else:
                points.append(fitting.add(piece.start, fitting.scale(fitting.sub(piece.end, piece.start), t)))
    return points


def most_hidden(chains, stroke_width):
    """The index of the stroke that runs closest alongside the others, or
    None when none does: every point of such a stroke lies within the stroke
    width of another stroke's line, so that the others' bodies cover most of
    its own."""
    sampled = [samples(item, stroke_width / 2) for item in chains]
    best, best_score = None, None
    for k, own in enumerate(sampled):
        others = [p for j, points in enumerate(sampled) if j != k for p in points]
        if not others:
            return None
        score = 0.0
        for p in own:
            score = max(score, min(math.hypot(p[0] - q[0], p[1] - q[1]) for q in others))
        if score < stroke_width and (best_score is None or score < best_score):
            best, best_score = k, score
    return best


def glyph_words(polylines, tolerance, corner_angle, stroke_width, fit_arcs, limit):
    """The words of a glyph line no longer than limit characters, and how far
    it had to be simplified (0 when written in full)."""
    simplified = 0
    for decimals, factor in STEPS:
        chains = chains_of(polylines, tolerance * factor, corner_angle, stroke_width, fit_arcs)
        words = words_of(chains, decimals)
        if length_of(words) <= limit:
            return words, simplified
        simplified += 1
    # Still too long: leave out the strokes the thick pen hides, then, if
    # need be, the shortest ones.
    while length_of(words) > limit and len(chains) > 1:
        hidden = most_hidden(chains, stroke_width)
        if hidden is None:
            hidden = min(range(len(chains)), key=lambda k: len(samples(chains[k], 1.0)))
        del chains[hidden]
        words = words_of(chains, decimals)
        simplified += 1
    return words, simplified


def length_of(words):
    return sum(len(w) + 1 for w in words)
