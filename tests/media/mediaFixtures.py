"""Sound and movie files the media tests make with the system's tools: sox for tones, oggenc and
vorbiscomment for Ogg Vorbis with loop tags, ffmpeg for movies."""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import _run  # noqa: E402

# The piece of three tones, 1 s each: 440, 880, 1320 Hz.
THREE_TONES = [(1.0, 440), (1.0, 880), (1.0, 1320)]
# Amplitude of every fixture tone (full scale 1).
AMPLITUDE = 0.5


def tones_wav(path, parts, rate=44100, channels=2, amplitude=AMPLITUDE):
    """A WAV of sine tones one after the other: parts is [(seconds, frequency or None)]."""
    work = tempfile.mkdtemp()
    try:
        pieces = []
        for i, (seconds, frequency) in enumerate(parts):
            piece = os.path.join(work, '%d.wav' % i)
            synth = ['synth', str(seconds), 'sine', str(frequency), 'vol', str(amplitude)] \
                if frequency else ['trim', '0', str(seconds)]
            _run(['sox', '-n', '-r', str(rate), '-c', str(channels), '-b', '16', piece] + synth)
            pieces.append(piece)
        if len(pieces) == 1:
            shutil.copy(pieces[0], path)
        else:
            _run(['sox'] + pieces + [path])
    finally:
        shutil.rmtree(work, ignore_errors=True)


def ogg(path, parts, tags=None, rate=44100, channels=2):
    """An Ogg Vorbis file of tones with the comments given (e.g. {'start': 44100})."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    wav = path + '.wav'
    tones_wav(wav, parts, rate, channels)
    _run(['oggenc', '-Q', '-q', '6', '-o', path, wav], timeout=60)
    os.remove(wav)
    if tags:
        args = ['vorbiscomment', '-a']
        for k, v in tags.items():
            args += ['-t', '%s=%s' % (k, v)]
        _run(args + [path])
    return path


def movie(path, seconds, colour, frequency=440, size=(640, 480)):
    """An AVI of one solid colour (r, g, b) with a sine track (MJPEG and 16-bit PCM)."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    _run(['ffmpeg', '-loglevel', 'error', '-y',
          '-f', 'lavfi', '-i', 'color=c=0x%02X%02X%02X:s=%dx%d:r=10:d=%s'
          % (colour + size + (seconds,)),
          '-f', 'lavfi', '-i',
          'sine=frequency=%d:sample_rate=44100:duration=%s' % (frequency, seconds),
          '-af', 'volume=4', '-ac', '2', '-c:v', 'mjpeg', '-q:v', '2', '-pix_fmt', 'yuvj420p',
          '-c:a', 'pcm_s16le', path], timeout=120)
    return path
