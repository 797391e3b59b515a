"""Whole program: the picture slots, the cross-fade, a rule wipe and a programmed animation, in
exact pixels of an 800 by 600 window, driven by the script commands "img", "fade", "wipe" and
"wait".

The script writes its progress into a global variable ("step"), so the test knows where the script
stands by reading "flagdata.000" from the save folder.
- Placement: a picture in slot 0 stands with its top-left at (0, 0); one in slot 3 on the bottom
  centre of the screen.
- Cross-fade of 20 s from a grey picture to the same picture with a dark square: midway the
  unchanged grey of 200 shows 199 with the plain formula and 200 with EnableMMX; the square lies
  strictly between; afterwards both are exact.
- A hard wipe over 20 s with a rule of 255 in a centred 400 by 300 rectangle (0 around it): midway
  the border shows the new picture and the centre still the old one; afterwards all is new.
- A movie definition in slot 0 moves a dot with "move" until it rests at its "max".
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'harness'))
from game import Game, TestCase, main, wait_until  # noqa: E402

IDYES = 6
FLAGS = {'G000': 'step'}

CORNER = (10, 200, 30)    # slot 0: 200 x 100
ACTOR = (250, 20, 40)     # slot 3: 100 x 200
GREY = 200
OLD = (0, 0, 255)
NEW = (255, 255, 0)
DOT = (255, 255, 255)

PLACEMENT = [
    '.fade 0',
    '.img 0 corner.png',
    '.img 3 actor.png',
    '?step = 1',
    '.wait',
]
CROSS_FADE = [
    '.img',
    '.img 0 grey.png',
    '.fade 0',
    '?step = 2',
    '.wait 3000',
    '.fade 20000',
    '.img 0 square.png',
    '?step = 3',
    '.wait 24000',
    '?step = 4',
    '.wait',
]
WIPE = [
    '.img',
    '.fade 0',
    '.img 0 old.png',
    '?step = 5',
    '.wait 2000',
    '.img 0 new.png',
    '.wipe rule.png 20000',
    '?step = 6',
    '.wait',
]
MOVIE = [
    '.img',
    '.img 0 dot.img',
    '?step = 7',
    '.wait',
]
DOT_DEFINITION = '\n'.join([
    'Type=movie',
    'Img0=dot.png',
    'move.x: 25 0',
    'max.x: 300',
    'draw: 0 x 100',
    '',
])


def png(width, height, pixel, colour_type=2):
    """An 8-bit PNG: colour type 2 (pixel gives r, g, b) or 0 (pixel gives a grey value)."""
    def row(y):
        if colour_type == 0:
            return b'\0' + bytes(pixel(x, y) for x in range(width))
        return b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width))
    raw = b''.join(row(y) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw))
            + chunk(b'IEND', b''))


def plain(width, height, colour):
    return png(width, height, lambda x, y: colour)


def in_square(x, y):
    """The dark square of the cross-fade's second picture."""
    return 300 <= x < 500 and 200 <= y < 400


def step_of(g):
    data = g.save('flagdata.000')
    if data is None or len(data) != 4000:
        return 0
    return struct.unpack('<i', data[:4])[0]


class Scene(TestCase):
    def make_game(self, name, parts, mmx=False):
        g = Game(self, name, time_limit=240)
        options = {'EnableMMX': 'on'} if mmx else {}
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneScene'},
                  'System.Option': options,
                  'Define.Flag': FLAGS})
        g.write('img/corner.png', plain(200, 100, CORNER))
        g.write('img/actor.png', plain(100, 200, ACTOR))
        g.write('img/grey.png', plain(800, 600, (GREY, GREY, GREY)))
        g.write('img/square.png', png(800, 600, lambda x, y: (0, 0, 0) if in_square(x, y)
                                      else (GREY, GREY, GREY)))
        g.write('img/old.png', plain(800, 600, OLD))
        g.write('img/new.png', plain(800, 600, NEW))
        g.write('img/rule.png', png(400, 300, lambda x, y: 255, colour_type=0))
        g.write('img/dot.png', plain(10, 10, DOT))
        g.write_text('anime/dot.img', DOT_DEFINITION)
        g.write_text('script/start.txt', '\n'.join(sum(parts, [])) + '\n')
        return g

    def wait_step(self, g, step, timeout=60):
        self.assertTrue(wait_until(lambda: step_of(g) >= step, timeout),
                        'the script did not reach step %d (at %d)' % (step, step_of(g)))
        self.assertEqual(step, step_of(g), 'the script went past step %d' % step)

    def click_until(self, g, step, tries=8):
        """Clicks until the script passes its wait (a click before the wait began is taken by
        the wait's start, so it may take more than one)."""
        for _ in range(tries):
            g.click(400, 300)
            if wait_until(lambda: step_of(g) >= step, 15):
                return
        self.fail('clicks did not get the script to step %d' % step)

    def settled(self, g):
        """The whole screen once it stops changing."""
        last = g.screenshot()
        for _ in range(100):
            time.sleep(0.3)
            now = g.screenshot()
            if not now.differs(last):
                return now
            last = now
        self.fail('the screen does not settle')

    def quit(self, g):
        g.close()
        g.answer_dialog(IDYES)
        self.assertEqual(0, g.wait_exit())

    def check_cross_fade(self, g, mmx):
        # The grey picture, seen before the fade begins (step 3, three seconds later).
        self.wait_step(g, 2)
        def grey_or_late():
            if g.screenshot(100, 100, 1, 1).pixel(0, 0) == (GREY,) * 3:
                return 'grey'
            return 'late' if step_of(g) >= 3 else None
        self.assertEqual('grey', wait_until(grey_or_late),
                         'the grey picture was not seen before the fade began')
        self.wait_step(g, 3)
        # Frames of the 20 s cross-fade until one from its middle (the square a fifth to four
        # fifths of the way to black): a frame the harness catches late is simply the next one.
        def sample():
            shot = g.screenshot()
            v = shot.pixel(400, 300)[0]
            self.assertGreater(v, 40, 'the fade passed its middle unseen (%r)' % (v,))
            return shot if v <= 160 else None
        mid = wait_until(sample, step=0.2)
        self.assertTrue(mid, 'the fade did not begin')
        unchanged = 200 if mmx else 199
        for x, y in ((10, 10), (799, 599), (299, 300), (500, 300)):
            self.assertEqual((unchanged,) * 3, mid.pixel(x, y), (x, y))
        for x, y in ((300, 200), (400, 300), (499, 399)):
            v = mid.pixel(x, y)
            self.assertTrue(0 < v[0] < GREY and v[0] == v[1] == v[2], '%r at %r' % (v, (x, y)))
        self.wait_step(g, 4, timeout=90)
        after = self.settled(g)
        self.assertEqual((GREY,) * 3, after.pixel(10, 10))
        self.assertEqual((GREY,) * 3, after.pixel(299, 300))
        self.assertEqual((0, 0, 0), after.pixel(300, 200))
        self.assertEqual((0, 0, 0), after.pixel(499, 399))

    def test_slots_cross_fade_wipe_and_movie(self):
        with self.make_game('scene', [PLACEMENT, CROSS_FADE, WIPE, MOVIE]) as g:
            g.start()
            g.wait_window()

            # Placement: slot 0 top-left at (0, 0), slot 3 bottom-centred (x 350..449, y 400..599).
            self.wait_step(g, 1)
            shot = self.settled(g)
            for x, y in ((0, 0), (199, 99)):
                self.assertEqual(CORNER, shot.pixel(x, y), (x, y))
            for x, y in ((350, 400), (449, 599), (400, 500)):
                self.assertEqual(ACTOR, shot.pixel(x, y), (x, y))
            for x, y in ((200, 0), (0, 100), (349, 500), (450, 500), (400, 399), (799, 599)):
                self.assertEqual((0, 0, 0), shot.pixel(x, y), (x, y))
            self.click_until(g, 2)

            self.check_cross_fade(g, mmx=False)
            self.click_until(g, 5)

            # The hard wipe begins 2 s after step 5 and lasts 20 s: the border (rule 0) turns
            # new at once, the centre (rule 255) only at the end.
            self.wait_step(g, 5)
            self.assertTrue(wait_until(lambda: g.screenshot(400, 300, 1, 1).pixel(0, 0) == OLD),
                            'the old picture is not shown')
            mid = wait_until(lambda: (lambda shot: shot if shot.pixel(0, 0) == NEW else None)(
                g.screenshot()), step=0.2)
            self.assertTrue(mid, 'the wipe did not begin')
            for x, y in ((0, 0), (199, 300), (600, 300), (400, 149), (400, 450), (799, 599)):
                self.assertEqual(NEW, mid.pixel(x, y), 'border %r' % ((x, y),))
            for x, y in ((200, 150), (599, 449), (400, 300)):
                self.assertEqual(OLD, mid.pixel(x, y), 'centre %r' % ((x, y),))
            self.wait_step(g, 6, timeout=60)
            done = self.settled(g)
            for x, y in ((0, 0), (400, 300), (599, 449)):
                self.assertEqual(NEW, done.pixel(x, y), (x, y))
            self.click_until(g, 7)

            # The movie: the dot moves right at 25 pixels a second until x = 300 (twelve seconds, so a
            # busy harness still sees it on its way).
            def dot_x(image):
                xs = [x for x in range(800) if image.pixel(x, 105) == DOT]
                return (xs[0], xs[-1]) if xs else None
            first = wait_until(lambda: dot_x(g.screenshot(0, 0, 800, 200)))
            self.assertTrue(first, 'no dot')
            positions = [first]
            for _ in range(3):
                time.sleep(0.4)
                positions.append(dot_x(g.screenshot(0, 0, 800, 200)))
            self.assertTrue(any(p and p[0] > first[0] for p in positions[1:]),
                            'the dot does not move: %r' % positions)
            rest = self.settled(g)
            self.assertEqual((300, 309), dot_x(rest))
            for x, y in ((300, 100), (309, 109)):
                self.assertEqual(DOT, rest.pixel(x, y), (x, y))
            for x, y in ((299, 105), (310, 105), (305, 99), (305, 110), (0, 0)):
                self.assertEqual((0, 0, 0), rest.pixel(x, y), (x, y))
            self.quit(g)

    def test_cross_fade_with_the_fast_formula(self):
        with self.make_game('scene_mmx', [CROSS_FADE], mmx=True) as g:
            g.start()
            g.wait_window()
            self.check_cross_fade(g, mmx=True)
            self.quit(g)


if __name__ == '__main__':
    main()
