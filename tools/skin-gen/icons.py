"""Vector icons of the face's buttons, drawn into anti-aliased masks (mode L)."""
from PIL import Image, ImageDraw

from draw import SS
import theme


def _canvas(size):
    img = Image.new("L", (size * SS, size * SS), 0)
    return img, ImageDraw.Draw(img), size * SS


def _done(img, size):
    return img.resize((size, size), Image.LANCZOS)


def _tri(d, s, x0, x1, flip=False):
    """Triangle pointing right (or left when flipped) between x0 and x1 (fractions)."""
    a, b = x0 * s, x1 * s
    if flip:
        a, b = b, a
    d.polygon([(a, 0.22 * s), (b, 0.5 * s), (a, 0.78 * s)], fill=255)


def play(size):
    img, d, s = _canvas(size)
    _tri(d, s, 0.3, 0.78)
    return _done(img, size)


def pause(size):
    img, d, s = _canvas(size)
    d.rounded_rectangle((0.27 * s, 0.22 * s, 0.43 * s, 0.78 * s), radius=0.03 * s, fill=255)
    d.rounded_rectangle((0.57 * s, 0.22 * s, 0.73 * s, 0.78 * s), radius=0.03 * s, fill=255)
    return _done(img, size)


def stop(size):
    img, d, s = _canvas(size)
    d.rounded_rectangle((0.27 * s, 0.27 * s, 0.73 * s, 0.73 * s), radius=0.06 * s, fill=255)
    return _done(img, size)


def record(size):
    img, d, s = _canvas(size)
    d.ellipse((0.25 * s, 0.25 * s, 0.75 * s, 0.75 * s), fill=255)
    return _done(img, size)


def seek_start(size):
    img, d, s = _canvas(size)
    d.rectangle((0.24 * s, 0.24 * s, 0.32 * s, 0.76 * s), fill=255)
    _tri(d, s, 0.32, 0.76, flip=True)
    return _done(img, size)


def seek_end(size):
    img, d, s = _canvas(size)
    d.rectangle((0.68 * s, 0.24 * s, 0.76 * s, 0.76 * s), fill=255)
    _tri(d, s, 0.24, 0.68)
    return _done(img, size)


def step_back(size):
    img, d, s = _canvas(size)
    _tri(d, s, 0.18, 0.5, flip=True)
    _tri(d, s, 0.5, 0.82, flip=True)
    return _done(img, size)


def step_forward(size):
    img, d, s = _canvas(size)
    _tri(d, s, 0.18, 0.5)
    _tri(d, s, 0.5, 0.82)
    return _done(img, size)


def folder(size):
    img, d, s = _canvas(size)
    d.rounded_rectangle((0.18 * s, 0.3 * s, 0.48 * s, 0.42 * s), radius=0.04 * s, fill=255)
    d.rounded_rectangle((0.18 * s, 0.36 * s, 0.82 * s, 0.76 * s), radius=0.06 * s, fill=255)
    d.rounded_rectangle((0.24 * s, 0.46 * s, 0.76 * s, 0.7 * s), radius=0.03 * s, fill=0)
    return _done(img, size)


def _glyph(size, char, scale=0.62):
    from PIL import ImageFont
    img, d, s = _canvas(size)
    f = ImageFont.truetype(theme.FONT_BOLD, int(s * scale))
    d.text((s / 2, s / 2), char, font=f, fill=255, anchor="mm")
    return _done(img, size)


def help_mark(size):
    return _glyph(size, "?")


def info(size):
    return _glyph(size, "i")


def minimize(size):
    img, d, s = _canvas(size)
    d.rounded_rectangle((0.28 * s, 0.6 * s, 0.72 * s, 0.68 * s), radius=0.03 * s, fill=255)
    return _done(img, size)


def close(size):
    img, d, s = _canvas(size)
    w = int(0.08 * s)
    d.line((0.3 * s, 0.3 * s, 0.7 * s, 0.7 * s), fill=255, width=w)
    d.line((0.7 * s, 0.3 * s, 0.3 * s, 0.7 * s), fill=255, width=w)
    return _done(img, size)


def full_screen(size):
    img, d, s = _canvas(size)
    w = int(0.08 * s)
    for cx, cy, dx, dy in ((0.25, 0.25, 1, 1), (0.75, 0.25, -1, 1),
                           (0.25, 0.75, 1, -1), (0.75, 0.75, -1, -1)):
        x, y = cx * s, cy * s
        d.line((x, y, x + dx * 0.18 * s, y), fill=255, width=w)
        d.line((x, y, x, y + dy * 0.18 * s), fill=255, width=w)
    return _done(img, size)


def camera(size):
    img, d, s = _canvas(size)
    d.rounded_rectangle((0.16 * s, 0.32 * s, 0.84 * s, 0.76 * s), radius=0.08 * s, fill=255)
    d.rectangle((0.38 * s, 0.24 * s, 0.62 * s, 0.34 * s), fill=255)
    d.ellipse((0.36 * s, 0.4 * s, 0.64 * s, 0.68 * s), fill=0)
    d.ellipse((0.42 * s, 0.46 * s, 0.58 * s, 0.62 * s), fill=255)
    return _done(img, size)


def eye(size, crossed=False):
    img, d, s = _canvas(size)
    w = int(0.075 * s)
    # Almond outline from two circular arcs, then the pupil.
    d.arc((0.1 * s, 0.3 * s, 0.9 * s, 1.3 * s), 218, 322, fill=255, width=w)
    d.arc((0.1 * s, -0.3 * s, 0.9 * s, 0.7 * s), 38, 142, fill=255, width=w)
    d.ellipse((0.37 * s, 0.37 * s, 0.63 * s, 0.63 * s), fill=255)
    if crossed:
        d.line((0.2 * s, 0.82 * s, 0.8 * s, 0.18 * s), fill=0, width=int(0.18 * s))
        d.line((0.2 * s, 0.82 * s, 0.8 * s, 0.18 * s), fill=255, width=w)
    return _done(img, size)


def loop(size):
    img, d, s = _canvas(size)
    w = int(0.08 * s)
    d.arc((0.2 * s, 0.2 * s, 0.8 * s, 0.8 * s), 300, 600, fill=255, width=w)
    # Arrow head at the open end of the ring, pointing clockwise.
    x, y = 0.66 * s, 0.24 * s
    d.polygon([(x - 0.05 * s, y - 0.12 * s), (x + 0.16 * s, y + 0.04 * s),
               (x - 0.06 * s, y + 0.14 * s)], fill=255)
    return _done(img, size)


def speaker(size, muted=False):
    img, d, s = _canvas(size)
    d.polygon([(0.16 * s, 0.4 * s), (0.3 * s, 0.4 * s), (0.48 * s, 0.24 * s),
               (0.48 * s, 0.76 * s), (0.3 * s, 0.6 * s), (0.16 * s, 0.6 * s)], fill=255)
    w = int(0.07 * s)
    if muted:
        d.line((0.6 * s, 0.38 * s, 0.82 * s, 0.62 * s), fill=255, width=w)
        d.line((0.82 * s, 0.38 * s, 0.6 * s, 0.62 * s), fill=255, width=w)
    else:
        d.arc((0.4 * s, 0.34 * s, 0.66 * s, 0.66 * s), -50, 50, fill=255, width=w)
        d.arc((0.38 * s, 0.22 * s, 0.82 * s, 0.78 * s), -50, 50, fill=255, width=w)
    return _done(img, size)


def live(size):
    img, d, s = _canvas(size)
    w = int(0.07 * s)
    d.ellipse((0.42 * s, 0.42 * s, 0.58 * s, 0.58 * s), fill=255)
    for r in (0.2, 0.32):
        box = ((0.5 - r) * s, (0.5 - r) * s, (0.5 + r) * s, (0.5 + r) * s)
        d.arc(box, 135, 225, fill=255, width=w)
        d.arc(box, -45, 45, fill=255, width=w)
    return _done(img, size)


def plus(size):
    img, d, s = _canvas(size)
    w = int(0.08 * s)
    d.line((0.5 * s, 0.3 * s, 0.5 * s, 0.7 * s), fill=255, width=w)
    d.line((0.3 * s, 0.5 * s, 0.7 * s, 0.5 * s), fill=255, width=w)
    return _done(img, size)


def arrow(size, up=True):
    img, d, s = _canvas(size)
    if up:
        d.polygon([(0.3 * s, 0.62 * s), (0.5 * s, 0.38 * s), (0.7 * s, 0.62 * s)], fill=255)
    else:
        d.polygon([(0.3 * s, 0.38 * s), (0.5 * s, 0.62 * s), (0.7 * s, 0.38 * s)], fill=255)
    return _done(img, size)


def rings(size):
    """The Marovin mark: a lens of concentric rings with a record dot."""
    img, d, s = _canvas(size)
    w = max(1, int(0.09 * s))
    d.ellipse((0.06 * s, 0.06 * s, 0.94 * s, 0.94 * s), outline=255, width=w)
    d.ellipse((0.3 * s, 0.3 * s, 0.7 * s, 0.7 * s), fill=255)
    return _done(img, size)

