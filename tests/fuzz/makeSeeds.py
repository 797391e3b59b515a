#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into corpus/<target>/seed-*.

Each seed is a small valid (or nearly valid) file of the kind its target reads, so the fuzzers
start from the formats' interesting paths. Files not named seed-* (the crash inputs kept for
regression) are left alone. Text fixtures end their lines with CR LF.

The seeds of the Ogg Vorbis target are encoded sound, made once with sox and oggenc and kept:
  sox -n -r 8000 -b 16 -e signed -c 1 t1.wav synth 0.05 sine 440
  oggenc -q 0 -c start=100 -c end=300 -o corpus/ogg/seed-loop t1.wav
  sox -n -r 11025 -b 16 -e signed -c 2 t2.wav synth 0.08 sine 300
  oggenc -q 0 -c start=-5 -c end=99999999999 -o corpus/ogg/seed-stereo t2.wav
  head -c 1500 corpus/ogg/seed-loop > corpus/ogg/seed-cut
  oggenc -q 0 -c start=200 -c end=201 -o corpus/ogg/seed-loop1frame t1.wav
(the target loops a file whose size is odd, as that of seed-loop1frame: its loop of one frame must
stay cheap).
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

ARCHIVE_SEED = 0x58E7
MULTIPLIER = 69069
WORDS = 624


class Keystream:
    """The scrambling keystream of archives and save-folder files."""

    def __init__(self, seed):
        self.seed(seed)

    def seed(self, seed):
        x = seed & 0xFFFFFFFF
        self.words = []
        for _ in range(WORDS):
            x = (x * MULTIPLIER) & 0xFFFFFFFF
            self.words.append(x)
        self.index = 0

    def byte(self):
        if self.index >= WORDS:
            self.seed(self.words[WORDS - 1])
        y = self.words[self.index]
        self.index += 1
        y ^= y >> 11
        y ^= (y << 7) & 0x6B2D94E7
        y ^= (y << 15) & 0x2C8E5B19
        y ^= y >> 18
        return y & 0xFF

    def apply(self, data):
        return bytes(b ^ self.byte() for b in data)


def archive(entries, priority=1, version=203, magic=b"MORVPACK"):
    """entries: (key, name, data); names enciphered by one stream, data by seed + key."""
    head = magic + struct.pack("<III", version, priority, len(entries))
    at = len(head) + sum(10 + len(name) for _, name, _ in entries)
    names = Keystream(ARCHIVE_SEED)
    records, blobs = b"", b""
    for key, name, data in entries:
        stored = data if key == 0 else Keystream(ARCHIVE_SEED + key).apply(data)
        records += bytes([key, len(name)]) + names.apply(name) + struct.pack("<II", at, len(data))
        blobs += stored
        at += len(data)
    return head + records + blobs


def png(width, height, colour_type, rows, chunks_before=(), split=1):
    bpp = {0: 1, 2: 3, 4: 2, 6: 4}.get(colour_type, 1)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b""
    for y in range(height):
        filt = rows[y % len(rows)]
        raw += bytes([filt]) + bytes((x * 37 + y * 11) & 0xFF for x in range(width * bpp))
    packed = zlib.compress(raw, 9)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    for kind, data in chunks_before:
        out += chunk(kind, data)
    step = (len(packed) + split - 1) // split
    for i in range(0, len(packed), step):
        out += chunk(b"IDAT", packed[i:i + step])
    return out + chunk(b"IEND", b"")


def record(name, data):
    return struct.pack("<I", len(name)) + name + struct.pack("<I", len(data)) + data


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines).encode("latin-1")


def seeds():
    plain = b"plain bytes of a loose entry\r\n"
    ciphered = bytes(range(48))
    yield "archive", "two", archive([(0, b"start.txt", plain), (7, b"IMG\\Bg01.png", ciphered)])
    yield "archive", "empty", archive([])
    yield "archive", "outside", archive([(3, b"a", b"xy")])[:-1]
    yield "archive", "badversion", archive([(0, b"a", b"z")], version=202)

    yield "dataFile", "entry", (b"script\0START.TXT\0\x05" +
                                archive([(9, b"script\\start.txt", bytes(range(200)) * 3)]))
    yield "dataFile", "absolute", (b"img\0c:\\x.png\0\x01" +
                                   archive([(0, b"img\\a.png", b"abc"), (255, b"b", b"q" * 40)]))

    yield "png", "grey", png(5, 3, 0, [0, 1, 2])
    yield "png", "rgb", png(4, 4, 2, [3, 4], split=3)
    yield "png", "greyalpha", png(3, 2, 4, [4, 1])
    yield "png", "rgba", png(6, 5, 6, [0, 1, 2, 3, 4], chunks_before=[(b"tEXt", b"a\0b")])
    yield "png", "palette", png(2, 2, 3, [0])
    yield "png", "cut", png(8, 8, 6, [2])[:-40]

    yield "textBuf", "lines", crlf("first line", "  indented\tword  -12 +7", "", "99999999999",
                                   "\ttabs\tand blanks \t")
    yield "textBuf", "mixed", b"a\rb\r\nc\n\rd \t \x00after nul"

    yield "configRegistry", "system", crlf(
        "; the game's configuration", "[System.Info]", "Title=Demo", "Vendor = Someone",
        "[System.Setting]", "ScreenWidth=800", "ScreenHeight=600", "Startup=start.txt",
        "[System.Option]", "EnableMMX=on", "QuitDialog=TRUE", "SplashImage=logo")
    yield "configRegistry", "message", crlf(
        "[Message.Speaker]", "Alice=1", "Bob=9", "Carol=12", "[.Voice]", "al=on", "bo=off",
        "[Define.Flag]", "L000=a", "G001=b") + b"\0" + crlf("[Message.Speaker]", "Alice=3", "[x]",
                                                            "k=v", "[A.B.C]", "k=v w")

    settings = bytearray(336)
    struct.pack_into("<III", settings, 0, 2, 9, 5)
    settings[12:18] = bytes([1, 1, 1, 0, 1, 7])
    struct.pack_into("<IIII", settings, 20, 50, 100, 101, 0xFFFFFFFF)
    settings[36:48] = bytes([1, 0, 1, 0, 1, 1, 0, 2, 1, 0, 1, 3])
    settings[48:308] = bytes(i & 0xFF for i in range(260))
    settings[308:333] = bytes([11, 22, 14, 4, 2] + list(range(20, 40)))
    yield "settings", "block", bytes(settings)
    yield "settings", "short", bytes(settings[:335])

    script = (record(b"ChapterDate", b"4/1\0") + record(b"ChapterName", b"One\0") +
              record(b"PlayTime", struct.pack("<I", 13)) + record(b"ScriptMode", b"\x01") +
              record(b"Name0", b"start.txt\0") + record(b"Line0", struct.pack("<i", 12)) +
              record(b"CaseID0", struct.pack("<i", 2)) + record(b"CaseEnable0", b"\x01") +
              record(b"StackCount", struct.pack("<I", 1)))
    flags = record(b"Flags", b"".join(struct.pack("<i", (i * 7919) - 2000) for i in range(1000)))
    yield "saveStream", "slot", record(b"Data_Script", script) + record(b"Data_Flags", flags)
    yield "saveStream", "damaged", (record(b"Data_Flags", record(b"Flags", b"\1\2\3")) +
                                    record(b"A", b"") + struct.pack("<I", 0xFFFFFFFF) + b"Huge")

    table = b"".join(struct.pack("<i", i * 1000003 - 7) for i in range(1000))
    yield "flagFiles", "whole", struct.pack("<H", 4000) + table + table[::-1][:600]
    yield "flagFiles", "short", struct.pack("<H", 10) + table[:10] + table[:4003]

    yield "readFlags", "log", (b"\\1 12\r\\20 31\rstart.txt\r\\5 5\rsub\\two.txt\r"
                               b"\\-3 9\r\\2147483648 4\r\\7\rodd.txt\rno ranges\r\0")
    yield "readFlags", "merge", b"\\3 9\r\\1 4\r\\8 20\rstart.txt\r\\1 1\rstart.txt\r"

    yield "scriptLines", "flow", b"\0\0\0\2" + crlf(
        "; a scenario", "#top", ".IF a > 1 & !G001", "{", "?a = a + 1", "}", ".else", "{",
        "?G001==(a*3)/2", "}", ".select", "one", "two", ".case 1 3", "text line/more", ".case 2",
        ".endsel", ".goto top", ".", "..", "...", ".bg 01 fade(2)", ".call sub.txt", "#")
    yield "scriptLines", "odd", b"\xff\xff\xff\xff" + crlf(".case 2147483648 -1", "?" + "n" * 251 + "=1",
                                                            "?x", ".IF ((((", "#top ", ".ENDSEL ")

    yield "expression", "mixed", b"(a + 1) * -3 / !g < G999 & F003 > 0"
    yield "expression", "edges", b"a / L007 + 2147483647 * 99999999999 - (((1)))"
    yield "expression", "broken", b"1 / 0 ) ( a b"

    yield "msgMarkup", "window", (b"\x00\x03Alice:\0" + b"Hello@ world/|base(ruby) [dots] "
                                  b"{fast}>\\@<\x82\xa0\x81\x41\x81\x42")
    yield "msgMarkup", "novel", (b"\xe7\x00\x82\xa0\x82\xa2:\0" + b"\x82\xa0" * 30 +
                                 b"/|\x8a\xbf(\x82\xa9\x82\xf1)\x8e\x9a\\")

    movie = crlf("; a definition", "Type=movie", "Name=Garden", "PosX=2", "PosY=-3", "Base=a.png",
                 "Img0=dot.png", "Img1=b.png", "Mode1=Screen", "Alpha1=50%", "x: 3",
                 "move.x: 1001 -2000", "sin.y: 60 5 250", "range.x: 0 15", "clip: 1 2 9 9",
                 "draw: 0 x y", "draw: 1 y x", "rain: 2 4", "hotaru: 0 3", "# 1 3", "Type=back",
                 "Img2=c.png", "Mode2=Add", "Alpha2=300", "ResetTimer", "#", "mul.q: x y",
                 "div.q: q 0", "mod.q: q x", "max.z: q 2147483647")
    yield "anime", "movie", bytes([4, 0x00, 3, 40, 0x81, 0x81, 250, 9, 0x02, 0x03, 0, 255,
                                   0x83, 0x7F, 200, 0x80]) + movie
    actor = crlf("Type=actor", "Base=wide.png", "Face=dot.png", "FaceX=39", "FaceY=-1",
                 "# 2", "Face=missing.png", "Img9=a.png", "Mode9=Darken", "Img10=b.png")
    yield "anime", "actor", bytes([2, 0x02, 0xF0, 100, 0x01, 0x80, 1, 0, 0]) + actor

    def slot(i, name, code=None, x=None, y=None):
        data = record(b"Name%d" % i, name + b"\0")
        if code is not None:
            data += record(b"Code%d" % i, struct.pack("<i", code))
        if x is not None:
            data += record(b"PosX%d" % i, struct.pack("<i", x))
        if y is not None:
            data += record(b"PosY%d" % i, struct.pack("<i", y))
        return data
    anime = (slot(0, b"two.img", 1, -2, 3) + slot(3, b"a.png", None, 4) +
             slot(4, b"white", 0, 1, 1) + slot(9, b"missing.img", 2))
    log = (record(b"LastLogPos", struct.pack("<I", 2)) + record(b"Text0", b"first\nline\0") +
           record(b"Name0", b"Alice\0") + record(b"Voice0", b"voice\\a01\0") +
           record(b"Text1", b"no end") + record(b"Text59", b"last\0"))
    flow = (record(b"LastNode", b"start\0") + record(b"AN_Count", struct.pack("<I", 2)) +
            record(b"AN0", b"start\0") + record(b"AN1", b"Route\0") +
            record(b"VN_Count", struct.pack("<I", 3)) + record(b"VN0", b"START\0") +
            record(b"AL_Count", struct.pack("<I", 1)) + record(b"AL0", b"start>route\0"))
    sound = (record(b"NameENV", b"env\\hum.ogg\0") + record(b"NameBGM", b"bgm\\tagged.ogg\0") +
             record(b"PathVO", b"vo\0") + record(b"LoopBGM", b"\1"))
    yield "saveSections", "slot", (record(b"Data_Sound", sound) + record(b"Data_Anime", anime) + record(b"Data_Log", log) +
                                   record(b"Data_Flow", flow))
    yield "saveSections", "damaged", (record(b"Data_Log", record(b"LastLogPos", b"\xff" * 4)) +
                                      record(b"data_anime", slot(1, b"a.png", 7)[:-3]) +
                                      record(b"Data_Flow", record(b"VL_Count", b"\xff" * 4)))

    town = crlf("; a map of the town: ICON:ghost 4 a.png", "no colon on this line",
                "icon:home 4 b.png", "ICON :lost 4 b.png", "ICON:shop 3 c.png", "ICON:neg -3 b.png",
                "ICON:wide 1 wide.png", "ICON:gone 2 missing.png", "PLACE:park 99999999999 100",
                "PLACE:park 10 12", "PLACE:street 30xyz 10 dot.png 30 40", "PLACE:square 40 30",
                "PLACE:edge -5 47 missing.png", "PLACE:far 2147483647 -2147483648",
                "SOMETHING: else") + b"ICON:z 4 a.png\0PLACE:late 7 5\r\n"
    options = crlf("home park", "shop street 1 0", "home square 0", "wide edge", "gone park",
                   "neg far", "home late", "lost park", "wide far 1 a>0")
    yield "mapChoice", "town", options + b"\0" + town + bytes([10, 4, 0x80, 0x7F, 13, 14, 250, 3])
    yield "mapChoice", "full", (crlf(*["home park"] * 55) + b"\0" +
                                crlf("ICON:home 4 a.png", "PLACE:park 1 1 b.png 3 3"))

    sections = b"".join(record(name, record(b"F0", b"abc") + record(b"F1\0tail", b""))
                        for name in (b"Data_Script", b"Data_Sound", b"Data_Anime", b"Data_Flags",
                                     b"data_log", b"Data_Flow"))
    yield "slotFile", "whole", sections
    yield "slotFile", "twice", sections + record(b"DATA_FLAGS", record(b"Flags", b"\1" * 8))
    yield "slotFile", "empty-name", record(b"", record(b"x", b"")) + sections


def main():
    for target, name, data in seeds():
        folder = os.path.join(CORPUS, target)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
