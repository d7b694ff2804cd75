#!/usr/bin/env python3
"""Writes the 3D example's media into examples/media/ (run from the repository root).

crystal.qmd: an eight-sided double pyramid in 8 frames that breathe (taller and slimmer, then
back), crystal.png: its 64 x 64 striped picture, floor.qmd: an 8 x 8 checkered floor. Binary
QMD, made here from our own geometry: the same bytes every run, so the committed files can be
remade and compared.
"""
import math
import re
import struct
import sys
import zlib

MAGIC = 13021975
VERSION = 1.02


def directions():
    # The normal table the runtime uses, read from its source so both always agree.
    text = open("gfx3d/qmd_directions.cpp", encoding="utf-8").read()
    rows = re.findall(r"\{(-?[\d.]+)f, (-?[\d.]+)f, (-?[\d.]+)f\}", text)
    return [tuple(float(v) for v in r) for r in rows]


DIRECTIONS = directions()


def nearest_direction(n):
    length = math.sqrt(sum(c * c for c in n)) or 1.0
    n = [c / length for c in n]
    return max(range(len(DIRECTIONS)), key=lambda i: sum(a * b for a, b in zip(DIRECTIONS[i], n)))


def qmd(frames, palette, texcoords):
    """frames: lists of (position, normal, palette index) per vertex, three a triangle."""
    count = len(texcoords)
    out = struct.pack("<id3i", MAGIC, VERSION, len(frames), len(palette), count)
    out += b"".join(struct.pack("<I", c) for c in palette)
    out += b"".join(struct.pack("<2f", u, t) for u, t in texcoords)
    for frame in frames:
        assert len(frame) == count
        lo = [min(v[0][i] for v in frame) for i in range(3)]
        hi = [max(v[0][i] for v in frame) for i in range(3)]
        scale = [struct.unpack("<f", struct.pack("<f", (h - l) / 255 if h > l else 1.0))[0]
                 for l, h in zip(lo, hi)]
        offset = [-l / s for l, s in zip(lo, scale)]
        out += struct.pack("<i3f3f", count, *offset, *scale)
        for position, normal, colour in frame:
            xyz = [max(0, min(255, round(p / s + o))) for p, s, o in zip(position, scale, offset)]
            out += bytes(xyz + [nearest_direction(normal), colour])
    return out


def crystal():
    sides, frames = 8, 8
    palette = [0xFFFFFFFF, 0x0080E0FF]  # white (the picture shows as it is), gold at the tips
    texcoords, shapes = None, []
    for k in range(frames):
        breath = math.sin(2 * math.pi * k / frames)
        h, r = 1.2 + 0.3 * breath, 0.75 - 0.15 * breath
        verts, tex = [], []
        for s in range(sides):
            a0, a1 = 2 * math.pi * s / sides, 2 * math.pi * (s + 1) / sides
            p0 = (r * math.cos(a0), 0.0, -r * math.sin(a0))
            p1 = (r * math.cos(a1), 0.0, -r * math.sin(a1))
            u0, u1 = s / sides, (s + 1) / sides
            for apex, t in (((0.0, h, 0.0), 0.0), ((0.0, -h, 0.0), 1.0)):
                # Counter-clockwise seen from outside: the upper faces run p0, p1, apex.
                tri = [(p0, u0, 0.5), (p1, u1, 0.5), (apex, (u0 + u1) / 2, t)]
                if apex[1] < 0:
                    tri = [tri[1], tri[0], tri[2]]
                a, b, c = (v[0] for v in tri)
                e1 = [b[i] - a[i] for i in range(3)]
                e2 = [c[i] - a[i] for i in range(3)]
                n = (e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                     e1[0] * e2[1] - e1[1] * e2[0])
                for p, u, t2 in tri:
                    verts.append((p, n, 1 if p is apex else 0))
                    tex.append((u, t2))
        shapes.append(verts)
        texcoords = tex
    return qmd(shapes, palette, texcoords)


def floor():
    palette = [0x00B4B4B4, 0x00707070]
    verts, tex = [], []
    for i in range(8):
        for j in range(8):
            x0, x1, z0, z1 = i - 4.0, i - 3.0, j - 4.0, j - 3.0
            colour = (i + j) % 2
            # Counter-clockwise seen from above.
            for x, z in ((x0, z0), (x0, z1), (x1, z1), (x0, z0), (x1, z1), (x1, z0)):
                verts.append(((x, 0.0, z), (0.0, 1.0, 0.0), colour))
                tex.append((0.0, 0.0))
    return qmd([verts], palette, tex)


def png(width, height, pixel):
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">2I5B", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def stripes(x, y):
    # Diagonal orange and cream bands, 8 pixels wide, that meet themselves across the edges.
    return (235, 120, 30) if ((x + y) // 8) % 2 == 0 else (250, 232, 190)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "examples/media"
    for name, data in (("crystal.qmd", crystal()), ("floor.qmd", floor()),
                       ("crystal.png", png(64, 64, stripes))):
        with open(f"{out}/{name}", "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
