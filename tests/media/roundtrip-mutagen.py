#!/usr/bin/python3
"""roundtrip-mutagen.py RENDOLO_CLI [CORPUS_DIR]

Saves copies of MP3 files with `rendolo-cli tag --v2 title=x` and checks with mutagen
that every frame mutagen reads before the save is still there afterwards with the same
value. The files: ID3v2.3 and ID3v2.4 tags written by mutagen with every frame type it
writes, in every text encoding; an ID3v2.2 tag built byte by byte (mutagen writes no
2.2); and every file of CORPUS_DIR when given.

"The same value" is what mutagen itself keeps when it saves the original as ID3v2.3
(its update_to_v23 and "/" between the values of a list), since the program writes
ID3v2.3; the sort frames TSOA, TSOP and TSOT, which iTunes keeps in ID3v2.3, must keep
their values as well. Text encodings are not compared. Exits 77 (skipped) without
mutagen, 1 when a frame was lost or changed.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

try:
    from mutagen.id3 import ID3
    from mutagen.id3 import (
        AENC, APIC, CHAP, COMM, COMR, CTOC, ENCR, ETCO, GEOB, GRID, GRP1, IPLS, LINK, MCDI,
        MVIN, MVNM, OWNE, PCNT, PCST, POPM, POSS, PRIV, RBUF, RVA2, SEEK, SYLT, SYTC, TCON,
        TDOR, TDRC, TIPL, TMCL, TXXX, UFID, USER, USLT, WFED, WXXX, Frames)
    from mutagen.id3 import (
        TextFrame, NumericTextFrame, NumericPartTextFrame, TimeStampTextFrame, UrlFrame)
except ImportError:
    print("mutagen is not installed: skipped")
    sys.exit(77)

KEPT_IN_V23 = ("TSOA", "TSOP", "TSOT")
# Frames of ID3v2.4 that an ID3v2.3 tag leaves out on purpose (mutagen's update_to_v23
# means to drop them too, but misses those whose key holds a description, as RVA2's).
LEFT_OUT = ("ASPI", "EQU2", "RVA2", "SEEK", "SIGN", "TDEN", "TDRL", "TDTG", "TMOO", "TPRO",
            "TSST")
TEXTS = {0: ["Wert \xe9", "zwei"], 1: ["Wert \xe9 \u65e5", "zwei"],
         2: ["Wert \xe9 \u65e5", "zwei"], 3: ["Wert \xe9 \u65e5", "zwei"]}


def every_frame(enc, v24):
    """One frame of every type mutagen writes, texts in encoding `enc`."""
    texts = TEXTS[enc]
    frames = []
    # Frames of the other version are left out: mutagen would not write them there.
    only23 = ("TYER", "TDAT", "TIME", "TORY", "TRDA", "TSIZ", "RVAD", "EQUA")
    only24 = ("TDEN", "TDRL", "TDTG", "TMOO", "TPRO", "TSST")
    for name, cls in sorted(Frames.items()):
        if cls in (TXXX, WXXX, TCON, TDRC, TDOR) or cls.__name__ != name:
            continue
        if name in (only23 if v24 else only24):
            continue
        if issubclass(cls, TimeStampTextFrame):
            frames.append(cls(encoding=enc, text=["2004-05-06T10:20:30"]))
        elif issubclass(cls, (NumericTextFrame, NumericPartTextFrame)):
            frames.append(cls(encoding=enc, text=["7/12" if issubclass(
                cls, NumericPartTextFrame) else "120"]))
        elif issubclass(cls, TextFrame) and cls not in (TIPL, TMCL, IPLS):
            frames.append(cls(encoding=enc, text=texts if v24 else texts[:1]))
        elif issubclass(cls, UrlFrame):
            frames.append(cls(url="http://example.org/" + name))
    people = [["producer", texts[0]], ["mix", "B"]]
    frames += [
        TXXX(encoding=enc, desc="MOOD " + texts[0], text=texts),
        WXXX(encoding=enc, desc="link " + texts[0], url="http://example.org/x"),
        TCON(encoding=enc, text=["Rock", "Pop"] if v24 else ["(17)Rock"]),
        COMM(encoding=enc, lang="deu", desc="d " + texts[0], text=[texts[0]]),
        USLT(encoding=enc, lang="eng", desc="l " + texts[0], text=texts[0] + "\nline 2"),
        SYLT(encoding=enc, lang="eng", format=2, type=1, desc="s " + texts[0],
             text=[(texts[0], 1000), (texts[1], 2000)]),
        APIC(encoding=enc, mime="image/png", type=3, desc="c " + texts[0],
             data=b"\x89PNG\r\n\x1a\n" + b"\xab" * 300),
        APIC(encoding=enc, mime="image/jpeg", type=4, desc="back", data=b"\xff\xd8\xff" * 50),
        GEOB(encoding=enc, mime="text/plain", filename="f " + texts[0], desc="g " + texts[0],
             data=b"object data"),
        USER(encoding=enc, lang="eng", text="terms " + texts[0]),
        OWNE(encoding=enc, price="EUR1.00", date="20240101", seller="seller " + texts[0]),
        COMR(encoding=enc, price="EUR2.00", valid_until="20250101", contact="http://s/",
             format=1, seller="s " + texts[0], desc="d " + texts[0], mime="image/png",
             logo=b"LOGO"),
        PCNT(count=42), POPM(email="a@b", rating=128, count=3), PRIV(owner="owner", data=b"\x01\x02"),
        UFID(owner="http://mb", data=b"id-123"), MCDI(data=b"\x00\x01cdtoc"),
        ETCO(format=2, events=[(3, 1000)]), SYTC(format=2, data=b"\x00\x01\x02"),
        RBUF(size=1024), AENC(owner="aenc", preview_start=1, preview_length=2, data=b"x"),
        ENCR(owner="encr", method=0x80, data=b"e"), GRID(owner="grid", group=0x81, data=b"g"),
        LINK(frameid="TIT1", url="http://link/", data=b""), POSS(format=2, position=1234),
        PCST(value=1), WFED(url="http://feed/"), GRP1(encoding=enc, text=[texts[0]]),
        MVNM(encoding=enc, text=[texts[0]]), MVIN(encoding=enc, text=["1/2"]),
        CHAP(element_id="ch1", start_time=0, end_time=1000, sub_frames=[
            Frames["TIT2"](encoding=enc, text=[texts[0] * 20]),
            APIC(encoding=enc, mime="image/png", type=0, desc=texts[0], data=b"p" * 200)]),
        CHAP(element_id="ch2", start_time=1000, end_time=2000, sub_frames=[
            Frames["TIT2"](encoding=enc, text=["second"])]),
        CTOC(element_id="toc", flags=3, child_element_ids=["ch1", "ch2"], sub_frames=[
            Frames["TIT2"](encoding=enc, text=["Contents " + texts[0]])]),
    ]
    if v24:
        frames += [TDRC(encoding=enc, text=["2004-05-06T10:20:30"]),
                   TDOR(encoding=enc, text=["1999-02-03"]), TIPL(encoding=enc, people=people), TMCL(encoding=enc, people=[["guitar", "G"]]),
                   RVA2(desc="track", channel=1, gain=1.5, peak=0.5), SEEK(offset=100)]
    else:
        frames += [IPLS(encoding=enc, people=people), Frames["TYER"](encoding=enc, text=["2004"]),
                   Frames["TDAT"](encoding=enc, text=["0605"]),
                   Frames["TIME"](encoding=enc, text=["1020"]),
                   Frames["TORY"](encoding=enc, text=["1999"])]
    return frames


def mpeg_frames(count=20):
    return (b"\xff\xfb\x90\x40" + b"\x55" * 413) * count


def write_mutagen_files(folder):
    names = []
    for version in (3, 4):
        for enc in (0, 1, 2, 3):
            if version == 3 and enc > 1:
                continue  # ID3v2.3 knows Latin-1 and UTF-16 only
            path = os.path.join(folder, "mutagen-v2%d-enc%d.mp3" % (version, enc))
            with open(path, "wb") as f:
                f.write(mpeg_frames())
            tags = ID3()
            for frame in every_frame(enc, version == 4):
                tags.add(frame)
            tags.save(path, v2_version=version)
            names.append(path)
    return names


def frame22(fid, data):
    return fid + struct.pack(">I", len(data))[1:] + data


def write_v22_file(folder):
    utf16 = lambda s: "\ufeff".encode("utf-16-le") + s.encode("utf-16-le")
    frames = (
        frame22(b"TT2", b"\0Old title") + frame22(b"TP1", b"\x01" + utf16("K\u00fcnstler \u65e5")) +
        frame22(b"TAL", b"\0Album") + frame22(b"TRK", b"\0" b"3/9") + frame22(b"TYE", b"\0" b"1999") +
        frame22(b"TCO", b"\0(17)") + frame22(b"COM", b"\0eng" b"desc\0Comment") +
        frame22(b"ULT", b"\x01eng" + utf16("d") + b"\0\0" + utf16("Lyrics \u00e9")) +
        frame22(b"TXX", b"\0MOOD\0calm") + frame22(b"WXX", b"\0desc\0http://w/") +
        frame22(b"WAR", b"http://artist/") +
        frame22(b"PIC", b"\0PNG\x03" b"cover\0" + b"\x89PNG" + b"\xab" * 100) +
        frame22(b"CNT", b"\0\0\0\x05") + frame22(b"POP", b"a@b\0\x80\0\0\0\x01") +
        frame22(b"UFI", b"owner\0id") + frame22(b"TCP", b"\0" b"1") +
        frame22(b"TS2", b"\0Sort album artist") + frame22(b"TSP", b"\0Sort artist") +
        frame22(b"GP1", b"\0Grouping") + frame22(b"TCM", b"\0Composer") +
        frame22(b"GEO", b"\0text/plain\0f.txt\0desc\0data") +
        frame22(b"SLT", b"\0eng\x02\x01d\0line\0\0\0\x03\xe8") +
        frame22(b"IPL", b"\0producer\0P\0") + frame22(b"TOR", b"\0" b"1980"))
    body = frames + b"\0" * 64
    size = len(body)
    tag = b"ID3\x02\0\0" + bytes([(size >> 21) & 127, (size >> 14) & 127, (size >> 7) & 127,
                                   size & 127]) + body
    path = os.path.join(folder, "handmade-v22.mp3")
    with open(path, "wb") as f:
        f.write(tag + mpeg_frames())
    return path


def canonical(frame):
    parts = []
    for spec in frame._framespec + frame._optionalspec:
        if spec.name == "encoding" or not hasattr(frame, spec.name):
            continue
        value = getattr(frame, spec.name)
        if spec.name == "sub_frames":
            value = sorted((k, canonical(f)) for k, f in value.items())
        elif isinstance(value, list) and all(isinstance(v, str) for v in value):
            # A list of values is one "/"-joined value in ID3v2.3; a tag that keeps the
            # values apart (an ID3v2.3 tag as another program wrote it) lost nothing.
            value = "/".join(str(v) for v in value)
        elif isinstance(value, list):
            value = [str(v) if not isinstance(v, (list, tuple, bytes)) else v for v in value]
        parts.append((spec.name, value))
    return parts


def load(path, translate=True):
    try:
        return ID3(path, translate=translate)
    except Exception:  # no tag, or one mutagen cannot read: nothing to compare
        return None


def as_v23(original, scratch):
    """What mutagen keeps of the original's tag when it saves it as ID3v2.3."""
    shutil.copyfile(original, scratch)
    tags = load(scratch)
    if tags is None:
        return None
    tags.update_to_v23()
    tags.save(scratch, v2_version=3, v23_sep="/")
    return load(scratch)


def compare(name, original, expected, saved):
    problems = []
    for key, frame in expected.items():
        if key.startswith("TIT2") or frame.FrameID in LEFT_OUT:
            continue  # the field the save changed, or a frame left out on purpose
        if key not in saved:
            problems.append("%s: %s lost" % (name, key))
        elif canonical(saved[key]) != canonical(frame):
            problems.append("%s: %s changed\n    before %r\n    after  %r" % (
                name, key, canonical(frame), canonical(saved[key])))
    for key in KEPT_IN_V23:
        if key in original and (key not in saved or
                                canonical(saved[key]) != canonical(original[key])):
            problems.append("%s: %s not kept" % (name, key))
    return problems


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    cli = sys.argv[1]
    corpus = sys.argv[2] if len(sys.argv) > 2 else None
    work = tempfile.mkdtemp(prefix="rendolo-roundtrip-")
    try:
        originals = os.path.join(work, "originals")
        saved = os.path.join(work, "saved")
        os.makedirs(originals)
        files = write_mutagen_files(originals) + [write_v22_file(originals)]
        if corpus and os.path.isdir(corpus):
            for name in sorted(os.listdir(corpus)):
                src = os.path.join(corpus, name)
                if not name.startswith(".") and os.path.isfile(src):
                    shutil.copyfile(src, os.path.join(originals, name))
                    files.append(os.path.join(originals, name))
        shutil.copytree(originals, saved)
        targets = [os.path.join(saved, os.path.basename(f)) for f in files]
        run = subprocess.run([cli, "tag", "--v2", "title=x", "--"] + targets,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                             errors="replace")
        failed_saves = [l for l in run.stdout.splitlines() if l.startswith("failed:")]
        problems = []
        checked = 0
        for original, target in zip(files, targets):
            name = os.path.basename(original)
            before = load(original)
            if before is None or not before.version or before.version < (2, 2, 0):
                continue
            if any(l.startswith("failed: " + target + ":") for l in failed_saves):
                problems.append("%s: the save failed: %s" % (name, [
                    l for l in failed_saves if l.startswith("failed: " + target + ":")]))
                continue
            expected = as_v23(original, os.path.join(work, "scratch.mp3"))
            after = load(target)
            if after is None:
                problems.append("%s: no tag after the save" % name)
                continue
            problems += compare(name, before, expected, after)
            checked += 1
        for p in problems:
            print(p)
        print("%d files checked, %d problems" % (checked, len(problems)))
        return 1 if problems else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
