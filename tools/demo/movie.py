"""The opening movie: the lighthouse at night, its beam sweeping, the title fading in, with waves
and a chime; 5 seconds at 25 frames a second, the screen's size, Ogg Theora video with Vorbis
sound (a format DirectShow renders under Wine with the GStreamer base and good plugins)."""
import os
import tempfile

import pictures
from sounds import run, sox_chains

SECONDS = 5


def make_movie(labels, out):
    with tempfile.TemporaryDirectory() as tmp:
        stills = {}
        for name, recipe, _ in pictures.MOVIE_PICTURES:
            stills[name] = os.path.join(tmp, name)
            with open(stills[name], 'wb') as f:
                f.write(recipe(labels).png('rgba'))
        waves, chime, audio = (os.path.join(tmp, n) for n in ('waves.wav', 'chime.wav', 'audio.wav'))
        sox_chains(waves, [['synth', SECONDS, 'brownnoise', 'lowpass', 600, 'tremolo', 0.4, 60,
                            'gain', -10]])
        sox_chains(chime, [['synth', 1.5, 'sine', 0, 'vol', 0],
                           ['synth', 2.5, 'sine', 784, 'sine', 1175, 'fade', 0, 2.5, 2.3, 'gain', -12],
                           ['synth', SECONDS - 4, 'sine', 0, 'vol', 0]])
        run(['sox', '-m', '-v', '1', waves, '-v', '1', chime, audio, 'gain', '-n', '-3'])
        graph = ('[1:v]format=rgba,rotate=a=\'2.9+0.25*t\':c=none:ow=600:oh=600[beam];'
                 '[0:v][beam]overlay=x=380:y=-126[lit];'
                 '[2:v]format=rgba,fade=t=in:st=2:d=1.2:alpha=1[title];'
                 '[lit][title]overlay=0:0,fade=t=in:st=0:d=0.8,fade=t=out:st=%g:d=0.8,'
                 'format=yuv420p[v]' % (SECONDS - 0.8))
        run(['ffmpeg', '-nostdin', '-loglevel', 'error', '-y',
             '-loop', '1', '-framerate', '25', '-t', str(SECONDS), '-i', stills['movie_bg.png'],
             '-loop', '1', '-framerate', '25', '-t', str(SECONDS), '-i', stills['movie_beam.png'],
             '-loop', '1', '-framerate', '25', '-t', str(SECONDS), '-i', stills['movie_title.png'],
             '-i', audio, '-filter_complex', graph, '-map', '[v]', '-map', '3:a',
             '-c:v', 'libtheora', '-q:v', '6', '-c:a', 'libvorbis', '-q:a', '3', '-t', str(SECONDS),
             '-f', 'ogg', out])
