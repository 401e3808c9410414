#!/usr/bin/env python3
"""Draws the bitmap resources of the drive list, the folder list and the disk request.

The pictures are written below as character grids, one character a pixel, with the
palette beside them. Each 16 x 16 drive picture exists in two looks: the plain one
("HARD", "NFC_HARD": the same 16 colours as the classic file controls) and the "95" one
("NFC_HARD95", shaded). The folders exist once ("CLOSEDFOLDER" and "NFC_CLOSEDFOLDER" are
the same file). "DISKS" (48 x 48) is drawn from rectangles. The bottom-left pixel of every
picture is its transparent colour.

The results are committed; run this (python3, no modules needed) only to change them.
Output: the .bmp files and pictures.rc beside this script.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)  # transparent colour

PALETTE = {
    '.': KEY,
    'k': (0, 0, 0),
    'K': (64, 64, 64),
    'd': (128, 128, 128),
    'l': (192, 192, 192),
    'w': (255, 255, 255),
    'y': (255, 255, 0),
    'o': (128, 128, 0),
    'Y': (255, 224, 128),
    'b': (0, 0, 128),
    'B': (0, 0, 255),
    'c': (0, 128, 128),
    'C': (0, 255, 255),
    'g': (0, 128, 0),
    'G': (0, 255, 0),
    'r': (128, 0, 0),
    'R': (255, 0, 0),
}

# Extra shades of the "95" look, each falling back to a plain colour in the plain look.
SHADES = {
    's': ((224, 224, 224), 'l'),  # lit face
    'm': ((160, 160, 160), 'd'),  # mid shadow
    'n': ((48, 72, 160), 'b'),    # lit blue
    'e': ((96, 176, 96), 'g'),    # lit green
}

DRIVES = {
    'HARD': [
        '................',
        '................',
        '................',
        '................',
        '...kkkkkkkkkkk..',
        '..kssssssssssk..',
        '.kssssssssssskk.',
        '.kkkkkkkkkkkkmk.',
        '.klllllllllllmk.',
        '.kllllllllGGlmk.',
        '.klllllllllllk..',
        '.kkkkkkkkkkkkk..',
        '................',
        '................',
        '................',
        '................',
    ],
    'FLOPPY': [
        '................',
        '..kkkkkkkkkkkk..',
        '..knnnnnnnnnnk..',
        '..knnllllllnnk..',
        '..knnlkklllnnk..',
        '..knnlkklllnnk..',
        '..knnllllllnnk..',
        '..knnnnnnnnnnk..',
        '..knwwwwwwwwnk..',
        '..knwkkkkkkwnk..',
        '..knwwwwwwwwnk..',
        '..knwkkkkkkwnk..',
        '..knwwwwwwwwnk..',
        '..kkkkkkkkkkkk..',
        '................',
        '................',
    ],
    'CDROM': [
        '................',
        '.....kkkkkk.....',
        '...kksssswwkk...',
        '..kssssswwwwsk..',
        '..ksssssswwssk..',
        '.ksCCssllsssssk.',
        '.ksCCslkklsssmk.',
        '.kssCslkklsssmk.',
        '.ksssssllssmmmk.',
        '..ksssssssmmmk..',
        '..ksssssmmmmmk..',
        '...kkmmmmmmkk...',
        '.....kkkkkk.....',
        '................',
        '................',
        '................',
    ],
    'NETWORK': [
        '................',
        '...kkkkkkkkkkk..',
        '..kssssssssssk..',
        '.kssssssssssskk.',
        '.kkkkkkkkkkkkmk.',
        '.klllllllllllmk.',
        '.kllllllllGGlmk.',
        '.klllllllllllk..',
        '.kkkkkkkkkkkkk..',
        '.......kk.......',
        '.......kk.......',
        '..kkkkkkkkkkkk..',
        '..k..........k..',
        '.kkk........kkk.',
        '.kkk........kkk.',
        '................',
    ],
    'RAM': [
        '................',
        '................',
        '................',
        '................',
        '.kkkkkkkkkkkkkk.',
        '.keeeeeeeeeeeek.',
        '.kekkkekkkekkkk.',
        '.kekkkekkkekkkk.',
        '.kekkkekkkekkkk.',
        '.keeeeeeeeeeeek.',
        '.kkkkkkkkkkkkkk.',
        '..y.y.y.y.y.y...',
        '..y.y.y.y.y.y...',
        '................',
        '................',
        '................',
    ],
}

FOLDERS = {
    'CLOSEDFOLDER': [
        '................',
        '................',
        '..kkkkk.........',
        '.kYyyyyk........',
        '.kyyyyyykkkkkkk.',
        '.kYYYYYYYYYYYYko',
        '.kYyyyyyyyyyyyko',
        '.kYyyyyyyyyyyyko',
        '.kYyyyyyyyyyyyko',
        '.kYyyyyyyyyyyyko',
        '.kYyyyyyyyyyyyko',
        '.kYyyyyyyyyyyyko',
        '.kkkkkkkkkkkkkko',
        '..oooooooooooooo',
        '................',
        '................',
    ],
    'OPENFOLDER': [
        '................',
        '................',
        '..kkkkk.........',
        '.kYyyyyk........',
        '.kyyyyyykkkkkk..',
        '.kyyyyyyyyyyyyk.',
        '.kyyykkkkkkkkkkk',
        '.kyykYYYYYYYYYYk',
        '.kyykyyyyyyyyyk.',
        '.kykYyyyyyyyyyk.',
        '.kykyyyyyyyyyk..',
        '.kkYyyyyyyyyyk..',
        '.kkkkkkkkkkkkk..',
        '................',
        '................',
        '................',
    ],
    'CURRENTFOLDER': [
        '................',
        '................',
        '..kkkkk.........',
        '.kYyyyyk........',
        '.kyyyyykkkkkkk..',
        '.kyyyykwwwwwwkk.',
        '.kyyyykwkkkkwkkk',
        '.kyykkkwwwwwwkYk',
        '.kyykYkwkkkkwkk.',
        '.kykYykwwwwwwkk.',
        '.kykyykkkkkkkk..',
        '.kkYyyyyyyyyyk..',
        '.kkkkkkkkkkkkk..',
        '................',
        '................',
        '................',
    ],
}


def colour(char, shaded):
    if char in SHADES:
        rgb, plain = SHADES[char]
        return rgb if shaded else PALETTE[plain]
    return PALETTE[char]


def grid_pixels(rows, shaded):
    assert all(len(row) == len(rows[0]) for row in rows), rows
    return [[colour(c, shaded) for c in row] for row in rows]


def disks_pixels():
    """Two 3.5-inch disks, the back one offset up and right, 48 x 48."""
    size = 48
    pixels = [[KEY] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, rgb):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = rgb

    def disk(x, y):
        rect(x, y, x + 31, y + 31, PALETTE['k'])              # outline
        rect(x + 1, y + 1, x + 30, y + 30, (40, 60, 150))     # body
        rect(x + 1, y + 1, x + 30, y + 2, (80, 100, 190))     # lit top edge
        rect(x + 8, y + 1, x + 23, y + 11, PALETTE['l'])      # shutter
        rect(x + 8, y + 11, x + 23, y + 11, PALETTE['d'])
        rect(x + 17, y + 3, x + 20, y + 9, PALETTE['K'])      # shutter window
        rect(x + 4, y + 15, x + 27, y + 30, PALETTE['w'])     # label
        for line in (19, 23, 27):
            rect(x + 7, y + line, x + 24, y + line, (150, 150, 200))
        rect(x + 2, y + 28, x + 3, y + 29, PALETTE['k'])      # write-protect hole

    disk(14, 2)
    disk(3, 14)
    return pixels


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up rows
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (row_size - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def main():
    resources = []  # (resource name, file name)
    for name, rows in DRIVES.items():
        plain = name.lower() + '.bmp'
        shaded = name.lower() + '95.bmp'
        write_bmp(os.path.join(HERE, plain), grid_pixels(rows, False))
        write_bmp(os.path.join(HERE, shaded), grid_pixels(rows, True))
        resources += [(name, plain), ('NFC_' + name, plain), ('NFC_' + name + '95', shaded)]
    for name, rows in FOLDERS.items():
        file_name = name.lower() + '.bmp'
        write_bmp(os.path.join(HERE, file_name), grid_pixels(rows, True))
        resources += [(name, file_name), ('NFC_' + name, file_name)]
    write_bmp(os.path.join(HERE, 'disks.bmp'), disks_pixels())
    resources.append(('DISKS', 'disks.bmp'))
    with open(os.path.join(HERE, 'pictures.rc'), 'w') as f:
        f.write('// Generated by make-bitmaps.py: the drive, folder and disk pictures.\n')
        for name, file_name in resources:
            f.write('%-20s BITMAP "%s"\n' % (name, file_name))


if __name__ == '__main__':
    main()
