"""Whole program: the demo game starts with its title in the caption, types its first message and
advances message by message on clicks, through three lines of narration up to the first line of
a named (and voiced) speaker.

    demoGameTest.py [demo data folder]

The data folder is the one the demo_data fixture built; without one, tools/demo/buildDemo builds
it into the test's own folder (from the build root's cache).
"""
import os
import shutil
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


DEMO_DATA = sys.argv.pop(1) if len(sys.argv) > 1 and not sys.argv[1].startswith('-') else None


def build_demo(g):
    if DEMO_DATA:
        shutil.rmtree(g.path('data'))
        shutil.copytree(DEMO_DATA, g.path('data'))
        return
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

            # The first message (the title card and the opening movie come before it) and the two
            # after it are narration: no name on the plate. Each click shows the next in its place.
            shown = None
            for _ in range(3):
                if shown is not None:
                    g.click(400, 300)
                shown = self.settled_text(g, previous=shown, timeout=90)
                self.assertLess(sum(bright(g.screenshot(*NAME_PLATE))), 5, 'narration shows a name')

            # The next click comes to Yukino's first line: her name on the plate.
            g.click(400, 300)
            self.settled_text(g, previous=shown)
            self.assertTrue(wait_until(lambda: sum(bright(g.screenshot(*NAME_PLATE))) > 15, timeout=10),
                            'no speaker name on the plate')

            g.close()
            wininfo('command', g.wait_dialog(10)['hwnd'], IDYES)
            self.assertEqual(0, g.wait_exit(30))


if __name__ == '__main__':
    main()
