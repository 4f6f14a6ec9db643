#!/usr/bin/python3
"""Writes a small seed corpus of synthetic MP3 inputs into the folder given."""
import os
import struct
import sys


def header(version=3, layer=1, rate=9, sr=0, pad=0, b3=0x40, crc=False):
    return bytes([0xFF, 0xE0 | version << 3 | layer << 1 | (0 if crc else 1),
                  rate << 4 | sr << 2 | pad << 1, b3])


def frames(n, h=None, length=417):
    h = h or header()
    return (h + b"\x55" * (length - 4)) * n


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def tag(major, items, padding=0, flags=0):
    body = b""
    for fid, data in items:
        if major == 2:
            body += fid + struct.pack(">I", len(data))[1:] + data
        elif major == 3:
            body += fid + struct.pack(">I", len(data)) + b"\0\0" + data
        else:
            body += fid + syncsafe(len(data)) + b"\0\0" + data
    body += b"\0" * padding
    return b"ID3" + bytes([major, 0, flags]) + syncsafe(len(body)) + body


def v1(title=b"Title", track=3, genre=17):
    b = bytearray(128)
    b[0:3] = b"TAG"
    b[3:3 + len(title)] = title
    b[125] = 0
    b[126] = track
    b[127] = genre
    return bytes(b)


def xing(count=100, size=41700, enc=b"LAME3.99"):
    f = bytearray(frames(1))
    x = b"Xing" + b"\0\0\0\x0F" + struct.pack(">ii", count, size) + b"\0" * 103 + b"\x39" + enc
    f[36:36 + len(x)] = x
    return bytes(f)


utf16 = "Tïtle 日本".encode("utf-16")
pic = b"\x89PNG\r\n\x1a\n" + b"\xAB" * 200
seeds = {
    "cbr": frames(30),
    "cbr-v1": frames(30) + v1(),
    "xing": xing() + frames(20),
    "vbri": frames(1)[:36] + b"VBRI\0\x01\0\0\0\x4b" + struct.pack(">ii", 41700, 100) + frames(20)[50:],
    "v23": tag(3, [(b"TIT2", b"\x01" + utf16), (b"TPE1", b"\0Artist"), (b"TRCK", b"\x003/12"),
                   (b"TCON", b"\0(17)Rock"), (b"COMM", b"\0engdesc\0Comment"),
                   (b"WXXX", b"\0\0http://x/"), (b"APIC", b"\0image/png\0\x03\0" + pic)],
               padding=64) + frames(20) + v1(),
    "v24": tag(4, [(b"TIT2", b"\x03T\xc3\xadtle"), (b"TDRC", b"\x002013-06-14"),
                   (b"TXXX", b"\x03key\0value"), (b"APIC", b"\x03image/png\0\x03d\0" + pic)],
               flags=0x40 if False else 0) + frames(20),
    "v24-ext": tag(4, [(b"TIT2", b"\0x")]) + frames(10),
    "v22": tag(2, [(b"TT2", b"\0Title"), (b"PIC", b"\0PNG\x03\0" + pic), (b"COM", b"\0eng\0c")])
           + frames(20),
    "mpeg25": frames(40, header(0, 1, 8, 2), 1440),
    "tail-lame": frames(20) + b"LAME3.90" + b"\x55" * 500,
    "short": b"ID3\x03\0\0\0\0\x7f\x7f",
}
out = sys.argv[1]
os.makedirs(out, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(out, name + ".mp3"), "wb") as f:
        f.write(data)
