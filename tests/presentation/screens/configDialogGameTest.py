"""Whole program: the configuration dialog driven by real keys and clicks.

Esc opens it over the disabled main window; a click and End move the unread-text slider to its end,
a click on the first tab and Right go to the input page, and the right button's list takes a click,
Down and Return. OK writes "morvane.cfg" with exactly those changes (and Space's default, which its
list does not offer, as the list's first action); OK on a file whose every value the pages can
show rewrites the same bytes; Cancel and Esc write nothing. The version page copies its report to
the clipboard with the facts of the system it runs on (Windows XP as Wine is told to report it).
The sound group acts at once (the music test button stops the music, the voice checkbox disables
its test button), and Cancel brings back the music that played, as heard on the null sink.
The texts are the configuration's own.
"""
import os
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'media'))
from mediaFixtures import AMPLITUDE, ogg  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'harness'))
from game import (BUILD, CODEPAGE, CONFIG, AudioCapture, Game, TestCase, _run, default_settings,  # noqa: E402
                  clipboard_text, combo_items, main, processor_brand, wait_until, wininfo, xdotool)

IDOK, IDCANCEL, IDYES = 1, 2, 6
DIALOG = 'NovelConfigDLG'
TITLE = 'Quellwood'
VENDOR = 'MorvaneWorks'
VERSION = '2.5'
DATE = '2004/07/15'
PLAY, STOP = '再生'.encode(CODEPAGE), '停止'.encode(CODEPAGE)  # the music test button
MUSIC_LEVEL = AMPLITUDE * 0.5     # the music at its default volume 50: -6 dB

if CONFIG == 'earlier':
    CAPTION = 'コンフィグ'
    CANCEL = 'キャンセル'
    SE_BOX = '効果音'
    SYSTEM_VERSION, BUILD_DATE = '1.03', '2004/06/15'
    LAST_ACTION = 'コンフィグ'   # the right button's list ends with the configuration
    NAVI = 'ナビ表示'
    HEADING = 'バージョン情報（サポート宛のメールに貼り付けて下さい）'
else:
    CAPTION = '设置　　　'
    CANCEL = 'Cancel    '
    SE_BOX = '效果音'
    SYSTEM_VERSION, BUILD_DATE = '1.03b', '2004/07/15'
    LAST_ACTION = '向导　　'     # the flow chart, offered last
    NAVI = '向导　　'
    HEADING = 'Version信息（請將Support郵件地址粘貼如下）            '


def setUpModule():
    # The first window query after the display starts brings up Wine's desktop process, which
    # would hold the query's output pipe open: start it with no pipe.
    _run([os.path.join(BUILD, 'tests', 'harness', 'wininfo.exe'), 'dialogs'], check=False, timeout=60)


def prepared_settings():
    """A file every page shows as it is: reserved bytes set, every action in its list."""
    b = default_settings()
    b[48:308] = b'\xA5' * 260
    struct.pack_into('<III', b, 0, 1, 3, 7)
    b[12] = 2                                   # Gothic
    b[41:48] = bytes([1, 1, 1, 1, 1, 0, 1])     # colours, cursor, caption, skip all, boss key
    b[308:313] = bytes([12, 11, 22, 20, 14])
    b[313:316] = bytes([24, 17, 0])
    b[325:333] = bytes([2, 3, 9, 10, 12, 14, 16, 22])
    return bytes(b)


def heard_for(rec, level, seconds):
    """Whether the recording holds that many seconds after its first sound of the level."""
    on = rec.onset(level)
    return on is not None and rec.seconds >= on + seconds


class ConfigDialog(TestCase):
    def make_game(self, name, settings=None):
        g = Game(self, name)
        g.config({'System.Info': {'Title': TITLE, 'Vendor': VENDOR,
                                  'Version': VERSION, 'Date': DATE},
                  'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600'}})
        g.write_text('script/start.txt', 'Hello\n.\nSecond\n.\n')
        if settings is not None:
            g.write_save('morvane.cfg', settings)
        return g

    def quit(self, g):
        g.close()
        box = g.wait_dialog(20)
        wininfo('command', box['hwnd'], IDYES)
        self.assertEqual(0, g.wait_exit(30))

    def open_dialog(self, g):
        """Esc on the main window; the dialog, with the keyboard focus on its own X window."""
        # A press that X delivered before the new window held the focus is lost: the key is
        # pressed again while no dialog came, up to three times.
        for attempt in range(3):
            g.key('Escape')
            if wait_until(lambda: any(w.get('visible') == '1' for w in g.windows(DIALOG)), 10):
                break
        d = g.wait_window(DIALOG)
        # Let the dialog's pages come up fully before they are clicked.
        wait_until(lambda: self.controls(d, 'SysTabControl32'))
        g.focus(d)
        return d

    def controls(self, d, cls, visible=True):
        found = [c for c in wininfo('children', d['hwnd']) if c['class'].lower() == cls.lower()]
        return [c for c in found if not visible or c['visible'] == '1']

    def button(self, d, control_id):
        return [c for c in wininfo('children', d['hwnd']) if c['id'] == str(control_id)][0]

    def wait_closed(self, g):
        self.assertTrue(wait_until(lambda: not g.windows(DIALOG)), 'the dialog stayed open')
        self.assertTrue(wait_until(lambda: g.window()['enabled'] == '1'))

    def click_centre(self, g, c):
        _, _, w, h = c['client']
        g.click_window(c, w // 2, h // 2)

    def click_tab(self, g, d, index):
        """A click on a tab of the tab control (the tabs' strip is along its top)."""
        g.click_window(self.controls(d, 'SysTabControl32')[0], 20 + 70 * index, 10)

    def test_frame_keys_and_the_bytes_that_ok_writes(self):
        with self.make_game('dialog_ok') as g:
            g.start()
            main_window = g.wait_window()
            d = self.open_dialog(g)
            self.assertEqual(CAPTION.encode(CODEPAGE), d['text'])
            self.assertEqual((629, 453), d['client'][2:])
            self.assertEqual(main_window['hwnd'], d['owner'])
            self.assertEqual('0', g.window()['enabled'])
            wx, wy, ww, wh = d['window']
            self.assertEqual(((1280 - ww) // 2, (1024 - wh) // 2), (wx, wy))

            # The unread-text slider is the topmost slider of the basic page.
            unread = min(self.controls(d, 'msctls_trackbar32'), key=lambda c: c['window'][1])
            self.click_centre(g, unread)
            xdotool('key', 'End')
            self.click_tab(g, d, 0)
            xdotool('key', 'Right')
            self.assertTrue(wait_until(lambda: self.controls(d, 'ComboBox')),
                            'the input page did not show')
            right = min(self.controls(d, 'ComboBox'), key=lambda c: (c['window'][1], c['window'][0]))
            self.click_centre(g, right)
            time.sleep(0.5)
            xdotool('key', 'Down')
            xdotool('key', 'Return')
            self.assertTrue(wait_until(lambda: combo_items(right)[1] == 1))
            self.click_centre(g, self.button(d, IDOK))
            self.wait_closed(g)

            expected = default_settings()
            expected[0] = 4        # unread-text speed at its end
            expected[308] = 12     # the right button hides the window
            expected[312] = 4      # Space: its list's first action, its default not being in it
            self.assertEqual(bytes(expected), g.save('morvane.cfg'))
            self.quit(g)

    def test_ok_keeps_a_file_the_pages_can_show_and_cancel_and_esc_write_nothing(self):
        prepared = prepared_settings()
        with self.make_game('dialog_keep', prepared) as g:
            g.start()
            g.wait_window()
            d = self.open_dialog(g)
            self.click_centre(g, self.button(d, IDOK))
            self.wait_closed(g)
            self.assertEqual(prepared, g.save('morvane.cfg'))

            stamp = os.stat(g.save_path('morvane.cfg')).st_mtime_ns
            d = self.open_dialog(g)
            unread = min(self.controls(d, 'msctls_trackbar32'), key=lambda c: c['window'][1])
            self.click_centre(g, unread)
            xdotool('key', 'End')
            self.click_centre(g, self.button(d, IDCANCEL))
            self.wait_closed(g)
            self.assertEqual(prepared, g.save('morvane.cfg'))

            d = self.open_dialog(g)
            xdotool('key', 'Escape')
            self.wait_closed(g)
            self.assertEqual(prepared, g.save('morvane.cfg'))
            self.assertEqual(stamp, os.stat(g.save_path('morvane.cfg')).st_mtime_ns)
            self.quit(g)

    def test_version_report_on_the_clipboard(self):
        key = r'HKCU\Software\Wine\AppDefaults\system.exe'
        _run(['wine', 'reg', 'add', key, '/v', 'Version', '/d', 'winxp', '/f'], timeout=60)
        self.addCleanup(_run, ['wine', 'reg', 'delete', key, '/f'], timeout=60, check=False)
        with self.make_game('dialog_version') as g:
            g.start()
            g.wait_window()
            d = self.open_dialog(g)
            self.click_tab(g, d, 2)
            self.assertTrue(wait_until(lambda: self.button(d, 999)['visible'] == '1'))
            self.click_centre(g, self.button(d, 999))
            self.assertTrue(wait_until(lambda: clipboard_text() and b'[System info]' in clipboard_text(),
                                       10), 'no report on the clipboard')
            report = clipboard_text()
            colon = '：'.encode(CODEPAGE)

            def line(label, section=b'['):
                """The value after a label, in the section whose heading begins so."""
                start = report.index(b'\r\n' + label + colon, report.index(section))
                start += len(label) + len(colon) + 2
                return report[start:report.index(b'\r\n', start)]

            with open('/proc/meminfo') as f:
                kb = [int(l.split()[1]) for l in f if l.startswith('MemTotal')][0]
            mb = kb * 1024 // 1048576
            memory = '%d MB' % mb if mb < 1024 else '%d GB' % (mb // 1024)

            self.assertTrue(report.startswith(HEADING.encode(CODEPAGE) + b'\r\n' + b'-' * 64 + b'\r\n'))
            self.assertTrue(report.endswith(b'\r\n\r\n' + b'-' * 64 + b'\r\n'))
            self.assertEqual(b'Microsoft Windows XP  (5.1.2600)', line(b'OS'))
            self.assertEqual(b'DirectX 9.0 (4.09.00.0904)', line(b'DirectX'))
            self.assertEqual(processor_brand(), line(b'CPU').strip())
            self.assertEqual(memory.encode(), line(b'RAM'))
            self.assertRegex(line(b'VRAM'), rb'^\d+ MB$')
            self.assertEqual(TITLE.encode(), line(b'Title'))
            self.assertEqual(VENDOR.encode(), line(b'Vendor'))
            self.assertEqual(VERSION.encode(), line(b'Version', b'[Product info]'))
            self.assertEqual(DATE.encode(), line(b'Release'))
            self.assertEqual(b'Morvane Novel System', line(b'Name'))
            self.assertEqual(SYSTEM_VERSION.encode(), line(b'Version', b'[System version]'))
            self.assertEqual(BUILD_DATE.encode(), line(b'Build'))
            # The gamepad line and the missing features stay on the page.
            self.assertNotIn(b'DirectDraw', report)
            self.click_centre(g, self.button(d, IDCANCEL))
            self.wait_closed(g)
            self.quit(g)

    def test_sound_group_acts_at_once_and_cancel_brings_the_music_back(self):
        with self.make_game('dialog_sound') as g:
            ogg(g.path('data/bgm/music.ogg'), [(1.0, 440)])
            g.write_text('script/start.txt', '.bgm music.ogg\nHello\n.\n')
            with AudioCapture(g.path('sink.raw')) as audio:
                g.start()
                g.wait_window()
                # The music is heard (a second of it) before the dialog opens.
                self.assertTrue(wait_until(lambda: heard_for(audio.so_far(), MUSIC_LEVEL / 4, 1.0)),
                                'no music before the dialog')
                d = self.open_dialog(g)
                self.assertEqual(STOP, self.button(d, 504)['text'])
                self.assertEqual('1', self.button(d, 505)['enabled'])
                # The music test button stops the music at once.
                self.click_centre(g, self.button(d, 504))
                self.assertTrue(wait_until(lambda: self.button(d, 504)['text'] == PLAY))
                # The voice checkbox disables its test button at once.
                self.click_centre(g, self.button(d, 501))
                self.assertTrue(wait_until(lambda: self.button(d, 505)['enabled'] == '0'))
                time.sleep(2.0)
                self.click_centre(g, self.button(d, IDCANCEL))
                self.wait_closed(g)
                time.sleep(2.0)  # the remembered music again, at the stored volume

                # Nothing was stored: the next opening shows the music playing and the voice on.
                d = self.open_dialog(g)
                self.assertEqual(STOP, self.button(d, 504)['text'])
                self.assertEqual('1', self.button(d, 505)['enabled'])
                self.click_centre(g, self.button(d, IDCANCEL))
                self.wait_closed(g)
                self.assertIsNone(g.save('morvane.cfg'))
                self.quit(g)
                rec = audio.stop()

        t0 = rec.onset(MUSIC_LEVEL / 4)
        self.assertIsNotNone(t0, 'no music')
        self.assertAlmostEqual(MUSIC_LEVEL, rec.tone_steady(440, t0 + 0.2, t0 + 1.0),
                               delta=MUSIC_LEVEL * 0.2)
        # Stopped for the two seconds the dialog showed it stopped, then back at its level.
        gaps = [r for r in rec.silent_runs(MUSIC_LEVEL / 20, t0 + 0.5, rec.seconds) if r[1] > 1.5]
        self.assertTrue(gaps, 'the test button did not stop the music')
        back = gaps[0][0] + gaps[0][1]
        self.assertLess(gaps[0][1], 6.0, 'the music did not come back after Cancel')
        self.assertAlmostEqual(MUSIC_LEVEL, rec.tone_steady(440, back + 0.2, back + 1.2),
                               delta=MUSIC_LEVEL * 0.2)

    def test_texts_of_the_configuration(self):
        with self.make_game('dialog_texts') as g:
            g.start()
            g.wait_window()
            d = self.open_dialog(g)
            every = wininfo('children', d['hwnd'])
            texts = [c['text'] for c in every]
            self.assertEqual(CANCEL.encode(CODEPAGE), self.button(d, IDCANCEL)['text'])
            self.assertEqual(b'OK', self.button(d, IDOK)['text'])
            self.assertEqual(SE_BOX.encode(CODEPAGE), self.button(d, 502)['text'])
            self.assertIn(SYSTEM_VERSION.encode(), texts)
            self.assertIn(BUILD_DATE.encode(), texts)
            self.assertIn(b'Morvane Novel System', texts)
            combos = [c for c in every if c['class'].lower() == 'combobox']
            self.assertEqual(25, len(combos))
            right = min(combos, key=lambda c: (c['window'][1], c['window'][0]))
            items, selected = combo_items(right)
            self.assertEqual(0, selected)
            self.assertEqual(LAST_ACTION, items[-1])
            every_item = [i for c in combos for i in combo_items(c)[0]]
            if CONFIG == 'earlier':
                self.assertNotIn(NAVI, every_item)
            else:
                self.assertEqual(25, every_item.count(NAVI))
            xdotool('key', 'Escape')
            self.wait_closed(g)
            self.quit(g)


if __name__ == '__main__':
    main()
