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
                           ControlWidth="80" ControlHeight="14"/>
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
  <QorMessageDlg DlgName="MessageBox" DlgIdValue="300" DlgBitmapFile="face.bmp"/>
  <QorTemplates><QorButtonTemplates/></QorTemplates>
</QorAppGraphics>
)";

const char kText[] = R"(<?xml version="1.0" encoding="windows-1252"?>
<QorAppText>
  <QorDlg DlgName="TestDialog" DlgIdValue="900">
    <QorBtnControl ControlId="1001" ControlName="First" Caption="First" ToolTipText="The first button"/>
    <QorBtnControl ControlId="1002" ControlName="Second" Caption="Second" ToolTipText="The second button"/>
  </QorDlg>
  <QorAppMessages>
    <QorMessage MessageId="102" Text="Marovin"/>
  </QorAppMessages>
  <QorTemplates><QorButtonTemplates/><TransparentStaticTemplates/><QorEditTemplates/></QorTemplates>
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
