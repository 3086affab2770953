#!/usr/bin/python3
# Checks the pictures cadhost saved of dialogs (--pictures DIR): for each
# dialog template id given, a PNG named "<n>-<id>-<caption>.png" that is
# larger than a stub and whose caption bar is drawn (it differs from the
# dialog's face and is not one colour). PNGs are read with zlib alone.
#   dialog_pictures.py DIR ID...
import glob, os, struct, sys, zlib

def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat = 8, b""
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, ctype = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    assert depth == 8 and ctype in (2, 6), (path, depth, ctype)
    bpp = 4 if ctype == 6 else 3
    raw, stride, rows, prev, at = zlib.decompress(idat), w * bpp, [], bytearray(w * bpp), 0
    for _ in range(h):
        f, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = prev[i], prev[i - bpp] if i >= bpp else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * bpp:x * bpp + 3]) for x in range(w)])
        prev = line
    return w, h, rows

folder, ids = sys.argv[1], sys.argv[2:]
for id in ids:
    found = sorted(glob.glob(os.path.join(folder, "*-%s-*.png" % id)))
    assert found, "no picture of dialog %s in %s" % (id, folder)
    w, h, rows = read_png(found[0])
    assert w > 100 and h > 60, (found[0], w, h)
    # The dialog's face just inside the frame, bottom left; the caption bar
    # (below the 3-pixel frame) must differ from it and carry its text.
    face = rows[h - 5][5]
    bar = rows[12][4:w - 4]
    differing = sum(1 for p in bar if p != face)
    assert differing > len(bar) // 2, (found[0], "caption bar looks like the background", face)
    assert len(set(bar)) > 1, (found[0], "caption bar is one colour")
    print("picture", os.path.basename(found[0]), w, "x", h)
