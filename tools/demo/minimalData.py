#!/usr/bin/env python3
"""Writes a minimal data folder: a configuration and a start script of a few messages, in the code
page of the chosen configuration. `make play` plays it until the demo game exists.

Usage: minimalData.py <data folder> [full|earlier]
"""
import os
import sys

MESSAGES = {
    'full': ['这是一个最小的数据文件夹。', '旁白:点击继续。'],
    'earlier': ['これは最小のデータフォルダです。', 'ナレーション:クリックで続きます。'],
}


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

    write('config/config.txt', ['system.txt'])
    write('config/system.txt', ['[System.Info]', 'Title=Morvane', 'Version=0.1',
                                '[System.Setting]', 'ScreenWidth=800', 'ScreenHeight=600'])
    write('script/start.txt', MESSAGES[config] + ['.'])
    return 0


if __name__ == '__main__':
    sys.exit(main())
