// The dialog tests' skin.
#include "TestSkin.h"

#include <fstream>
#include <vector>

namespace dialogtest {

bool WriteBmp(const std::string& path, int width, int height, int bits,
              const std::function<COLORREF(int, int)>& colourAt)
{
    const int stride = ((width * bits + 31) / 32) * 4;
    const int paletteSize = bits == 8 ? 256 * 4 : 0;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info) + paletteSize;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> palette(static_cast<size_t>(paletteSize));
    std::vector<COLORREF> entries;
    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y) {
        BYTE* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colourAt(x, y);
            const BYTE r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (bits == 8) {
                size_t index = 0;
                while (index < entries.size() && entries[index] != c)
                    ++index;
                if (index == entries.size() && entries.size() < 256)
                    entries.push_back(c);
                row[x] = static_cast<BYTE>(index < 256 ? index : 0);
            } else if (bits == 16) {
                const WORD value = static_cast<WORD>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
                row[2 * x] = static_cast<BYTE>(value & 0xFF);
                row[2 * x + 1] = static_cast<BYTE>(value >> 8);
            } else {
                BYTE* p = row + x * (bits / 8);
                p[0] = b, p[1] = g, p[2] = r;
            }
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        palette[4 * i] = GetBValue(entries[i]);
        palette[4 * i + 1] = GetGValue(entries[i]);
        palette[4 * i + 2] = GetRValue(entries[i]);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(palette.data()), static_cast<std::streamsize>(palette.size()));
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

COLORREF FaceColour(int x, int y)
{
    // Distance from the nearest corner's centre decides the rounded corners.
    const int r = kCornerRadius;
    const int cx = x < r ? r : (x >= kFaceWidth - r ? kFaceWidth - r - 1 : x);
    const int cy = y < r ? r : (y >= kFaceHeight - r ? kFaceHeight - r - 1 : y);
    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r)
        return kTransparent;
    return y >= 70 && y < 80 ? kStripe : kFace;
}

COLORREF TabbedFaceColour(int x, int y)
{
    if (y < kTabHeight)
        return x >= kTabLeft && x < kTabRight ? kStripe : kTransparent;
    return kFace;
}

namespace {

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

const char kGraphics[] = R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppGraphics>
  <QorDlg DlgName="TestDialog" DlgIdValue="900" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="1001" ControlName="First" ControlXOffset="40" ControlYOffset="30"/>
    <QorBtnControl ControlIdValue="1002" ControlName="Second" ControlXOffset="40" ControlYOffset="100"/>
    <QorTransStaticControl ControlIdValue="1003" ControlName="Label" ControlXOffset="120" ControlYOffset="30"
                           ControlWidth="100" ControlHeight="24" TextColor="65280"/>
    <QorBtnControl ControlIdValue="1004" ControlName="Hidden" ControlXOffset="120" ControlYOffset="100"
                   ControlIsVisible="0"/>
    <QorAuxBitmapFilename BitmapFile="extra.bmp" EntryId="7" EntryName="Aux"/>
    <QorAuxBitmapFilename BitmapFile="skipped.bmp" EntryName="No id"/>
  </QorDlg>
  <QorDlg DlgName="TestDialog" DlgIdValue="900" DlgBitmapFile="depth8.bmp"/>
  <QorDlg DlgName="NoBitmapAttribute" DlgIdValue="900"/>
  <QorDlg DlgName="EmptyBitmap" DlgIdValue="900" DlgBitmapFile=""/>
  <QorDlg DlgName="MissingFile" DlgIdValue="900" DlgBitmapFile="nothere.bmp"/>
  <QorDlg DlgName="Garbage" DlgIdValue="900" DlgBitmapFile="garbage.bmp"/>
  <QorDlg DlgName="ZeroSize" DlgIdValue="900" DlgBitmapFile="zero.bmp"/>
  <QorDlg DlgName="AllTransparent" DlgIdValue="900" DlgBitmapFile="clear.bmp"/>
  <QorDlg DlgName="Depth8" DlgIdValue="900" DlgBitmapFile="depth8.bmp"/>
  <QorDlg DlgName="Depth16" DlgIdValue="900" DlgBitmapFile="depth16.bmp"/>
  <QorDlg DlgName="Depth24" DlgIdValue="900" DlgBitmapFile="face.bmp"/>
  <QorDlg DlgName="Depth32" DlgIdValue="900" DlgBitmapFile="depth32.bmp"/>
  <QorDlg DlgName="StretchDialog" DlgIdValue="901" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="1001" ControlName="First" ControlXOffset="40" ControlYOffset="30"/>
    <QorBtnControl ControlIdValue="1002" ControlName="Second" ControlXOffset="40" ControlYOffset="100"/>
    <QorStretchDlgData AllowHorzStretching="1" AllowVertStretching="1" BeginningWidth="260" BeginningHeight="160"
                       MinimumWidth="200" MaximumWidth="400" MinimumHeight="120" MaximumHeight="300"
                       LeftRegionOffset="40" RightRegionOffset="40" TopRegionOffset="40" BottomRegionOffset="40"/>
  </QorDlg>
  <QorDlg DlgName="OneSidedStretch" DlgIdValue="901" DlgBitmapFile="tab.bmp">
    <QorStretchDlgData AllowHorzStretching="1" AllowVertStretching="1" BeginningWidth="300" BeginningHeight="200"
                       MinimumWidth="200" MaximumWidth="400" MinimumHeight="120" MaximumHeight="300"
                       LeftRegionOffset="70" RightRegionOffset="40" TopRegionOffset="40" BottomRegionOffset="40"/>
  </QorDlg>
  <QorDlg DlgName="RadioDialog" DlgIdValue="902" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="1011" ControlName="One" ControlXOffset="30" ControlYOffset="20"
                   TransparentRadioWidth="100" TransparentRadioHeight="20"
                   TransparentRadioBtnLeftJustified="1" TransparentRadioTextLeftJustified="1"/>
    <QorBtnControl ControlIdValue="1012" ControlName="Two" ControlXOffset="30" ControlYOffset="45"
                   ControlUpBitmapFile="markoff.bmp" ControlDownBitmapFile="markon.bmp"
                   ControlDisabledBitmapFile="markdis.bmp"
                   TransparentRadioWidth="100" TransparentRadioHeight="20"
                   TransparentRadioBtnLeftJustified="0" TransparentRadioTextLeftJustified="0"/>
    <QorBtnControl ControlIdValue="1013" ControlName="Check" ControlXOffset="140" ControlYOffset="20"
                   TransparentRadioWidth="90" TransparentRadioHeight="20"
                   TransparentRadioBtnLeftJustified="1" TransparentRadioTextLeftJustified="1"/>
    <QorBtnControl ControlIdValue="50" ControlName="MenuItem" ControlXOffset="140" ControlYOffset="45"
                   TransparentRadioWidth="90" TransparentRadioHeight="20"
                   TransparentRadioBtnLeftJustified="1" TransparentRadioTextLeftJustified="1"/>
  </QorDlg>
  <QorDlg DlgName="TrackingDialog" DlgIdValue="903" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="1001" ControlName="Right" ControlXOffset="150" ControlYOffset="30">
      <QorControlTracking Orientation="2" RightOffset="20" BottomOffset="0"/>
    </QorBtnControl>
    <QorBtnControl ControlIdValue="1002" ControlName="Corner" ControlXOffset="150" ControlYOffset="100">
      <QorControlTracking Orientation="10" RightOffset="20" BottomOffset="12"/>
    </QorBtnControl>
    <QorBtnControl ControlIdValue="1004" ControlName="Still" ControlXOffset="40" ControlYOffset="100">
      <QorControlTracking Orientation="0" RightOffset="0" BottomOffset="0"/>
    </QorBtnControl>
    <QorBtnControl ControlIdValue="1005" ControlName="Bottom" ControlXOffset="40" ControlYOffset="30">
      <QorControlTracking Orientation="8" RightOffset="0" BottomOffset="40"/>
    </QorBtnControl>
    <QorBtnControl ControlIdValue="1006" ControlName="Grabber" ControlXOffset="210" ControlYOffset="125">
      <QorControlTracking Orientation="10" RightOffset="26" BottomOffset="19"/>
    </QorBtnControl>
    <QorStretchDlgData AllowHorzStretching="1" AllowVertStretching="1" BeginningWidth="260" BeginningHeight="160"
                       MinimumWidth="200" MaximumWidth="400" MinimumHeight="120" MaximumHeight="300"
                       LeftRegionOffset="40" RightRegionOffset="40" TopRegionOffset="40" BottomRegionOffset="40"/>
  </QorDlg>
  <QorMessageDlg DlgName="MessageBox" DlgIdValue="300" DlgBitmapFile="face.bmp">
    <QorBtnControl ControlIdValue="50" ControlName="BoxButton" ControlXOffset="0" ControlYOffset="0"/>
  </QorMessageDlg>
  <QorDlg DlgName="MenuDlg" DlgIdValue="98" DlgBitmapFile="face.bmp" LeftOffset="30" TopOffset="30" RightOffset="40"
          BottomOffset="30" SpaceBetween="2" MarkSelection="0">
    <QorBtnControl ControlIdValue="50" ControlName="MenuEntry" ControlXOffset="0" ControlYOffset="0"
                   TransparentRadioWidth="120" TransparentRadioHeight="18"
                   TransparentRadioBtnLeftJustified="1" TransparentRadioTextLeftJustified="1"/>
  </QorDlg>
  <QorTemplates><QorButtonTemplates/></QorTemplates>
</QorAppGraphics>
)";

const char kText[] = R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppText>
  <QorDlg DlgName="TestDialog" DlgIdValue="900">
    <QorBtnControl ControlId="1001" ControlName="First" Caption="First" ToolTipText="The first button"/>
    <QorBtnControl ControlId="1002" ControlName="Second" Caption="Second" ToolTipText="The second button"
        UseTemplate="Yellow"/>
    <QorTransparentStaticControl ControlId="1003" ControlName="Label" Caption="Skinned" ToolTipText="Not shown"
        CenterTextHorizontally="1" CenterTextVertically="1" Xoffset="0" Yoffset="0"
        TextColor1="16777215" TextColor2="0" TextColor3="255"
        DisabledTextColor1="8421504" DisabledTextColor2="0" DisabledTextColor3="0"
        ThreeD="1" Indented="0" UseHilite="0" UseShadow="1"/>
  </QorDlg>
  <QorDlg DlgName="RadioDialog" DlgIdValue="902">
    <QorBtnControl ControlId="1011" ControlName="One" Caption="One" TextColor1="16777215" TextColor2="0" TextColor3="0" DownTextColor1="65535" DownTextColor2="0" DownTextColor3="0" FocusTextColor1="16711935" FocusTextColor2="0" FocusTextColor3="0" DisabledTextColor1="8421504" DisabledTextColor2="0" DisabledTextColor3="0"/>
    <QorBtnControl ControlId="1012" ControlName="Two" Caption="Two" TextColor1="16777215" TextColor2="0" TextColor3="0" DownTextColor1="65535" DownTextColor2="0" DownTextColor3="0" FocusTextColor1="16711935" FocusTextColor2="0" FocusTextColor3="0" DisabledTextColor1="8421504" DisabledTextColor2="0" DisabledTextColor3="0"/>
    <QorBtnControl ControlId="1013" ControlName="Check" Caption="Check" TextColor1="16777215" TextColor2="0" TextColor3="0" DownTextColor1="65535" DownTextColor2="0" DownTextColor3="0" FocusTextColor1="16711935" FocusTextColor2="0" FocusTextColor3="0" DisabledTextColor1="8421504" DisabledTextColor2="0" DisabledTextColor3="0"/>
    <QorBtnControl ControlId="50" ControlName="MenuItem" Caption="Item" TextColor1="16777215" TextColor2="0" TextColor3="0" DownTextColor1="65535" DownTextColor2="0" DownTextColor3="0" FocusTextColor1="16711935" FocusTextColor2="0" FocusTextColor3="0" DisabledTextColor1="8421504" DisabledTextColor2="0" DisabledTextColor3="0"/>
  </QorDlg>
  <QorDlg DlgName="MessageBox" DlgIdValue="99" MessageTextColor="0" CaptionTextColor="0"/>
  <QorAppMessages>
    <QorMessage MessageId="102" Text="Marovin"/>
  </QorAppMessages>
  <QorTemplates>
    <QorButtonTemplates>
      <QorButtonTemplate TemplateName="Yellow" CenterTextHorizontally="1" CenterTextVertically="1" XoffsetUp="0"
          YoffsetUp="0" XoffsetDown="1" YoffsetDown="1" XoffsetFocus="0" YoffsetFocus="0" XoffsetDisabled="0"
          YoffsetDisabled="0" TextColor1="65535" TextColor2="0" TextColor3="0" DisabledTextColor1="8421504"
          DisabledTextColor2="0" DisabledTextColor3="0" ThreeD="0" Indented="0" UseHilite="0" UseShadow="0"/>
    </QorButtonTemplates>
    <TransparentStaticTemplates/><QorEditTemplates/>
  </QorTemplates>
</QorAppText>
)";

}  // namespace

void WriteTestSkin(const std::string& folder)
{
    const std::string base = folder + "\\";
    WriteText(base + "Graphics1033.xml", kGraphics);
    WriteText(base + "Text1033.xml", kText);
    WriteBmp(base + "face.bmp", kFaceWidth, kFaceHeight, 24, FaceColour);
    WriteBmp(base + "depth8.bmp", kFaceWidth, kFaceHeight, 8, FaceColour);
    WriteBmp(base + "depth16.bmp", kFaceWidth, kFaceHeight, 16, FaceColour);
    WriteBmp(base + "depth32.bmp", kFaceWidth, kFaceHeight, 32, FaceColour);
    WriteBmp(base + "extra.bmp", 16, 12, 24, [](int, int) { return kStripe; });
    WriteBmp(base + "markoff.bmp", kMarkSide, kMarkSide, 24, [](int, int) { return kMarkOff; });
    WriteBmp(base + "markon.bmp", kMarkSide, kMarkSide, 24, [](int, int) { return kMarkOn; });
    WriteBmp(base + "markdis.bmp", kMarkSide, kMarkSide, 24, [](int, int) { return kMarkDisabled; });
    WriteBmp(base + "tab.bmp", kFaceWidth, kFaceHeight, 24, TabbedFaceColour);
    WriteBmp(base + "clear.bmp", 50, 40, 24, [](int, int) { return kTransparent; });
    WriteText(base + "garbage.bmp", "BM this is not a bitmap at all");
    // A header that claims a picture of no pixels.
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits;
    std::ofstream zero(base + "zero.bmp", std::ios::binary);
    zero.write(reinterpret_cast<const char*>(&file), sizeof(file));
    zero.write(reinterpret_cast<const char*>(&info), sizeof(info));
}

}  // namespace dialogtest
