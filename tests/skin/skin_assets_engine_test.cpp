// The skin and text files as the program meets them: the graphics engine started over the
// real skin next to this program, the skin file model's own lookups on the engine's document,
// the text library's tables and the engine's bitmap loader. Every dialog template linked into
// this program (the program's and the library's) is built and each of its controls looked up.
// Prints the start-up and bitmap load times.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../../app/resources/ControlIds.h"
#include "../../app/shell/MessageIds.h"
#include "../../skin/resources/SkeldaDialogIds.h"
#include "EBitmapUtilities.h"
#include "EngineTestSupport.h"
#include "QorControlTypes.h"
#include "QorGraphicsEngineAPI.h"
#include "QorText_API.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "TestSupport.h"

namespace sf = skelda::skinfile;

namespace {

double MsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

struct TemplateControl {
    int id;
    std::string windowClass;
};

BOOL CALLBACK CollectDialogId(HMODULE, LPCSTR, LPSTR name, LONG_PTR out)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(out)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// Every dialog template of this program's resources.
std::vector<int> TemplateDialogIds()
{
    std::vector<int> ids;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_DIALOG, CollectDialogId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

INT_PTR CALLBACK QuietProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

// The controls the dialog manager builds from a template (its direct children: a combo box's
// own edit is not a template control). Unnamed statics (-1) are left out.
std::vector<TemplateControl> TemplateControls(int dialogId)
{
    std::vector<TemplateControl> controls;
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialogId), nullptr, QuietProc, 0);
    if (!dialog)
        return controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = static_cast<int>(static_cast<short>(GetDlgCtrlID(child)));
        char name[64] = {};
        GetClassNameA(child, name, sizeof(name));
        if (id != -1)
            controls.push_back({id, name});
    }
    DestroyWindow(dialog);
    return controls;
}

std::string Tag(IXMLDOMNode* element)
{
    std::string tag;
    qorxml::TagName(element, &tag);
    std::string type;
    if (sf::ReadText(element, "ControlType", &type))
        tag += " " + type;
    return tag;
}

// Which skin elements a template control of a window class may have.
bool KindFits(const std::string& windowClass, const std::string& tag)
{
    static const std::map<std::string, std::set<std::string>> allowed = {
        {"button", {"QorBtnControl", "QorGenericControl GenericPlacementControl"}},
        {"static", {"QorTransStaticControl", "QorGenericControl GenericPlacementControl"}},
        {"edit", {"QorEditControl"}},
        {"msctls_trackbar32", {"QorSliderControl", "QorGenericControl GenericSlider"}},
        {"combobox", {"QorGenericControl GenericComboBox"}},
        {"syslistview32", {"QorGenericControl GenericListControl"}},
        {"msctls_progress32", {"QorGenericControl GenericProgressBar"}},
        {"msctls_updown32", {"QorGenericControl GenericSpinButton"}},
    };
    std::string lower = windowClass;
    for (char& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    const auto found = allowed.find(lower);
    return found != allowed.end() && found->second.count(tag) > 0;
}

class SkinThroughEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        ui_ = new enginetest::RecordingUi;
        const LARGE_INTEGER start = Now();
        started_ = QorGraphicsEngineAPI().InitializeGraphicsEngine(
            "MarovinSkinAssetsTest", "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033);
        std::printf("engine started over the real skin (text file and graphics file) in %.1f ms\n", MsSince(start));
    }
    static void TearDownTestSuite()
    {
        QorGraphicsEngineAPI().ShutdownCleanup();
        delete ui_;
        ui_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(started_) << "the engine did not start over the skin next to this program";
        ASSERT_TRUE(api_.GetGraphicsDocument(document_.Put()));
        paths_ = {api_.GetParentFolder(), EBitmapUtilities::UsingResource()};
    }

    IXMLDOMNode* Document() const { return document_.Get(); }

    static sf::TemplateLookup Templates()
    {
        // The lookup hands out a borrowed node; the engine's list keeps it alive.
        return [](const std::string& name) -> IXMLDOMNode* {
            win::ComPtr<IXMLDOMNode> element;
            if (!QorGraphicsEngineAPI().GetButtonTemplate(name, element.Put()))
                return nullptr;
            return element.Get();
        };
    }

    QorGraphicsEngineAPI api_;
    QorText_API text_;
    win::ComPtr<IXMLDOMDocument> document_;
    sf::PathContext paths_;
    static enginetest::RecordingUi* ui_;
    static bool started_;
};

enginetest::RecordingUi* SkinThroughEngine::ui_ = nullptr;
bool SkinThroughEngine::started_ = false;

TEST_F(SkinThroughEngine, TheEngineFoundTheSkinNextToTheProgram)
{
    EXPECT_NE(std::string::npos, api_.GetGraphicsFilePath().find("Skins\\Skin\\Graphics1033.xml"));
    EXPECT_NE(std::string::npos, api_.GetTextFilePath().find("Skins\\Skin\\Text1033.xml"));
    EXPECT_GT(api_.GetButtonTemplateCount(), 0);
    EXPECT_TRUE(ui_->messages.empty()) << ui_->messages.front().text;
}

TEST_F(SkinThroughEngine, EveryTemplateControlHasItsSkinElementAndText)
{
    const std::vector<int> dialogs = TemplateDialogIds();
    ASSERT_GE(dialogs.size(), 14u) << "the program's companion dialogs and the library's 98 and 99";
    int checked = 0;
    for (int dialogId : dialogs) {
        SCOPED_TRACE("dialog " + std::to_string(dialogId));
        const std::vector<TemplateControl> controls = TemplateControls(dialogId);
        ASSERT_FALSE(controls.empty());
        win::ComPtr<IXMLDOMNode> dialog;
        if (dialogId == IDD_QOR_MESSAGE)
            ASSERT_TRUE(sf::FindMessageDialog(Document(), &dialog));
        else
            ASSERT_TRUE(sf::FindDialogById(Document(), dialogId, &dialog));
        std::string name, background;
        ASSERT_TRUE(sf::ReadText(dialog.Get(), "DlgName", &name));
        ASSERT_TRUE(sf::ReadText(dialog.Get(), "DlgBitmapFile", &background)) << name;
        if (dialogId != IDD_QOR_MESSAGE) {
            // Dialogs initialise by name: the name must lead back to this very element.
            win::ComPtr<IXMLDOMNode> byName;
            ASSERT_TRUE(sf::FindDialogByName(Document(), name, &byName));
            int id = 0;
            EXPECT_TRUE(sf::ReadInt(byName.Get(), "DlgIdValue", &id));
            EXPECT_EQ(dialogId, id) << name << " is not unique";
        }
        std::set<int> placedChildren;
        qorxml::ForEachChildElement(dialog.Get(), [&](IXMLDOMNode* element) {
            int child = 0;
            if (Tag(element) == "QorGenericControl GenericPlacementControl" && sf::ReadInt(element, "ChildControlId", &child))
                placedChildren.insert(child);
            return true;
        });
        const bool library = dialogId == IDD_QOR_MESSAGE || dialogId == IDD_QOR_MENU;
        for (const TemplateControl& control : controls) {
            SCOPED_TRACE(name + " control " + std::to_string(control.id) + " (" + control.windowClass + ")");
            // The message box's buttons and all of the menu's controls share one element.
            const bool shared = dialogId == IDD_QOR_MENU || (dialogId == IDD_QOR_MESSAGE && control.id <= IDNO);
            win::ComPtr<IXMLDOMNode> element;
            const bool found = sf::FindControlById(dialog.Get(), shared ? kSharedControlEntryId : control.id, &element);
            if (!found && placedChildren.count(control.id))
                continue;
            ASSERT_TRUE(found) << "no skin element";
            EXPECT_TRUE(KindFits(control.windowClass, Tag(element.Get()))) << Tag(element.Get());
            ++checked;
            if (library)
                continue;
            bool usesTemplate = false;
            std::string templateName;
            EXPECT_TRUE(text_.IsControlUsingTemplate(dialogId, control.id, &usesTemplate, &templateName))
                << "no text entry";
            LOGFONTA font{};
            EXPECT_TRUE(text_.GetFontInfo(dialogId, control.id, &font));
            EXPECT_NE('\0', font.lfFaceName[0]) << "no font face";
            EXPECT_NE(0, font.lfHeight);
            const std::string tag = Tag(element.Get());
            if (tag == "QorBtnControl") {
                QorButtonTextSettings settings;
                EXPECT_TRUE(text_.GetButtonCtrlInfo(dialogId, control.id, &settings)) << "incomplete button texts";
                std::string captions[4], tooltips[4];
                text_.GetButtonControlCaptions(dialogId, control.id, captions);
                text_.GetButtonControlTooltips(dialogId, control.id, tooltips);
                EXPECT_FALSE(captions[0].empty() && tooltips[0].empty()) << "neither caption nor tooltip";
            } else if (tag == "QorTransStaticControl") {
                QorStaticTextSettings settings;
                EXPECT_TRUE(text_.GetStaticCtrlInfo(dialogId, control.id, &settings)) << "incomplete static texts";
            } else if (tag == "QorEditControl") {
                QorEditTextSettings settings;
                EXPECT_TRUE(text_.GetEditCtrlInfo(dialogId, control.id, &settings)) << "incomplete edit texts";
            }
        }
    }
    EXPECT_GT(checked, 240);
}

TEST_F(SkinThroughEngine, TheMessageBoxHasItsCaptionsAndColours)
{
    win::ComPtr<IXMLDOMNode> texts;
    ASSERT_TRUE(text_.GetQorMsgDlglNode(texts.Put()));
    for (const char* attribute : {"ID_OK_Caption", "ID_CANCEL_Caption", "ID_ABORT_Caption", "ID_RETRY_Caption",
                                  "ID_IGNORE_Caption", "ID_YES_Caption", "ID_NO_Caption", "MessageTextColor",
                                  "CaptionTextColor"}) {
        std::string value;
        EXPECT_TRUE(sf::ReadText(texts.Get(), attribute, &value)) << attribute;
    }
}

TEST_F(SkinThroughEngine, EveryMessageTheProgramUsesHasAText)
{
    for (int id : msg::kAll) {
        std::string text;
        EXPECT_TRUE(api_.GetText(id, &text)) << "message " << id;
        // A text meant only for the log begins with "|"; any other shows the user words.
        if (text.empty() || text[0] != '|') {
            EXPECT_NE(std::string::npos, text.find_first_not_of(" |")) << "message " << id;
        }
    }
}

TEST_F(SkinThroughEngine, EveryButtonsStateBitmapsLoadAtTheUpBitmapsSize)
{
    int buttons = 0;
    win::ComPtr<IXMLDOMNodeList> elements;
    ASSERT_TRUE(qorxml::SelectAll(Document(), "QorAppGraphics/*/QorBtnControl", &elements));
    long count = 0;
    elements->get_length(&count);
    for (long i = 0; i < count; ++i) {
        win::ComPtr<IXMLDOMNode> button;
        ASSERT_EQ(S_OK, elements->get_item(i, button.Put()));
        ButtonDataStruct data;
        sf::ReadButtonData(button.Get(), Templates(), paths_, false, &data);
        SCOPED_TRACE("button " + data.controlName);
        HBITMAP up = nullptr;
        ASSERT_TRUE(EBitmapUtilities::LoadDibSectionFromFile(data.bitmapFiles[0], &up)) << data.bitmapFiles[0];
        BITMAP upInfo{};
        GetObjectA(up, sizeof(upInfo), &upInfo);
        DeleteObject(up);
        for (int slot = 1; slot < 16; ++slot) {
            if (data.bitmapFiles[slot].empty())
                continue;
            HBITMAP bitmap = nullptr;
            ASSERT_TRUE(EBitmapUtilities::LoadDibSectionFromFile(data.bitmapFiles[slot], &bitmap))
                << data.bitmapFiles[slot];
            BITMAP info{};
            GetObjectA(bitmap, sizeof(info), &info);
            DeleteObject(bitmap);
            EXPECT_EQ(upInfo.bmWidth, info.bmWidth) << data.bitmapFiles[slot];
            EXPECT_EQ(upInfo.bmHeight, info.bmHeight) << data.bitmapFiles[slot];
        }
        ++buttons;
    }
    EXPECT_GT(buttons, 90);
}

// Every attribute that names a file, anywhere in the graphics file, through the engine.
TEST_F(SkinThroughEngine, EveryBitmapTheSkinNamesLoadsThroughTheEngine)
{
    std::vector<std::pair<std::string, std::string>> files;  // element tag, stored path
    std::function<void(IXMLDOMNode*)> walk = [&](IXMLDOMNode* node) {
        win::ComPtr<IXMLDOMNamedNodeMap> attributes;
        if (SUCCEEDED(node->get_attributes(attributes.Put())) && attributes) {
            long count = 0;
            attributes->get_length(&count);
            for (long i = 0; i < count; ++i) {
                win::ComPtr<IXMLDOMNode> attribute;
                std::string name, value;
                if (FAILED(attributes->get_item(i, attribute.Put())) || !qorxml::NodeName(attribute.Get(), &name))
                    continue;
                if (name.size() >= 10 && name.compare(name.size() - 10, 10, "BitmapFile", 10) == 0 &&
                    sf::ReadText(node, name.c_str(), &value))
                    files.push_back({Tag(node), value});
            }
        }
        qorxml::ForEachChildElement(node, [&](IXMLDOMNode* child) {
            walk(child);
            return true;
        });
    };
    win::ComPtr<IXMLDOMElement> root;
    ASSERT_TRUE(qorxml::DocumentElement(document_.Get(), "QorAppGraphics", &root));
    walk(root.Get());
    ASSERT_GT(files.size(), 200u);

    const LARGE_INTEGER start = Now();
    size_t pixels = 0;
    int icons = 0;
    for (const auto& [tag, stored] : files) {
        SCOPED_TRACE(tag + " " + stored);
        if (stored.size() > 4 && _stricmp(stored.c_str() + stored.size() - 4, ".ico") == 0) {
            std::string path = stored;
            ASSERT_TRUE(sf::ResolveStoredPath(paths_.parentFolder, paths_.usingResource, &path));
            HICON icon = EBitmapUtilities::LoadLargeIconFromFile(path);
            EXPECT_NE(nullptr, icon);
            if (icon)
                DestroyIcon(icon);
            ++icons;
            continue;
        }
        HBITMAP bitmap = nullptr;
        ASSERT_TRUE(api_.GetBitmap(stored, &bitmap));
        BITMAP info{};
        GetObjectA(bitmap, sizeof(info), &info);
        DeleteObject(bitmap);
        EXPECT_GT(info.bmWidth, 0);
        EXPECT_GT(info.bmHeight, 0);
        // Palette or true colour; nothing the region tracer and blitter would not read.
        EXPECT_TRUE(info.bmBitsPixel == 8 || info.bmBitsPixel == 24) << info.bmBitsPixel << " bits";
        pixels += size_t(info.bmWidth) * size_t(info.bmHeight);
    }
    std::printf("%zu bitmap references (%d icons, %.1f Mpixel) loaded through the engine in %.1f ms\n", files.size(),
                icons, double(pixels) / 1e6, MsSince(start));
}

// The largest bitmap: how long the main face takes to load and to cut the window's outline
// from, and that it stays a sensible size on disk.
TEST_F(SkinThroughEngine, TheMainFaceIsLeanAndCutsTheWindowOutline)
{
    win::ComPtr<IXMLDOMNode> main;
    ASSERT_TRUE(sf::FindDialogByName(Document(), "MainDialog", &main));
    std::string stored;
    ASSERT_TRUE(sf::ReadText(main.Get(), "DlgBitmapFile", &stored));
    std::string path = stored;
    ASSERT_TRUE(sf::ResolveStoredPath(paths_.parentFolder, paths_.usingResource, &path));
    WIN32_FILE_ATTRIBUTE_DATA file{};
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file));
    EXPECT_LE(file.nFileSizeLow, 512u * 1024u) << "the main face should not take megabytes";
    EXPECT_EQ(0u, file.nFileSizeHigh);

    const int rounds = 5;
    double loadMs = 0, regionMs = 0;
    BITMAP info{};
    for (int i = 0; i < rounds; ++i) {
        LARGE_INTEGER start = Now();
        HBITMAP face = nullptr;
        ASSERT_TRUE(api_.GetBitmap(stored, &face));
        loadMs += MsSince(start);
        GetObjectA(face, sizeof(info), &info);
        start = Now();
        HRGN region = EBitmapUtilities::BuildRegion(face, SKIN_TRANSPARENT_COLOR, nullptr, nullptr);
        regionMs += MsSince(start);
        DeleteObject(face);
        ASSERT_NE(nullptr, region);
        EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the key-coloured corner is cut away";
        EXPECT_TRUE(PtInRegion(region, info.bmWidth / 2, info.bmHeight / 2));
        EXPECT_TRUE(PtInRegion(region, 24, info.bmHeight / 2)) << "the face's left edge is inside";
        DeleteObject(region);
    }
    std::printf("main face %s: %ldx%ld, %d bpp, %lu bytes; load %.2f ms, outline region %.2f ms (mean of %d)\n",
                stored.c_str(), info.bmWidth, info.bmHeight, info.bmBitsPixel, file.nFileSizeLow, loadMs / rounds,
                regionMs / rounds, rounds);
}

TEST_F(SkinThroughEngine, TheMainWindowsAuxiliaryPicturesAreThere)
{
    win::ComPtr<IXMLDOMNode> main;
    ASSERT_TRUE(sf::FindDialogByName(Document(), "MainDialog", &main));
    std::map<int, std::string> aux;
    for (const sf::AuxBitmapEntry& entry : sf::ReadAuxBitmapEntries(main.Get(), paths_))
        aux[entry.entryId] = entry.path;
    ASSERT_TRUE(aux.count(1)) << "idle picture";
    HBITMAP idle = nullptr;
    ASSERT_TRUE(EBitmapUtilities::LoadDibSectionFromFile(aux[1], &idle));
    BITMAP info{};
    GetObjectA(idle, sizeof(info), &info);
    DeleteObject(idle);
    win::ComPtr<IXMLDOMNode> video;
    ASSERT_TRUE(sf::FindControlById(main.Get(), IDC_VIDEO_AREA, &video));
    int width = 0, height = 0;
    ASSERT_TRUE(sf::ReadInt(video.Get(), "ControlWidth", &width));
    ASSERT_TRUE(sf::ReadInt(video.Get(), "ControlHeight", &height));
    EXPECT_GE(info.bmWidth, width) << "the idle picture covers the video area";
    EXPECT_GE(info.bmHeight, height);
    EXPECT_GE(width, 352);
    EXPECT_GE(height, 288);
}

}  // namespace
