"""Whole program: the script command "custom" runs the timed click.

The script opens the gate, runs the clock twice and records in global variables ("flagdata.000")
where it stands and whether the clock was hit. The clock's hand and the fading flash picture are
drawn over the message window's clock at (715, 505); a click there (or an arrow key, which puts
the cursor on it, then Return) hits. The second "custom" finds the result already set and does
nothing.

The clock gives four seconds of the program's clock: the tests that must act within them slow that
clock down, so that a busy machine still answers in time, and put the pointer where it clicks before
the clock starts, so that the program has seen it there when the press comes.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import Game, TestCase, main, wait_until, xdotool, _run  # noqa: E402

IDYES = 6
FLAGS = {'G000': 'step', 'G001': 'hit', 'G002': 'gate'}
SCRIPT = ('?gate = 1\n'
          '.custom hit gate\n'
          '?step = 1\n'
          '.custom hit gate\n'
          '?step = 2\n'
          '.QUIT\n')
BOX = (20, 30, 80, 255)
CLOCK = (715, 505)


def png_rgba(width, height, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def values(data):
    return struct.unpack('<3i', data[:12]) if data else None


class TimedClick(TestCase):
    def make_game(self, name, clock_slowdown=None):
        g = Game(self, name, clock_slowdown=clock_slowdown)
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvaneTimedClick'},
                  'Define.Flag': FLAGS})
        g.write('img/sys_box_normal.png', png_rgba(800, 200, lambda x, y: BOX))
        # The hand: a bar from the pivot (80, 80) up to the top, turned about the clock's centre.
        g.write('img/sys_box_clock_c.png',
                png_rgba(160, 160, lambda x, y: (255, 255, 0, 255) if 76 <= x < 84 and y < 80
                         else (0, 0, 0, 0)))
        # The flash: grey over the whole clock area, laid on in Screen mode.
        g.write('img/sys_box_flash.png', png_rgba(170, 200, lambda x, y: (128, 128, 128, 255)))
        g.write_text('script/start.txt', SCRIPT)
        return g

    def flash_level(self, g):
        """Brightness of a point of the flash area away from the hand."""
        return sum(g.screenshot(640, 590, 1, 1).pixel(0, 0))

    def wait_clock(self, g):
        """The clock runs: the flash brightens the box."""
        box = sum(BOX[:3])
        if not wait_until(lambda: self.flash_level(g) > box + 60):
            self.fail('the flash of the timed click did not show: %s'
                      % (g.screenshot(640, 590, 1, 1).pixel(0, 0),))

    def finish(self, g, hit):
        self.assertTrue(wait_until(lambda: values(g.save('flagdata.000')) == (2, hit, 1)),
                        'the script did not go on: %s' % (values(g.save('flagdata.000')),))
        g.answer_dialog(IDYES)
        self.assertEqual(0, g.wait_exit())

    def test_a_click_on_the_clock_hits(self):
        with self.make_game('timed_click_hit', clock_slowdown=4) as g:
            g.start()
            g.wait_window()
            g.move(CLOCK[0] + 30, CLOCK[1] - 30)
            self.wait_clock(g)
            xdotool('click', 1)
            self.finish(g, 1)

    def test_no_click_for_four_seconds_misses(self):
        with self.make_game('timed_click_miss') as g:
            started = time.time()  # before the clock can start
            g.start()
            g.wait_window()
            g.move(100, 100)
            self.wait_clock(g)
            # A click beside the circle is only consumed.
            g.move(CLOCK[0] + 40, CLOCK[1] + 40)
            xdotool('click', 1)
            self.assertTrue(wait_until(lambda: values(g.save('flagdata.000')) == (1, 0, 1)))
            # The clock gives four seconds: it cannot have ended before four seconds after the
            # program started (the harness sees the flash late on a busy machine, so that moment
            # is no bound).
            self.assertGreater(time.time() - started, 4.0)
            self.finish(g, 0)

    def test_an_arrow_then_return_hits(self):
        with self.make_game('timed_click_keys', clock_slowdown=4) as g:
            g.start()
            g.wait_window()
            self.wait_clock(g)
            g.focus()  # the pointer on the window's corner, far from the clock
            xdotool('key', 'Left')
            c = g.window()['client']
            where = lambda: _run(['xdotool', 'getmouselocation', '--shell']).stdout.decode()
            self.assertTrue(wait_until(lambda: 'X=%d\n' % (c[0] + CLOCK[0]) in where()),
                            'the arrow did not put the cursor on the clock: ' + where())
            g.sync()  # the program has read the pointer there since
            xdotool('key', 'Return')
            self.finish(g, 1)


if __name__ == '__main__':
    main()
