"""How long starting and stopping the music keeps the main thread, and how busy the music thread
is, for pieces whose loops are one frame, two frames and a second long, and for a piece without
loop tags.

Runs the media probe of a wine build (tests/media/mediaProbe.cpp: the real window and sound
channels under Wine) and reads the moments at which it begins each action: its `bgm` (playBGM)
lasts until the next action begins, and so does its `stopbgm` (stopBGM, which joins the music
thread). The music thread's processor time per second of music comes from the probe's `cpu`
action, over 5 s of each piece. Other processes load the machine meanwhile: the load average is
printed beside the figures.

    make music-latency [MUSIC_LATENCY_ROUNDS=n]
    scripts/wine-run build/full python3 bench/musicLatency.py [--exe mediaProbe.exe] [rounds]
(--exe: another build of the probe, such as one of an earlier commit, for a figure before a change)
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'tests', 'harness'))
sys.path.insert(0, os.path.join(HERE, '..', 'tests', 'media'))
from game import BUILD, Game  # noqa: E402
from mediaFixtures import ogg  # noqa: E402

# 3 s of a tone; the loops begin at 1 s.
PIECES = [
    ('loop1frame', {'start': 44100, 'end': 44101}),
    ('loop2frames', {'start': 44100, 'end': 44102}),
    ('loop1s', {'start': 44100, 'end': 88200}),
    ('untagged', None),
]


def actions(rounds):
    lines = ['wait 1500']
    for _ in range(rounds):
        for name, _tags in PIECES:
            lines += ['bgm %s.ogg' % name, 'wait 2500', 'cpu begin', 'wait 5000', 'cpu end',
                      'stopbgm', 'wait 100']
    return lines + ['close']


def timings(log):
    """[(action, seconds until the next action began)] and the cpu figures in order."""
    starts = [(m.group(1), float(m.group(2)))
              for m in re.finditer(r'^do (.*?) at ([0-9.]+)\r?$', log, re.M)]
    spans = [(a, t1 - t0) for (a, t0), (_, t1) in zip(starts, starts[1:])]
    cpu = [float(x) for x in re.findall(r'^cpu ([0-9.]+) over', log, re.M)]
    return spans, cpu


def load_average():
    with open('/proc/loadavg') as f:
        return float(f.read().split()[0])


def main():
    args = sys.argv[1:]
    exe = os.path.join(BUILD, 'tests', 'media', 'mediaProbe.exe')
    if args[:1] == ['--exe']:
        exe = os.path.abspath(args[1])
        args = args[2:]
    rounds = int(args[0]) if args else 3
    g = Game(None, 'music_latency', exe=exe, time_limit=60 + rounds * 40)
    try:
        for name, tags in PIECES:
            ogg(g.path('data/bgm/%s.ogg' % name), [(3.0, 440)], tags)
        with open(g.path('actions.txt'), 'wb') as f:
            f.write(''.join(line + '\r\n' for line in actions(rounds)).encode('ascii'))
        load0 = load_average()
        g.start('actions.txt')
        g.wait_exit()
        load1 = load_average()
        log = g.log_text()
    finally:
        g.kill_all()
        for p in g.procs:
            p.log.close()
    if 'ready sound 1' not in log:
        print('no sound device:\n' + log)
        return 1
    spans, cpu = timings(log)
    figures = {name: {'bgm': [], 'stopbgm': [], 'cpu': []} for name, _ in PIECES}
    playing = None
    for action, seconds in spans:
        if action.startswith('bgm '):
            playing = action.split()[1][:-4]
            figures[playing]['bgm'].append(seconds * 1000)
        elif action == 'stopbgm':
            figures[playing]['stopbgm'].append(seconds * 1000)
    for i, value in enumerate(cpu):
        figures[PIECES[i % len(PIECES)][0]]['cpu'].append(value)
    print('%s, %d rounds, load average %.1f .. %.1f' % (os.path.basename(exe), rounds, load0, load1))
    print('| piece | bgm (ms) | stopbgm (ms) | music thread (ms of CPU per s) |')
    print('|---|---|---|---|')
    for name, _ in PIECES:
        f = figures[name]
        print('| %s | %s | %s | %s |' % (name, ' '.join('%.1f' % x for x in f['bgm']),
                                         ' '.join('%.1f' % x for x in f['stopbgm']),
                                         ' '.join('%.2f' % x for x in f['cpu'])))
    return 0


if __name__ == '__main__':
    sys.exit(main())
