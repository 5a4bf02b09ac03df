"""Bitmaps of the skinned controls: four states (up, down, focus, disabled) for every
identity of a button, check and radio marks, slider channels and thumbs."""
from PIL import Image, ImageDraw

import draw
import icons
import theme

STATES = ("up", "down", "focus", "disabled")


def _icon(name, size):
    if name == "eye_off":
        return icons.eye(size, crossed=True)
    if name == "speaker_mute":
        return icons.speaker(size, muted=True)
    if name == "arrow_up":
        return icons.arrow(size, up=True)
    if name == "arrow_down":
        return icons.arrow(size, up=False)
    return getattr(icons, name)(size)


def _paste_icon(img, name, colour, box=None):
    w, h = img.size
    x0, y0, x1, y1 = box or (0, 0, w, h)
    size = min(x1 - x0, y1 - y0)
    mask = _icon(name, size)
    draw.fill_masked(img, (x0 + (x1 - x0 - size) // 2, y0 + (y1 - y0 - size) // 2), mask, colour)


def _state_colours(state, look):
    """Fill, outline and icon/text colour of a button face in a state."""
    if look == "accent":
        return {"up": (theme.ACCENT, theme.ACCENT, theme.FIELD),
                "focus": ((64, 204, 224), (120, 226, 240), theme.FIELD),
                "down": (theme.ACCENT_DARK, theme.ACCENT, theme.TEXT),
                "disabled": (theme.BUTTON_DISABLED, theme.BUTTON_DISABLED, theme.TEXT_DISABLED)}[state]
    if look == "busy":
        return {"up": (theme.ACCENT_DARK, theme.ACCENT, theme.TEXT),
                "focus": ((28, 140, 160), theme.ACCENT, theme.TEXT),
                "down": (theme.BUTTON_DOWN, theme.ACCENT, theme.ACCENT),
                "disabled": (theme.BUTTON_DISABLED, theme.BUTTON_DISABLED, theme.TEXT_DISABLED)}[state]
    if look == "titlebar":
        return {"up": (theme.BUTTON, theme.BUTTON, theme.TEXT_MUTED),
                "focus": (theme.BUTTON_HOVER, theme.BUTTON_HOVER, theme.TEXT),
                "down": (theme.BUTTON_DOWN, theme.ACCENT, theme.ACCENT),
                "disabled": (theme.BUTTON_DISABLED, theme.BUTTON_DISABLED, theme.TEXT_DISABLED)}[state]
    if look == "close":
        return {"up": (theme.BUTTON, theme.BUTTON, theme.TEXT_MUTED),
                "focus": (theme.RECORD, theme.RECORD, theme.TEXT),
                "down": (theme.RECORD_DARK, theme.RECORD, theme.TEXT),
                "disabled": (theme.BUTTON_DISABLED, theme.BUTTON_DISABLED, theme.TEXT_DISABLED)}[state]
    return {"up": (theme.BUTTON, theme.BUTTON_EDGE, theme.TEXT),
            "focus": (theme.BUTTON_HOVER, theme.ACCENT_DARK, theme.TEXT),
            "down": (theme.BUTTON_DOWN, theme.ACCENT, theme.ACCENT),
            "disabled": (theme.BUTTON_DISABLED, theme.BUTTON_DISABLED, theme.TEXT_DISABLED)}[state]


def _face(underlay, radius, fill, outline):
    img = underlay.copy()
    w, h = img.size
    draw.rounded_box(img, (0, 0, w, h), radius, fill, outline)
    # A soft top highlight gives the face some depth.
    hi = draw.rounded_mask((w - 4, max(1, h // 2 - 2)), max(1, radius - 2))
    glow = Image.new("RGB", hi.size, tuple(min(255, c + 10) for c in fill))
    img.paste(glow, (2, 2), hi.point(lambda v: v * 2 // 5))
    return img


def _plain(underlay, look, state, icon):
    fill, outline, ink = _state_colours(state, look)
    w, h = underlay.size
    radius = h // 2 if look in ("pill", "accent", "busy", "circle", "titlebar", "close") else 6
    img = _face(underlay, radius, fill, outline)
    if icon:
        inset = (2 if h < 20 else max(3, h // 6)) if look not in ("titlebar", "close") else 3
        _paste_icon(img, icon, ink, (inset, inset, w - inset, h - inset))
    return img


def _record(underlay, identity, state):
    """The record control: 0 ready (red dot), 1 recording (stop), 2 playing (back to live),
    3 unavailable (greyed dot)."""
    base = {0: theme.RECORD, 1: (250, 92, 96), 2: theme.ACCENT, 3: theme.BUTTON_DISABLED}[identity]
    if state == "disabled":
        base = theme.BUTTON_DISABLED
    shade = {"up": 0, "focus": 18, "down": -40, "disabled": 0}[state]
    fill = tuple(max(0, min(255, c + shade)) for c in base)
    ink = theme.TEXT if identity != 3 and state != "disabled" else theme.TEXT_DISABLED
    w, h = underlay.size
    img = _face(underlay, h // 2, fill, tuple(min(255, c + 30) for c in fill))
    icon = {0: "record", 1: "stop", 2: "live", 3: "record"}[identity]
    word = {0: "REC", 1: "STOP", 2: "LIVE", 3: "REC"}[identity]
    _paste_icon(img, icon, ink, (8, 6, 8 + h - 12, h - 6))
    draw.text(img, (h + 2, h // 2), word, "bold", ink, anchor="lm")
    return img


def _tab(underlay, state):
    img = underlay.copy()
    w, h = img.size
    fill = {"up": theme.FACE, "focus": theme.BUTTON_HOVER, "down": theme.PANEL,
            "disabled": theme.FACE}[state]
    mask = draw.rounded_mask((w, h + 10), 8)
    draw.fill_masked(img, (0, 0), mask.crop((0, 0, w, h)), theme.PANEL_EDGE)
    inner = draw.rounded_mask((w - 2, h + 10), 7)
    draw.fill_masked(img, (1, 1), inner.crop((0, 0, w - 2, h - 1)), fill)
    if state == "down":
        ImageDraw.Draw(img).rectangle((10, 1, w - 11, 3), fill=theme.ACCENT)
    return img


def _mark(underlay, look, state):
    """Check box or radio mark at the left; the caption is drawn by the engine."""
    img = underlay.copy()
    h = img.size[1]
    s = 16
    y = (h - s) // 2
    on = state == "down"
    edge = {"up": theme.FIELD_EDGE, "down": theme.ACCENT, "focus": theme.ACCENT,
            "disabled": theme.BUTTON_DISABLED}[state]
    fill = theme.ACCENT if on else theme.FIELD
    box = Image.new("RGB", (s, s))
    box.paste(img.crop((0, y, s, y + s)))
    if look == "radio":
        draw.fill_masked(box, (0, 0), draw.ellipse_mask((s, s)), edge)
        draw.fill_masked(box, (0, 0), draw.ellipse_mask((s, s), 2), theme.FIELD)
        if on:
            draw.fill_masked(box, (0, 0), draw.ellipse_mask((s, s), 5), theme.ACCENT)
    else:
        draw.rounded_box(box, (0, 0, s, s), 4, fill, edge, 2 if not on else 1)
        if on:
            big = Image.new("L", (s * draw.SS, s * draw.SS), 0)
            k = draw.SS
            ImageDraw.Draw(big).line([(4 * k, 8 * k), (7 * k, 11 * k), (12 * k, 5 * k)],
                                     fill=255, width=2 * k, joint="curve")
            draw.fill_masked(box, (0, 0), big.resize((s, s), Image.LANCZOS), theme.FIELD)
    img.paste(box, (0, y))
    return img


def _thumbnail(underlay, identity, state):
    """Recent-recording thumbnail frame: 0 normal, 1 selected. The program replaces the
    picture with the recording's own; this is the placeholder look."""
    w, h = underlay.size
    img = placeholder_thumbnail((w, h))
    d = ImageDraw.Draw(img)
    edge = {"up": theme.FIELD_EDGE, "focus": theme.TEXT_MUTED, "down": theme.ACCENT,
            "disabled": theme.BUTTON_DISABLED}[state]
    if identity == 1:
        edge = theme.ACCENT
    d.rectangle((0, 0, w - 1, h - 1), outline=edge, width=2 if identity == 1 else 1)
    return img


def placeholder_thumbnail(size):
    w, h = size
    img = draw.vertical_gradient(size, (30, 36, 46), (20, 23, 30))
    mask = icons.play(min(w, h) // 2)
    ring = draw.ellipse_mask((min(w, h) // 2 + 8,) * 2)
    rx, ry = (w - ring.size[0]) // 2, (h - ring.size[1]) // 2
    draw.fill_masked(img, (rx, ry), ring, (44, 52, 66))
    draw.fill_masked(img, ((w - mask.size[0]) // 2 + 1, (h - mask.size[1]) // 2), mask,
                     theme.TEXT_MUTED)
    return img


def _tile(underlay, state):
    fill, outline, ink = _state_colours(state, "icon")
    w, h = underlay.size
    img = _face(underlay, 8, fill, outline)
    mask = icons.plus(h // 2)
    draw.fill_masked(img, ((w - mask.size[0]) // 2, (h - mask.size[1]) // 2), mask,
                     theme.TEXT_DISABLED if state != "down" else theme.ACCENT)
    return img


def _menu_entry(underlay, state):
    """A menu entry row: plain, hovered, chosen (marked) or disabled."""
    img = underlay.copy()
    w, h = img.size
    if state in ("focus", "down"):
        fill = theme.BUTTON_HOVER if state == "focus" else theme.ACCENT_DARK
        draw.rounded_box(img, (0, 0, w, h), 4, fill)
    if state == "down":
        draw.fill_masked(img, (4, (h - 8) // 2), draw.ellipse_mask((8, 8)), theme.TEXT)
    return img


def button_bitmaps(ctrl, underlay):
    """{(identity, state): image} for a button-kind control."""
    out = {}
    look = ctrl.look
    identities = range(max(1, len(ctrl.icons))) if look not in ("record", "thumbnail") else \
        ((0, 1, 2, 3) if look == "record" else (0, 1))
    for identity in identities:
        for state in STATES:
            if look == "record":
                img = _record(underlay, identity, state)
            elif look == "tab":
                img = _tab(underlay, state)
            elif look in ("check", "radio"):
                img = _mark(underlay, look, state)
            elif look == "thumbnail":
                img = _thumbnail(underlay, identity, state)
            elif look == "tile":
                img = _tile(underlay, state)
            elif look == "menuentry":
                img = _menu_entry(underlay, state)
            else:
                icon = ctrl.icons[identity] if ctrl.icons else None
                # A second identity of a text button is its busy look.
                img = _plain(underlay, "busy" if identity and not icon else look, state, icon)
            out[(identity, state)] = img
    return out


def slider_bitmaps(width, height, underlay_colour, thumb=14):
    """Channel, filled channel and thumb states of a horizontal slider."""
    chan = Image.new("RGB", (width, height), underlay_colour)
    left = chan.copy()
    gy = height // 2 - 2
    draw.rounded_box(chan, (0, gy, width, gy + 5), 2, theme.TROUGH, theme.PANEL_EDGE)
    draw.rounded_box(left, (0, gy, width, gy + 5), 2, theme.ACCENT, theme.ACCENT)
    thumbs = {}
    for state in STATES:
        img = Image.new("RGB", (thumb, height), underlay_colour)
        body = {"up": (214, 220, 230), "focus": (255, 255, 255), "down": theme.ACCENT,
                "disabled": theme.TEXT_DISABLED}[state]
        ty = (height - thumb) // 2
        draw.fill_masked(img, (0, ty), draw.ellipse_mask((thumb, thumb)), theme.OUTSIDE)
        draw.fill_masked(img, (0, ty), draw.ellipse_mask((thumb, thumb), 1), body)
        if state == "focus":
            draw.fill_masked(img, (0, ty), draw.ellipse_mask((thumb, thumb), 4), theme.ACCENT)
        thumbs[state] = img
    return chan, left, thumbs
