"""Whole program: the backlog screen over six messages of a script.

Backspace (the reading keys' backlog command) opens it over the scene, darkened to 127/256 of its
brightness, without the message window. The page shows the newest message in the bottom row and
the older ones above it, a row every 75 pixels: each speaker's name starts 9 pixels a byte left of
x 180 (so that it ends there in a font whose double-byte glyphs are as wide as its size), each text
begins at x 200. The bar, its two arrows and the handle (at the bottom for the newest page) lie at
x 780. A notch of the wheel moves the page one message older and back; the handle dragged to the
top of the bar shows the oldest page (empty here), dragged to the bottom the newest again. Only the
row of the message that had a voice lights up under the cursor, and a click on it plays the voice
again (heard on the sound server's null sink); a click on a row without one plays nothing. A right
click leaves it.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'media'))
from mediaFixtures import AMPLITUDE, ogg  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import CODEPAGE, AudioCapture, Game, TestCase, main, wait_until, xdotool  # noqa: E402

IDYES = 6
WIDTH, HEIGHT = 800, 600
BOX = (20, 30, 80)
TEXT_AREA = (80, 470, 640, 110)  # the window layout's text lines
LEFT, RIGHT = (200, 160, 120), (60, 200, 240)   # the scene's two halves
BAR, HANDLE, ARROW = (0, 200, 0), (255, 0, 255), (0, 0, 255)
ITEM = [(128, 128, 128), (255, 255, 0), (255, 128, 0)]  # a row button's strip in its three frames
FLAGS = {'G000': 'step'}

# Names of two double-byte characters, texts beginning with the same character, in both code pages.
NAMES = ['田中', '山田', '田中', '山田', '田中', '山田']
TEXTS = ['田一', '田二二', '田三三三', '田四', '田五五', '田六']
VOICED = 4  # the message after the voice line
VOICE_TONE = 550
LEVEL = AMPLITUDE * 0.5  # at the default voice volume, -6 dB


def png(width, height, pixel, alpha=True):
    """An 8-bit PNG, RGBA or RGB; pixel(x, y) gives the channel values."""
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6 if alpha else 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def prompt_pixels(image):
    """Pixels of the click prompt's yellow, which a message shows once it has typed out."""
    return image.count(lambda p: p[0] > 200 and p[1] > 200 and p[2] < 60)


def darkened(colour):
    return tuple(c * 127 >> 8 for c in colour)


def scene_at(x):
    return LEFT if x < WIDTH // 2 else RIGHT


def script():
    lines = ['.img 0 bg.png']
    for i, (name, text) in enumerate(zip(NAMES, TEXTS), 1):
        lines.append('?step = %d' % i)
        if i == VOICED:
            lines.append('.voice v001.ogg')
        lines.append('%s:%s' % (name, text))
        lines.append('')
    lines += ['?step = 7', '.wait', '']
    return '\n'.join(lines)


def step_of(g):
    data = g.save('flagdata.000')
    return struct.unpack('<i', data[:4])[0] if data and len(data) >= 4 else 0


def is_ink(p, x):
    """A glyph's pixel: far brighter than the darkened scene behind it."""
    return sum(p) - sum(darkened(scene_at(x))) > 90


def ink_columns(shot, x0, x1, y0, y1):
    return [x for x in range(x0, x1) if any(is_ink(shot.pixel(x, y), x) for y in range(y0, y1))]


def ink_rows(shot, x0, x1, y0, y1):
    return [y for y in range(y0, y1) if any(is_ink(shot.pixel(x, y), x) for x in range(x0, x1))]


def page_rows(shot, first, last):
    """The bytes of page rows first to last (y), the bar left out."""
    return b''.join(shot.rgb[y * WIDTH * 3:(y * WIDTH + 780) * 3] for y in range(first, last))


def voice_bursts(rec, whole=False):
    """(start, length) of each stretch in which the voice's tone is heard; whole: only those
    followed by a tenth of a second without it (ended, not still being recorded)."""
    runs = [(start, length) for f, start, length
            in rec.tone_runs([VOICE_TONE], 0, rec.seconds, floor=LEVEL / 4) if f == VOICE_TONE]
    return [r for r in runs if not whole or r[0] + r[1] + 0.1 <= rec.seconds]


class Backlog(TestCase):
    def make_game(self, name):
        g = Game(self, name)
        g.config({'System.Setting': {'ScreenWidth': str(WIDTH), 'ScreenHeight': str(HEIGHT),
                                     'ProductID': 'MorvaneBacklog'},
                  'Define.Flag': FLAGS})
        g.write('img/sys_box_normal.png', png(800, 200, lambda x, y: BOX + (255,)))
        g.write('img/sys_box_prompt.png', png(24, 192, lambda x, y: (255, 255, 0, 255)))
        g.write('img/bg.png', png(WIDTH, HEIGHT, lambda x, y: scene_at(x), alpha=False))
        g.write('img/sys_log_bar.png', png(20, 600, lambda x, y: BAR + (255,)))
        g.write('img/sys_log_handle.png', png(20, 60, lambda x, y: HANDLE + (255,)))
        for icon in ('up', 'down'):
            g.write('img/sys_log_icon_%s.png' % icon, png(20, 60, lambda x, y: ARROW + (255,)))
        # A row button: an opaque strip at its left end in each frame, clear beyond it.
        g.write('img/sys_log_item.png',
                png(780, 225, lambda x, y: ITEM[y // 75] + (255,) if x < 20 else (0, 0, 0, 0)))
        ogg(g.path('data/voice/v001.ogg'), [(0.5, VOICE_TONE)])
        g.write_text('script/start.txt', script())
        return g

    def typed_out(self, g):
        """Waits until the message has typed out: the prompt shows (only a finished message
        has it) and the text area stands still."""
        def settled():
            first = g.screenshot(*TEXT_AREA)
            if not prompt_pixels(first):
                return False
            time.sleep(0.3)
            return not first.differs(g.screenshot(*TEXT_AREA))
        self.assertTrue(wait_until(settled), 'the message did not settle')

    def open_backlog(self, g):
        # Read the six messages with clicks.
        for k in range(1, len(TEXTS) + 1):
            self.assertTrue(wait_until(lambda: step_of(g) == k), 'message %d did not come' % k)
            self.typed_out(g)
            if k < len(TEXTS):
                g.click(400, 300)
        g.move(400, 300)
        g.key('BackSpace')
        self.assertTrue(wait_until(lambda: g.screenshot(300, 40, 1, 1).pixel(0, 0) == darkened(LEFT)),
                        'the backlog did not open: %s' % (g.screenshot(300, 40, 1, 1).pixel(0, 0),))
        time.sleep(0.5)
        return g.screenshot()

    def wait_handle(self, g, top, what):
        self.assertTrue(wait_until(lambda: self.handle_top(g) == top), what)

    def handle_top(self, g):
        column = g.screenshot(790, 0, 1, HEIGHT)
        for y in range(HEIGHT):
            if column.pixel(0, y) == HANDLE:
                return y
        return None

    def test_the_backlog_screen_over_six_messages(self):
        with self.make_game('backlog') as g:
            with AudioCapture(g.path('sink.raw')) as audio:
                g.start()
                g.wait_window()
                shot = self.open_backlog(g)
                shot.save_png(os.path.join(g.root, 'backlog.png'))

                # The scene darkened, the message window not drawn.
                for x, y in ((300, 40), (600, 40), (700, 420), (600, 300), (100, 590)):
                    self.assertEqual(darkened(scene_at(x)), shot.pixel(x, y), 'at (%d, %d)' % (x, y))
                # The bar, its arrows and the handle at the bottom.
                self.assertEqual(BAR, shot.pixel(790, 300))
                self.assertEqual(ARROW, shot.pixel(790, 10))
                self.assertEqual(ARROW, shot.pixel(790, 590))
                self.assertEqual(HANDLE, shot.pixel(790, 520))
                self.assertEqual(HANDLE, shot.pixel(790, 579))
                self.assertEqual(BAR, shot.pixel(790, 519))
                # A row button every 75 pixels, all in their first frame.
                for r in range(8):
                    self.assertEqual(ITEM[0], shot.pixel(10, 75 * r + 37), 'row %d' % r)

                # The six messages in the bottom six rows: names placed by their length left of x 180,
                # texts from x 200, and the same first character of each text 75 pixels below the one
                # before.
                tops = []
                for r in range(2, 8):
                    y0 = 75 * r
                    names = ink_columns(shot, 20, 200, y0, y0 + 75)
                    self.assertTrue(names, 'no name in row %d' % r)
                    # The pen starts the name 9 pixels a byte left of x 180 (it ends there when the
                    # font's double-byte glyphs are as wide as its size; the stand-in font here draws
                    # them narrower in the same cell, so only the start and the bound are fixed).
                    start = 180 - 9 * len(NAMES[r - 2].encode(CODEPAGE))
                    self.assertLess(names[-1], 181, 'row %d' % r)
                    self.assertGreaterEqual(names[0], start, 'row %d' % r)
                    self.assertLess(names[0], start + 4, 'row %d' % r)
                    text = ink_columns(shot, 200, 780, y0, y0 + 75)
                    self.assertTrue(text, 'no text in row %d' % r)
                    self.assertLess(text[0], 206)
                    if NAMES[r - 2][0] == TEXTS[r - 2][0]:
                        # The same glyph first: its ink as far right of the name's start as of 200.
                        self.assertEqual(text[0] - 200, names[0] - start, 'row %d' % r)
                    # The rows of the first glyph alone (its columns up to the first gap), whatever
                    # the font's advance.
                    end = text[0]
                    while end + 1 in text:
                        end += 1
                    rows = ink_rows(shot, 200, end + 1, y0, y0 + 75)
                    self.assertGreaterEqual(rows[0], y0 + 10)
                    tops.append(rows[0])
                self.assertEqual([tops[0] + 75 * k for k in range(6)], tops)
                # Above them, the rows are empty.
                self.assertEqual([], ink_columns(shot, 20, 780, 0, 150))
                # The newest text is the shortest of the last three, as written.
                width = [ink_columns(shot, 200, 780, 75 * r, 75 * r + 75)[-1] for r in (5, 6, 7)]
                self.assertLess(width[2], width[1])

                # A notch of the wheel up: one message older, the rows a row lower.
                g.move(400, 300)
                xdotool('click', 4)
                self.wait_handle(g, 510, 'the wheel did not scroll')
                older = g.screenshot()
                self.assertEqual(page_rows(shot, 75 * 1, 75 * 7), page_rows(older, 75 * 2, 75 * 8))
                xdotool('click', 5)
                self.wait_handle(g, 520, 'the wheel did not scroll back')
                self.assertEqual(page_rows(shot, 0, HEIGHT), page_rows(g.screenshot(), 0, HEIGHT))

                # The handle dragged to the top of the bar: the oldest page, empty; to the bottom: the
                # newest again.
                g.move(790, 300)
                xdotool('mousedown', '1')
                try:
                    g.move(790, 200)
                    g.move(790, 20)
                    self.wait_handle(g, 20, 'the drag did not scroll')
                    self.assertEqual([], ink_columns(g.screenshot(), 20, 780, 0, HEIGHT))
                    g.move(790, 579)
                    self.wait_handle(g, 520, 'the drag did not come back')
                finally:
                    xdotool('mouseup', '1')
                self.assertTrue(wait_until(lambda: page_rows(shot, 0, HEIGHT)
                                           == page_rows(g.screenshot(), 0, HEIGHT)),
                                'the newest page did not come back after the drag')

                # Under the cursor only the row of the voiced message lights up (three steps back: the
                # sixth row from the top).
                voiced_row = 8 - (len(TEXTS) - VOICED + 1)
                for r in range(2, 8):
                    g.move(10, 75 * r + 60)
                    want = ITEM[1] if r == voiced_row else ITEM[0]
                    strip = lambda: g.screenshot(10, 75 * r + 30, 1, 1).pixel(0, 0)  # noqa: E731
                    self.assertTrue(wait_until(lambda: strip() == want),
                                    'row %d under the cursor: %s' % (r, strip()))

                # A click on a row without a voice plays nothing (once the program has taken the
                # click, the voice has still been heard only once); one on the voiced row plays its
                # voice again.
                g.click(10, 75 * (voiced_row + 1) + 60)
                g.sync()
                time.sleep(1.5)
                self.assertEqual(1, len(voice_bursts(audio.so_far())),
                                 'the voice was heard again before its row was clicked')
                g.click(10, 75 * voiced_row + 60)
                self.assertTrue(wait_until(lambda: len(voice_bursts(audio.so_far(), whole=True)) == 2),
                                'a click on the voiced row did not play its voice again')

                # A right click leaves: the scene at full brightness with the message window.
                g.click(400, 300, button=3)
                self.assertTrue(wait_until(lambda: g.screenshot(300, 40, 1, 1).pixel(0, 0) == LEFT),
                                'the backlog did not close')
                self.assertEqual(BOX, g.screenshot(700, 420, 1, 1).pixel(0, 0))

                g.close()
                g.answer_dialog(IDYES)
                self.assertEqual(0, g.wait_exit())
                rec = audio.stop()

        # The voice twice: with its message, and again on the click on its row, not before.
        bursts = voice_bursts(rec)
        self.assertEqual(2, len(bursts), 'the voice was not heard twice: %s' % (bursts,))
        for start, length in bursts:
            self.assertAlmostEqual(0.5, length, delta=0.15)
        self.assertAlmostEqual(LEVEL, rec.tone_steady(VOICE_TONE, bursts[1][0] + 0.1, bursts[1][0] + 0.4),
                               delta=LEVEL * 0.25)


if __name__ == '__main__':
    main()
