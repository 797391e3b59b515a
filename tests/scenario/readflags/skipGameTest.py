"""Whole program: skip mode ends at the first text the player has not read.

A script of eight messages, each a row of one character repeated (message k holds k of them, so
its width in the message window tells which it is), with a global variable "step" set before each.
The first run reads the first three with clicks and quits while the fourth is shown: the read-text
log ("complete.log"), written at shutdown, then holds the first four. The second run turns skip
mode on (Shift+Right) at the first message: the four read ones pass by themselves and the fifth,
unread, stops the skip and waits in the message window, typed out at its normal speed.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'harness'))
from game import Game, TestCase, main, wait_until  # noqa: E402

IDYES = 6
BOX = (20, 30, 80)
TEXT_AREA = (80, 470, 640, 110)  # the window layout's text lines on an 800 by 600 screen
GLYPH = '田'
MESSAGES = 8


def png(width, height, colour):
    row = b'\0' + bytes(colour) * width

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(row * height)) + chunk(b'IEND', b''))


def script():
    lines = []
    for k in range(1, MESSAGES + 1):
        lines += ['?step = %d' % k, GLYPH * k, '']
    lines += ['?step = %d' % (MESSAGES + 1), '.wait', '']
    return '\n'.join(lines)


def step_of(g):
    data = g.save('flagdata.000')
    return struct.unpack('<i', data[:4])[0] if data and len(data) >= 4 else 0


def text_right_end(shot):
    """The rightmost column of the text area that holds a glyph's pixel; -1 for none."""
    for x in range(shot.width - 1, -1, -1):
        for y in range(shot.height):
            p = shot.pixel(x, y)
            if max(abs(p[0] - BOX[0]), abs(p[1] - BOX[1]), abs(p[2] - BOX[2])) > 40:
                return x
    return -1


class SkipStopsAtUnreadText(TestCase):
    def make_game(self):
        g = Game(self, 'skip_unread')
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneSkip'},
                  'Define.Flag': {'G000': 'step'}})
        g.write('img/sys_box_normal.png', png(800, 200, BOX + (255,)))
        g.write('img/sys_box_prompt.png', png(24, 192, (255, 255, 0, 255)))
        g.write_text('script/start.txt', script())
        return g

    def typed_out(self, g):
        """The text area once it has stopped changing, with some text in it."""
        def settled():
            first = g.screenshot(*TEXT_AREA)
            # Only a message that has typed out shows the click prompt.
            if not first.count(lambda p: p[0] > 200 and p[1] > 200 and p[2] < 60):
                return None
            time.sleep(0.4)
            second = g.screenshot(*TEXT_AREA)
            return second if not first.differs(second) and text_right_end(second) >= 0 else None
        shot = wait_until(settled)
        self.assertTrue(shot, 'the message did not settle in the window')
        return shot

    def quit(self, g):
        g.close()
        g.answer_dialog(IDYES)
        self.assertEqual(0, g.wait_exit())

    def test_skip_stops_at_the_first_unread_message(self):
        with self.make_game() as g:
            # First run: read messages 1 to 3, quit while 4 is shown.
            g.start()
            g.wait_window()
            ends = []
            for k in range(1, 5):
                self.assertTrue(wait_until(lambda: step_of(g) == k), 'message %d did not come' % k)
                ends.append(text_right_end(self.typed_out(g)))
                if k < 4:
                    g.click(400, 300)
            self.quit(g)
            self.assertIsNotNone(g.save('complete.log'), 'no read-text log after the first run')
            # Each message is one character longer than the one before.
            advance = ends[1] - ends[0]
            self.assertGreater(advance, 10)
            self.assertEqual([ends[0] + advance * i for i in range(4)], ends)

            # Second run: skip from the first message on, no click.
            g.start()
            g.wait_window()
            self.assertTrue(wait_until(lambda: step_of(g) == 1), 'the second run did not start')
            g.key('shift+Right')
            self.assertTrue(wait_until(lambda: step_of(g) == 5),
                            'skip did not reach the fifth message: step %d' % step_of(g))
            shot = self.typed_out(g)
            time.sleep(1.5)
            self.assertEqual(5, step_of(g), 'skip went past the first unread message')
            self.assertEqual(ends[0] + advance * 4, text_right_end(shot),
                             'the window does not hold the fifth message')
            self.assertFalse(shot.differs(g.screenshot(*TEXT_AREA)), 'the fifth message does not wait')
            shot.save_png(os.path.join(g.root, 'stopped_at_unread.png'))
            self.quit(g)


if __name__ == '__main__':
    main()
