"""Drawing primitives: anti-aliased shapes by supersampling, BMP output that keeps the
transparent key colour out of every opaque pixel."""
from PIL import Image, ImageDraw, ImageFont, features

import theme

SS = 4  # supersampling factor of anti-aliased shapes


def font(path, size):
    return ImageFont.truetype(path, size)


def rounded_mask(size, radius, inset=0):
    """Anti-aliased mask (mode L) of a rounded rectangle filling `size`."""
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(big).rounded_rectangle(
        (inset * SS, inset * SS, (w - inset) * SS - 1, (h - inset) * SS - 1),
        radius=radius * SS, fill=255)
    return big.resize((w, h), Image.LANCZOS)


def ellipse_mask(size, inset=0):
    w, h = size
    big = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(big).ellipse(
        (inset * SS, inset * SS, (w - inset) * SS - 1, (h - inset) * SS - 1), fill=255)
    return big.resize((w, h), Image.LANCZOS)


def vertical_gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def fill_masked(img, box, mask, colour):
    """Blends a solid colour into img at box through an anti-aliased mask."""
    x, y = box
    img.paste(Image.new("RGB", mask.size, colour), (x, y), mask)


def rounded_box(img, rect, radius, fill, outline=None, width=1):
    """Anti-aliased rounded rectangle with an optional outline, painted over img."""
    x0, y0, x1, y1 = rect
    size = (x1 - x0, y1 - y0)
    if outline:
        fill_masked(img, (x0, y0), rounded_mask(size, radius), outline)
        fill_masked(img, (x0, y0), rounded_mask(size, max(0, radius - width), width), fill)
    else:
        fill_masked(img, (x0, y0), rounded_mask(size, radius), fill)


def shaped_background(size, radius, key, body):
    """A window face: `body` (an RGB image of `size`) cut to a rounded rectangle whose
    outside is the key colour. The outline is hard (no blend with the key colour) so the
    traced window region shows no coloured fringe; the edge is smoothed against OUTSIDE."""
    w, h = size
    mask = rounded_mask(size, radius)
    face = Image.new("RGB", size, theme.OUTSIDE)
    face.paste(body, (0, 0), mask)
    hard = mask.point(lambda v: 255 if v >= 96 else 0)
    out = Image.new("RGB", size, key)
    out.paste(face, (0, 0), hard)
    return avoid_key(out, hard, key)


def avoid_key(img, opaque_mask, key):
    """Nudges opaque pixels that happen to equal the key colour, so that only the outside
    of the shape is transparent."""
    px = img.load()
    m = opaque_mask.load()
    w, h = img.size
    nudged = (key[0] ^ 1, key[1], key[2] ^ 1)
    for y in range(h):
        for x in range(w):
            if m[x, y] and px[x, y] == key:
                px[x, y] = nudged
    return img


def text(img, xy, s, role, colour, anchor="la"):
    path, size = theme.PREVIEW_FONTS[role]
    ImageDraw.Draw(img).text(xy, s, font=font(path, size), fill=colour, anchor=anchor)


def text_centered(img, rect, s, role, colour):
    x0, y0, x1, y1 = rect
    text(img, ((x0 + x1) / 2, (y0 + y1) / 2), s, role, colour, anchor="mm")


def save_bmp(img, path):
    """Bottom-up uncompressed BMP, as the skin engine loads it into a DIB section: 8-bit
    with a palette for a palette image, else 24-bit."""
    (img if img.mode == "P" else img.convert("RGB")).save(path, format="BMP")


def to_palette(img, key=None, smooth=False):
    """An 8-bit palette image (a third of the 24-bit file) for a face or a large picture.
    Up to 256 colours are kept exactly. More are reduced: a face (`smooth` false) by maximum
    coverage without dithering, which moves no channel by more than a step and keeps flat
    areas flat; a picture with soft gradients (`smooth`) by libimagequant with dithering,
    which leaves no visible bands. The key colour, when given, keeps a palette entry of its
    own: every key pixel stays exactly the key and no other pixel becomes it, so the traced
    window outline is the same as the 24-bit face's."""
    rgb = img.convert("RGB")
    data = list(rgb.getdata())
    colours = sorted(set(data))
    out = Image.new("P", rgb.size)
    if len(colours) <= 256:
        index = {c: i for i, c in enumerate(colours)}
        out.putpalette([v for c in colours for v in c] + [0] * (768 - 3 * len(colours)))
        out.putdata([index[c] for c in data])
        return out
    if smooth and key is None:
        if not features.check("libimagequant"):
            raise SystemExit("Pillow lacks libimagequant; use Debian's python3-pil")
        return rgb.quantize(256, method=Image.Quantize.LIBIMAGEQUANT,
                            dither=Image.Dither.FLOYDSTEINBERG)
    filler = next(c for c in data if c != key)
    body = Image.new("RGB", rgb.size)
    body.putdata([filler if c == key else c for c in data])
    reduced = body.quantize(255 if key else 256, method=Image.Quantize.MAXCOVERAGE,
                            dither=Image.Dither.NONE)
    flat = reduced.getpalette()[:3 * 256]
    palette = [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    # An opaque colour that came out as the key is nudged off it.
    palette = [(c[0] ^ 1, c[1], c[2] ^ 1) if c == key else c for c in palette]
    indices = list(reduced.getdata())
    if key:
        palette = (palette + [(0, 0, 0)] * 256)[:255] + [key]
        indices = [255 if c == key else i for c, i in zip(data, indices)]
    out.putpalette([v for c in palette for v in c] + [0] * (768 - 3 * len(palette)))
    out.putdata(indices)
    return out
