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


def frame24(fid, data, fmt=0):
    """A version 2.4 frame; format flag 0x01 adds a data length, 0x02 unsynchronises."""
    payload = data
    if fmt & 0x02:
        payload = unsync(payload)
    if fmt & 0x01:
        payload = syncsafe(len(data)) + payload
    if fmt & 0x40:
        payload = b"\x07" + payload
    return fid + syncsafe(len(payload)) + b"\0" + bytes([fmt]) + payload


def frame23(fid, data):
    return fid + struct.pack(">I", len(data)) + b"\0\0" + data


def frame22(fid, data):
    return fid + struct.pack(">I", len(data))[1:] + data


def unsync(data):
    return data.replace(b"\xff", b"\xff\x00")


def raw_tag(major, body, flags=0):
    return b"ID3" + bytes([major, 0, flags]) + syncsafe(len(body)) + body


utf16 = "Tïtle 日本".encode("utf-16")
be16 = lambda s: s.encode("utf-16-be")
sylt_lines = b"Zeile \xc3\xa9\0\0\0\x03\xe8two\0\0\0\x07\xd0"
chap_sub = frame24(b"TIT2", b"\x03" + b"c" * 200 + b"\xc3\xa9") + frame24(b"TMOO", b"\0calm")
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
    # conversions a save makes from v2.4 and v2.2 into v2.3
    "v24-sylt": raw_tag(4, frame24(b"SYLT", b"\x03eng\x02\x01d\0" + sylt_lines) +
                        frame24(b"SYLT", b"\x02eng\x02\x01" + be16("d") + b"\0\0" +
                                be16("\u65e5") + b"\0\0\0\0\0\x05")) + frames(10),
    "v24-chap": raw_tag(4, frame24(b"CHAP", b"ch1\0" + b"\0\0\0\0\0\0\x03\xe8" + b"\xff" * 8 +
                                   chap_sub) +
                        frame24(b"CTOC", b"toc\0\x03\x01ch1\0" + chap_sub)) + frames(10),
    "v24-only": raw_tag(4, frame24(b"TDRC", b"\x002004-05-06T10:20") +
                        frame24(b"TDOR", b"\x001999") + frame24(b"TIPL", b"\x03a\0b\0c\0d") +
                        frame24(b"TMCL", b"\0g\0h") + frame24(b"RVA2", b"t\0\x01\0\x10\0") +
                        frame24(b"TPE1", b"\0A\0B\0C") +
                        frame24(b"OWNE", b"\x03EUR1\x0020240101H\xc3\xa4ndler") +
                        frame24(b"COMR", b"\x03EUR2\x0020250101http://s/\0\x01S\0D\0image/png\0L") +
                        frame24(b"TPE2", b"\x03Caf\xe9")) + frames(10),
    "v22-convert": raw_tag(2, frame22(b"PCS", b"\0\0\0\x01") + frame22(b"TDS", b"\0desc") +
                           frame22(b"TGR", b"\0Talk") + frame22(b"WFD", b"http://f/") +
                           frame22(b"TDR", b"\x002010") + frame22(b"CRM", b"o\0d\0x") +
                           frame22(b"TXY", b"\x01" + utf16 + b"\0\0") + frame22(b"XYZ", b"raw") +
                           frame22(b"LNK", b"TT2http://l/\0") + frame22(b"TT2", b"\0Title")) + frames(10),
    # unsynchronisation, group bytes, data lengths, a frame past the tag end
    "v23-unsync": raw_tag(3, unsync(frame23(b"TPE1", b"\0\xff\xffa") + frame23(b"TALB", b"\0Album")),
                          0x80) + frames(10),
    "v24-unsync-frame": raw_tag(4, frame24(b"TPE1", b"\0\xff\xffa", 0x03) +
                                frame24(b"TALB", b"\0Album", 0x40) +
                                frame24(b"TIT2", b"\x03\xc3\xbf\xff", 0x43)) + frames(10),
    "v24-unsync-tag": raw_tag(4, frame24(b"TPE1", unsync(b"\0\xff\xffa")), 0x80) + frames(10),
    "past-the-end": raw_tag(3, frame23(b"TPE1", b"\0A") + b"TALB\0\0\0\x07\0\0\0Album") + frames(10),
}
out = sys.argv[1]
os.makedirs(out, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(out, name + ".mp3"), "wb") as f:
        f.write(data)
