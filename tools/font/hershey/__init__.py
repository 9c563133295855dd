"""Conversion of Hershey fonts in the JHF format into logo3d stroke fonts:
jhf reads the glyphs, fitting turns each pen-down polyline into lines and
arcs, face works out the metrics and writes the font file."""
