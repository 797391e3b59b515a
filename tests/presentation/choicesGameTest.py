"""Whole program: choices of SELECT taken with real input.

A text choice of three option lines (the second hidden by its show condition) is answered by a
click on the second row, and again by Down, Down, Return from a cursor off the options; a map
choice read from a map file with hostile lines shows an enabled option, a disabled one (its fourth
frame, deaf to clicks) and none for a dropped one. The script stores the case it reached in a
global variable, so "flagdata.000" tells which option was taken.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import Game, TestCase, main, text_file, wait_until, xdotool  # noqa: E402

IDYES = 6
FRAMES = [(200, 40, 40), (40, 200, 40), (40, 40, 200), (128, 128, 128)]  # normal hot held disabled
BLACK = (0, 0, 0)


def png_rgba(width, height, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def strip(width, frame_height, frames):
    return png_rgba(width, frame_height * frames,
                    lambda x, y: FRAMES[y // frame_height] + (255,))


def table(values):
    data = bytearray(4000)
    for index, value in values.items():
        data[index * 4:index * 4 + 4] = struct.pack('<i', value)
    return bytes(data)


def near(p, colour, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


def frame_of(p):
    for k, colour in enumerate(FRAMES):
        if near(p, colour):
            return k
    return None


TEXT_SCRIPT = ('.SELECT\n'
               'First\n'
               'Second 0\n'
               'Third\n'
               '.CASE 1\n'
               '?result = 1\n'
               '.CASE 2\n'
               '?result = 2\n'
               '.CASE 3\n'
               '?result = 3\n'
               '.ENDSEL\n'
               '.QUIT\n')


def row_centre(n):
    return 400, 190 + 70 * n


class Choices(TestCase):
    def make_game(self, name, script):
        g = Game(self, name)
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneChoices'},
                  'Define.Flag': {'G000': 'result'}})
        g.write('img/sys_box_normal.png', png_rgba(800, 200, lambda x, y: (20, 30, 80, 255)))
        g.write('img/sys_select_item.png', strip(600, 60, 3))
        g.write('img/sys_box_config.png', strip(40, 20, 3))
        g.write_text('script/start.txt', script)
        return g

    def pixel(self, g, x, y):
        return g.screenshot(x, y, 1, 1).pixel(0, 0)

    def wait_frame(self, g, x, y, frames, message):
        if not wait_until(lambda: frame_of(self.pixel(g, x, y)) in frames):
            self.fail('%s: (%d, %d) shows %s' % (message, x, y, self.pixel(g, x, y)))

    def click(self, g, x, y, hot=None):
        """A press is hit-tested where the program last polled the cursor: move, wait until the
        option under it is drawn hot (its frame at hot), click."""
        g.move(x, y)
        if hot:
            self.wait_frame(g, hot[0], hot[1], (1,), 'the option under the pointer is not hot')
        xdotool('click', 1)

    def finish(self, g, expected):
        """The case reached writes the global; then the script's QUIT asks, and yes ends it."""
        self.assertTrue(wait_until(lambda: g.save('flagdata.000') is not None),
                        'no option was taken')
        self.assertEqual(table({0: expected}), g.save('flagdata.000'))
        g.answer_dialog(IDYES)
        self.assertEqual(0, g.wait_exit())

    def wait_text_choice(self, g):
        # Two rows of option buttons: the first and the third option.
        for n in (0, 1):
            self.wait_frame(g, 110, 165 + 70 * n, (0, 1, 2), 'no button in row %d' % n)
        shot = g.screenshot(100, 160, 600, 200)
        # No third row: the second option is hidden.
        self.assertTrue(all(frame_of(shot.pixel(10, y)) is None for y in range(145, 200)))
        # Each row's text, white and centred.
        for n in (0, 1):
            white = sum(1 for x in range(200, 400) for y in range(15 + 70 * n, 50 + 70 * n)
                        if min(shot.pixel(x, y)) > 200)
            self.assertGreater(white, 10, 'no text in row %d' % n)

    def test_a_click_on_the_second_row_takes_the_third_option(self):
        with self.make_game('choice_click', TEXT_SCRIPT) as g:
            g.start()
            g.wait_window()
            self.wait_text_choice(g)
            self.click(g, *row_centre(1), hot=(110, 235))
            self.finish(g, 3)

    def test_down_down_return_from_a_cursor_off_the_options(self):
        with self.make_game('choice_keys', TEXT_SCRIPT) as g:
            g.start()
            g.wait_window()
            self.wait_text_choice(g)
            # The window gets the keyboard focus with the pointer on its corner, off the options;
            # then each key waits for the cursor to land on its row (drawn hot).
            g.focus()
            time.sleep(0.2)
            xdotool('key', 'Down')
            self.wait_frame(g, 110, 165, (1,), 'Down did not reach the first row')
            xdotool('key', 'Down')
            self.wait_frame(g, 110, 235, (1,), 'Down did not reach the second row')
            self.wait_frame(g, 110, 165, (0,), 'the first row is still hot')
            xdotool('key', 'Return')
            self.finish(g, 3)

    def test_a_map_choice_with_hostile_lines(self):
        script = ('.SELECT town.map\n'
                  'home park\n'
                  'shop street 1 0\n'
                  'home square 0\n'
                  '町 町\n'
                  'neg corner\n'
                  'lost park\n'
                  'home late\n'
                  'home ' + 'x' * 10000 + '\n'
                  '.CASE 1\n'
                  '?result = 1\n'
                  '.CASE 2\n'
                  '?result = 2\n'
                  '.CASE 4\n'
                  '?result = 4\n'
                  '.ENDSEL\n'
                  '.QUIT\n')
        with self.make_game('choice_map', script) as g:
            g.write('img/town.png', strip(60, 60, 4))
            g.write('img/hot.png', png_rgba(20, 20, lambda x, y: (255, 255, 255, 255)))
            lines = ('; a map of the town: ICON:ghost 4 town.png\n'
                     'no colon on this line\n'
                     'icon:home 4 town.png\n'
                     'ICON :lost 4 town.png\n'
                     'ICON:shop 4 town.png\n'
                     'ICON:neg -3 town.png\n'
                     'ICON:町 4 town.png\n'
                     'PLACE:park 99999999999 100\n'
                     'PLACE:park 100 100\n'
                     'PLACE:street 300xyz 100 hot.png 300 400\n'
                     'PLACE:square 400 300\n'
                     'PLACE:corner 700 100\n'
                     'PLACE:町 500 100\n'
                     'PLACE:' + 'x' * 10000 + ' 600 300\n'
                     'SOMETHING: else\n')
            # Text ends at a NUL: the place after it is never defined.
            g.write('map/town.map', text_file(lines) + b'ICON:z 4 town.png\0PLACE:late 700 500\r\n')
            g.start()
            g.wait_window()
            self.wait_frame(g, 110, 110, (0, 1), 'no enabled option')
            self.wait_frame(g, 310, 110, (3,), 'the disabled option is not drawn disabled')
            self.wait_frame(g, 510, 110, (0, 1), 'no option with a double-byte name')
            self.wait_frame(g, 610, 310, (0, 1), 'no option at the place of the long name')
            for x, y in ((410, 310), (710, 110), (710, 510)):
                self.assertTrue(near(self.pixel(g, x, y), BLACK), 'something drawn at %d, %d' % (x, y))
            # The disabled option ignores a click: the choice goes on. The pointer goes there from
            # the enabled option, and the click waits until that option is no longer hot, so the
            # program has seen the pointer leave it.
            g.move(110, 110)
            self.wait_frame(g, 110, 110, (1,), 'the enabled option under the pointer is not hot')
            g.move(310, 110)
            self.wait_frame(g, 110, 110, (0,), 'the enabled option stays hot')
            xdotool('click', 1)
            time.sleep(1.0)
            self.assertIsNone(g.save('flagdata.000'))
            self.wait_frame(g, 310, 110, (3,), 'the disabled option changed')
            self.click(g, 110, 110, hot=(110, 110))
            self.finish(g, 1)


if __name__ == '__main__':
    main()
