"""Dialog faces (backgrounds with the transparent-colour outline) and the auxiliary
pictures of the main window."""
from PIL import Image, ImageChops, ImageDraw

import draw
import icons
import theme


def _wordmark(img, x, y, size=20):
    mark = icons.rings(size)
    draw.fill_masked(img, (x, y), mark, theme.ACCENT)
    draw.text(img, (x + size + 8, y + size // 2), "MAROVIN", "title", theme.TEXT, anchor="lm")


def _well(img, rect, radius, fill, edge):
    x0, y0, x1, y1 = rect
    draw.rounded_box(img, (x0, y0, x1, y1), radius, fill, edge)


def main_face(dialog):
    w, h = dialog.size
    body = draw.vertical_gradient((w, h), theme.FACE_TOP, theme.FACE)
    d = ImageDraw.Draw(body)
    # Header strip with the mark and a hairline below it.
    _wordmark(body, 24, 14, 22)
    draw.text(body, (140, 26), "TV  &  CAPTURE", "small", theme.TEXT_MUTED, anchor="lm")
    d.line((16, 47, w - 16, 47), fill=theme.PANEL_EDGE)
    # Video bezel around control 1000.
    vx, vy, vw, vh = dialog.control("IDC_VIDEO_AREA").rect
    _well(body, (vx - 6, vy - 6, vx + vw + 6, vy + vh + 6), 10, theme.OUTSIDE, theme.FACE_EDGE)
    d.rectangle((vx, vy, vx + vw - 1, vy + vh - 1), fill=(0, 0, 0))
    # Status display: a dark green-lit panel.
    _well(body, (24, 458, 378, 524), 8, theme.LCD, theme.LCD_EDGE)
    d.line((36, 497, 366, 497), fill=(16, 40, 24))
    # Settings panel behind the tabs; flat so that shared button looks sit on one colour.
    _well(body, (396, 90, 782, 452), 10, theme.PANEL, theme.PANEL_EDGE)
    d.line((406, 404, 772, 404), fill=theme.PANEL_EDGE)
    # Wells of the recent thumbnails.
    for i in range(4):
        x = 398 + i * 96
        _well(body, (x - 3, 481, x + 81, 550), 5, theme.FIELD, theme.FIELD_EDGE)
    d.line((16, 556, 380, 556), fill=theme.PANEL_EDGE)
    return draw.shaped_background((w, h), 18, dialog.key, body)


def companion_face(dialog):
    w, h = dialog.size
    body = Image.new("RGB", (w, h), theme.PANEL)
    head = draw.vertical_gradient((w, 44), theme.FACE_TOP, theme.FACE)
    body.paste(head, (0, 0))
    ImageDraw.Draw(body).line((0, 44, w, 44), fill=theme.PANEL_EDGE)
    draw.fill_masked(body, (16, 13), icons.rings(20), theme.ACCENT)
    if dialog.name == "AboutDialog":
        mark = icons.rings(44)
        draw.fill_masked(body, (20, 58), mark, theme.ACCENT)
        draw.text(body, (76, 70), "MAROVIN", "clock", theme.TEXT, anchor="lm")
        draw.text(body, (78, 94), "TV & video capture", "normal", theme.TEXT_MUTED, anchor="lm")
    if dialog.name == "SaveBmpDialog":
        x, y, fw, fh = dialog.control("IDC_SNAP_FRAME").rect
        _well(body, (x - 4, y - 4, x + fw + 4, y + fh + 4), 6, theme.FIELD, theme.FIELD_EDGE)
    return draw.shaped_background((w, h), 12, dialog.key, _rounded_frame(body, 12))


def _rounded_frame(body, radius):
    """Draws a one-pixel edge just inside the rounded outline."""
    w, h = body.size
    out = body.copy()
    edge = Image.new("RGB", (w, h), theme.FACE_EDGE)
    ring = draw.rounded_mask((w, h), radius)
    inner = draw.rounded_mask((w - 2, h - 2), radius - 1)
    hole = Image.new("L", (w, h), 0)
    hole.paste(inner, (1, 1))
    out.paste(edge, (0, 0), ImageChops.subtract(ring, hole))
    return out


def stretch_face(dialog):
    """Message box and menu: flat centre and straight edges so the engine can tile them."""
    w, h = dialog.size
    body = Image.new("RGB", (w, h), theme.PANEL)
    top = dialog.stretch["TopRegionOffset"]
    if top > 20:
        ImageDraw.Draw(body).rectangle((0, 0, w, top - 2), fill=theme.FACE)
        ImageDraw.Draw(body).line((0, top - 2, w, top - 2), fill=theme.PANEL_EDGE)
    return draw.shaped_background((w, h), 8, dialog.key, _rounded_frame(body, 8))


def idle_picture(size):
    """Auxiliary bitmap 1: what the video area shows when no picture runs."""
    w, h = size
    img = draw.vertical_gradient(size, (14, 20, 28), (4, 6, 9))
    # A soft radial glow behind the mark.
    glow = Image.radial_gradient("L").resize((w, h)).point(lambda v: max(0, 255 - v) // 5)
    draw.fill_masked(img, (0, 0), glow, theme.ACCENT_DARK)
    mark = icons.rings(64)
    draw.fill_masked(img, ((w - 64) // 2, h // 2 - 70), mark, theme.ACCENT)
    draw.text(img, (w // 2, h // 2 + 20), "MAROVIN", "clock", theme.TEXT, anchor="mm")
    draw.text(img, (w // 2, h // 2 + 50), "Choose an input or open a file", "normal",
              theme.TEXT_MUTED, anchor="mm")
    return img


def preview_disabled(size):
    """Auxiliary bitmap 3: shown while the live picture is switched off."""
    w, h = size
    img = Image.new("RGB", size, (10, 12, 16))
    mark = icons.eye(56, crossed=True)
    draw.fill_masked(img, ((w - 56) // 2, h // 2 - 50), mark, theme.TEXT_MUTED)
    draw.text(img, (w // 2, h // 2 + 24), "Live picture hidden", "title", theme.TEXT,
              anchor="mm")
    draw.text(img, (w // 2, h // 2 + 46), "Recording goes on. Press the eye to show it.",
              "normal", theme.TEXT_MUTED, anchor="mm")
    return img


def launcher_icon():
    """Auxiliary icon 2: the launcher button's icon for a program without one."""
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    face = Image.new("RGBA", (32, 32), theme.BUTTON_HOVER + (255,))
    img.paste(face, (0, 0), draw.rounded_mask((32, 32), 7))
    draw.fill_masked(img, (4, 4), icons.play(24), theme.ACCENT)
    return img
