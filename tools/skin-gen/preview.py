"""Composes review pictures of each dialog from the skin's bitmaps and texts, the way the
skin engine lays them out (captions drawn over button bitmaps, statics over the face)."""
import os

from PIL import Image, ImageDraw

import draw
import theme
import dataclasses

STATE_INDEX = {"up": 0, "down": 1, "focus": 2, "disabled": 3}
# Controls shown checked or selected in the pictures, as a user would see them.
CHECKED = {"IDC_TAB_CAPTURE", "IDC_MODE_DVD", "IDC_SIZE_PRESET", "IDC_STOP_AFTER",
           "IDC_AUTO_RECORD", "IDC_TV_ANTENNA", "IDC_SAP_ENABLE", "IDC_SAP_LANGUAGE_A",
           "IDC_SAP_STEREO", "IDC_UPDATE_ALLOW"}
TAB_OF_PAGE = {0: "IDC_TAB_CAPTURE", 1: "IDC_TAB_RECORDING", 2: "IDC_TAB_TV", 3: "IDC_TAB_COLOR"}


def _button(img, art, c, identity=0, state="up"):
    files = art.templates[c.template] if c.template else art.buttons[c.sym]
    bmp = art.images[files[(identity, STATE_INDEX[state])]]
    img.paste(bmp, (c.x, c.y))
    caption = c.captions[identity] if identity < len(c.captions) else c.captions[0]
    if not caption:
        return
    if state == "disabled":
        colour = theme.TEXT_DISABLED
    elif c.look == "accent":
        colour = theme.FIELD if state != "down" else theme.TEXT
    else:
        colour = c.colour or theme.TEXT
    if c.align == "center":
        dy = 1 if state == "down" and c.kind == "button" else 0
        draw.text_centered(img, (c.x, c.y + dy, c.x + c.w, c.y + c.h + dy), caption, c.font, colour)
    else:
        draw.text(img, (c.x + 24, c.y + c.h // 2), caption, c.font, colour, anchor="lm")


def _static(img, c):
    s = c.captions[0] or c.sample
    if not s:
        return
    colour = c.colour or theme.TEXT
    d = ImageDraw.Draw(img)
    path, size = theme.PREVIEW_FONTS[c.font]
    f = draw.font(path, size)
    if "\n" in s or c.h > 30:
        d.multiline_text((c.x, c.y), s, font=f, fill=colour, spacing=3)
    elif c.align == "center":
        draw.text_centered(img, (c.x, c.y, c.x + c.w, c.y + c.h), s, c.font, colour)
    else:
        draw.text(img, (c.x, c.y + c.h // 2), s, c.font, colour, anchor="lm")


def _field(img, rect, s="", c=None):
    x, y, w, h = rect
    d = ImageDraw.Draw(img)
    fill = c.background if c and c.background else theme.FIELD
    d.rectangle((x, y, x + w - 1, y + h - 1), fill=fill, outline=theme.FIELD_EDGE)
    if s and c and "ES_CENTER" in c.style:
        draw.text_centered(img, (x, y, x + w, y + h), s, c.font, c.colour or theme.TEXT)
    elif s:
        draw.text(img, (x + 5, y + h // 2), s, "normal", theme.TEXT, anchor="lm")


def _system_field(img, rect, s="", arrow=False):
    """A combo box or list view as the system draws it with the skin's light field."""
    x, y, w, h = rect
    d = ImageDraw.Draw(img)
    d.rectangle((x, y, x + w - 1, y + h - 1), fill=theme.SYS_FIELD, outline=theme.FIELD_EDGE)
    if s:
        draw.text(img, (x + 5, y + h // 2), s, "normal", theme.SYS_TEXT, anchor="lm")
    if arrow:
        bx = x + w - 18
        d.rectangle((bx, y + 1, x + w - 2, y + h - 2), fill=(214, 218, 226))
        d.polygon([(bx + 5, y + h // 2 - 2), (bx + 12, y + h // 2 - 2),
                   (bx + 8.5, y + h // 2 + 2)], fill=theme.SYS_TEXT)


def _slider(img, art, c, share=0.4):
    s = art.sliders[c.sym]
    chan, left = art.images[s["channel"]], art.images[s["left"]]
    img.paste(chan, (c.x, c.y))
    cut = int(c.w * share)
    img.paste(left.crop((0, 0, cut, c.h)), (c.x, c.y))
    thumb = art.images[s["up"]]
    img.paste(thumb, (c.x + cut - thumb.size[0] // 2, c.y))


def _list(img, c):
    x, y, w, h = c.rect
    _system_field(img, c.rect)
    d = ImageDraw.Draw(img)
    d.rectangle((x + 1, y + 1, x + w - 2, y + 18), fill=(214, 218, 226))
    draw.text(img, (x + 8, y + 10), "Channel #", "small", theme.SYS_TEXT, anchor="lm")
    draw.text(img, (x + 80, y + 10), "Channel Name", "small", theme.SYS_TEXT, anchor="lm")
    for i, (n, name) in enumerate(((2, "Channel 02"), (4, "News 4"), (7, "Channel 07"),
                                   (12, "Channel 12"), (13, "Sports"))):
        ry = y + 22 + i * 18
        ink = theme.SYS_TEXT
        if n == 12:
            d.rectangle((x + 1, ry - 2, x + w - 2, ry + 15), fill=theme.ACCENT_DARK)
            ink = theme.TEXT
        draw.text(img, (x + 8, ry + 6), str(n), "normal", ink, anchor="lm")
        draw.text(img, (x + 80, ry + 6), name, "normal", ink, anchor="lm")


def _control(img, art, c, video_picture, looks):
    if c.kind in ("button", "check", "radio"):
        state = "down" if c.sym in CHECKED else "up"
        _button(img, art, c, *looks.get(c.sym, (0, state)))
    elif c.kind == "static":
        if c.sym == "IDC_VIDEO_AREA":
            img.paste(video_picture, (c.x, c.y))
        else:
            _static(img, c)
    elif c.kind == "edit":
        _field(img, (c.x, c.y, c.w, c.h), c.sample, c=c)
    elif c.kind == "slider":
        _slider(img, art, c)
    elif c.kind == "gslider":
        _field(img, (c.x, c.y + c.h // 2 - 3, c.w, 6))
        ImageDraw.Draw(img).rectangle((c.x + c.w // 2 - 5, c.y + 2, c.x + c.w // 2 + 5,
                                       c.y + c.h - 3), fill=(214, 220, 230))
    elif c.kind == "combo":
        _system_field(img, (c.x, c.y, c.w, 22), c.sample, arrow=True)
    elif c.kind == "list":
        _list(img, c)
    elif c.kind == "progress":
        _field(img, c.rect)
        ImageDraw.Draw(img).rectangle((c.x + 2, c.y + 2, c.x + c.w * 2 // 5, c.y + c.h - 3),
                                      fill=theme.ACCENT)
    elif c.kind == "spin":
        _field(img, c.rect)
        d = ImageDraw.Draw(img)
        cx, my = c.x + c.w // 2, c.y + c.h // 2
        d.polygon([(cx - 3, my - 3), (cx + 3, my - 3), (cx, my - 7)], fill=theme.TEXT_MUTED)
        d.polygon([(cx - 3, my + 3), (cx + 3, my + 3), (cx, my + 7)], fill=theme.TEXT_MUTED)
    elif c.kind == "picture":
        img.paste(video_picture.resize((c.w, c.h)), (c.x, c.y))


def _flatten(face, key):
    """Shows the transparent outside as a desktop would behind the window."""
    desk = draw.vertical_gradient(face.size, (92, 110, 130), (58, 70, 86))
    px = face.load()
    m = Image.new("L", face.size, 255)
    mp = m.load()
    for y in range(face.size[1]):
        for x in range(face.size[0]):
            if px[x, y] == key:
                mp[x, y] = 0
    desk.paste(face, (0, 0), m)
    return desk


def _pad(img, margin=16):
    out = draw.vertical_gradient((img.size[0] + 2 * margin, img.size[1] + 2 * margin),
                                 (92, 110, 130), (58, 70, 86))
    out.paste(img, (margin, margin))
    return out


def dialog_picture(d, art, page=None, video_picture=None, looks=None):
    """A dialog as it shows; `looks` gives some buttons another (identity, state)."""
    looks = looks or {}
    img = art.images[art.backgrounds[d.name]].copy()
    for c in d.controls:
        shown = c.visible if page is None else (c.page in (-1, page) and
                                                 (c.visible or c.page == page))
        if c.sym == "IDC_NO_RECENT_LABEL" or not shown:
            continue
        if page is not None and c.sym in TAB_OF_PAGE.values():
            _button(img, art, c, 0, "down" if c.sym == TAB_OF_PAGE[page] else "up")
            continue
        _control(img, art, c, video_picture, looks)
    return _pad(_flatten(img, d.key))


def _stretched(d, art, size):
    """The nine-part composite the engine builds for a stretch dialog."""
    src = art.images[art.backgrounds[d.name]]
    W, H = src.size
    L, R = d.stretch["LeftRegionOffset"], d.stretch["RightRegionOffset"]
    T, B = d.stretch["TopRegionOffset"], d.stretch["BottomRegionOffset"]
    X, Y = size
    out = Image.new("RGB", size)
    centre = src.crop((L + 1, T + 1, W - R, H - B))
    for ty in range(T, Y - B, centre.size[1]):
        for tx in range(L, X - R, centre.size[0]):
            out.paste(centre, (tx, ty))
    top, bottom = src.crop((L, 0, W - R, T)), src.crop((L, H - B, W - R, H))
    for tx in range(L, X - R, top.size[0]):
        out.paste(top, (tx, 0))
        out.paste(bottom, (tx, Y - B))
    left, right = src.crop((0, T, L, H - B)), src.crop((W - R, T, W, H - B))
    for ty in range(T, Y - B, left.size[1]):
        out.paste(left, (0, ty))
        out.paste(right, (X - R, ty))
    out.paste(src.crop((0, 0, L, T)), (0, 0))
    out.paste(src.crop((W - R, 0, W, T)), (X - R, 0))
    out.paste(src.crop((0, H - B, L, H)), (0, Y - B))
    out.paste(src.crop((W - R, H - B, W, H)), (X - R, Y - B))
    return out


def message_box_picture(d, art):
    img = _stretched(d, art, (360, 150))
    cap = d.control("IDC_QOR_MSG_CAPTION")
    draw.text(img, (cap.x, cap.y + cap.h // 2), "Marovin", "title", theme.TEXT, anchor="lm")
    draw.text(img, (19, 58), "The recording was stopped because the disk is full.", "normal",
              theme.TEXT, anchor="lm")
    draw.text(img, (19, 76), "Free some space and start again.", "normal", theme.TEXT, anchor="lm")
    btn = d.control("IDC_QOR_MSGBOX_BUTTON")
    for i, word in enumerate(("Yes", "No")):
        x = 360 - 14 - 2 * (btn.w + 5) + i * (btn.w + 5)
        moved = dataclasses.replace(btn, rect=(x, 150 - 14 - btn.h - 5, btn.w, btn.h),
                                    captions=(word,))
        _button(img, art, moved)
    return _pad(_flatten(img, d.key))


def menu_picture(d, art):
    img = _stretched(d, art, (180, 8 + 5 * 24 + 8))
    entry = d.control("IDC_QOR_MENU_ENTRY")
    files = art.templates.get(entry.template) or art.buttons[entry.sym]
    for i, (word, state) in enumerate((("  Capture", "up"), ("  Recording", "down"),
                                       ("  TV", "focus"), ("  Color", "up"),
                                       ("  Exit", "disabled"))):
        y = 8 + i * 24
        img.paste(art.images[files[(0, STATE_INDEX[state])]], (8, y))
        colour = theme.TEXT_DISABLED if state == "disabled" else theme.TEXT
        draw.text(img, (8 + 16, y + 11), word.strip(), "normal", colour, anchor="lm")
    return _pad(_flatten(img, d.key))


def write_all(out_dir, main, companions, msgbox, menu, art, idle):
    os.makedirs(out_dir, exist_ok=True)
    written = []
    for page in range(4):
        path = os.path.join(out_dir, f"main_page{page}.png")
        dialog_picture(main, art, page, idle).save(path)
        written.append(path)
    # A recording in progress: the record control's identity 1, a selected thumbnail,
    # a hovered and a disabled control.
    recording = {"IDC_RECORD": (1, "up"), "IDC_RECENT_1": (1, "up"), "IDC_PLAY": (1, "up"),
                 "IDC_MUTE": (1, "up"), "IDC_SNAPSHOT": (0, "focus"),
                 "IDC_OPEN_FILE": (0, "disabled"), "IDC_SEEK_START": (0, "disabled"),
                 "IDC_STEP_BACK": (0, "disabled"), "IDC_STEP_FORWARD": (0, "disabled"),
                 "IDC_SEEK_END": (0, "disabled"), "IDC_TAB_RECORDING": (0, "disabled"),
                 "IDC_TAB_TV": (0, "disabled"), "IDC_TAB_COLOR": (0, "disabled")}
    path = os.path.join(out_dir, "main_recording.png")
    dialog_picture(main, art, 0, idle, recording).save(path)
    written.append(path)
    for d in companions:
        path = os.path.join(out_dir, f"{d.file_stem}.png")
        dialog_picture(d, art, None, idle).save(path)
        written.append(path)
    for name, pic in (("msgbox", message_box_picture(msgbox, art)),
                      ("menu", menu_picture(menu, art))):
        path = os.path.join(out_dir, f"{name}.png")
        pic.save(path)
        written.append(path)
    return written
