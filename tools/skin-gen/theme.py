"""Colours and fonts of the Marovin skin: a dark graphite face with a cyan accent."""

# RGB tuples used by the bitmap generator.
KEY = (255, 0, 0)            # transparent colour of Marovin dialogs (COLORREF 255)
MSG_KEY = (0, 0, 255)        # transparent colour of the library's message box and menu
OUTSIDE = (8, 9, 12)         # what anti-aliased outlines blend towards, never the key
FACE_TOP = (38, 43, 52)
FACE = (28, 32, 39)
FACE_EDGE = (70, 78, 92)
PANEL = (34, 39, 47)         # flat panel colour: every shared button look sits on it
PANEL_EDGE = (52, 59, 71)
FIELD = (18, 21, 26)         # edit fields and system controls' wells
FIELD_EDGE = (64, 72, 86)
# Combo boxes and list views are drawn by the system; a light field with dark text stays
# readable whichever of the two colours the skin engine applies to them.
SYS_FIELD = (236, 239, 244)
SYS_TEXT = (24, 28, 34)
LCD = (6, 14, 9)
LCD_EDGE = (40, 70, 50)
LCD_GREEN = (0, 255, 0)
LCD_DIM = (40, 150, 70)
ACCENT = (34, 184, 207)
ACCENT_DARK = (20, 120, 138)
RECORD = (232, 72, 77)
RECORD_DARK = (150, 40, 44)
TEXT = (230, 233, 239)
TEXT_MUTED = (150, 160, 176)
TEXT_DISABLED = (95, 102, 115)
BUTTON = (52, 59, 72)
BUTTON_HOVER = (66, 75, 91)
BUTTON_DOWN = (24, 28, 34)
BUTTON_DISABLED = (40, 44, 52)
BUTTON_EDGE = (82, 92, 110)
TROUGH = (16, 18, 22)

FONT_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_MONO = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"

# Windows fonts named in the text file, by role: (height in logical units, weight, face).
FONTS = {
    "normal": (-11, 400, "Tahoma"),
    "bold": (-11, 700, "Tahoma"),
    "small": (-10, 400, "Tahoma"),
    "title": (-13, 700, "Tahoma"),
    "clock": (-22, 700, "Tahoma"),
    "lcd": (-11, 400, "Tahoma"),
    "display": (-18, 700, "Tahoma"),
}
# DejaVu sizes that approximate those fonts in the previews.
PREVIEW_FONTS = {
    "normal": (FONT_SANS, 11), "bold": (FONT_BOLD, 11), "small": (FONT_SANS, 10),
    "title": (FONT_BOLD, 13), "clock": (FONT_MONO, 21), "lcd": (FONT_SANS, 11),
    "display": (FONT_MONO, 18),
}


def colorref(rgb):
    """Win32 COLORREF (0x00BBGGRR) of an RGB tuple, as the skin files store colours."""
    r, g, b = rgb
    return r | (g << 8) | (b << 16)
