"""Whole program: the script commands that work so far.

One script walks through them and writes its progress into a global variable ("step"), so the
test always knows where the script stands by reading "flagdata.000" from the save folder:
- "date" and "chapter" reach the caption (the settings' caption-chapter byte is on): only the
  chapter is shown, "date" keeps it, "chapter" without a word empties it;
- "wait" without a duration waits for a click, "wait 300" ends by itself;
- "mode novel" shows the next message in the novel layout (over the whole screen, no box at the
  bottom), "mode adv" puts the box back;
- "reset" clears a local variable, seen through conditions that set global variables;
- an unknown command word, and "wait" in capitals, fail their lines and the script goes on.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import CODEPAGE, CONFIG, Game, TestCase, default_settings, main, wait_until  # noqa: E402

IDYES = 6
TITLE = 'Commands'
CHAPTER = '第一章'
FLAGS = {'G000': 'step', 'G001': 'before', 'G002': 'cleared', 'G003': 'after', 'L000': 'tmp'}

BOX = (20, 30, 80)     # the message box picture's colour
BOTTOM = (0, 400, 800, 200)        # where the window layout puts the box on an 800 by 600 screen
NOVEL_LINE = (80, 0, 640, 45)      # the novel layout's first line of text
WINDOW_LINE = (80, 470, 640, 45)   # the window layout's first line of text

if CONFIG == 'earlier':
    NOVEL_TEXT, ADV_TEXT = 'ノベルの文章です。', 'ウィンドウの文章。'
else:
    NOVEL_TEXT, ADV_TEXT = '这是小说模式的文字。', '这是窗口模式。'

SCRIPT = '\n'.join([
    '.date 2004/07/15',
    '.chapter %s rest' % CHAPTER,
    '?step = 1',
    '.wait',
    '.date 2005/01/01',
    '?step = 2',
    '.wait 300',
    '?step = 3',
    '.wait',
    '.chapter',
    '?step = 4',
    '.wait 300',
    '?step = 5',
    ADV_TEXT,
    '.mode novel',
    NOVEL_TEXT,
    '.mode adv',
    ADV_TEXT,
    '?tmp = 5',
    '.IF tmp',
    '?before = 1',
    '.reset',
    '.IF !tmp',
    '?cleared = 1',
    '.nosuchcommand 1 2',
    '.WAIT',
    '?after = 1',
    '?step = 6',
    '.wait',
    '',
])


def png_rgba(width, height, colour):
    """An 8-bit RGBA PNG of one colour."""
    row = b'\0' + bytes(colour) * width
    raw = row * height

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def settings_block(caption_chapter):
    """The settings defaults with the caption-chapter byte."""
    b = default_settings()
    b[43] = caption_chapter
    return bytes(b)


def globals_of(g):
    data = g.save('flagdata.000')
    if data is None or len(data) != 4000:
        return None
    return struct.unpack('<1000i', data)


def step_of(g):
    values = globals_of(g)
    return values[0] if values else 0


def bright(image):
    """Pixels of text: light ones."""
    return image.count(lambda p: max(p) > 150)


def box_coloured(image):
    return image.count(lambda p: p == BOX)


class Commands(TestCase):
    def make_game(self, name):
        g = Game(self, name)
        g.config({'System.Info': {'Title': TITLE},
                  'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneCommands'},
                  'Define.Flag': FLAGS})
        g.write('img/sys_box_normal.png', png_rgba(800, 200, BOX + (255,)))
        g.write('img/sys_box_prompt.png', png_rgba(24, 192, (255, 255, 0, 255)))
        g.write_save('morvane.cfg', settings_block(1))
        g.write_text('script/start.txt', SCRIPT)
        return g

    def caption(self, g):
        return g.window()['text']

    def wait_step(self, g, step, timeout=60):
        self.assertTrue(wait_until(lambda: step_of(g) >= step, timeout),
                        'the script did not reach step %d (at %d)' % (step, step_of(g)))
        self.assertEqual(step, step_of(g), 'the script went past step %d' % step)

    def click_until(self, g, predicate, what, tries=6):
        """Clicks until the state moves on: a click that comes before the wait has begun is
        consumed by the wait's start, so it may take more than one."""
        for _ in range(tries):
            g.click(400, 300)
            if wait_until(predicate, 15):
                return
        self.fail('clicks did not get past ' + what)

    def settled(self, g, rect):
        """The rectangle's picture once it stops changing (typing has ended)."""
        last = g.screenshot(*rect)
        for _ in range(100):
            time.sleep(0.3)
            now = g.screenshot(*rect)
            if not now.differs(last):
                return now
            last = now
        self.fail('the screen does not settle')

    def test_commands_of_the_script(self):
        with self.make_game('commands') as g:
            g.start()
            g.wait_window()
            chapter = (TITLE + '　「' + CHAPTER + '」').encode(CODEPAGE)
            plain = TITLE.encode(CODEPAGE)

            # Step 1: date and chapter set, a wait for a click.
            self.wait_step(g, 1)
            self.assertTrue(wait_until(lambda: self.caption(g) == chapter),
                            'caption %r, expected %r' % (self.caption(g), chapter))
            self.assertFalse(wait_until(lambda: step_of(g) != 1, 1.0), 'the wait did not wait')
            self.click_until(g, lambda: step_of(g) >= 2, 'the wait for a click')

            # Steps 2 and 3: the timed wait ends by itself; a new date leaves the caption alone.
            self.wait_step(g, 3)
            self.assertEqual(chapter, self.caption(g))
            self.click_until(g, lambda: step_of(g) >= 4, 'the second wait for a click')

            # Step 4 and on: "chapter" without a word empties the chapter.
            self.assertTrue(wait_until(lambda: step_of(g) >= 5), 'the wait of 300 ms did not end')
            self.assertTrue(wait_until(lambda: self.caption(g) == plain),
                            'caption %r, expected %r' % (self.caption(g), plain))

            # A message in the window layout: the box at the bottom with the text in it.
            self.assertTrue(wait_until(lambda: bright(g.screenshot(*WINDOW_LINE)) > 20),
                            'no text in the box in adv mode')
            self.settled(g, WINDOW_LINE)
            self.assertGreater(box_coloured(g.screenshot(*BOTTOM)), 50000, 'no box in adv mode')
            self.assertEqual(0, bright(g.screenshot(*NOVEL_LINE)))

            # Novel mode: the next message over the whole screen, its first line at the top, and
            # the box gone.
            self.click_until(g, lambda: bright(g.screenshot(*NOVEL_LINE)) > 20, 'the adv message')
            self.settled(g, NOVEL_LINE)
            self.assertEqual(0, box_coloured(g.screenshot(*BOTTOM)), 'the box stays in novel mode')
            self.assertEqual(5, step_of(g))

            # Back to adv: the box at the bottom again.
            self.click_until(g, lambda: box_coloured(g.screenshot(*BOTTOM)) > 50000, 'the novel message')
            self.assertTrue(wait_until(lambda: bright(g.screenshot(*WINDOW_LINE)) > 20),
                            'no text in the box in adv mode')
            self.settled(g, WINDOW_LINE)
            self.assertEqual(5, step_of(g))

            # Reset, and the failing lines on the way to the last wait.
            self.click_until(g, lambda: step_of(g) >= 6, 'the adv message')
            values = globals_of(g)
            self.assertEqual((6, 1, 1, 1), values[:4])
            self.assertEqual(plain, self.caption(g))

            g.close()
            g.answer_dialog(IDYES)
            self.assertEqual(0, g.wait_exit())


if __name__ == '__main__':
    main()
