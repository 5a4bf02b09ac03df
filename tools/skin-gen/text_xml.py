"""Writes the text file (Text1033.xml): captions, tooltips, fonts and colours of every
control, the message box texts and the numbered messages."""
import xml.etree.ElementTree as ET

import theme
from controls import KINDS
from messages import MESSAGES


def _font(parent, role):
    height, weight, face = theme.FONTS[role]
    f = ET.SubElement(parent, "QorFontInfo")
    for k, v in (("FontHeight", height), ("FontWidth", 0), ("FontEscapement", 0),
                 ("FontOrientation", 0), ("FontWeight", weight), ("FontItalic", 0),
                 ("FontUnderline", 0), ("FontStrikeOut", 0), ("FontCharSet", 0),
                 ("FontOutPrecision", 0), ("FontClipPrecision", 0),
                 ("FontQuality", 5), ("FontPitchAndFamily", 34), ("FaceName", face)):
        f.set(k, str(v))


def _c(rgb):
    return str(theme.colorref(rgb))


def _button_text(el, c):
    captions = list(c.captions) + [""] * 4
    tips = list(c.tooltips) + [""] * 4
    # Captions and tooltips of identities without their own repeat identity 0's.
    for i, suffix in enumerate(("", "1", "2", "3")):
        el.set("Caption" + suffix, captions[i] if i < len(c.captions) else captions[0])
        el.set("ToolTipText" + suffix, tips[i] if i < len(c.tooltips) and tips[i] else tips[0])
    el.set("UseTemplate", "")
    centred = c.align == "center"
    el.set("CenterTextHorizontally", "1" if centred else "0")
    el.set("CenterTextVertically", "1")
    # Left-aligned captions leave room for a mark; a menu entry's two leading blanks do that.
    x = 0 if centred else (10 if c.look == "menuentry" else 24)
    for state, dx, dy in (("Up", 0, 0), ("Down", 0, 1), ("Focus", 0, 0), ("Disabled", 0, 0)):
        el.set(f"Xoffset{state}", str(x + (dx if c.kind == "button" else 0)))
        el.set(f"Yoffset{state}", str(dy if c.kind == "button" else 0))
    for k in ("ThreeD", "Indented", "UseHilite", "UseShadow"):
        el.set(k, "0")
    on_accent = c.look == "accent"
    main = theme.FIELD if on_accent else (c.colour or theme.TEXT)
    down = theme.TEXT if on_accent else theme.ACCENT if c.kind == "button" else main
    for prefix, colour in (("", main), ("Down", down), ("Focus", main),
                           ("Disabled", theme.TEXT_DISABLED)):
        el.set(f"{prefix}TextColor1", _c(colour))
        el.set(f"{prefix}TextColor2", _c(theme.OUTSIDE))
        el.set(f"{prefix}TextColor3", _c(theme.TEXT))


def _static_text(el, c):
    el.set("Caption", c.captions[0])
    el.set("ToolTipText", c.tooltips[0])
    el.set("UseTemplate", "")
    el.set("CenterTextHorizontally", "1" if c.align == "center" else "0")
    el.set("CenterTextVertically", "1" if "\n" not in c.sample and c.h <= 30 else "0")
    el.set("Xoffset", "0")
    el.set("Yoffset", "0")
    for k in ("ThreeD", "Indented", "UseHilite", "UseShadow"):
        el.set(k, "0")
    el.set("TextColor1", _c(c.colour or theme.TEXT))
    el.set("TextColor2", _c(theme.OUTSIDE))
    el.set("TextColor3", _c(theme.TEXT))
    for i in (1, 2, 3):
        el.set(f"DisabledTextColor{i}", _c(theme.TEXT_DISABLED))


def _control(parent, c):
    if c.kind == "picture":
        return
    tag = KINDS[c.kind][2]
    el = ET.SubElement(parent, tag)
    el.set("ControlId", str(c.id))
    el.set("ControlName", c.sym)
    if tag == "QorBtnControl":
        _button_text(el, c)
    elif tag == "QorTransparentStaticControl":
        _static_text(el, c)
    elif tag == "QorEditControl":
        centred = "ES_CENTER" in c.style
        el.set("Allignment", "2" if centred else "0")
        el.set("CenterTextHorizontally", "1" if centred else "0")
        el.set("CenterTextVertically", "1")
        el.set("TextColor", _c(c.colour or theme.TEXT))
        el.set("DisabledTextColor", _c(theme.TEXT_DISABLED))
        el.set("BackgroundColor", _c(c.background or theme.FIELD))
        el.set("ToolTipText", c.tooltips[0])
    else:
        el.set("Caption", c.captions[0])
        el.set("TextColor1", _c(theme.SYS_TEXT))
        if tag == "QorGenericControlWithTextInfo":
            el.set("BackgroundColor", _c(theme.SYS_FIELD))
        el.set("ToolTipText", c.tooltips[0])
    _font(el, c.font)


def _message_box(root, msgbox):
    el = ET.SubElement(root, "QorDlg")
    el.set("DlgName", "QorMessageDlg")
    el.set("DlgIdValue", str(msgbox.id))
    for key, caption in (("OK", "OK"), ("CANCEL", "Cancel"), ("ABORT", "Abort"),
                         ("RETRY", "Retry"), ("IGNORE", "Ignore"), ("YES", "Yes"), ("NO", "No")):
        el.set(f"ID_{key}_Caption", caption)
    el.set("MessageTextColor", _c(theme.TEXT))
    el.set("CaptionTextColor", _c(theme.TEXT))
    _font(el, "normal")
    for c in msgbox.controls:
        _control(el, c)


def write(path, dialogs, message_box):
    root = ET.Element("QorAppText")
    for d in dialogs:
        el = ET.SubElement(root, "QorDlg")
        el.set("DlgName", d.name)
        el.set("DlgIdValue", str(d.id))
        for c in d.controls:
            _control(el, c)
    _message_box(root, message_box)
    msgs = ET.SubElement(root, "QorAppMessages")
    for mid, text in sorted(MESSAGES.items()):
        m = ET.SubElement(msgs, "QorMessage")
        m.set("MessageId", str(mid))
        m.set("Text", text)
    templates = ET.SubElement(root, "QorTemplates")
    for tag in ("QorButtonTemplates", "TransparentStaticTemplates", "QorEditTemplates"):
        ET.SubElement(templates, tag)
    ET.indent(root)
    ET.ElementTree(root).write(path, encoding="utf-8", xml_declaration=True)
