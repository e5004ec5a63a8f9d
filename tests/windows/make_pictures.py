#!/usr/bin/env python3
"""Writes into FOLDER a picture in every format the Windows build reads (PNG, JPEG, GIF, BMP, ICO,
PBM, PGM, PPM, TGA, XBM, XPM), at sizes that are copied 1:1 and sampled, with and without
transparency: make_pictures.py FOLDER"""
import os
import sys

from PIL import Image

folder = sys.argv[1]


def pattern(width, height, alpha=False):
    """Colours that change along both axes, so a wrong pixel or row shows; a transparent band."""
    picture = Image.new("RGBA" if alpha else "RGB", (width, height))
    for y in range(height):
        for x in range(width):
            colour = ((x * 37) % 256, (y * 53) % 256, ((x + y) * 11) % 256)
            if alpha:
                colour += (0 if (x + y) % 7 == 0 else 255 if x % 3 else 128,)
            picture.putpixel((x, y), colour)
    return picture


def save(picture, name, **options):
    picture.save(os.path.join(folder, name), **options)


save(pattern(1, 1), "one.png")
save(pattern(40, 30, alpha=True), "alpha.png")
save(pattern(300, 200), "wide.png")  # sampled to 256 x 256
save(pattern(17, 300), "tall.jpg", quality=90)
save(pattern(64, 48), "photo.jpg", quality=75, progressive=True)
save(pattern(33, 21).convert("P", palette=Image.ADAPTIVE, colors=64), "palette.gif")
transparent = pattern(20, 20).convert("P", palette=Image.ADAPTIVE, colors=16)
save(transparent, "transparent.gif", transparency=0)
save(pattern(31, 17), "plain.bmp")
save(pattern(32, 32, alpha=True), "icon.ico", sizes=[(32, 32)])
save(pattern(23, 19).convert("1"), "bits.pbm")
save(pattern(23, 19).convert("L"), "grey.pgm")
save(pattern(23, 19), "colour.ppm")
save(pattern(19, 11).convert("1"), "mono.xbm")
save(pattern(26, 14, alpha=True), "packed.tga", compression="tga_rle")

# XPM, written by hand: a palette of four with one transparent colour.
rows = ["".join(".#+ "[(x * y + x) % 4] for x in range(13)) for y in range(9)]
with open(os.path.join(folder, "pixmap.xpm"), "w") as xpm:
    xpm.write('/* XPM */\nstatic char *pixmap[] = {\n"13 9 4 1",\n". c #FF0000",\n'
              '"# c #00FF80",\n"+ c #1020C0",\n"  c None",\n')
    xpm.write(",\n".join(f'"{row}"' for row in rows) + "\n};\n")
