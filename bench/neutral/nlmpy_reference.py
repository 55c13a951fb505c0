#!/usr/bin/env python3
"""Times numpy doing what an NLMpy script does after the generation, step for step as NLMpy does it:
classifyArray into three equal classes (w2cp; calcBoundaries: the array times a mask of ones, NaN
placed outside it, the finite cells counted, the whole array sorted and indexed; searchsorted; the
classes as floats with NaN put back) and the float array written with numpy.savetxt as an NLMpy user
calls it, without a format (numpy's '%.18e'). savetxt with fmt='%d', kinder to numpy, is timed too.
Processor seconds, so that a busy machine does not inflate them; bench_neutral carries the results.
Also times the generation of the models NLMpy makes with numpy alone (random, planarGradient,
edgeGradient, waveSurface, perlinNoise with its fade in numpy rather than numba, bsp with a value drawn
for each of its patches), and bounds randomRectangularCluster from below: its loop takes the whole
array's minimum after every rectangle, and the top-left cell is painted only by a rectangle drawn at
(0, 0) (a negative start gives an empty or wrapped slice), so (rows + maxL)(cols + maxL) rectangles are
drawn on average before it ends; their count times the time of one loop turn is the bound.
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


def perlinNoise(nRow, nCol, periods, octaves=1, lacunarity=2, persistence=0.5):
    dim = max(nRow, nCol)
    largest = np.lcm(periods[0] * lacunarity ** (octaves - 1), periods[1] * lacunarity ** (octaves - 1))
    if dim % largest != 0:
        dim = int(np.ceil(dim / largest) * largest)
    noise = np.zeros((dim, dim))
    for o in range(octaves):
        noise = noise + perlinOctave(dim, periods, o, lacunarity, persistence)
    return linearRescale01(noise[:nRow, :nCol])


def perlinOctave(dim, periods, o, lacunarity, persistence):
    rP, cP = periods[0] * lacunarity ** o, periods[1] * lacunarity ** o
    d = (dim // rP, dim // cP)
    grid = np.mgrid[0:rP:rP / dim, 0:cP:cP / dim].transpose(1, 2, 0) % 1
    angles = 2 * np.pi * np.random.rand(rP + 1, cP + 1)
    g = np.dstack((np.cos(angles), np.sin(angles))).repeat(d[0], 0).repeat(d[1], 1)
    ramp = lambda dr, dc, gr: np.sum(np.dstack((grid[:, :, 0] - dr, grid[:, :, 1] - dc)) * gr, 2)
    n00 = ramp(0, 0, g[:-d[0], :-d[1]])
    n10 = ramp(1, 0, g[d[0]:, :-d[1]])
    n01 = ramp(0, 1, g[:-d[0], d[1]:])
    n11 = ramp(1, 1, g[d[0]:, d[1]:])
    t = 6 * grid ** 5 - 15 * grid ** 4 + 10 * grid ** 3
    n0 = n00 * (1 - t[:, :, 0]) + t[:, :, 0] * n10
    n1 = n01 * (1 - t[:, :, 0]) + t[:, :, 0] * n11
    return np.sqrt(2) * ((1 - t[:, :, 1]) * n0 + t[:, :, 1] * n1) * persistence ** o


def bsp(nRow, nCol, n):
    # partOrient 'longest'; the probability array of ones, the leaf picked by a random cell, the
    # partition made by slice assignment, as bspPartitioning does; then a value for each patch.
    p = np.ones((nRow, nCol))
    space = np.zeros((nRow, nCol)).astype('int')
    dims = {0: ((0, nRow), (0, nCol))}
    top = np.nanmax(space)
    count = len(np.unique(space))
    while count < n:
        leaf = space[np.random.randint(0, nRow, 1), np.random.randint(0, nCol, 1)][0]
        (r0, r1), (c0, c1) = dims[leaf]
        part = p[r0:r1, c0:c1]
        if np.sum(np.isfinite(part)) > 0 and np.nanmean(part) >= np.random.uniform(size=1):
            across = np.random.choice(['horizontal', 'vertical'])
            if r1 - r0 != c1 - c0:
                across = 'horizontal' if r1 - r0 > c1 - c0 else 'vertical'
            if across == 'horizontal' and r1 - r0 >= 2:
                cut = int(r0 + (r1 - r0) / 2)
                space[r0:cut, c0:c1], space[cut:r1, c0:c1] = top + 1, top + 2
                dims[top + 1], dims[top + 2] = ((r0, cut), (c0, c1)), ((cut, r1), (c0, c1))
            elif across == 'vertical' and c1 - c0 >= 2:
                cut = int(c0 + (c1 - c0) / 2)
                space[r0:r1, c0:cut], space[r0:r1, cut:c1] = top + 1, top + 2
                dims[top + 1], dims[top + 2] = ((r0, r1), (c0, cut)), ((r0, r1), (cut, c1))
            else:
                continue
            top, count = top + 2, count + 1
    return np.random.random(top + 1)[space]


def rectangleTurn(nRow, nCol, minL, maxL, turns):
    # The seconds of one turn of randomRectangularCluster's loop, on an array half painted.
    array = np.zeros((nRow, nCol)) - 1
    array[: nRow // 2] = 0.5
    t0 = time.process_time()
    for _ in range(turns):
        if np.min(array) != -1:
            break
        width, height = np.random.choice(range(minL, maxL)), np.random.choice(range(minL, maxL))
        row, col = np.random.choice(range(-maxL, nRow)), np.random.choice(range(-maxL, nCol))
        array[row:row + width, col:col + height] = np.random.random()
    return (time.process_time() - t0) / turns


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
                           ("edge", lambda: edgeGradient(side, side)), ("wave", lambda: waveSurface(side, side, 3)),
                           ("perlin", lambda: perlinNoise(side, side, (4, 4))), ("bsp", lambda: bsp(side, side, 16))):
            surface, seconds = timed(make)
            generation.append(f"{name} {seconds / cells * 1e9:.0f}")
        surface = random(side, side)
        classes, classify = timed(lambda: classifyArray(surface, [1, 1, 1]))
        with tempfile.NamedTemporaryFile(suffix=".txt", delete=False) as f:
            name = f.name
        _, savetxt = timed(lambda: np.savetxt(name, classes))
        _, savetxtInt = timed(lambda: np.savetxt(name, classes, fmt="%d"))
        os.remove(name)
        turn = rectangleTurn(side, side, 4, 8, 200)
        rectangles = turn * (side + 8) ** 2
        print(f"{side} x {side}: classifyArray {ns(classify)}, savetxt {ns(savetxt)}, "
              f"savetxt fmt='%d' {ns(savetxtInt)}; generation ns/cell: {', '.join(generation)}; "
              f"randomRectangularCluster(4, 8) at least {rectangles:.0f} s ({turn * 1e3:.2f} ms a turn)")


if __name__ == "__main__":
    main()
