"""Whole program: the demo game starts with its title in the caption, shows its title card, plays
its opening movie and types its first message, and advances message by message on clicks through
the narration to the first lines of its two speakers; at Yukino's second line (both characters
on the shore, her name on the plate) it takes the screenshot the README shows. The zip that
make dist writes for Windows, unzipped into a fresh folder, plays its first messages there.

    demoGameTest.py [demo data folder]

The data folder is the one the demo_data fixture built; without one, tools/demo/buildDemo builds
it into the test's own folder (from the build root's cache). MORVANE_SCREENSHOT names a file that
receives a copy of the screenshot (make readme-screenshot).
"""
import os
import shutil
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO_DATA = sys.argv.pop(1) if len(sys.argv) > 1 and not sys.argv[1].startswith('-') else None

sys.path.insert(0, HERE)
import demoPlay as dp  # noqa: E402
from demoPlay import messages, pictures  # noqa: E402
from game import BUILD, Game, TestCase, _run, main  # noqa: E402

MAKE_DIST = os.path.join(HERE, '..', '..', 'tools', 'dist', 'makeDist.py')


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

    def test_the_windows_zip_plays_where_it_is_unzipped(self):
        data = DEMO_DATA
        if not data:
            with dp.demo_game(self, 'demo_dist_data') as g:
                data = g.path('data')
        zip_path = os.path.abspath('demo-windows.zip')
        _run([sys.executable, MAKE_DIST, os.path.join(BUILD, 'system.exe'), data,
              'lighthouse-letter', zip_path, '--strip', 'x86_64-w64-mingw32-strip'], timeout=300)
        with zipfile.ZipFile(zip_path) as z:
            names = z.namelist()
            self.assertIn('lighthouse-letter/system.exe', names)
            self.assertIn('lighthouse-letter/data/system.dat', names)
            self.assertEqual({'lighthouse-letter'}, {n.split('/')[0] for n in names})
            self.assertEqual(['system.exe'],
                             [n.split('/')[1] for n in names if n.count('/') == 1])
            folder = os.path.abspath('unzipped')
            shutil.rmtree(folder, ignore_errors=True)
            z.extractall(folder)
        with Game(self, 'demo_dist', folder=os.path.join(folder, 'lighthouse-letter'),
                  time_limit=900) as g:
            p = dp.Player(self, g, 'mouse')
            p.start()
            p.wait_title()
            p.read(messages('prologue')[:3])
            p.quit()
        # The player's files go to the save folder beside the program.
        self.assertTrue(os.path.isdir(os.path.join(folder, 'lighthouse-letter', 'save')))


if __name__ == '__main__':
    main()
