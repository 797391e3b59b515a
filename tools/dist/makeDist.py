#!/usr/bin/env python3
"""Writes the zip a game ships to players on Windows: one folder holding the program and the
game's data folder, ready to unzip and double-click.

    makeDist.py <system.exe> <data folder> <game name> <out.zip> [--strip <strip command>]

The zip holds <game name>/system.exe and <game name>/data/... (the save folder is made beside the
program on its first save). With --strip the program goes in without its symbols and debugging information.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile


def add_tree(z, folder, arcbase):
    for here, dirs, files in os.walk(folder):
        dirs.sort()
        rel = os.path.relpath(here, folder)
        base = arcbase if rel == '.' else arcbase + '/' + rel.replace(os.sep, '/')
        for name in sorted(files):
            z.write(os.path.join(here, name), base + '/' + name)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('exe')
    ap.add_argument('data')
    ap.add_argument('game')
    ap.add_argument('out')
    ap.add_argument('--strip')
    a = ap.parse_args()
    if not os.path.isfile(a.exe):
        sys.exit('makeDist: no program at %s' % a.exe)
    if not os.path.isdir(a.data):
        sys.exit('makeDist: no data folder at %s' % a.data)
    os.makedirs(os.path.dirname(os.path.abspath(a.out)), exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, 'system.exe')
        shutil.copyfile(a.exe, exe)
        if a.strip:
            subprocess.run([a.strip, '--strip-all', exe], check=True)
        part = a.out + '.part'
        with zipfile.ZipFile(part, 'w', zipfile.ZIP_DEFLATED) as z:
            z.write(exe, a.game + '/system.exe')
            add_tree(z, a.data, a.game + '/data')
        os.replace(part, a.out)
    print('makeDist: wrote %s (%d bytes)' % (a.out, os.path.getsize(a.out)))


if __name__ == '__main__':
    main()
