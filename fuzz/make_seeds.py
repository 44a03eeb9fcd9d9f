#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (run once; the files are committed)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def bmp(width, height, bits, rows=None, offset=54, palette=b""):
    """A BMP with the given header; rows are the stored (bottom-up) rows, padded."""
    body = b""
    if rows is not None:
        for r in rows:
            body += r
    header = struct.pack("<2sIHHI", b"BM", offset + len(palette) + len(body), 0, 0, offset + len(palette))
    info = struct.pack("<IiiHhIIiiII", 40, width, height, 1, bits, 0, len(body), 2835, 2835, 0, 0)
    return header + info + palette + body


def pad4(b):
    return b + b"\0" * (-len(b) % 4)


# Valid pictures of every supported depth.
put("bmptodb", "bits1_20x2.bmp", bmp(20, 2, 1, [pad4(bytes([0xF0, 0x0F, 0xA0])), pad4(bytes([0x55, 0xAA, 0x50]))],
                                     offset=54, palette=b"\0\0\0\0\xff\xff\xff\0")[:] )
put("bmptodb", "bits8_3x2.bmp", bmp(3, 2, 8, [pad4(bytes([1, 2, 3])), pad4(bytes([4, 5, 6]))]))
put("bmptodb", "bits16_2x2.bmp", bmp(2, 2, 16, [struct.pack("<HH", 0x7FFF, 0), struct.pack("<HH", 0x1234, 0xFFFF)]))
put("bmptodb", "bits24_6x2.bmp", bmp(6, 2, 24, [pad4(bytes(range(18))), pad4(bytes(range(100, 118)))]))
put("bmptodb", "bits32_2x2.bmp", bmp(2, 2, 32, [struct.pack("<II", 0, 0xFFFFFFFF), struct.pack("<II", 0x00ABCDEF, 7)]))
put("bmptodb", "top_down_8.bmp", bmp(3, -2, 8, [pad4(bytes([1, 2, 3])), pad4(bytes([4, 5, 6]))]))
# Unsupported depth: status -1.
put("bmptodb", "bits4.bmp", bmp(4, 2, 4, [pad4(b"\x12\x34"), pad4(b"\x56\x78")]))
# Broken ones.
put("bmptodb", "huge_header.bmp", bmp(65535, 65535, 24, [b"\0" * 8]))
put("bmptodb", "truncated_rows.bmp", bmp(3, 2, 8, [pad4(bytes([1, 2, 3]))])[:-1])
put("bmptodb", "short_header.bmp", bmp(3, 2, 8, [])[:30])
put("bmptodb", "offset_beyond.bmp", bmp(3, 1, 8, [pad4(bytes([1, 2, 3]))], offset=4000))
put("bmptodb", "last_row_short.bmp", bmp(5, 3, 24, [pad4(bytes(15)), pad4(bytes(15)), bytes(15)]))


def scramble(c, p):
    v = 2 * c if c < 128 else 2 * c - 255
    return (v + p) & 255


def block(lines):
    plain = [len(lines) - 1]
    for line in lines:
        plain.append(len(line))
        plain.extend(line.encode("latin-1"))
    return bytes(scramble(c, p) for p, c in enumerate(plain))


page = block(["  Ranvel", "", "Pon barras en la l\\nea num]rica;", "gana quien llega justo a la meta."])
# mode 0: the whole block; mode 1: count = parameter mod size; mode 2: -parameter; mode 3: near INT32_MIN.
put("domove", "whole_page", bytes([0, 0]) + page)
put("domove", "cut_in_a_line", bytes([1, 20]) + page)
put("domove", "cut_after_length", bytes([1, 11]) + page)
put("domove", "zero_count", bytes([2, 0]) + page)
put("domove", "negative_count", bytes([3, 5]) + page)
put("domove", "promises_more", bytes([0, 0]) + block(["abc"])[:1] + bytes([scramble(200, 1)]) + b"xyz")
put("domove", "empty_lines", bytes([0, 0]) + block(["", "", ""]))

put("replay_script", "whole_game.txt",
    "# a short game\nwait 1500\nkey enter\nwait 500\nkey 3\nwait 3000\nstate after_three\n"
    "click 400 300\nmouse out\nmouse 0 599\ndown\nup\ntext 12:xX\nkey esc\nkey left\nkey right\n"
    "key up\nkey down\nkey space\nshot page\n")
put("replay_script", "crlf_and_blanks.txt", "\r\n   \t\n  # note\r\nwait 0\r\nkey :\r\n\tstate s.1\r\n")
put("replay_script", "bad_wait.txt", "wait 10\nwait -5\n")
put("replay_script", "bad_key.txt", "key shift\n")
put("replay_script", "bad_point.txt", "click 800 10\n")
put("replay_script", "bad_name.txt", "shot ../escape\n")
put("replay_script", "huge_wait.txt", "wait 99999999999999999999999\n")
put("replay_script", "text_only.txt", "text \n")
put("replay_script", "no_newline.txt", "mouse 799 599")
