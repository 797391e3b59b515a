"""Whole program: the screen effects and the rotated clock hands through the script.

- ".flash RED 10" in an endless loop: the screen shows, at every sampled point, either exact red or
  the scene, and both are seen.
- The message box's clock: after "?" assignments of the scenario progress and the two flag totals,
  ".mode adv" rebuilds the box, and its hands point where their turns put them (hand A by
  M / 14 turns, hand B by L / 16 turns, about (715, 105) of the box, which lies at (0, 400)).
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import CONFIG, WAIT, Game, TestCase, main, wait_until  # noqa: E402

IDYES = 6
RED = (255, 0, 0)
BASE = (40, 40, 40)
BOX_Y = 400
PIVOT = (715, 105)

# The variable names the message box reads, in the scripts' code page.
PROGRESS, M_TOTAL, L_TOTAL = 'シナリオ進行', 'Ｍフラグ合計', 'Ｌフラグ合計'
MESSAGE = 'あ' if CONFIG == 'earlier' else '好'


def png(width, height, channels, pixel):
    """An 8-bit PNG, RGB (channels 3) or RGBA (4); pixel(x, y) gives the channel values."""
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    colour_type = 2 if channels == 3 else 6
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def hand(colour):
    """160 x 160, transparent but for a bar from the pivot (80, 80) to (119, 80)."""
    return png(160, 160, 4, lambda x, y: colour + (255,) if y == 80 and 80 <= x < 120 else (0, 0, 0, 0))


class Effects(TestCase):
    def make_game(self, name, script, flags=None, present_hold_ms=None):
        g = Game(self, name, present_hold_ms=present_hold_ms)
        sections = {'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                       'ProductID': 'MorvaneEffects'}}
        if flags:
            sections['Define.Flag'] = flags
        g.config(sections)
        g.write('img/sys_box_normal.png', png(800, 200, 3, lambda x, y: BASE))
        g.write('img/sys_box_prompt.png', png(24, 192, 4, lambda x, y: (255, 255, 0, 255)))
        g.write_text('script/start.txt', script)
        return g

    def quit(self, g):
        g.close()
        g.answer_dialog(IDYES)
        self.assertEqual(0, g.wait_exit())

    def test_flash_in_a_loop_shows_red_or_the_scene(self):
        # A flash is one frame: every frame stays up a while, so that screenshots of a busy machine
        # catch both, and the test samples until it has seen both, within the generous limit.
        with self.make_game('flash', '#loop\n.flash RED 10\n.GOTO loop\n', present_hold_ms=200) as g:
            g.start()
            g.wait_window()
            points = [(x, y) for x in range(0, 200, 23) for y in range(0, 150, 19)]
            scene = None
            seen_red = seen_scene = shots = 0
            deadline = time.time() + WAIT
            while time.time() < deadline and not (seen_red and seen_scene and shots >= 10):
                shot = g.screenshot(300, 200, 200, 150)
                shots += 1
                for x, y in points:
                    p = shot.pixel(x, y)
                    if p == RED:
                        seen_red += 1
                        continue
                    if scene is None:
                        scene = p
                    self.assertEqual(scene, p, 'neither red nor the scene at (%d, %d)' % (300 + x, 200 + y))
                    seen_scene += 1
            self.assertGreater(seen_red, 0, 'red never seen')
            self.assertGreater(seen_scene, 0, 'the scene never seen')
            self.quit(g)

    def test_clock_hands_point_where_their_turns_put_them(self):
        script = '\n'.join([
            '?%s = 2' % PROGRESS,
            '?%s = 7' % M_TOTAL,   # 7 / 14: half a turn, hand A points left
            '?%s = 4' % L_TOTAL,   # 4 / 16: a quarter, hand B points up
            '.mode adv',
            MESSAGE,
            '',
        ])
        with self.make_game('clock', script, {'L000': PROGRESS, 'L001': M_TOTAL, 'L002': L_TOTAL}) as g:
            g.write('img/sys_box_base.png', png(800, 200, 3, lambda x, y: BASE))
            g.write('img/sys_box_clock_a.png', hand((255, 0, 0)))
            g.write('img/sys_box_clock_b.png', hand((0, 0, 255)))
            g.start()
            g.wait_window()
            px, py = PIVOT[0], BOX_Y + PIVOT[1]

            def around():
                return g.screenshot(px - 50, py - 50, 100, 100)
            self.assertTrue(wait_until(lambda: around().pixel(50 - 20, 50) == (255, 0, 0)),
                            'hand A is not left of the pivot')
            shot = around()
            for k in range(1, 40):
                self.assertEqual((255, 0, 0), shot.pixel(50 - k, 50), 'hand A at %d' % k)
                self.assertEqual((0, 0, 255), shot.pixel(50, 50 - k), 'hand B at %d' % k)
                self.assertEqual(BASE, shot.pixel(50 + k, 50), 'right of the pivot at %d' % k)
                self.assertEqual(BASE, shot.pixel(50, 50 + k), 'below the pivot at %d' % k)
            self.assertEqual((0, 0, 255), shot.pixel(50, 50), 'hand B is drawn last')
            self.assertEqual(BASE, shot.pixel(50 - 45, 50))
            self.assertEqual(BASE, shot.pixel(50, 50 - 45))
            self.quit(g)


if __name__ == '__main__':
    main()
