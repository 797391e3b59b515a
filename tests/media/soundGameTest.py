"""Whole program: the sound and movie commands of a script, heard on the sound server's null sink.

One script plays music, fades it, stops it, starts an ambient loop, an effect and a voice from a
voice folder, then a movie, and writes its progress into a global variable ("step") that the test
reads from "flagdata.000":
- "bgm" plays the tagged piece looping between its tags at the default volume (-6 dB), "bgm fade"
  fades it at 10 dB a second, "bgm" without a name stops it;
- "env" loops, "se" plays once, "voice \\vo" sets the folder the next "voice" plays from;
- "movie" shows the clip with its sound track, stops the ambient loop for good, and the script goes
  on when the clip ends."""
import os
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from mediaFixtures import AMPLITUDE, THREE_TONES, movie, ogg  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import AudioCapture, Game, TestCase, decibels, main, wait_until  # noqa: E402

IDYES = 6
LEVEL = AMPLITUDE * 0.5          # volume 50: -6.02 dB
TRACK = 0.354 * 0.5              # the movie's sine track at the music volume
CLIP = (30, 60, 220)

SCRIPT = '\n'.join([
    '.wait 1500',
    '?step = 1',
    '.bgm tagged.ogg',
    '.wait 3000',
    '.bgm fade',
    '?step = 2',
    '.wait 2500',
    '.bgm',
    '.env hum.ogg',
    '.wait 1500',
    '.se beep.ogg',
    '.wait 1000',
    '.voice \\vo',
    '.voice hello.ogg',
    '.wait 1500',
    '?step = 3',
    '.movie data\\movies\\clip.avi',
    '?step = 4',
    '.wait 1500',
    '?step = 5',
    '.wait',
    '',
])


def step_of(g):
    data = g.save('flagdata.000')
    return struct.unpack('<i', data[:4])[0] if data and len(data) == 4000 else 0


def share(image, colour, tolerance=24):
    close = image.count(lambda p: max(abs(a - b) for a, b in zip(p, colour)) <= tolerance)
    return close / float(image.width * image.height)


def first(rec, frequency, level, after, window=0.02):
    """Start of the first window after `after` where the tone reaches the level."""
    t = after
    while t + window < rec.seconds:
        if rec.tone(frequency, t, t + window) > level:
            return t
        t += window
    return None


def peak_where_intact(test, rec, frequency, t0, t1, steady, level, window=0.05):
    """The largest amplitude of a tone over the short windows of a span in which a steady tone
    (frequency steady, at level) plays on undamaged. A machine too busy to feed the sound server
    in time leaves short gaps in what it plays, and the click of a gap shows in every frequency;
    those windows are left out, as long as most of the span is intact."""
    windows = [t for t, _ in rec.levels(window, t0, t1)]
    intact = [t for t in windows if rec.tone(steady, t, t + window) >= level * 0.9]
    test.assertGreaterEqual(len(intact), len(windows) * 0.7,
                            'the steady %d Hz tone is damaged in most of %.2f..%.2f s'
                            % (steady, t0, t1))
    return max([rec.tone(frequency, t, t + window) for t in intact] or [0.0])


class SoundCommands(TestCase):
    def test_sound_and_movie_commands(self):
        g = Game(self, 'sound_commands', time_limit=120)
        with g:
            g.config({'System.Setting': {'ScreenWidth': '640', 'ScreenHeight': '480',
                                         'ProductID': 'MorvaneSound'},
                      'Define.Flag': {'G000': 'step'}})
            ogg(g.path('data/bgm/tagged.ogg'), THREE_TONES, {'start': 44100, 'end': 110250})
            ogg(g.path('data/env/hum.ogg'), [(0.5, 660)])
            ogg(g.path('data/se/beep.ogg'), [(0.3, 1000)])
            ogg(g.path('data/voice/vo/hello.ogg'), [(0.5, 550)])
            movie(g.path('data/movies/clip.avi'), 3, CLIP)
            g.write_text('script/start.txt', SCRIPT)
            with AudioCapture(g.path('sink.raw')) as audio:
                g.start()
                g.wait_window()
                self.assertTrue(wait_until(lambda: step_of(g) >= 3, 60), 'at step %d' % step_of(g))
                time.sleep(1.5)
                shot = g.screenshot()
                self.assertTrue(wait_until(lambda: step_of(g) >= 5), 'at step %d' % step_of(g))
                time.sleep(0.5)
                g.close()
                g.answer_dialog(IDYES)
                self.assertEqual(0, g.wait_exit())
                rec = audio.stop()

        self.assertGreater(share(shot, CLIP), 0.9, 'the movie is not on screen')

        # The music: 440, 880, then 1320 Hz up to the end tag, then from the start tag.
        t0 = rec.onset(LEVEL / 4)
        self.assertIsNotNone(t0, 'no music')
        for start, frequency in ((0.1, 440), (1.1, 880), (2.1, 1320), (2.6, 880)):
            self.assertAlmostEqual(LEVEL, rec.tone_steady(frequency, t0 + start, t0 + start + 0.3),
                                   delta=LEVEL * 0.2, msg='%d Hz at %.1f s' % (frequency, start))
        # The fade: about 20 dB down two seconds after it began (3 s in).
        steady = rec.rms(t0 + 0.2, t0 + 2.8)
        self.assertAlmostEqual(-20.0, decibels(rec.rms(t0 + 4.9, t0 + 5.1), steady), delta=4.0)

        # The ambient loop after the music stopped; the effect and the voice over it.
        e0 = first(rec, 660, LEVEL / 2, t0 + 5.0)
        self.assertIsNotNone(e0, 'no ambient loop')
        # "bgm" without a name stopped the fading music as the loop began (it was 25 dB down).
        self.assertGreater(max(rec.tone_peak(f, e0 - 0.25, e0 - 0.05) for f in (440, 880, 1320)),
                           0.005)
        # Music that went on fading would be 26 dB down (about 0.012) in the first window and 31 dB
        # down (about 0.007) in the last; what remains after a stop is the leak of a gap's click
        # into a tone's window, which reached 0.0024 on a busy machine.
        for f in (440, 880, 1320):
            self.assertLess(peak_where_intact(self, rec, f, e0 + 0.1, e0 + 0.6, 660, LEVEL), 0.005,
                            'the music did not stop')
        se = first(rec, 1000, LEVEL / 2, e0)
        self.assertIsNotNone(se, 'no sound effect')
        self.assertAlmostEqual(1.5, se - e0, delta=0.3)
        self.assertLess(peak_where_intact(self, rec, 1000, se + 0.4, se + 0.8, 660, LEVEL), 0.02,
                        'the effect plays more than once')
        voice = first(rec, 550, LEVEL / 2, se)
        self.assertIsNotNone(voice, 'no voice from the voice folder')
        self.assertAlmostEqual(1.0, voice - se, delta=0.3)
        for t in (e0 + 0.2, e0 + 1.0, se + 0.5, voice + 0.8):
            self.assertAlmostEqual(LEVEL, rec.tone_steady(660, t, t + 0.2), delta=LEVEL * 0.2)

        # The movie's track; the ambient loop does not come back after it.
        m0 = first(rec, 440, TRACK / 2, voice + 0.5)
        self.assertIsNotNone(m0, 'the movie was not heard')
        self.assertAlmostEqual(TRACK, rec.tone_steady(440, m0 + 0.5, m0 + 1.5), delta=TRACK * 0.2)
        self.assertLess(peak_where_intact(self, rec, 660, m0 + 0.5, m0 + 1.5, 440, TRACK), 0.01,
                        'the ambient loop plays on')
        self.assertLess(rec.rms(m0 + 3.3, m0 + 4.5), 0.003, 'sound after the movie')


if __name__ == '__main__':
    main()
