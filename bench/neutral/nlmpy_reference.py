#!/usr/bin/env python3
"""Times numpy doing what an NLMpy script does after the generation: the surface classified into
three equal classes (NLMpy's classifyArray: numpy.percentile, then numpy.digitize) and written as a
text grid with numpy.savetxt (fmt='%d', the kindest to it), in processor seconds so that a busy
machine does not inflate them. bench_neutral carries the results.
    python3 nlmpy_reference.py [SIDE...]"""
import os
import sys
import tempfile
import time

import numpy


def classify(array, weights):
    # As classifyArray: cumulative weights as percentiles of the values, then each value's bin.
    cumulative = numpy.cumsum(weights) / numpy.sum(weights)
    bounds = numpy.percentile(array, cumulative[:-1] * 100)
    return numpy.digitize(array, bounds).astype(float)


def main():
    sides = [int(a) for a in sys.argv[1:]] or [1000]
    for side in sides:
        surface = numpy.random.random((side, side))
        t0 = time.process_time()
        classes = classify(surface, [1, 1, 1])
        t1 = time.process_time()
        with tempfile.NamedTemporaryFile(suffix=".txt", delete=False) as f:
            name = f.name
        numpy.savetxt(name, classes, fmt="%d")
        t2 = time.process_time()
        os.remove(name)
        cells = side * side
        print(f"{side} x {side}: classifyArray {t1 - t0:.3f} s ({(t1 - t0) / cells * 1e9:.0f} ns/cell), "
              f"savetxt {t2 - t1:.3f} s ({(t2 - t1) / cells * 1e9:.0f} ns/cell)")


if __name__ == "__main__":
    main()
