#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (tests/fuzz/corpus/<target>/): small valid inputs
of each kind. Archives are packed by build/sbxpack, so run it after a build."""
import os
import struct
import subprocess
import sys
import tempfile
import wave
import zlib

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
corpus = os.path.join(root, "tests", "fuzz", "corpus")


def put(target, name, data):
    d = os.path.join(corpus, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(w, h, colour, depth, rows, plte=b"", trns=b"", interlace=0):
    ihdr = struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, interlace)
    raw = b"".join(b"\0" + r for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if plte:
        out += chunk(b"PLTE", plte)
    if trns:
        out += chunk(b"tRNS", trns)
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


put("png", "rgb.png", png(3, 2, 2, 8, [bytes([255, 0, 128] * 3)] * 2))
put("png", "rgba.png", png(2, 2, 6, 8, [bytes([1, 2, 3, 128] * 2)] * 2))
put("png", "grey2.png", png(4, 1, 0, 2, [bytes([0x1B])]))
put("png", "palette.png", png(2, 1, 3, 4, [bytes([0x01])], bytes([10, 20, 30, 40, 50, 60]), bytes([128])))
put("png", "rgb16.png", png(1, 1, 2, 16, [bytes([0xab, 0xcd, 0x12, 0x34, 0x56, 0x78])]))
put("png", "grey_alpha.png", png(1, 1, 4, 8, [bytes([9, 9])]))


def bmp(w, h, bits, rows, palette=()):
    row = ((w * bits + 31) // 32) * 4
    offset = 54 + 4 * len(palette)
    pixels = b"".join(r.ljust(row, b"\0") for r in rows)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 2835, 2835, len(palette), 0)
    pal = b"".join(struct.pack("<I", c) for c in palette)
    return head + info + pal + pixels


put("bmp", "rgb24.bmp", bmp(3, 2, 24, [bytes([0, 0, 255] * 3), bytes([0, 255, 0] * 3)]))
put("bmp", "rgb32.bmp", bmp(2, 1, 32, [bytes([1, 2, 3, 4] * 2)]))
put("bmp", "pal8.bmp", bmp(2, 2, 8, [bytes([0, 1]), bytes([1, 0])], (0x000000, 0xFF00FF)))
put("bmp", "pal4.bmp", bmp(3, 1, 4, [bytes([0x13, 0x20])], (0, 0xff0080, 0x00ff00, 0x123456)))
put("bmp", "pal1.bmp", bmp(8, 1, 1, [bytes([0xA5])], (0, 0xffffff)))
put("bmp", "core.bmp", b"BM" + struct.pack("<IHHI", 26 + 4, 0, 0, 26) +
    struct.pack("<IHHHH", 12, 1, 1, 1, 24) + bytes([1, 2, 3, 0]))

put("ini", "plain.ini", "[main]\r\nkey=value\r\nnumber=12.5\r\n\r\n[other]\r\nname=x y\r\n")
put("ini", "odd.ini", "; comment\nno section=1\n[ spaced ]\n=empty key\nkey\n[main]\nkey=a=b\n")
put("line_file", "short.txt", "abc\r\n\r\n2.75\n-12x\n\x01 \x02\nlast")
put("line_file", "full.txt", "x" * 1022 + "\r\n" + "y" * 1023 + "\r\n" + "z" * 1500 + "\nend\n")
put("line_file", "many.txt", "".join("line %d\r\n" % i for i in range(300)) + "tail")


def wav(channels, rate, bits, frames, extra=b""):
    path = os.path.join(tempfile.mkdtemp(), "s.wav")
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        w.writeframes(bytes((i * 37) & 255 for i in range(frames * channels * bits // 8)))
    with open(path, "rb") as f:
        return f.read() + extra


put("wav", "mono8.wav", wav(1, 11025, 8, 40))
put("wav", "stereo16.wav", wav(2, 22050, 16, 30))
put("wav", "mono16_44k.wav", wav(1, 44100, 16, 50))


def packet(kind, target, sender, payload):
    return b"CRVN" + struct.pack("<BIii", kind, len(payload), target, sender) + payload


join = struct.pack("<II", 0x1234, 0) + b"alice".ljust(128, b"\0") + b"\0" * 16
packets = [packet(1, 0, 0, join), packet(2, 3, 0, struct.pack("<I", 0x1234)),
           packet(3, -1, 3, b"hello everyone"), packet(4, 0, 3, b""),
           packet(101, 0, 3, b""), packet(102, 0, 3, struct.pack("<i", 1)),
           packet(103, 0, 3, struct.pack("<i", 3))]
for i, p in enumerate(packets):
    # first byte: the piece size the target cuts the stream into
    put("packet", "p%d" % i, bytes([7 * i + 1]) + struct.pack("<I", len(p)) + p)
put("packet", "stream", bytes([16]) + b"".join(struct.pack("<I", len(p)) + p for p in packets))

put("http_header", "ok", "\x05HTTP/1.0 200 OK\r\nContent-Length: 5\r\nServer: x\r\n\r\nhello")
put("http_header", "bare_lf", "\x20HTTP/1.1 404 Not Found\nContent-Type: text/plain\n\nnone")
put("http_header", "no_length", "\x01HTTP/1.0 200 OK\r\n\r\n")

# archives: packed by the project's own packer
sbxpack = os.path.join(root, "build", "sbxpack")
if not os.path.exists(sbxpack):
    sys.exit("build/sbxpack missing: build first")
with tempfile.TemporaryDirectory() as tmp:
    src = os.path.join(tmp, "src")
    os.makedirs(src)
    with open(os.path.join(src, "a.png"), "wb") as f:
        f.write(png(3, 2, 2, 8, [bytes([255, 0, 128] * 3)] * 2))
    with open(os.path.join(src, "map.txt"), "w") as f:
        f.write("row0\r\nrow1\r\n" * 20)
    with open(os.path.join(src, "zeros.bin"), "wb") as f:
        f.write(b"\0" * 4000)
    out = os.path.join(tmp, "media.sbx")
    subprocess.run([sbxpack, "pack", src, "-o", out], check=True, stdout=subprocess.DEVNULL)
    with open(out, "rb") as f:
        put("archive", "media.sbx", f.read())
    one = os.path.join(tmp, "one.sbx")
    subprocess.run([sbxpack, "pack", os.path.join(src, "map.txt"), "-o", one], check=True,
                   stdout=subprocess.DEVNULL)
    with open(one, "rb") as f:
        data = f.read()
    put("archive", "one.sbx", data)
    # the same archive appended to other bytes (negative offsets)
    exe = os.path.join(tmp, "prog")
    with open(exe, "wb") as f:
        f.write(b"\x7fELF" + b"\0" * 60)
    subprocess.run([sbxpack, "append", one, exe], check=True, stdout=subprocess.DEVNULL)
    with open(exe, "rb") as f:
        put("archive", "appended.bin", f.read())

# 3D objects: the example's binary objects (scripts/make_example_object.py), a text square
# and a scene file.
for name in ("crystal.qmd", "floor.qmd"):
    with open(os.path.join(root, "examples", "media", name), "rb") as f:
        put("qmd", name, f.read())
put("qmd", "square.txt", "QMDA 1.1\n4\n0 0 1 0 1 1 0 1\n1\n255 0 0 4 0 0 1 1 2 2 3 3\n1\n4\n"
    "0 0 0 0 0 1 1 0 0 0 0 1 1 1 0 0 0 1 0 1 0 0 0 1\n")
put("scene", "two.qmw", ";QMW\ncount 2\ntextures 1 100\nwood.png\nobjects\ncrate.qmd\nfloor.qmd\n"
    "ta 0 -1\ntb -1 -1\n")
