"""Playing the demo game through the whole program: what the tests know of its screens and of its
scenario, and a player that waits for each observable state and answers it with real input, the
mouse alone or the keyboard alone.

What the player sees comes from the generated pictures (tools/demo/pictures.py holds their
colours and places): the top band of every background tells the scene, the name plate's fill tells
a named speaker from narration and the name's left edge its length, and the click prompt (its own
colour, drawn right after the last character only once a message has typed out) tells that a
message waits. The routes are the scripts' messages in order (demo/README.md lists them), so a
test knows which message of which script waits at each step.
"""
import os
import struct
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, '..', '..'))
sys.path.insert(0, os.path.join(HERE, '..', 'harness'))
sys.path.insert(0, os.path.join(REPO, 'tools', 'demo'))
from game import (BUILD, CONFIG, Game, ProgramFailure, default_settings, screenshot_screen,  # noqa: E402
                  wait_until, wininfo, xdotool)
import pictures  # noqa: E402

IDYES = 6
TITLE = '灯台の手紙' if CONFIG == 'earlier' else '灯塔的信'
BUILD_DEMO = os.path.join(REPO, 'tools', 'demo', 'buildDemo')

BANDS = {name[:-4]: colour for name, colour in pictures.TOP_BANDS.items()}
BAND_POINT = (400, 30)

# The window layout: the box at (0, 400), its text lines from (80, 470), 40 pixels apart; the name
# centred on x 142 at y 418, 6 pixels left of it per byte (12 per double-byte character).
TEXT_AREA = (76, 462, 590, 136)
NAME_AREA = (90, 414, 110, 30)
PLATE_POINT = (240, 425)
# The novel layout: text over the whole screen from x 80, the first line 40 pixels down.
NOVEL_AREA = (60, 30, 700, 560)

YUKINO_COAT = (200, 380)     # slot 3, "left"
RIGHT_COAT = (600, 380)      # slot 4 (Wataru) or slot 5 (the keeper), "right"
CLOCK_DIAL = (685, 535)
CLOCK_CENTRE = (715, 505)
OPTION_ROWS = (160, 230)     # the text choice's buttons, 600 by 60 at x 100
MAP_POINTS = {name: (x + 32, y + 52) for name, ((x, y), _) in pictures.MAP_PLACES.items()}
MAP_CENTRES = {name: (x + 32, y + 32) for name, ((x, y), _) in pictures.MAP_PLACES.items()}
MAP_DISABLED = (110, 110, 110)
MAP_HOT = {'cliff': (255, 250, 140), 'beach': (170, 250, 255), 'forest': (160, 250, 170)}
# The arrow key that moves the program's cursor from the icon under it (or from none) towards a
# place: the icons lie at cliff (592, 142), forest (332, 222), beach (182, 392).
MAP_STEPS = {(None, 'cliff'): 'Right', (None, 'forest'): 'Up', (None, 'beach'): 'Down',
             ('forest', 'cliff'): 'Right', ('forest', 'beach'): 'Down',
             ('cliff', 'forest'): 'Left', ('cliff', 'beach'): 'Left',
             ('beach', 'forest'): 'Up', ('beach', 'cliff'): 'Up'}


def near(p, colour, tolerance=10):
    return all(abs(a - b) <= tolerance for a, b in zip(p, colour))


def darkened(colour):
    """A colour under the novel layout's veil: black at opacity 127."""
    return tuple(c * 128 // 255 for c in colour)


# ---------------------------------------------------------------------------------------------
# What a screenshot shows.

class View:
    """One screenshot of the whole client area and what the tests read from it."""

    def __init__(self, image):
        self.image = image

    def pixel(self, x, y):
        return self.image.pixel(x, y)

    def region(self, area):
        x0, y0, w, h = area
        img = self.image
        rows = []
        for y in range(y0, y0 + h):
            i = (y * img.width + x0) * 3
            rows.append(img.rgb[i:i + 3 * w])
        return rows

    def ink(self, area):
        """Where the region holds text ink (near white: the demo's text colour)."""
        out = []
        for row in self.region(area):
            r, g, b = row[0::3], row[1::3], row[2::3]
            out.append(bytes(1 if min(t) >= 200 else 0 for t in zip(r, g, b)))
        return b''.join(out)

    def count(self, area, colour, tolerance=12):
        n = 0
        for row in self.region(area):
            for t in zip(row[0::3], row[1::3], row[2::3]):
                if abs(t[0] - colour[0]) <= tolerance and abs(t[1] - colour[1]) <= tolerance \
                        and abs(t[2] - colour[2]) <= tolerance:
                    n += 1
        return n

    def find(self, area, colour, tolerance=12, least=8):
        """The bounding box (x0, y0, x1, y1) of the pixels of that colour in the region, when there
        are at least `least` of them; otherwise None."""
        x0, y0, w, h = area
        xs, ys = [], []
        for dy, row in enumerate(self.region(area)):
            for dx, t in enumerate(zip(row[0::3], row[1::3], row[2::3])):
                if abs(t[0] - colour[0]) <= tolerance and abs(t[1] - colour[1]) <= tolerance \
                        and abs(t[2] - colour[2]) <= tolerance:
                    xs.append(x0 + dx)
                    ys.append(y0 + dy)
        if len(xs) < least:
            return None
        return min(xs), min(ys), max(xs), max(ys)

    def band(self):
        return self.pixel(*BAND_POINT)

    def scene(self, veiled=False):
        """The name of the background whose top band shows, or None."""
        p = self.band()
        for name, colour in BANDS.items():
            if near(p, darkened(colour) if veiled else colour, 6):
                return name
        return None

    def named(self):
        return near(self.pixel(*PLATE_POINT), pictures.PLATE_FILL, 6)

    def name_length(self):
        """Characters of the speaker's name on the plate (0 without a plate or name)."""
        if not self.named():
            return 0
        x0, _, w, _ = NAME_AREA
        for dx in range(w):
            col = self.region((x0 + dx, NAME_AREA[1], 1, NAME_AREA[3]))
            if any(min(row[0:3]) >= 200 for row in col):
                return max(1, round((142 - (x0 + dx)) / 12.0))
        return 0

    def prompt(self, novel=False):
        """Where the click prompt is drawn (its bounding box), or None."""
        return self.find(NOVEL_AREA if novel else TEXT_AREA, pictures.PROMPT, tolerance=14)

    def text_ink(self, novel=False):
        return self.ink(NOVEL_AREA if novel else TEXT_AREA)

    def has(self, point, colour, tolerance=10):
        return near(self.pixel(*point), colour, tolerance)


# ---------------------------------------------------------------------------------------------
# The routes: the messages of each script in the order they show, as (line, speaker's name length
# in characters (0 narration), voiced, condition). The line is the one that ends the message;
# a condition names when the message shows: 'again' (an ending was reached before), 'fog' (the
# fog ending was seen), 'hit' or 'miss' (the timed click).

N, W1, Y2, K3, Q3 = 0, 1, 2, 3, 3   # narration, 航, 雪乃, 守灯人 / 灯台守, ？？？
MESSAGES = {
    'prologue': [(10, N, 0, None), (12, N, 0, None), (14, N, 0, None), (17, W1, 0, 'again'),
                 (22, Y2, 1, None), (24, W1, 0, None), (27, Y2, 1, None), (30, W1, 0, None),
                 (33, Y2, 1, None), (35, W1, 0, None), (37, W1, 0, None), (41, W1, 0, None),
                 (43, Y2, 1, None), (46, W1, 0, None)],
    'tower': [(12, W1, 0, None), (15, Y2, 1, None), (17, W1, 0, None), (19, N, 0, None),
              (26, Y2, 1, None), (28, W1, 0, None)],
    'tower_after': [(35, Y2, 1, 'hit'), (38, W1, 0, 'miss'), (41, W1, 0, None)],
    'hut': [(12, K3, 0, None), (15, Y2, 1, None), (18, K3, 0, None)],
    'memory': [(10, N, 0, None), (12, N, 0, None), (14, Q3, 0, None), (18, N, 0, None),
               (20, N, 0, None)],
    'hut_after': [(29, W1, 0, None), (31, K3, 0, None), (34, Y2, 1, None)],
    'island': [(11, N, 0, None), (14, W1, 0, 'fog'), (16, W1, 0, None)],
    'end_dawn': [(14, W1, 0, None), (16, Y2, 1, None), (20, Y2, 1, None), (22, W1, 0, 'hit'),
                 (25, Y2, 1, None), (29, N, 0, None)],
    'end_sea': [(13, W1, 0, None), (17, Y2, 1, None), (20, W1, 0, None), (23, Y2, 1, None),
                (27, N, 0, None)],
    'end_fog': [(12, W1, 0, None), (15, Y2, 1, None), (19, W1, 0, None), (23, N, 0, None)],
}
# The background each script's messages show over (the tower changes to the lamp room at line 20).
SCENES = {'prologue': 'bg_shore', 'tower': 'bg_stairs', 'tower_after': 'bg_lamp', 'hut': 'bg_hut',
          'memory': 'bg_hut_past', 'hut_after': 'bg_hut', 'island': 'map_island',
          'end_dawn': 'bg_cliff', 'end_sea': 'bg_beach', 'end_fog': 'bg_forest'}
NOVEL = {'memory'}


class Message:
    def __init__(self, script, line, name, voiced):
        self.script, self.line, self.name, self.voiced = script, line, name, voiced

    @property
    def scene(self):
        if self.script == 'tower' and self.line > 20:
            return 'bg_lamp'
        return SCENES[self.script]

    @property
    def novel(self):
        return self.script in NOVEL

    def __repr__(self):
        return '%s:%d' % (self.script, self.line)


def messages(script, conditions=()):
    out = []
    for line, name, voiced, cond in MESSAGES[script]:
        if cond is None or cond in conditions:
            out.append(Message(script, line, name, voiced))
    return out


# ---------------------------------------------------------------------------------------------
# Sound.

# Frequencies between the notes of the demo's music (its sines and plucks lie on the notes of C
# major and A minor from 87 Hz up): where music alone leaves next to nothing and the ambient
# loops' noise is strong.
BETWEEN_NOTES = (120.0, 155.0, 180.0, 208.0, 234.0, 275.0, 312.0, 360.0)


def noise(rec, t0, t1, window=0.4):
    """The median over windows of the mean amplitude between the notes (a Hann window, so that a
    note's own energy does not leak far)."""
    import math
    levels = []
    t = t0
    n = int(window * 44100)
    hann = [0.5 - 0.5 * math.cos(2 * math.pi * i / (n - 1)) for i in range(n)]
    while t + window <= t1:
        x = rec.span(t, t + window)
        if len(x) < n:
            break
        x = [a * w for a, w in zip(x, hann)]
        amps = []
        for f in BETWEEN_NOTES:
            w = 2 * math.pi * f / 44100
            c = sum(v * math.cos(w * i) for i, v in enumerate(x))
            s = sum(v * math.sin(w * i) for i, v in enumerate(x))
            amps.append(4 * math.hypot(c, s) / n)
        levels.append(sum(amps) / len(amps))
        t += window
    levels.sort()
    return levels[len(levels) // 2] if levels else 0.0


# ---------------------------------------------------------------------------------------------
# The save folder.

HEADER = 25120
# The chapter texts of the scripts (the save header's "date name").
CHAPTERS = {
    'full': {'tower': '八月十四日 第一章·灯塔', 'hut': '八月十四日 第一章·小屋'},
    'earlier': {'tower': '八月十四日 第一章「灯台」', 'hut': '八月十四日 第一章「小屋」'},
}[CONFIG]


def encoded(text):
    return text.encode('cp932' if CONFIG == 'earlier' else 'gbk')


def text_field(data, offset, size=256):
    """A NUL-ended text of a save header."""
    if not data or len(data) < offset + size:
        return None
    return data[offset:offset + size].split(b'\0')[0]


def thumbnail_pixel(header, x, y):
    """(r, g, b) of a slot's stored thumbnail (blue, green, red, rows from the top)."""
    at = 784 + (y * 104 + x) * 3
    return header[at + 2], header[at + 1], header[at]


def globals_of(g):
    """The global variables (通关次数 / クリア回数 G000, 死亡回数 G001) from "flagdata.000"."""
    data = g.save('flagdata.000')
    if not data or len(data) != 4000:
        return None
    return struct.unpack_from('<2i', data)


def seen_flags(g):
    """The seen flags F000 to F003 (bgm_ending.ogg, bg_cliff.png, bg_beach.png, fog.img)."""
    data = g.save('flagdata.001')
    if not data or len(data) != 4000:
        return None
    return struct.unpack_from('<4i', data)


def settings_block(**bindings):
    """The settings defaults; f2=23 binds F2 to action 23 and so on."""
    b = default_settings()
    for key, action in bindings.items():
        b[313 + int(key[1:]) - 1] = action
    return bytes(b)


# ---------------------------------------------------------------------------------------------
# The data folder.

def demo_game(test, name, data=None, time_limit=900):
    """A game folder holding the demo: a copy of the data folder the demo_data fixture built, or
    one built here by tools/demo/buildDemo (from the build root's cache)."""
    import shutil
    import subprocess
    g = Game(test, name, time_limit=time_limit)
    if data:
        shutil.rmtree(g.path('data'))
        shutil.copytree(data, g.path('data'))
        return g
    root = os.path.dirname(os.path.abspath(BUILD))
    packer = os.path.join(root, 'native', 'tools', 'packer', 'packer')
    if not os.path.exists(packer):
        packer = os.path.join(BUILD, 'tools', 'packer', 'packer.exe')
    r = subprocess.run([sys.executable, BUILD_DEMO, root, g.path('data'), CONFIG, '--packer', packer],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=900)
    if r.returncode != 0:
        raise AssertionError('buildDemo failed:\n' + r.stdout.decode(errors='replace'))
    return g


# ---------------------------------------------------------------------------------------------
# The player.

class Player:
    """Plays one running program of a game folder with one kind of input: 'mouse' (moves and
    clicks) or 'keyboard' (key presses to the focused window; the pointer is never moved, only
    the program itself puts it on a button for the arrow keys)."""

    def __init__(self, test, g, by, log=None):
        self.test, self.g, self.by = test, g, by
        self.last_ink = None
        self.shown = []          # (Message, View) of every message seen waiting
        self.client = None       # the client area on the screen (x, y, width, height)
        self.log = log or (lambda text: None)

    # -- input ---------------------------------------------------------------------------------
    def start(self, *args):
        self.g.start(*args)
        self.g.wait_window(timeout=60)
        caption = TITLE.encode('cp932' if CONFIG == 'earlier' else 'gbk')
        w = wait_until(lambda: self.g.window() if self.g.window().get('text') == caption else None, 30)
        self.test.assertTrue(w, 'the caption is not the title: %r' % self.g.window().get('text'))
        self.client = w['client']
        if self.by == 'keyboard':
            self.focus()
        self.last_ink = None
        return w

    def focus(self):
        """The keys go to the window with the focus: given without a click (the pointer goes to
        the client area's corner, where no button lies)."""
        self.g.focus()

    def click(self, x, y, button=1):
        """A click where the program has seen the pointer: a press is hit-tested where the
        program last polled the cursor, so the pointer rests there a moment first."""
        assert self.by == 'mouse'
        self.move(x, y)
        time.sleep(0.2)
        xdotool('click', button)

    def move(self, x, y):
        assert self.by == 'mouse'
        xdotool('mousemove', self.client[0] + x, self.client[1] + y)

    def key(self, *names):
        assert self.by == 'keyboard'
        xdotool('key', *names)

    def ok(self):
        """Advances a message or takes what the cursor is on."""
        if self.by == 'mouse':
            self.click(400, 300)
        else:
            self.key('Return')

    def system_key(self, name):
        """A key of the system commands (the mouse's own way to them is the popup menu)."""
        self.focus()
        xdotool('key', name)

    def skip(self):
        """Skip mode on (Shift+Right)."""
        self.system_key('shift+Right')

    # -- looking ---------------------------------------------------------------------------------
    def view(self):
        """The client area as the display shows it (the window does not move, so its place is
        asked for once; it is asked again when it seems gone)."""
        x, y, w, h = self.client
        try:
            return View(screenshot_screen(x, y, w, h))
        except ProgramFailure:
            self.client = self.g.window()['client']
            x, y, w, h = self.client
            return View(screenshot_screen(x, y, w, h))

    def wait_view(self, predicate, what, timeout=120, step=0.1):
        """The first view that satisfies the predicate; fails with the last view saved."""
        deadline = time.time() + timeout
        v = None
        while time.time() < deadline:
            if not self.g.running():
                self.test.fail('the program ended while waiting for %s\n%s' % (what, self.g.log_text()))
            v = self.view()
            if predicate(v):
                return v
            time.sleep(step)
        if v is not None:
            v.image.save_png(os.path.join(self.g.root, 'timeout.png'))
        self.test.fail('%s did not come within %d s (last view in %s/timeout.png)'
                       % (what, timeout, self.g.root))

    def wait_still(self, predicate, what, timeout=120, quiet=0.5):
        """The first view that satisfies the predicate and equals the view quiet seconds before."""
        last = [None]

        def still(v):
            if not predicate(v):
                last[0] = None
                return False
            same = last[0] is not None and not v.image.differs(last[0].image)
            last[0] = v
            if not same:
                time.sleep(quiet)
            return same
        return self.wait_view(still, what, timeout)

    def wait_message(self, expected=None, timeout=120):
        """Waits until a message has typed out and waits for a click (the prompt shows, the text
        differs from the message before and stands still); checks it against the expected one."""
        novel = expected.novel if expected else False
        previous = self.last_ink

        def waiting(v):
            if v.prompt(novel) is None:
                return False
            ink = v.text_ink(novel)
            if sum(ink) < 30 or ink == previous:
                return False
            time.sleep(0.3)
            again = self.view()
            return again.prompt(novel) is not None and again.text_ink(novel) == ink
        v = self.wait_view(waiting, 'message %s' % (expected or ''), timeout)
        v = self.view()
        self.last_ink = v.text_ink(novel)
        if expected is not None:
            self.check_message(v, expected)
            self.shown.append((expected, v))
        self.log('message %r' % expected)
        return v

    def check_message(self, v, m):
        where = '%s (%s)' % (m, CONFIG)
        if m.novel:
            self.test.assertEqual(m.scene, v.scene(veiled=True), '%s: the scene under the novel text' % where)
            return
        self.test.assertEqual(m.scene, v.scene(), '%s: the background shown %s' % (where, v.band()))
        self.test.assertEqual(m.name, v.name_length(), '%s: the speaker on the plate' % where)

    def read(self, msgs, last_click=True):
        """Reads messages one by one: waits for each, checks it, clicks it away (the last one
        too unless last_click is false)."""
        v = None
        for i, m in enumerate(msgs):
            v = self.wait_message(m)
            if i + 1 < len(msgs) or last_click:
                self.ok()
        return v

    # -- choices -----------------------------------------------------------------------------------
    def wait_text_choice(self):
        def shown(v):
            return all(v.count((300, y + 2, 1, 1), pictures.ITEM_BORDER[0], 12) or
                       v.count((300, y + 2, 1, 1), pictures.ITEM_BORDER[1], 12)
                       for y in OPTION_ROWS)
        return self.wait_view(shown, 'the text choice')

    def choose_text(self, option):
        """Takes option 1 or 2 of the text choice: the mouse moves onto it, waits until it is drawn
        hot and clicks; the keyboard steps down to it (the program puts the cursor on each option)
        and takes it with Return."""
        y = OPTION_ROWS[option - 1]
        hot = lambda v: v.has((300, y + 2), pictures.ITEM_BORDER[1], 12)
        if self.by == 'mouse':
            self.move(400, y + 30)
            self.wait_view(hot, 'option %d drawn hot' % option, 30)
            xdotool('click', 1)
        else:
            for _ in range(option):
                self.key('Down')
            self.wait_view(hot, 'option %d drawn hot' % option, 30)
            self.key('Return')

    def wait_map(self, forest_enabled):
        def shown(v):
            return (v.has(MAP_POINTS['cliff'], pictures.MAP_PLACES['cliff'][1], 12) and
                    v.has(MAP_POINTS['beach'], pictures.MAP_PLACES['beach'][1], 12))
        v = self.wait_view(shown, 'the map choice')
        forest = pictures.MAP_PLACES['forest'][1] if forest_enabled else MAP_DISABLED
        self.test.assertTrue(v.has(MAP_POINTS['forest'], forest, 12),
                             'the forest icon shows %s' % (v.pixel(*MAP_POINTS['forest']),))
        self.test.assertEqual('map_island', v.scene())
        # The map choice is drawn without the message box.
        self.test.assertIsNone(v.prompt())
        return v

    def hot_place(self, v):
        for name, colour in MAP_HOT.items():
            if v.has(MAP_POINTS[name], colour, 12):
                return name
        return None

    def choose_place(self, place):
        """Takes a place of the map: the mouse moves onto its icon, waits for its hot frame and its
        name plate, and clicks; the keyboard presses arrow keys (the program moves the cursor
        from icon to icon) until that icon is hot, and Return."""
        tip = lambda v: v.has((400, pictures.MAP_TIP_AT[1] + 1), (230, 220, 180), 12)
        hot = lambda v: self.hot_place(v) == place and tip(v)
        if self.by == 'mouse':
            self.move(*MAP_CENTRES[place])
            v = self.wait_view(hot, 'the name plate of %s' % place, 30)
            xdotool('click', 1)
            return v
        for _ in range(4):
            v = self.view()
            if hot(v):
                break
            self.key(MAP_STEPS[(self.hot_place(v), place)])
            wait_until(lambda: self.hot_place(self.view()) is not None, 10, 0.1)
        v = self.wait_view(hot, 'the name plate of %s' % place, 30)
        self.key('Return')
        return v

    # -- the timed click and the end card ----------------------------------------------------------
    def wait_timed_click(self):
        """The clock's running hand (its own colour) shows in the box."""
        return self.wait_view(lambda v: v.count((640, 425, 150, 160), pictures.HAND_C, 14) > 30,
                              'the timed click', 60, step=0.05)

    def hit_clock(self):
        if self.by == 'mouse':
            self.click(*CLOCK_CENTRE)
        else:
            self.key('Right')
            time.sleep(0.3)
            self.key('Return')

    def on_end_card(self, v):
        card = BANDS['bg_end']
        return v.has(BAND_POINT, card, 1) and v.has((400, 560), card, 1) and v.prompt() is None

    def wait_end_card(self):
        """The end card, faded in all the way (a click while it fades in is not taken)."""
        return self.wait_still(self.on_end_card, 'the end card')

    def leave_end_card(self):
        """A click (Return) on the end card, again when the card is still there a while later:
        the card's wait begins only after its fade-in, which takes no input."""
        for _ in range(5):
            self.ok()
            if wait_until(lambda: not self.on_end_card(self.view()), 5, 0.2):
                return
        self.test.fail('the end card does not go')

    def wait_title(self):
        return self.wait_view(lambda v: v.scene() == 'bg_title', 'the title card')

    # -- leaving -----------------------------------------------------------------------------------
    def quit(self):
        """Closes the window as its close box does and answers the quit question with Yes."""
        g = self.g
        g.close()
        wininfo('command', g.wait_dialog(30)['hwnd'], IDYES)
        self.test.assertEqual(0, g.wait_exit(60))
