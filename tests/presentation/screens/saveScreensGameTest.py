"""Whole program: quick save and quick load across two runs, and the save and load screens.

The scene is one picture, red on the left half and blue on the right, so a thumbnail shows where it
was split. The script writes its progress into a global variable ("step") before each message, so
the test knows which message waits by reading "flagdata.000".
- Insert writes slot 0 with its memo and thumbnail; the program is closed and started again, and
  Delete brings back the message that waited at the quick save.
- Home opens the save screen: a click on slot 1 and OK write it; its thumbnail then stands at its
  grid place; the protect switch stops OK and delete until it is cleared; the memo line takes a
  typed memo.
- End opens the load screen: slot 1 loads and the first message waits again.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'harness'))
from game import WAIT, Game, TestCase, main, wait_until, xdotool  # noqa: E402

IDYES = 6
HEADER = 25120
RED = (255, 0, 0)
BLUE = (0, 0, 255)
BOX = (20, 30, 80)
BASE = (30, 60, 30)       # the screens' base picture
EMPTY = (90, 90, 90)      # an empty slot
CURSOR = (255, 255, 0)
QUICK_MEMO = 'クイックセーブ'.encode('shift_jis')
MESSAGE_AREA = (80, 470, 640, 110)

SCRIPT = ('.fade 0\n'
          '.img 0 split.png\n'
          '?step = 1\n'
          'Message one.\n.\n'
          '?step = 2\n'
          'Message two, a little longer.\n.\n'
          '?step = 3\n'
          'Message three.\n.\n'
          '?step = 4\n'
          '.wait\n')


def png_rgba(width, height, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def plain(width, height, colour):
    return png_rgba(width, height, lambda x, y: colour + (255,))


def near(p, colour, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


def step_of(g):
    data = g.save('flagdata.000')
    if data is None or len(data) != 4000:
        return 0
    return struct.unpack('<i', data[:4])[0]


def thumbnail_pixel(header, x, y):
    """(r, g, b) of the stored thumbnail (blue, green, red from the top)."""
    at = 784 + (y * 104 + x) * 3
    return header[at + 2], header[at + 1], header[at]


def slot_place(slot):
    return 34 + 126 * (slot % 6), 94 + 82 * (slot // 6)


class SaveScreens(TestCase):
    def make_game(self, name):
        g = Game(self, name, time_limit=240)
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneSaves'},
                  'Define.Flag': {'G000': 'step'}})
        g.write('img/split.png', png_rgba(800, 600, lambda x, y: (RED if x < 400 else BLUE) + (255,)))
        g.write('img/sys_box_normal.png', plain(800, 200, BOX))
        g.write('img/sys_box_prompt.png', png_rgba(24, 192, lambda x, y: (255, 255, 0, 255)))
        for mode in ('save', 'load'):
            g.write('img/sys_%s_base.png' % mode, plain(800, 600, BASE))
            g.write('img/sys_%s_empty.png' % mode, plain(104, 78, EMPTY))
            g.write('img/sys_%s_ok.png' % mode, plain(100, 30, (200, 200, 0)))
            g.write('img/sys_%s_del.png' % mode, plain(100, 30, (200, 0, 200)))
            g.write('img/sys_%s_back.png' % mode, plain(100, 30, (0, 200, 200)))
            # A frame two pixels wide around a slot, open inside.
            g.write('img/sys_%s_cursor.png' % mode, png_rgba(
                108, 82, lambda x, y: CURSOR + (255,) if min(x, y, 107 - x, 81 - y) < 2
                else (0, 0, 0, 0)))
        g.write('img/sys_save_quick.png', plain(10, 10, (255, 128, 0)))
        g.write_text('script/start.txt', SCRIPT)
        return g

    def pixel(self, g, x, y):
        return g.screenshot(x, y, 1, 1).pixel(0, 0)

    def wait_step(self, g, step):
        self.assertTrue(wait_until(lambda: step_of(g) == step), 'step %d not reached' % step)

    def wait_still(self, g, region, timeout=WAIT):
        """The region's pixels once they stopped changing for half a second."""
        last, since = None, time.time()
        deadline = time.time() + timeout
        while time.time() < deadline:
            shot = g.screenshot(*region)
            if last is not None and not shot.differs(last):
                if time.time() - since >= 0.5:
                    return shot
            else:
                last, since = shot, time.time()
            time.sleep(0.1)
        self.fail('the region %s never stood still' % (region,))

    def wait_shows(self, g, region, expected, message, timeout=WAIT):
        if not wait_until(lambda: not g.screenshot(*region).differs(expected), timeout):
            self.fail(message)

    def wait_pixel(self, g, x, y, colour, message, timeout=WAIT):
        if not wait_until(lambda: near(self.pixel(g, x, y), colour), timeout):
            self.fail('%s: (%d, %d) shows %s' % (message, x, y, self.pixel(g, x, y)))

    def click(self, g, x, y):
        """A press is hit-tested where the program last polled the cursor: the harness's move
        returns once the program has seen the pointer there."""
        g.move(x, y)
        xdotool('click', 1)

    def advance(self, g, step):
        # A click while the message types only completes it: wait until it has typed out (only
        # then does it show the click prompt) and stands.
        self.assertTrue(wait_until(lambda: g.screenshot(*MESSAGE_AREA).count(
            lambda p: p[0] > 200 and p[1] > 200 and p[2] < 60)), 'the message did not type out')
        self.wait_still(g, MESSAGE_AREA)
        self.click(g, 400, 300)
        self.wait_step(g, step)

    def quit(self, g):
        g.close()
        g.answer_dialog(IDYES)
        self.assertEqual(0, g.wait_exit())

    def check_thumbnail(self, header):
        for x in range(104):
            self.assertEqual((255, 255, 255), thumbnail_pixel(header, x, 0))
            self.assertEqual((255, 255, 255), thumbnail_pixel(header, x, 77))
        for y in range(78):
            self.assertEqual((255, 255, 255), thumbnail_pixel(header, 0, y))
            self.assertEqual((255, 255, 255), thumbnail_pixel(header, 103, y))
        for y in (1, 39, 76):
            self.assertEqual(RED, thumbnail_pixel(header, 5, y))
            self.assertEqual(RED, thumbnail_pixel(header, 50, y))
            self.assertEqual(BLUE, thumbnail_pixel(header, 53, y))
            self.assertEqual(BLUE, thumbnail_pixel(header, 98, y))

    def test_quick_save_then_quick_load_in_a_new_run(self):
        with self.make_game('quick_save_load') as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            self.advance(g, 2)
            second = self.wait_still(g, MESSAGE_AREA)
            g.focus()
            xdotool('key', 'Insert')
            self.assertTrue(wait_until(lambda: g.save('savedata.000') is not None), 'no quick save')
            slot = g.save('savedata.000')
            self.assertGreater(len(slot), HEADER)
            self.assertEqual(QUICK_MEMO + b'\0', slot[528:528 + len(QUICK_MEMO) + 1])
            self.assertEqual(0, slot[8])
            self.assertRegex(slot[16:32].decode('ascii'), r'^\d{4}/\d\d/\d\d \d\d:\d\d$')
            self.check_thumbnail(slot)
            self.advance(g, 3)
            self.quit(g)

            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            self.wait_still(g, MESSAGE_AREA)
            g.focus()
            xdotool('key', 'Delete')
            # Globals are not part of a save: the step stays; the message shows what was loaded.
            self.wait_shows(g, MESSAGE_AREA, second, 'the quick load shows another message')
            # The backlog holds what the save held: the first message above the second, although
            # this run had shown only the first.
            xdotool('key', 'BackSpace')

            def white(top):
                shot = g.screenshot(200, top, 580, 60)
                return shot.count(lambda p: min(p) > 200)
            self.assertTrue(wait_until(lambda: white(535) > 20 and white(460) > 20),
                            'the backlog does not show the two restored messages')
            self.assertEqual(0, white(385))
            g.move(400, 300)
            xdotool('click', 3)
            self.wait_shows(g, MESSAGE_AREA, second, 'the backlog did not close')
            self.advance(g, 3)
            self.quit(g)

    def test_save_screen_protect_memo_and_load_screen(self):
        with self.make_game('save_load_screens') as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            first = self.wait_still(g, MESSAGE_AREA)
            g.focus()
            xdotool('key', 'Home')
            sx, sy = slot_place(1)
            self.wait_pixel(g, sx + 50, sy + 40, EMPTY, 'no empty slot on the save screen')
            self.wait_pixel(g, 5, 5, BASE, 'no base picture')
            # Slot 0 shows the quick-save marker over its empty picture and cannot be chosen.
            self.assertTrue(near(self.pixel(g, 36, 96), (255, 128, 0)))
            self.click(g, *slot_place(0))
            self.click(g, sx + 50, sy + 40)
            self.wait_pixel(g, sx - 1, sy - 1, CURSOR, 'no cursor on slot 1')
            self.assertFalse(near(self.pixel(g, 33, 93), CURSOR), 'slot 0 was selected')
            self.click(g, 440, 557)  # OK
            self.assertTrue(wait_until(lambda: g.save('savedata.001') is not None), 'no save')
            saved = g.save('savedata.001')
            self.assertEqual(0, saved[8])
            self.assertEqual(b'\0', saved[528:529])
            self.check_thumbnail(saved)
            self.assertIsNone(g.save('savedata.000'))
            # The grid rebuilt: slot 1 shows its thumbnail in its white frame.
            self.wait_pixel(g, sx, sy, (255, 255, 255), 'no thumbnail frame')
            self.assertTrue(near(self.pixel(g, sx + 10, sy + 40), RED))
            self.assertTrue(near(self.pixel(g, sx + 90, sy + 40), BLUE))

            # Protect on: OK and delete do nothing; protect off again, then delete works.
            self.click(g, 155, 560)
            self.assertTrue(wait_until(lambda: (g.save('savedata.001') or b'\0' * 9)[8] == 1))
            protected = g.save('savedata.001')
            self.assertEqual(saved[HEADER:], protected[HEADER:])
            self.click(g, 440, 557)  # OK
            self.click(g, 570, 557)  # delete
            self.click(g, 155, 560)  # protect off: written after the clicks before it were taken
            self.assertTrue(wait_until(lambda: (g.save('savedata.001') or b'\0' * 9)[8] == 0))
            self.assertEqual(protected[:8] + b'\0' + protected[9:], g.save('savedata.001'))

            # A memo typed into the memo line goes into the header.
            self.click(g, 300, 530)
            self.assertTrue(wait_until(lambda: any(
                c.get('class', '').lower() == 'edit' and c.get('visible') == '1'
                for c in g.children(g.window()))), 'no memo line')
            xdotool('type', 'memo')
            xdotool('key', 'Return')
            self.assertTrue(wait_until(
                lambda: (g.save('savedata.001') or b'')[528:533] == b'memo\0'), 'no memo')
            self.assertEqual(saved[HEADER:], g.save('savedata.001')[HEADER:])

            # Back to the game; the second message; then the load screen brings the first back.
            self.click(g, 700, 557)  # back
            self.wait_pixel(g, 5, 5, RED, 'the save screen did not close')
            self.advance(g, 2)
            self.wait_still(g, MESSAGE_AREA)
            g.focus()
            xdotool('key', 'End')
            self.wait_pixel(g, sx, sy, (255, 255, 255), 'no thumbnail on the load screen')
            self.wait_pixel(g, 5, 5, BASE, 'no base picture')
            self.click(g, sx + 50, sy + 40)
            self.wait_pixel(g, sx - 1, sy - 1, CURSOR, 'no cursor on slot 1')
            self.click(g, 440, 557)  # OK
            self.wait_shows(g, MESSAGE_AREA, first, 'the load shows another message')

            # Delete works once the slot is not protected.
            xdotool('key', 'Home')
            self.wait_pixel(g, sx, sy, (255, 255, 255), 'no thumbnail on the save screen')
            self.click(g, sx + 50, sy + 40)
            self.wait_pixel(g, sx - 1, sy - 1, CURSOR, 'no cursor on slot 1')
            self.click(g, 570, 557)  # delete
            self.assertTrue(wait_until(lambda: g.save('savedata.001') is None), 'not deleted')
            self.wait_pixel(g, sx + 50, sy + 40, EMPTY, 'the deleted slot is not empty')
            xdotool('key', 'Escape')
            self.wait_pixel(g, 5, 5, RED, 'Esc did not close the save screen')
            self.quit(g)

    def test_the_script_command_system_save_opens_the_save_screen(self):
        with self.make_game('system_save_command') as g:
            g.write_text('script/start.txt', SCRIPT.replace('?step = 1\n', '?step = 1\n.system save\n'))
            g.start()
            g.wait_window()
            self.wait_pixel(g, 5, 5, BASE, 'the save screen did not open')
            sx, sy = slot_place(1)
            self.wait_pixel(g, sx + 50, sy + 40, EMPTY, 'no empty slot on the save screen')
            g.focus()
            xdotool('key', 'Escape')
            self.wait_pixel(g, 5, 5, RED, 'Esc did not close the save screen')
            self.wait_step(g, 1)
            self.advance(g, 2)
            self.quit(g)


if __name__ == '__main__':
    main()
