#!/usr/bin/env python3
"""Prints "r g b h s v" for a grid of colours, h as a fraction of the circle, from colorsys."""
import colorsys

steps = [i / 8 for i in range(9)] + [0.3, 0.7, 0.999, 0.001]
for r in steps:
    for g in steps:
        for b in steps:
            h, s, v = colorsys.rgb_to_hsv(r, g, b)
            print(repr(r), repr(g), repr(b), repr(h), repr(s), repr(v))
