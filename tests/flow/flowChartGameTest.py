"""Whole program: the flow chart of the full configuration, its absence from the earlier one, and
the quick saves of each loaded by the other.

The game: an 800 by 600 screen, F2 bound to action 23 in the settings file (its byte at +314),
the checklist a01 a02 a03, and start.txt calling a01.txt (no message) and a02.txt (one message);
a global variable "step" in "flagdata.000" tells where the script stands. The chart ("flowdata.txt")
puts a01 (plain) at grid point 5 5, a02 (plain) at 15 5, a03 (keypoint) at 25 10 and a switch node
at 10 15, with a link a01 -> a02 along row 5 and two links that are never taken; its background
image is dark blue, laid over the (black) scene at half opacity.

The cross test runs the earlier configuration's program in that build's own environment through
this script's "earlier" mode (see the end of the file).
"""
import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'harness'))
from game import (BUILD, CONFIG, Game, TestCase, default_settings, main, wait_until,  # noqa: E402
                  xdotool)

IDYES = 6
HEADER_SIZE = 25120
FLAGS = {'G000': 'step'}
BOX = (20, 30, 80)
MESSAGE = (40, 420, 720, 160)   # where the window layout shows the message text

BACKGROUND = (0, 0, 100)        # the dark blue background at half opacity over black
ORANGE, BLUE, DARK = (255, 180, 0), (100, 100, 200), (50, 50, 100)
WHITE, YELLOW, PINK = (255, 255, 255), (255, 255, 130), (255, 180, 255)
A01, A02, A03, SWITCH = (80, 80), (240, 80), (400, 160), (160, 240)

FLOWDATA = '\n'.join([
    'params', 'offset 0 0', ';',
    'a01 5 5', 'flag a01', 'chapt First', 'link a02 x15', 'link a03 y10 x25', ';',
    'a02 15 5', 'flag a02', 'chapt Second', 'link a03 y15 x10', ';',
    'keypoint 25 10', 'flag a03', 'chapt Third', ';',
    'switch 10 15', 'flag a03', ';',
    ''])


def start_script(between=None):
    return '\n'.join(['.CALL a01.txt'] + ([between] if between else []) +
                     ['.CALL a02.txt', '?step = 3', 'The last message.', '?step = 4', '.wait', ''])


def png(width, height, rgba):
    row = b'\0' + bytes(rgba) * width

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(row * height)) + chunk(b'IEND', b''))


def settings_block():
    """The settings defaults with F2 bound to the flow chart (23)."""
    b = default_settings()
    b[314] = 23                                 # F2
    return bytes(b)


def records(data):
    """The records of a save-record stream in stored order: (name, data)."""
    out, at = [], 0
    while at + 4 <= len(data):
        (n,) = struct.unpack_from('<I', data, at)
        name = data[at + 4:at + 4 + n]
        (size,) = struct.unpack_from('<I', data, at + 4 + n)
        out.append((name.decode('latin-1'), data[at + 8 + n:at + 8 + n + size]))
        at += 8 + n + size
    return out


def sections(save):
    return records(save[HEADER_SIZE:])


def flow_record(save):
    """The flow section of a save: LastNode and the four sets (as sets of str)."""
    flow = dict(sections(save))['Data_Flow']
    fields = dict(records(flow))
    text = lambda v: v.split(b'\0')[0].decode('latin-1')
    result = {'LastNode': text(fields['LastNode'])}
    for stem in ('AN', 'AL', 'VN', 'VL'):
        (count,) = struct.unpack('<I', fields[stem + '_Count'])
        result[stem] = {text(fields['%s%d' % (stem, i)]) for i in range(count)}
    return result


def step_of(g):
    data = g.save('flagdata.000')
    return struct.unpack_from('<i', data)[0] if data and len(data) == 4000 else 0


def make_game(test, name, between=None):
    g = Game(test, name)
    g.config({'System.Setting': {'ScreenWidth': '800', 'ScreenHeight': '600',
                                 'ProductID': 'MorvaneFlow'},
              'Define.Flag': FLAGS})
    g.write('img/sys_box_normal.png', png(800, 200, BOX + (255,)))
    g.write('img/sys_flow_base.png', png(800, 600, (0, 0, 200, 255)))
    g.write_save('morvane.cfg', settings_block())
    g.write_text('flow/checklist.txt', 'a01\na02\na03\n')
    g.write_text('flow/flowdata.txt', FLOWDATA)
    g.write_text('script/start.txt', start_script(between))
    g.write_text('script/a01.txt', ';a01 shows nothing\n')
    g.write_text('script/a02.txt', '?step = 2\nThe message of a02.\n')
    return g


class Driver:
    """Steps of a game shared by the tests and the earlier mode."""

    def __init__(self, test, g):
        self.test, self.g = test, g

    def settled(self, rect=(0, 0, 800, 600)):
        # A whole second without change: a busy machine may hold typing up for a moment.
        last = self.g.screenshot(*rect)
        for _ in range(100):
            time.sleep(1.0)
            now = self.g.screenshot(*rect)
            if not now.differs(last):
                return now
            last = now
        self.test.fail('the screen does not settle')

    def wait_step(self, step, timeout=60):
        self.test.assertTrue(wait_until(lambda: step_of(self.g) >= step, timeout),
                             'the script did not reach step %d (at %d)' % (step, step_of(self.g)))
        self.test.assertEqual(step, step_of(self.g), 'the script went past step %d' % step)

    def message(self):
        """The message area once the message has been typed."""
        bright = lambda im: im.count(lambda p: max(p) > 150)
        self.test.assertTrue(wait_until(lambda: bright(self.g.screenshot(*MESSAGE)) > 20),
                             'no message text')
        return self.settled(MESSAGE)

    def start_at_a02(self):
        self.g.start()
        self.g.wait_window()
        self.wait_step(2)
        return self.message()

    def click_until(self, predicate, what, tries=6):
        for _ in range(tries):
            self.g.click(400, 300)
            if wait_until(predicate, 15):
                return
        self.test.fail('clicks did not get past ' + what)

    def quick_save(self):
        before = self.g.save('savedata.000')
        self.g.key('Insert')
        self.test.assertTrue(wait_until(lambda: self.g.save('savedata.000') not in (None, before)
                                        and len(self.g.save('savedata.000')) > HEADER_SIZE),
                             'no quick save')
        # The header is rewritten with its memo right after.
        memo = lambda: (self.g.save('savedata.000') or b'\0' * 529)[528]  # noqa: E731
        self.test.assertTrue(wait_until(lambda: memo() != 0), 'the quick save got no memo')
        return self.g.save('savedata.000')

    def load_quick_save(self, raw):
        """Puts a quick save (as stored) in the save folder while the game runs at the last
        message, loads it and checks that it resumes at a02's message."""
        a02 = self.start_at_a02()
        self.click_until(lambda: step_of(self.g) >= 3, "a02's message")
        last = self.message()
        self.test.assertTrue(last.differs(a02))
        with open(self.g.save_path('savedata.000'), 'wb') as f:
            f.write(raw)
        self.g.key('Delete')
        self.test.assertTrue(wait_until(lambda: not self.g.screenshot(*MESSAGE).differs(a02)),
                             "the load did not resume at a02's message")

    def quit(self):
        self.g.close()
        self.g.answer_dialog(IDYES)
        self.test.assertEqual(0, self.g.wait_exit())


class FlowChart(TestCase):
    def chart(self, d):
        """Opens the chart with F2 at a02's message; returns its picture."""
        d.g.key('F2')
        self.assertTrue(wait_until(lambda: d.g.screenshot(*A02, 1, 1).pixel(0, 0) == WHITE),
                        'the chart did not open: %s' % (d.g.screenshot(*A02, 1, 1).pixel(0, 0),))
        return d.settled()

    def assertColour(self, image, point, colour, what):
        self.assertEqual(colour, image.pixel(*point), '%s at %s' % (what, point))

    def test_chart_in_a02s_message(self):
        if CONFIG != 'full':
            self.skipTest('the full configuration only')
        with make_game(self, 'flow_chart') as g:
            d = Driver(self, g)
            d.start_at_a02()
            before = d.settled()
            chart = self.chart(d)
            self.assertEqual([], [w for w in g.dialogs() if w.get('visible') == '1'])
            self.assertColour(chart, A02, WHITE, 'a02, the current node')
            self.assertColour(chart, A01, YELLOW, 'a01 (plain) on the route')
            self.assertColour(chart, A03, PINK, 'a03, a keypoint never visited')
            self.assertColour(chart, SWITCH, YELLOW, 'a switch node')
            for y in (79, 80):
                self.assertColour(chart, (160, y), ORANGE, 'the link a01 -> a02')
            for y in (78, 81):
                self.assertColour(chart, (160, y), BACKGROUND, 'beside the link a01 -> a02')
            self.assertColour(chart, (80, 120), DARK, 'the link a01 -> a03')
            self.assertColour(chart, (240, 120), DARK, 'the link a02 -> a03')
            self.assertColour(chart, (600, 300), BACKGROUND, 'the background')
            self.assertColour(chart, (400, 500), BACKGROUND, 'the message window, hidden')

            # The caption of a01 right above it once the mouse is over it.
            caption = (88, 60, 120, 18)
            self.assertEqual(0, g.screenshot(*caption).count(lambda p: p != BACKGROUND))
            g.move(*A01)
            self.assertTrue(wait_until(lambda: g.screenshot(*caption).count(
                lambda p: min(p) > 200) > 10, 10), 'no caption')
            shown = g.screenshot(*caption)
            self.assertGreater(shown.count(lambda p: max(p) < 30), 10, 'no black outline')

            # Leaving the window sends no message; the caption goes all the same.
            client = g.window()['client']
            xdotool('mousemove', client[0] - 100, client[1] + A01[1])
            self.assertTrue(wait_until(lambda: not g.screenshot(*caption).count(
                lambda p: p != BACKGROUND), 10), 'the caption stayed')

            # A right click closes it; the message still waits, and a click ends it.
            g.click(700, 300, button=3)
            self.assertTrue(wait_until(lambda: not g.screenshot().differs(before)),
                            'the chart did not close')
            time.sleep(1.0)
            self.assertEqual(2, step_of(g))
            d.click_until(lambda: step_of(g) >= 3, "a02's message")
            d.quit()

    def test_quick_save_holds_the_flow_record(self):
        if CONFIG != 'full':
            self.skipTest('the full configuration only')
        with make_game(self, 'flow_save') as g:
            d = Driver(self, g)
            d.start_at_a02()
            save = d.quick_save()
            self.assertEqual(['Data_Script', 'Data_Sound', 'Data_Anime', 'Data_Flags', 'Data_Log',
                              'Data_Flow'], [n for n, _ in sections(save)])
            self.assertEqual({'LastNode': 'a02', 'AN': {'a01', 'a02'}, 'VN': {'a01', 'a02'},
                              'AL': {'a01\ta01', 'a01\ta02', 'a02\ta02'},
                              'VL': {'a01\ta01', 'a01\ta02', 'a02\ta02'}}, flow_record(save))
            d.quit()

    def route_colour(self, between, colour):
        if CONFIG != 'full':
            self.skipTest('the full configuration only')
        with make_game(self, 'flow_' + between.strip('.'), between) as g:
            d = Driver(self, g)
            d.start_at_a02()
            chart = self.chart(d)
            self.assertColour(chart, A01, colour, 'a01 after "%s"' % between)
            # Either way a02 is entered with no last node: no link into it.
            self.assertColour(chart, (160, 80), DARK, 'the link a01 -> a02')
            g.click(700, 300, button=3)
            d.quit()

    def test_custom_between_the_calls_ends_the_route(self):
        self.route_colour('.custom', BLUE)

    def test_reset_between_the_calls_forgets_everything(self):
        self.route_colour('.reset', DARK)

    def test_earlier_configuration_has_no_chart(self):
        if CONFIG != 'earlier':
            self.skipTest('the earlier configuration only')
        with make_game(self, 'flow_earlier') as g:
            d = Driver(self, g)
            d.start_at_a02()
            before = d.settled()
            g.key('F2')
            time.sleep(1.5)
            self.assertFalse(g.screenshot().differs(before), 'F2 changed the screen')
            self.assertEqual(2, step_of(g))
            d.click_until(lambda: step_of(g) >= 3, "a02's message")
            d.quit()

    def test_earlier_quick_save_has_five_sections(self):
        if CONFIG != 'earlier':
            self.skipTest('the earlier configuration only')
        with make_game(self, 'flow_earlier_save') as g:
            d = Driver(self, g)
            d.start_at_a02()
            save = d.quick_save()
            self.assertEqual(['Data_Script', 'Data_Sound', 'Data_Anime', 'Data_Flags', 'Data_Log'],
                             [n for n, _ in sections(save)])
            d.quit()

    def test_each_configuration_loads_the_others_quick_save(self):
        if CONFIG != 'full':
            self.skipTest('run from the full configuration, with the earlier one beside it')
        other = os.path.join(os.path.dirname(BUILD), 'earlier')
        self.assertTrue(os.path.exists(os.path.join(other, 'system.exe')),
                        'the earlier configuration is not built in ' + other)
        folder = os.path.join(os.getcwd(), 'cross-saves')
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)

        with make_game(self, 'flow_cross_full_save') as g:
            d = Driver(self, g)
            d.start_at_a02()
            d.quick_save()
            shutil.copy(g.save_path('savedata.000'), os.path.join(folder, 'full.000'))
            d.quit()
        run_earlier(self, other, 'save-and-load', folder)

        with make_game(self, 'flow_cross_full_load') as g:
            d = Driver(self, g)
            with open(os.path.join(folder, 'earlier.000'), 'rb') as f:
                d.load_quick_save(f.read())
            chart = self.chart(d)
            self.assertColour(chart, A02, WHITE, 'a02, entered by the load')
            self.assertColour(chart, A01, DARK, 'a01 after loading a save without a flow record')
            self.assertColour(chart, (160, 80), DARK, 'the link a01 -> a02')
            g.click(700, 300, button=3)
            d.quit()


def run_earlier(test, other, mode, folder):
    """Runs this script's earlier mode in the earlier build's own environment; stops that
    environment afterwards unless it was running before."""
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    pid_file = os.path.join(other, 'wine', 'xvfb.pid')

    def running():
        try:
            with open(pid_file) as f:
                os.kill(int(f.read().strip()), 0)
            return True
        except (OSError, ValueError):
            return False
    was_running = running()
    log = os.path.join(folder, 'earlier.log')
    try:
        with open(log, 'wb') as out:
            rc = subprocess.call([os.path.join(root, 'scripts', 'wine-run'), other, 'python3',
                                  os.path.abspath(__file__), 'earlier', mode, folder],
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                 timeout=240)
    finally:
        if not was_running:
            subprocess.call([os.path.join(root, 'scripts', 'wine-env'), 'stop', other],
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, timeout=60)
    with open(log, 'rb') as f:
        text = f.read().decode(errors='replace')
    test.assertEqual(0, rc, 'the earlier configuration failed:\n' + text[-4000:])


class Earlier(TestCase):
    """The earlier configuration's side of the cross test: its own quick save into the folder,
    then the full configuration's one loaded (run under the earlier build's environment)."""
    folder = None

    def test_save_and_load(self):
        with make_game(self, 'flow_cross_earlier_save') as g:
            d = Driver(self, g)
            d.start_at_a02()
            d.quick_save()
            shutil.copy(g.save_path('savedata.000'), os.path.join(self.folder, 'earlier.000'))
            d.quit()
        with make_game(self, 'flow_cross_earlier_load') as g:
            d = Driver(self, g)
            with open(os.path.join(self.folder, 'full.000'), 'rb') as f:
                d.load_quick_save(f.read())
            d.quit()


if __name__ == '__main__':
    if len(sys.argv) == 4 and sys.argv[1] == 'earlier':
        Earlier.folder = sys.argv[3]
        sys.argv = sys.argv[:1] + ['Earlier.test_' + sys.argv[2].replace('-', '_')]
    elif len(sys.argv) == 1:
        sys.argv.append('FlowChart')
    main()
