#!/usr/bin/python3
"""Builds the Marovin skin: bitmaps, Graphics1033.xml and Text1033.xml in skins/Skin, the
dialog templates in app/resources/Dialogs.rc, the screenshot test's sample texts and, on
request, review pictures.

    tools/skin-gen/gen_skin.py [--preview DIR]

Needs Python 3 with Pillow (Debian: python3-pil). Run from anywhere; paths are taken
relative to the repository."""
import argparse
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import bitmaps  # noqa: E402
import ids  # noqa: E402
import layout_dialogs  # noqa: E402
import layout_main  # noqa: E402
import preview  # noqa: E402
import rc_writer  # noqa: E402
import samples  # noqa: E402
import skin_xml  # noqa: E402
import text_xml  # noqa: E402

SKIN_DIR = os.path.join(ROOT, "skins", "Skin")
HEADERS = (os.path.join(ROOT, "app", "resources", "ControlIds.h"),
           os.path.join(ROOT, "skin", "resources", "SkeldaDialogIds.h"))


def _resolve(dialogs, names):
    for d in dialogs:
        d.id = names[d.sym]
        for c in d.controls:
            if c.sym not in names:
                raise SystemExit(f"{d.name}: {c.sym} is not defined in the id headers")
            c.id = names[c.sym]


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", help="folder for review pictures (PNG)")
    args = ap.parse_args()

    names = ids.read_defines(*HEADERS)
    main_dlg = layout_main.main_dialog()
    companions = layout_dialogs.companions()
    msgbox = layout_dialogs.message_box()
    menu = layout_dialogs.menu()
    app_dialogs = [main_dlg] + companions
    _resolve(app_dialogs + [msgbox, menu], names)

    # Start from an empty folder so that no stale bitmap survives a layout change.
    for sub in ("main", "dialogs", "common"):
        shutil.rmtree(os.path.join(SKIN_DIR, sub), ignore_errors=True)
    art = bitmaps.Art(SKIN_DIR)
    for d in app_dialogs + [msgbox, menu]:
        bitmaps.render_dialog(art, d)
    bitmaps.render_aux(art, main_dlg)

    skin_xml.write(os.path.join(SKIN_DIR, "Graphics1033.xml"), app_dialogs + [menu], msgbox,
                   art, names)
    text_xml.write(os.path.join(SKIN_DIR, "Text1033.xml"), app_dialogs + [menu], msgbox)
    rc_writer.write(os.path.join(ROOT, "app", "resources", "Dialogs.rc"), app_dialogs)
    samples.write(os.path.join(ROOT, "tests", "skin", "dialog_samples.txt"), app_dialogs)

    if args.preview:
        idle = art.images[main_dlg.aux[0][2]]
        for path in preview.write_all(args.preview, main_dlg, companions, msgbox, menu, art,
                                      idle):
            print(path)


if __name__ == "__main__":
    main()
