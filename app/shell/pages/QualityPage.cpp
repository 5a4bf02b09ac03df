#include "QualityPage.h"

#include <olectl.h>

#include <algorithm>

#include "CaptureDevices.h"
#include "CaptureGraph.h"
#include "ControlIds.h"
#include "EncoderDerivation.h"
#include "TemplateDialog.h"
#include "TemplateStore.h"
#include "VideoSources.h"

namespace pages {
namespace {

constexpr int kChoiceButtons[kChoiceCount] = {IDC_MODE_VCD, IDC_MODE_MPEG1_LOW, IDC_MODE_MPEG1_NORMAL,
                                              IDC_MODE_SVCD, IDC_MODE_DVD, IDC_MODE_CUSTOM};
constexpr int kLockedControls[] = {IDC_MODE_VCD,     IDC_MODE_MPEG1_LOW,  IDC_MODE_MPEG1_NORMAL, IDC_MODE_SVCD,
                                   IDC_MODE_DVD,     IDC_MODE_CUSTOM,     IDC_DVD_BITRATE,       IDC_TEMPLATE_LIST,
                                   IDC_TEMPLATE_NEW, IDC_TEMPLATE_DELETE, IDC_DEVICE_PROPERTIES};
constexpr std::uint32_t kStandards525 = 0xA07;

settings::CustomTemplate TemplateOf(const encoder::ModeAndStandard& pair, const encoder::EncoderParams& params)
{
    settings::CustomTemplate t;
    t.captureMode = static_cast<int>(pair.mode);
    t.captureStandard = static_cast<int>(pair.standard);
    t.horzResolution = static_cast<int>(params.HorzResolution);
    t.vertResolution = static_cast<int>(params.VertResolution);
    t.bitRate = static_cast<int>(params.BitRate);
    t.peakBitRate = static_cast<int>(params.dwPeakBitRate);
    t.iFrameDist = static_cast<int>(params.IFrameDist);
    t.pFrameDist = static_cast<int>(params.PFrameDist);
    t.vbr = static_cast<int>(params.bVBR);
    t.audioType = static_cast<int>(params.AudioType);
    t.audSamplingFreq = static_cast<int>(params.ulAudSamplingFreq);
    t.audioMpegBitRate = static_cast<int>(params.ulAudioMpegBitRate);
    t.pullDown32 = static_cast<int>(params.PullDown32);
    return t;
}

}  // namespace

std::vector<int> QualityPage::Controls() const
{
    std::vector<int> ids;
    for (int id = IDC_QUALITY_LABEL; id <= IDC_DEVICE_PROPERTIES; ++id)
        ids.push_back(id);
    return ids;
}

void QualityPage::Create()
{
    ReadDevice();
    FillDvdBox();
    FillTemplateBox();
    if (m_host.Settings().setupMode == 3)
        LoadCustomTemplate();
    ShowChoice();
    EnableControls();
    RefreshDescription();
}

void QualityPage::Show()
{
    // Radio buttons of other pages share the window's one group: the checks are set again.
    ShowChoice();
}

void QualityPage::DeviceChanged()
{
    ReadDevice();
    FillDvdBox();
    if (m_host.Settings().setupMode == 3)
        LoadCustomTemplate();
    ShowChoice();
    EnableControls();
    RefreshDescription();
    m_pending = false;
}

void QualityPage::ReadDevice()
{
    // Without a built graph the device cannot be asked: what it said last still holds.
    capture::CaptureGraph* engine = m_host.Engine();
    if (engine == nullptr || engine->CaptureFilter() == nullptr)
        return;
    m_busType.reset();
    m_deviceMaximum.reset();
    m_mpeg1.reset();
    int bus = 0;
    if (SUCCEEDED(devices::GetBusType(engine->CaptureFilter(), &bus)))
        m_busType = bus;
    std::uint32_t minimum = 0, maximum = 0;
    if (SUCCEEDED(engine->Encoder().GetBitRateRange(minimum, maximum)) && maximum > 0)
        m_deviceMaximum = DeviceMaxBitRate(TreatAsUsb11(m_busType), maximum, m_host.Settings().maxBitRateFromDriver == 1);
    encoder::ModeAndStandard request;
    request.mode = encoder::kModeMpeg1;
    request.standard = engine->Is525Line() ? encoder::kStandard525 : encoder::kStandard625;
    std::uint32_t words[encoder::kCapabilityWords] = {};
    m_mpeg1 = SUCCEEDED(engine->Encoder().GetCapabilities(request, words));

    // The stored DVD rate follows the device: lowered to its maximum, or the safe 4 Mbps when
    // the driver would not say.
    settings::CaptureSettings& s = m_host.Settings();
    const int rate = DvdRateForDevice(s.dvdBitrate, m_deviceMaximum);
    if (rate != s.dvdBitrate) {
        s.dvdBitrate = rate;
        m_host.SaveSettings();
    }
}

void QualityPage::FillDvdBox()
{
    HWND box = m_host.Window().GetDlgItem(IDC_DVD_BITRATE);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (const DvdRateEntry& entry : DvdRateEntries(TreatAsUsb11(m_busType))) {
        const LRESULT item = ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
        if (item >= 0)
            ::SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(item), entry.rate);
    }
    ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(DvdEntryFor(m_host.Settings().dvdBitrate)), 0);
}

void QualityPage::ShowChoice()
{
    const QualityChoice chosen = ChoiceOf(m_host.Settings());
    for (int choice = 0; choice < kChoiceCount; ++choice)
        m_host.Window().CheckDlgButton(kChoiceButtons[choice], choice == chosen ? BST_CHECKED : BST_UNCHECKED);
}

void QualityPage::EnableControls()
{
    settings::CaptureSettings& s = m_host.Settings();
    DeviceOffer offer;
    offer.family = DeviceFamily(s.deviceName);
    offer.codecApi = m_host.Engine() != nullptr && m_host.Engine()->Encoder().DeviceType() == encoder::kDeviceTypeCodecApi;
    offer.vcdControl = s.vcdControl != 0;
    offer.svcdControl = s.svcdControl != 0;
    offer.dvdControl = s.dvdControl != 0;
    offer.mpeg1 = m_mpeg1;
    offer.maxBitRate = m_deviceMaximum;
    m_enabled = EnabledChoices(offer);

    // A choice the device cannot record gives way to one it can.
    const QualityChoice chosen = ChoiceOf(s);
    const QualityChoice usable = ReplaceDisabled(chosen, m_enabled);
    if (usable != chosen) {
        Choose(usable);
        return;
    }
    CWnd& window = m_host.Window();
    for (int choice = 0; choice < kChoiceCount; ++choice)
        ::EnableWindow(window.GetDlgItem(kChoiceButtons[choice]), m_enabled[choice] && !m_locked);
    ::EnableWindow(window.GetDlgItem(IDC_DVD_BITRATE), m_enabled[kChoiceDvd] && !m_locked);
    const bool custom = chosen == kChoiceCustom;
    ::EnableWindow(window.GetDlgItem(IDC_TEMPLATE_LIST), custom && !m_locked);
    ::EnableWindow(window.GetDlgItem(IDC_TEMPLATE_NEW), !m_locked);
    ::EnableWindow(window.GetDlgItem(IDC_TEMPLATE_DELETE), custom && !s.templateNames.empty() && !m_locked);
    ::EnableWindow(window.GetDlgItem(IDC_DEVICE_PROPERTIES), m_host.Engine() != nullptr && !m_locked);
}

void QualityPage::Lock(bool locked)
{
    m_locked = locked;
    if (locked) {
        for (int id : kLockedControls)
            ::EnableWindow(m_host.Window().GetDlgItem(id), FALSE);
        return;
    }
    EnableControls();
}

bool QualityPage::OnCommand(int id, int code)
{
    if (m_locked)
        return true;
    for (int choice = 0; choice < kChoiceCount; ++choice) {
        if (id == kChoiceButtons[choice]) {
            if (code == BN_CLICKED)
                Choose(static_cast<QualityChoice>(choice));
            return true;
        }
    }
    switch (id) {
    case IDC_DVD_BITRATE:
        if (code == CBN_SELCHANGE)
            ChooseDvdRate(static_cast<int>(m_host.Window().SendDlgItemMessage(IDC_DVD_BITRATE, CB_GETCURSEL)));
        return true;
    case IDC_TEMPLATE_LIST:
        if (code == CBN_SELCHANGE)
            SelectCustomTemplate();
        return true;
    case IDC_TEMPLATE_NEW:
        if (code == BN_CLICKED)
            NewTemplate();
        return true;
    case IDC_TEMPLATE_DELETE:
        if (code == BN_CLICKED)
            DeleteCustomTemplate();
        return true;
    case IDC_DEVICE_PROPERTIES:
        if (code == BN_CLICKED)
            ShowDeviceProperties();
        return true;
    default:
        return false;
    }
}

void QualityPage::Choose(QualityChoice choice)
{
    settings::CaptureSettings& s = m_host.Settings();
    if (choice < 0 || choice >= kChoiceCount || !m_enabled[choice]) {
        ShowChoice();
        return;
    }
    if (choice == kChoiceCustom) {
        // The custom mode needs a template: the user names one first.
        if (s.templateNames.empty()) {
            NewTemplate();
            if (s.templateNames.empty()) {
                ShowChoice();
                return;
            }
        }
        SetChoice(s, kChoiceCustom);
        SelectCustomTemplate();
        ShowChoice();
        EnableControls();
        return;
    }
    SetChoice(s, choice);
    m_host.SaveSettings();
    ShowChoice();
    EnableControls();
    RefreshDescription();
    Changed();
}

void QualityPage::ChooseDvdRate(int entry)
{
    const auto entries = DvdRateEntries(TreatAsUsb11(m_busType));
    if (entry < 0 || entry >= static_cast<int>(entries.size()))
        return;
    settings::CaptureSettings& s = m_host.Settings();
    int rate = entries[static_cast<std::size_t>(entry)].rate;
    if (m_deviceMaximum && static_cast<std::uint32_t>(rate) > *m_deviceMaximum)
        rate = static_cast<int>(*m_deviceMaximum);
    // The rate is the DVD quality's and the current template's, whose peak may not be lower.
    s.dvdBitrate = rate;
    s.custom.bitRate = rate;
    s.custom.peakBitRate = std::max(s.custom.peakBitRate, rate);
    m_host.SaveSettings();
    ShowChoice();
    EnableControls();
    RefreshDescription();
    Changed();
}

bool QualityPage::LoadCustomTemplate()
{
    settings::CaptureSettings& s = m_host.Settings();
    if (s.setupMode != 3)
        return true;
    if (settings::ReadWholeTemplate(m_host.Store(), s.selectedTemplate, s.custom))
        return true;
    // A template with a value missing is not used: the device's own configuration stands in.
    capture::CaptureGraph* engine = m_host.Engine();
    encoder::EncoderParams params;
    encoder::ModeAndStandard pair;
    if (!engine || FAILED(engine->Encoder().GetEncoderParams(params)) ||
        FAILED(engine->Encoder().GetModeAndStandard(pair)))
        return false;
    s.custom = TemplateOf(pair, params);
    return true;
}

void QualityPage::FillTemplateBox()
{
    settings::CaptureSettings& s = m_host.Settings();
    HWND box = m_host.Window().GetDlgItem(IDC_TEMPLATE_LIST);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : s.templateNames)
        ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (!s.templateNames.empty()) {
        const LRESULT item = ::SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(s.selectedTemplate.c_str()));
        ::SendMessageA(box, CB_SETCURSEL, item == CB_ERR ? 0 : static_cast<WPARAM>(item), 0);
        if (item == CB_ERR)
            settings::SelectTemplate(m_host.Store(), s, s.templateNames.front());
        else
            s.templateSection = settings::TemplateSection(s.selectedTemplate);
        return;
    }
    if (settings::LeaveCustomModeWithoutTemplates(s)) {
        m_host.SaveSettings();
        ShowChoice();
        EnableControls();
        RefreshDescription();
        Changed();
    }
}

void QualityPage::DeleteCustomTemplate()
{
    settings::CaptureSettings& s = m_host.Settings();
    if (s.selectedTemplate.empty())
        return;
    settings::DeleteSelectedTemplate(m_host.Store(), s);
    FillTemplateBox();
    if (s.setupMode == 3) {
        LoadCustomTemplate();
        Changed();
    }
    EnableControls();
    RefreshDescription();
}

void QualityPage::SelectCustomTemplate()
{
    settings::CaptureSettings& s = m_host.Settings();
    HWND box = m_host.Window().GetDlgItem(IDC_TEMPLATE_LIST);
    const LRESULT item = ::SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (item < 0 || static_cast<std::size_t>(item) >= s.templateNames.size())
        return;
    settings::SelectTemplate(m_host.Store(), s, s.templateNames[static_cast<std::size_t>(item)]);
    LoadCustomTemplate();
    m_host.SaveSettings();
    RefreshDescription();
    Changed();
}

void QualityPage::NewTemplate()
{
    settings::CaptureSettings& s = m_host.Settings();
    std::string name;
    TemplateDialog dialog(s.templateNames, &name, &m_host.Window());
    // A cancel changes nothing: the template chosen before stays chosen.
    if (dialog.DoModal() != IDOK || name.empty())
        return;
    // The new template starts as the quality the page shows now.
    if (s.setupMode != 3) {
        const encoder::DerivedEncoderSetup derived = DeriveShown();
        s.custom = TemplateOf(derived.pair, derived.params);
    }
    settings::AddTemplate(m_host.Store(), s, name);
    m_host.SaveSettings();
    FillTemplateBox();
    EnableControls();
    RefreshDescription();
}

encoder::DerivedEncoderSetup QualityPage::DeriveShown()
{
    const settings::CaptureSettings& s = m_host.Settings();
    capture::CaptureGraph* engine = m_host.Engine();
    encoder::DeviceFacts facts;
    if (engine) {
        facts.current = engine->Params();
        facts.standard = engine->Is525Line() ? encoder::kStandard525 : encoder::kStandard625;
    } else {
        facts.standard = (static_cast<std::uint32_t>(s.lastVidStd) & kStandards525) ? encoder::kStandard525
                                                                                      : encoder::kStandard625;
    }
    facts.maxBitRate = m_deviceMaximum;
    return encoder::DeriveEncoderParams(s, facts);
}

DescribedQuality QualityPage::CurrentQuality()
{
    settings::CaptureSettings& s = m_host.Settings();
    DescribedQuality q;
    for (int source : m_host.AvailableSources())
        if (source == s.source)
            q.sourceName = m_host.Text(media::VideoSourceNameText(source));
    if (s.setupMode == 3) {
        q.captureMode = s.custom.captureMode;
        q.width = s.custom.horzResolution;
        q.height = s.custom.vertResolution;
        q.bitRate = s.custom.bitRate;
        q.samplingFrequency = s.custom.audSamplingFreq;
        q.audioBitRate = s.custom.audioMpegBitRate;
        return q;
    }
    const encoder::DerivedEncoderSetup derived = DeriveShown();
    q.captureMode = static_cast<int>(derived.pair.mode);
    q.width = static_cast<int>(derived.params.HorzResolution);
    q.height = static_cast<int>(derived.params.VertResolution);
    q.bitRate = static_cast<int>(derived.params.BitRate);
    q.samplingFrequency = static_cast<int>(derived.params.ulAudSamplingFreq);
    q.audioBitRate = static_cast<int>(derived.params.ulAudioMpegBitRate);
    return q;
}

void QualityPage::RefreshDescription()
{
    const std::array<std::string, 3> lines = DescriptionLines(CurrentQuality());
    CWnd& window = m_host.Window();
    window.SetDlgItemText(IDC_TEMPLATE_DESC_1, lines[0].c_str());
    window.SetDlgItemText(IDC_TEMPLATE_DESC_2, lines[1].c_str());
    window.SetDlgItemText(IDC_TEMPLATE_DESC_3, lines[2].c_str());
}

void QualityPage::Changed()
{
    if (!m_host.GraphRunning())
        return;
    m_pending = true;
    m_host.PageChanged();
}

bool QualityPage::Apply()
{
    if (!m_pending)
        return true;
    m_pending = false;
    // The preview takes the new quality when it is built again.
    m_host.RestartPreview();
    return true;
}

void QualityPage::ShowDeviceProperties()
{
    capture::CaptureGraph* engine = m_host.Engine();
    IBaseFilter* filter = engine ? engine->CaptureFilter() : nullptr;
    HRESULT hr = E_FAIL;
    if (filter) {
        win::ComPtr<ISpecifyPropertyPages> pages;
        hr = filter->QueryInterface(IID_ISpecifyPropertyPages, pages.PutVoid());
        if (SUCCEEDED(hr)) {
            CAUUID ids{};
            hr = pages->GetPages(&ids);
            if (SUCCEEDED(hr)) {
                IUnknown* object = filter;
                hr = OleCreatePropertyFrame(m_host.Window().m_hWnd, 0, 0, L"", 1, &object, ids.cElems, ids.pElems, 0, 0,
                                            nullptr);
                CoTaskMemFree(ids.pElems);
            }
        }
    }
    if (FAILED(hr)) {
        m_host.Message("Failed showing Property Page", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The driver's own page may have changed the encoder: the description reads it again.
    if (m_host.Settings().setupMode == 3)
        LoadCustomTemplate();
    RefreshDescription();
}

}  // namespace pages
