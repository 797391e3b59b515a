"""Whole program: a script with two messages typed into the message window.

The first message (with a speaker) types out over time, a click completes it, the next click shows
the second one. The texts are in the configuration's own language and code page (Chinese in GBK for
the full configuration, Japanese in Shift-JIS for the earlier one), so the glyphs that appear come
from the fonts of that code page.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import CONFIG, Game, TestCase, main, wait_until, wininfo  # noqa: E402

IDYES = 6

BOX = (20, 30, 80)  # the box picture's colour
BOX_Y = 400         # the window layout's box position on an 800 by 600 screen
TEXT_AREA = (80, BOX_Y + 70, 640, 110)  # x, y, w, h on the screen: two lines of text
NAME_PLATE = (100, BOX_Y + 10, 100, 40)

if CONFIG == 'earlier':
    FIRST = 'こんにちは、これは最初のメッセージです。ゆっくり表示されます。'
    SECOND = '二つ目のメッセージ。'
else:
    FIRST = '你好，这是第一条消息。文字会慢慢地出现在窗口里。'
    SECOND = '这是第二条消息。'


def png_rgba(width, height, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def text_pixels(image):
    """Pixels that are neither the box colour nor close to it: glyphs and their shadows."""
    return image.count(lambda p: max(abs(p[0] - BOX[0]), abs(p[1] - BOX[1]), abs(p[2] - BOX[2])) > 40)


class Messages(TestCase):
    def make_game(self, name):
        g = Game(self, name)
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneMessages'}})
        g.write('img/sys_box_normal.png', png_rgba(800, 200, lambda x, y: BOX + (255,)))
        # The prompt: eight identical frames, so that a finished message stands still on screen.
        g.write('img/sys_box_prompt.png', png_rgba(24, 192, lambda x, y: (255, 255, 0, 255)))
        # "<<" slows typing to a sixth of its speed: 128 ms a character at the default text speed.
        g.write_text('script/start.txt', 'Aki:<<%s\n.\n%s\n.\n' % (FIRST, SECOND))
        return g

    def text_area(self, g):
        return g.screenshot(*TEXT_AREA)

    def test_two_messages_type_out_and_advance_by_clicks(self):
        with self.make_game('two_messages') as g:
            g.start()
            g.wait_window()
            # Glyphs appear where the text goes.
            self.assertTrue(wait_until(lambda: text_pixels(self.text_area(g)) > 20, timeout=20),
                            'no text appeared in the message window')
            first = self.text_area(g)
            time.sleep(1.0)
            later = self.text_area(g)
            self.assertTrue(first.differs(later), 'the first message does not type out over time')
            self.assertGreater(text_pixels(later), text_pixels(first))
            # The speaker's name plate.
            self.assertGreater(text_pixels(g.screenshot(*NAME_PLATE)), 20, 'no name plate')

            # A click completes the message: the text no longer changes and is complete.
            g.click(400, 300)
            time.sleep(0.5)
            complete = self.text_area(g)
            time.sleep(0.6)
            self.assertFalse(complete.differs(self.text_area(g)), 'the message still types after a click')
            self.assertGreater(text_pixels(complete), text_pixels(later))

            # The next click shows the second message, in place of the first.
            g.click(400, 300)
            self.assertTrue(wait_until(lambda: self.text_area(g).differs(complete), timeout=10),
                            'the second message did not come')
            time.sleep(1.5)
            second = self.text_area(g)
            self.assertGreater(text_pixels(second), 20)
            self.assertLess(text_pixels(second), text_pixels(complete))

            # Closing asks first; yes ends the program from inside the click wait.
            g.close()
            wininfo('command', g.wait_dialog(10)['hwnd'], IDYES)
            self.assertEqual(0, g.wait_exit(20))


if __name__ == '__main__':
    main()
