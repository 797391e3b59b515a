#!/usr/bin/env python3
"""Writes a minimal data folder: a configuration and a start script of a few messages, in the code
page of the chosen configuration. `make play` plays it until the demo game exists.

Usage: minimalData.py <data folder> [full|earlier]
"""
import os
import struct
import sys
import zlib

MESSAGES = {
    'full': ['旁白:这是一个最小的数据文件夹。', '旁白:点击继续。'],
    'earlier': ['ナレーション:これは最小のデータフォルダです。', 'ナレーション:クリックで続きます。'],
}


def png_rgba(width, height, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def box(x, y):
    """The message box: dark blue, a lighter frame."""
    edge = x < 4 or y < 4 or x >= 796 or y >= 196
    return (120, 140, 220, 255) if edge else (16, 24, 64, 200)


def prompt(x, y):
    """The click prompt: eight frames of a dot that grows and shrinks."""
    frame, fy = divmod(y, 24)
    r = 3 + (frame if frame < 4 else 7 - frame)
    inside = (x - 12) ** 2 + (fy - 12) ** 2 <= r * r
    return (255, 230, 120, 255) if inside else (0, 0, 0, 0)


def main():
    if len(sys.argv) < 2 or sys.argv[1] in ('-h', '--help'):
        print(__doc__)
        return 0 if len(sys.argv) >= 2 else 2
    folder = sys.argv[1]
    config = sys.argv[2] if len(sys.argv) > 2 else 'full'
    codepage = 'cp932' if config == 'earlier' else 'gbk'

    def write(rel, lines):
        path = os.path.join(folder, *rel.split('/'))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(b''.join(l.encode(codepage) + b'\r\n' for l in lines))

    def write_bytes(rel, data):
        path = os.path.join(folder, *rel.split('/'))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)

    write_bytes('img/sys_box_normal.png', png_rgba(800, 200, box))
    write_bytes('img/sys_box_prompt.png', png_rgba(24, 192, prompt))
    write('config/config.txt', ['system.txt'])
    write('config/system.txt', ['[System.Info]', 'Title=Morvane', 'Version=0.1',
                                '[System.Setting]', 'ScreenWidth=800', 'ScreenHeight=600'])
    # Each message its own page: lines that follow each other would join into one message.
    write('script/start.txt', [line for m in MESSAGES[config] for line in (m, '.')])
    return 0


if __name__ == '__main__':
    sys.exit(main())
