"""What a dialog's control is (kind, place, texts, look) and the dialog record that holds
them. Layout modules build these; the writers and the painters read them."""
from dataclasses import dataclass, field

import theme

# Control kinds and how each appears in the three files:
#   kind          template class        skin element              text element
KINDS = {
    "button":    ("Button",             "QorBtnControl",          "QorBtnControl"),
    "check":     ("Button",             "QorBtnControl",          "QorBtnControl"),
    "radio":     ("Button",             "QorBtnControl",          "QorBtnControl"),
    "static":    ("Static",             "QorTransStaticControl",  "QorTransparentStaticControl"),
    "edit":      ("Edit",               "QorEditControl",         "QorEditControl"),
    "slider":    ("msctls_trackbar32",  "QorSliderControl",       "QorSliderControl"),
    "combo":     ("ComboBox",           "QorGenericControl",      "QorGenericControlWithTextInfo"),
    "list":      ("SysListView32",      "QorGenericControl",      "QorGenericControlWithTextInfo"),
    "progress":  ("msctls_progress32",  "QorGenericControl",      "QorGenericControlSimple"),
    "spin":      ("msctls_updown32",    "QorGenericControl",      "QorGenericControlSimple"),
    "gslider":   ("msctls_trackbar32",  "QorGenericControl",      "QorGenericControlSimple"),
    "placement": ("Button",             "QorGenericControl",      "QorGenericControlSimple"),
    "picture":   ("Static",             "QorGenericControl",      "QorGenericControlSimple"),
}

GENERIC_TYPES = {
    "combo": "GenericComboBox", "list": "GenericListControl", "progress": "GenericProgressBar",
    "spin": "GenericSpinButton", "gslider": "GenericSlider", "placement": "GenericPlacementControl",
    "picture": "GenericPlacementControl",
}


@dataclass
class Control:
    sym: str                      # identifier name in ControlIds.h (or IDOK, IDCANCEL ...)
    kind: str
    rect: tuple                   # x, y, width, height in pixels of the dialog's client area
    captions: tuple = ("",)       # per identity (buttons) or the one caption
    tooltips: tuple = ("",)
    look: str = ""                # button look, see faces.py
    icons: tuple = ()             # icon function names per identity
    font: str = "normal"
    colour: tuple = None          # main text colour, RGB
    background: tuple = None      # edits: background colour, RGB
    align: str = "center"         # caption placement: center, left (the text file has no right)
    visible: bool = True
    page: int = -1                # settings page 0..3 of the main window, -1 on every page
    child: str = ""               # placement controls: the dialog item placed
    template: str = ""            # graphics template name when the look is shared
    sample: str = ""              # preview-only text for controls the program fills
    style: str = ""               # extra template styles
    id: int = 0                   # filled from ControlIds.h

    @property
    def x(self):
        return self.rect[0]

    @property
    def y(self):
        return self.rect[1]

    @property
    def w(self):
        return self.rect[2]

    @property
    def h(self):
        return self.rect[3]


@dataclass
class Dialog:
    name: str                     # "DlgName" in both files
    sym: str                      # dialog id name in ControlIds.h
    size: tuple
    caption: str                  # template caption (the window title)
    controls: list = field(default_factory=list)
    aux: list = field(default_factory=list)    # (EntryId, EntryName, file)
    key: tuple = theme.KEY
    stretch: dict = None
    extra_attrs: dict = None      # further QorDlg attributes (the menu's margins)
    id: int = 0
    file_stem: str = ""

    def control(self, sym):
        return next(c for c in self.controls if c.sym == sym)
