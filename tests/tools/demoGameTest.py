"""Whole program: the demo game, built by tools/demo/buildDemo into the test's own data folder,
starts with its title in the caption, types its first message and advances message by message on
clicks, up to the first line of a named (and voiced) speaker.

The demo's data comes from the build's cache (build/demo/cache), so after `make all` this only
converts the texts and copies the archives.
"""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'harness'))
from game import BUILD, CODEPAGE, CONFIG, Game, TestCase, main, wait_until, wininfo  # noqa: E402

BUILD_DEMO = os.path.join(HERE, '..', '..', 'tools', 'demo', 'buildDemo')
IDYES = 6

TITLE = '灯台の手紙' if CONFIG == 'earlier' else '灯塔的信'
# On an 800 by 600 screen the message box lies at (0, 400): its text area and its name plate.
TEXT_AREA = (80, 470, 560, 110)
NAME_PLATE = (30, 410, 220, 32)


def bright(image):
    """Where the image is near white (the message text; the click prompt is yellow and the box
    dark blue, so neither counts)."""
    return bytes(1 if min(image.rgb[i:i + 3]) >= 200 else 0 for i in range(0, len(image.rgb), 3))


def build_demo(g):
    root = os.path.dirname(os.path.abspath(BUILD))
    packer = os.path.join(root, 'native', 'tools', 'packer', 'packer')
    if not os.path.exists(packer):
        packer = os.path.join(BUILD, 'tools', 'packer', 'packer.exe')
    r = subprocess.run([sys.executable, BUILD_DEMO, root, g.path('data'), CONFIG, '--packer', packer],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
    if r.returncode != 0:
        raise AssertionError('buildDemo failed:\n' + r.stdout.decode(errors='replace'))


class Demo(TestCase):
    def settled_text(self, g, previous=None, timeout=60):
        """The text area's bright pixels once a message (other than previous) has typed out:
        more than a few of them, the same in two looks 0.4 s apart."""
        def look():
            return bright(g.screenshot(*TEXT_AREA))
        last = [None]

        def settled():
            now = look()
            if sum(now) < 40 or now == previous:
                last[0] = None
                return None
            if now == last[0]:
                return now
            last[0] = now
            time.sleep(0.4)
            return None
        found = wait_until(settled, timeout=timeout, step=0.1)
        self.assertTrue(found, 'no message settled in the message window')
        return found

    def test_starts_types_the_first_message_and_advances_on_clicks(self):
        with Game(self, 'demo_smoke', time_limit=180) as g:
            build_demo(g)
            for name in ('system.dat', 'data.dat', 'sound.dat', 'patch.dat', 'movie/intro.ogv'):
                self.assertTrue(os.path.exists(g.path('data/' + name)), name)
            g.start()
            w = g.wait_window(timeout=30)
            self.assertEqual(TITLE.encode(CODEPAGE), w['text'])

            # The first message (the title card and the opening movie come before it) is
            # narration: no name on the plate.
            first = self.settled_text(g, timeout=90)
            self.assertLess(sum(bright(g.screenshot(*NAME_PLATE))), 5, 'narration shows a name')

            # A click shows the second message in its place.
            g.click(400, 300)
            second = self.settled_text(g, previous=first)

            # The next click comes to Yukino's first line: her name on the plate.
            g.click(400, 300)
            self.settled_text(g, previous=second)
            self.assertTrue(wait_until(lambda: sum(bright(g.screenshot(*NAME_PLATE))) > 15, timeout=10),
                            'no speaker name on the plate')

            g.close()
            wininfo('command', g.wait_dialog(10)['hwnd'], IDYES)
            self.assertEqual(0, g.wait_exit(30))


if __name__ == '__main__':
    main()
