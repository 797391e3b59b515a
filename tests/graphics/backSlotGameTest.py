"""Whole program: the layers of a back slot in four blend modes, at full alpha and at "50%", over a
known background, in exact screen pixels.

The definition's base picture is one colour; eight layers of 4 bytes per pixel are opaque each in
its own band of the screen (transparent elsewhere), so every band shows one mode at one alpha. The
expected pixels are worked out here from the blend formulas, on their own.
"""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import Game, TestCase, main, wait_until  # noqa: E402

IDYES = 6
BACK = (100, 150, 200)
LAYER = (200, 100, 50)
MODES = ('Add', 'Multi', 'Screen', 'Difference')
BAND = 200                 # each mode's columns
ROWS = ((0, 150), (150, 300))  # full alpha above, "50%" below


def png_rgba(width, height, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def m255(t):
    """Rounded division by 255 with floor shifts, also for negative values."""
    t += 128
    return (t + (t >> 8)) >> 8


def f(mode, d, s):
    if mode == 'Add':
        return min(255, d + s)
    if mode == 'Multi':
        return m255(d * s)
    if mode == 'Screen':
        return 255 - m255((255 - d) * (255 - s))
    if mode == 'Difference':
        return abs(d - s)
    raise ValueError(mode)


def blended(mode, d, s, weight):
    """A 4-byte source over a 3-byte destination with the pixel's weight."""
    if mode in ('Add', 'Difference'):
        return f(mode, d, m255(s * weight))
    return d + m255((f(mode, d, s) - d) * weight)


def expected(mode, alpha):
    weight = m255(alpha * 255)  # the layer's alpha times the pixel's alpha of 255
    return tuple(blended(mode, d, s, weight) for d, s in zip(BACK, LAYER))


def definition():
    lines = ['Type=back', 'Base=back.png']
    for row, alpha in enumerate(('255', '50%')):
        for k, mode in enumerate(MODES):
            n = row * 4 + k
            lines += ['Img%d=layer%d.png' % (n, n), 'Mode%d=%s' % (n, mode), 'Alpha%d=%s' % (n, alpha)]
    return '\n'.join(lines) + '\n'


class BackSlot(TestCase):
    def test_four_modes_at_two_alphas(self):
        g = Game(self, 'back_slot_modes')
        with g:
            g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                         'ProductID': 'MorvaneBackSlot'}})
            g.write('img/back.png', png_rgba(800, 600, lambda x, y: BACK + (255,)))
            for row, (top, bottom) in enumerate(ROWS):
                for k in range(4):
                    n = row * 4 + k
                    g.write('img/layer%d.png' % n, png_rgba(
                        800, 300, lambda x, y, k=k, top=top, bottom=bottom:
                        LAYER + (255,) if k * BAND <= x < (k + 1) * BAND and top <= y < bottom
                        else (0, 0, 0, 0)))
            g.write_text('anime/layers.img', definition())
            g.write_text('script/start.txt', '.fade 0\n.img 0 layers.img\n.wait\n')
            g.start()
            g.wait_window()
            points = [(k * BAND + 100, (top + bottom) // 2, mode, alpha)
                      for (top, bottom), alpha in zip(ROWS, (255, 127))
                      for k, mode in enumerate(MODES)]
            first_x, first_y, mode0, alpha0 = points[0]
            self.assertTrue(wait_until(
                lambda: g.screenshot(first_x, first_y, 1, 1).pixel(0, 0) == expected(mode0, alpha0),
                20), 'the layers never showed')
            shot = g.screenshot(0, 0, 800, 400)
            for x, y, mode, alpha in points:
                self.assertEqual(expected(mode, alpha), shot.pixel(x, y), '%s at alpha %d' % (mode, alpha))
                # Each band is one colour to its edges.
                self.assertEqual(shot.pixel(x - 99, y), shot.pixel(x + 99, y), mode)
            # Beside the layers only the background.
            self.assertEqual(BACK, shot.pixel(400, 350))
            g.close()
            g.answer_dialog(IDYES)
            self.assertEqual(0, g.wait_exit())


if __name__ == '__main__':
    main()
