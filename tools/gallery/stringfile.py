"""Writes logo3d string files from a short description, so that examples that
differ in one feature share everything else instead of repeating it."""

STILL_POLYNOMIAL = (0, 0, 0)
STILL_WAVE = (0, 1, 0)

# Materials the examples share: satin gold, glossy red, brushed steel, deep
# blue enamel, matte white, and the shadow's: it reflects nothing and only
# glows in the wall's shade, so the shadow lies flat whatever the lights do.
MATERIALS = [
    ((0.25, 0.2, 0.08, 1), (0.9, 0.72, 0.25, 1), (0.9, 0.85, 0.7, 1), 60, (0, 0, 0, 1)),
    ((0.25, 0.05, 0.05, 1), (0.85, 0.15, 0.12, 1), (1, 0.9, 0.9, 1), 90, (0, 0, 0, 1)),
    ((0.2, 0.2, 0.22, 1), (0.6, 0.62, 0.66, 1), (0.95, 0.95, 1, 1), 110, (0, 0, 0, 1)),
    ((0.04, 0.06, 0.16, 1), (0.12, 0.2, 0.55, 1), (0.6, 0.7, 1, 1), 40, (0, 0, 0, 1)),
    ((0.3, 0.3, 0.3, 1), (0.9, 0.9, 0.88, 1), (0.2, 0.2, 0.2, 1), 8, (0, 0, 0, 1)),
    ((0, 0, 0, 1), (0, 0, 0, 1), (0, 0, 0, 1), 0, (0.58, 0.62, 0.7, 1)),
]
SHADOW_MATERIAL = 5

# Colours: gold, red, steel, navy, white, grey-blue, sky blue, teal, and black
# for the shadow (with colour material on, the colour replaces the material's
# ambient and diffuse terms; black leaves the shadow material's glow alone).
COLOURS = [
    (1, 0.78, 0.25, 1), (0.95, 0.25, 0.15, 1), (0.75, 0.78, 0.82, 1), (0.1, 0.14, 0.34, 1),
    (0.97, 0.97, 0.95, 1), (0.52, 0.56, 0.65, 1), (0.35, 0.6, 1, 1), (0.1, 0.6, 0.6, 1),
    (0, 0, 0, 1),
]
SHADOW_COLOUR = 8


def shadow_on_wall(wall_z=-60, light=(0.35, -0.5, -1)):
    """A shadow on a wall parallel to the text, behind it."""
    return ((1, SHADOW_MATERIAL, SHADOW_COLOUR), (0, 0, wall_z), (0, 0, 1), light)


def numbers(values):
    return " ".join("%g" % v for v in values)


def decoration(enabled=0, mode=0, material=0, colour_a=0, colour_b=0, frequency=1):
    return (enabled, mode, material, colour_a, colour_b, frequency)


def primitive(kind=0, position=(0, 0, 0), size=(0, 0, 0), turn=(0, 0, 0), material=0, colour=0):
    return (kind,) + tuple(position) + tuple(size) + tuple(turn) + (material, colour)


def string_file(lines, description, sizes=None, band=None, under=None, over=None, middle=None,
                shadow=None, line_object=None, character_object=None, path_mode=0, proportional=1,
                offset=None, turn=None, shear=None, frames=1, trail=(0.5, 0.5),
                logo_shift=None, logo_turn=None, alignment=None):
    """lines: (text, size digits, material digits, colour digits) tuples; the
    motion arguments are lists of (polynomial, wave) pairs per axis;
    alignment, when given, is the layout line's third value (1 centred,
    2 flush left, 3 flush right)."""
    out = ["# " + description, "# The text: a line, then its size, material and colour digits."]
    for text, size_digits, material_digits, colour_digits in lines:
        out += [text, size_digits, material_digits, colour_digits]
    out.append("\\")
    out += ["# Size factors of the digits 0 to 9.",
            numbers(sizes or (0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.15, 1.3, 1.5, 1.8))]
    out.append("# Band, under rule, over rule, middle rule: on, colour mode, material, colours A and B, frequency.")
    for style in (band, under, over, middle):
        out.append(numbers(style or decoration()))
    out.append("# Shadow: on, material, colour; a point of the wall, its normal, the light's direction.")
    shadow = shadow or ((0, 0, 0), (0, 0, -60), (0, 0, 1), (0.35, -0.5, -1))
    out += [numbers(part) for part in shadow]
    out.append("# Line object and character object: kind, x y z, width height depth, turns, material, colour.")
    out.append(numbers(line_object or primitive()))
    out.append(numbers(character_object or primitive()))
    out.append("# Path mode and proportional spacing" + (", then the alignment." if alignment is not None else "."))
    out.append(numbers((path_mode, proportional) + ((alignment,) if alignment is not None else ())))
    out.append("# Per-character offsets, turns and shears (polynomials a b c, then waves amplitude frequency phase).")
    for channels in (offset, turn):
        channels = channels or [(STILL_POLYNOMIAL, STILL_WAVE)] * 3
        out += [numbers(p) for p, _ in channels] + [numbers(w) for _, w in channels]
    shear = shear or [(STILL_POLYNOMIAL, STILL_WAVE)] * 2
    out += [numbers(p) for p, _ in shear] + [numbers(w) for _, w in shear]
    out.append("# Animation: frames, trail weight, trail ratio.")
    out.append(numbers((frames,) + tuple(trail)))
    out.append("# Whole-logo shift and turn over the animation.")
    for channels in (logo_shift, logo_turn):
        channels = channels or [(STILL_POLYNOMIAL, STILL_WAVE)] * 3
        out += [numbers(p) for p, _ in channels] + [numbers(w) for _, w in channels]
    out.append("# Colour material on (ambient and diffuse), then the material and colour counts.")
    out.append(numbers((1, 4, len(MATERIALS), len(COLOURS))))
    for index, (ambient, diffuse, specular, shininess, emission) in enumerate(MATERIALS):
        out += ["# material %d" % index, numbers(ambient), numbers(diffuse), numbers(specular),
                "%g" % shininess, numbers(emission)]
    for index, colour in enumerate(COLOURS):
        out += ["# colour %d" % index, numbers(colour)]
    return "\n".join(out) + "\n"


def uniform_line(text, size="5", material="0", colour="0"):
    """A text line whose characters all share one size, material and colour."""
    return (text, size * len(text), material * len(text), colour * len(text))
