"""The main window "MainDialog": the video area with transport and record controls on
the left, the settings pages behind four tabs on the right, recent recordings and
launchers below."""
import theme
from controls import Control as C, Dialog

W, H = 800, 600
VIDEO = (24, 56, 354, 290)          # control 1000: the 352x288 picture plus a 1-pixel rim
PANEL = (396, 92, 782, 452)         # settings page panel below the tabs
PX, PY = 412, 106                   # top-left of a page's content


def _face():
    return [
        C("IDC_MINIMIZE", "button", (722, 14, 24, 24), tooltips=("Minimise",),
          look="titlebar", icons=("minimize",)),
        C("IDC_CLOSE", "button", (752, 14, 24, 24), tooltips=("Close Marovin",),
          look="close", icons=("close",)),
        C("IDC_HELP_BUTTON", "button", (658, 14, 24, 24), tooltips=("Help (F1)",),
          look="titlebar", icons=("help_mark",)),
        C("IDC_ABOUT_BUTTON", "button", (688, 14, 24, 24), tooltips=("About Marovin",),
          look="titlebar", icons=("info",)),
        C("IDC_INPUT_LABEL", "static", (396, 18, 44, 18), ("Input",), font="bold",
          colour=theme.TEXT_MUTED, align="left"),
        C("IDC_INPUT_LIST", "combo", (440, 15, 150, 200), tooltips=("Choose the video input",),
          sample="Composite"),
        C("IDC_VIDEO_AREA", "static", VIDEO),
        C("IDC_VIDEO_ADJUSTER", "placement", VIDEO, child="NONE"),
        C("IDC_VIDEO_PLACEMENT", "placement", (25, 57, 352, 288), child="IDC_VIDEO_AREA"),
        C("IDC_NO_VIDEO_LABEL", "static", (64, 170, 274, 22), ("No video signal on this input",),
          font="title", colour=theme.TEXT, visible=False),
        C("IDC_SCAN_INPUTS", "button", (141, 204, 120, 28), ("Scan inputs",),
          ("Search all inputs for a video signal",), look="accent", visible=False),
        C("IDC_POSITION_SLIDER", "slider", (24, 354, 354, 18), tooltips=("Playback position",)),
        # Transport row.
        C("IDC_SEEK_START", "button", (24, 380, 34, 34), tooltips=("Go to the start (Home)",),
          icons=("seek_start",), look="icon"),
        C("IDC_STEP_BACK", "button", (62, 380, 34, 34), tooltips=("Step back (Ctrl+B)",),
          icons=("step_back",), look="icon"),
        C("IDC_PLAY", "button", (100, 377, 40, 40), tooltips=("Play", "Pause"),
          icons=("play", "pause"), look="circle"),
        C("IDC_STEP_FORWARD", "button", (144, 380, 34, 34), tooltips=("Step forward (Ctrl+F)",),
          icons=("step_forward",), look="icon"),
        C("IDC_SEEK_END", "button", (182, 380, 34, 34), tooltips=("Go to the end (End)",),
          icons=("seek_end",), look="icon"),
        C("IDC_OPEN_FILE", "button", (226, 380, 34, 34), tooltips=("Open a media file",),
          icons=("folder",), look="icon"),
        C("IDC_RECORD", "button", (284, 377, 94, 40), tooltips=(
            "Start recording (Ctrl+R)", "Stop recording", "Back to the live picture",
            "Recording is not available"), look="record"),
        # Audio and view row.
        C("IDC_MUTE", "button", (24, 424, 28, 28), tooltips=("Mute", "Sound on"),
          icons=("speaker", "speaker_mute"), look="icon"),
        C("IDC_VOLUME_SLIDER", "slider", (58, 429, 120, 18), tooltips=("Volume",)),
        C("IDC_PREVIEW_ON", "button", (246, 424, 28, 28),
          tooltips=("Hide the live picture", "Show the live picture"),
          icons=("eye", "eye_off"), look="icon"),
        C("IDC_PREVIEW_OFF", "button", (246, 424, 28, 28),
          tooltips=("Show the live picture", "Hide the live picture"),
          icons=("eye_off", "eye"), look="icon", visible=False),
        C("IDC_SNAPSHOT", "button", (280, 424, 28, 28), tooltips=("Save a snapshot",),
          icons=("camera",), look="icon"),
        C("IDC_LOOP", "button", (314, 424, 28, 28), tooltips=("Repeat playback",),
          icons=("loop",), look="icon"),
        C("IDC_FULL_SCREEN", "button", (350, 424, 28, 28), tooltips=("Full screen",),
          icons=("full_screen",), look="icon"),
        # Status display.
        C("IDC_ELAPSED_CLOCK", "static", (36, 466, 150, 30), ("00:00:00",), font="clock",
          colour=theme.LCD_GREEN, align="left"),
        C("IDC_COUNTDOWN_LABEL", "static", (230, 464, 136, 14), ("STOP AFTER",), font="small",
          colour=theme.LCD_DIM, align="left"),
        C("IDC_COUNTDOWN_CLOCK", "static", (230, 478, 70, 16), ("00:00:00",), font="bold",
          colour=theme.LCD_GREEN, align="left"),
        C("IDC_RECORDING_TIME", "static", (302, 478, 66, 16), sample="00:00:00", font="bold",
          colour=theme.LCD_GREEN, align="left"),
        C("IDC_STATUS_DISPLAY", "static", (36, 500, 332, 16), font="lcd",
          colour=theme.LCD_GREEN, align="left",
          sample="NTSC  |  MPEG2  |  6.00 MBps"),
        C("IDC_FILE_LABEL", "static", (24, 534, 40, 20), ("File",), font="bold",
          colour=theme.TEXT_MUTED, align="left"),
        C("IDC_FILE_NAME", "edit", (64, 534, 232, 20), tooltips=("The file being recorded or played",),
          sample="D:\\Video\\clip12.mpg", style="ES_READONLY"),
        C("IDC_WRITTEN_SIZE", "static", (300, 534, 78, 20), font="bold", colour=theme.ACCENT,
          align="left", sample="512.40 MB"),
        # Settings tabs and apply.
        C("IDC_TAB_CAPTURE", "button", (396, 62, 96, 30), ("Capture",),
          ("Recording quality",), look="tab", template="Tab"),
        C("IDC_TAB_RECORDING", "button", (494, 62, 96, 30), ("Recording",),
          ("Folder, size and time limits",), look="tab", template="Tab"),
        C("IDC_TAB_TV", "button", (592, 62, 96, 30), ("TV",),
          ("Channels and television sound",), look="tab", template="Tab"),
        C("IDC_TAB_COLOR", "button", (690, 62, 92, 30), ("Color",),
          ("Brightness, contrast, hue and saturation",), look="tab", template="Tab92"),
        C("IDC_APPLY", "button", (686, 414, 84, 28), ("Apply",),
          ("Use the changed settings now",), look="accent", template="Accent84"),
        # Recent recordings and launchers.
        C("IDC_RECENT_LABEL", "static", (396, 464, 200, 16), ("Recent recordings",),
          font="bold", colour=theme.TEXT_MUTED, align="left"),
        C("IDC_NO_RECENT_LABEL", "static", (396, 505, 386, 18), ("No recent clips",),
          colour=theme.TEXT_DISABLED, visible=False),
        C("IDC_LAUNCHER_LABEL", "static", (24, 566, 60, 16), ("Launch",), font="bold",
          colour=theme.TEXT_MUTED, align="left"),
        C("IDC_REMOTE_STATUS", "static", (396, 566, 380, 18), colour=theme.TEXT_MUTED,
          align="left", sample="Remote control is ready"),
    ] + [
        C(f"IDC_RECENT_{i + 1}", "button", (398 + i * 96, 484, 78, 63),
          tooltips=(f"Play recent recording {i + 1}",), look="thumbnail", template="Thumbnail")
        for i in range(4)
    ] + [
        C(f"IDC_LAUNCHER_{i + 1}", "button", (84 + i * 40, 560, 32, 32),
          tooltips=("Click to choose a program",), look="tile", template="Launcher",
          visible=i < 4)
        for i in range(8)
    ]


def _pill(sym, rect, caption, tip, template, page, look="pill"):
    return C(sym, "button", rect, (caption,), (tip,), look=look, template=template, page=page)


def _label(sym, rect, caption, page, **kw):
    kw.setdefault("colour", theme.TEXT_MUTED)
    return C(sym, "static", rect, (caption,), align="left", page=page, **kw)


def _option(sym, kind, rect, caption, tip, page):
    return C(sym, kind, rect, (caption,), (tip,), look=kind, align="left",
             template=f"{kind.capitalize()}{rect[2]}", page=page)


def _quality_page():
    p = 0
    return [
        _label("IDC_QUALITY_LABEL", (PX, PY, 340, 18), "Recording quality", p, font="title",
               colour=theme.TEXT),
        _option("IDC_MODE_VCD", "radio", (PX, PY + 28, 160, 22), "VCD (MPEG-1)",
                "Video CD quality, 1.15 Mbps", p),
        _option("IDC_MODE_MPEG1_LOW", "radio", (PX, PY + 54, 160, 22), "MPEG-1 low",
                "Small MPEG-1 files for e-mail", p),
        _option("IDC_MODE_MPEG1_NORMAL", "radio", (PX, PY + 80, 160, 22), "MPEG-1 normal",
                "MPEG-1 at its normal bit rate", p),
        _option("IDC_MODE_SVCD", "radio", (PX + 180, PY + 28, 160, 22), "SVCD (MPEG-2)",
                "Super Video CD quality", p),
        _option("IDC_MODE_DVD", "radio", (PX + 180, PY + 54, 160, 22), "DVD (MPEG-2)",
                "DVD quality at the bit rate below", p),
        _option("IDC_MODE_CUSTOM", "radio", (PX + 180, PY + 80, 160, 22), "Custom template",
                "Record with your own quality template", p),
        _label("IDC_DVD_BITRATE_LABEL", (PX, PY + 120, 120, 18), "DVD bit rate", p),
        C("IDC_DVD_BITRATE", "combo", (PX + 126, PY + 116, 120, 120), page=p,
          tooltips=("Video bit rate of DVD quality",), sample="6 Mbps"),
        _label("IDC_TEMPLATE_LABEL", (PX, PY + 152, 120, 18), "Custom template", p),
        C("IDC_TEMPLATE_LIST", "combo", (PX + 126, PY + 148, 120, 150), page=p,
          tooltips=("Choose a custom template",), sample="Sports"),
        _pill("IDC_TEMPLATE_NEW", (PX + 252, PY + 147, 44, 24), "New",
              "Create a custom template", "Pill44", p),
        _pill("IDC_TEMPLATE_DELETE", (PX + 300, PY + 147, 50, 24), "Delete",
              "Delete the chosen custom template", "Pill50", p),
        C("IDC_TEMPLATE_DESC_1", "static", (PX, PY + 190, 350, 18), font="bold", page=p,
          colour=theme.TEXT, align="left", sample="MPEG2  Composite"),
        C("IDC_TEMPLATE_DESC_2", "static", (PX, PY + 210, 350, 18), page=p,
          colour=theme.TEXT_MUTED, align="left", sample="720x480 6.00 Mbps"),
        C("IDC_TEMPLATE_DESC_3", "static", (PX, PY + 230, 350, 18), page=p,
          colour=theme.TEXT_MUTED, align="left", sample="48.0 KHz 384 Kbps"),
        _pill("IDC_DEVICE_PROPERTIES", (PX, PY + 268, 130, 26), "Device settings...",
              "Open the capture device's own settings", "Pill130", p),
    ]


def _recording_page():
    p = 1
    y = PY
    spin = dict(tooltips=("",), page=p)
    return [
        _label("IDC_FOLDER_LABEL", (PX, y, 200, 18), "Recording folder", p, font="title",
               colour=theme.TEXT),
        C("IDC_RECORDING_FOLDER", "edit", (PX, y + 24, 262, 22), page=p,
          tooltips=("Where new recordings are stored",), sample="D:\\Video\\"),
        _pill("IDC_BROWSE_FOLDER", (PX + 270, y + 22, 80, 26), "Browse...",
              "Choose the recording folder", "Pill80", p),
        _label("IDC_FREE_SPACE_LABEL", (PX, y + 54, 80, 18), "Free space", p),
        C("IDC_FREE_SPACE", "static", (PX + 84, y + 54, 200, 18), font="bold", page=p,
          colour=theme.TEXT, align="left", sample="212 GB"),
        _label("IDC_SIZE_LIMIT_LABEL", (PX, y + 82, 200, 18), "File size limit", p,
               font="title", colour=theme.TEXT),
        _option("IDC_SIZE_PRESET", "radio", (PX, y + 106, 90, 22), "Limit to",
                "Stop at one of the usual sizes", p),
        C("IDC_SIZE_LIST", "combo", (PX + 96, y + 106, 254, 120), page=p,
          tooltips=("Largest size of one recording",), sample="Maximum FAT32 File Size (4GB)"),
        _option("IDC_SIZE_CUSTOM", "radio", (PX, y + 134, 90, 22), "Custom",
                "Stop at a size of your own", p),
        C("IDC_SIZE_CUSTOM_EDIT", "edit", (PX + 96, y + 134, 70, 22), page=p,
          tooltips=("Largest size of one recording",), sample="2.00"),
        C("IDC_SIZE_UNIT", "combo", (PX + 172, y + 134, 60, 80), page=p,
          tooltips=("Unit of the custom size",), sample="GB"),
        _label("IDC_STOP_LABEL", (PX, y + 166, 200, 18), "Stop recording", p, font="title",
               colour=theme.TEXT),
        _option("IDC_STOP_NEVER", "radio", (PX, y + 190, 150, 22), "Only when I stop it",
                "Record until you press stop", p),
        _option("IDC_STOP_AFTER", "radio", (PX, y + 216, 90, 22), "After",
                "Stop after the time on the right (hours, minutes, seconds)", p),
        C("IDC_STOP_HOURS", "edit", (PX + 96, y + 216, 30, 22), page=p, tooltips=("Hours",),
          sample="01"),
        C("IDC_STOP_HOURS_SPIN", "spin", (PX + 126, y + 216, 14, 22), **spin),
        C("IDC_STOP_MINUTES", "edit", (PX + 146, y + 216, 30, 22), page=p,
          tooltips=("Minutes",), sample="30"),
        C("IDC_STOP_MINUTES_SPIN", "spin", (PX + 176, y + 216, 14, 22), **spin),
        C("IDC_STOP_SECONDS", "edit", (PX + 196, y + 216, 30, 22), page=p,
          tooltips=("Seconds",), sample="00"),
        C("IDC_STOP_SECONDS_SPIN", "spin", (PX + 226, y + 216, 14, 22), **spin),
        _option("IDC_STOP_NO_VIDEO", "radio", (PX, y + 242, 150, 22), "When video is lost for",
                "Stop when the signal has been lost for this many seconds", p),
        C("IDC_NO_VIDEO_SECONDS", "edit", (PX + 156, y + 242, 40, 22), page=p,
          tooltips=("Seconds without video",), sample="10"),
        C("IDC_NO_VIDEO_SPIN", "spin", (PX + 196, y + 242, 14, 22), **spin),
        _label("IDC_NO_VIDEO_UNIT", (PX + 216, y + 244, 60, 18), "seconds", p),
        _option("IDC_AUTO_RECORD", "check", (PX, y + 276, 196, 22),
                "Record when a signal appears", "Start recording as soon as video is found", p),
        _option("IDC_ASK_FILE_NAME", "check", (PX + 204, y + 276, 146, 22),
                "Ask for a file name", "Ask for a name at every recording", p),
    ]


def _tv_page():
    p = 2
    y = PY
    keypad = []
    for n in range(10):
        col, row = ((n - 1) % 3, (n - 1) // 3) if n else (1, 3)
        keypad.append(C(f"IDC_DIGIT_{n}", "button",
                        (PX + 212 + col * 46, y + 102 + row * 23, 42, 21), (str(n),),
                        (f"Channel digit {n}",), look="pill", template="Digit", page=p))
    return [
        _pill("IDC_TV_ANTENNA", (PX, y, 74, 24), "Antenna", "Receive from an antenna",
              "Pill74", p),
        _pill("IDC_TV_CABLE", (PX + 78, y, 74, 24), "Cable", "Receive from cable", "Pill74", p),
        _pill("IDC_TV_AUDIO", (PX + 162, y, 74, 24), "Sound...", "Stereo and second language",
              "Pill74", p),
        _pill("IDC_CHANNEL_RENAME", (PX + 246, y, 50, 24), "Name",
              "Give the channel the name typed in the name box", "Pill50", p),
        _pill("IDC_CHANNEL_DELETE", (PX + 300, y, 50, 24), "Delete",
              "Remove the channel from the list", "Pill50", p),
        _label("IDC_COUNTRY_LABEL", (PX, y + 36, 54, 18), "Country", p),
        C("IDC_COUNTRY", "combo", (PX + 56, y + 32, 118, 200), page=p,
          tooltips=("Country of the channel plan",), sample="USA"),
        _label("IDC_STANDARD_LABEL", (PX + 184, y + 36, 60, 18), "Standard", p),
        C("IDC_STANDARD", "combo", (PX + 250, y + 32, 100, 200), page=p,
          tooltips=("Television standard",), sample="NTSC M"),
        C("IDC_CHANNEL_LIST", "list", (PX, y + 66, 200, 168), page=p,
          tooltips=("Channels found",)),
        C("IDC_CHANNEL_DISPLAY", "edit", (PX + 212, y + 66, 88, 32), font="display",
          colour=theme.LCD_GREEN, background=theme.LCD, sample="12", page=p,
          style="ES_CENTER | ES_READONLY",
          tooltips=("Channel number; type digits to change it",)),
        C("IDC_CHANNEL_UP", "button", (PX + 304, y + 66, 46, 15),
          tooltips=("Next channel (Ctrl+Up)",), icons=("arrow_up",), look="icon", page=p),
        C("IDC_CHANNEL_DOWN", "button", (PX + 304, y + 83, 46, 15),
          tooltips=("Previous channel (Ctrl+Down)",), icons=("arrow_down",), look="icon",
          page=p),
    ] + keypad + [
        C("IDC_CHANNEL_NAME", "combo", (PX + 212, y + 196, 138, 200), page=p,
          tooltips=("Choose a channel by name, or type a new name",), sample="Channel 12"),
        _pill("IDC_CHANNEL_SCAN", (PX, y + 242, 70, 24), "Scan", "Search all channels", "Pill70", p),
        C("IDC_SCAN_PROGRESS", "progress", (PX + 78, y + 246, 122, 16), page=p),
        _label("IDC_FINE_TUNE_LABEL", (PX + 212, y + 222, 80, 16), "Fine tune", p),
        C("IDC_FINE_TUNE_SLIDER", "slider", (PX + 212, y + 242, 82, 18), page=p,
          tooltips=("Fine tuning of the channel",)),
        C("IDC_FINE_TUNE_VALUE", "edit", (PX + 298, y + 241, 36, 22), page=p,
          tooltips=("Fine tuning, -50 to 50",), sample="0"),
        C("IDC_FINE_TUNE_SPIN", "spin", (PX + 334, y + 241, 16, 22), page=p),
        _pill("IDC_REMOTE_SETUP", (PX, y + 276, 110, 24), "Remote control...",
              "Teach Marovin your remote control", "Pill110", p),
    ]


def _colour_page():
    p = 3
    rows = []
    names = (("BRIGHTNESS", "Brightness"), ("CONTRAST", "Contrast"), ("HUE", "Hue"),
             ("SATURATION", "Saturation"))
    for i, (sym, caption) in enumerate(names):
        y = PY + 10 + i * 44
        rows += [
            _label(f"IDC_{sym}_LABEL", (PX, y, 90, 18), caption, p, colour=theme.TEXT),
            C(f"IDC_{sym}", "slider", (PX + 96, y, 210, 18), page=p,
              tooltips=(f"{caption} of the picture",)),
            C(f"IDC_{sym}_VALUE", "static", (PX + 312, y, 38, 18), page=p, font="bold",
              colour=theme.ACCENT, align="center", sample="128"),
        ]
    rows.append(_pill("IDC_COLOR_DEFAULTS", (PX, PY + 196, 110, 26), "Defaults",
                      "Return to the device's own settings", "Pill110", p))
    return rows


def main_dialog():
    controls = _face() + _quality_page() + _recording_page() + _tv_page() + _colour_page()
    for c in controls:
        if c.page > 0:
            c.visible = False
    d = Dialog("MainDialog", "IDD_MAIN_DIALOG", (W, H), "Marovin", controls,
               file_stem="main")
    d.aux = [(1, "Idle picture", "main\\idle.bmp"),
             (2, "Launcher icon", "main\\launcher.ico"),
             (3, "Preview disabled", "main\\preview_off.bmp"),
             (4, "Placeholder thumbnail", "main\\no_thumbnail.bmp")]
    return d
