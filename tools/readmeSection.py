#!/usr/bin/env python3
"""Puts a generated text into its section of the README.

    readmeSection.py <README.md> <name> <text file> [--code]

The section lies between the line "<!-- <name>: generated, see the Makefile -->" and the line
"<!-- end of <name> -->"; everything between them is replaced by the file's text (inside a fenced
block with --code).
"""
import os
import sys


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    readme, name, source = argv[:3]
    begin = '<!-- %s: generated, see the Makefile -->' % name
    end = '<!-- end of %s -->' % name
    with open(source, encoding='utf-8') as f:
        text = f.read().rstrip('\n') + '\n'
    if '--code' in argv:
        text = '```\n' + text + '```\n'
    with open(readme, encoding='utf-8') as f:
        s = f.read()
    if begin not in s or end not in s:
        print('%s has no section %s' % (readme, name), file=sys.stderr)
        return 1
    head, rest = s.split(begin, 1)
    _, tail = rest.split(end, 1)
    with open(readme + '.part', 'w', encoding='utf-8') as f:
        f.write(head + begin + '\n' + text + end + tail)
    os.replace(readme + '.part', readme)
    print('%s: section %s from %s' % (readme, name, source))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
