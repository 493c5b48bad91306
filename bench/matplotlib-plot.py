#!/usr/bin/env python3
"""The matplotlib peer of the benchmark table: one result file plotted as one line.

Usage: matplotlib-plot.py DATAFILE OUT.png [WIDTHxHEIGHT]

numpy's loadtxt reads the X position and the value (fields 1 and 3) of every record after the
drive line and the condition line; matplotlib's Agg backend draws them as one line plot into
a PNG of the given size (1200x800 by default).
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main():
    if len(sys.argv) not in (3, 4):
        sys.stderr.write(__doc__)
        return 2
    source, output = sys.argv[1], sys.argv[2]
    width, height = (int(v) for v in (sys.argv[3] if len(sys.argv) == 4 else "1200x800").split("x"))
    data = np.loadtxt(source, delimiter=",", skiprows=2, usecols=(1, 3))
    dpi = 100
    figure = plt.figure(figsize=(width / dpi, height / dpi), dpi=dpi)
    axes = figure.add_subplot()
    axes.plot(data[:, 0], data[:, 1], linewidth=0.8)
    axes.set_xlabel("LBA")
    axes.set_ylabel("RATE[MB/SEC]")
    figure.savefig(output, dpi=dpi)
    return 0


if __name__ == "__main__":
    sys.exit(main())
