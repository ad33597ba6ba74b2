#!/usr/bin/env python3
"""Writes a few small icon files into a folder, as seeds for fuzz_icofile:
PNG and bitmap entries of the kinds the decoder uses and of kinds it skips."""
import os
import struct
import sys
import zlib


def png(width, height):
    raw = b"".join(b"\0" + bytes([x * 40 % 256, y * 60 % 256, 128, 255]) * 1 * width
                   for y in range(height) for x in [0])
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def bitmap(width, height, bits=32, compression=0):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, compression, 0, 0, 0, 0, 0)
    row = (width * bits + 31) // 32 * 4
    pixels = bytes((i * 7) % 256 for i in range(row * height))
    mask = b"\0" * (((width + 31) // 32 * 4) * height)
    return header + pixels + mask


def ico(entries):
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for data in entries:
        out += struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def shared(count, data):
    """count entries that all point at the same picture data."""
    out = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    for _ in range(count):
        out += struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(data), offset)
    return out + data


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "ico-seeds"
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "png.ico": ico([png(4, 3)]),
        "bitmap32.ico": ico([bitmap(4, 4)]),
        "bitmap24.ico": ico([bitmap(3, 3, bits=24)]),
        "mixed.ico": ico([png(2, 2), bitmap(2, 3), bitmap(2, 2, bits=24), bitmap(2, 2, compression=3)]),
        # Many entries: a small file that names one large picture 400 times,
        # and the most entries a file can have, all on one small bitmap.
        "400-same-png.ico": shared(400, png(1024, 1024)),
        "32767-entries.ico": shared(32767, bitmap(2, 2)),
        "shown-size-last.ico": ico([png(64, 64)] * 20 + [bitmap(75, 217)]),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
