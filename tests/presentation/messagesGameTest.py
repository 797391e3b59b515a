"""Whole program: a script with two messages typed into the message window.

The first message (with a speaker) types out over time, a click completes it, the next click shows
the second one. The program's clock runs fifty times slower, so the first message takes minutes to
type out and no busy machine can finish it before the test has clicked; the test waits for what it
sees (glyphs, the prompt that a finished message shows), never for the program's speed. The texts are in the configuration's own language and code page (Chinese in GBK for
the full configuration, Japanese in Shift-JIS for the earlier one), so the glyphs that appear come
from the fonts of that code page.
"""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import CONFIG, Game, TestCase, main, wait_for  # noqa: E402

IDYES = 6

BOX = (20, 30, 80)  # the box picture's colour
BOX_Y = 400         # the window layout's box position on an 800 by 600 screen
TEXT_AREA = (80, BOX_Y + 70, 640, 110)  # x, y, w, h on the screen: two lines of text
NAME_PLATE = (100, BOX_Y + 10, 100, 40)
PROMPT = (255, 255, 0)  # the prompt picture's colour
# The program's clock runs this many times slower: the first message types at 6.4 s a character.
CLOCK_SLOWDOWN = 50

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


def prompt_pixels(image):
    """Pixels of the prompt, which shows only once a message has typed out (glyphs are white or
    blended into the box colour, never without blue)."""
    return image.count(lambda p: p[0] > 200 and p[1] > 200 and p[2] < 60)


class Messages(TestCase):
    def make_game(self, name):
        g = Game(self, name, clock_slowdown=CLOCK_SLOWDOWN)
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneMessages'}})
        g.write('img/sys_box_normal.png', png_rgba(800, 200, lambda x, y: BOX + (255,)))
        # The prompt: eight identical frames, so that a finished message stands still on screen.
        g.write('img/sys_box_prompt.png', png_rgba(24, 192, lambda x, y: (255, 255, 0, 255)))
        # "<<" slows typing to a quarter of its speed: 128 ms a character at the default text speed
        # (6.4 s with the slow clock).
        g.write_text('script/start.txt', 'Aki:<<%s\n.\n%s\n.\n' % (FIRST, SECOND))
        return g

    def text_area(self, g):
        return g.screenshot(*TEXT_AREA)

    def wait_text(self, g, predicate, what):
        """Waits until the text area satisfies predicate; returns that screenshot."""
        found = []
        wait_for(lambda: found.append(self.text_area(g)) or predicate(found[-1]), what)
        return found[-1]

    def test_two_messages_type_out_and_advance_by_clicks(self):
        with self.make_game('two_messages') as g:
            g.start()
            g.wait_window()
            # Glyphs appear where the text goes, and more of them over time.
            first = self.wait_text(g, lambda a: text_pixels(a) > 20, 'no text appeared in the message window')
            later = self.wait_text(g, lambda a: text_pixels(a) > text_pixels(first),
                                   'the first message does not type out over time')
            # Still typing: no prompt yet.
            self.assertEqual(0, prompt_pixels(later))
            # The speaker's name plate.
            self.assertGreater(text_pixels(g.screenshot(*NAME_PLATE)), 20, 'no name plate')

            # A click completes the message: the prompt shows, the text stands still and has more
            # glyphs than before the click.
            g.click(400, 300)
            self.wait_text(g, prompt_pixels, 'a click did not complete the first message')
            complete = g.wait_still(*TEXT_AREA)
            self.assertGreater(prompt_pixels(complete), 0, 'the first message no longer waits')
            self.assertGreater(text_pixels(complete), text_pixels(later))

            # The next click shows the second, shorter message in place of the first.
            g.click(400, 300)
            self.wait_text(g, lambda a: a.differs(complete), 'the second message did not come')
            self.wait_text(g, prompt_pixels, 'the second message did not type out')
            second = g.wait_still(*TEXT_AREA)
            self.assertGreater(text_pixels(second), 20)
            self.assertLess(text_pixels(second), text_pixels(complete))

            # Closing asks first; yes ends the program from inside the click wait.
            g.close()
            g.answer_dialog(IDYES)
            self.assertEqual(0, g.wait_exit())


if __name__ == '__main__':
    main()
