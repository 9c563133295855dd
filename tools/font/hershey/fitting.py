"""Turns a pen-down polyline into the strokes of a chain: circular arcs
where consecutive points lie on one circle, straight strokes elsewhere.

Hershey curves are runs of short chords between points on a unit grid.
Swept as they are, every chord shows as a facet; fitted arcs are swept as
smooth round bodies. A run of points becomes one arc when the arc stays
within the tolerance of every point and of the middle of every chord
between them, so a curve is followed closely and a corner is never rounded
off. Where the path turns by more than the corner angle at one point, that
point is a corner: no arc passes through it or ends at it, and the straight
strokes that meet there are stiff, so the corner keeps its point.

Points are (x, y) pairs in font units, y upwards.
"""

import collections
import math

# A stroke of the chain: kind "l", "s" (straight, to end) or "c" (arc about
# centre through sweep radians, counter-clockwise when positive).
Piece = collections.namedtuple("Piece", "kind start end centre sweep")

LONGEST_SWEEP = math.radians(330)  # an arc stays clear of a full turn


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1])


def add(a, b):
    return (a[0] + b[0], a[1] + b[1])


def scale(a, f):
    return (a[0] * f, a[1] * f)


def cross(a, b):
    return a[0] * b[1] - a[1] * b[0]


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1]


def length(a):
    return math.hypot(a[0], a[1])


def unit(a):
    n = length(a)
    return (a[0] / n, a[1] / n) if n > 0 else (1.0, 0.0)


def rotate(a, angle):
    c, s = math.cos(angle), math.sin(angle)
    return (a[0] * c - a[1] * s, a[0] * s + a[1] * c)


def turn(u, v):
    """The unsigned angle from direction u to direction v."""
    return abs(math.atan2(cross(u, v), dot(u, v)))


def line(start, end):
    return Piece("l", start, end, None, 0.0)


def arc_through(points, tolerance, tangent=None):
    """The arc from the first point to the last that passes within the
    tolerance of every point and chord middle between them, or None. With a
    tangent, the arc leaves the first point in that direction, so that it
    runs on smoothly from the piece before."""
    a, b = points[0], points[-1]
    chord = sub(b, a)
    if len(points) < 3 or length(chord) < 1e-6:
        return None
    if tangent is None:
        centre = free_centre(points)
    else:
        centre = tangent_centre(a, b, tangent)
    if centre is None:
        return None
    radius = length(sub(a, centre))
    # The path turns clockwise when it bulges to the left of the chord.
    left = (-chord[1], chord[0])
    clockwise = sum(dot(sub(p, a), left) for p in points[1:-1]) > 0
    begin = math.atan2(a[1] - centre[1], a[0] - centre[0])

    def travelled(p):
        angle = math.atan2(p[1] - centre[1], p[0] - centre[0]) - begin
        angle = -angle if clockwise else angle
        return angle % (2 * math.pi)

    sweep = travelled(b)
    if sweep > LONGEST_SWEEP or sweep < 1e-6:
        return None
    piece = Piece("c", a, b, centre, -sweep if clockwise else sweep)
    if tangent is not None and dot(start_direction(piece), tangent) < 0.999:
        return None  # the points bend the other way
    previous = 0.0
    for p in points[1:-1]:
        along = travelled(p)
        if not previous < along < sweep:
            return None
        previous = along
    checked = points[1:-1] + [scale(add(p, q), 0.5) for p, q in zip(points, points[1:])]
    if any(abs(length(sub(p, centre)) - radius) > tolerance for p in checked):
        return None
    return piece


def free_centre(points):
    """The centre of the circle through the first and the last point that
    comes closest to the others, or None when they all lie on one line."""
    a, b = points[0], points[-1]
    chord = sub(b, a)
    half = length(chord) / 2
    middle = scale(add(a, b), 0.5)
    normal = scale((-chord[1], chord[0]), 0.5 / half)
    # Centres on the bisector of a and b give circles through both; the best
    # one solves |p - centre|^2 = radius^2 over the points in least squares,
    # which is linear in the centre's offset t along the bisector.
    numerator = denominator = 0.0
    for p in points[1:-1]:
        q = sub(p, middle)
        d = dot(q, normal)
        numerator += d * (dot(q, q) - half * half)
        denominator += d * d
    if denominator < 1e-9:
        return None
    return add(middle, scale(normal, numerator / (2 * denominator)))


def tangent_centre(a, b, tangent):
    """The centre of the circle through a and b that touches the tangent at a."""
    normal = (-tangent[1], tangent[0])
    chord = sub(b, a)
    across = dot(chord, normal)
    if abs(across) < 1e-6:
        return None
    return add(a, scale(normal, dot(chord, chord) / (2 * across)))


def straight(points, tolerance):
    """Whether the points run along the chord from the first to the last."""
    a, b = points[0], points[-1]
    direction = unit(sub(b, a))
    reach = length(sub(b, a))
    along = 0.0
    for p in points[1:-1]:
        q = sub(p, a)
        position = dot(q, direction)
        if abs(cross(direction, q)) > tolerance or not along <= position <= reach:
            return False
        along = position
    return reach > 0


def corners(points, closed, corner_angle):
    """Which points the path turns at by more than the corner angle."""
    count = len(points)
    flags = [False] * count
    for k in range(count):
        if not closed and k in (0, count - 1):
            continue
        before = points[k - 1] if k > 0 else points[-2]
        after = points[k + 1] if k < count - 1 else points[1]
        flags[k] = turn(sub(points[k], before), sub(after, points[k])) > corner_angle
    if closed:
        flags[-1] = flags[0]
    return flags


# How many points further a free arc must reach than one that runs on
# smoothly from the piece before, to be taken instead.
SMOOTH_SLACK = 1


def fit(points, closed, tolerance, corner_angle, fit_arcs=True):
    """The pieces of a polyline of distinct consecutive points, in order,
    each with kind "c" or "l" (stiffness is chosen once the joints are known).

    Each piece reaches as far along the points as it can. An arc that runs on
    from the piece before in its direction is preferred, so that curves made
    of several arcs have no kinks, then a free arc, then a straight stroke."""
    corner = corners(points, closed, corner_angle)
    pieces = []
    i = 0
    last = len(points) - 1
    while i < last:
        j_line = i + 1
        while j_line < last and not corner[j_line] and straight(points[i:j_line + 2], tolerance):
            j_line += 1
        best, reach = line(points[i], points[j_line]), j_line
        if fit_arcs and not corner[i]:
            smooth = False
            if pieces:
                j_arc, arc = longest_arc(points, i, corner, tolerance, end_direction(pieces[-1]))
                if arc is not None and j_arc > reach:
                    best, reach, smooth = arc, j_arc, True
            j_arc, arc = longest_arc(points, i, corner, tolerance, None)
            if arc is not None and j_arc > reach + (SMOOTH_SLACK if smooth else 0):
                best, reach = arc, j_arc
        pieces.append(best)
        i = reach
    return pieces


def longest_arc(points, i, corner, tolerance, tangent):
    """The arc from point i that reaches furthest without touching a corner,
    and the index of its last point."""
    found, reach = None, i
    for j in range(i + 2, len(points)):
        if corner[j]:
            break
        candidate = arc_through(points[i:j + 1], tolerance, tangent)
        if candidate is None:
            break
        found, reach = candidate, j
    return reach, found


def start_direction(piece):
    if piece.kind == "c":
        radial = sub(piece.start, piece.centre)
        return unit((-radial[1], radial[0]) if piece.sweep > 0 else (radial[1], -radial[0]))
    return unit(sub(piece.end, piece.start))


def end_direction(piece):
    if piece.kind == "c":
        radial = sub(piece.end, piece.centre)
        return unit((-radial[1], radial[0]) if piece.sweep > 0 else (radial[1], -radial[0]))
    return unit(sub(piece.end, piece.start))


def piece_length(piece):
    if piece.kind == "c":
        return length(sub(piece.start, piece.centre)) * abs(piece.sweep)
    return length(sub(piece.end, piece.start))


def halves(piece):
    """The piece cut in two at its middle."""
    if piece.kind == "c":
        middle = add(piece.centre, rotate(sub(piece.start, piece.centre), piece.sweep / 2))
        return (piece._replace(end=middle, sweep=piece.sweep / 2),
                piece._replace(start=middle, sweep=piece.sweep / 2))
    middle = scale(add(piece.start, piece.end), 0.5)
    return piece._replace(end=middle), piece._replace(start=middle)


def open_loop(pieces):
    """A closed chain opened in the middle of its longest piece, so that its
    two open ends meet at one point running in one direction."""
    longest = max(range(len(pieces)), key=lambda k: piece_length(pieces[k]))
    first, second = halves(pieces[longest])
    return [second] + pieces[longest + 1:] + pieces[:longest] + [first]


def stiffen(pieces, corner_angle, stroke_width):
    """Straight pieces become stiff at a corner, and where they are too short
    for the trims that plain lines make at their joints (they would vanish)."""
    result = []
    for k, piece in enumerate(pieces):
        if piece.kind != "c":
            before = turn(end_direction(pieces[k - 1]), start_direction(piece)) if k > 0 else 0.0
            after = turn(end_direction(piece), start_direction(pieces[k + 1])) if k + 1 < len(pieces) else 0.0
            trims = (math.tan(before / 2) + math.tan(after / 2)) * stroke_width
            sharp = max(before, after) > corner_angle
            piece = piece._replace(kind="s" if sharp or trims >= piece_length(piece) else "l")
        result.append(piece)
    return result


def chain(points, tolerance, corner_angle, stroke_width, fit_arcs=True):
    """The pieces of one pen-down polyline, and whether it is a closed loop
    (then it starts and ends in the middle of a piece, with open ends)."""
    distinct = [p for k, p in enumerate(points) if k == 0 or p != points[k - 1]]
    closed = len(distinct) > 2 and distinct[0] == distinct[-1]
    pieces = fit(distinct, closed, tolerance, corner_angle, fit_arcs)
    if closed:
        pieces = open_loop(pieces)
    return stiffen(pieces, corner_angle, stroke_width), closed
