// The skin as Windows reads it: both XML files through MSXML, every bitmap and icon they
// name through the system loader, and every dialog template built by the dialog manager.
// Prints the load times.
#include <windows.h>
#include <commctrl.h>
#include <msxml2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../../app/resources/ControlIds.h"
#include "../../app/shell/MessageIds.h"
#include "../../skin/resources/SkeldaDialogIds.h"
#include "TestSupport.h"

namespace {

const CLSID kDomDocument = {0xF6D90F11, 0x9C73, 0x11D3,
                            {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};

template <class T>
class Com {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() { if (p_) p_->Release(); }
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
private:
    T* p_ = nullptr;
};

class Bstr {
public:
    explicit Bstr(const wchar_t* s) : b_(SysAllocString(s)) {}
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR* Out() { return &b_; }
    operator BSTR() const { return b_; }
    std::wstring Str() const { return b_ ? std::wstring(b_) : std::wstring(); }
private:
    BSTR b_ = nullptr;
};

double Ms(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 * double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

std::string Narrow(const std::wstring& s)
{
    std::string out;
    for (wchar_t c : s) out += static_cast<char>(c);
    return out;
}

class SkinFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }

    static std::string SkinDir() { return testsupport::ModuleDir() + "Skins\\Skin\\"; }

    // Loads one skin file into a fresh DOM document. The bytes go in through a memory
    // stream: a load by path pulls in urlmon and WinINet, whose threads now and then keep
    // a Wine process from exiting.
    void Load(const char* name, Com<IXMLDOMDocument>& doc)
    {
        ASSERT_EQ(S_OK, CoCreateInstance(kDomDocument, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IXMLDOMDocument, reinterpret_cast<void**>(doc.Out())));
        doc->put_async(VARIANT_FALSE);
        std::string bytes;
        ASSERT_TRUE(ReadFile(SkinDir() + name, &bytes)) << name;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        ASSERT_NE(nullptr, mem);
        std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
        GlobalUnlock(mem);
        Com<IStream> stream;
        ASSERT_EQ(S_OK, CreateStreamOnHGlobal(mem, TRUE, stream.Out()));
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_UNKNOWN;
        source.punkVal = stream.Get();
        VARIANT_BOOL ok = VARIANT_FALSE;
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        const HRESULT hr = doc->load(source, &ok);
        QueryPerformanceCounter(&t1);
        ASSERT_EQ(S_OK, hr) << name;
        ASSERT_EQ(VARIANT_TRUE, ok) << name << " does not parse";
        std::printf("%s (%zu bytes) parsed by MSXML in %.1f ms\n", name, bytes.size(), Ms(t0, t1));
    }

    static bool ReadFile(const std::string& path, std::string* out)
    {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) return false;
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) out->append(buf, n);
        std::fclose(f);
        return !out->empty();
    }

    static long Count(IXMLDOMNode* root, const wchar_t* xpath)
    {
        Com<IXMLDOMNodeList> list;
        Bstr query(xpath);
        if (FAILED(root->selectNodes(query, list.Out())) || !list.Get()) return -1;
        long n = 0;
        list->get_length(&n);
        return n;
    }
};

TEST_F(SkinFiles, EveryBitmapTheGraphicsFileNamesLoads)
{
    Com<IXMLDOMDocument> doc;
    Load("Graphics1033.xml", doc);
    EXPECT_GE(Count(doc.Get(), L"QorAppGraphics/QorDlg"), 13);
    EXPECT_EQ(1, Count(doc.Get(), L"QorAppGraphics/QorMessageDlg"));
    EXPECT_EQ(1, Count(doc.Get(), L"QorAppGraphics/QorDlg[@DlgName='MenuDlg']"));

    Com<IXMLDOMNodeList> elements;
    Bstr all(L"//*");
    ASSERT_EQ(S_OK, doc->selectNodes(all, elements.Out()));
    long n = 0;
    elements->get_length(&n);
    int loaded = 0;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    for (long i = 0; i < n; ++i) {
        Com<IXMLDOMNode> node;
        Com<IXMLDOMNamedNodeMap> attrs;
        ASSERT_EQ(S_OK, elements->get_item(i, node.Out()));
        if (FAILED(node->get_attributes(attrs.Out())) || !attrs.Get()) continue;
        long count = 0;
        attrs->get_length(&count);
        for (long a = 0; a < count; ++a) {
            Com<IXMLDOMNode> attr;
            attrs->get_item(a, attr.Out());
            Bstr name;
            attr->get_nodeName(name.Out());
            VARIANT v;
            VariantInit(&v);
            attr->get_nodeValue(&v);
            const std::wstring key = name.Str(), text = v.vt == VT_BSTR ? v.bstrVal : L"";
            VariantClear(&v);
            const bool isFile = key.size() >= 10 && key.compare(key.size() - 10, 10, L"BitmapFile") == 0;
            if (!isFile || text.empty()) continue;
            const std::string path = SkinDir() + Narrow(text);
            const bool icon = text.size() > 4 && text.compare(text.size() - 4, 4, L".ico") == 0;
            HANDLE h = LoadImageA(nullptr, path.c_str(), icon ? IMAGE_ICON : IMAGE_BITMAP, 0, 0,
                                  LR_LOADFROMFILE | (icon ? 0 : LR_CREATEDIBSECTION));
            EXPECT_NE(nullptr, h) << path;
            if (!h) continue;
            if (!icon) {
                BITMAP bm{};
                GetObjectA(h, sizeof(bm), &bm);
                EXPECT_GT(bm.bmWidth, 0) << path;
                // Faces and large pictures carry a palette, control bitmaps are true colour.
                EXPECT_TRUE(bm.bmBitsPixel == 8 || bm.bmBitsPixel == 24) << path << " " << bm.bmBitsPixel;
                DeleteObject(h);
            } else {
                DestroyIcon(static_cast<HICON>(h));
            }
            ++loaded;
        }
    }
    QueryPerformanceCounter(&t1);
    EXPECT_GT(loaded, 200);
    std::printf("%d bitmap and icon references loaded in %.1f ms\n", loaded, Ms(t0, t1));
}

TEST_F(SkinFiles, EveryMessageTheProgramUsesHasAText)
{
    Com<IXMLDOMDocument> doc;
    Load("Text1033.xml", doc);
    for (int id : msg::kAll) {
        const std::wstring xpath =
            L"QorAppText/QorAppMessages/QorMessage[@MessageId='" + std::to_wstring(id) + L"']";
        Com<IXMLDOMNode> node;
        Bstr query(xpath.c_str());
        ASSERT_EQ(S_OK, doc->selectSingleNode(query, node.Out())) << "message " << id;
        Com<IXMLDOMElement> el;
        node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(el.Out()));
        VARIANT v;
        VariantInit(&v);
        Bstr attr(L"Text");
        ASSERT_EQ(S_OK, el->getAttribute(attr, &v)) << "message " << id;
        EXPECT_EQ(VT_BSTR, v.vt);
        EXPECT_GT(SysStringLen(v.bstrVal), 0u) << "message " << id;
        VariantClear(&v);
    }
    EXPECT_EQ(1, Count(doc.Get(), L"QorAppText/QorDlg[@DlgIdValue='99']"));
}

INT_PTR CALLBACK QuietProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(DialogTemplates, EveryTemplateBuildsWithItsControls)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    struct Expect { int dialog; int controls; std::vector<int> items; };
    const std::vector<Expect> dialogs = {
        {IDD_MAIN_DIALOG, 142, {IDC_VIDEO_AREA, IDC_POSITION_SLIDER, IDC_RECORD, IDC_PLAY,
                                IDC_STATUS_DISPLAY, IDC_TAB_CAPTURE, IDC_TAB_COLOR, IDC_APPLY,
                                IDC_RECENT_1, IDC_RECENT_4, IDC_LAUNCHER_1, IDC_LAUNCHER_8,
                                IDC_RECORDING_FOLDER, IDC_FINE_TUNE_SLIDER, IDC_INPUT_LIST,
                                IDC_CHANNEL_LIST, IDC_REMOTE_STATUS, IDC_VIDEO_ADJUSTER,
                                IDC_VIDEO_PLACEMENT, IDC_PREVIEW_ON, IDC_PREVIEW_OFF}},
        {IDD_ABOUT, 7, {IDOK, IDC_ABOUT_VERSION_1, IDC_ABOUT_VERSION_2}},
        {IDD_DETECT_SOURCE, 4, {IDCANCEL, IDC_DETECT_STATUS}},
        {IDD_FRAME_DROP_WARN, 8, {IDOK, IDCANCEL, IDC_DROP_BITRATE_SLIDER, IDC_DROP_IGNORE}},
        {IDD_SAVE_BITMAP, 5, {IDC_SNAP_FRAME, IDC_SNAP_PICTURE, IDC_SNAP_SAVE}},
        {IDD_SAP_CONFIG, 6, {IDC_SAP_ENABLE, IDC_SAP_LANGUAGE_A, IDC_SAP_LANGUAGE_B}},
        {IDD_PREVIEW_WAIT_RECON, 3, {IDC_RECON_MESSAGE}},
        {IDD_TIMED_PROMPT, 5, {IDC_TIMED_MESSAGE}},
        {IDD_CONFIG_RC, 5, {IDC_RC_LEARN, IDC_RC_STATUS}},
        {IDD_UPDATE, 3, {IDC_UPDATE_STATUS}},
        {IDD_UPDATE_ON_START, 5, {IDYES, IDNO, IDC_UPDATE_ALLOW}},
        {IDD_CUSTOM_TEMPLATE, 5, {IDC_TEMPLATE_NAME, IDOK, IDCANCEL}},
        {IDD_QOR_MESSAGE, 8, {1, 2, 3, 4, 5, 6, 7, IDC_QOR_MSG_CAPTION}},
        {IDD_QOR_MENU, 43, {IDC_QOR_MENU_FIRST, IDC_QOR_MENU_LAST_LOW, IDC_QOR_MENU_FIRST_HIGH,
                            IDC_QOR_MENU_LAST}},
    };
    for (const auto& d : dialogs) {
        HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(d.dialog),
                                      nullptr, QuietProc, 0);
        ASSERT_NE(nullptr, dlg) << "dialog " << d.dialog << " error " << GetLastError();
        int children = 0;
        EnumChildWindows(dlg, CountChild, reinterpret_cast<LPARAM>(&children));
        EXPECT_GE(children, d.controls) << "dialog " << d.dialog;
        for (int item : d.items)
            EXPECT_NE(nullptr, GetDlgItem(dlg, item)) << "dialog " << d.dialog << " item " << item;
        // The plain template, before any skin: kept for review next to the skin previews.
        ShowWindow(dlg, SW_SHOWNOACTIVATE);
        testsupport::PumpMessages(150);
        const auto shot = testsupport::CaptureWindow(dlg);
        // The menu's template holds only hidden controls; its entries appear when added.
        if (d.dialog != IDD_QOR_MENU) {
            EXPECT_GT(shot.DistinctColours(), 2u) << "dialog " << d.dialog << " drew nothing";
        }
        shot.SaveBmp(testsupport::OutputDir() + "template_" + std::to_string(d.dialog) + ".bmp");
        DestroyWindow(dlg);
    }
}

}  // namespace
