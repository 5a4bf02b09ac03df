"""The companion dialogs of the main window, the library's message box and its menu."""
import theme
from controls import Control as C, Dialog


def _title(text):
    return C("IDC_DIALOG_TITLE", "static", (46, 14, 258, 20), (text,), font="title",
             colour=theme.TEXT, align="left")


def _ok(x, y, caption="OK", tip="", sym="IDOK"):
    return C(sym, "button", (x, y, 88, 28), (caption,), (tip,), look="accent",
             template="Accent88")


def _cancel(x, y, caption="Cancel", tip="", sym="IDCANCEL"):
    return C(sym, "button", (x, y, 88, 28), (caption,), (tip,), look="pill", template="Pill88")


def _text(sym, rect, caption="", sample="", **kw):
    kw.setdefault("colour", theme.TEXT)
    return C(sym, "static", rect, (caption,), align="left", sample=sample, **kw)


def _option(sym, kind, rect, caption, tip):
    return C(sym, kind, rect, (caption,), (tip,), look=kind, align="left",
             template=f"{kind.capitalize()}{rect[2]}")


def companions():
    d = []
    d.append(Dialog("AboutDialog", "IDD_ABOUT", (380, 250), "About Marovin", [
        _title("About Marovin"),
        _text("IDC_ABOUT_VERSION_1", (20, 112, 340, 18), font="bold",
              sample="Marovin version 1.0"),
        _text("IDC_ABOUT_VERSION_2", (20, 132, 340, 18), colour=theme.TEXT_MUTED,
              sample="Build: 0"),
        _text("IDC_ABOUT_DESCRIPTION", (20, 156, 340, 18),
              "Watch, record and play TV and video.", colour=theme.TEXT_MUTED),
        _text("IDC_ABOUT_COPYRIGHT", (20, 176, 340, 18),
              "Copyright (C) Halvark, Inc. All rights reserved.", font="small",
              colour=theme.TEXT_DISABLED),
        C("IDC_ABOUT_CHECK_UPDATE", "button", (20, 206, 130, 28), ("Check for updates",),
          ("Look for a newer version of Marovin",), look="pill", template="Pill130"),
        _ok(272, 206),
    ], file_stem="about"))
    d.append(Dialog("DetectSrcDialog", "IDD_DETECT_SOURCE", (380, 150), "Scan inputs", [
        _title("Looking for a video signal"),
        _text("IDC_DETECT_STATUS", (20, 52, 340, 20), sample="Searching for a signal on: S-Video"),
        C("IDC_DETECT_PROGRESS", "progress", (20, 80, 340, 12)),
        _cancel(272, 108, tip="Stop searching"),
    ], file_stem="detect"))
    d.append(Dialog("FrameDropWarnDlg", "IDD_FRAME_DROP_WARN", (420, 260), "Frames dropped", [
        _title("Frames were dropped"),
        _text("IDC_DROP_MESSAGE", (20, 50, 380, 66),
              sample="The encoder could not keep up and dropped frames.\n\n"
                     "A lower video bit rate usually stops this."),
        C("IDC_DROP_BITRATE_SLIDER", "gslider", (16, 124, 256, 26),
          tooltips=("Video bit rate",)),
        C("IDC_DROP_BITRATE_EDIT", "edit", (280, 126, 80, 22), tooltips=("Video bit rate",),
          sample="6000000"),
        _text("IDC_DROP_BITRATE_UNIT", (366, 128, 40, 18), "bit/s", colour=theme.TEXT_MUTED),
        _option("IDC_DROP_IGNORE", "check", (20, 164, 260, 22), "Ignore future warnings",
                "Do not warn about dropped frames again"),
        _ok(214, 212, tip="Use the new bit rate"),
        _cancel(312, 212),
    ], file_stem="framedrop"))
    d.append(Dialog("SaveBmpDialog", "IDD_SAVE_BITMAP", (400, 370), "Snapshot", [
        _title("Snapshot"),
        C("IDC_SNAP_FRAME", "placement", (20, 48, 360, 270), child="IDC_SNAP_PICTURE"),
        C("IDC_SNAP_PICTURE", "picture", (20, 48, 360, 270)),
        C("IDC_SNAP_SAVE", "button", (194, 328, 88, 28), ("Save...",),
          ("Save the picture as JPEG or BMP",), look="accent", template="Accent88"),
        _cancel(292, 328, "Close"),
    ], file_stem="snapshot"))
    d.append(Dialog("SAPDialog", "IDD_SAP_CONFIG", (320, 210), "Television sound", [
        _title("Television sound"),
        _option("IDC_SAP_ENABLE", "check", (20, 52, 280, 22), "Second audio program (SAP)",
                "Listen to the broadcast's second audio program"),
        _option("IDC_SAP_LANGUAGE_A", "radio", (44, 78, 256, 22), "Main language",
                "The broadcast's main sound"),
        _option("IDC_SAP_LANGUAGE_B", "radio", (44, 102, 256, 22), "Second language",
                "The broadcast's second language"),
        _option("IDC_SAP_STEREO", "check", (20, 134, 280, 22), "Stereo",
                "Stereo sound when the broadcast has it"),
        _ok(212, 168),
    ], file_stem="sap"))
    d.append(Dialog("PreviewWaitRecon", "IDD_PREVIEW_WAIT_RECON", (400, 160), "Waiting", [
        _title("Capture device removed"),
        _text("IDC_RECON_MESSAGE", (20, 50, 360, 56),
              sample="The capture device \"Video Capture 1\" was removed.\n"
                     "Plug it in again; the picture returns by itself."),
        _cancel(292, 118, tip="Stop waiting for the device"),
    ], file_stem="reconnect"))
    d.append(Dialog("TimedPromptDialog", "IDD_TIMED_PROMPT", (380, 160), "Marovin", [
        _title("Marovin"),
        _text("IDC_TIMED_MESSAGE", (20, 50, 340, 40), sample="Continue?"),
        _text("IDC_TIMED_COUNTDOWN", (20, 92, 340, 18), colour=theme.TEXT_MUTED,
              sample="Closing in 10 seconds"),
        _ok(176, 118),
        _cancel(272, 118),
    ], file_stem="timedprompt"))
    d.append(Dialog("ConfigRCDialog", "IDD_CONFIG_RC", (380, 200), "Remote control", [
        _title("Remote control set-up"),
        _text("IDC_RC_INSTRUCTION", (20, 50, 340, 36),
              "Press Start, then press the key 0 on your remote control.",
              colour=theme.TEXT_MUTED),
        _text("IDC_RC_STATUS", (20, 96, 340, 20), font="bold",
              sample="Successfully configured Remote Control"),
        C("IDC_RC_LEARN", "button", (20, 154, 120, 28), ("Start", "Waiting..."),
          ("Start listening for the remote control", "Press 0 on the remote control now"),
          look="pill", icons=(None, None), template=""),
        _ok(272, 154),
    ], file_stem="remote"))
    d.append(Dialog("UpdateDlg", "IDD_UPDATE", (380, 150), "Check for updates", [
        _title("Check for updates"),
        _text("IDC_UPDATE_STATUS", (20, 52, 340, 40), sample="Checking for a newer version..."),
        _cancel(272, 106, "Close"),
    ], file_stem="update"))
    d.append(Dialog("UpdateOnStart", "IDD_UPDATE_ON_START", (380, 190), "Update", [
        _title("Update available"),
        _text("IDC_UPDATE_PROMPT", (20, 50, 340, 36),
              "Update is available. Do you want to update?"),
        _option("IDC_UPDATE_ALLOW", "check", (20, 96, 340, 22),
                "Check for updates when Marovin starts", "Look for updates at every start"),
        _ok(176, 144, "Yes", "Download and install the update", "IDYES"),
        _cancel(272, 144, "No", "Not now", "IDNO"),
    ], file_stem="updateprompt"))
    d.append(Dialog("TemplateDialog", "IDD_CUSTOM_TEMPLATE", (360, 160), "New template", [
        _title("New custom template"),
        _text("IDC_TEMPLATE_NAME_LABEL", (20, 52, 320, 18), "Name of the new template",
              colour=theme.TEXT_MUTED),
        C("IDC_TEMPLATE_NAME", "edit", (20, 74, 320, 22),
          tooltips=("A name without \\ or /",), sample="Sports"),
        _ok(156, 118),
        _cancel(252, 118),
    ], file_stem="template"))
    return d


def message_box():
    """The library's message box: stretched around its text; buttons share element 50."""
    return Dialog("QorMessageDlg", "IDD_QOR_MESSAGE", (240, 130), "", [
        C("IDC_QOR_MSGBOX_BUTTON", "button", (0, 0, 80, 26), look="pill", template="Pill80"),
        C("IDC_QOR_MSG_CAPTION", "static", (16, 11, 200, 20), font="title", colour=theme.TEXT,
          align="left"),
    ], key=theme.MSG_KEY, file_stem="msgbox",
        stretch=dict(AllowHorzStretching=1, AllowVertStretching=1, BeginningWidth=240,
                     BeginningHeight=130, MinimumWidth=160, MaximumWidth=900,
                     MinimumHeight=100, MaximumHeight=700, LeftRegionOffset=14,
                     RightRegionOffset=14, TopRegionOffset=40, BottomRegionOffset=14))


def menu():
    """The library's popup menu: entries are radio buttons sharing element 50."""
    return Dialog("MenuDlg", "IDD_QOR_MENU", (180, 120), "", [
        C("IDC_QOR_MENU_ENTRY", "radio", (0, 0, 164, 22), look="menuentry", align="left"),
    ], key=theme.MSG_KEY, file_stem="menu",
        stretch=dict(AllowHorzStretching=1, AllowVertStretching=1, BeginningWidth=180,
                     BeginningHeight=120, MinimumWidth=80, MaximumWidth=600,
                     MinimumHeight=40, MaximumHeight=1000, LeftRegionOffset=10,
                     RightRegionOffset=10, TopRegionOffset=10, BottomRegionOffset=10),
        extra_attrs=dict(LeftOffset=8, TopOffset=8, RightOffset=8, BottomOffset=8,
                         SpaceBetween=2, MarkSelection=1))
