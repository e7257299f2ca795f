#!/usr/bin/env python3
"""Generate src/astro/vsop87d_earth.cpp from the VSOP87D Earth file.

Usage: tools/gen_vsop87d.py [INPUT [OUTPUT]]

INPUT defaults to ../shared/data/VSOP87D.ear and OUTPUT to
src/astro/vsop87d_earth.cpp, both relative to the repository root.

Each series is taken from its start, in file order, and cut after the
number of terms the solar position code evaluates. The amplitude, phase and
frequency of every term are copied digit for digit from the file, so the
compiler sees exactly the published decimals. The output depends only on the
input file, so running the script twice gives the same bytes.
"""

import os
import re
import sys

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_INPUT = os.path.join(REPO_ROOT, "..", "shared", "data", "VSOP87D.ear")
DEFAULT_OUTPUT = os.path.join(REPO_ROOT, "src", "astro", "vsop87d_earth.cpp")

VARIABLE_NAMES = {1: "L", 2: "B", 3: "R"}

# Terms kept per series, keyed by (variable letter, power of tau).
CUTS = {
    ("L", 0): 160, ("L", 1): 80, ("L", 2): 40, ("L", 3): 8, ("L", 4): 8,
    ("L", 5): 4,
    ("B", 0): 80, ("B", 1): 40, ("B", 2): 20, ("B", 3): 8, ("B", 4): 4,
    ("R", 0): 120, ("R", 1): 60, ("R", 2): 40, ("R", 3): 6, ("R", 4): 6,
    ("R", 5): 2,
}

# Reference terms (1-based index, A, B, C) that pin down where each cut
# series starts and ends; a mismatch means the wrong file or a wrong cut.
CHECKS = {
    ("L", 0): [(1, 1.75347045673, 0, 0),
               (2, 0.03341656456, 4.66925680417, 6283.0758499914),
               (160, 3.03e-08, 1.80209931347, 35371.8872659764)],
    ("L", 1): [(1, 6283.31966747491, 0, 0),
               (2, 0.00206058863, 2.67823455584, 6283.0758499914),
               (80, 1.268e-08, 2.09196018331, 6290.1893969922)],
    ("L", 2): [(1, 0.0005291887, 0, 0),
               (40, 4.9e-09, 2.34129524194, 1592.5960136328)],
    ("L", 3): [(1, 2.89226e-06, 5.84384198723, 6283.0758499914),
               (8, 4.02e-09, 3.78682982419, 553.5694028424)],
    ("L", 4): [(1, 1.14084e-06, 3.14159265359, 0),
               (8, 1.3e-10, 0.48794833701, 77713.7714681205)],
    ("L", 5): [(1, 8.78e-09, 3.14159265359, 0),
               (4, 2.8e-10, 2.21496423926, 12566.1516999828)],
    # B0 is cut after 80 terms; the term 5.03e-09, 4.85802444134,
    # 6290.1893969922 that sometimes closes this series is the file's 81st.
    ("B", 0): [(1, 2.7962e-06, 3.19870156017, 84334.66158130829),
               (80, 4.04e-09, 1.46193297142, 15720.8387848784),
               (81, 5.03e-09, 4.85802444134, 6290.1893969922)],
    ("B", 1): [(1, 9.03e-08, 3.8972906189, 5507.5532386674),
               (40, 1.61e-09, 3.32421999691, 6283.3196674749)],
    ("B", 2): [(1, 1.662e-08, 1.62703209173, 84334.66158130829),
               (20, 1.9e-10, 4.32945160287, 17789.845619785)],
    ("B", 3): [(1, 1.1e-10, 0.23877262399, 7860.4193924392),
               (8, 8e-11, 2.42003508927, 5753.3848848968)],
    ("B", 4): [(1, 4e-11, 0.79662198849, 6438.4962494256),
               (4, 3e-11, 3.46779895686, 6279.5527316424)],
    ("R", 0): [(1, 1.00013988799, 0, 0),
               (2, 0.01670699626, 3.09846350771, 6283.0758499914),
               (120, 2.154e-08, 6.03828341543, 10873.9860304804)],
    ("R", 1): [(1, 0.00103018608, 1.10748969588, 6283.0758499914),
               (60, 6.44e-09, 4.19478168733, 6040.3472460174)],
    ("R", 2): [(1, 4.359385e-05, 5.78455133738, 6283.0758499914),
               (40, 2.14e-09, 3.38285934319, 7632.9432596502)],
    ("R", 3): [(1, 1.44595e-06, 4.27319435148, 6283.0758499914),
               (6, 3.3e-10, 5.62216602775, 6127.6554505572)],
    ("R", 4): [(1, 3.858e-08, 2.56384387339, 6283.0758499914),
               (6, 7e-11, 4.4121885448, 161000.6857376741)],
    ("R", 5): [(1, 8.6e-10, 1.21579741687, 6283.0758499914),
               (2, 1.2e-10, 0.65617264033, 12566.1516999828)],
}

HEADER_RE = re.compile(
    r"^ VSOP87 VERSION D4\s+EARTH\s+VARIABLE (\d) \(LBR\)\s+\*T\*\*(\d)\s+(\d+) TERMS")
NUMBER_RE = re.compile(r"^-?\d+\.\d+$")


def fail(message):
    sys.exit("gen_vsop87d: " + message)


def parse(path):
    """Return {(letter, power): [(A, B, C) digit strings, ...]} in file order."""
    series = {}
    current = None
    expected = 0
    with open(path, encoding="ascii") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip():
                continue
            header = HEADER_RE.match(line)
            if header:
                if current is not None and len(series[current]) != expected:
                    fail("%s%d holds %d terms, header says %d"
                         % (current[0], current[1], len(series[current]), expected))
                variable, power, expected = (int(g) for g in header.groups())
                if variable not in VARIABLE_NAMES:
                    fail("line %d: unknown variable %d" % (lineno, variable))
                current = (VARIABLE_NAMES[variable], power)
                if current in series:
                    fail("line %d: series %s%d repeated" % (lineno, *current))
                series[current] = []
                continue
            if current is None:
                fail("line %d: term before any series header" % lineno)
            # Fixed columns of the published format:
            # 1x,4i1,i5,12i3,f15.11,2f18.11,f14.11,f20.11
            code = line[1:5]
            if (code[:2] != "43" or int(code[2]) != " LBR".index(current[0])
                    or int(code[3]) != current[1]):
                fail("line %d: term code %r does not match series %s%d"
                     % (lineno, code, *current))
            if int(line[5:10]) != len(series[current]) + 1:
                fail("line %d: term number out of sequence" % lineno)
            fields = (line[79:97].strip(), line[97:111].strip(),
                      line[111:131].strip())
            if not all(NUMBER_RE.match(x) for x in fields):
                fail("line %d: cannot read amplitude/phase/frequency %r"
                     % (lineno, fields))
            if line[131:].strip():
                fail("line %d: unexpected text after frequency" % lineno)
            series[current].append(fields)
    if current is not None and len(series[current]) != expected:
        fail("%s%d holds %d terms, header says %d"
             % (current[0], current[1], len(series[current]), expected))
    return series


def check(series):
    for key, count in CUTS.items():
        terms = series.get(key)
        if terms is None:
            fail("series %s%d missing" % key)
        if len(terms) < count:
            fail("series %s%d has only %d terms, %d needed"
                 % (key[0], key[1], len(terms), count))
        for index, a, b, c in CHECKS[key]:
            got = tuple(float(x) for x in terms[index - 1])
            if got != (a, b, c):
                fail("%s%d term %d is %r, expected %r"
                     % (key[0], key[1], index, got, (a, b, c)))


def render(series):
    out = [
        "// Generated by tools/gen_vsop87d.py from the VSOP87D Earth file",
        "// (Bretagnon & Francou 1988, heliocentric ecliptic spherical coordinates",
        "// of date). Each series is taken from its start in file order and cut",
        "// after a fixed number of terms:",
        "//   L0..L5: " + ", ".join(str(CUTS[("L", p)]) for p in range(6)),
        "//   B0..B4: " + ", ".join(str(CUTS[("B", p)]) for p in range(5)),
        "//   R0..R5: " + ", ".join(str(CUTS[("R", p)]) for p in range(6)),
        "// Do not edit; change the generator and run it again.",
        "",
        '#include "series_tables.h"',
    ]
    for letter in "LBR":
        for power in range(6):
            key = (letter, power)
            if key not in CUTS:
                continue
            count = CUTS[key]
            out.append("")
            out.append("const VsopTerm Earth%s%d[%d] = {" % (letter, power, count))
            for a, b, c in series[key][:count]:
                out.append("    {%s, %s, %s}," % (a, b, c))
            out.append("};")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) > 3:
        sys.exit(__doc__)
    source = argv[1] if len(argv) > 1 else DEFAULT_INPUT
    target = argv[2] if len(argv) > 2 else DEFAULT_OUTPUT
    series = parse(source)
    check(series)
    text = render(series)
    with open(target, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv)
