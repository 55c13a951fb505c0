#!/usr/bin/env python3
"""Times numpy doing what an NLMpy script does after the generation, step for step as NLMpy does it:
classifyArray into three equal classes (w2cp; calcBoundaries: the array times a mask of ones, NaN
placed outside it, the finite cells counted, the whole array sorted and indexed; searchsorted; the
classes as floats with NaN put back) and the float array written with numpy.savetxt as an NLMpy user
calls it, without a format (numpy's '%.18e'). savetxt with fmt='%d', kinder to numpy, is timed too.
Processor seconds, so that a busy machine does not inflate them; bench_neutral carries the results.
Also times the generation of the models NLMpy makes with whole-array numpy (random, planarGradient,
edgeGradient, waveSurface).
    /usr/bin/python3 nlmpy_reference.py [SIDE...]"""
import os
import sys
import tempfile
import time

import numpy as np


def w2cp(weights):
    w = np.array(weights, dtype=float)
    proportions = w / np.sum(w)
    cumulativeProportions = np.cumsum(proportions)
    cumulativeProportions[-1] = 1
    return cumulativeProportions


def calcBoundaries(array, cumulativeProportions, classifyMask=None):
    if classifyMask is None:
        classifyMask = np.ones(np.shape(array))
    maskedArray = array * classifyMask
    np.place(maskedArray, classifyMask == 0, np.nan)
    nCells = np.count_nonzero(np.isfinite(maskedArray))
    boundaryIndexes = (cumulativeProportions * nCells).astype(int) - 1
    boundaryValues = np.sort(np.ndarray.flatten(maskedArray))[boundaryIndexes]
    boundaryValues[-1] = 1
    return boundaryValues


def classifyArray(array, weights, classifyMask=None):
    cumulativeProportions = w2cp(weights)
    boundaryValues = calcBoundaries(array, cumulativeProportions, classifyMask)
    classifiedArray = np.searchsorted(boundaryValues, array)
    classifiedArray = classifiedArray.astype(float)
    np.place(classifiedArray, np.isnan(array), np.nan)
    return classifiedArray


def linearRescale01(array):
    return (array - np.nanmin(array)) / np.nanmax(array - np.nanmin(array))


def maskArray(array, mask):
    np.place(array, mask == 0, np.nan)
    return array


def random(nRow, nCol):
    mask = np.ones((nRow, nCol))
    return linearRescale01(maskArray(np.random.random((nRow, nCol)), mask))


def planarGradient(nRow, nCol, direction=None):
    if direction is None:
        direction = np.random.uniform(0, 360, 1)
    mask = np.ones((nRow, nCol))
    rowIndex, colIndex = np.indices((nRow, nCol))
    eastness = np.sin(np.deg2rad(direction))
    southness = np.cos(np.deg2rad(direction)) * -1
    return linearRescale01(maskArray(southness * rowIndex + eastness * colIndex, mask))


def edgeGradient(nRow, nCol, direction=None):
    gradient = planarGradient(nRow, nCol, direction)
    return linearRescale01((np.abs(0.5 - gradient) * -2) + 1)


def waveSurface(nRow, nCol, periods, direction=None):
    gradient = planarGradient(nRow, nCol, direction)
    return linearRescale01(np.sin(gradient * 2 * np.pi * periods))


def timed(step):
    t0 = time.process_time()
    result = step()
    return result, time.process_time() - t0


def main():
    sides = [int(a) for a in sys.argv[1:]] or [1000]
    for side in sides:
        cells = side * side
        ns = lambda s: f"{s:.3f} s ({s / cells * 1e9:.0f} ns/cell)"
        generation = []
        for name, make in (("random", lambda: random(side, side)), ("planar", lambda: planarGradient(side, side)),
                           ("edge", lambda: edgeGradient(side, side)), ("wave", lambda: waveSurface(side, side, 3))):
            surface, seconds = timed(make)
            generation.append(f"{name} {seconds / cells * 1e9:.0f}")
        surface = random(side, side)
        classes, classify = timed(lambda: classifyArray(surface, [1, 1, 1]))
        with tempfile.NamedTemporaryFile(suffix=".txt", delete=False) as f:
            name = f.name
        _, savetxt = timed(lambda: np.savetxt(name, classes))
        _, savetxtInt = timed(lambda: np.savetxt(name, classes, fmt="%d"))
        os.remove(name)
        print(f"{side} x {side}: classifyArray {ns(classify)}, savetxt {ns(savetxt)}, "
              f"savetxt fmt='%d' {ns(savetxtInt)}; generation ns/cell: {', '.join(generation)}")


if __name__ == "__main__":
    main()
