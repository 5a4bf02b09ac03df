#include "ChannelPage.h"

#include <commctrl.h>

#include <cstdio>
#include <iterator>

#include "ControlIds.h"
#include "Countries.h"
#include "SapDialog.h"
#include "VideoStandards.h"

namespace shell {
namespace {

constexpr int kPageControls[] = {
    IDC_TV_ANTENNA, IDC_TV_CABLE, IDC_TV_AUDIO, IDC_CHANNEL_RENAME, IDC_CHANNEL_DELETE, IDC_COUNTRY_LABEL,
    IDC_COUNTRY, IDC_STANDARD_LABEL, IDC_STANDARD, IDC_CHANNEL_LIST, IDC_CHANNEL_DISPLAY, IDC_CHANNEL_UP,
    IDC_CHANNEL_DOWN, IDC_DIGIT_0, IDC_DIGIT_1, IDC_DIGIT_2, IDC_DIGIT_3, IDC_DIGIT_4, IDC_DIGIT_5,
    IDC_DIGIT_6, IDC_DIGIT_7, IDC_DIGIT_8, IDC_DIGIT_9, IDC_CHANNEL_NAME, IDC_CHANNEL_SCAN,
    IDC_SCAN_PROGRESS, IDC_FINE_TUNE_LABEL, IDC_FINE_TUNE_SLIDER, IDC_FINE_TUNE_VALUE, IDC_FINE_TUNE_SPIN,
    IDC_REMOTE_SETUP};
constexpr int kNumberColumnWidth = 65;
constexpr int kNameColumnMargin = 15;
constexpr char kBlankName[] = " ";

void AddColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

}  // namespace

std::vector<int> ChannelPage::ControlIds()
{
    return std::vector<int>(std::begin(kPageControls), std::end(kPageControls));
}

bool ChannelPage::Shown() const
{
    return m_built && ::IsWindowVisible(Item(IDC_CHANNEL_DISPLAY));
}

void ChannelPage::DeviceChanged()
{
    FillStandards();
    FillCountries();
    Refresh();
}

void ChannelPage::Create()
{
    m_built = true;
    const HWND list = Item(IDC_CHANNEL_LIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    RECT client{};
    ::GetClientRect(list, &client);
    AddColumn(list, 0, "", 0);
    AddColumn(list, 1, "Channel #", kNumberColumnWidth);
    AddColumn(list, 2, "Channel Name", client.right - kNumberColumnWidth - kNameColumnMargin);
    ::SendMessageA(list, LVM_SETITEMCOUNT, tuner::kChannelCount, 0);
    // Separately: a negative minimum does not survive the packed range message.
    ::SendDlgItemMessageA(m_owner, IDC_FINE_TUNE_SLIDER, TBM_SETRANGEMIN, FALSE, tuner::kFineTuneMin);
    ::SendDlgItemMessageA(m_owner, IDC_FINE_TUNE_SLIDER, TBM_SETRANGEMAX, TRUE, tuner::kFineTuneMax);
    // The trackbar places its thumb only when the position changes, not the range.
    ::SendDlgItemMessageA(m_owner, IDC_FINE_TUNE_SLIDER, TBM_SETPOS, FALSE, tuner::kFineTuneMax);
    ::SendDlgItemMessageA(m_owner, IDC_FINE_TUNE_SPIN, UDM_SETRANGE32, tuner::kFineTuneMin, tuner::kFineTuneMax);
    FillStandards();
    FillCountries();
}

void ChannelPage::FillStandards()
{
    const HWND box = Item(IDC_STANDARD);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    m_listedStandards = m_session.SupportedStandards();
    const std::uint32_t mask = m_listedStandards.value_or(0);
    const std::uint32_t current = m_session.Settings().videoStandard;
    m_listedStandard = current;
    for (const tuner::VideoStandardRow& row : tuner::VideoStandards()) {
        if ((row.value & mask) == 0 && row.value != current)
            continue;
        const LRESULT item = ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name));
        ::SendMessageA(box, CB_SETITEMDATA, static_cast<WPARAM>(item), row.value);
        if (row.value == current)
            ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
}

void ChannelPage::FillCountries()
{
    const HWND box = Item(IDC_COUNTRY);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    const std::optional<std::uint32_t> mask = m_session.SupportedStandards();
    std::string country = m_session.Settings().country;
    m_listedCountry = country;
    if (country.empty()) {
        const tuner::CountryRow* row = tuner::FindCountryByLanguage(GetSystemDefaultLangID());
        country = row ? row->name : "USA";
    }
    LRESULT selected = 0;
    for (const tuner::CountryRow& row : tuner::Countries()) {
        if (mask && (row.standard & *mask) == 0)
            continue;
        const LRESULT item = ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name));
        if (country == row.name && selected == 0)
            selected = item;
    }
    ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void ChannelPage::Refresh()
{
    if (!m_built || m_filling)
        return;
    m_filling = true;
    // The tuner's standards are known once it has been set up, perhaps after the page was
    // built; the set-up may also have chosen the country.
    if (m_session.SupportedStandards() != m_listedStandards || m_session.Settings().country != m_listedCountry ||
        m_session.Settings().videoStandard != m_listedStandard) {
        FillStandards();
        FillCountries();
    }
    ::SetDlgItemTextA(m_owner, IDC_CHANNEL_DISPLAY, m_session.DisplayText().c_str());
    ShowFineTune();
    ShowInputType();
    FillNameBox();
    if (!m_session.Scanning())
        FillChannelList();
    m_filling = false;
}

void ChannelPage::ShowFineTune()
{
    const int fine = m_session.Current().fineTune;
    ::SendDlgItemMessageA(m_owner, IDC_FINE_TUNE_SLIDER, TBM_SETPOS, TRUE, fine);
    ::SendDlgItemMessageA(m_owner, IDC_FINE_TUNE_SPIN, UDM_SETPOS32, 0, fine);
    char text[16];
    std::snprintf(text, sizeof text, "%d", fine);
    ::SetDlgItemTextA(m_owner, IDC_FINE_TUNE_VALUE, text);
}

void ChannelPage::ShowInputType()
{
    const bool antenna = m_session.Settings().inputType != tuner::kInputCable;
    ::SendDlgItemMessageA(m_owner, IDC_TV_ANTENNA, BM_SETSTATE, antenna, 0);
    ::SendDlgItemMessageA(m_owner, IDC_TV_CABLE, BM_SETSTATE, !antenna, 0);
}

void ChannelPage::FillNameBox()
{
    const HWND box = Item(IDC_CHANNEL_NAME);
    ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
    const tuner::ChannelList& list = m_session.Settings().CurrentList();
    const std::string& current = m_session.Current().name;
    for (int i = m_session.Range().ListMinimum(); i <= tuner::kHighestListChannel; ++i) {
        const std::string& name = list[static_cast<std::size_t>(i)].name;
        if (name.empty())
            continue;
        const LRESULT item = ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (name == current && m_session.Settings().lastChannel == i)
            ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
    if (current.empty()) {
        const LRESULT item = ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kBlankName));
        ::SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
}

void ChannelPage::FillChannelList()
{
    ::SendDlgItemMessageA(m_owner, IDC_CHANNEL_LIST, LVM_DELETEALLITEMS, 0, 0);
    const tuner::ChannelList& list = m_session.Settings().CurrentList();
    for (int i = m_session.Range().ListMinimum(); i <= tuner::kHighestListChannel; ++i)
        if (!list[static_cast<std::size_t>(i)].name.empty())
            AddListRow(i, list[static_cast<std::size_t>(i)].name);
}

void ChannelPage::AddListRow(int channel, const std::string& name)
{
    const HWND list = Item(IDC_CHANNEL_LIST);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>("");
    const int row = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    char number[16];
    std::snprintf(number, sizeof number, "%d", channel);
    item.iItem = row;
    item.iSubItem = 1;
    item.pszText = number;
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 2;
    item.pszText = const_cast<char*>(name.c_str());
    ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::string ChannelPage::ComboText(int id) const
{
    const HWND box = Item(id);
    const LRESULT item = ::SendMessageA(box, CB_GETCURSEL, 0, 0);
    char text[256] = "";
    if (item != CB_ERR && ::SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0) < static_cast<LRESULT>(sizeof text))
        ::SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
    else
        ::GetWindowTextA(box, text, sizeof text);
    return text;
}

bool ChannelPage::OnCommand(int id, int code)
{
    if (!Shown() || m_filling)
        return false;
    if (m_session.Scanning()) {
        // While a scan runs only its own button acts: a second press cancels.
        if (id == IDC_CHANNEL_SCAN && code == BN_CLICKED)
            m_cancel = true;
        return id == IDC_CHANNEL_SCAN;
    }
    if (id >= IDC_DIGIT_0 && id <= IDC_DIGIT_9 && code == BN_CLICKED) {
        m_session.Digit(id - IDC_DIGIT_0);
        return true;
    }
    if (m_locked) {
        switch (id) {
        case IDC_CHANNEL_SCAN:
        case IDC_TV_ANTENNA:
        case IDC_TV_CABLE:
        case IDC_CHANNEL_RENAME:
        case IDC_CHANNEL_DELETE:
        case IDC_COUNTRY:
        case IDC_STANDARD:
            Refresh();
            return true;
        default:
            break;
        }
    }
    switch (id) {
    case IDC_CHANNEL_UP:
    case IDC_CHANNEL_DOWN:
        if (code == BN_CLICKED)
            m_session.StepChannel(id == IDC_CHANNEL_UP ? 1 : -1);
        return true;
    case IDC_CHANNEL_SCAN:
        if (code == BN_CLICKED)
            Scan();
        return true;
    case IDC_TV_ANTENNA:
    case IDC_TV_CABLE:
        if (code == BN_CLICKED)
            m_session.SetInputType(id == IDC_TV_CABLE ? tuner::kInputCable : tuner::kInputAntenna);
        return true;
    case IDC_TV_AUDIO:
        if (code == BN_CLICKED)
            ShowSoundDialog();
        return true;
    case IDC_CHANNEL_RENAME:
        if (code == BN_CLICKED)
            RenameCurrent();
        return true;
    case IDC_CHANNEL_DELETE:
        if (code == BN_CLICKED)
            DeleteCurrent();
        return true;
    case IDC_CHANNEL_NAME:
        if (code == CBN_SELCHANGE)
            m_session.ChooseByName(ComboText(IDC_CHANNEL_NAME));
        return true;
    case IDC_COUNTRY:
        if (code == CBN_SELCHANGE && m_session.ChooseCountry(ComboText(IDC_COUNTRY)))
            FillStandards();
        return true;
    case IDC_STANDARD:
        if (code == CBN_SELCHANGE) {
            const LRESULT item = ::SendDlgItemMessageA(m_owner, IDC_STANDARD, CB_GETCURSEL, 0, 0);
            if (item != CB_ERR)
                m_session.ChooseStandard(static_cast<std::uint32_t>(
                    ::SendDlgItemMessageA(m_owner, IDC_STANDARD, CB_GETITEMDATA, static_cast<WPARAM>(item), 0)));
        }
        return true;
    default:
        return false;
    }
}

bool ChannelPage::OnNotify(NMHDR* header, LRESULT* result)
{
    if (!header || header->idFrom != IDC_FINE_TUNE_SPIN || header->code != UDN_DELTAPOS)
        return false;
    const auto* change = reinterpret_cast<NMUPDOWN*>(header);
    if (Shown() && !m_session.Scanning() && change->iDelta != 0)
        m_session.StepFineTune(change->iDelta > 0 ? 1 : -1);
    // The page shows the position the tuner took, not the spin's own.
    *result = TRUE;
    ShowFineTune();
    return true;
}

bool ChannelPage::OnScroll(HWND bar, UINT)
{
    if (!Shown() || bar != Item(IDC_FINE_TUNE_SLIDER) || m_filling || m_session.Scanning())
        return false;
    const int wanted = static_cast<int>(::SendMessageA(bar, TBM_GETPOS, 0, 0));
    // One step at a time, as the keys and the spin do, so each stays within the range.
    while (m_session.Current().fineTune != wanted) {
        const int before = m_session.Current().fineTune;
        m_session.StepFineTune(wanted > before ? 1 : -1);
        if (m_session.Current().fineTune == before)
            break;
    }
    ShowFineTune();
    return true;
}

void ChannelPage::RenameCurrent()
{
    char text[256] = "";
    ::GetDlgItemTextA(m_owner, IDC_CHANNEL_NAME, text, sizeof text);
    std::string name = text;
    const std::size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first);
    if (!name.empty())
        m_session.RenameCurrent(name);
}

void ChannelPage::DeleteCurrent()
{
    m_session.RenameCurrent(std::string());
}

bool ChannelPage::PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (!m_cancel && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The program is ending: the scan stops and the quit goes on to the loop.
                PostQuitMessage(static_cast<int>(message.wParam));
                m_cancel = true;
                break;
            }
            if (!IsDialogMessageA(m_owner, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        const DWORD elapsed = GetTickCount() - start;
        if (m_cancel || elapsed >= ms)
            return !m_cancel;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

void ChannelPage::Scan()
{
    if (m_session.Scanning())
        return;
    m_cancel = false;
    const tuner::ChannelRange range = m_session.Range();
    const HWND progress = Item(IDC_SCAN_PROGRESS);
    ::SendMessageA(progress, PBM_SETRANGE32, static_cast<WPARAM>(range.ListMinimum()), range.ListMaximum());
    ::SendMessageA(progress, PBM_SETSTEP, 1, 0);
    ::SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(range.ListMinimum()), 0);
    ::SendDlgItemMessageA(m_owner, IDC_CHANNEL_LIST, LVM_DELETEALLITEMS, 0, 0);
    const tuner::ScanResult result = m_session.Scan([this](DWORD ms) { return PumpFor(ms); },
                                                    [this, progress](int channel, bool found) {
                                                        ::SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(channel), 0);
                                                        if (found)
                                                            AddListRow(channel, m_session.Settings().CurrentList()[static_cast<std::size_t>(channel)].name);
                                                        ::UpdateWindow(m_owner);
                                                    });
    m_cancel = false;
    char line[128];
    std::snprintf(line, sizeof line, "Marovin:  channel scan %s: %d probed, %d found\r\n",
                  result.cancelled ? "cancelled" : "done", result.probed, result.found);
    OutputDebugStringA(line);
    // A scan is minutes of work: it is kept at once, not only when the window closes.
    if (m_keep && result.probed > 0)
        m_keep();
    Refresh();
}

void ChannelPage::ShowSoundDialog()
{
    tuner::TvAudioChoice choice = m_session.TvAudio();
    SapDialog dialog(choice, [this](const tuner::TvAudioChoice& c) { m_session.SetTvAudio(c); },
                     m_window);
    dialog.DoModal();
    m_session.ReadTvAudio();
}

}  // namespace shell
