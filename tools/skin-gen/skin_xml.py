"""Writes the skin graphics file (Graphics1033.xml)."""
import xml.etree.ElementTree as ET

import theme
from controls import GENERIC_TYPES, KINDS

STATE_ATTRS = ("ControlUpBitmapFile", "ControlDownBitmapFile", "ControlFocusBitmapFile",
               "ControlDisabledBitmapFile")


def bitmap_attrs(files):
    """The sixteen button bitmap attributes from {(identity, state index): file}."""
    attrs = {}
    for (identity, state), path in sorted(files.items()):
        suffix = "" if identity == 0 else str(identity)
        attrs[STATE_ATTRS[state] + suffix] = path
    return attrs


def _common(el, c):
    el.set("ControlIdValue", str(c.id))
    el.set("ControlName", c.sym)
    el.set("ControlXOffset", str(c.x))
    el.set("ControlYOffset", str(c.y))
    el.set("ControlIsVisible", "1" if c.visible else "0")


def _control(parent, c, art, ids):
    tag = KINDS[c.kind][1]
    if c.kind == "picture":
        return  # placed by its placement control
    el = ET.SubElement(parent, tag)
    _common(el, c)
    if tag == "QorBtnControl":
        el.set("GraphicsTemplate", c.template)
        if not c.template:
            for k, v in bitmap_attrs(art.buttons[c.sym]).items():
                el.set(k, v)
        if c.look == "menuentry":
            el.set("TransparentRadioHeight", str(c.h))
            el.set("TransparentRadioWidth", str(c.w))
            el.set("TransparentRadioBtnLeftJustified", "1")
            el.set("TransparentRadioTextLeftJustified", "1")
    elif tag == "QorTransStaticControl":
        el.set("ControlWidth", str(c.w))
        el.set("ControlHeight", str(c.h))
        el.set("TextColor", str(theme.colorref(c.colour or theme.TEXT)))
        el.set("GraphicsTemplate", "")
    elif tag == "QorEditControl":
        el.set("BackgroundStyle", "0")
        el.set("BackgroundColor", str(theme.colorref(c.background or theme.FIELD)))
        el.set("BackgroundBitmapFile", "")
        el.set("Width", str(c.w))
        el.set("Height", str(c.h))
        el.set("DrawBorder", "1")
    elif tag == "QorSliderControl":
        s = art.sliders[c.sym]
        el.set("ControlWidth", str(c.w))
        el.set("ControlHeight", str(c.h))
        for state, attr in zip(("up", "down", "focus", "disabled"),
                               ("ThumbUpBitmapFile", "ThumbDownBitmapFile",
                                "ThumbFocusBitmapFile", "ThumbDisabledBitmapFile")):
            el.set(attr, s[state])
        el.set("ThumbShadowBitmapFile", "")
        el.set("BackgroundBitmapFile", s["channel"])
        el.set("BackgroundLeftBitmapFile", s["left"])
        el.set("ThumbShadowLeftOffset", "0")
        el.set("ThumbShadowRightOffset", "0")
        el.set("ThumbTopOffset", "0")
        el.set("PositionToHitPoint", "1")
    else:
        el.set("ControlType", GENERIC_TYPES[c.kind])
        el.set("ControlIdName", c.sym)
        el.set("ControlWidth", str(c.w))
        el.set("ControlHeight", str(c.h))
        if c.kind == "placement":
            el.set("ChildControlId", "NONE" if c.child == "NONE" else str(ids[c.child]))


def _dialog(parent, tag, d, art, ids):
    el = ET.SubElement(parent, tag)
    el.set("DlgName", d.name)
    el.set("DlgIdValue", str(d.id))
    el.set("DlgBitmapFile", art.backgrounds[d.name])
    for k, v in (d.extra_attrs or {}).items():
        el.set(k, str(v))
    for c in d.controls:
        _control(el, c, art, ids)
    if d.stretch:
        st = ET.SubElement(el, "QorStretchDlgData")
        for k, v in d.stretch.items():
            st.set(k, str(v))
    for entry_id, name, path in d.aux:
        aux = ET.SubElement(el, "QorAuxBitmapFilename")
        aux.set("BitmapFile", path)
        aux.set("EntryId", str(entry_id))
        aux.set("EntryName", name)


def write(path, dialogs, message_box, art, ids):
    root = ET.Element("QorAppGraphics")
    for d in dialogs:
        _dialog(root, "QorDlg", d, art, ids)
    _dialog(root, "QorMessageDlg", message_box, art, ids)
    templates = ET.SubElement(ET.SubElement(root, "QorTemplates"), "QorButtonTemplates")
    for name, files in sorted(art.templates.items()):
        t = ET.SubElement(templates, "QorButtonTemplate")
        t.set("TemplateName", name)
        for k, v in bitmap_attrs(files).items():
            t.set(k, v)
    ET.indent(root)
    ET.ElementTree(root).write(path, encoding="utf-8", xml_declaration=True)
