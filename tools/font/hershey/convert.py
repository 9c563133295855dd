"""One JHF file to the text of a logo3d font file, with the comment that
names the source, the acknowledgement the Hershey data must carry and how
the file was made."""

import os

from . import face, jhf

TOLERANCE = 0.35  # JHF grid units: how far an arc may stray from the points
CORNER = 50.0  # degrees: a sharper turn at one point is a corner

# The acknowledgement that the Hershey licence requires to go with the data.
ACKNOWLEDGEMENT = [
    "- The Hershey Fonts were originally created by Dr.",
    "  A. V. Hershey while working at the U. S.",
    "  National Bureau of Standards.",
    "- The format of the Font data in this distribution",
    "  was originally created by",
    "    James Hurt",
    "    Cognition, Inc.",
    "    900 Technology Park Drive",
    "    Billerica, MA 01821",
    "    (mit-eddie!ci-dandelion!hurt)",
]


class Settings:
    """How a face is converted: the style values of the header (nine, or
    thirteen with the spacing), the arc tolerance in JHF units, the corner
    angle in degrees, whether arcs are fitted at all, and the grid
    (baseline, capital top) in JHF units when the face's own is not measured,
    and whether accents and the dotless i and j are made from the face's
    strokes (for a Latin face), or only the breve, as the strokes that one
    glyph has and another lacks (breve, a pair of keys)."""

    def __init__(self, style, tolerance=TOLERANCE, corner=CORNER, fit_arcs=True, header_given=False, grid=None,
                 marks=False, breve=None):
        self.style = list(style)
        self.tolerance = tolerance
        self.corner = corner
        self.fit_arcs = fit_arcs
        self.header_given = header_given
        self.grid = grid
        self.marks = marks
        self.breve = breve

    def command(self, source):
        """The import-hershey command that makes the font, for its comment."""
        words = ["tools/font/import-hershey", os.path.basename(source)]
        if self.header_given:
            words.append(f'--header "{" ".join(self.style)}"')
        if not self.fit_arcs:
            words.append("--no-arcs")
        if self.tolerance != TOLERANCE:
            words.append(f"--tolerance {self.tolerance:g}")
        if self.corner != CORNER:
            words.append(f"--corner {self.corner:g}")
        if self.grid is not None:
            words.append(f"--grid {self.grid[0]:g} {self.grid[1]:g}")
        if self.marks:
            words.append("--marks")
        if self.breve:
            words.append(f"--breve-from {self.breve[0]} {self.breve[1]}")
        return " ".join(words)


class StyleError(Exception):
    """Style values that a header cannot hold."""


def style_values(text, source):
    """The values of a header given as text, checked."""
    values = text.split()
    try:
        [float(v) for v in values]
    except ValueError:
        raise StyleError(f"{source}: the header holds something that is not a number: {text!r}") from None
    if len(values) not in (face.STYLE_VALUES, face.STYLE_VALUES + 4):
        raise StyleError(f"{source}: a header has {face.STYLE_VALUES} style values, or 13 with the spacing; "
                         f"{len(values)} given")
    return values


def style_of(font_path):
    """The style values of the header line of a font file."""
    try:
        with open(font_path) as font:
            for line in font:
                if line.strip() and not line.startswith("#"):
                    return style_values(" ".join(line.split()[:face.STYLE_VALUES]), font_path)
    except OSError as problem:
        raise StyleError(f"{font_path}: cannot read: {problem.strerror}") from None
    raise StyleError(f"{font_path}: has no header line")


def comment(source, settings):
    name = os.path.splitext(os.path.basename(source))[0]
    return [
        f"The Hershey face {name}, converted from {os.path.basename(source)} into a",
        f"logo3d stroke font by: {settings.command(source)}",
        "Import it again rather than editing it.",
        "",
        *ACKNOWLEDGEMENT,
        "",
        "Capitals are 30 units high on the baseline y = 0, as in data/font.src,",
        "whose comment explains the header and the pen commands. The file ends",
        "without a line end after its last glyph: one more line end would read",
        "as one more, empty glyph.",
    ]


def convert(source, settings):
    """The font text of one JHF file; raises jhf.JhfError on a bad file."""
    glyphs = jhf.read_glyphs(source)
    return face.font_text(glyphs, settings.style, comment(source, settings), settings)
