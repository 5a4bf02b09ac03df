"""Renders every bitmap of the skin and remembers the file names the writers need."""
import os

from PIL import Image

import backgrounds
import draw
import faces
import theme

STATE_INDEX = {s: i for i, s in enumerate(faces.STATES)}


class Art:
    """File names (relative to the skin folder, with backslashes as the engine stores
    them) of the rendered bitmaps, and the images themselves for the previews."""

    def __init__(self, out_dir):
        self.out_dir = out_dir
        self.backgrounds = {}     # dialog name -> file
        self.buttons = {}         # control sym -> {(identity, state index): file}
        self.templates = {}       # template name -> {(identity, state index): file}
        self.sliders = {}         # control sym -> {"channel", "left", state: file}
        self.images = {}          # file -> image

    def save(self, rel, img):
        path = os.path.join(self.out_dir, *rel.split("\\"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if rel.endswith(".ico"):
            img.save(path, format="ICO", sizes=[(32, 32), (16, 16)])
        else:
            draw.save_bmp(img, path)
        self.images[rel] = img.convert("RGB") if img.mode == "P" else img
        return rel


def _underlay(face, c, flat):
    """What lies under a button: the face itself, or for the stretched library dialogs,
    whose buttons move about, their flat centre colour."""
    if flat:
        return Image.new("RGB", (c.w, c.h), theme.PANEL)
    return face.crop((c.x, c.y, c.x + c.w, c.y + c.h))


def _button_set(art, folder, stem, bitmaps):
    files = {}
    for (identity, state), img in bitmaps.items():
        files[(identity, STATE_INDEX[state])] = art.save(
            f"{folder}\\{stem}_{identity}_{state}.bmp", img)
    return files


def _slider(art, folder, c, face):
    colour = face.getpixel((c.x + c.w // 2, c.y + 1))
    chan, left, thumbs = faces.slider_bitmaps(c.w, c.h, colour)
    stem = c.sym.lower().replace("idc_", "")
    entry = {"channel": art.save(f"{folder}\\{stem}_channel.bmp", chan),
             "left": art.save(f"{folder}\\{stem}_filled.bmp", left)}
    for state, img in thumbs.items():
        entry[state] = art.save(f"{folder}\\{stem}_thumb_{state}.bmp", img)
    art.sliders[c.sym] = entry


def render_dialog(art, d):
    folder = d.file_stem if d.name == "MainDialog" else "dialogs"
    if d.stretch:
        face = backgrounds.stretch_face(d)
    elif d.name == "MainDialog":
        face = backgrounds.main_face(d)
    else:
        face = backgrounds.companion_face(d)
    # Faces are stored with a palette; the controls' bitmaps are cut from the same colours.
    palette_face = draw.to_palette(face, d.key)
    face = palette_face.convert("RGB")
    name = "background" if d.name == "MainDialog" else d.file_stem
    art.backgrounds[d.name] = art.save(f"{folder}\\{name}.bmp", palette_face)
    for c in d.controls:
        if c.kind in ("button", "check", "radio"):
            if c.template:
                if c.template not in art.templates:
                    art.templates[c.template] = _button_set(
                        art, "common", c.template.lower(),
                        faces.button_bitmaps(c, _underlay(face, c, bool(d.stretch))))
            else:
                stem = f"{d.file_stem}_{c.sym.lower().replace('idc_', '')}"
                art.buttons[c.sym] = _button_set(
                    art, folder, stem, faces.button_bitmaps(c, _underlay(face, c, bool(d.stretch))))
        elif c.kind == "slider":
            _slider(art, folder, c, face)
    return face


def render_aux(art, main):
    vw, vh = main.control("IDC_VIDEO_AREA").rect[2:]
    makers = {1: lambda: draw.to_palette(backgrounds.idle_picture((vw, vh)), smooth=True),
              2: backgrounds.launcher_icon,
              3: lambda: draw.to_palette(backgrounds.preview_disabled((vw, vh)), smooth=True),
              4: lambda: faces.placeholder_thumbnail((78, 63))}
    for entry_id, _, rel in main.aux:
        art.save(rel, makers[entry_id]())
    # Icon used for a dropped program without one of its own.
    art.save("shortcut.ico", backgrounds.launcher_icon())

