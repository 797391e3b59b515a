"""The main window of the whole program: its size and caption from the configuration (inside an
enciphered archive), the quit confirmation, the presentation of an odd width and the
single-instance guard."""
import os
import struct
import subprocess
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import (BUILD, CODEPAGE, Game, TestCase, main, text_file, wait_until,  # noqa: E402
                  wininfo)

IDYES, IDNO = 6, 7
DESKTOP = (1280, 1024)

if CODEPAGE == 'cp932':
    TITLE = 'テストゲーム'
    QUIT_TEXT = '終了しますか？'
else:
    TITLE = '测试游戏'
    QUIT_TEXT = '结束游戏？'


def setUpModule():
    # The first window query after the display starts brings up Wine's desktop process, which
    # would hold the query's output pipe open: start it with no pipe.
    subprocess.run(['wine', os.path.join(BUILD, 'tests', 'harness', 'wininfo.exe'), 'dialogs'],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=60, check=False)


def png_rgb(width, height, pixel):
    """An 8-bit RGB PNG; pixel(x, y) gives (r, g, b)."""
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def config_files(sections):
    body = ''.join('[%s]\n' % s + ''.join('%s=%s\n' % kv for kv in keys.items())
                   for s, keys in sections.items())
    return [('config\\config.txt', text_file('system.txt\n'), 1),
            ('config\\system.txt', text_file(body), 1)]


def make_game(test, name, width=800, height=600, product='', title=TITLE):
    g = Game(test, name)
    g.config({'System.Info': {'Title': title},
              'System.Setting': {'ScreenWidth': str(width), 'ScreenHeight': str(height),
                                 'ProductID': product}},
             archive='system.dat')
    # A message waits for a click, so the program keeps running.
    g.write_text('script/start.txt', 'Hello\n.\n')
    return g


def answer_close(g, answer, window=None):
    """Asks the window to close; returns the quit box after answering it (once it has gone)."""
    g.close(window)
    box = g.wait_dialog()
    texts = [c['text'] for c in g.children(box) if c['class'].lower() == 'static']
    g.answer_dialog(answer, box)
    return box, texts


class Window(TestCase):
    def test_size_and_caption_come_from_the_enciphered_configuration(self):
        with make_game(self, 'size_title') as g:
            g.start()
            w = g.wait_window()
            self.assertEqual((800, 600), w['client'][2:])
            wx, wy, ww, wh = w['window']
            self.assertEqual(((DESKTOP[0] - ww) // 2, (DESKTOP[1] - wh) // 2), (wx, wy))
            # The caption is set just after the window shows.
            self.assertTrue(wait_until(lambda: g.window()['text'] == TITLE.encode(CODEPAGE)),
                            g.window()['text'])
            answer_close(g, IDYES)
            self.assertEqual(0, g.wait_exit())

    def test_a_second_reading_of_the_configuration_keeps_the_screen_size(self):
        with make_game(self, 'second_reading', title='First') as g:
            # Read only once all archives are indexed: a higher priority, another size and title.
            g.archive('patch.dat', config_files({
                'System.Info': {'Title': 'Second'},
                'System.Setting': {'ScreenWidth': '1024', 'ScreenHeight': '768'}}), priority=5)
            g.start()
            g.wait_window()
            self.assertTrue(wait_until(lambda: g.window()['text'] == b'Second'), g.window()['text'])
            self.assertEqual((800, 600), g.window()['client'][2:])
            time.sleep(1)
            self.assertTrue(g.running())
            answer_close(g, IDYES)
            self.assertEqual(0, g.wait_exit())

    def test_closing_asks_first_and_only_yes_ends_the_program(self):
        with make_game(self, 'quit_box') as g:
            g.start()
            g.wait_window()
            box, texts = answer_close(g, IDNO)
            self.assertIn(QUIT_TEXT.encode(CODEPAGE), texts)
            self.assertEqual(TITLE.encode(CODEPAGE), box['text'])  # the box's caption
            time.sleep(1)
            self.assertTrue(g.running(), 'No ended the program')
            answer_close(g, IDYES)
            self.assertEqual(0, g.wait_exit())

    def test_an_odd_width_presents_rows_unsheared(self):
        w, h = 642, 480
        with make_game(self, 'odd_width', w, h) as g:
            # The message box picture is drawn at (0, 400): stripes that a shear would bend.
            g.write('img/sys_box_normal.png',
                    png_rgb(w, 200, lambda x, y: (x & 0xFF, y, 255 if x % 4 == 0 else 0)))
            g.start()
            g.wait_window()
            self.assertEqual((w, h), g.window()['client'][2:])

            def wrong():
                shot = g.screenshot(0, 400, w, 60)
                return [(x, y) for y in range(0, 60, 4) for x in range(w)
                        if shot.pixel(x, y) != (x & 0xFF, y, 255 if x % 4 == 0 else 0)]
            wait_until(lambda: not wrong())
            self.assertEqual([], wrong()[:10])
            answer_close(g, IDYES)
            self.assertEqual(0, g.wait_exit())


class SingleInstance(TestCase):
    def test_a_second_start_restores_the_first_and_ends(self):
        with make_game(self, 'single', product='MorvaneSingleTest') as g:
            first = g.start()
            w = g.wait_window()
            wininfo('minimize', w['hwnd'])
            self.assertTrue(wait_until(lambda: g.window()['iconic'] == '1'))
            second = g.start()
            self.assertEqual(0, g.wait_exit(proc=second))
            self.assertTrue(g.running(first))
            self.assertTrue(wait_until(lambda: g.window()['iconic'] == '0'),
                            'the first window was not restored')
            self.assertEqual(1, len(g.windows()))
            answer_close(g, IDYES)
            self.assertEqual(0, g.wait_exit(proc=first))

    def test_without_product_id_two_run_side_by_side(self):
        with make_game(self, 'side_by_side') as g:
            first = g.start()
            g.wait_window()
            second = g.start()
            g.wait_window(count=2)
            time.sleep(1)
            self.assertTrue(g.running(first) and g.running(second))
            for w in g.windows():
                answer_close(g, IDYES, w)
            self.assertEqual(0, g.wait_exit(proc=first))
            self.assertEqual(0, g.wait_exit(proc=second))


if __name__ == '__main__':
    main()
