"""A small RGBA canvas for the demo's generated pictures: flat fills, gradients, discs, rings,
polygons and thick lines drawn span by span (whole runs of a row at once, so pictures of the
screen's size draw in well under a second), text rasterised by ImageMagick, and PNG output as
8-bit grey, RGB or RGBA.

Colours are (r, g, b) or (r, g, b, a) tuples. Drawing either replaces pixels ("set") or lays a
colour over them ("over"): the colour weighted by its alpha over what lies beneath, the alpha
becoming the union of both.
"""
import functools
import math
import struct
import subprocess
import zlib


@functools.lru_cache(maxsize=8192)
def _over_tables(colour, alpha):
    """Per channel, the byte table of "colour at alpha over the old byte"."""
    return [bytes((c * alpha + d * (255 - alpha) + 127) // 255 for d in range(256)) for c in colour]


@functools.lru_cache(maxsize=256)
def _union_table(alpha):
    """The byte table of the alpha union a + d - a d / 255."""
    return bytes(alpha + d - (alpha * d + 127) // 255 for d in range(256))


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.w, self.h = width, height
        self.px = bytearray(bytes(_rgba(fill)) * (width * height))

    # -- spans ---------------------------------------------------------------------------------
    def span(self, y, x0, x1, colour, mode='over'):
        """Pixels x0 <= x < x1 of row y."""
        if y < 0 or y >= self.h:
            return
        x0, x1 = max(0, int(x0)), min(self.w, int(x1))
        if x0 >= x1:
            return
        c = _rgba(colour)
        a = c[3]
        i0, i1 = (y * self.w + x0) * 4, (y * self.w + x1) * 4
        if mode == 'set' or a == 255:
            self.px[i0:i1] = bytes(c) * (x1 - x0)
            return
        if a == 0:
            return
        tables = _over_tables(c[:3], a)
        for ch in range(3):
            self.px[i0 + ch:i1:4] = self.px[i0 + ch:i1:4].translate(tables[ch])
        self.px[i0 + 3:i1:4] = self.px[i0 + 3:i1:4].translate(_union_table(a))

    def rect(self, x, y, w, h, colour, mode='over'):
        for yy in range(max(0, y), min(self.h, y + h)):
            self.span(yy, x, x + w, colour, mode)

    def fill(self, colour):
        self.rect(0, 0, self.w, self.h, colour, 'set')

    def frame(self, x, y, w, h, colour, width=1, mode='set'):
        """The outline of a rectangle, width pixels thick, inside it."""
        self.rect(x, y, w, width, colour, mode)
        self.rect(x, y + h - width, w, width, colour, mode)
        self.rect(x, y + width, width, h - 2 * width, colour, mode)
        self.rect(x + w - width, y + width, width, h - 2 * width, colour, mode)

    def vgradient(self, x, y, w, h, top, bottom, mode='over'):
        """Each row one colour, from top (first row) to bottom (last row)."""
        top, bottom = _rgba(top), _rgba(bottom)
        for i in range(h):
            t = i / max(1, h - 1)
            self.span(y + i, x, x + w, _mix(top, bottom, t), mode)

    def hgradient(self, x, y, w, h, left, right):
        """Each column one colour (replacing what is there)."""
        left, right = _rgba(left), _rgba(right)
        x0, x1 = max(0, x), min(self.w, x + w)
        row = b''.join(bytes(_mix(left, right, (xx - x) / max(1, w - 1))) for xx in range(x0, x1))
        for yy in range(max(0, y), min(self.h, y + h)):
            i = (yy * self.w + x0) * 4
            self.px[i:i + len(row)] = row

    def rounded(self, x, y, w, h, r, colour, mode='over'):
        """A rectangle with corners rounded by radius r."""
        for yy in range(h):
            dy = 0
            if yy < r:
                dy = r - yy - 0.5
            elif yy >= h - r:
                dy = yy - (h - r) + 0.5
            inset = 0 if dy == 0 else r - math.sqrt(max(0.0, r * r - dy * dy))
            self.span(y + yy, x + round(inset), x + w - round(inset), colour, mode)

    def disc(self, cx, cy, r, colour, mode='over'):
        for yy in range(int(cy - r), int(cy + r) + 1):
            d = r * r - (yy + 0.5 - cy) ** 2
            if d < 0:
                continue
            half = math.sqrt(d)
            self.span(yy, round(cx - half), round(cx + half), colour, mode)

    def ellipse(self, cx, cy, rx, ry, colour, mode='over'):
        for yy in range(int(cy - ry), int(cy + ry) + 1):
            t = 1 - ((yy + 0.5 - cy) / ry) ** 2
            if t < 0:
                continue
            half = rx * math.sqrt(t)
            self.span(yy, round(cx - half), round(cx + half), colour, mode)

    def ring(self, cx, cy, r_out, r_in, colour, mode='over'):
        for yy in range(int(cy - r_out), int(cy + r_out) + 1):
            dy2 = (yy + 0.5 - cy) ** 2
            d_out = r_out * r_out - dy2
            if d_out < 0:
                continue
            ho = math.sqrt(d_out)
            d_in = r_in * r_in - dy2
            if d_in <= 0:
                self.span(yy, round(cx - ho), round(cx + ho), colour, mode)
            else:
                hi = math.sqrt(d_in)
                self.span(yy, round(cx - ho), round(cx - hi), colour, mode)
                self.span(yy, round(cx + hi), round(cx + ho), colour, mode)

    def radial(self, cx, cy, r, inner, outer, steps=48, mode='over'):
        """Rings of one colour each, from the outer colour at radius r to the inner colour at the
        centre; every pixel is drawn once."""
        inner, outer = _rgba(inner), _rgba(outer)
        radii = [r * (1 - i / steps) for i in range(steps)]
        colours = [_mix(outer, inner, i / (steps - 1)) for i in range(steps)]
        for yy in range(int(cy - r), int(cy + r) + 1):
            dy2 = (yy + 0.5 - cy) ** 2
            halves = [math.sqrt(rr * rr - dy2) if rr * rr > dy2 else None for rr in radii]
            for k in range(steps):
                ho = halves[k]
                if ho is None:
                    break
                hi = halves[k + 1] if k + 1 < steps else None
                if hi is None:
                    self.span(yy, round(cx - ho), round(cx + ho), colours[k], mode)
                else:
                    self.span(yy, round(cx - ho), round(cx - hi), colours[k], mode)
                    self.span(yy, round(cx + hi), round(cx + ho), colours[k], mode)

    def polygon(self, points, colour, mode='over'):
        """Even-odd scanline fill of a closed polygon (points in pixel coordinates)."""
        ys = [p[1] for p in points]
        for yy in range(max(0, int(min(ys))), min(self.h, int(max(ys)) + 1)):
            sy = yy + 0.5
            xs = []
            n = len(points)
            for i in range(n):
                (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
                if (ya <= sy < yb) or (yb <= sy < ya):
                    xs.append(xa + (sy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for j in range(0, len(xs) - 1, 2):
                self.span(yy, round(xs[j]), round(xs[j + 1]), colour, mode)

    def line(self, x0, y0, x1, y1, width, colour, mode='over'):
        """A thick straight line (a rectangle along it), ends square."""
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)],
                     colour, mode)

    # -- pictures on pictures -------------------------------------------------------------------
    def paste(self, other, x, y, mode='over'):
        """Another canvas at (x, y): replacing ("set") or alpha-composited ("over")."""
        for yy in range(other.h):
            ty = y + yy
            if ty < 0 or ty >= self.h:
                continue
            sx0, sx1 = max(0, -x), min(other.w, self.w - x)
            if sx0 >= sx1:
                continue
            src = other.px[(yy * other.w + sx0) * 4:(yy * other.w + sx1) * 4]
            i = (ty * self.w + x + sx0) * 4
            if mode == 'set':
                self.px[i:i + len(src)] = src
                continue
            dst = self.px[i:i + len(src)]
            out = bytearray(dst)
            for k in range(0, len(src), 4):
                a = src[k + 3]
                if a == 0:
                    continue
                if a == 255:
                    out[k:k + 4] = src[k:k + 4]
                    continue
                da = dst[k + 3]
                oa = a + da - (a * da + 127) // 255
                for ch in range(3):
                    # colour over colour, each weighted by its own coverage
                    num = src[k + ch] * a * 255 + dst[k + ch] * da * (255 - a)
                    out[k + ch] = (num + oa * 127) // (oa * 255) if oa else 0
                out[k + 3] = oa
            self.px[i:i + len(src)] = out

    def text(self, x, y, text, size, colour, font, anchor='lt'):
        """Text rasterised by ImageMagick at a point size, laid over the canvas. anchor: 'lt' the
        inked box's left top at (x, y), 'ct' its centre top, 'rt' its right top, 'cc' its
        centre."""
        w, h, mask = text_mask(text, size, font)
        if anchor[0] == 'c':
            x -= w // 2
        elif anchor[0] == 'r':
            x -= w
        if anchor[1] == 'c':
            y -= h // 2
        c = _rgba(colour)
        layer = Canvas(w, h)
        for yy in range(h):
            row = mask[yy * w:(yy + 1) * w]
            for xx, cover in enumerate(row):
                if cover:
                    i = (yy * w + xx) * 4
                    layer.px[i:i + 4] = bytes((c[0], c[1], c[2], cover * c[3] // 255))
        self.paste(layer, x, y)
        return w, h

    def sub(self, x, y, w, h):
        out = Canvas(w, h)
        for yy in range(h):
            i = ((y + yy) * self.w + x) * 4
            out.px[yy * w * 4:(yy + 1) * w * 4] = self.px[i:i + w * 4]
        return out

    def pixel(self, x, y):
        i = (y * self.w + x) * 4
        return tuple(self.px[i:i + 4])

    def set_alpha(self, alpha):
        """Every pixel's alpha multiplied by alpha / 255."""
        table = bytes((d * alpha + 127) // 255 for d in range(256))
        self.px[3::4] = self.px[3::4].translate(table)

    # -- output ---------------------------------------------------------------------------------
    def png(self, kind='rgba'):
        """The PNG bytes: kind 'rgba' (colour type 6), 'rgb' (2, alpha dropped) or 'grey' (0, the
        red channel)."""
        if kind == 'rgba':
            data, colour_type, channels = bytes(self.px), 6, 4
        elif kind == 'rgb':
            data = bytearray(self.w * self.h * 3)
            for ch in range(3):
                data[ch::3] = self.px[ch::4]
            colour_type, channels = 2, 3
        elif kind == 'grey':
            data, colour_type, channels = bytes(self.px[0::4]), 0, 1
        else:
            raise ValueError(kind)
        stride = self.w * channels
        raw = b''.join(b'\0' + data[y * stride:(y + 1) * stride] for y in range(self.h))
        return png_bytes(self.w, self.h, colour_type, raw)


def png_bytes(width, height, colour_type, filtered_rows):
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(filtered_rows, 9)) + chunk(b'IEND', b''))


def grey_canvas(width, height, value_of):
    """A grey picture from value_of(x, y) -> 0..255, row by row (for the wipe rules)."""
    c = Canvas(width, height)
    for y in range(height):
        row = bytes(max(0, min(255, int(value_of(x, y)))) for x in range(width))
        i = y * width * 4
        c.px[i:i + width * 4:4] = row
    return c


def text_mask(text, size, font):
    """Coverage (0..255 per pixel) of the text drawn in font at size points, tightly trimmed:
    (width, height, bytes)."""
    r = subprocess.run(['convert', '-background', 'black', '-fill', 'white', '-font', font,
                        '-pointsize', str(size), 'label:' + text, '-trim', '+repage',
                        '-colorspace', 'Gray', '-depth', '8', 'pgm:-'],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True)
    data = r.stdout
    # PGM: "P5", width, height, maximum, then the bytes; fields separated by whitespace.
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    at += 1
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[at:at + w * h]


def _rgba(c):
    return tuple(c) if len(c) == 4 else (c[0], c[1], c[2], 255)


def _mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(4))
