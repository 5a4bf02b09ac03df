// The toolkit on a virtual capture card in a real Wine graph: the crossbar joins its own
// capture filter by mediums, its inputs become the program's sources, and a recording's
// thumbnail goes through the media detector.
#include "CardInstaller.h"
#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "MediaGraph.h"
#include "MediaThumbnail.h"
#include "PinFinders.h"
#include "TestSupport.h"
#include "VideoSources.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace media;

namespace {

std::string PathOf(const vcap::CardRecord& card, vcap::FilterRole role)
{
    const std::wstring& path = card.paths[static_cast<int>(role)];
    return std::string(path.begin(), path.end());
}

std::wstring PeerFilterName(IPin* pin)
{
    ComPtr<IPin> peer;
    PIN_INFO info{};
    if (FAILED(pin->ConnectedTo(peer.Put())) || FAILED(peer->QueryPinInfo(&info)))
        return L"";
    FILTER_INFO filter{};
    std::wstring name;
    if (info.pFilter && SUCCEEDED(info.pFilter->QueryFilterInfo(&filter))) {
        name = filter.achName;
        if (filter.pGraph)
            filter.pGraph->Release();
    }
    if (info.pFilter)
        info.pFilter->Release();
    return name;
}

class CardGraph : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterModuleServer("vcap.ax"));
    }
    void SetUp() override { RemoveAllCards(); }
    void TearDown() override { RemoveAllCards(); }

    static void RemoveAllCards()
    {
        std::wstring error;
        for (const vcap::CardRecord& c : vcap::LoadAllCards())
            vcap::UninstallCard(c.number, error);
    }
    static vcap::CardRecord Install(int number)
    {
        vcap::Personality personality;
        vcap::CardRecord card;
        std::wstring error;
        EXPECT_TRUE(vcap::InstallCard(number, personality, card, error)) << std::string(error.begin(), error.end());
        return card;
    }
};

TEST_F(CardGraph, ConnectByMediumJoinsTheCrossbarToItsOwnCaptureFilter)
{
    const vcap::CardRecord first = Install(1);
    const vcap::CardRecord second = Install(2);
    MediaGraph graph;
    ComPtr<IBaseFilter> crossbar, capture, otherCapture;
    ASSERT_EQ(graph.AddDeviceFilterByPath(PathOf(first, vcap::FilterRole::Crossbar).c_str(), devices::kCategoryCrossbar,
                                          crossbar.Put()),
              S_OK);
    ASSERT_EQ(graph.AddDeviceFilter(devices::kCategoryCapture, nullptr, PathOf(second, vcap::FilterRole::Capture).c_str(),
                                    0, L"Other Capture", otherCapture.Put()),
              S_OK);
    ASSERT_EQ(graph.AddDeviceFilterByPath(PathOf(first, vcap::FilterRole::Capture).c_str(), devices::kCategoryCapture,
                                          capture.Put()),
              S_OK);
    ASSERT_TRUE(crossbar && capture && otherCapture);

    EXPECT_EQ(graph.ConnectByMedium(crossbar.Get(), otherCapture.Get()), E_FAIL) << "another card's wires never match";
    ASSERT_EQ(graph.ConnectByMedium(crossbar.Get(), capture.Get()), S_OK);
    FILTER_INFO captureInfo{};
    ASSERT_EQ(capture->QueryFilterInfo(&captureInfo), S_OK);
    if (captureInfo.pGraph)
        captureInfo.pGraph->Release();
    for (int n = 0;; ++n) {
        ComPtr<IPin> out = FindPinByOrdinal(crossbar.Get(), PINDIR_OUTPUT, n);
        if (!out)
            break;
        EXPECT_EQ(PeerFilterName(out.Get()), std::wstring(captureInfo.achName)) << "output " << n;
    }
    for (int n = 0;; ++n) {
        ComPtr<IPin> in = FindPinByOrdinal(otherCapture.Get(), PINDIR_INPUT, n);
        if (!in)
            break;
        ComPtr<IPin> peer;
        EXPECT_TRUE(FAILED(in->ConnectedTo(peer.Put())));
    }
    EXPECT_EQ(graph.ConnectByMedium(crossbar.Get(), capture.Get()), E_FAIL) << "nothing left to connect";
    graph.DestroyGraph();
}

TEST_F(CardGraph, TheCardsCrossbarGivesEverySource)
{
    const vcap::CardRecord card = Install(1);
    ComPtr<IBaseFilter> crossbar;
    ASSERT_EQ(devices::FindDeviceFilter(devices::kCategoryCrossbar, nullptr, PathOf(card, vcap::FilterRole::Crossbar).c_str(),
                                        crossbar.Put(), nullptr),
              S_OK);
    VideoSourceList list;
    ASSERT_EQ(ListVideoSources(crossbar.Get(), &list), S_OK);
    ASSERT_EQ(list.count, 7);
    const int expected[] = {0, 1, 2, 2, 4, 3, 5};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list.sources[static_cast<size_t>(i)], expected[i]) << i;

    ComPtr<IBaseFilter> capture;
    ASSERT_EQ(devices::FindDeviceFilter(devices::kCategoryCapture, nullptr, PathOf(card, vcap::FilterRole::Capture).c_str(),
                                        capture.Put(), nullptr),
              S_OK);
    EXPECT_EQ(ListVideoSources(capture.Get(), &list), E_NOINTERFACE) << "not a crossbar";
    EXPECT_EQ(list.count, 2);
}

TEST(Thumbnail, FromARecordingOrTheDetectorsReason)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string folder = testsupport::OutputDir();
    const std::string recording = folder + "thumb-source.mpg";
    const std::string bitmap = folder + "thumb-source.bmp";
    DeleteFileA(bitmap.c_str());
    std::string output;
    ASSERT_EQ(testsupport::RunProcess("\"" + testsupport::ModuleDir() + "vcapgen.exe\" \"" + recording +
                                          "\" --mode 1 --size 352x240 --seconds 1",
                                      &output),
              0)
        << output;
    const HRESULT hr = WriteThumbnail(recording, bitmap, 78, 63);
    if (hr == S_OK) {
        FILE* in = std::fopen(bitmap.c_str(), "rb");
        ASSERT_NE(in, nullptr);
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        ASSERT_EQ(std::fread(&file, sizeof file, 1, in), 1u);
        ASSERT_EQ(std::fread(&info, sizeof info, 1, in), 1u);
        std::fclose(in);
        EXPECT_EQ(info.biWidth, 78);
        EXPECT_EQ(info.biHeight < 0 ? -info.biHeight : info.biHeight, 63);
    } else {
        // Wine's detector reads streams but cannot write pictures: its own code comes back.
        EXPECT_EQ(hr, E_NOTIMPL);
        EXPECT_EQ(GetFileAttributesA(bitmap.c_str()), INVALID_FILE_ATTRIBUTES);
    }

    EXPECT_TRUE(FAILED(WriteThumbnail(folder + "no-such-recording.mpg", bitmap, 78, 63)));

    // A file of sound only has no picture to take.
    const std::string sound = folder + "thumb-sound.wav";
    FILE* out = std::fopen(sound.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const DWORD samples = 8000, dataBytes = samples * 2;
    const DWORD riffBytes = 36 + dataBytes;
    std::fwrite("RIFF", 1, 4, out);
    std::fwrite(&riffBytes, 4, 1, out);
    std::fwrite("WAVEfmt ", 1, 8, out);
    const DWORD fmtBytes = 16;
    std::fwrite(&fmtBytes, 4, 1, out);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};
    std::fwrite(&format, 16, 1, out);
    std::fwrite("data", 1, 4, out);
    std::fwrite(&dataBytes, 4, 1, out);
    for (DWORD i = 0; i < samples; ++i) {
        const short value = static_cast<short>((i % 40) * 400 - 8000);
        std::fwrite(&value, 2, 1, out);
    }
    std::fclose(out);
    EXPECT_EQ(WriteThumbnail(sound, bitmap, 78, 63), VFW_E_INVALIDMEDIATYPE);
}

}  // namespace
