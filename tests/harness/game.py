"""Whole-program test harness.

A test lays out a game folder (a copy of this build's system.exe and a data folder it writes),
starts the program under the build's Wine environment and X display (scripts/wine-run sets them
up), finds its window, drives it with real input through xdotool, takes screenshots, ends it and
reads its save folder through its own descrambling code.

    from game import Game, TestCase, main

    class Start(TestCase):
        def test_no_start_script_ends_quietly(self):
            with Game(self, 'no_start') as g:
                g.start()
                self.assertEqual(0, g.wait_exit())

    if __name__ == '__main__':
        main()

Every Game fails its test when the program crashes (Wine reports an unhandled exception), runs past
its time limit (it is killed), or leaves a process behind in its folder.

Tests never depend on how fast the program runs: they wait for what they can observe (a window
exists, a file appears, a region of the screen shows something or stops changing) with the
generous limit WAIT, and a test that must watch a timed state (text typing out) slows the
program's clock (Game(..., clock_slowdown=N)) so that a busy machine cannot finish it first.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

TestCase = unittest.TestCase

BUILD = os.environ.get('MORVANE_BUILD', '')
CONFIG = os.environ.get('MORVANE_CONFIG', 'full')
# Code page of the configuration's texts (scripts, configuration files, captions).
CODEPAGE = 'cp932' if CONFIG == 'earlier' else 'gbk'

# The limit of every wait for an observable state, in seconds: generous, since a machine busy with
# other builds and tests may run the program and the tools here many times slower than usual.
WAIT = 60

ARCHIVE_SEED = 0x58E7
SAVE_SEED = 0xF2C9


# ---------------------------------------------------------------------------------------------
# The keystream, written here independently of the program's own code.

class Keystream:
    def __init__(self, seed):
        self.seed(seed)

    def seed(self, seed):
        words = []
        x = seed & 0xFFFFFFFF
        for _ in range(624):
            x = (x * 69069) & 0xFFFFFFFF
            words.append(x)
        self.words = words
        self.index = 0

    def next_byte(self):
        if self.index >= 624:
            self.seed(self.words[623])
        y = self.words[self.index]
        self.index += 1
        y ^= y >> 11
        y ^= (y << 7) & 0x6B2D94E7
        y ^= (y << 15) & 0x2C8E5B19
        y ^= y >> 18
        return y & 0xFF

    def apply(self, data):
        return bytes(b ^ self.next_byte() for b in data)


def scramble(data, seed):
    """Enciphers or deciphers (the same operation) bytes from a freshly seeded stream."""
    return Keystream(seed).apply(data)


# ---------------------------------------------------------------------------------------------
# Data folder contents.

def text_file(text, encoding=None):
    """A text file in the configuration's code page, each line ended with CR LF."""
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    return b''.join(line.encode(encoding or CODEPAGE) + b'\r\n' for line in lines)


def archive_bytes(entries, priority=0, version=203, magic=b'MORVPACK'):
    """A data archive. entries: list of (name, data, key byte); names use backslashes
    ("script\\start.txt") and are given as str (encoded in the configuration's code page) or
    bytes. The entry data follows the directory in entry order."""
    raw_names = [n.encode(CODEPAGE) if isinstance(n, str) else n for n, _, _ in entries]
    offset = 20 + sum(10 + len(n) for n in raw_names)
    names = Keystream(ARCHIVE_SEED)
    directory, blobs = b'', b''
    for raw, (_, data, key) in zip(raw_names, entries):
        stored = scramble(data, ARCHIVE_SEED + key) if key else data
        directory += bytes([key, len(raw)]) + names.apply(raw)
        directory += struct.pack('<II', offset + len(blobs), len(stored))
        blobs += stored
    return magic + struct.pack('<III', version, priority, len(entries)) + directory + blobs


# ---------------------------------------------------------------------------------------------
# Screenshots.

class Image:
    """Pixels read back from the X display: width, height and RGB bytes, row by row."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def count(self, predicate):
        return sum(1 for i in range(0, len(self.rgb), 3) if predicate(tuple(self.rgb[i:i + 3])))

    def differs(self, other):
        return self.rgb != other.rgb

    def save_png(self, path):
        _run(['convert', '-size', '%dx%d' % (self.width, self.height), '-depth', '8', 'rgb:-',
              path], input=self.rgb)


# ---------------------------------------------------------------------------------------------

class ProgramFailure(AssertionError):
    pass


def command(args):
    """The command line that runs args: a Windows program (its path ending in .exe) by wine."""
    args = [str(a) for a in args]
    if args and args[0].lower().endswith('.exe'):
        return ['wine'] + args
    return args


def _run(args, timeout=WAIT, check=True, input=None, env=None):
    """Runs a command to its end (a Windows program by wine). Its output goes through temporary
    files, not pipes: a process that Wine starts on the side (a console host, a service) may
    inherit the output and keep a pipe open long after the command itself has ended."""
    args = command(args)
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        p = subprocess.Popen(args, stdin=subprocess.PIPE if input is not None else subprocess.DEVNULL,
                             stdout=out, stderr=err, env=env)
        try:
            p.communicate(input, timeout=timeout)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            raise ProgramFailure('%s did not end within %ss' % (' '.join(args), timeout))
        out.seek(0)
        err.seek(0)
        r = subprocess.CompletedProcess(args, p.returncode, out.read(), err.read())
    if check and r.returncode != 0:
        raise ProgramFailure('%s failed (%d): %s' % (' '.join(args), r.returncode,
                                                    r.stderr.decode(errors='replace')))
    return r


def wininfo(*args):
    """Runs the window inspection tool; returns a list of dicts, one per window block."""
    exe = os.path.join(BUILD, 'tests', 'harness', 'wininfo.exe')
    # Wine's own errors (a process that fails to start) go to stderr and so into the failure.
    env = dict(os.environ, WINEDEBUG='-all,err+all')
    out = _run([exe] + [str(a) for a in args], env=env).stdout.decode('ascii', errors='replace')
    blocks, cur = [], {}
    for line in out.splitlines():
        if not line.strip():
            if cur:
                blocks.append(cur)
            cur = {}
            continue
        k, _, v = line.partition('=')
        cur[k] = v
    if cur:
        blocks.append(cur)
    for b in blocks:
        for k in ('window', 'client'):
            if k in b:
                b[k] = tuple(int(n) for n in b[k].split())
        if 'text' in b:
            b['text'] = bytes.fromhex(b['text'])
    return blocks


class Game:
    """One game folder and at most one running program in it (start() again for a second one)."""

    MAIN_CLASS = 'Morvane_MainWindow'

    def __init__(self, test, name, exe=None, time_limit=WAIT, clock_slowdown=None,
                 present_hold_ms=None, folder=None):
        """clock_slowdown: the program's millisecond clock runs that many times slower (its
        typing, waits and animations with it), for tests that watch a timed state.
        present_hold_ms: every frame the program presents stays up that long, for tests that must
        catch a frame shown once (a flash).
        folder: a game folder laid out already, its program (system.exe) in it, used as it is."""
        self.test = test
        self.name = name
        self.time_limit = time_limit
        self.env = dict(os.environ)
        if clock_slowdown:
            self.env['MORVANE_TEST_CLOCK_SLOWDOWN'] = str(clock_slowdown)
        if present_hold_ms:
            self.env['MORVANE_TEST_PRESENT_HOLD_MS'] = str(present_hold_ms)
        if folder:
            self.root = os.path.abspath(folder)
            self.exe = os.path.join(self.root, 'system.exe')
        else:
            self.root = os.path.join(os.getcwd(), 'games', CONFIG, name)
            shutil.rmtree(self.root, ignore_errors=True)
            os.makedirs(os.path.join(self.root, 'data'))
            src = exe or os.path.join(BUILD, 'system.exe')
            self.exe = os.path.join(self.root, os.path.basename(src))
            shutil.copy2(src, self.exe)
        self.procs = []
        self.expect_crash = False
        self._audio_watch = None

    # -- data folder --------------------------------------------------------------------------
    def path(self, rel):
        return os.path.join(self.root, *rel.replace('\\', '/').split('/'))

    def write(self, rel, data):
        """A loose file under the data folder (rel like 'script/start.txt')."""
        p = os.path.join(self.root, 'data', *rel.replace('\\', '/').split('/'))
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, 'wb') as f:
            f.write(data)

    def write_text(self, rel, text, encoding=None):
        self.write(rel, text_file(text, encoding))

    def archive(self, name, entries, priority=0, **kw):
        """A data archive in the data folder; entries as for archive_bytes, or a dict of
        name -> data (key 1 for all)."""
        if isinstance(entries, dict):
            entries = [(n, d, 1) for n, d in entries.items()]
        self.write(name, archive_bytes(entries, priority, **kw))

    def config(self, sections, archive=None, key=1):
        """A configuration: sections is {section: {key: value}}; written as "config\\config.txt"
        naming "config\\system.txt", loose or (archive='system.dat') in an enciphered archive."""
        body = ''.join('[%s]\n' % s + ''.join('%s=%s\n' % kv for kv in keys.items())
                       for s, keys in sections.items())
        files = {'config\\config.txt': text_file('system.txt\n'),
                 'config\\system.txt': text_file(body)}
        if archive:
            self.archive(archive, [(n, d, key) for n, d in files.items()])
        else:
            for n, d in files.items():
                self.write(n, d)

    # -- save folder ---------------------------------------------------------------------------
    def save_path(self, name):
        return os.path.join(self.root, 'save', name)

    def save(self, name):
        """A save-folder file, descrambled; None when it does not exist."""
        try:
            with open(self.save_path(name), 'rb') as f:
                return scramble(f.read(), SAVE_SEED)
        except FileNotFoundError:
            return None

    def write_save(self, name, data):
        os.makedirs(os.path.join(self.root, 'save'), exist_ok=True)
        with open(self.save_path(name), 'wb') as f:
            f.write(scramble(data, SAVE_SEED))

    # -- running -------------------------------------------------------------------------------
    def start(self, *args):
        log = open(os.path.join(self.root, 'run%d.log' % len(self.procs)), 'wb')
        p = subprocess.Popen(command([self.exe] + list(args)), cwd=self.root, env=self.env,
                             stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        p.started = time.time()
        p.log = log
        self.procs.append(p)
        if self._audio_watch is None or not self._audio_watch.is_alive():
            self._audio_watch = threading.Thread(target=self._raise_audio_threads, daemon=True)
            self._audio_watch.start()
        return p

    # Threads of the platform's sound output in a program (Wine names them so).
    AUDIO_THREADS = ('winepulse_', 'wine_dsound_', 'wine_mmdevapi')

    def _raise_audio_threads(self):
        """While programs of this folder run, puts their sound output threads in real time at
        the sound server's priority, as a desktop's audio stack does: on a machine busy with
        other work they are otherwise starved and leave gaps in what the program plays. Nothing
        else of the program changes priority; the Wine server of this prefix, which every wait
        of those threads goes through, gets a raised share of the processor (not real time)."""
        done = set()
        while any(p.poll() is None for p in self.procs):
            if 'server' not in done:
                server = _wine_server(self.env.get('WINEPREFIX'))
                if server:
                    done.add('server')
                    try:
                        os.setpriority(os.PRIO_PROCESS, server, -10)
                    except OSError:
                        pass
            for pid, _ in self.leftovers():
                try:
                    tids = os.listdir('/proc/%d/task' % pid)
                except OSError:
                    continue
                for tid in tids:
                    if (pid, tid) in done:
                        continue
                    try:
                        with open('/proc/%d/task/%s/comm' % (pid, tid)) as f:
                            name = f.read().strip()
                    except OSError:
                        continue
                    if not name.startswith(self.AUDIO_THREADS):
                        continue
                    done.add((pid, tid))
                    try:
                        os.sched_setscheduler(int(tid), os.SCHED_RR, os.sched_param(5))
                    except OSError:
                        try:
                            os.setpriority(os.PRIO_PROCESS, int(tid), -10)
                        except OSError:
                            pass
            time.sleep(0.2)

    @property
    def proc(self):
        return self.procs[-1]

    def log_text(self, i=-1):
        p = self.procs[i]
        p.log.flush()
        # A Windows program's C runtime writes its lines in text mode, ending them CR LF.
        with open(p.log.name, 'rb') as f:
            return f.read().decode(errors='replace').replace('\r\n', '\n')

    def wait_exit(self, timeout=None, proc=None):
        """Waits for the program to end; returns its exit code. A program still running after
        the time limit is killed and fails the test."""
        p = proc or self.proc
        try:
            rc = p.wait(timeout=timeout or self.time_limit)
        except subprocess.TimeoutExpired:
            self.kill_all()
            raise ProgramFailure('%s: the program hangs (still running after %ss)\n%s'
                                 % (self.name, timeout or self.time_limit, self.log_text()))
        self._check_crash(p)
        return rc

    def running(self, proc=None):
        return (proc or self.proc).poll() is None

    def _check_crash(self, p):
        text = self.log_text(self.procs.index(p))
        if not self.expect_crash and ('Unhandled exception' in text or 'Unhandled page fault' in text
                                      or 'wine: Unhandled' in text or 'Backtrace:' in text):
            raise ProgramFailure('%s: the program crashed\n%s' % (self.name, text[-4000:]))

    def leftovers(self):
        """Processes still running from this game folder."""
        found = []
        for pid in os.listdir('/proc'):
            if not pid.isdigit():
                continue
            try:
                with open('/proc/%s/cmdline' % pid, 'rb') as f:
                    cmd = f.read().replace(b'\0', b' ').decode(errors='replace')
                cwd = os.readlink('/proc/%s/cwd' % pid)
            except OSError:
                continue
            if self.root in cmd or cwd == self.root:
                found.append((int(pid), cmd.strip()))
        return found

    def kill_all(self):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
                p.wait()
        # A process being started may exec into another image after a kill: repeat until none
        # is left.
        deadline = time.time() + 10
        left = self.leftovers()
        while left and time.time() < deadline:
            for pid, _ in left:
                try:
                    os.kill(pid, 9)
                except OSError:
                    pass
            time.sleep(0.1)
            left = self.leftovers()

    def __enter__(self):
        return self

    def __exit__(self, kind, value, tb):
        still = [p for p in self.procs if p.poll() is None]
        for p in still:
            try:
                p.wait(timeout=WAIT / 2)
            except subprocess.TimeoutExpired:
                pass
        for p in self.procs:
            if p.poll() is not None:
                try:
                    self._check_crash(p)
                except ProgramFailure:
                    if kind is None:
                        self.kill_all()
                        raise
        deadline = time.time() + WAIT / 2
        left = self.leftovers()
        while left and time.time() < deadline:
            time.sleep(0.1)
            left = self.leftovers()
        running = [p for p in self.procs if p.poll() is None]
        self.kill_all()
        for p in self.procs:
            p.log.close()
        if kind is None and running:
            raise ProgramFailure('%s: the program hangs (still running at the end of the test)'
                                 % self.name)
        if kind is None and left:
            raise ProgramFailure('%s: processes left behind: %s' % (self.name, left))
        return False

    # -- the window ------------------------------------------------------------------------------
    def windows(self, cls=None):
        return wininfo('find', cls or self.MAIN_CLASS)

    def wait_window(self, cls=None, timeout=WAIT, count=1):
        """Waits until count visible windows of the class exist; returns the first."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            ws = [w for w in self.windows(cls) if w.get('visible') == '1']
            if len(ws) >= count:
                return ws[0]
            if all(p.poll() is not None for p in self.procs):
                for p in self.procs:
                    self._check_crash(p)
                raise ProgramFailure('%s: the program ended before its window appeared\n%s'
                                     % (self.name, self.log_text()))
            time.sleep(0.1)
        raise ProgramFailure('%s: no window of class %s after %ss' % (self.name, cls, timeout))

    def window(self, cls=None):
        ws = self.windows(cls)
        if not ws:
            raise ProgramFailure('%s: no window of class %s' % (self.name, cls or self.MAIN_CLASS))
        return ws[0]

    def dialogs(self):
        return wininfo('dialogs')

    def wait_dialog(self, timeout=WAIT):
        deadline = time.time() + timeout
        while time.time() < deadline:
            ds = [d for d in self.dialogs() if d.get('visible') == '1']
            if ds:
                return ds[0]
            time.sleep(0.1)
        raise ProgramFailure('%s: no dialog appeared' % self.name)

    def answer_dialog(self, answer, box=None, timeout=WAIT):
        """Presses a button (its id: IDYES ...) of a dialog (the one that appears, or box) and
        waits until that dialog is gone, so that a later wait_dialog finds the next one and not
        this one closing. Returns the dialog."""
        box = box or self.wait_dialog(timeout)
        wininfo('command', box['hwnd'], answer)
        wait_for(lambda: box['hwnd'] not in [d['hwnd'] for d in self.dialogs()
                                             if d.get('visible') == '1'],
                 '%s: the dialog did not close' % self.name, timeout)
        return box

    def children(self, w):
        return wininfo('children', w['hwnd'])

    def close(self, w=None):
        """Asks the window to close (WM_CLOSE), as its close box does."""
        wininfo('close', (w or self.window())['hwnd'])

    def restore(self, w=None):
        """Restores a minimised window, as a taskbar button does."""
        wininfo('restore', (w or self.window())['hwnd'])

    def class_icon(self, w=None):
        """The class's small icon as the window's caption shows it: the pixels of that square (the
        tool cannot read another process's class fields, so the drawing is read)."""
        r = wininfo('classicon', (w or self.window())['hwnd'])[0]['iconrect']
        return screenshot_screen(*(int(n) for n in r.split()))

    # -- input (real X events) ---------------------------------------------------------------------
    def click(self, x, y, button=1):
        """A click at client coordinates of the main window, pressed once the program has seen
        the pointer there."""
        self.move(x, y)
        xdotool('click', button)

    def move(self, x, y):
        """Moves the pointer and returns once the program has been through its input loop since:
        the program hit-tests a press where it last read the pointer, so a press sent right after
        a move would, on a busy machine, land where the pointer was before."""
        w = self.window()
        c = w['client']
        xdotool('mousemove', c[0] + x, c[1] + y)
        self.sync(w)

    def sync(self, w=None):
        """Returns once the main window's thread has answered two messages sent after this call
        began (it has read its input since); does nothing more when it does not answer."""
        exe = os.path.join(BUILD, 'tests', 'harness', 'wininfo.exe')
        _run([exe, 'sync', str((w or self.window())['hwnd'])], timeout=WAIT + 10, check=False,
             env=dict(os.environ, WINEDEBUG='-all'))

    def key(self, *names, window=None):
        """Key presses (xdotool key names: Return, Escape, Insert, ctrl+s ...); the window (the
        main window by default, or a wininfo block) gets the keyboard focus first."""
        self.focus(window)
        xdotool('key', *names)

    def key_down(self, name):
        self.focus()
        xdotool('keydown', name)

    def key_up(self, name):
        xdotool('keyup', name)

    def click_window(self, w, x, y, button=1):
        """A click at client coordinates of any window (a wininfo block: a dialog, a control)."""
        c = w['client']
        xdotool('mousemove', c[0] + x, c[1] + y)
        xdotool('click', button)

    def focus(self, w=None):
        """Gives the keyboard focus to a window (the main window by default)."""
        c = (w or self.window())['client']
        # Without a window manager, a click-free way to give focus: move into the client area
        # and ask X for the focus on the window under the pointer.
        xdotool('mousemove', c[0] + 1, c[1] + 1)
        r = _run(['xdotool', 'getmouselocation', '--shell'], check=False).stdout.decode()
        wid = dict(l.split('=', 1) for l in r.split() if '=' in l).get('WINDOW')
        if wid:
            _run(['xdotool', 'windowfocus', '--sync', wid], check=False)

    # -- screenshots ---------------------------------------------------------------------------------
    def screenshot(self, x=0, y=0, w=None, h=None):
        """The client area (or a rectangle of it) of the main window, read from the display."""
        c = self.window()['client']
        w = c[2] - x if w is None else w
        h = c[3] - y if h is None else h
        return screenshot_screen(c[0] + x, c[1] + y, w, h)

    def wait_still(self, x=0, y=0, w=None, h=None, quiet=1.0, timeout=WAIT):
        """Waits until a rectangle of the client area stops changing: two screenshots quiet
        seconds apart are equal. Returns the last one."""
        deadline = time.time() + timeout
        last = self.screenshot(x, y, w, h)
        while True:
            time.sleep(quiet)
            shot = self.screenshot(x, y, w, h)
            if not shot.differs(last):
                return shot
            if time.time() > deadline:
                raise ProgramFailure('%s: the screen still changes after %ss' % (self.name, timeout))
            last = shot


def _wine_server(prefix):
    """The process id of the Wine server of that prefix, or None."""
    if not prefix:
        return None
    want = ('WINEPREFIX=%s' % prefix).encode()
    for pid in os.listdir('/proc'):
        if not pid.isdigit():
            continue
        try:
            with open('/proc/%s/comm' % pid) as f:
                if not f.read().startswith('wineserver'):
                    continue
            with open('/proc/%s/environ' % pid, 'rb') as f:
                if want in f.read().split(b'\0'):
                    return int(pid)
        except OSError:
            continue
    return None


def screenshot_screen(x, y, w, h):
    r = _run(['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (w, h, x, y), '+repage',
              '-depth', '8', 'rgb:-'])
    if len(r.stdout) != w * h * 3:
        raise ProgramFailure('screenshot of %dx%d returned %d bytes' % (w, h, len(r.stdout)))
    return Image(w, h, r.stdout)


def clipboard_text():
    """The clipboard's plain text (CF_TEXT) as bytes; None when it holds none."""
    b = wininfo('clipboard')[0]
    return b['text'] if b.get('available') == '1' else None


_BRAND_SOURCE = r"""
#include <cpuid.h>
#include <stdio.h>
#include <string.h>
int main(void) {
    unsigned r[12] = {0};
    for (unsigned i = 0; i < 3; ++i)
        if (!__get_cpuid(0x80000002u + i, &r[4 * i], &r[4 * i + 1], &r[4 * i + 2], &r[4 * i + 3]))
            return 1;
    char s[49] = {0};
    memcpy(s, r, 48);
    fputs(s, stdout);
    return 0;
}
"""


def processor_brand():
    """The processor's brand string as cpuid gives it (what Windows and the program report), read by
    a small host program: the kernel's "model name" may be another name where a hypervisor set one."""
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, 'brand.c')
        with open(source, 'w') as f:
            f.write(_BRAND_SOURCE)
        program = os.path.join(folder, 'brand')
        subprocess.run(['cc', '-O0', '-o', program, source], check=True, timeout=WAIT)
        out = subprocess.run([program], check=True, stdout=subprocess.PIPE, timeout=WAIT).stdout
    return out.split(b'\0', 1)[0].strip()


def combo_items(w):
    """A combo box's items as text, and its selected index."""
    b = wininfo('combo', w['hwnd'])[0]
    items = [bytes.fromhex(b['item%d' % i]).decode('utf-16-le') for i in range(int(b['count']))]
    return items, int(b['selected'])


def xdotool(*args):
    _run(['xdotool'] + [str(a) for a in args])


def default_settings():
    """The 336-byte settings block (morvane.cfg) with the program's defaults, for a test to change."""
    b = bytearray(336)
    struct.pack_into('<III', b, 0, 2, 2, 5)     # text speeds, auto speed
    b[13] = 1                                   # text shadow
    b[14:18] = bytes([1, 1, 1, 1])              # sound channels on
    struct.pack_into('<IIII', b, 20, 50, 50, 50, 50)
    b[36:41] = bytes([1, 1, 1, 0, 1])           # voices, stop voice on page, window, effects
    b[46] = 1                                   # end skip after a choice
    b[308:313] = bytes([11, 22, 14, 4, 2])      # right, middle, wheel up, wheel down, space
    b[325:327] = bytes([2, 3])                  # pad buttons 1 and 2
    return b


def wait_until(predicate, timeout=WAIT, step=0.05):
    """Waits until predicate() is true; returns its last value (false after the timeout)."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        v = predicate()
        if v:
            return v
        time.sleep(step)
    return predicate()


def wait_for(predicate, what, timeout=WAIT, step=0.05):
    """As wait_until, but a timeout fails the test with the message what."""
    v = wait_until(predicate, timeout, step)
    if not v:
        raise ProgramFailure(what)
    return v


# ---------------------------------------------------------------------------------------------
# Sound: the sound server's null sink (scripts/wine-env), recorded from its monitor.

AUDIO_RATE = 44100
AUDIO_SINK = 'morvane'
_TONE_TABLES = {}


class Recording:
    """What the sink played: 16-bit stereo at 44.1 kHz, kept as mono samples in -1..1. Times are
    seconds from the first recorded sample (the sink records while something plays into it)."""

    def __init__(self, raw):
        import array
        a = array.array('h')
        a.frombytes(raw[:len(raw) // 4 * 4])
        if sys.byteorder != 'little':
            a.byteswap()
        self.mono = [(a[i] + a[i + 1]) / 65536.0 for i in range(0, len(a), 2)]

    @property
    def seconds(self):
        return len(self.mono) / AUDIO_RATE

    def span(self, t0, t1):
        i0 = max(0, int(round(t0 * AUDIO_RATE)))
        i1 = min(len(self.mono), int(round(t1 * AUDIO_RATE)))
        return self.mono[i0:i1] if i1 > i0 else []

    def rms(self, t0, t1):
        x = self.span(t0, t1)
        return math.sqrt(sum(v * v for v in x) / len(x)) if x else 0.0

    def tone(self, frequency, t0, t1):
        """Amplitude of a sine of that frequency in the span (a full-scale sine gives 1)."""
        x = self.span(t0, t1)
        if not x:
            return 0.0
        key = (frequency, len(x))
        if key not in _TONE_TABLES:
            w = 2 * math.pi * frequency / AUDIO_RATE
            _TONE_TABLES[key] = ([math.cos(w * i) for i in range(len(x))],
                                 [math.sin(w * i) for i in range(len(x))])
        cos, sin = _TONE_TABLES[key]
        c = sum(v * k for v, k in zip(x, cos))
        s = sum(v * k for v, k in zip(x, sin))
        return 2 * math.hypot(c, s) / len(x)

    def tone_steady(self, frequency, t0, t1, window=0.05):
        """The tone's median amplitude over short windows (a long window loses a tone whose phase
        jumps where the platform dropped or inserted a few samples)."""
        amps = sorted(self.tone(frequency, t, t + window) for t, _ in self.levels(window, t0, t1))
        return amps[len(amps) // 2] if amps else 0.0

    def tone_peak(self, frequency, t0, t1, window=0.05):
        """The tone's largest amplitude over short windows."""
        return max([self.tone(frequency, t, t + window) for t, _ in self.levels(window, t0, t1)]
                   or [0.0])

    def levels(self, window, t0=0.0, t1=None):
        """(start, rms) of consecutive windows."""
        t1 = self.seconds if t1 is None else min(t1, self.seconds)
        out, t = [], t0
        while t + window <= t1 + 1e-9:
            out.append((t, self.rms(t, t + window)))
            t += window
        return out

    def onset(self, threshold=0.02, after=0.0, window=0.005):
        """Start of the first window louder than the threshold, or None."""
        for t, r in self.levels(window, after):
            if r > threshold:
                return t
        return None

    def silent_runs(self, threshold, t0, t1, window=0.01):
        """(start, length) of the runs of windows quieter than the threshold."""
        runs, start = [], None
        for t, r in self.levels(window, t0, t1):
            if r < threshold:
                start = t if start is None else start
            elif start is not None:
                runs.append((start, t - start))
                start = None
        if start is not None:
            runs.append((start, t1 - start))
        return runs

    def tone_runs(self, frequencies, t0, t1, window=0.02, shortest=0.06, floor=0.01):
        """The dominant frequency over time as [(frequency, start, length)]: windows quieter than
        the floor count as None; runs shorter than `shortest` join their neighbours."""
        marks = []
        for t, r in self.levels(window, t0, t1):
            if r < floor:
                marks.append((None, t))
                continue
            amps = {f: self.tone(f, t, t + window) for f in frequencies}
            marks.append((max(amps, key=amps.get), t))
        runs = []
        for f, t in marks:
            if runs and runs[-1][0] == f:
                runs[-1][2] += window
            else:
                runs.append([f, t, window])
        merged = []
        for run in runs:
            if run[2] < shortest and merged:
                merged[-1][2] += run[2]
            elif merged and merged[-1][0] == run[0]:
                merged[-1][2] += run[2]
            else:
                merged.append(run)
        return [tuple(r) for r in merged]


def decibels(level, reference):
    return 20 * math.log10(max(level, 1e-9) / reference)


class AudioCapture:
    """Records the sink's monitor while it is open:

        with AudioCapture(path) as audio:
            ...
        recording = audio.recording
    """

    def __init__(self, path):
        self.path = path
        self.recording = None

    def __enter__(self):
        self.file = open(self.path, 'wb')
        self.proc = subprocess.Popen(
            ['parec', '--device=%s.monitor' % AUDIO_SINK, '--raw', '--format=s16le',
             '--rate=%d' % AUDIO_RATE, '--channels=2', '--latency-msec=20'],
            stdin=subprocess.DEVNULL, stdout=self.file, stderr=subprocess.DEVNULL)
        self.started = time.time()
        return self

    def so_far(self):
        """What has been recorded up to now (the recording goes on)."""
        with open(self.path, 'rb') as f:
            return Recording(f.read())

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.file.close()
        with open(self.path, 'rb') as f:
            self.recording = Recording(f.read())
        return self.recording

    def __exit__(self, kind, value, tb):
        if self.recording is None:
            self.stop()
        return False


def main():
    unittest.main(verbosity=2)
