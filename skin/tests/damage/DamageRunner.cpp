// One damaged input through the real loaders, timed, with its outcome judged.
#include "DamageRunner.h"

#include <windows.h>

#include <cstdlib>

#include "BitmapFileCheck.h"
#include "EBitmapUtilities.h"
#include "QorText_API.h"
#include "TestSupport.h"

using namespace enginetest;

namespace damage {
namespace {

const char* kNoClient = "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient";
const char* kGraphicsFailed = "Unable to load the GraphicsFile from an XML file; aborting  (Tag GE0007)";
const char* kTextFailed = "Unable to open QorTextFile; aborting  (Tag GE0003)";
const char* kLoadFailedPrefix = "Failed to load Graphics XML File.  Hresult = ";

// The number after `key` searching backwards from `before`; -1 when there is none.
int NumberBefore(const std::string& text, const std::string& key, std::size_t before)
{
    const std::size_t at = text.rfind(key, before);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

double Seconds(const LARGE_INTEGER& from)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The loaded bitmap as the dialogs use it: a region traced from it and a block copy.
void UseBitmap(HBITMAP bitmap)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    if (HRGN region = EBitmapUtilities::BuildRegion(bitmap, RGB(255, 0, 255), screen, nullptr))
        DeleteObject(region);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
    HDC source = CreateCompatibleDC(screen);
    HGDIOBJ oldCanvas = SelectObject(dc, canvas), oldSource = SelectObject(source, bitmap);
    BitBlt(dc, 0, 0, 32, 32, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(dc, oldCanvas);
    DeleteDC(source);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace

bool ParseKind(const std::string& name, Kind* kind)
{
    if (name == "bitmap")
        *kind = Kind::Bitmap;
    else if (name == "graphics")
        *kind = Kind::Graphics;
    else if (name == "text")
        *kind = Kind::Text;
    else
        return false;
    return true;
}

Runner::Runner(const std::string& skinDir) : scratch_(testsupport::OutputDir())
{
    graphicsPath_ = skinDir + "\\Graphics1033.xml";
    textPath_ = skinDir + "\\Text1033.xml";
    graphics_ = ReadFile(graphicsPath_);
    text_ = ReadFile(textPath_);
    bitmaps_ = MadeBitmaps();
    for (const char* name : {"\\common\\accent84_0_down.bmp", "\\main\\background.bmp", "\\main\\idle.bmp"})
        bitmaps_.push_back(ReadFile(skinDir + name));
    for (std::size_t at = text_.find("<QorFontInfo"); at != std::string::npos; at = text_.find("<QorFontInfo", at + 1))
        fontControls_.emplace_back(NumberBefore(text_, "DlgIdValue=\"", at), NumberBefore(text_, "ControlId=\"", at));
    app_.SetDword("ShowGraphicsErrorDialogs", 1);
    app_.SetDword("UseDefaultGraphicsFile", 0);
    app_.SetDword("UseDefaultTextFile", 0);
    ui_.debugAnswer = true;
    ui_.debugChoice.reportLoadFailures = true;
}

Outcome Runner::Run(Kind kind, unsigned seed, int index)
{
    Outcome outcome;
    if (graphics_.empty() || text_.empty() || bitmaps_.back().empty()) {
        outcome.problem = "the shipped skin's files were not found";
        return outcome;
    }
    const Sample sample = kind == Kind::Bitmap ? DamagedBitmap(bitmaps_, seed, index)
                          : kind == Kind::Graphics ? DamagedDocument(graphics_, "QorAppGraphics", seed, index)
                                                   : DamagedDocument(text_, "QorAppText", seed, index);
    outcome.what = sample.what;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (kind == Kind::Bitmap)
        RunBitmap(sample, &outcome);
    else
        RunDocument(kind, sample, &outcome);
    outcome.seconds = Seconds(start);
    if (outcome.problem.empty() && outcome.seconds > kHangSeconds)
        outcome.problem = "took " + std::to_string(outcome.seconds) + " s";
    return outcome;
}

void Runner::RunBitmap(const Sample& sample, Outcome* outcome)
{
    const std::string path = scratch_ + "damaged.bmp";
    if (!WriteFile(path, sample.bytes)) {
        outcome->problem = "could not write " + path;
        return;
    }
    HBITMAP bitmap = nullptr;
    outcome->loaded = EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap);
    const bool sound = skelda::CheckBitmapFile({reinterpret_cast<const std::uint8_t*>(sample.bytes.data()),
                                                sample.bytes.size()}) == skelda::BitmapFault::None;
    if (outcome->loaded && !sound)
        outcome->problem = "a damaged bitmap reached the system's loader and loaded";
    if (bitmap) {
        UseBitmap(bitmap);
        DeleteObject(bitmap);
    }
}

void Runner::RunDocument(Kind kind, const Sample& sample, Outcome* outcome)
{
    const std::string path = scratch_ + (kind == Kind::Graphics ? "damaged-graphics.xml" : "damaged-text.xml");
    if (!WriteFile(path, sample.bytes)) {
        outcome->problem = "could not write " + path;
        return;
    }
    app_.SetString("GraphicsDataXMLFilename", kind == Kind::Graphics ? path : graphicsPath_);
    app_.SetString("TextXMLFilename", kind == Kind::Text ? path : textPath_);
    ui_.messages.clear();
    outcome->loaded = api_.InitializeGraphicsEngine(app_.Name(), kNoClient, 1033);
    if (outcome->loaded) {
        std::string title;
        api_.GetText(102, &title);
        if (sample.declaresDocumentType)
            outcome->problem = "a document with a document type was accepted";
        else if (!ui_.messages.empty())
            outcome->problem = "started but showed \"" + ui_.messages.back().text + "\"";
        else if (kind == Kind::Text)
            CheckFonts(outcome);
    } else {
        const char* expected = kind == Kind::Graphics ? kGraphicsFailed : kTextFailed;
        if (ui_.messages.empty() || ui_.messages.back().text != expected)
            outcome->problem = std::string("failed without \"") + expected + "\"" +
                               (ui_.messages.empty() ? "" : ", last said \"" + ui_.messages.back().text + "\"");
        else if (sample.declaresDocumentType && kind == Kind::Graphics && !ui_.Shown(kLoadFailedPrefix))
            outcome->problem = "a document type was refused without the load failure message";
    }
    api_.ShutdownCleanup();
}

void Runner::CheckFonts(Outcome* outcome)
{
    QorText_API text;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 64, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldCanvas = SelectObject(dc, canvas);
    for (const auto& [dialog, control] : fontControls_) {
        LOGFONTA font;
        if (!text.GetFontInfo(dialog, control, &font))
            continue;
        if (std::abs(font.lfHeight) > 512 || std::abs(font.lfWidth) > 512 || font.lfWeight < 0 || font.lfWeight > 1000) {
            outcome->problem = "font of control " + std::to_string(control) + " read as " +
                               std::to_string(font.lfHeight) + " / " + std::to_string(font.lfWidth) + " / " +
                               std::to_string(font.lfWeight);
            break;
        }
        HFONT made = CreateFontIndirectA(&font);
        HGDIOBJ oldFont = SelectObject(dc, made);
        RECT rect{0, 0, 64, 32};
        DrawTextA(dc, "Wg", 2, &rect, DT_SINGLELINE);
        SelectObject(dc, oldFont);
        DeleteObject(made);
    }
    SelectObject(dc, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(dc);
}

}  // namespace damage
