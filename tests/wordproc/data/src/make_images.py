# Writes the small pictures the tests insert: PNG, a baseline JPEG, BMP and GIF.
import struct, zlib

def png(out, w, h, r, g, b):
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + bytes([r, g, b]) * w for _ in range(h))
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
    open(out, "wb").write(data)

def jpeg(out):
    # 8 x 8 mid-grey baseline JPEG: one block, DC difference 0, end of block.
    seg = lambda m, d: b"\xff" + bytes([m]) + struct.pack(">H", len(d) + 2) + d
    data = b"\xff\xd8"
    data += seg(0xE0, b"JFIF\x00\x01\x01\x01\x00\x48\x00\x48\x00\x00")
    data += seg(0xDB, b"\x00" + b"\x01" * 64)
    data += seg(0xC0, b"\x08\x00\x08\x00\x08\x01\x01\x11\x00")
    one_code = bytes([1] + [0] * 15) + b"\x00"  # a single code of length 1 for value 0
    data += seg(0xC4, b"\x00" + one_code)  # DC table 0
    data += seg(0xC4, b"\x10" + one_code)  # AC table 0
    data += seg(0xDA, b"\x01\x01\x00\x00\x3f\x00") + b"\x3f" + b"\xff\xd9"
    open(out, "wb").write(data)

def bmp(out, w, h):
    row = (bytes([0, 160, 0]) * w).ljust((w * 3 + 3) // 4 * 4, b"\x00")
    pixels = row * h
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    open(out, "wb").write(header + info + pixels)

def gif(out):
    open(out, "wb").write(
        b"GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x00\x00\x00\x00"
        b"\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")

png("../red.png", 40, 20, 200, 30, 30)
png("../blue.png", 30, 30, 30, 30, 200)
jpeg("../grey.jpg")
bmp("../green.bmp", 4, 2)
gif("../dot.gif")
