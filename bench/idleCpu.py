"""CPU time of the whole program while it waits (make idle-cpu).

Runs system.exe of a wine build under its test display and measures the program's own CPU time
(user + system time of its process, all threads, from /proc/<pid>/stat) over a stretch of wall
time in each waiting state:
- message: a message typed out, the animated click prompt waiting for a click;
- choice:  a text choice of two options waiting;
- choice-hot: the same with the cursor on an option (hot, looked at every frame);
- rest:    a picture shown by the script command "wait" without a time (no animation at all);
- hidden:  the message window hidden (Tab) at a message;
- save:    the save screen (Home at a message);
- backlog: the backlog screen (Backspace at a message);
- flow:    the flow chart (F2, bound to it in the settings file, at a message; full build);
- anime:   a message waiting over an animation program that moves a picture in slot 0.
The figure is the program's CPU time as a share of one core, for the whole process and for its
main thread alone (where every waiting loop runs; the other threads are Wine's sound mixing, which
runs while the sound device is open, and the music thread). Other processes load the machine
meanwhile; the program's own CPU time is what is reported, with the load average beside it.

    scripts/wine-run build/full python3 bench/idleCpu.py [--exe system.exe] [--shots folder]
        [seconds] [state ...]
--shots keeps a screenshot of each state taken as its measurement begins.
"""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'harness'))
from game import CONFIG, Game, default_settings, wait_until, xdotool  # noqa: E402

if CONFIG == 'earlier':
    MESSAGE = 'こんにちは。クリックを待っています。'
else:
    MESSAGE = '你好。正在等待点击。'


def png_rgba(width, height, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def strip(width, frame_height, colours):
    return png_rgba(width, frame_height * len(colours),
                    lambda x, y: colours[y // frame_height] + (255,))


SCRIPTS = {
    'message': '.fade 0\n.img 0 back.png\nAki:%s\n.\n' % MESSAGE,
    'choice': '.fade 0\n.img 0 back.png\n.SELECT\nFirst\nSecond\n.CASE 1\n.CASE 2\n.ENDSEL\n',
    'choice-hot': '.fade 0\n.img 0 back.png\n.SELECT\nFirst\nSecond\n.CASE 1\n.CASE 2\n.ENDSEL\n',
    'rest': '.fade 0\n.img 0 back.png\n.wait\n',
    'hidden': '.fade 0\n.img 0 back.png\nAki:%s\n.\n' % MESSAGE,
    'save': '.fade 0\n.img 0 back.png\nAki:%s\n.\n' % MESSAGE,
    'backlog': '.fade 0\n.img 0 back.png\nAki:%s\n.\n' % MESSAGE,
    'flow': '.fade 0\n.img 0 back.png\nAki:%s\n.\n' % MESSAGE,
    'anime': '.fade 0\n.img 0 dot.img\nAki:%s\n.\n' % MESSAGE,
}

DOT_DEFINITION = '\n'.join([
    'Type=movie',
    'Img0=back.png',
    'Img1=dot.png',
    'draw: 0 0 0',
    'x: 350',
    'sin.x: 30 300 0',
    'draw: 1 x 200',
    '',
])


def settings_block():
    """The settings defaults with F2 bound to the flow chart (23)."""
    b = default_settings()
    b[314] = 23                                 # F2
    return bytes(b)


def make_game(state, exe):
    g = Game(None, 'idle_cpu_' + state, exe=exe, time_limit=120)
    g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                 'ProductID': 'MorvaneIdleCpu'}})
    g.write('img/back.png', png_rgba(800, 600, lambda x, y: (x * 255 // 800, y * 255 // 600, 90, 255)))
    g.write('img/dot.png', png_rgba(40, 40, lambda x, y: (255, 255, 255, 255)))
    g.write('img/sys_box_normal.png', png_rgba(800, 200, lambda x, y: (20, 30, 80, 200)))
    g.write('img/sys_box_prompt.png', strip(24, 24, [(255, 32 * k, 0) for k in range(8)]))
    g.write('img/sys_select_item.png', strip(600, 60, [(200, 40, 40), (40, 200, 40), (40, 40, 200)]))
    g.write('img/sys_box_config.png', strip(40, 20, [(200, 40, 40), (40, 200, 40), (40, 40, 200)]))
    g.write_text('anime/dot.img', DOT_DEFINITION)
    g.write_text('script/start.txt', SCRIPTS[state])
    if state == 'flow':
        g.write_save('morvane.cfg', settings_block())
    return g


def program_pid(g):
    """The process that runs the program's code (the launcher execs into it)."""
    for pid, cmd in g.leftovers():
        if 'system.exe' in cmd and 'wineserver' not in cmd:
            return pid
    return None


def ticks_of(stat_path):
    with open(stat_path) as f:
        fields = f.read().rsplit(')', 1)[1].split()
    # utime and stime are fields 14 and 15 of the line, 12 and 13 after the command name.
    return int(fields[11]) + int(fields[12])


def cpu_ticks(pid):
    """The whole process's CPU ticks and those of its main thread (the waiting loops; the other
    threads are Wine's sound mixing and streaming, and the program's music thread)."""
    return ticks_of('/proc/%d/stat' % pid), ticks_of('/proc/%d/task/%d/stat' % (pid, pid))


def load_average():
    with open('/proc/loadavg') as f:
        return float(f.read().split()[0])


def measure(state, seconds, exe, shots):
    g = make_game(state, exe)
    try:
        g.start()
        g.wait_window()
        # The cursor rests on the picture, away from every button (or on the first option).
        if state == 'choice-hot':
            g.move(400, 190)
        else:
            g.move(30, 30)
        if state.startswith('choice'):
            settle = 2.0
        else:
            settle = 3.0  # the message types out (or the wait begins)
        time.sleep(settle)
        keys = {'hidden': 'Tab', 'save': 'Home', 'backlog': 'BackSpace', 'flow': 'F2'}
        if state in keys:
            g.key(keys[state])
            g.move(30, 30)
            time.sleep(1.0)
        pid = wait_until(lambda: program_pid(g), 10)
        if not pid:
            raise RuntimeError('no program process found')
        if shots:
            g.screenshot().save_png(os.path.join(shots, state + '.png'))
        hz = os.sysconf('SC_CLK_TCK')
        load0 = load_average()
        t0, (c0, m0) = time.time(), cpu_ticks(pid)
        time.sleep(seconds)
        t1, (c1, m1) = time.time(), cpu_ticks(pid)
        load1 = load_average()
        per = lambda ticks: ticks / hz / (t1 - t0) * 100
        return per(c1 - c0), per(m1 - m0), (load0 + load1) / 2
    finally:
        g.kill_all()
        for p in g.procs:
            p.log.close()


def main():
    args = sys.argv[1:]
    exe = None
    shots = None
    while args[:1] in (['--exe'], ['--shots']):
        if args[0] == '--exe':
            exe = os.path.abspath(args[1])
        else:
            shots = os.path.abspath(args[1])
            os.makedirs(shots, exist_ok=True)
        args = args[2:]
    seconds = 10.0
    if args and args[0].replace('.', '', 1).isdigit():
        seconds = float(args.pop(0))
    states = args or ['message', 'choice', 'choice-hot', 'rest', 'hidden', 'save', 'backlog', 'anime']
    if CONFIG == 'full' and not args:
        states.insert(-1, 'flow')
    print('CPU time of system.exe (%s build) over %g s, as a share of one core: the whole process '
          'and its main thread; %d cores, load average beside it' % (CONFIG, seconds, os.cpu_count()))
    for state in states:
        share, main_thread, load = measure(state, seconds, exe, shots)
        print('  %-10s %6.1f %%   main thread %5.1f %%   (load %.1f)'
              % (state, share, main_thread, load), flush=True)


if __name__ == '__main__':
    main()
