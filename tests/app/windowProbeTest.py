"""The main window, its key tables and the input latch, driven by real X input.

The probe program (windowProbe.cpp) runs the real window procedure and pollInput and prints every
command they latch, so these tests see exactly what a waiting loop of the game would see. They wait
for the probe's reports, never for a time: a key that latches nothing is followed by one that does,
and the next key waits until a read mode that consumes one command (skip, hidden) has ended."""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import (BUILD, CODEPAGE, Game, TestCase, main, screenshot_screen, wait_for,  # noqa: E402
                  wait_until, xdotool)

PROBE = os.path.join(BUILD, 'tests', 'app', 'windowProbe.exe')
IDYES, IDNO = 6, 7


def setUpModule():
    # The first window query after the display starts brings up Wine's desktop process, which
    # would hold the query's output pipe open: start it with no pipe.
    subprocess.run(['wine', os.path.join(BUILD, 'tests', 'harness', 'wininfo.exe'), 'dialogs'],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=60, check=False)


class Probe:
    def __init__(self, test, name, width=640, height=480, mode=0, full=False):
        self.game = Game(test, name, exe=PROBE)
        self.args = (str(width), str(height), str(mode)) + (('full',) if full else ())

    def __enter__(self):
        self.game.__enter__()
        self.game.start(*self.args)
        # Window queries only once the start-up is over (one that arrives during a switch to full
        # screen can stall in the platform).
        wait_for(lambda: 'ready' in self.game.log_text(), 'the probe did not start')
        self.window = self.game.wait_window()
        return self

    def __exit__(self, *exc):
        return self.game.__exit__(*exc)

    def commands(self):
        out = []
        for line in self.game.log_text().splitlines():
            m = re.match(r'command (\d+) readmode (\d+) index (-?\d+) mouse (-?\d+) (-?\d+)', line)
            if m:
                out.append(tuple(int(v) for v in m.groups()))
        return out

    def ids(self):
        return [c[0] for c in self.commands()]

    def wait_commands(self, n):
        wait_for(lambda: len(self.commands()) >= n, 'no command %d; got %s' % (n, self.ids()))
        return self.ids()

    def read_modes(self):
        return [int(m) for m in re.findall(r'^readmode (\d+)', self.game.log_text(), re.M)]

    def wait_read_mode(self, mode, count):
        """Waits until the probe has reported the read mode count times."""
        wait_for(lambda: self.read_modes().count(mode) >= count,
                 'read mode %d not reached; modes %s' % (mode, self.read_modes()))

    def switches(self):
        return re.findall(r'^fullscreen (\d) (\d) (\d)', self.game.log_text(), re.M)

    def close_answer(self, answer):
        """Asks the window to close and answers the quit box; returns the box's text bytes."""
        self.game.close(self.window)
        box = self.game.wait_dialog()
        texts = [c['text'] for c in self.game.children(box) if c['class'].lower() == 'static']
        self.game.answer_dialog(answer, box)
        return texts


def quit_text():
    return '終了しますか？' if CODEPAGE == 'cp932' else '结束游戏？'


class Keys(TestCase):
    # key -> command in reading (0), menu (1) and screen (2) mode; None: nothing reaches the latch.
    KEYS = [
        ('Return', 2, 2, 2),
        ('Down', 2, 8, 8),
        ('Up', 14, 7, 7),
        ('Left', 5, 5, 5),
        ('Prior', 14, 14, 9),
        ('Next', None, None, 10),
        ('Insert', 17, 17, None),
        ('Delete', 18, 18, None),
        ('Home', 20, 20, None),
        ('End', 21, 21, None),
        ('shift+Home', 19, 19, None),
        ('shift+Right', 15, 15, None),
        ('Escape', 22, 22, 3),
        ('BackSpace', 14, 14, 3),
        ('KP_Add', 22, 22, None),
        ('space', 2, 2, 2),
        ('Menu', 11, 11, 11),
        ('alt+Return', 26, 26, 26),
        ('F1', None, None, None),  # unbound function key
        ('a', None, None, None),
    ]

    # A key that latches a command in every mode: it follows a key that latches nothing, so the
    # test knows that the probe has taken both (X delivers them in order).
    MARK = ('Return', 2)

    def run_mode(self, mode):
        with Probe(self, 'keys%d' % mode, mode=mode) as p:
            expected = []
            normal = 0  # reports of the normal read mode so far
            for key, *per_mode in self.KEYS:
                want = per_mode[mode]
                keys = [key] if want is not None else [key, self.MARK[0]]
                expected += [want] if want is not None else [self.MARK[1]]
                p.game.key(*keys)
                p.wait_commands(len(expected))
                self.assertEqual(expected, p.ids(), 'after %s in mode %d' % (key, mode))
                if mode == 0 and want in (15, 16):
                    # Skip mode ends at the next command, which it consumes: end it with a click
                    # and wait until it has ended (a key in the same pass would be consumed too).
                    normal += 1
                    p.game.click(5, 5)
                    p.wait_read_mode(0, normal)
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())

    def test_reading_mode(self):
        self.run_mode(0)

    def test_menu_mode(self):
        self.run_mode(1)

    def test_screen_mode(self):
        self.run_mode(2)

    def test_tab_hides_the_window_and_the_next_click_is_consumed(self):
        with Probe(self, 'tab') as p:
            p.game.key('Tab')
            p.wait_commands(1)
            self.assertEqual((12, 3), p.commands()[0][:2])
            p.game.click(40, 40)  # ends the hidden window; consumed, not reported
            p.wait_read_mode(0, 1)
            self.assertEqual(1, len(p.commands()))
            p.game.key('Return')
            p.wait_commands(2)
            self.assertEqual((2, 0), p.commands()[1][:2])
            self.assertEqual(2, len(p.commands()))
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())

    def test_ctrl_held_skips_while_the_window_is_active(self):
        with Probe(self, 'ctrl') as p:
            def skips():
                return re.findall(r'^skipping (\d)', p.game.log_text(), re.M)
            p.game.key_down('ctrl')
            self.assertTrue(wait_until(lambda: skips() == ['1']), skips())
            p.game.key_up('ctrl')
            self.assertTrue(wait_until(lambda: skips() == ['1', '0']), skips())
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())


class Mouse(TestCase):
    def test_buttons_and_wheel_per_mode(self):
        # X buttons: 1 left, 2 middle, 3 right, 4 wheel forward, 5 wheel back.
        for mode, expected in ((0, [1, 22, 11, 14, 4]), (2, [1, 3, 3, 9, 10])):
            with Probe(self, 'mouse%d' % mode, mode=mode) as p:
                for n, button in enumerate((1, 2, 3, 4, 5)):
                    p.game.click(123, 45, button)
                    p.wait_commands(n + 1)
                self.assertEqual(expected, p.ids())
                # The click carries its place in client coordinates.
                self.assertEqual((123, 45), p.commands()[0][3:5])
                p.close_answer(IDYES)
                self.assertEqual(0, p.game.wait_exit())


class Window(TestCase):
    def test_client_area_is_the_screen_size_centred(self):
        for w, h in ((640, 480), (800, 600), (642, 201)):
            with Probe(self, 'size%dx%d' % (w, h), w, h) as p:
                win = p.game.window()
                self.assertEqual((w, h), win['client'][2:])
                self.assertIn('ready %d %d' % (w, h), p.game.log_text())
                desk_w, desk_h = 1280, 1024
                wx, wy, ww, wh = win['window']
                self.assertEqual(((desk_w - ww) // 2, (desk_h - wh) // 2), (wx, wy))
                style = int(win['style'], 16)
                self.assertFalse(style & 0x00010000, 'no maximise box')
                self.assertFalse(style & 0x00040000, 'no sizing border')
                self.assertTrue(style & 0x00020000, 'a minimise box')
                p.close_answer(IDYES)
                self.assertEqual(0, p.game.wait_exit())

    def test_a_screen_larger_than_the_desktop_is_placed_at_the_origin(self):
        with Probe(self, 'large', 1400, 1100) as p:
            self.assertEqual((0, 0), p.game.window()['window'][:2])
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())

    def test_the_close_box_asks_and_only_yes_closes(self):
        with Probe(self, 'close') as p:
            texts = p.close_answer(IDNO)
            self.assertIn(quit_text().encode(CODEPAGE), texts)
            self.assertTrue(p.game.running())
            # Still running and taking input after the refusal.
            p.game.key('Return')
            p.wait_commands(1)
            self.assertEqual([2], p.ids())
            # The close box itself: the rightmost button of the caption.
            wx, wy, ww, _ = p.game.window()['window']
            cx, cy = p.game.window()['client'][:2]
            xdotool('mousemove', wx + ww - 12, wy + (cy - wy) // 2 + 1)
            xdotool('click', 1)
            p.game.answer_dialog(IDYES)
            self.assertEqual(0, p.game.wait_exit())
            self.assertIn('quit', p.game.log_text())

    def test_odd_width_presents_every_row_unsheared(self):
        w, h = 642, 201
        with Probe(self, 'odd', w, h) as p:
            def wrong_pixels():
                shot = p.game.screenshot()
                bad = [(x, y) for y in range(0, h, 5) for x in range(w)
                       if shot.pixel(x, y) != (x & 0xFF, y & 0xFF, 255 if x % 4 == 0 else 0)]
                return bad, shot
            wait_until(lambda: not wrong_pixels()[0])
            bad, shot = wrong_pixels()
            if bad:
                shot.save_png(os.path.join(p.game.root, 'odd.png'))
            self.assertEqual([], bad[:10], 'the presented picture differs from the back buffer')
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())


class FullScreen(TestCase):
    WS_POPUP, WS_CAPTION = 0x80000000, 0x00C00000

    def test_at_the_desktop_size_and_back_with_alt_enter(self):
        # Plain Xvfb offers display modes at its own size only: 1280 by 1024.
        with Probe(self, 'full', 1280, 1024, full=True) as p:
            self.assertIn('directdraw 1', p.game.log_text())
            self.assertEqual([('1', '1', '1')], p.switches())  # switched, on, settings byte on
            win = p.game.window()
            self.assertEqual((0, 0, 1280, 1024), win['window'])
            self.assertTrue(int(win['style'], 16) & self.WS_POPUP)
            # The frame reached the display through the frame surface.
            def wrong():
                shot = screenshot_screen(0, 0, 1280, 8)
                return [(x, y) for y in range(0, 8, 3) for x in range(0, 1280, 7)
                        if shot.pixel(x, y) != (x & 0xFF, y, 255 if x % 4 == 0 else 0)]
            wait_until(lambda: not wrong())
            self.assertEqual([], wrong()[:10])

            p.game.key('alt+Return')
            wait_for(lambda: len(p.switches()) == 2, 'no switch back: %s' % p.switches())
            self.assertEqual(('1', '0', '0'), p.switches()[1])
            win = p.game.window()
            self.assertTrue(int(win['style'], 16) & self.WS_CAPTION)
            self.assertFalse(int(win['style'], 16) & self.WS_POPUP)
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())

    def test_unavailable_without_a_display_mode_at_the_screen_size(self):
        with Probe(self, 'nofull', 640, 480, full=True) as p:
            self.assertIn('directdraw 0', p.game.log_text())
            self.assertEqual([('0', '0', '0')], p.switches())
            p.game.key('alt+Return')
            wait_for(lambda: len(p.switches()) == 2, 'no switch report: %s' % p.switches())
            self.assertEqual(('0', '0', '0'), p.switches()[1])
            win = p.game.window()
            self.assertEqual((640, 480), win['client'][2:])
            self.assertTrue(int(win['style'], 16) & self.WS_CAPTION)
            p.close_answer(IDYES)
            self.assertEqual(0, p.game.wait_exit())


if __name__ == '__main__':
    main()
