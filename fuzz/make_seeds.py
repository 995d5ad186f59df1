#!/usr/bin/env python3
"""Writes the binary seeds of fuzz/corpus/: small valid files of each format,
cut and damaged ones, and the shapes of the faults the engine's tests pin down.

Run once from anywhere; it rewrites only the files named here. Seeds written by
the engine's own writers (the .ims/.spr models, the archive directories, the
Ogg files) are committed as they are and only read here to derive damaged
copies. Text seeds are written by hand. Inputs that libFuzzer finds are copied
into the corpus as they are, never through this script.
"""
import math
import struct
import zlib
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"


def u16(*values):
    return struct.pack(f"<{len(values)}H", *values)


def u32(*values):
    return struct.pack(f"<{len(values)}I", *values)


def f32(*values):
    return struct.pack(f"<{len(values)}f", *values)


def patched(data, at, value):
    """data with the little-endian 32-bit field at `at` replaced."""
    return data[:at] + u32(value) + data[at + 4:]


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def read(target, name):
    return (CORPUS / target / name).read_bytes()


NAN = math.nan
INF = math.inf


# ---- saved polygons: point count, then x and z of each point --------------

def polygon(*points):
    return u32(len(points)) + b"".join(f32(x, z) for x, z in points)


def polygon_seeds():
    t = "polygon_load_fuzz"
    write(t, "square", polygon((0, 0), (4, 0), (4, 4), (0, 4)))
    write(t, "triangle-and-trailing-bytes", polygon((5, 5), (6, 5), (5, 6)) + b"next record")
    write(t, "two-points", polygon((0, 0), (1, 1)))
    write(t, "no-points", polygon())
    write(t, "repeated-points", polygon((1, 1), (1, 1), (1.0004, 1), (2, 2), (1, 2)))
    write(t, "beyond-the-int-range", polygon((3e30, 1), (-3e30, 1), (0, 3e38)))
    write(t, "not-numbers", polygon((NAN, 0), (1, INF), (-INF, NAN)))
    write(t, "count-past-the-data", u32(3) + f32(0, 0, 1, 0))
    write(t, "count-ffffffff", u32(0xFFFFFFFF) + f32(0, 0))
    write(t, "three-bytes", b"\x03\x00\x00")


def collision_seeds():
    # Version 1 outlines: version, point count, points. The committed square
    # and version-2 files were written by the model writer.
    t = "fuzz_collision_file"
    write(t, "count-without-points.col", u32(1, 9))
    write(t, "count-ffffffff.col", u32(1, 0xFFFFFFFF) + f32(0, 0))
    write(t, "two-points.col", u32(1, 2) + f32(0, 0, 1, 1))
    write(t, "not-numbers.col", u32(1, 3) + f32(NAN, 0, 1, INF, 0, 1))
    write(t, "cut-inside-a-point.col", read(t, "square.col")[:21])


# ---- path finder: bounds, cell divisor, clearance, small obstacle rule, ----
# ---- walk area, obstacles, then start and goal pairs to the end        ----

def outline(*points):
    return bytes([len(points)]) + b"".join(f32(x, z) for x, z in points)


def routes(*pairs):
    return b"".join(f32(*start, *goal) for start, goal in pairs)


def path_input(bounds, divisor, walk, obstacles, pairs, clearance=0.2, rule=(0.5, 1.0)):
    return (f32(*bounds) + bytes([divisor]) + f32(clearance) + f32(*rule) + outline(*walk) +
            bytes([len(obstacles)]) + b"".join(outline(*o) for o in obstacles) + routes(*pairs))


def path_seeds():
    t = "path_finder_fuzz"
    area = ((0, 0), (10, 0), (10, 10), (0, 10))
    block = ((4, 4), (6, 4), (6, 6), (4, 6))
    around = path_input((0, 10, 0, 10), 19, area, [block],
                        [((1, 1), (9, 9)), ((1, 9), (9, 1)), ((5, 5), (1, 1)), ((1, 1), (20, 20))])
    write(t, "around-an-obstacle", around)
    write(t, "cut-inside-a-route", around[:-6])
    write(t, "wall-with-a-gap", path_input(
        (0, 8, 0, 4), 15, ((0, 0), (8, 0), (8, 4), (0, 4)),
        [((3.9, 0), (4.1, 0), (4.1, 3), (3.9, 3)), ((2, 1), (2.05, 1.05), (2, 1.1))],
        [((1, 1), (7, 1)), ((7, 3.5), (1, 0.5))]))
    write(t, "start-not-a-number", path_input((0, 10, 0, 10), 9, area, [], [((NAN, 1), (9, 9))]))
    write(t, "no-walk-area", path_input((1e38, -1e38, 1e38, -1e38), 0, (), [], [((0, 0), (1, 1))]))
    write(t, "overflowing-extent", path_input((-3e38, 3e38, 0, 1), 39, area, [], [((0, 0.5), (1, 0.5))]))
    write(t, "bound-not-a-number", path_input((NAN, 5, 0, 5), 3, area, [], [((1, 1), (2, 2))]))
    write(t, "infinite-clearance", path_input((0, 10, 0, 10), 9, area, [block], [((1, 1), (9, 9))],
                                              clearance=INF, rule=(NAN, -1)))


# ---- state records: count, then name (length, UTF-16, zero), type, value --

def text(s):
    units = s.encode("utf-16-le")
    return u32(len(units) // 2) + units + u16(0)


VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_BSTR, VT_DISPATCH, VT_BOOL = 0, 1, 2, 3, 4, 5, 8, 9, 11


def record(*variables):
    return u32(len(variables)) + b"".join(text(name) + u16(vt) + value for name, vt, value in variables)


def state_seeds():
    t = "fuzz_state_record"
    every = record(("count", VT_I4, u32(7)), ("speed", VT_R4, f32(1.5)),
                   ("distance", VT_R8, struct.pack("<d", -2.25)), ("open", VT_BOOL, u16(0xFFFF)),
                   ("greeting", VT_BSTR, text("caf\u00e9 \U0001F600")), ("none", VT_NULL, b""),
                   ("unset", VT_EMPTY, b""), ("small", VT_I2, b""), ("object", VT_DISPATCH, b""))
    write(t, "every-type", every)
    write(t, "cut-inside-a-text", every[:len(every) // 2])
    write(t, "empty", record())
    write(t, "same-name-twice", record(("a", VT_I4, u32(1)), ("a", VT_BSTR, text("again"))))
    write(t, "not-numbers", record(("x", VT_R4, u32(0x7FA00001)),
                                   ("y", VT_R8, struct.pack("<Q", 0xFFF8000000000001))))
    write(t, "negative-count", u32(0xFFFFFFFF))
    write(t, "huge-count", u32(0x7FFFFFFF, 0, 0))
    write(t, "huge-name-length", u32(1, 0x7FFFFFFF, 0))
    write(t, "negative-name-length", u32(1, 0xFFFFFFFE, 0))
    write(t, "unterminated-name", u32(1, 1) + b"a\x00b\x00\x00\x00")
    write(t, "unknown-type", u32(1) + text("a") + u16(0x4242))
    write(t, "huge-text-length", u32(1) + text("a") + u16(VT_BSTR) + u32(0x7FFFFFFF) + u16(0))


# ---- enciphered files: plain length, then the padded enciphered bytes -----

def encrypted_file_seeds():
    # The committed `short` and `sixteen` hold real enciphered content.
    t = "resources_encrypted_file_fuzz"
    write(t, "length-zero", u32(0) + b"x" * 8)
    write(t, "three-bytes", b"\x03\x00\x00")
    write(t, "length-16-needs-24", u32(16) + b"x" * 16)
    # A length whose padding passes 32 bits.
    write(t, "length-ffffffff", u32(0xFFFFFFFF) + b"x" * 8)


# ---- archive directories --------------------------------------------------
# The fuzz target's first byte chooses: odd enciphers the rest as plain
# 1024-byte entries, even takes the rest as an archive as it is (ending in its
# directory position). Entry fields: next key at 0, dir 56, name 120, file key
# 184, size 240, offset 244, archive name 248.

ENTRY = 1024


def entry_field(archive, entry, at, data):
    start = 1 + entry * ENTRY + at
    return archive[:start] + data + archive[start + len(data):]


def directory_seeds():
    t = "resources_directory_fuzz"
    two = read(t, "plain-two-entries")
    write(t, "plain-huge-size", entry_field(two, 0, 240, u32(0xFFFFFFFF)))
    write(t, "plain-offset-past-the-end", entry_field(two, 0, 244, u32(0xFFFFFFF0)))
    write(t, "plain-name-without-zero", entry_field(two, 1, 120, b"A" * 64))
    write(t, "plain-archive-in-parent-folder", entry_field(two, 0, 248, b"../resource.000\x00"))
    write(t, "plain-cut-inside-an-entry", two[:1 + ENTRY + ENTRY // 2])
    write(t, "raw-three-bytes", b"\x00" + bytes(3))
    write(t, "raw-position-far-past-the-end", b"\x00" + u32(0xFFFFFFFF))
    write(t, "raw-partial-entry", b"\x00" + bytes(1000) + u32(0))


# ---- models ---------------------------------------------------------------

def model_seeds():
    t = "fuzz_model_reader"
    quad = read(t, "quad.ims")  # two materials, 4 vertices at 0xCE, 6 indices
    write(t, "quad-material-count-past-the-data.ims", patched(quad, 13, 0x7FFFFFFF))
    write(t, "quad-name-of-256-bytes.ims", patched(quad, 17, 256))
    write(t, "quad-vertex-count-past-the-data.ims", patched(quad, 0xCE, 0x7FFFFFFF))
    write(t, "quad-index-wraps-past-the-vertices.ims", patched(quad, len(quad) - 4, 0x10004))
    write(t, "quad-cut-inside-the-vertices.ims", quad[:0xE0])
    door = read(t, "door.spr")  # animation count at 8, first frame count at 21, its magic at 25
    write(t, "door-animation-count-past-the-data.spr", patched(door, 8, 0x7FFFFFFF))
    write(t, "door-frame-count-past-the-data.spr", patched(door, 21, 5))
    write(t, "door-frame-without-its-magic.spr", door[:28] + b"3" + door[29:])
    write(t, "door-cut-inside-a-frame.spr", door[:len(door) // 2])
    write(t, "unknown-magic", b"OBJ!" + bytes(4))


# ---- texture images: first byte picks the quality (1, 2 or 4) -------------

def png_chunk(kind, data):
    return u32be(len(data)) + kind + data + u32be(zlib.crc32(kind + data))


def u32be(value):
    return struct.pack(">I", value)


def png(width, height, colour_type, rows, palette=None):
    depth = 8
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    chunks = png_chunk(b"IHDR", header)
    if palette:
        chunks += png_chunk(b"PLTE", palette)
    scanlines = b"".join(b"\x00" + row for row in rows)
    chunks += png_chunk(b"IDAT", zlib.compress(scanlines)) + png_chunk(b"IEND", b"")
    return b"\x89PNG\r\n\x1a\n" + chunks


def dds(width, height, pixel_flags, four_cc, bit_count, masks):
    return (b"DDS " + u32(124, 0x1007, height, width, 0, 0, 1) +
            bytes(44) + u32(32, pixel_flags) + (four_cc or bytes(4)) + u32(bit_count) +
            u32(*masks, *[0] * (4 - len(masks))) + u32(0x1000, 0, 0, 0, 0))


def tga(image_type, width, height, depth, pixels, descriptor=0):
    return bytes([0, 0, image_type]) + bytes(9) + u16(width, height) + bytes([depth, descriptor]) + pixels


def bmp(width, height, bits, compression, pixels, palette=b""):
    offset = 14 + 40 + len(palette)
    return (b"BM" + u32(offset + len(pixels), 0, offset, 40, width, height) + u16(1, bits) +
            u32(compression, len(pixels), 2835, 2835, len(palette) // 4, 0) + palette + pixels)


def texture_seeds():
    t = "texture_image_fuzz"
    q1, q2, q4 = b"\x00", b"\x01", b"\x02"
    rgba = png(4, 4, 6, [b"".join(bytes([x * 60, y * 60, 128, 255 - x * 40]) for x in range(4))
                         for y in range(4)])
    write(t, "png-rgba-4x4", q1 + rgba)
    write(t, "png-grey-3x5-quality-2", q2 + png(3, 5, 0, [bytes([y * 50] * 3) for y in range(5)]))
    write(t, "png-palette-2x2-quality-4",
          q4 + png(2, 2, 3, [b"\x00\x01", b"\x01\x00"], palette=b"\xff\x00\x00\x00\x00\xff"))
    write(t, "png-cut-short", q1 + rgba[:-30])
    write(t, "png-width-over-2-31", q1 + rgba[:16] + b"\xff" + rgba[17:])
    # A header announcing 30000 x 30000 pixels over an empty image: refused before any allocation.
    huge = png(1, 1, 6, [bytes(4)])
    huge_header = struct.pack(">IIBBBBB", 30000, 30000, 8, 6, 0, 0, 0)
    write(t, "png-too-large", q1 + huge[:8] + png_chunk(b"IHDR", huge_header) + png_chunk(b"IDAT", b""))
    write(t, "jpeg-signature-only", q1 + b"\xff\xd8\xff\xe0\x00\x10")

    argb = dds(3, 2, 0x41, None, 32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000))
    write(t, "dds-argb-3x2", q1 + argb + bytes(range(24)))
    # Four DXT1 blocks, red to blue in stripes.
    block = u16(0xF800, 0x001F) + u32(0x1B1B1B1B)
    write(t, "dds-dxt1-8x8-quality-2", q2 + dds(8, 8, 0x4, b"DXT1", 0, ()) + block * 4)
    write(t, "dds-dxt5-cut-short", q1 + dds(8, 8, 0x4, b"DXT5", 0, ()) + bytes(16 * 3))
    write(t, "dds-compression-not-supported", q1 + dds(4, 4, 0x4, b"ATI2", 0, ()) + bytes(16))
    write(t, "dds-header-cut", q1 + b"DDS \x7c\x00\x00")

    write(t, "tga-true-colour-4x4", q1 + tga(2, 4, 4, 24, bytes(range(48))))
    # Run-length grey: a run of 8, then 8 raw pixels.
    write(t, "tga-run-length-grey-4x4-quality-4",
          q4 + tga(11, 4, 4, 8, b"\x87\x40\x07" + bytes(range(0, 80, 10)), descriptor=0x20))
    write(t, "tga-run-past-the-end", q1 + tga(11, 4, 4, 8, b"\xff\x40" * 3))
    write(t, "tga-pixels-cut-short", q1 + tga(2, 4, 4, 24, b"\x7f" * 45))

    row = bytes([0, 0, 255, 0, 255, 0]) + bytes(2)  # two pixels and the padding to 4 bytes
    write(t, "bmp-24-bit-2x2", q1 + bmp(2, 2, 24, 0, row * 2))
    write(t, "bmp-8-bit-palette-2x2", q1 + bmp(2, 2, 8, 0, b"\x00\x01\x00\x00" * 2,
                                               palette=u32(0xFF0000, 0x00FF00)))
    write(t, "bmp-holding-a-jpeg", q1 + bmp(2, 2, 24, 4, bytes(16)))
    write(t, "quality-byte-only", q1)


# ---- Ogg --------------------------------------------------------------------

def ogg_crc(page):
    crc = 0
    for byte in page:
        crc ^= byte << 24
        for _ in range(8):
            crc = (crc << 1) ^ 0x04C11DB7 if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc


def ogg_pages(data):
    pages, at = [], 0
    while at + 27 <= len(data):
        segments = data[at + 26]
        end = at + 27 + segments + sum(data[at + 27:at + 27 + segments])
        pages.append(data[at:end])
        at = end
    return pages


def with_damaged_body(page, at, length):
    """The page with `length` body bytes from `at` inverted and its checksum
    made right again, so the damage reaches the decoder."""
    body = 27 + page[26]
    damaged = bytearray(page)
    for i in range(body + at, body + at + length):
        damaged[i] ^= 0xFF
    damaged[22:26] = bytes(4)
    damaged[22:26] = u32(ogg_crc(damaged))
    return bytes(damaged)


def ogg_seeds():
    t = "sound_ogg_fuzz"
    tone = read(t, "tone.ogg")  # identification, comment and setup, and one audio page
    identification, setup, audio = ogg_pages(tone)
    write(t, "tone-setup-damaged.ogg", identification + with_damaged_body(setup, 3000, 16) + audio)
    write(t, "tone-audio-damaged.ogg", identification + setup + with_damaged_body(audio, 200, 32))
    write(t, "tone-without-setup.ogg", identification + audio)
    write(t, "tone-cut-inside-the-audio.ogg", tone[:len(identification) + len(setup) + 300])
    write(t, "tone-headers-only.ogg", identification + setup)
    write(t, "tone-wrong-checksum.ogg", identification + setup + audio[:22] + b"\x00" * 4 + audio[26:])


if __name__ == "__main__":
    for make in (polygon_seeds, collision_seeds, path_seeds, state_seeds, encrypted_file_seeds,
                 directory_seeds, model_seeds, texture_seeds, ogg_seeds):
        make()
