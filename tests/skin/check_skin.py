#!/usr/bin/env python3
"""Holds the dialog templates, the skin graphics file, the text file and the program's
list of message ids against each other, and checks every bitmap the skin names.

    check_skin.py REPO_ROOT [SKIN_DIR]

Prints one line per fault and exits 1 when there is any."""
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import rcparse  # noqa: E402

STANDARD_IDS = {"IDOK": 1, "IDCANCEL": 2, "IDABORT": 3, "IDRETRY": 4, "IDIGNORE": 5,
                "IDYES": 6, "IDNO": 7, "IDC_STATIC": -1}
SKIN_CONTROL_TAGS = ("QorBtnControl", "QorTransStaticControl", "QorSliderControl",
                     "QorEditControl", "QorGenericControl")
# Window class of a template control -> (skin element, generic type, text element) it may use.
ALLOWED = {
    "Button": {("QorBtnControl", None, "QorBtnControl"),
               ("QorGenericControl", "GenericPlacementControl", "QorGenericControlSimple")},
    "Static": {("QorTransStaticControl", None, "QorTransparentStaticControl"),
               ("QorGenericControl", "GenericPlacementControl", "QorGenericControlSimple")},
    "Edit": {("QorEditControl", None, "QorEditControl")},
    "msctls_trackbar32": {("QorSliderControl", None, "QorSliderControl"),
                          ("QorGenericControl", "GenericSlider", "QorGenericControlSimple")},
    "ComboBox": {("QorGenericControl", "GenericComboBox", "QorGenericControlWithTextInfo")},
    "SysListView32": {("QorGenericControl", "GenericListControl",
                       "QorGenericControlWithTextInfo")},
    "msctls_progress32": {("QorGenericControl", "GenericProgressBar", "QorGenericControlSimple")},
    "msctls_updown32": {("QorGenericControl", "GenericSpinButton", "QorGenericControlSimple")},
}
# What the text library reads, in order, before a control's text settings count as loaded.
BUTTON_TEXT_ATTRS = ("CenterTextHorizontally", "CenterTextVertically", "XoffsetUp", "YoffsetUp",
                     "XoffsetDown", "YoffsetDown", "XoffsetFocus", "YoffsetFocus",
                     "XoffsetDisabled", "YoffsetDisabled", "TextColor1", "TextColor2",
                     "TextColor3", "DisabledTextColor1", "DisabledTextColor2",
                     "DisabledTextColor3", "ThreeD", "Indented", "UseHilite", "UseShadow")
STATIC_TEXT_ATTRS = ("CenterTextHorizontally", "CenterTextVertically", "Xoffset", "Yoffset",
                     "TextColor1", "TextColor2", "TextColor3", "DisabledTextColor1",
                     "DisabledTextColor2", "DisabledTextColor3", "ThreeD", "Indented",
                     "UseHilite", "UseShadow")
FONT_ATTRS = ("FontHeight", "FontWidth", "FontEscapement", "FontOrientation", "FontWeight",
              "FontItalic", "FontUnderline", "FontStrikeOut", "FontCharSet", "FontOutPrecision",
              "FontClipPrecision", "FontQuality", "FontPitchAndFamily", "FaceName")
MSGBOX_ATTRS = ("ID_OK_Caption", "ID_CANCEL_Caption", "ID_ABORT_Caption", "ID_RETRY_Caption",
                "ID_IGNORE_Caption", "ID_YES_Caption", "ID_NO_Caption", "MessageTextColor",
                "CaptionTextColor")
MENU_ATTRS = ("LeftOffset", "TopOffset", "RightOffset", "BottomOffset", "SpaceBetween",
              "MarkSelection")
STRETCH_ATTRS = ("AllowHorzStretching", "AllowVertStretching", "BeginningWidth",
                 "BeginningHeight", "MinimumWidth", "MaximumWidth", "MinimumHeight",
                 "MaximumHeight", "LeftRegionOffset", "RightRegionOffset", "TopRegionOffset",
                 "BottomRegionOffset")
STATES = ("ControlUpBitmapFile", "ControlDownBitmapFile", "ControlFocusBitmapFile",
          "ControlDisabledBitmapFile")
SHARED_ENTRY = 50           # message box buttons and menu entries share this element
MENU_ID, MSGBOX_ID, MSG_CAPTION = 98, 99, 1099
APP_KEY = (255, 0, 0)       # dialogs of the program pass transparent colour 255
LIB_KEY = (0, 0, 255)       # the library's message box uses 0xFF0000
PRINTF = re.compile(r"%(?:%|[-+#0]*\d*(?:\.\d+)?(?:l|h|I64)?[diouxXsScfeEgGp])")


class Report:
    def __init__(self):
        self.faults = []

    def __call__(self, text):
        self.faults.append(text)


def read_defines(paths):
    names = dict(STANDARD_IDS)
    for path in paths:
        with open(path, encoding="ascii") as f:
            for line in f:
                m = re.match(r"\s*#define\s+(\w+)\s+(-?\d+)\b", line)
                if m:
                    names[m.group(1)] = int(m.group(2))
    return names


def read_bmp(path):
    """(width, height, pixel reader) of an uncompressed BMP (8-bit with a palette, 24- or
    32-bit), or raises ValueError."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    size, offset = struct.unpack_from("<I", data, 2)[0], struct.unpack_from("<I", data, 10)[0]
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    if size != len(data):
        raise ValueError(f"header says {size} bytes, file has {len(data)}")
    if hsize < 40 or planes != 1 or comp != 0 or bpp not in (8, 24, 32) or w <= 0 or h == 0:
        raise ValueError(f"unsupported BMP (header {hsize}, bpp {bpp}, compression {comp})")
    palette = []
    if bpp == 8:
        used = struct.unpack_from("<I", data, 46)[0] or 256
        start = 14 + hsize
        if used > 256 or start + 4 * used > offset:
            raise ValueError(f"palette of {used} colours does not fit before the pixels")
        palette = [(data[i + 2], data[i + 1], data[i]) for i in range(start, start + 4 * used, 4)]
    stride = (w * bpp // 8 + 3) & ~3
    if offset + stride * abs(h) > len(data):
        raise ValueError("pixel data is truncated")
    if bpp == 8 and max(data[offset:offset + stride * abs(h)]) >= len(palette):
        raise ValueError("a pixel indexes past the palette")

    def pixel(x, y):
        row = abs(h) - 1 - y if h > 0 else y
        i = offset + row * stride + x * (bpp // 8)
        if bpp == 8:
            return palette[data[i]]
        b, g, r = data[i], data[i + 1], data[i + 2]
        return (r, g, b)
    return w, abs(h), pixel


def read_ico(path):
    with open(path, "rb") as f:
        head = f.read(6)
    if len(head) < 6 or struct.unpack("<HHH", head)[:2] != (0, 1):
        raise ValueError("not an icon file")


class Skin:
    def __init__(self, skin_dir, report):
        self.dir = skin_dir
        self.report = report
        self.bitmaps = {}

    def path(self, rel):
        return os.path.join(self.dir, *rel.split("\\"))

    def bitmap(self, rel, where):
        """Size of a skin bitmap; reports a missing or broken file once."""
        if rel in self.bitmaps:
            return self.bitmaps[rel]
        result = None
        path = self.path(rel)
        if not os.path.isfile(path):
            self.report(f"{where}: bitmap {rel} does not exist")
        else:
            try:
                if rel.lower().endswith(".ico"):
                    read_ico(path)
                else:
                    result = read_bmp(path)
            except (ValueError, struct.error) as e:
                self.report(f"{where}: bitmap {rel} does not load: {e}")
        self.bitmaps[rel] = result
        return result


def find_control(dlg, cid):
    for tag in SKIN_CONTROL_TAGS:
        for el in dlg.findall(tag):
            if el.get("ControlIdValue") == str(cid):
                return el
    return None


def text_control(dlg, cid):
    for el in dlg:
        if el.get("ControlId") == str(cid):
            return el
    return None


def check_font(el, where, report):
    font = el.find("QorFontInfo")
    if font is None:
        report(f"{where}: no QorFontInfo")
        return
    for a in FONT_ATTRS:
        if font.get(a) in (None, ""):
            report(f"{where}: font attribute {a} missing")
    if len(font.get("FaceName", "")) > 31:
        report(f"{where}: face name longer than 31 characters")


def check_colours(root, report, what):
    for el in root.iter():
        for k, v in el.attrib.items():
            if "Color" in k:
                if not re.fullmatch(r"\d+", v) or int(v) > 0xFFFFFF:
                    report(f"{what}: {el.tag} {k}={v!r} is not a COLORREF")


def check_button_bitmaps(el, files, dlg_where, skin, bg_size):
    """All state bitmaps of a button share the Up bitmap's size, which must fit the face."""
    where = f"{dlg_where} control {el.get('ControlIdValue')}"
    up = files.get("ControlUpBitmapFile")
    if not up:
        skin.report(f"{where}: no Up bitmap")
        return None
    primary = skin.bitmap(up, where)
    for attr, rel in files.items():
        info = skin.bitmap(rel, where)
        if info and primary and info[:2] != primary[:2]:
            skin.report(f"{where}: {attr} is {info[0]}x{info[1]}, the Up bitmap "
                        f"{primary[0]}x{primary[1]}")
    if primary and bg_size and el.get("ControlIdValue") != str(SHARED_ENTRY):
        x, y = int(el.get("ControlXOffset", 0)), int(el.get("ControlYOffset", 0))
        if x < 0 or y < 0 or x + primary[0] > bg_size[0] or y + primary[1] > bg_size[1]:
            skin.report(f"{where}: button at ({x},{y}) size {primary[0]}x{primary[1]} "
                        f"leaves the {bg_size[0]}x{bg_size[1]} face")
    return primary


def button_files(el, templates):
    source = el
    name = el.get("GraphicsTemplate", "")
    if name and name in templates:
        source = templates[name]
    files = {}
    for suffix in ("", "1", "2", "3"):
        for s in STATES:
            v = source.get(s + suffix, "")
            if v:
                files[s + suffix] = v
    return files


def inside_shape(pixel, key, x, y, w, h):
    return all(pixel(px, py) != key for px, py in
               ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1)))


class Checker:
    def __init__(self, root, skin_dir):
        self.root = root
        self.report = Report()
        self.skin = Skin(skin_dir, self.report)
        res = os.path.join(root, "app", "resources")
        lib = os.path.join(root, "skin", "resources")
        self.names = read_defines([os.path.join(res, "ControlIds.h"),
                                   os.path.join(lib, "SkeldaDialogIds.h")])
        self.templates = rcparse.parse(os.path.join(res, "Dialogs.rc"), self.names)
        self.library = rcparse.parse(os.path.join(lib, "SkeldaDialogs.rc"), self.names)
        self.graphics = self._load_xml(os.path.join(skin_dir, "Graphics1033.xml"))
        self.text = self._load_xml(os.path.join(skin_dir, "Text1033.xml"))

    def _load_xml(self, path):
        try:
            return ET.parse(path).getroot()
        except (OSError, ET.ParseError) as e:
            self.report(f"{path}: {e}")
            return None

    def run(self):
        if self.graphics is None or self.text is None:
            return self.report.faults
        self.skin_templates = {t.get("TemplateName"): t for t in
                               self.graphics.findall("QorTemplates/QorButtonTemplates/"
                                                     "QorButtonTemplate")}
        self.check_templates_named()
        for did, controls in self.templates.items():
            self.check_dialog(did, controls)
        self.check_message_box()
        self.check_menu()
        self.check_messages()
        check_colours(self.graphics, self.report, "Graphics1033.xml")
        check_colours(self.text, self.report, "Text1033.xml")
        return self.report.faults

    def check_templates_named(self):
        for el in self.graphics.iter("QorBtnControl"):
            name = el.get("GraphicsTemplate", "")
            if name and name not in self.skin_templates:
                self.report(f"button {el.get('ControlIdValue')}: template {name} is missing")

    def _skin_dialog(self, did):
        found = [d for d in self.graphics.findall("QorDlg") if d.get("DlgIdValue") == str(did)]
        if not found:
            self.report(f"dialog {did}: no QorDlg in Graphics1033.xml")
            return None
        names = [d.get("DlgName") for d in self.graphics.findall("QorDlg")]
        if names.count(found[0].get("DlgName")) > 1:
            self.report(f"dialog {did}: DlgName {found[0].get('DlgName')} is not unique")
        return found[0]

    def _text_dialog(self, did):
        for d in self.text.findall("QorDlg"):
            if d.get("DlgIdValue") == str(did):
                return d
        self.report(f"dialog {did}: no QorDlg in Text1033.xml")
        return None

    def _background(self, dlg, where, key):
        rel = dlg.get("DlgBitmapFile", "")
        if not rel:
            self.report(f"{where}: no DlgBitmapFile")
            return None
        info = self.skin.bitmap(rel, where)
        if info:
            w, h, pixel = info
            if pixel(0, 0) != key or pixel(w - 1, h - 1) != key:
                self.report(f"{where}: background corners are not the transparent colour, "
                            "the window would have no shaped outline")
            if pixel(w // 2, h // 2) == key:
                self.report(f"{where}: background centre is transparent")
        return info

    def check_dialog(self, did, controls):
        where = f"dialog {did}"
        dlg = self._skin_dialog(did)
        tdlg = self._text_dialog(did)
        if dlg is None:
            return
        where = f"dialog {did} ({dlg.get('DlgName')})"
        bg = self._background(dlg, where, APP_KEY)
        children = {el.get("ChildControlId") for el in dlg.findall("QorGenericControl")}
        for cid, cls, style, _ in controls:
            if cid == -1 or str(cid) in children:
                continue
            cwhere = f"{where} control {cid}"
            el = find_control(dlg, cid)
            tel = text_control(tdlg, cid) if tdlg is not None else None
            if el is None:
                self.report(f"{cwhere}: no skin element")
            if tel is None:
                self.report(f"{cwhere}: no text entry")
            if el is None or tel is None:
                continue
            kind = (el.tag, el.get("ControlType"), tel.tag)
            if kind not in ALLOWED.get(cls, set()):
                self.report(f"{cwhere}: a {cls} template control has skin {el.tag} "
                            f"{el.get('ControlType') or ''} and text {tel.tag}")
                continue
            self.check_control(el, tel, cwhere, bg)
        self.check_aux(dlg, where)

    def check_control(self, el, tel, where, bg):
        bg_size = bg[:2] if bg else None
        if el.tag == "QorBtnControl":
            check_button_bitmaps(el, button_files(el, self.skin_templates), where, self.skin,
                                 bg_size)
            missing = [a for a in BUTTON_TEXT_ATTRS if tel.get(a) in (None, "")]
            if missing:
                self.report(f"{where}: text settings missing: {', '.join(missing)}")
            if not tel.get("Caption") and not tel.get("ToolTipText"):
                self.report(f"{where}: a button with neither caption nor tooltip")
        elif el.tag == "QorTransStaticControl":
            missing = [a for a in STATIC_TEXT_ATTRS if tel.get(a) in (None, "")]
            if missing:
                self.report(f"{where}: text settings missing: {', '.join(missing)}")
            self._fits(el, "ControlWidth", "ControlHeight", where, bg)
        elif el.tag == "QorSliderControl":
            self.check_slider(el, where)
            self._fits(el, "ControlWidth", "ControlHeight", where, bg)
        elif el.tag == "QorEditControl":
            self._fits(el, "Width", "Height", where, bg)
        else:
            self._fits(el, "ControlWidth", "ControlHeight", where, bg, check_height=False)
        check_font(tel, where, self.report)

    def _fits(self, el, wattr, hattr, where, bg, check_height=True):
        """A control lies inside the dialog's shape (a combo box's height is its drop-down
        list's, so only its top edge is held to the face)."""
        try:
            x, y = int(el.get("ControlXOffset")), int(el.get("ControlYOffset"))
            w, h = int(el.get(wattr)), int(el.get(hattr))
        except (TypeError, ValueError):
            self.report(f"{where}: position or size ({wattr}, {hattr}) missing")
            return
        if not bg or el.get("ControlIsVisible") == "0" and w <= 0:
            return
        bw, bh, pixel = bg
        if not check_height:
            h = min(h, 22)
        if x < 0 or y < 0 or x + w > bw or y + h > bh:
            self.report(f"{where}: ({x},{y}) {w}x{h} leaves the {bw}x{bh} face")
        elif not inside_shape(pixel, APP_KEY, x, y, w, h):
            self.report(f"{where}: ({x},{y}) {w}x{h} reaches outside the window's shape")

    def check_slider(self, el, where):
        chan = self.skin.bitmap(el.get("BackgroundBitmapFile", ""), where) \
            if el.get("BackgroundBitmapFile") else None
        if not chan:
            self.report(f"{where}: slider without a channel bitmap")
            return
        want = (int(el.get("ControlWidth", 0)), int(el.get("ControlHeight", 0)))
        if chan[:2] != want:
            self.report(f"{where}: channel bitmap {chan[0]}x{chan[1]}, slider {want[0]}x{want[1]}")
        left = el.get("BackgroundLeftBitmapFile")
        if left:
            info = self.skin.bitmap(left, where)
            if info and info[:2] != chan[:2]:
                self.report(f"{where}: filled channel differs in size from the channel")
        for a in ("ThumbUpBitmapFile", "ThumbDownBitmapFile", "ThumbFocusBitmapFile",
                  "ThumbDisabledBitmapFile"):
            rel = el.get(a)
            if not rel:
                self.report(f"{where}: {a} missing")
                continue
            info = self.skin.bitmap(rel, where)
            if info and info[1] > chan[1]:
                self.report(f"{where}: thumb taller than the channel")

    def check_aux(self, dlg, where):
        for aux in dlg.findall("QorAuxBitmapFilename"):
            if not aux.get("EntryId") or not aux.get("BitmapFile"):
                self.report(f"{where}: auxiliary entry without EntryId or BitmapFile")
                continue
            self.skin.bitmap(aux.get("BitmapFile"), f"{where} aux {aux.get('EntryId')}")
        if dlg.get("DlgName") != "MainDialog":
            return
        aux = {a.get("EntryId"): a.get("BitmapFile") for a in dlg.findall("QorAuxBitmapFilename")}
        video = find_control(dlg, self.names["IDC_VIDEO_AREA"])
        idle = self.skin.bitmap(aux["1"], where) if "1" in aux else None
        if not idle:
            self.report(f"{where}: auxiliary bitmap 1 (idle picture) missing")
        elif video is not None:
            need = (int(video.get("ControlWidth")), int(video.get("ControlHeight")))
            if idle[0] < need[0] or idle[1] < need[1]:
                self.report(f"{where}: idle picture {idle[0]}x{idle[1]} is smaller than the "
                            f"video area {need[0]}x{need[1]}")
        for n in range(4):
            thumb = find_control(dlg, self.names["IDC_RECENT_1"] + n)
            files = button_files(thumb, self.skin_templates) if thumb is not None else {}
            info = self.skin.bitmap(files["ControlUpBitmapFile"], where) \
                if "ControlUpBitmapFile" in files else None
            if not info or info[:2] != (78, 63):
                self.report(f"{where}: recent thumbnail {n + 1} is not 78x63")

    def check_message_box(self):
        where = "message box"
        box = self.graphics.find("QorMessageDlg")
        if box is None:
            self.report(f"{where}: no QorMessageDlg")
            return
        self._background(box, where, LIB_KEY)
        self.check_stretch(box, where)
        button = find_control(box, SHARED_ENTRY)
        if button is None or button.tag != "QorBtnControl":
            self.report(f"{where}: no shared button element {SHARED_ENTRY}")
        else:
            check_button_bitmaps(button, button_files(button, self.skin_templates), where,
                                 self.skin, None)
        cap = find_control(box, MSG_CAPTION)
        if cap is None or cap.get("ControlXOffset") is None:
            self.report(f"{where}: no caption element {MSG_CAPTION} with its position")
        ids = {cid for cid, *_ in self.library.get(MSGBOX_ID, [])}
        if ids != {1, 2, 3, 4, 5, 6, 7, MSG_CAPTION}:
            self.report(f"{where}: template 99 holds {sorted(ids)}")
        texts = self._text_dialog(MSGBOX_ID)
        if texts is not None:
            for a in MSGBOX_ATTRS:
                if not texts.get(a):
                    self.report(f"{where}: text attribute {a} missing")
            check_font(texts, where, self.report)

    def check_menu(self):
        where = "menu"
        menus = [d for d in self.graphics.findall("QorDlg") if d.get("DlgName") == "MenuDlg"]
        if not menus:
            self.report(f"{where}: no QorDlg named MenuDlg")
            return
        menu = menus[0]
        for a in MENU_ATTRS:
            if menu.get(a) in (None, ""):
                self.report(f"{where}: attribute {a} missing")
        self._background(menu, where, LIB_KEY)
        self.check_stretch(menu, where)
        entry = find_control(menu, SHARED_ENTRY)
        if entry is None or entry.tag != "QorBtnControl":
            self.report(f"{where}: no shared entry element {SHARED_ENTRY}")
        else:
            check_button_bitmaps(entry, button_files(entry, self.skin_templates), where,
                                 self.skin, None)
        radios = sorted(cid for cid, cls, style, _ in self.library.get(MENU_ID, [])
                        if "BS_AUTORADIOBUTTON" in style)
        expected = list(range(1224, 1244)) + list(range(1245, 1266))
        if radios != expected:
            self.report(f"{where}: template 98 radio ids are not 1224-1243 and 1245-1265")

    def check_stretch(self, dlg, where):
        st = dlg.find("QorStretchDlgData")
        if st is None:
            self.report(f"{where}: no QorStretchDlgData")
            return
        try:
            v = {a: int(st.get(a)) for a in STRETCH_ATTRS}
        except (TypeError, ValueError):
            self.report(f"{where}: stretch data incomplete")
            return
        if not (v["MinimumWidth"] <= v["BeginningWidth"] <= v["MaximumWidth"] and
                v["MinimumHeight"] <= v["BeginningHeight"] <= v["MaximumHeight"]):
            self.report(f"{where}: stretch limits do not hold the beginning size")
        bg = self.skin.bitmap(dlg.get("DlgBitmapFile", ""), where) \
            if dlg.get("DlgBitmapFile") else None
        if bg and (v["LeftRegionOffset"] + v["RightRegionOffset"] >= bg[0] or
                   v["TopRegionOffset"] + v["BottomRegionOffset"] >= bg[1]):
            self.report(f"{where}: region offsets leave no centre to tile")

    def check_messages(self):
        header = os.path.join(self.root, "app", "shell", "MessageIds.h")
        with open(header, encoding="ascii") as f:
            source = f.read()
        consts = dict((n, int(v)) for n, v in re.findall(r"constexpr int (k\w+) = (\d+);", source))
        listed = re.search(r"kAll\[\]\s*=\s*\{([^}]*)\}", source)
        listed = set(re.findall(r"k\w+", listed.group(1))) if listed else set()
        if set(consts) != listed:
            self.report(f"MessageIds.h: kAll and the constants differ: "
                        f"{sorted(set(consts) ^ listed)}")
        texts = {}
        for m in self.text.findall("QorAppMessages/QorMessage"):
            mid = m.get("MessageId")
            if mid in texts:
                self.report(f"message {mid}: defined twice")
            texts[mid] = m.get("Text", "")
        for name, mid in sorted(consts.items(), key=lambda kv: kv[1]):
            text = texts.get(str(mid))
            if not text:
                self.report(f"message {mid} ({name}): no text")
                continue
            if "%" in PRINTF.sub("", text):
                self.report(f"message {mid} ({name}): a '%' that is not a format: {text!r}")


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    root = os.path.abspath(argv[1])
    skin_dir = argv[2] if len(argv) > 2 else os.path.join(root, "skins", "Skin")
    faults = Checker(root, skin_dir).run()
    for f in faults:
        print(f)
    print(f"{len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
