"""The demo's sounds, made with sox (music, ambient loops, effects) and espeak-ng (voices), encoded
to Ogg Vorbis with oggenc, with the loop points of the music written by vorbiscomment.

Music is written as tracks of notes; each track is one sox run whose effects chains ("synth ...
: synth ...") play the notes one after the other, and the tracks are mixed. All sounds are
44.1 kHz stereo.
"""
import os
import subprocess
import tempfile

RATE = 44100


def run(args, **kw):
    args = [str(a) for a in args]
    r = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kw)
    if r.returncode != 0:
        raise RuntimeError('%s failed: %s' % (' '.join(args[:3]), r.stderr.decode(errors='replace')[-600:]))
    return r


def sox_chains(out, chains):
    """One sox run: the chains one after the other (each a list of synth/effect words)."""
    args = ['sox', '-n', '-r', str(RATE), '-c', '2', '-b', '16', out]
    for i, chain in enumerate(chains):
        if i:
            args.append(':')
        args += [str(a) for a in chain]
    run(args)


def track(out, beat, notes, instrument, gain, release=0.8):
    """notes: (beats, pitch or None for a rest, optional gain offset); pitches as sox names
    ("C4") or several joined by "+" for a chord (one pitch per channel, left and right)."""
    chains = []
    for note in notes:
        beats, pitch = note[0], note[1]
        g = gain + (note[2] if len(note) > 2 else 0)
        d = round(beats * beat, 4)
        if pitch is None:
            chains.append(['synth', d, 'sine', 0, 'vol', 0])
            continue
        tones = []
        for p in pitch.split('+'):
            tones += [instrument, p]
        fade_in = 0.005 if instrument == 'pluck' else round(min(0.08, d / 4), 4)
        fade_out = round(min(d * release, d - fade_in), 4)
        chains.append(['synth', d] + tones + ['fade', 'q', fade_in, d, fade_out, 'gain', g])
    sox_chains(out, chains)


def mix(out, inputs, effects=()):
    if len(inputs) == 1:
        run(['sox', inputs[0], out] + list(effects))
        return
    args = ['sox', '-m']
    for f in inputs:
        args += ['-v', '1', f]
    run(args + [out] + list(effects))


def encode(wav, ogg, start=None, end=None, quality=3):
    run(['oggenc', '-Q', '-q', str(quality), '-o', ogg, wav])
    tags = []
    if start is not None:
        tags += ['-t', 'start=%d' % start]
    if end is not None:
        tags += ['-t', 'end=%d' % end]
    if tags:
        run(['vorbiscomment', '-w'] + tags + [ogg])


# ---------------------------------------------------------------------------------------------
# Music. Beats in seconds; each piece lists its tracks (instrument, gain, notes).

def _chords(text):
    """"C5:1 E5+G5:0.5 -:1" -> notes of that many beats; "-" is a rest, "+" joins the two
    pitches of a left and a right channel."""
    notes = []
    for word in text.split():
        p, _, b = word.partition(':')
        notes.append((float(b), None if p == '-' else p))
    return notes


MUSIC = {
    # The shore: C major, 80 beats a minute, nine bars of four beats. Bar 1 is the intro, bars 2
    # to 8 loop (from 3 s to 24 s), bar 9 is an ending that the loop never reaches.
    'bgm_shore.ogg': dict(beat=0.75, loop=(3.0, 24.0), tracks=[
        ('sine', -14, _chords('C3+G3:4 C3+G3:4 A2+E3:4 F2+C3:4 G2+D3:4 C3+G3:4 A2+E3:4 F2+C3:2 '
                              'G2+D3:2 C3+G3:4')),
        ('sine', -17, _chords('E4+G4:4 E4+G4:4 C4+E4:4 A3+C4:4 B3+D4:4 E4+G4:4 C4+E4:4 A3+C4:2 '
                              'B3+D4:2 E4+G4:4')),
        ('pluck', -6, _chords('-:4 E5:1 G5:1 A5:1 G5:1 E5:2 C5:1 D5:1 C5:1 A4:1 C5:2 D5:1 E5:1 '
                              'D5:1 B4:1 G4:2 E5:1 G5:1 C6:2 B5:1 A5:1 G5:1 E5:1 D5:1 B4:1 C5:4')),
    ]),
    # The tower: A minor, tense, 120 beats a minute, 16 s; it loops from 2 s ("start" only).
    'bgm_tower.ogg': dict(beat=0.5, loop=(2.0, None), tracks=[
        ('pluck', -8, _chords(' '.join(['A2:0.5 E3:0.5 A3:0.5 E3:0.5'] * 4 + ['D3:0.5 A3:0.5 D4:0.5 A3:0.5'] * 2
                                       + ['E3:0.5 B3:0.5 E4:0.5 B3:0.5'] * 2 + ['A2:0.5 E3:0.5 A3:0.5 E3:0.5'] * 8))),
        ('sine', -16, _chords('A3+C4:4 A3+C4:4 D4+F4:4 E4+G#4:4 A3+C4:4 F3+A3:4 E3+G#3:4 A3+E4:4')),
        ('square', -26, _chords('-:8 A4:1 C5:1 B4:1 G#4:1 A4:4 E5:2 D5:1 C5:1 B4:2 G#4:2 A4:4 -:4')),
    ]),
    # The memory: a music box, 3/4 at 90 beats a minute, 12 s; it loops whole (no tags).
    'bgm_memory.ogg': dict(beat=2 / 3, loop=None, tracks=[
        ('sine', -10, _chords('G5:1 C6:1 E6:1 D6:1.5 C6:0.5 B5:1 A5:1 C6:1 F6:1 E6:3 D6:1 C6:1 B5:1 C6:3')),
        ('sine', -18, _chords('C4+E4:3 C4+E4:3 F3+A3:3 C4+E4:3 G3+B3:3 C4+E4:3')),
    ]),
    # The ending: C major, slow, 18 s, played without looping.
    'bgm_ending.ogg': dict(beat=1.0, loop=None, tracks=[
        ('sine', -14, _chords('C3+G3:4 F2+C3:4 G2+D3:4 C3+G3:4 C3+G3:2')),
        ('pluck', -7, _chords('E5:1 D5:1 C5:2 A4:1 C5:1 F5:2 D5:1 E5:1 B4:2 C5:4 C5:2')),
    ]),
    # The configuration dialog's test piece, 4 s.
    'sample.ogg': dict(beat=0.25, loop=None, tracks=[
        ('pluck', -8, _chords('C5:1 E5:1 G5:1 C6:1 G5:1 E5:1 C5:4 -:6')),
    ]),
}


def make_music(name, out):
    piece = MUSIC[name]
    with tempfile.TemporaryDirectory() as tmp:
        parts = []
        for i, (instrument, gain, notes) in enumerate(piece['tracks']):
            p = os.path.join(tmp, 't%d.wav' % i)
            track(p, piece['beat'], notes, instrument, gain)
            parts.append(p)
        wav = os.path.join(tmp, 'mix.wav')
        mix(wav, parts, ['gain', '-n', '-4'])
        start = end = None
        if piece['loop']:
            start = round(piece['loop'][0] * RATE)
            if piece['loop'][1] is not None:
                end = round(piece['loop'][1] * RATE)
        encode(wav, out, start, end)


# ---------------------------------------------------------------------------------------------
# Ambient loops and effects: sox effects chains.

def _ticks(n, gap):
    chains = []
    for _ in range(n):
        chains += [['synth', 0.02, 'square', 2200, 'fade', 0, 0.02, 0.015, 'gain', -8],
                   ['synth', gap - 0.02, 'sine', 0, 'vol', 0]]
    return chains


def _steps(n):
    chains = []
    for _ in range(n):
        chains += [['synth', 0.14, 'brownnoise', 'lowpass', 260, 'fade', 0, 0.14, 0.12, 'gain', 6],
                   ['synth', 0.32, 'sine', 0, 'vol', 0]]
    return chains


EFFECTS = {
    'env/env_waves.ogg': [['synth', 8, 'brownnoise', 'lowpass', 700, 'tremolo', 0.25, 70, 'gain', -2]],
    'env/env_wind.ogg': [['synth', 8, 'pinknoise', 'bandpass', 500, 300, 'tremolo', 0.125, 60, 'gain', -4]],
    'env/sample.ogg': [['synth', 3, 'pinknoise', 'lowpass', 1200, 'gain', -8]],
    'se/se_020.ogg': _ticks(8, 0.5),
    'se/se_017.ogg': [['synth', 1.2, 'sine', 1318.5, 'sine', 1760, 'fade', 0, 1.2, 1.1, 'gain', -4]],
    'se/se_door.ogg': [['synth', 0.9, 'sawtooth', '220/140', 'tremolo', 18, 70, 'lowpass', 1500,
                        'fade', 0.05, 0.9, 0.3, 'gain', -6],
                       ['synth', 0.25, 'brownnoise', 'lowpass', 200, 'fade', 0, 0.25, 0.2, 'gain', 4]],
    'se/se_steps.ogg': _steps(3),
    'se/se_bell.ogg': [['synth', 2.5, 'sine', 523.25, 'sine', 1318.5, 'fade', 0, 2.5, 2.4, 'gain', -3]],
    'se/se_thunder.ogg': [['synth', 0.15, 'whitenoise', 'lowpass', 3000, 'fade', 0, 0.15, 0.1],
                          ['synth', 2.8, 'brownnoise', 'lowpass', 180, 'fade', 0.1, 2.8, 2.6, 'gain', 8]],
    'se/se_paper.ogg': [['synth', 0.35, 'whitenoise', 'highpass', 2000, 'tremolo', 30, 80,
                         'fade', 0, 0.35, 0.3, 'gain', -10]],
    'se/sample.ogg': [['synth', 0.3, 'sine', 880, 'fade', 0, 0.3, 0.2, 'gain', -6]],
}


def make_effect(name, out):
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, 'raw.wav')
        sox_chains(raw, EFFECTS[name])
        wav = os.path.join(tmp, 'out.wav')
        run(['sox', raw, wav, 'gain', '-n', '-3'])
        encode(wav, out)


# ---------------------------------------------------------------------------------------------
# Voices.

VOICES = {'zh': 'cmn+f3', 'ja': 'ja+f3'}


def make_voice(language, text, out):
    with tempfile.TemporaryDirectory() as tmp:
        spoken = os.path.join(tmp, 'spoken.wav')
        run(['espeak-ng', '-v', VOICES[language], '-s', '150', '-w', spoken, text],
            env=dict(os.environ, ALSA_CONFIG_PATH='/dev/null'))
        wav = os.path.join(tmp, 'out.wav')
        run(['sox', spoken, '-r', str(RATE), '-c', '2', '-b', '16', wav, 'pad', 0.05, 0.2, 'gain', '-n', '-2'])
        encode(wav, out)
