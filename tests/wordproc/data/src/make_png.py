# Writes a small PNG: make_png.py out.png width height r g b
import struct, sys, zlib
out, w, h, r, g, b = sys.argv[1], *map(int, sys.argv[2:7])
def chunk(t, d):
    return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
raw = b"".join(b"\x00" + bytes([r, g, b]) * w for _ in range(h))
data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
data += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
open(out, "wb").write(data)
