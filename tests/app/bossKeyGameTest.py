"""Whole program: the popup system menu and the three modes of the boss key.

A right click opens the menu (a "#32768" window) at the click, and its mnemonic "c" chooses the
configuration dialog; the Apps key opens it at the last mouse position. F1 is bound to the boss key
(action 24): mode 0 hides the game behind a tray icon whose click brings it back, mode 1 minimises
it with Notepad's caption and icon until it is restored, mode 2 saves slot 0 with the quick-save
memo and ends the program without asking. A script writes its progress into a global variable, so
the test sees a message advance by reading "flagdata.000".
"""
import os
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import (BUILD, CODEPAGE, CONFIG, Game, TestCase, _run, default_settings,  # noqa: E402
                  main, screenshot_screen, wait_until, wininfo, xdotool)

IDCANCEL, IDYES = 2, 6
TITLE = 'Quellwood'
NOTEPAD = '無題 - メモ帳'
# The boss key's memo "クイックセーブ" in the configuration's own encoding, GBK or Shift-JIS.
BOSS_KEY_MEMO = bytes.fromhex('a5af a5a4 a5c3 a5af a5bb a960 a5d6' if CONFIG == 'full' else
                              '834e 8343 8362 834e 835a 815b 8375')

SCRIPT = '?step = 1\nFirst\n?step = 2\nSecond\n?step = 3\nThird\n'


def setUpModule():
    # The first window query after the display starts brings up Wine's desktop process, which
    # would hold the query's output pipe open: start it with no pipe.
    _run([os.path.join(BUILD, 'tests', 'harness', 'wininfo.exe'), 'dialogs'], check=False, timeout=60)


def settings(boss_mode):
    """The settings defaults with F1 bound to the boss key and the given boss-key mode."""
    b = default_settings()
    b[47] = boss_mode
    b[313] = 24                                 # F1: the boss key
    return bytes(b)


def violet(p):
    """Pixels of the game's own icon (a violet disc)."""
    r, g, b = p
    return b - g > 60 and r - g > 25


def notepad_white(p):
    return min(p) > 235


class PopupMenuAndBossKey(TestCase):
    def make_game(self, name, boss_mode=0):
        g = Game(self, name)
        g.config({'System.Info': {'Title': TITLE},
                  'System.Setting': {'ScreenWidth': '640', 'ScreenHeight': '480'},
                  'Define.Flag': {'G000': 'step'}})
        g.write_save('morvane.cfg', settings(boss_mode))
        g.write_text('script/start.txt', SCRIPT)
        return g

    def step(self, g):
        data = g.save('flagdata.000')
        return struct.unpack_from('<i', data)[0] if data and len(data) == 4000 else 0

    def wait_step(self, g, n):
        self.assertTrue(wait_until(lambda: self.step(g) == n, 20), 'at step %d' % self.step(g))

    def quit(self, g):
        g.close()
        box = g.wait_dialog(20)
        wininfo('command', box['hwnd'], IDYES)
        self.assertEqual(0, g.wait_exit(30))

    def menus(self):
        return [m for m in wininfo('find', '#32768') if m['visible'] == '1']

    def test_menu_at_the_right_click_and_its_mnemonic(self):
        with self.make_game('menu_click') as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            g.focus()
            g.click(200, 150, button=3)
            self.assertTrue(wait_until(self.menus, 10), 'no popup menu')
            menu = self.menus()[0]
            ox, oy = g.window()['client'][:2]
            self.assertEqual((ox + 200, oy + 150), menu['window'][:2])
            self.assertEqual('0', g.window()['enabled'])
            xdotool('key', 'c')
            d = g.wait_window('NovelConfigDLG')
            self.assertFalse(self.menus())
            wininfo('command', d['hwnd'], IDCANCEL)
            self.assertTrue(wait_until(lambda: not g.windows('NovelConfigDLG')))
            self.assertTrue(wait_until(lambda: g.window()['enabled'] == '1'))
            self.quit(g)

    def test_apps_key_opens_the_menu_at_the_last_mouse_point(self):
        with self.make_game('menu_apps') as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            g.focus()
            g.move(320, 240)  # returns once a poll has read the cursor there
            xdotool('key', 'Menu')
            self.assertTrue(wait_until(self.menus, 10), 'no popup menu')
            ox, oy = g.window()['client'][:2]
            self.assertEqual((ox + 320, oy + 240), self.menus()[0]['window'][:2])
            xdotool('key', 'Escape')
            self.assertTrue(wait_until(lambda: not self.menus()))
            self.assertTrue(wait_until(lambda: g.window()['enabled'] == '1'))
            self.quit(g)

    def test_mode_0_hides_behind_a_tray_icon_that_brings_it_back(self):
        with self.make_game('boss_tray', 0) as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            g.key('F1')
            self.assertTrue(wait_until(lambda: g.window()['visible'] == '0', 10), 'still visible')

            def icons():
                return [c for t in wininfo('find', '__winex11_standalone_tray')
                        for c in wininfo('children', t['hwnd'])
                        if c['class'] == '__winex11_tray_icon' and c['visible'] == '1']
            self.assertTrue(wait_until(icons, 10), 'no tray icon')
            icon = icons()[0]
            x, y, w, h = icon['window']
            self.assertGreater(screenshot_screen(x, y, w, h).count(violet), 20)
            xdotool('mousemove', x + w // 2, y + h // 2)
            xdotool('click', 1)
            self.assertTrue(wait_until(lambda: g.window()['visible'] == '1', 10), 'not shown again')
            self.assertTrue(wait_until(lambda: not icons(), 10), 'the tray icon stayed')
            self.assertEqual(1, self.step(g))
            g.click(300, 200)
            self.wait_step(g, 2)
            self.quit(g)

    def test_mode_1_disguises_as_notepad_until_restored(self):
        with self.make_game('boss_notepad', 1) as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            self.assertTrue(wait_until(lambda: g.class_icon().count(violet) > 20))
            g.key('F1')
            self.assertTrue(wait_until(lambda: g.window()['iconic'] == '1', 10), 'not minimised')
            self.assertTrue(wait_until(lambda: g.window()['text'] == NOTEPAD.encode(CODEPAGE), 10),
                            g.window()['text'])
            icon = g.class_icon()
            self.assertEqual(0, icon.count(violet))
            self.assertGreater(icon.count(notepad_white), 20)
            time.sleep(2.5)  # the idle timer's caption refresh keeps the disguise
            self.assertEqual(NOTEPAD.encode(CODEPAGE), g.window()['text'])
            g.restore()
            self.assertTrue(wait_until(lambda: g.window()['iconic'] == '0'))
            self.assertTrue(wait_until(lambda: g.window()['text'] == TITLE.encode(), 10),
                            g.window()['text'])
            self.assertTrue(wait_until(lambda: g.class_icon().count(violet) > 20))
            g.click(300, 200)
            self.wait_step(g, 2)
            self.quit(g)

    def test_mode_2_ends_without_asking(self):
        with self.make_game('boss_quit', 2) as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            g.key('F1')
            # The quit question would keep the program running.
            self.assertEqual(0, g.wait_exit(30))

    def test_mode_2_saves_slot_0_with_the_quick_save_memo(self):
        with self.make_game('boss_save', 2) as g:
            g.start()
            g.wait_window()
            self.wait_step(g, 1)
            g.key('F1')
            self.assertEqual(0, g.wait_exit(30))
            slot = g.save('savedata.000')
            self.assertIsNotNone(slot, 'no quick save')
            # The memo field: its 14 bytes, the rest zero.
            self.assertEqual(BOSS_KEY_MEMO.ljust(256, b'\0'), slot[528:528 + 256])


if __name__ == '__main__':
    main()
