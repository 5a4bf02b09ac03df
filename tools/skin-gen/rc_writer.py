"""Writes the dialog templates (app/resources/Dialogs.rc) from the layouts. The skin
places and sizes every control; the template positions are the same layout in dialog
units so that the unskinned dialogs are usable too."""
from controls import KINDS

HEADER = """// Dialog templates of Marovin's skinned windows, written by tools/skin-gen from the same
// layouts as the skin (skins/Skin). Change the layouts there and run the generator.
#include <windows.h>
#include <commctrl.h>
#include "ControlIds.h"

"""

# Dialog units of "MS Shell Dlg" 8: 4 horizontal units per 6 pixels, 8 vertical per 13.
def _du(px, vertical=False):
    return round(px * 8 / 13) if vertical else round(px * 4 / 6)


def _quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '""') + '"'


def _styles(c):
    hidden = "" if c.visible else " | NOT WS_VISIBLE"
    kind = c.kind
    if kind == "button":
        return "BS_PUSHBUTTON | WS_TABSTOP" + hidden
    if kind == "check":
        return "BS_AUTOCHECKBOX | WS_TABSTOP" + hidden
    if kind == "radio":
        return "BS_AUTORADIOBUTTON | WS_TABSTOP" + hidden
    if kind == "static":
        return "SS_LEFT | SS_NOTIFY" + hidden
    if kind == "picture":
        return "SS_BITMAP | SS_CENTERIMAGE" + hidden
    if kind == "edit":
        extra = " | " + c.style if c.style else ""
        return "ES_AUTOHSCROLL | WS_TABSTOP" + extra + hidden
    if kind in ("slider", "gslider"):
        return "TBS_NOTICKS | TBS_BOTH | WS_TABSTOP" + hidden  # horizontal is style 0
    if kind == "combo":
        editable = c.sym == "IDC_CHANNEL_NAME"
        return ("CBS_DROPDOWN" if editable else "CBS_DROPDOWNLIST") + \
            " | WS_VSCROLL | WS_TABSTOP" + hidden
    if kind == "list":
        return "LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP" + hidden
    if kind == "progress":
        return "PBS_SMOOTH" + hidden
    if kind == "spin":
        return "UDS_ARROWKEYS | UDS_NOTHOUSANDS" + hidden
    if kind == "placement":
        return "BS_PUSHBUTTON | NOT WS_VISIBLE | WS_DISABLED"
    raise ValueError(kind)


def _dialog(d, main):
    w, h = d.size
    style = "DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_SYSMENU"
    if main:
        style += " | WS_MINIMIZEBOX"
    lines = [f"{d.sym} DIALOGEX 0, 0, {_du(w)}, {_du(h, True)}",
             f"STYLE {style}",
             f"CAPTION {_quote(d.caption)}",
             'FONT 8, "MS Shell Dlg", 400, 0, 0x1',
             "BEGIN"]
    for c in d.controls:
        cls = KINDS[c.kind][0]
        text = c.captions[0] if c.kind in ("button", "check", "radio", "static") else ""
        x, y, cw, ch = c.rect
        lines.append(f"    CONTROL {_quote(text)}, {c.sym}, {_quote(cls)}, {_styles(c)}, "
                     f"{_du(x)}, {_du(y, True)}, {_du(cw)}, {_du(ch, True)}")
    lines.append("END")
    return "\n".join(lines) + "\n"


def write(path, dialogs):
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(HEADER)
        for d in dialogs:
            f.write(_dialog(d, d.name == "MainDialog"))
            f.write("\n")
