#!/usr/bin/env python3
"""The skin check must catch what would break the program's dialogs: each case damages a
copy of the templates, skin or texts and expects the check to name the fault."""
import os
import re
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_skin  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))


class DamagedSkin(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="skincheck")
        for rel in ("app/resources", "skin/resources", "skins/Skin"):
            shutil.copytree(os.path.join(ROOT, rel), os.path.join(self.tmp, rel))
        os.makedirs(os.path.join(self.tmp, "app/shell"))
        shutil.copy(os.path.join(ROOT, "app/shell/MessageIds.h"),
                    os.path.join(self.tmp, "app/shell"))
        self.skin = os.path.join(self.tmp, "skins/Skin")

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def faults(self):
        return check_skin.Checker(self.tmp, self.skin).run()

    def edit(self, rel, old, new, count=1):
        path = os.path.join(self.tmp, rel)
        with open(path, encoding="utf-8") as f:
            text = f.read()
        self.assertIn(old, text)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text.replace(old, new, count))

    def assertFault(self, pattern):
        faults = self.faults()
        self.assertTrue(any(re.search(pattern, f) for f in faults),
                        f"no fault matching {pattern!r} in {faults}")

    def test_intact_copy_passes(self):
        self.assertEqual(self.faults(), [])

    def test_control_without_skin_element(self):
        self.edit("skins/Skin/Graphics1033.xml", 'ControlIdValue="1014"', 'ControlIdValue="9014"')
        self.assertFault(r"control 1014: no skin element")

    def test_control_without_text_entry(self):
        self.edit("skins/Skin/Text1033.xml", 'ControlId="1464"', 'ControlId="9464"')
        self.assertFault(r"control 1464: no text entry")

    def test_new_template_control_is_noticed(self):
        self.edit("app/resources/Dialogs.rc", "CONTROL \"Apply\", IDC_APPLY",
                  "CONTROL \"\", 1999, \"Button\", BS_PUSHBUTTON, 0, 0, 10, 10\n"
                  "    CONTROL \"Apply\", IDC_APPLY")
        self.assertFault(r"control 1999: no skin element")

    def test_control_of_the_wrong_kind(self):
        self.edit("app/resources/Dialogs.rc", '"Edit", ES_AUTOHSCROLL | WS_TABSTOP | ES_READONLY',
                  '"ComboBox", CBS_DROPDOWNLIST')
        self.assertFault(r"control 1502: a ComboBox template control has skin QorEditControl")

    def test_truncated_bitmap(self):
        path = os.path.join(self.skin, "main", "background.bmp")
        with open(path, "r+b") as f:
            f.truncate(1000)
        self.assertFault(r"MainDialog.*background.bmp does not load")

    def test_palette_face_with_pixels_past_its_palette(self):
        path = os.path.join(self.skin, "main", "background.bmp")
        with open(path, "r+b") as f:
            f.seek(46)  # biClrUsed: the face claims a palette of two colours
            f.write((2).to_bytes(4, "little"))
        self.assertFault(r"MainDialog.*background.bmp does not load: a pixel indexes past")

    def test_missing_bitmap(self):
        os.remove(os.path.join(self.skin, "common", "accent88_0_down.bmp"))
        self.assertFault(r"accent88_0_down.bmp does not exist")

    def test_state_bitmap_of_another_size(self):
        src = os.path.join(self.skin, "common", "pill44_0_up.bmp")
        shutil.copy(src, os.path.join(self.skin, "common", "thumbnail_0_focus.bmp"))
        self.assertFault(r"ControlFocusBitmapFile is 44x24, the Up bitmap 78x63")

    def test_idle_picture_smaller_than_video_area(self):
        shutil.copy(os.path.join(self.skin, "main", "no_thumbnail.bmp"),
                    os.path.join(self.skin, "main", "idle.bmp"))
        self.assertFault(r"idle picture 78x63 is smaller than the video area")

    def test_background_without_outline(self):
        shutil.copy(os.path.join(self.skin, "main", "idle.bmp"),
                    os.path.join(self.skin, "dialogs", "about.bmp"))
        self.assertFault(r"AboutDialog.*no shaped outline")

    def test_missing_message(self):
        self.edit("skins/Skin/Text1033.xml", 'MessageId="232"', 'MessageId="99232"')
        self.assertFault(r"message 232 \(kDiskFull\): no text")

    def test_stray_percent_in_message(self):
        self.edit("skins/Skin/Text1033.xml", 'Text="Please drop one file at a time."',
                  'Text="Please drop 100% of one file."')
        self.assertFault(r"message 2248 .*'%' that is not a format")

    def test_message_list_out_of_step(self):
        self.edit("app/shell/MessageIds.h", "    kSourceComponent,\n", "")
        self.assertFault(r"kAll and the constants differ: \['kSourceComponent'\]")

    def test_button_text_settings_incomplete(self):
        self.edit("skins/Skin/Text1033.xml", 'XoffsetDown=', 'XoffsetGone=')
        self.assertFault(r"text settings missing: XoffsetDown")

    def test_unknown_graphics_template(self):
        self.edit("skins/Skin/Graphics1033.xml", 'GraphicsTemplate="Accent84"',
                  'GraphicsTemplate="Accent85"')
        self.assertFault(r"template Accent85 is missing")

    def test_message_box_caption_missing(self):
        self.edit("skins/Skin/Text1033.xml", 'ID_YES_Caption="Yes"', 'ID_YES_Caption=""')
        self.assertFault(r"message box: text attribute ID_YES_Caption missing")

    def test_control_outside_the_face(self):
        self.edit("skins/Skin/Graphics1033.xml",
                  'ControlName="IDC_STATUS_DISPLAY" ControlXOffset="36" ControlYOffset="500"',
                  'ControlName="IDC_STATUS_DISPLAY" ControlXOffset="1" ControlYOffset="1"')
        self.assertFault(r"control 1046: .*outside the window's shape")


if __name__ == "__main__":
    unittest.main()
