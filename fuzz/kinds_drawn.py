#!/usr/bin/env python3
"""How often each kind of drawing ran, from llvm-cov's JSON export of the
fuzz targets' coverage: one column per target, one row per stroke kind,
section shape, cap style and primitive kind (each is one function of the
drawing code). Exits 1 when a kind ran in none of the targets.

Usage: kinds_drawn.py TARGET.json...   (named after the file, e.g. font.json)
"""

import json
import os
import subprocess
import sys

# (group, the number a data file gives it, the source file, the function).
KINDS = [("stroke kind", name, file, f"{name}::Draw()")
         for name, file in [("LineStroke", "LineStroke.cpp"), ("StiffStroke", "StiffStroke.cpp"),
                            ("PivotStroke", "PivotStroke.cpp"), ("CircleStroke", "CircleStroke.cpp"),
                            ("DotStroke", "DotStroke.cpp")]]
KINDS += [("section shape", str(number), file, f"{name}(ProfileFrame const&, Section&)")
          for number, (name, file) in enumerate([
              ("EllipseProfile", "PolygonProfiles.cpp"), ("InscribedPolygonProfile", "PolygonProfiles.cpp"),
              ("StarProfile", "PolygonProfiles.cpp"), ("HProfile", "BlockProfiles.cpp"),
              ("LProfile", "BlockProfiles.cpp"), ("PointedOvalProfile", "ArcProfiles.cpp"),
              ("LensProfile", "ArcProfiles.cpp"), ("CrescentProfile", "ArcProfiles.cpp"),
              ("ChamferedPolygonProfile", "PolygonProfiles.cpp"), ("RoundedPolygonProfile", "PolygonProfiles.cpp")])]
KINDS += [("cap style", str(number), "CapStyles.cpp", f"(anonymous namespace)::{name}({arguments})")
          for number, name, arguments in [
              (2, "Round", "CapSweep&, CapSizes const&"), (3, "Point", "CapSweep&, CapSizes const&"),
              (4, "Square", "CapSweep&, CapSizes const&"), (5, "Arrowhead", "CapSweep&, CapSizes const&"),
              (6, "BulbThenPoint", "CapSweep&, CapSizes const&"),
              (7, "BulgeWithFlatEnd", "CapSweep&, CapSizes const&"),
              (8, "BrushTip", "CapSweep&, CapSizes const&"), (9, "Ball", "CapSizes const&"),
              (10, "RoundedFlatEnd", "CapSweep&, CapSizes const&"),
              (11, "BallKnob", "CapSweep&, CapSizes const&")]]
KINDS += [("primitive kind", str(number), f"{name}.cpp", f"{name}::DrawShape()")
          for number, name in enumerate(["SquareButton", "RoundButton", "SquareFrame", "RoundFrame", "SquarePole",
                                         "RoundPole", "SquareEdgeButton", "RoundEdgeButton", "LineStrokeObject"],
                                        start=1)]


def demangled(names):
    # Functions of internal linkage carry their file: "File.cpp:_ZN...".
    bare = [name.split(":", 1)[1] if ":" in name else name for name in names]
    out = subprocess.run(["c++filt"], input="\n".join(bare), capture_output=True, text=True, check=True).stdout
    return out.split("\n")[:len(names)]


def counts(path):
    """{(source file name, demangled function): times it ran}"""
    with open(path) as f:
        functions = json.load(f)["data"][0]["functions"]
    names = demangled([function["name"] for function in functions])
    ran = {}
    for function, name in zip(functions, names):
        key = (os.path.basename(function["filenames"][0]), name)
        ran[key] = ran.get(key, 0) + function["count"]
    return ran


def main(paths):
    targets = [os.path.splitext(os.path.basename(path))[0] for path in paths]
    ran = [counts(path) for path in paths]
    print(f"{'':16}{'kind':28}" + "".join(f"{target:>12}" for target in targets))
    never = 0
    for group, number, file, function in KINDS:
        times = [target.get((file, function), 0) for target in ran]
        never += all(t == 0 for t in times)
        name = function.split("(anonymous namespace)::")[-1].split("(")[0].split("::")[0]
        label = name if group == "stroke kind" else f"{number} ({name})"
        print(f"{group:16}{label:28}" + "".join(f"{t:>12}" for t in times))
    if never:
        print(f"{never} kinds never drawn")
        return 1
    print("every kind drawn")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
