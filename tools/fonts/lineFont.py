#!/usr/bin/python3
"""Copies one face of a font file under a family name of its own, with a line of exactly one em
and a regular weight, for the Wine prefix to stand in for a Windows face.

GDI sizes a font by its line (usWinAscent + usWinDescent): a positive LOGFONT height is that line,
so a face whose line is taller than its em draws its characters smaller than the Windows face it
stands for, and a negative height (the em) gives a line taller than the controls sized for it.
Code that widens glyphs of fonts heavier than 400 draws a face that reports 500 bold.
The copy's line is the em, split as the ascent and descent given (in font units); the hhea line
gap is 0; the weight class is 400; every family, full and PostScript name is the new one (the
copy must not answer to the source's names, which the system still offers).
The embedded bitmaps draw every stroke at small sizes; GDI under Wine measures text by the
outlines' advances but draws it by the bitmaps' own, and cuts a bitmap at the line (one wholly
outside it is not drawn at all, nor advanced). So each bitmap advances as its outline does at its
size, rounded as FreeType rounds, and a bitmap reaching outside the new line is dropped, as is a
group of bitmaps sharing one advance where their outlines differ: those glyphs are drawn from
their outlines. Otherwise right-aligned and centred text would end past its measured width,
where it is cut off.

Usage: lineFont.py SOURCE FACE-INDEX FAMILY ASCENT DESCENT OUT.ttf
Runs with Debian's python3-fonttools (hence Debian's interpreter).
"""
import os
import sys

from fontTools.ttLib import TTFont

# Name records of the family: 1 family, 3 unique id, 4 full name, 6 PostScript name,
# 16/17 typographic family and subfamily, 18 Mac compatible full name, 21/22 WWS family/subfamily.
FAMILY_NAME_IDS = (1, 3, 4, 6, 16, 17, 18, 21, 22)
WINDOWS, UNICODE_BMP, ENGLISH_US = 3, 1, 0x409
MAC, ROMAN, MAC_ENGLISH = 1, 0, 0


def fit_bitmaps(font, ascent, descent):
    em = font['head'].unitsPerEm
    advances = font['hmtx']
    for strike, data in zip(font['EBLC'].strikes, font['EBDT'].strikeData):
        ppem = strike.bitmapSizeTable.ppemX
        # FreeType's: the scale in 16.16, a length scaled to 26.6 and rounded to whole pixels.
        scale = ((ppem * 64 << 16) + em // 2) // em

        def pixels(units):
            return ((units * scale + 0x8000 >> 16) + 32) >> 6

        top, bottom = pixels(ascent), -pixels(descent)

        def fits(metrics):
            rise = metric(metrics, 'horiBearingY', 'BearingY')
            return rise <= top and rise - metrics.height >= bottom

        kept = []
        for sub in strike.indexSubTables:
            shared = getattr(sub, 'metrics', None)  # formats 2 and 5: one metrics for all glyphs
            if shared is None:
                names = [n for n in sub.names if fits(data[n].metrics)]
                for name in names:
                    set_advance(data[name].metrics, pixels(advances[name][0]))
            else:
                wanted = {pixels(advances[name][0]) for name in sub.names}
                names = sub.names if len(wanted) == 1 and fits(shared) else []
                if names:
                    set_advance(shared, wanted.pop())
            for name in set(sub.names) - set(names):
                del data[name]
            if names:
                sub.names = names
                kept.append(sub)
        strike.indexSubTables = kept


def metric(metrics, big, small):
    return getattr(metrics, big) if hasattr(metrics, big) else getattr(metrics, small)


def set_advance(metrics, advance):
    if hasattr(metrics, 'horiAdvance'):
        metrics.horiAdvance = advance
    else:
        metrics.Advance = advance


def make(source, index, family, ascent, descent, out):
    font = TTFont(source, fontNumber=index, lazy=True, recalcBBoxes=False, recalcTimestamp=False)
    em = font['head'].unitsPerEm
    if ascent + descent != em or ascent <= 0 or descent < 0:
        raise SystemExit('lineFont: ascent %d + descent %d is not the em of %d units'
                         % (ascent, descent, em))
    os2 = font['OS/2']
    os2.usWinAscent, os2.usWinDescent = ascent, descent
    os2.usWeightClass = 400
    hhea = font['hhea']
    hhea.ascent, hhea.descent, hhea.lineGap = ascent, -descent, 0

    names = font['name']
    names.names = [n for n in names.names if n.nameID not in FAMILY_NAME_IDS + (2,)]
    postscript = family.replace(' ', '')
    for platform, encoding, language in ((WINDOWS, UNICODE_BMP, ENGLISH_US),
                                         (MAC, ROMAN, MAC_ENGLISH)):
        for name_id, text in ((1, family), (2, 'Regular'), (3, postscript + '-Regular'),
                              (4, family), (6, postscript)):
            names.setName(text, name_id, platform, encoding, language)

    if 'EBLC' in font:
        fit_bitmaps(font, ascent, descent)

    tmp = out + '.part'
    font.save(tmp)
    os.replace(tmp, out)


def main(argv):
    if len(argv) != 7:
        raise SystemExit(__doc__)
    make(argv[1], int(argv[2]), argv[3], int(argv[4]), int(argv[5]), argv[6])


if __name__ == '__main__':
    main(sys.argv)
