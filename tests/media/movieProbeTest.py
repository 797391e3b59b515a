"""Movies through the real filter-graph code: the clip on screen, its sound track on the sink, the
wait loop of the script command, and presenting after the movie."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from mediaFixtures import movie, ogg  # noqa: E402
from mediaProbeRun import SETTLE, ProbeRun  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import TestCase, main, wait_until  # noqa: E402

CLIP = (200, 40, 30)
AFTER = (10, 200, 30)
# The movie's track: ffmpeg's sine (amplitude 0.354) at the music volume 50 (-6.02 dB).
TRACK = 0.354 * 0.5
QUIET = 0.002


def share(image, colour, tolerance=24):
    close = image.count(lambda p: max(abs(p[0] - colour[0]), abs(p[1] - colour[1]),
                                      abs(p[2] - colour[2])) <= tolerance)
    return close / float(image.width * image.height)


def showing(p, colour):
    """The probe's window once it shows mostly that colour (the last screenshot after the
    harness's limit)."""
    shot = wait_until(lambda: (lambda s: s if share(s, colour) > 0.9 else None)(p.game.screenshot()))
    return shot or p.game.screenshot()


class Movies(TestCase):
    def test_clip_shows_and_is_heard_then_presenting_resumes(self):
        shots = {}

        def during(p):
            self.assertTrue(p.wait_log('result 1'), p.log())
            shots['movie'] = showing(p, CLIP)
            self.assertTrue(p.wait_log('movie end complete'), p.log())
            self.assertTrue(p.wait_log('do wait'))
            shots['after'] = showing(p, AFTER)

        with ProbeRun(self, 'movie_clip') as p:
            movie(p.data('movies/clip.avi'), 3, CLIP)
            rec = p.run([SETTLE, 'movie data\\movies\\clip.avi',
                         'colour %d %d %d' % AFTER, 'wait 3000'], during)
            self.assertGreater(share(shots['movie'], CLIP), 0.9)
            self.assertGreater(share(shots['after'], AFTER), 0.9)
            on = rec.onset(TRACK / 3)
            self.assertIsNotNone(on, 'the track was not heard')
            self.assertAlmostEqual(TRACK, rec.tone_steady(440, on + 0.5, on + 1.5),
                                   delta=TRACK * 0.2)

    def test_track_is_silent_with_music_switched_off(self):
        shots = {}

        def during(p):
            self.assertTrue(p.wait_log('result 1'), p.log())
            shots['movie'] = showing(p, CLIP)

        with ProbeRun(self, 'movie_silent') as p:
            movie(p.data('movies/clip.avi'), 3, CLIP)
            rec = p.run([SETTLE, 'volume bgm 0 50', 'movie data\\movies\\clip.avi'], during)
            self.assertIn('movie end complete', p.log())
            self.assertGreater(share(shots['movie'], CLIP), 0.9)
            self.assertLess(rec.rms(0, rec.seconds), QUIET)

    def test_left_click_goes_on_and_right_click_ends(self):
        def during(p):
            self.assertTrue(p.wait_log('result 1'), p.log())
            time.sleep(1.0)
            p.game.click(320, 240)
            time.sleep(2.5)
            self.assertNotIn('movie end', p.log())
            p.game.click(320, 240, button=3)
            self.assertTrue(p.wait_log('movie end'), p.log())

        with ProbeRun(self, 'movie_clicks') as p:
            movie(p.data('movies/long.avi'), 20, CLIP)
            p.run(['movie data\\movies\\long.avi'], during)
            self.assertIn('movie end cancel', p.log())

    def test_escape_ends(self):
        def during(p):
            self.assertTrue(p.wait_log('result 1'), p.log())
            time.sleep(1.0)
            p.game.key('Escape')
            self.assertTrue(p.wait_log('movie end'), p.log())

        with ProbeRun(self, 'movie_escape') as p:
            movie(p.data('movies/long.avi'), 20, CLIP)
            p.run(['movie data\\movies\\long.avi'], during)
            self.assertIn('movie end cancel', p.log())

    def test_closing_the_window_ends_the_movie(self):
        def during(p):
            self.assertTrue(p.wait_log('result 1'), p.log())
            time.sleep(1.0)
            p.game.close()

        with ProbeRun(self, 'movie_close') as p:
            movie(p.data('movies/long.avi'), 20, CLIP)
            p.run(['movie data\\movies\\long.avi'], during)
            self.assertIn('movie end quit', p.log())

    def test_unrenderable_file_fails_and_presenting_goes_on(self):
        shots = {}

        def during(p):
            self.assertTrue(p.wait_log('do wait'), p.log())
            shots['after'] = showing(p, AFTER)

        with ProbeRun(self, 'movie_bad') as p:
            os.makedirs(p.data('movies'))
            with open(p.data('movies/bad.avi'), 'wb') as f:
                f.write(b'RIFF\x10\x00\x00\x00AVI garbage that no filter renders' * 20)
            # A path beyond 259 characters, and one that is not text of the code page (a lead
            # byte followed by a byte that cannot end the character).
            long_path = 'data\\movies\\' + 'x' * 300 + '.avi'
            p.run(['movie data\\movies\\bad.avi', 'movie data\\movies\\missing.avi',
                   'movie ' + long_path, b'movie data\\movies\\\x81\x7f.avi',
                   'colour %d %d %d' % AFTER, 'wait 1500'], during)
            self.assertEqual(['0', '0', '0', '0'], p.results())
            self.assertGreater(share(shots['after'], AFTER), 0.9)

    def test_music_stays_stopped_after_a_movie(self):
        with ProbeRun(self, 'movie_music') as p:
            ogg(p.data('bgm/tone.ogg'), [(10.0, 1000)])
            ogg(p.data('env/hum.ogg'), [(0.5, 660)])
            movie(p.data('movies/clip.avi'), 2, CLIP)
            rec = p.run([SETTLE, 'bgm tone.ogg', 'env hum.ogg', 'wait 1500',
                         'movie data\\movies\\clip.avi', 'wait 3000'])
            self.assertIn('movie end complete', p.log())
            on = rec.onset(TRACK / 3)
            self.assertGreater(rec.tone_steady(1000, on + 0.3, on + 1.0), 0.1)
            self.assertGreater(rec.tone_steady(660, on + 0.3, on + 1.0), 0.1)
            # The track, then nothing: neither the music nor the ambient loop comes back.
            track = next(t for t, _ in rec.levels(0.05, on + 1.0)
                         if rec.tone(440, t, t + 0.05) > TRACK / 2)
            end = rec.silent_runs(QUIET, track, rec.seconds)
            self.assertTrue(end, 'no silence after the movie')
            start, length = end[-1]
            self.assertGreater(length, 2.0)
            self.assertLess(rec.tone_peak(1000, start, start + length), 0.002)
            self.assertLess(rec.tone_peak(660, start, start + length), 0.002)


if __name__ == '__main__':
    main()
