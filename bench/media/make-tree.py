#!/usr/bin/python3
"""make-tree.py DIR [COUNT]: writes COUNT (default 50000) small tagged MP3 files into
DIR/<artist>/<album>/, 100 files per folder: an ID3v2.3 tag with the usual text frames
and padding, ten MPEG 1 Layer III frames (every second file starts with a LAME/Xing
header, the others are constant bit rate), and an ID3v1.1 tag."""
import os
import struct
import sys

out = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 50000


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2(fields):
    body = b""
    for fid, text in fields:
        data = b"\0" + text.encode("latin-1")
        body += fid + struct.pack(">I", len(data)) + b"\0\0" + data
    body += b"\0" * 1024
    return b"ID3\x03\0\0" + syncsafe(len(body)) + body


def id3v1(title, artist, album, track):
    b = bytearray(128)
    b[0:3] = b"TAG"
    for at, text in ((3, title), (33, artist), (63, album)):
        t = text.encode("latin-1")[:30]
        b[at:at + len(t)] = t
    b[93:97] = b"2009"
    b[126] = track
    b[127] = 17
    return bytes(b)


header = bytes([0xFF, 0xFB, 0x90, 0x64])
frame = header + b"\x00" * 32 + b"\x55" * (417 - 36)
xing = bytearray(frame)
x = b"Xing\0\0\0\x0F" + struct.pack(">ii", 10, 4170) + b"\0" * 103 + b"\x39" + b"LAME3.99"
xing[36:36 + len(x)] = x
cbr = frame * 10
vbr = bytes(xing) + frame * 9

for i in range(count):
    artist, album, track = "Artist %03d" % (i // 1000), "Album %04d" % (i // 100), i % 100 + 1
    folder = os.path.join(out, artist, album)
    os.makedirs(folder, exist_ok=True)
    title = "Song number %d" % i
    tag = id3v2([(b"TIT2", title), (b"TPE1", artist), (b"TALB", album),
                 (b"TRCK", "%d/100" % track), (b"TYER", "2009"), (b"TCON", "Rock"),
                 (b"TENC", "LAME")])
    with open(os.path.join(folder, "%02d - %s.mp3" % (track, title)), "wb") as f:
        f.write(tag + (vbr if i % 2 else cbr) + id3v1(title, artist, album, track))
