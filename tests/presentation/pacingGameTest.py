"""Whole program: the paced waiting loops as a player sees them.

- The click prompt of a waiting message animates at its rate: its eight frames (each a colour of
  its own) follow each other in order, a new one every 128 ms.
- A click is taken at once: the screen answers a press in well under the time the waiting loops
  sleep between due changes (128 ms at a message, up to 500 ms at a wait for a click), so the wait
  ends with the input, not at the next change. The latencies are printed.
Both run with the program's clock slowed (4 and 8 times): every span timed here grows with it,
far above the delays of a busy machine, and is judged divided back.

The screen is read and the mouse pressed through the X display directly (XGetImage of single
pixels, XTest button events), which is fast enough to time a frame.
"""
import ctypes
import os
import statistics
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import CONFIG, Game, TestCase, main, wait_until, wininfo  # noqa: E402

IDYES = 6
BACK = (30, 90, 60)
BOX = (20, 30, 80)
# Frame k of the prompt: red 255, green 32 k.
PROMPT = [(255, 32 * k, 0) for k in range(8)]
MESSAGE = 'あいう' if CONFIG == 'earlier' else '你好啊'
PROMPT_SLOWDOWN = 4
CLICK_SLOWDOWN = 8


def png_rgba(width, height, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


class Display:
    """Single pixels of the root window and XTest button presses, through libX11 and libXtst."""

    def __init__(self):
        x = ctypes.CDLL('libX11.so.6')
        t = ctypes.CDLL('libXtst.so.6')
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = ctypes.c_void_p
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XGetPixel.restype = ctypes.c_ulong
        x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.c_void_p]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        t.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.x, self.t = x, t
        self.d = x.XOpenDisplay(None)
        if not self.d:
            raise AssertionError('cannot open the X display')
        self.root = x.XDefaultRootWindow(self.d)

    def close(self):
        self.x.XCloseDisplay(self.d)

    def pixel(self, sx, sy):
        image = self.x.XGetImage(self.d, self.root, sx, sy, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        p = self.x.XGetPixel(image, 0, 0)
        self.x.XDestroyImage(image)
        return ((p >> 16) & 255, (p >> 8) & 255, p & 255)

    def button(self, down):
        self.t.XTestFakeButtonEvent(self.d, 1, 1 if down else 0, 0)
        self.x.XFlush(self.d)


def near(p, colour, tolerance=6):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


class Pacing(TestCase):
    def make_game(self, name, script, slowdown):
        # The program's clock slowed: its due changes and the waits between them N times longer,
        # so that what is timed here stands far above a busy machine's delays.
        g = Game(self, name, clock_slowdown=slowdown)
        g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                     'ProductID': 'MorvanePacing'}})
        g.write('img/back.png', png_rgba(800, 600, lambda x, y: BACK + (255,)))
        g.write('img/sys_box_normal.png', png_rgba(800, 200, lambda x, y: BOX + (255,)))
        g.write('img/sys_box_prompt.png',
                png_rgba(24, 192, lambda x, y: PROMPT[y // 24] + (255,)))
        g.write_text('script/start.txt', script)
        return g

    def quit(self, g):
        g.close()
        wininfo('command', g.wait_dialog(20)['hwnd'], IDYES)
        self.assertEqual(0, g.wait_exit(30))

    def test_the_prompt_animates_at_its_rate(self):
        script = '.fade 0\n.img 0 back.png\nAki:{%s}\n.\n' % MESSAGE
        with self.make_game('prompt_rate', script, PROMPT_SLOWDOWN) as g:
            g.start()
            g.wait_window()
            g.move(30, 30)
            display = Display()
            try:
                cx, cy = g.window()['client'][:2]
                # The prompt stands right after the text, on its first line: find it.
                def prompt_at():
                    shot = g.screenshot(60, 460, 400, 40)
                    for y in range(0, 40, 2):
                        for x in range(0, 400, 2):
                            p = shot.pixel(x, y)
                            if p[0] > 240 and p[2] < 16 and any(near(p, c) for c in PROMPT):
                                return 60 + x + 4, 460 + y + 4
                    return None
                where = wait_until(prompt_at)
                self.assertTrue(where, 'no prompt appeared')
                px, py = cx + where[0], cy + where[1]
                samples = []
                end = time.time() + 3.0 * PROMPT_SLOWDOWN
                while time.time() < end:
                    p = display.pixel(px, py)
                    frame = next((k for k, c in enumerate(PROMPT) if near(p, c)), None)
                    samples.append((time.time(), frame))
                    time.sleep(0.003)
            finally:
                display.close()
            frames = [f for _, f in samples]
            self.assertNotIn(None, frames, 'the prompt showed something else')
            changes = [(t, f) for (t, f), (_, before) in zip(samples[1:], samples) if f != before]
            self.assertEqual(set(range(8)), {f for _, f in samples}, 'not all eight frames were seen')
            # In order, one frame at a time.
            previous = samples[0][1]
            for _, f in changes:
                self.assertEqual((previous + 1) % 8, f, 'the prompt jumped from %d to %d' % (previous, f))
                previous = f
            intervals = [b - a for (a, _), (b, _) in zip(changes, changes[1:])]
            median = statistics.median(intervals) * 1000
            print('prompt frames: %d changes in %d s, median %.1f ms apart (min %.1f, max %.1f), '
                  'the clock %d times slower' % (len(changes), 3 * PROMPT_SLOWDOWN, median,
                                                 min(intervals) * 1000, max(intervals) * 1000,
                                                 PROMPT_SLOWDOWN))
            median /= PROMPT_SLOWDOWN
            self.assertTrue(118 <= median <= 138, 'the prompt changes every %.1f ms' % median)
            self.assertGreaterEqual(len(changes), 20)
            self.quit(g)

    def test_a_click_is_taken_at_once(self):
        # A wait for a click (nothing due: the loop waits its longest) and a message (the prompt
        # due every 128 ms), by turns: the message window appears and goes at each click.
        script = '.fade 0\n.img 0 back.png\n' + '.wait\nAki:{%s}\n' % MESSAGE * 6 + '.wait\n'
        with self.make_game('click_latency', script, CLICK_SLOWDOWN) as g:
            g.start()
            g.wait_window()
            g.move(30, 30)
            display = Display()
            latencies = {True: [], False: []}  # by whether the box was shown before the click
            try:
                cx, cy = g.window()['client'][:2]
                bx, by = cx + 700, cy + 580  # in the box, away from the text and the prompt

                def box_shown():
                    return near(display.pixel(bx, by), BOX)
                self.assertTrue(wait_until(lambda: near(display.pixel(bx, by), BACK)),
                                'the picture did not show')
                for _ in range(12):
                    time.sleep(0.4)  # at rest: the loop waits for the next due change
                    shown = box_shown()
                    start = time.time()
                    display.button(True)
                    display.button(False)
                    while box_shown() == shown and time.time() - start < 5:
                        pass
                    elapsed = (time.time() - start) * 1000
                    self.assertNotEqual(shown, box_shown(), 'the click was not taken')
                    latencies[shown].append(elapsed)
            finally:
                display.close()
            for shown, name, sleep in ((False, 'wait for a click', 500), (True, 'message', 128)):
                values = latencies[shown]
                median = statistics.median(values)
                print('click to screen at a %s: median %.1f ms, %s (the clock %d times slower)'
                      % (name, median, ' '.join('%.1f' % v for v in values), CLICK_SLOWDOWN))
                # Sleeping through the click would give half the loop's sleep at the median.
                self.assertLess(median, sleep * CLICK_SLOWDOWN / 4,
                                'the %s sleeps through clicks' % name)
            self.quit(g)


if __name__ == '__main__':
    main()
