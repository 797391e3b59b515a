"""Whole program: the demo game starts with its title in the caption, shows its title card, plays
its opening movie and types its first message, and advances message by message on clicks through
the narration to the first lines of its two speakers; at Yukino's second line (both characters
on the shore, her name on the plate) it takes the screenshot the README shows.

    demoGameTest.py [demo data folder]

The data folder is the one the demo_data fixture built; without one, tools/demo/buildDemo builds
it into the test's own folder (from the build root's cache). MORVANE_SCREENSHOT names a file that
receives a copy of the screenshot (make readme-screenshot).
"""
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO_DATA = sys.argv.pop(1) if len(sys.argv) > 1 and not sys.argv[1].startswith('-') else None

sys.path.insert(0, HERE)
import demoPlay as dp  # noqa: E402
from demoPlay import messages, pictures  # noqa: E402
from game import TestCase, main  # noqa: E402


class Demo(TestCase):
    def test_starts_types_the_first_message_and_advances_on_clicks(self):
        with dp.demo_game(self, 'demo_smoke', DEMO_DATA) as g:
            for name in ('system.dat', 'data.dat', 'sound.dat', 'patch.dat', 'movie/intro.ogv'):
                self.assertTrue(os.path.exists(g.path('data/' + name)), name)
            p = dp.Player(self, g, 'mouse')
            p.start()  # the caption is the title
            p.wait_title()

            # Three messages of narration without a name plate, then Yukino (two characters on the
            # plate) and Wataru (one); then Yukino's second line.
            prologue = messages('prologue')
            p.read(prologue[:5])
            for m, v in p.shown:
                self.assertEqual(m.name > 0, v.named(), m)
            shot = p.wait_message(prologue[5])
            self.assertTrue(shot.has(dp.RIGHT_COAT, pictures.WT_COAT, 6))
            path = g.path('screenshot.png')
            shot.image.save_png(path)
            if os.environ.get('MORVANE_SCREENSHOT'):
                shutil.copyfile(path, os.environ['MORVANE_SCREENSHOT'])
            p.quit()


if __name__ == '__main__':
    main()
