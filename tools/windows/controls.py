#!/usr/bin/env python3
"""The calculator's controls where its own table puts them.

Reads the rows of ui/calculator/calculatorcontrols.h, the table the window
is built from, and prints for each control its name and the pixel that holds
its centre at 96 dpi (15 twips a pixel), or at SCALE times that, one
control a line: NAME X Y.
Usage: controls.py CALCULATORCONTROLS_H [SCALE]
"""
import re
import sys

# {K::TextBox,      u"Text4",      {},      2880,  840, 1700, 495, ...
ROW = re.compile(r'\{K::\w+,\s*u"([^"]+)",\s*(?:u"[^"]*"|\{\}),'
                 r'\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),')


def main(path, scale=1.0):
    with open(path, encoding="utf-8") as header:
        rows = ROW.findall(header.read())
    if not rows:
        sys.exit(f"controls.py: no control rows in {path}")
    for name, left, top, width, height in rows:
        left, top, width, height = map(int, (left, top, width, height))
        x, y = (2 * left + width) / 30, (2 * top + height) / 30
        print(name, int(x * scale), int(y * scale))


if __name__ == "__main__":
    main(sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 1.0)
