"""The demo's pictures: every interface picture the engine loads, at the geometry it draws them
with, and the backgrounds, characters, layers and wipe rules of the scenario. Each recipe draws
one picture on a Canvas; those marked as language pictures carry text of the configuration's
language (from demo/<language>/labels.txt).

Every background has its top 60 rows in one flat colour of its own (TOP_BANDS), so that a
screenshot can tell which background is shown; no layer, character or overlay of the scenario
touches those rows. The constants below are the known colours and regions that demo/README.md
lists for the tests.
"""
import math

from canvas import Canvas, grey_canvas

W, H = 800, 600

# The top band (rows 0 to 59) of each background, in screen colours.
TOP_BANDS = {
    'bg_title.png': (20, 20, 60),
    'bg_shore.png': (60, 40, 100),
    'bg_stairs.png': (70, 50, 30),
    'bg_lamp.png': (10, 20, 50),
    'bg_hut.png': (90, 60, 40),
    'bg_hut_past.png': (120, 100, 70),
    'map_island.png': (40, 110, 160),
    'bg_cliff.png': (200, 120, 80),
    'bg_beach.png': (20, 40, 70),
    'bg_forest.png': (30, 60, 40),
    'bg_end.png': (10, 10, 10),
}
DRAFT = (255, 0, 255)  # the base archive's stand-in for bg_shore.png, replaced by the patch

# The message box (800 by 200, drawn at (0, 400)).
PLATE = (20, 4, 244, 41)           # name plate, opaque
PLATE_FILL = (70, 90, 150)
PANEL = (8, 46, 784, 150)          # text panel
PANEL_FILL = (16, 24, 60, 215)
PANEL_BORDER = (150, 170, 230)     # 2 pixels wide, opaque
CLOCK_CENTRE = (715, 105)          # in the box
CLOCK_DISC = (235, 225, 200)       # the clock box's dial, radius 72, opaque
CLOCK_FACE_RING = {1: (200, 170, 90), 2: (220, 120, 60), 3: (90, 120, 200)}  # radius 72 to 80
EMBLEM_NORMAL = (120, 140, 210)    # sys_box_normal's lighthouse emblem
EMBLEM_NOCLOCK = (230, 210, 120)   # sys_box_noclock's moon
HAND_A, HAND_B, HAND_C = (150, 40, 40), (40, 60, 140), (255, 230, 80)
PROMPT = (255, 220, 120)

# Characters.
YK_COAT, YK_HAIR = (200, 80, 90), (60, 40, 40)
WT_COAT, WT_HAIR = (60, 100, 170), (40, 35, 30)
KEEPER_COAT, KEEPER_BEARD = (110, 90, 70), (235, 235, 230)
SKIN = (250, 220, 200)

# Choice items, map icons, the system bar, the save and load screens.
ITEM_FILL = {0: (20, 30, 70, 220), 1: (60, 90, 170, 235), 2: (15, 20, 50, 240)}
ITEM_BORDER = {0: (120, 140, 210), 1: (230, 235, 255), 2: (230, 200, 120)}
MAP_PLACES = {  # icon top-left on the screen, icon colour (frame 0)
    'cliff': ((560, 110), (250, 200, 90)),
    'beach': ((150, 360), (120, 200, 240)),
    'forest': ((300, 190), (110, 200, 120)),
}
MAP_TIP_AT = (270, 526)
SAVE_DIM = (10, 20, 50, 200)
LOAD_DIM = (10, 40, 30, 200)
MEMO_FIELD = (148, 520, 609, 22)
PROTECT_BOX = (148, 553, 20, 20)
SLOT_EMPTY = (40, 50, 80)
CURSOR = (255, 220, 120)
QUICK = (220, 60, 60)
BUTTONS = {'ok': (40, 90, 160), 'del': (150, 50, 50), 'back': (70, 70, 90)}


def slot_xy(s):
    row, col = divmod(s, 6)
    return 34 + 126 * col, 94 + 82 * row


# ---------------------------------------------------------------------------------------------
# Backgrounds

def _top(c, name):
    c.rect(0, 0, W, 60, TOP_BANDS[name], 'set')


def _stars(c, seed, count, y0, y1):
    x = seed
    for _ in range(count):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        sx, sy = x % W, y0 + (x // W) % (y1 - y0)
        c.rect(sx, sy, 2, 2, (230, 230, 255, 200))


def _lighthouse(c, x, base_y, height, colour, lamp=None):
    """A tapered tower standing on base_y, its lamp room on top."""
    top_w, bot_w = 24, 40
    c.polygon([(x - bot_w / 2, base_y), (x + bot_w / 2, base_y), (x + top_w / 2, base_y - height),
               (x - top_w / 2, base_y - height)], colour)
    c.rect(x - 16, base_y - height - 22, 32, 22, colour)
    c.polygon([(x - 18, base_y - height - 22), (x + 18, base_y - height - 22), (x, base_y - height - 40)],
              colour)
    if lamp:
        c.rect(x - 10, base_y - height - 18, 20, 12, lamp)


def bg_title(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 540, (20, 20, 60), (50, 40, 90))
    _stars(c, 7, 90, 60, 420)
    c.rect(0, 430, W, 170, (15, 25, 50), 'set')
    c.polygon([(520, 430), (800, 430), (800, 380), (690, 360), (600, 400)], (25, 20, 35))
    c.polygon([(672, 328), (800, 280), (800, 360)], (255, 240, 180, 60))
    _lighthouse(c, 660, 372, 120, (25, 20, 35), lamp=(255, 240, 180))
    _top(c, 'bg_title.png')
    c.text(400, 190, labels['title'], 64, (245, 240, 220), labels['font'], 'ct')
    c.text(400, 290, labels['subtitle'], 24, (190, 190, 230), labels['font'], 'ct')
    return c


def bg_shore(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 320, (60, 40, 100), (250, 160, 110))
    c.disc(250, 380, 60, (255, 210, 130))
    c.vgradient(0, 380, W, 220, (40, 70, 110), (15, 30, 60))
    for i, y in enumerate(range(392, 540, 14)):
        c.rect(250 - 90 + (i * 37) % 60, y, 180 - (i * 23) % 80, 3, (255, 200, 140, 90))
    c.polygon([(520, 380), (800, 380), (800, 300), (700, 290), (640, 330)], (30, 25, 40))
    _lighthouse(c, 680, 296, 110, (30, 25, 40), lamp=(90, 80, 90))
    c.rect(0, 540, W, 60, (150, 120, 90), 'set')
    _top(c, 'bg_shore.png')
    return c


def bg_shore_draft(labels):
    c = Canvas(W, H, DRAFT + (255,))
    c.text(400, 280, 'DRAFT', 48, (255, 255, 255), labels['font'], 'ct')
    return c


def bg_stairs(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 540, (70, 50, 30), (35, 25, 20))
    for x in range(0, W, 80):
        c.rect(x, 60, 3, 540, (50, 35, 25))
    for i in range(9):
        y = 560 - i * 55
        x = 150 + (i % 2) * 260
        c.polygon([(x, y), (x + 240, y - 20), (x + 240, y), (x, y + 20)], (120, 95, 70))
    c.rect(370, 110, 60, 160, (140, 170, 220))
    c.frame(370, 110, 60, 160, (40, 30, 20), 4)
    _top(c, 'bg_stairs.png')
    return c


def bg_lamp(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 540, (10, 20, 50), (20, 30, 60))
    _stars(c, 3, 60, 70, 330)
    for x in range(0, W + 1, 200):
        c.rect(x - 6, 60, 12, 300, (40, 40, 55))
    c.rect(0, 330, W, 30, (40, 40, 55), 'set')
    c.rect(0, 360, W, 240, (55, 50, 60), 'set')
    c.ellipse(400, 250, 90, 110, (200, 170, 90))
    c.ellipse(400, 250, 70, 90, (255, 230, 150))
    for dy in range(-80, 81, 20):
        c.rect(335, 250 + dy, 130, 2, (200, 170, 90, 160))
    c.rect(340, 355, 120, 40, (80, 70, 60))
    _top(c, 'bg_lamp.png')
    return c


def _planks(c, base, dark, y0=60):
    for i, x in enumerate(range(0, W, 50)):
        c.rect(x, y0, 50, H - y0, base if i % 2 else dark, 'set')
        c.rect(x, y0, 2, H - y0, tuple(v // 2 for v in dark))


def bg_hut(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    _planks(c, (110, 75, 50), (95, 65, 45))
    c.rect(90, 120, 180, 140, (20, 30, 60), 'set')
    _stars(c, 11, 12, 125, 255)
    c.frame(90, 120, 180, 140, (60, 40, 25), 8)
    c.rect(176, 120, 8, 140, (60, 40, 25))
    c.radial(560, 230, 150, (255, 210, 120, 150), (255, 190, 100, 0))
    c.rect(540, 210, 40, 50, (230, 180, 90))
    c.rect(420, 330, 300, 24, (70, 45, 30), 'set')
    c.rect(440, 354, 16, 200, (60, 40, 25), 'set')
    c.rect(684, 354, 16, 200, (60, 40, 25), 'set')
    _top(c, 'bg_hut.png')
    return c


def bg_hut_past(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    _planks(c, (170, 140, 100), (150, 125, 90))
    c.rect(90, 120, 180, 140, (220, 200, 160), 'set')
    c.frame(90, 120, 180, 140, (110, 90, 60), 8)
    c.rect(420, 330, 300, 24, (120, 95, 65), 'set')
    c.rect(470, 250, 30, 80, (110, 90, 60))
    _top(c, 'bg_hut_past.png')
    return c


def map_island(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 540, (40, 110, 160), (25, 80, 130))
    for y in range(90, H, 40):
        for x in range((y * 7) % 60, W, 120):
            c.rect(x, y, 30, 2, (90, 160, 200, 120))
    island = [(120, 300), (220, 160), (420, 120), (600, 90), (700, 150), (690, 300), (600, 420),
              (420, 480), (230, 470), (110, 420)]
    c.polygon(island, (220, 200, 150))
    c.polygon([(230, 180), (420, 150), (450, 300), (300, 330), (200, 280)], (60, 120, 70))
    c.polygon([(560, 100), (700, 150), (690, 260), (590, 230)], (150, 130, 110))
    c.rect(120, 400, 200, 50, (240, 225, 180))
    # the compass
    c.disc(90, 150, 36, (235, 235, 220, 220))
    c.polygon([(90, 116), (98, 150), (90, 184), (82, 150)], (160, 40, 40))
    _top(c, 'map_island.png')
    return c


def bg_cliff(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 300, (200, 120, 80), (255, 220, 150))
    c.disc(400, 360, 70, (255, 245, 200))
    c.vgradient(0, 360, W, 240, (80, 120, 170), (30, 60, 110))
    for y in range(372, 520, 16):
        c.rect(300, y, 200, 3, (255, 240, 200, 110))
    c.polygon([(0, 600), (0, 330), (160, 320), (320, 420), (380, 600)], (60, 50, 55))
    _lighthouse(c, 120, 324, 150, (60, 50, 55), lamp=(255, 245, 200))
    _top(c, 'bg_cliff.png')
    return c


def bg_beach(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 300, (20, 40, 70), (40, 60, 100))
    _stars(c, 5, 70, 70, 300)
    c.disc(620, 150, 40, (240, 240, 220))
    c.disc(636, 140, 36, (30, 50, 85))
    c.vgradient(0, 360, W, 140, (30, 50, 90), (50, 80, 120))
    for i in range(6):
        y = 380 + i * 22
        c.rect(0, y, W, 3, (150, 180, 220, 100))
    c.rect(0, 500, W, 100, (120, 110, 100), 'set')
    _top(c, 'bg_beach.png')
    return c


def bg_forest(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 60, W, 540, (30, 60, 40), (70, 90, 80))
    for i, x in enumerate(range(30, W, 110)):
        w = 30 + (i * 13) % 25
        c.rect(x, 60, w, 540, (40 + i % 3 * 8, 35, 30))
    for y in range(200, 600, 60):
        c.rect(0, y, W, 40, (200, 210, 205, 70))
    _top(c, 'bg_forest.png')
    return c


def bg_end(labels):
    c = Canvas(W, H, (10, 10, 10, 255))
    c.text(400, 240, labels['end'], 48, (240, 235, 220), labels['font'], 'ct')
    c.text(400, 320, labels['thanks'], 22, (170, 170, 170), labels['font'], 'ct')
    return c


def sys_splash(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.text(400, 250, labels['title'], 48, (245, 240, 220), labels['font'], 'ct')
    c.text(400, 330, labels['splash'], 20, (150, 150, 170), labels['font'], 'ct')
    return c


# ---------------------------------------------------------------------------------------------
# Characters: a base picture (body and head) and face pictures laid over the head.

def _figure(w, h, coat, hair, long_hair):
    c = Canvas(w, h)
    cx = w // 2
    if long_hair:
        c.rounded(cx - 80, 40, 160, 210, 60, hair)
    c.polygon([(cx - 70, 190), (cx + 70, 190), (cx + 130, h), (cx - 130, h)], coat)
    c.rect(cx - 18, 170, 36, 30, SKIN)
    c.disc(cx, 110, 70, SKIN)
    c.ellipse(cx, 58, 76, 38, hair)  # above the eyes of the face picture
    c.rect(cx - 130, h - 4, 260, 4, tuple(v // 2 for v in coat))
    return c


def yk_base(labels):
    return _figure(300, 520, YK_COAT, YK_HAIR, True)


def wt_base(labels):
    return _figure(300, 540, WT_COAT, WT_HAIR, False)


def keeper(labels):
    c = _figure(280, 500, KEEPER_COAT, (150, 150, 150), False)
    c.polygon([(80, 130), (200, 130), (170, 230), (110, 230)], KEEPER_BEARD)
    c.disc(110, 110, 7, (40, 30, 30))
    c.disc(170, 110, 7, (40, 30, 30))
    return c


# Faces are 140 by 140, placed at FaceX 80, FaceY 50 of the base (the head's centre is at
# (70, 60) of the face).
FACE_MOUTH = (70, 96)


def _face(kind, eyes=(40, 30, 30)):
    c = Canvas(140, 140)
    if kind == 'smile':
        for ex in (45, 95):
            c.line(ex - 9, 58, ex, 50, 3, eyes)
            c.line(ex, 50, ex + 9, 58, 3, eyes)
        c.ellipse(70, 94, 16, 8, (200, 80, 80))
        c.rect(54, 86, 32, 8, SKIN)
    elif kind == 'surprised':
        for ex in (45, 95):
            c.disc(ex, 56, 9, eyes)
        c.disc(FACE_MOUTH[0], FACE_MOUTH[1], 9, (120, 40, 40))
    elif kind == 'sad':
        for ex in (45, 95):
            c.rect(ex - 9, 57, 18, 3, eyes)
        c.line(56, 100, 70, 94, 3, (150, 70, 70))
        c.line(70, 94, 84, 100, 3, (150, 70, 70))
    else:
        for ex in (45, 95):
            c.disc(ex, 56, 7, eyes)
        c.rect(60, 95, 20, 3, (170, 80, 80))
    c.ellipse(32, 80, 12, 6, (250, 170, 170, 120))
    c.ellipse(108, 80, 12, 6, (250, 170, 170, 120))
    return c


# ---------------------------------------------------------------------------------------------
# Layers of the animation definitions.

def fx_glow(labels):
    c = Canvas(W, H)
    c.radial(250, 380, 260, (255, 180, 100, 170), (255, 180, 100, 0))
    c.rect(0, 0, W, 60, (0, 0, 0, 0), 'set')
    return c


def fx_vignette(labels):
    c = Canvas(W, H)
    for i in range(40):
        a = int(6 * (40 - i))
        a = min(255, a)
        c.frame(i * 3, i * 3, W - 6 * i, H - 6 * i, (0, 0, 0, a // 2), 3)
    c.rect(0, 0, W, 60, (0, 0, 0, 0), 'set')
    return c


def fx_night(labels):
    c = Canvas(W, H)
    c.rect(0, 60, W, H - 60, (90, 110, 200, 255), 'set')
    return c


def fx_sepia(labels):
    c = Canvas(W, H)
    c.rect(0, 60, W, H - 60, (200, 160, 110, 255), 'set')
    return c


def fx_fog(labels):
    c = Canvas(W, H)
    for i, (x, y, r) in enumerate([(150, 300, 140), (420, 380, 180), (680, 280, 150), (300, 500, 160)]):
        c.radial(x, y, r, (230, 235, 240, 130), (230, 235, 240, 0), 24)
    c.rect(0, 0, W, 60, (0, 0, 0, 0), 'set')
    return c


def fx_beam(labels):
    c = Canvas(420, 160)
    for i in range(420):
        t = i / 419
        half = 14 + 66 * t
        a = int(150 * (1 - t))
        c.rect(i, int(80 - half), 1, int(2 * half), (255, 240, 170, a))
    return c


def fx_gull(labels):
    c = Canvas(36, 16)
    c.line(2, 4, 18, 12, 3, (245, 245, 245))
    c.line(18, 12, 34, 4, 3, (245, 245, 245))
    return c


def fx_spark(labels):
    c = Canvas(24, 24)
    c.polygon([(12, 0), (15, 9), (24, 12), (15, 15), (12, 24), (9, 15), (0, 12), (9, 9)], (255, 250, 200))
    return c


# ---------------------------------------------------------------------------------------------
# Wipe rules (grey, screen size): lower values change first.

def rule_circle(labels):
    far = math.hypot(W / 2, H / 2)
    return grey_canvas(W, H, lambda x, y: math.hypot(x - W / 2, y - H / 2) / far * 255)


def rule_blinds(labels):
    return grey_canvas(W, H, lambda x, y: (x % 50) * 255 / 49)


def rule_diag(labels):
    return grey_canvas(W, H, lambda x, y: (x + y) * 255 / (W + H - 2))


# ---------------------------------------------------------------------------------------------
# The message window.

def _box(emblem=None, clock=False):
    c = Canvas(800, 200)
    x, y, w, h = PANEL
    c.rounded(x, y, w, h, 12, PANEL_BORDER + (255,), 'set')
    c.rounded(x + 2, y + 2, w - 4, h - 4, 10, PANEL_FILL, 'set')
    px, py, pw, ph = PLATE
    c.rounded(px, py, pw, ph, 10, PANEL_BORDER + (255,), 'set')
    c.rounded(px + 2, py + 2, pw - 4, ph - 4, 8, PLATE_FILL + (255,), 'set')
    if emblem == 'lighthouse':
        c.polygon([(700, 180), (730, 180), (722, 90), (708, 90)], EMBLEM_NORMAL)
        c.rect(702, 72, 26, 18, EMBLEM_NORMAL)
        c.polygon([(700, 72), (730, 72), (715, 58)], EMBLEM_NORMAL)
    elif emblem == 'moon':
        c.disc(715, 110, 40, EMBLEM_NOCLOCK)
        c.disc(732, 98, 36, PANEL_FILL, 'set')
    if clock:
        cx, cy = CLOCK_CENTRE
        c.disc(cx, cy, 80, PANEL_BORDER, 'set')
        c.disc(cx, cy, 72, CLOCK_DISC, 'set')
    return c


def sys_box_normal(labels):
    return _box('lighthouse')


def sys_box_base(labels):
    return _box(clock=True)


def sys_box_noclock(labels):
    return _box('moon')


def _hand(length, width, colour, tail=10):
    c = Canvas(160, 160)
    c.line(80, 80 + tail, 80, 80 - length, width, colour)
    c.disc(80, 80, width, colour)
    return c


def sys_box_clock_a(labels):
    return _hand(58, 6, HAND_A)


def sys_box_clock_b(labels):
    return _hand(40, 9, HAND_B)


def sys_box_clock_c(labels):
    c = _hand(70, 4, HAND_C, tail=14)
    c.disc(80, 12, 6, HAND_C)
    return c


def _clock_face(n):
    c = Canvas(170, 200)
    cx, cy = 85, 105
    c.ring(cx, cy, 80, 72, CLOCK_FACE_RING[n])
    for k in range(12):
        a = k * math.pi / 6
        c.line(cx + 60 * math.sin(a), cy - 60 * math.cos(a), cx + 70 * math.sin(a),
               cy - 70 * math.cos(a), 4 if k % 3 == 0 else 2, (60, 50, 40))
    c.disc(cx, cy, 7, CLOCK_FACE_RING[n])
    for i in range(n):  # one to three dots above the dial tell the faces apart
        c.disc(cx - (n - 1) * 9 + 18 * i, 14, 5, CLOCK_FACE_RING[n])
    return c


def sys_box_clock1(labels):
    return _clock_face(1)


def sys_box_clock2(labels):
    return _clock_face(2)


def sys_box_clock3(labels):
    return _clock_face(3)


def sys_box_flash(labels):
    c = Canvas(170, 200)
    c.radial(85, 105, 96, (255, 255, 230, 255), (255, 240, 160, 0), 32)
    return c


def sys_box_prompt(labels):
    c = Canvas(24, 192)
    for k in range(8):
        r = 4 + (k if k < 4 else 7 - k) * 2
        cy = 24 * k + 12
        c.polygon([(12, cy - r), (12 + r, cy), (12, cy + r), (12 - r, cy)], PROMPT)
    return c


def sys_box_config(labels):
    c = Canvas(80, 72)
    fills = [(40, 60, 110), (80, 110, 180), (30, 40, 80)]
    for k, fill in enumerate(fills):
        c.rounded(0, 24 * k + 1, 80, 22, 8, (200, 210, 240), 'set')
        c.rounded(1, 24 * k + 2, 78, 20, 7, fill, 'set')
        c.text(40, 24 * k + 4, labels['config'], 14, (255, 255, 255), labels['font'], 'ct')
    return c


# ---------------------------------------------------------------------------------------------
# Choices and the map.

def sys_select_item(labels):
    c = Canvas(600, 180)
    for k in range(3):
        c.rounded(0, 60 * k + 2, 600, 56, 14, ITEM_BORDER[k] + (255,), 'set')
        c.rounded(2, 60 * k + 4, 596, 52, 12, ITEM_FILL[k], 'set')
    return c


def _map_icon(place):
    c = Canvas(64, 256)
    base = MAP_PLACES[place][1]
    looks = [base, tuple(min(255, v + 50) for v in base), tuple(v * 2 // 3 for v in base), (110, 110, 110)]
    for k, colour in enumerate(looks):
        cy = 64 * k + 32
        c.disc(32, cy, 30, (255, 255, 255) if k == 1 else (40, 40, 40), 'set')
        c.disc(32, cy, 26, colour, 'set')
        mark = (60, 50, 40) if k < 3 else (80, 80, 80)
        if place == 'cliff':
            c.polygon([(26, cy + 16), (38, cy + 16), (35, cy - 8), (29, cy - 8)], mark)
            c.rect(27, cy - 16, 10, 8, mark)
        elif place == 'beach':
            for dy in (-6, 4):
                c.line(14, cy + dy, 24, cy + dy - 5, 3, mark)
                c.line(24, cy + dy - 5, 34, cy + dy, 3, mark)
                c.line(34, cy + dy, 44, cy + dy - 5, 3, mark)
        else:
            c.polygon([(32, cy - 18), (46, cy + 10), (18, cy + 10)], mark)
            c.rect(29, cy + 10, 6, 8, mark)
        if k == 3:
            c.set_alpha(255)
    return c


def map_icon_cliff(labels):
    return _map_icon('cliff')


def map_icon_beach(labels):
    return _map_icon('beach')


def map_icon_forest(labels):
    return _map_icon('forest')


def _map_tip(labels, key):
    c = Canvas(260, 56)
    c.rounded(0, 0, 260, 56, 12, (230, 220, 180), 'set')
    c.rounded(2, 2, 256, 52, 10, (20, 30, 50, 230), 'set')
    c.text(130, 14, labels[key], 24, (255, 245, 220), labels['font'], 'ct')
    return c


def map_tip_cliff(labels):
    return _map_tip(labels, 'cliff')


def map_tip_beach(labels):
    return _map_tip(labels, 'beach')


def map_tip_forest(labels):
    return _map_tip(labels, 'forest')


# ---------------------------------------------------------------------------------------------
# The backlog.

def sys_log_bar(labels):
    c = Canvas(20, 600)
    c.rect(0, 0, 20, 600, (30, 40, 70, 200), 'set')
    c.rect(9, 20, 2, 560, (120, 140, 200))
    return c


def sys_log_handle(labels):
    c = Canvas(20, 60)
    c.rounded(1, 0, 18, 60, 6, (200, 210, 240), 'set')
    return c


def _log_arrow(up):
    c = Canvas(20, 60)
    for k, colour in enumerate([(160, 170, 210), (255, 255, 255), (255, 220, 120)]):
        c.rect(0, 20 * k, 20, 20, (30, 40, 70, 230), 'set')
        y0, y1 = (20 * k + 5, 20 * k + 15) if up else (20 * k + 15, 20 * k + 5)
        c.polygon([(10, y0), (16, y1), (4, y1)], colour)
    return c


def sys_log_icon_up(labels):
    return _log_arrow(True)


def sys_log_icon_down(labels):
    return _log_arrow(False)


def sys_log_item(labels):
    c = Canvas(780, 225)
    fills = [(255, 255, 255, 20), (120, 160, 255, 70), (255, 220, 120, 90)]
    for k, fill in enumerate(fills):
        c.rect(0, 75 * k, 780, 74, fill, 'set')
        if k:
            y = 75 * k + 12
            c.rect(8, y + 8, 8, 10, (255, 255, 255))
            c.polygon([(16, y + 8), (26, y), (26, y + 26), (16, y + 18)], (255, 255, 255))
    return c


# ---------------------------------------------------------------------------------------------
# The save and load screens.

def _save_base(labels, load):
    c = Canvas(W, H, LOAD_DIM if load else SAVE_DIM)
    c.text(40, 24, labels['load_title' if load else 'save_title'], 36, (255, 255, 255), labels['font'])
    for s in range(24):
        x, y = slot_xy(s)
        c.frame(x - 2, y - 2, 108, 82, (120, 140, 200, 255), 2)
    c.rounded(146, 450, 612, 142, 10, (150, 170, 230), 'set')
    c.rounded(148, 452, 608, 138, 9, (20, 30, 70, 235), 'set')
    mx, my, mw, mh = MEMO_FIELD
    c.rect(mx, my, mw, mh, (10, 0, 109, 255), 'set')
    bx, by, bw, bh = PROTECT_BOX
    c.rect(bx, by, bw, bh, (10, 0, 109, 255), 'set')
    c.frame(bx, by, bw, bh, (255, 255, 255), 1)
    for key, y in (('chapter_label', 458), ('date_label', 491), ('memo_label', 524), ('protect_label', 556)):
        c.text(140, y, labels[key], 16, (200, 210, 240), labels['font'], 'rt')
    c.text(250, 556, labels['deaths_label'], 16, (200, 210, 240), labels['font'])
    return c


def sys_save_base(labels):
    return _save_base(labels, False)


def sys_load_base(labels):
    return _save_base(labels, True)


def _empty_slot(labels, load):
    c = Canvas(104, 78, SLOT_EMPTY + (255,))
    c.frame(0, 0, 104, 78, (90, 100, 140), 1)
    c.text(52, 28, labels['empty'], 18, (150, 160, 190) if not load else (150, 190, 160), labels['font'], 'ct')
    return c


def sys_save_empty(labels):
    return _empty_slot(labels, False)


def sys_load_empty(labels):
    return _empty_slot(labels, True)


def _cursor():
    c = Canvas(108, 82)
    c.frame(0, 0, 108, 82, CURSOR, 3)
    return c


def sys_save_cursor(labels):
    return _cursor()


def sys_load_cursor(labels):
    return _cursor()


def sys_save_quick(labels):
    c = Canvas(40, 18)
    c.rounded(0, 0, 40, 18, 5, QUICK, 'set')
    c.text(20, 2, 'Q', 13, (255, 255, 255), labels['font'], 'ct')
    return c


def _button(labels, key, colour):
    c = Canvas(120, 40)
    c.rounded(0, 0, 120, 40, 10, (220, 225, 245), 'set')
    c.rounded(2, 2, 116, 36, 8, colour, 'set')
    c.text(60, 9, labels[key], 20, (255, 255, 255), labels['font'], 'ct')
    return c


def _make_button(key, colour_key, shade):
    def recipe(labels):
        colour = BUTTONS[colour_key]
        if shade:
            colour = (colour[0], min(255, colour[1] + 30), colour[2])
        return _button(labels, key, colour)
    return recipe


# ---------------------------------------------------------------------------------------------
# The flow chart (full configuration).

def sys_flow_base(labels):
    c = Canvas(W, H, (10, 15, 35, 255))
    for y in range(0, H, 16):
        for x in range(0, W, 16):
            c.rect(x, y, 1, 1, (50, 60, 100))
    c.text(20, 12, labels['flow_title'], 28, (230, 230, 255), labels['font'])
    return c


# ---------------------------------------------------------------------------------------------
# The list: name, recipe, PNG kind, language picture.

PICTURES = [
    ('bg_title.png', bg_title, 'rgb', True),
    ('bg_shore.png', bg_shore, 'rgb', False),
    ('draft/bg_shore.png', bg_shore_draft, 'rgb', False),
    ('bg_stairs.png', bg_stairs, 'rgb', False),
    ('bg_lamp.png', bg_lamp, 'rgb', False),
    ('bg_hut.png', bg_hut, 'rgb', False),
    ('bg_hut_past.png', bg_hut_past, 'rgb', False),
    ('map_island.png', map_island, 'rgb', False),
    ('bg_cliff.png', bg_cliff, 'rgb', False),
    ('bg_beach.png', bg_beach, 'rgb', False),
    ('bg_forest.png', bg_forest, 'rgb', False),
    ('bg_end.png', bg_end, 'rgb', True),
    ('sys_splash.png', sys_splash, 'rgb', True),
    ('yk_base.png', yk_base, 'rgba', False),
    ('wt_base.png', wt_base, 'rgba', False),
    ('keeper.png', keeper, 'rgba', False),
    ('fx_glow.png', fx_glow, 'rgba', False),
    ('fx_vignette.png', fx_vignette, 'rgba', False),
    ('fx_night.png', fx_night, 'rgba', False),
    ('fx_sepia.png', fx_sepia, 'rgba', False),
    ('fx_fog.png', fx_fog, 'rgba', False),
    ('fx_beam.png', fx_beam, 'rgba', False),
    ('fx_gull.png', fx_gull, 'rgba', False),
    ('fx_spark.png', fx_spark, 'rgba', False),
    ('rule_circle.png', rule_circle, 'grey', False),
    ('rule_blinds.png', rule_blinds, 'grey', False),
    ('rule_diag.png', rule_diag, 'grey', False),
    ('sys_box_normal.png', sys_box_normal, 'rgba', False),
    ('sys_box_base.png', sys_box_base, 'rgba', False),
    ('sys_box_noclock.png', sys_box_noclock, 'rgba', False),
    ('sys_box_clock_a.png', sys_box_clock_a, 'rgba', False),
    ('sys_box_clock_b.png', sys_box_clock_b, 'rgba', False),
    ('sys_box_clock_c.png', sys_box_clock_c, 'rgba', False),
    ('sys_box_clock1.png', sys_box_clock1, 'rgba', False),
    ('sys_box_clock2.png', sys_box_clock2, 'rgba', False),
    ('sys_box_clock3.png', sys_box_clock3, 'rgba', False),
    ('sys_box_flash.png', sys_box_flash, 'rgba', False),
    ('sys_box_prompt.png', sys_box_prompt, 'rgba', False),
    ('sys_box_config.png', sys_box_config, 'rgba', True),
    ('sys_select_item.png', sys_select_item, 'rgba', False),
    ('map_icon_cliff.png', map_icon_cliff, 'rgba', False),
    ('map_icon_beach.png', map_icon_beach, 'rgba', False),
    ('map_icon_forest.png', map_icon_forest, 'rgba', False),
    ('map_tip_cliff.png', map_tip_cliff, 'rgba', True),
    ('map_tip_beach.png', map_tip_beach, 'rgba', True),
    ('map_tip_forest.png', map_tip_forest, 'rgba', True),
    ('sys_log_bar.png', sys_log_bar, 'rgba', False),
    ('sys_log_handle.png', sys_log_handle, 'rgba', False),
    ('sys_log_icon_up.png', sys_log_icon_up, 'rgba', False),
    ('sys_log_icon_down.png', sys_log_icon_down, 'rgba', False),
    ('sys_log_item.png', sys_log_item, 'rgba', False),
    ('sys_save_base.png', sys_save_base, 'rgba', True),
    ('sys_load_base.png', sys_load_base, 'rgba', True),
    ('sys_save_empty.png', sys_save_empty, 'rgba', True),
    ('sys_load_empty.png', sys_load_empty, 'rgba', True),
    ('sys_save_cursor.png', sys_save_cursor, 'rgba', False),
    ('sys_load_cursor.png', sys_load_cursor, 'rgba', False),
    ('sys_save_quick.png', sys_save_quick, 'rgba', True),
    ('sys_save_ok.png', _make_button('ok', 'ok', False), 'rgba', True),
    ('sys_save_del.png', _make_button('delete', 'del', False), 'rgba', True),
    ('sys_save_back.png', _make_button('back', 'back', False), 'rgba', True),
    ('sys_load_ok.png', _make_button('ok', 'ok', True), 'rgba', True),
    ('sys_load_del.png', _make_button('delete', 'del', True), 'rgba', True),
    ('sys_load_back.png', _make_button('back', 'back', True), 'rgba', True),
    ('sys_flow_base.png', sys_flow_base, 'rgb', True),
]
for _who, _faces in (('yk', ('normal', 'smile', 'surprised', 'sad')), ('wt', ('normal', 'smile', 'surprised'))):
    for _kind in _faces:
        PICTURES.append(('%s_face_%s.png' % (_who, _kind), (lambda k: lambda labels: _face(k))(_kind),
                         'rgba', False))


# ---------------------------------------------------------------------------------------------
# Stills of the opening movie (not shipped as pictures): the night sea, the lamp's beam that the
# movie turns about its centre, the title laid over the last seconds.

def movie_bg(labels):
    c = Canvas(W, H, (0, 0, 0, 255))
    c.vgradient(0, 0, W, 380, (5, 10, 30), (30, 40, 80))
    _stars(c, 13, 120, 0, 360)
    c.vgradient(0, 380, W, 220, (15, 30, 60), (5, 10, 25))
    c.polygon([(480, 380), (800, 380), (800, 300), (700, 290), (620, 330)], (15, 12, 20))
    _lighthouse(c, 680, 296, 110, (15, 12, 20), lamp=(255, 240, 180))
    return c


def movie_beam(labels):
    c = Canvas(600, 600)
    for i in range(300):
        t = i / 299
        half = 4 + 60 * t
        c.rect(300 + i, int(300 - half), 1, int(2 * half) + 1, (255, 240, 180, int(170 * (1 - t))))
    return c


def movie_title(labels):
    c = Canvas(W, H)
    c.text(400, 180, labels['movie_title'], 60, (250, 245, 225), labels['font'], 'ct')
    return c


MOVIE_PICTURES = [('movie_bg.png', movie_bg, False), ('movie_beam.png', movie_beam, False),
                  ('movie_title.png', movie_title, True)]
