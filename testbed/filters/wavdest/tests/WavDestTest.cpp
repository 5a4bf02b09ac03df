// "Corvale Wav Dest" in front of the system File Writer, as the separate-streams recording
// uses it: PCM in, a WAV file out whose header is right whether the stream ends or the graph
// is stopped in the middle. The header arithmetic is checked on its own first; the files are
// listed for ffprobe (check_wavs.sh) with the format and duration they must have.
#include "FilterIds.h"
#include "TestSupport.h"
#include "WavHeader.h"

#include <win/ComPtr.h>
#include <dshowbase/PushSource.h>

#include <windows.h>
#include <dshow.h>
#include <mmreg.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using win::ComPtr;

namespace {

uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits)
{
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = channels;
    wf.nSamplesPerSec = rate;
    wf.wBitsPerSample = bits;
    wf.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    wf.nAvgBytesPerSec = rate * wf.nBlockAlign;
    return wf;
}

// {0E7A4C52-8B1D-4F36-A2C9-5D1E3B7F9A04}, never registered: made directly by the test.
constexpr CLSID kClsidPcmSource = {0x0E7A4C52, 0x8B1D, 0x4F36, {0xA2, 0xC9, 0x5D, 0x1E, 0x3B, 0x7F, 0x9A, 0x04}};

// A tone of a given length (or endless), in samples of 100 ms with their media times.
class ToneStream : public dshow::SourceStream {
public:
    ToneStream(dshow::SourceFilter* filter, const WAVEFORMATEX& wf, long totalBlocks)
        : SourceStream(filter, L"Audio"), wf_(wf), totalBlocks_(totalBlocks)
    {
    }
    HRESULT CheckMediaType(const dshow::MediaType& type) override
    {
        dshow::MediaType mine;
        GetMediaType(0, &mine);
        return type == mine ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT GetMediaType(int position, dshow::MediaType* type) override
    {
        if (position < 0)
            return E_INVALIDARG;
        if (position > 0)
            return VFW_S_NO_MORE_ITEMS;
        *type = dshow::MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx);
        type->SetFormat(FORMAT_WaveFormatEx, &wf_, sizeof wf_);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override
    {
        request->cBuffers = 4;
        request->cbBuffer = static_cast<long>(BlocksPerSample() * wf_.nBlockAlign);
        request->cbAlign = 1;
        ALLOCATOR_PROPERTIES actual{};
        return allocator->SetProperties(request, &actual);
    }
    HRESULT OnThreadStart() override
    {
        sent_ = 0;
        return S_OK;
    }
    HRESULT FillBuffer(IMediaSample* sample) override
    {
        if (totalBlocks_ >= 0 && sent_ >= totalBlocks_)
            return S_FALSE;
        long blocks = BlocksPerSample();
        if (totalBlocks_ >= 0 && sent_ + blocks > totalBlocks_)
            blocks = totalBlocks_ - sent_;
        BYTE* p = nullptr;
        sample->GetPointer(&p);
        for (long i = 0; i < blocks; ++i) {
            const double v = std::sin((sent_ + i) * 2 * 3.14159265 * 440.0 / wf_.nSamplesPerSec);
            for (WORD c = 0; c < wf_.nChannels; ++c) {
                BYTE* s = p + i * wf_.nBlockAlign + c * (wf_.wBitsPerSample / 8);
                if (wf_.wBitsPerSample == 8) {
                    *s = static_cast<BYTE>(128 + 100 * v);
                } else {
                    const short x = static_cast<short>(12000 * v);
                    std::memcpy(s, &x, 2);
                }
            }
        }
        sample->SetActualDataLength(blocks * wf_.nBlockAlign);
        REFERENCE_TIME start = sent_ * 10000000LL / wf_.nSamplesPerSec;
        sent_ += blocks;
        REFERENCE_TIME stop = sent_ * 10000000LL / wf_.nSamplesPerSec;
        sample->SetTime(&start, &stop);
        // A live source: no faster than real time, so a stop can come in the middle.
        if (totalBlocks_ < 0)
            Sleep(20);
        return S_OK;
    }

private:
    long BlocksPerSample() const { return static_cast<long>(wf_.nSamplesPerSec / 10); }
    WAVEFORMATEX wf_;
    long totalBlocks_;
    long sent_ = 0;
};

class ToneSource : public dshow::SourceFilter {
public:
    static ComPtr<IBaseFilter> Create(const WAVEFORMATEX& wf, long totalBlocks)
    {
        auto* f = new ToneSource();
        f->AddStream(std::make_unique<ToneStream>(f, wf, totalBlocks));
        IBaseFilter* out = nullptr;
        f->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&out));
        return ComPtr<IBaseFilter>::Adopt(out);
    }

private:
    ToneSource() : SourceFilter(nullptr, kClsidPcmSource) {}
};

ComPtr<IPin> FirstPin(IBaseFilter* f, PIN_DIRECTION dir)
{
    ComPtr<IEnumPins> e;
    f->EnumPins(e.Put());
    ComPtr<IPin> p;
    while (e->Next(1, p.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(p->QueryDirection(&d)) && d == dir)
            return p;
    }
    return {};
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class WavDestTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
        manifest_.open(testsupport::OutputDir() + "wavs.txt", std::ios::binary | std::ios::trunc);
    }
    static void TearDownTestSuite()
    {
        manifest_.close();
        CoUninitialize();
    }

    // source -> "Corvale Wav Dest" -> File Writer writing `name`.wav.
    void Build(IBaseFilter* source, const std::string& name)
    {
        file_ = testsupport::OutputDir() + name + ".wav";
        DeleteFileA(file_.c_str());
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph_.PutVoid()), S_OK);
        ASSERT_EQ(CoCreateInstance(testbed::kClsidWavDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, wavDest_.PutVoid()), S_OK);
        ComPtr<IBaseFilter> writer;
        ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.PutVoid()), S_OK);
        ASSERT_EQ(graph_->AddFilter(source, L"Source"), S_OK);
        ASSERT_EQ(graph_->AddFilter(wavDest_.Get(), L"Corvale Wav Dest"), S_OK);
        ASSERT_EQ(graph_->AddFilter(writer.Get(), L"FileWriter Wave"), S_OK);
        ComPtr<IFileSinkFilter> sink;
        ASSERT_EQ(writer.As(sink), S_OK);
        const std::wstring wide(file_.begin(), file_.end());
        AM_MEDIA_TYPE mt{};
        mt.majortype = MEDIATYPE_Stream;
        mt.subtype = MEDIASUBTYPE_WAVE;
        ASSERT_EQ(sink->SetFileName(wide.c_str(), &mt), S_OK);
        ASSERT_EQ(graph_->ConnectDirect(FirstPin(source, PINDIR_OUTPUT).Get(), FirstPin(wavDest_.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
        ASSERT_EQ(graph_->ConnectDirect(FirstPin(wavDest_.Get(), PINDIR_OUTPUT).Get(), FirstPin(writer.Get(), PINDIR_INPUT).Get(), nullptr), S_OK);
        ASSERT_EQ(graph_.As(mc_), S_OK);
    }

    // The file's header describes exactly the bytes behind it; returns the data length.
    static uint32_t CheckHeader(const std::vector<uint8_t>& f, const WAVEFORMATEX& wf)
    {
        EXPECT_GE(f.size(), 44u);
        if (f.size() < 44)
            return 0;
        EXPECT_EQ(std::memcmp(f.data(), "RIFF", 4), 0);
        EXPECT_EQ(std::memcmp(f.data() + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(Read32(f, 4), f.size() - 8);
        EXPECT_EQ(Read32(f, 16), 16u);
        EXPECT_EQ(std::memcmp(f.data() + 20, &wf, 16), 0) << "the format as it came";
        EXPECT_EQ(std::memcmp(f.data() + 36, "data", 4), 0);
        EXPECT_EQ(Read32(f, 40), f.size() - 44);
        EXPECT_EQ((f.size() - 44) % wf.nBlockAlign, 0u);
        return Read32(f, 40);
    }

    static std::ofstream manifest_;
    std::string file_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IBaseFilter> wavDest_;
    ComPtr<IMediaControl> mc_;
};

std::ofstream WavDestTest::manifest_;

}  // namespace

TEST(WavHeaderTest, PlainPcmExtensibleAndTheFourGigabyteLimit)
{
    WAVEFORMATEX wf = Pcm(2, 44100, 16);
    wf.cbSize = 0;
    std::vector<uint8_t> h = testbed::BuildWavHeader(reinterpret_cast<const uint8_t*>(&wf), sizeof wf, 1000);
    ASSERT_EQ(h.size(), 44u) << "PCM: a 16-byte format chunk, no cbSize";
    EXPECT_EQ(Read32(h, 4), 36u + 1000u);
    EXPECT_EQ(Read32(h, 16), 16u);
    EXPECT_EQ(Read32(h, 24), 44100u);
    EXPECT_EQ(Read32(h, 40), 1000u);

    // An extensible format keeps cbSize and its 22 extra bytes.
    std::vector<uint8_t> ext(40, 0);
    WAVEFORMATEX e = Pcm(6, 48000, 24);
    e.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    e.cbSize = 22;
    std::memcpy(ext.data(), &e, sizeof e);
    ext[39] = 0x77;
    h = testbed::BuildWavHeader(ext.data(), ext.size(), 12);
    ASSERT_EQ(h.size(), 68u);
    EXPECT_EQ(Read32(h, 16), 40u);
    EXPECT_EQ(h[20 + 39], 0x77);
    EXPECT_EQ(Read32(h, 64), 12u);
    EXPECT_EQ(Read32(h, 4), h.size() - 8 + 12);
    // cbSize announcing more than the block holds: only what is there.
    ext.resize(30);
    EXPECT_EQ(Read32(testbed::BuildWavHeader(ext.data(), ext.size(), 0), 16), 30u);

    // Past 4 GB the sizes stay at the largest a RIFF file can say.
    h = testbed::BuildWavHeader(reinterpret_cast<const uint8_t*>(&wf), 16, 5000000000ull);
    EXPECT_EQ(Read32(h, 4), 0xFFFFFFFFu);
    EXPECT_EQ(Read32(h, 40), 0xFFFFFFFFu - 36u);
    EXPECT_TRUE(testbed::BuildWavHeader(reinterpret_cast<const uint8_t*>(&wf), 14, 0).empty()) << "too short for a format";
}

TEST_F(WavDestTest, TheWholeStreamMakesAFileWithTheRightSizes)
{
    const WAVEFORMATEX wf = Pcm(2, 48000, 16);
    Build(ToneSource::Create(wf, 48000 * 5 / 2).Get(), "tone_48k_stereo");  // 2.5 s
    ASSERT_TRUE(SUCCEEDED(mc_->Run()));
    ComPtr<IMediaEvent> me;
    ASSERT_EQ(graph_->QueryInterface(IID_IMediaEvent, me.PutVoid()), S_OK);
    long code = 0;
    EXPECT_EQ(me->WaitForCompletion(20000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    mc_->Stop();
    const std::vector<uint8_t> f = ReadFile(file_);
    ASSERT_EQ(CheckHeader(f, wf), 48000u * 5 / 2 * 4);
    // The tone starts right behind the header, every block in its place.
    for (long i : {0L, 1000L, 119999L}) {
        short left = 0, right = 0;
        std::memcpy(&left, &f[44 + i * 4], 2);
        std::memcpy(&right, &f[44 + i * 4 + 2], 2);
        EXPECT_EQ(left, static_cast<short>(12000 * std::sin(i * 2 * 3.14159265 * 440.0 / 48000))) << i;
        EXPECT_EQ(right, left);
    }
    manifest_ << "tone_48k_stereo pcm_s16le 48000 2 2.5\n";
}

TEST_F(WavDestTest, AGraphStoppedMidStreamLeavesAValidFile)
{
    const WAVEFORMATEX wf = Pcm(1, 11025, 8);
    Build(ToneSource::Create(wf, -1).Get(), "tone_11k_mono_stopped");
    ASSERT_TRUE(SUCCEEDED(mc_->Run()));
    Sleep(1500);
    ASSERT_TRUE(SUCCEEDED(mc_->Stop()));  // no end of stream: a recording stopped by the user
    const std::vector<uint8_t> f = ReadFile(file_);
    const uint32_t bytes = CheckHeader(f, wf);
    EXPECT_GT(bytes, 11025u / 2) << "some of the tone was written";

    // Run again: a new file from the start, not appended to the old sizes.
    ASSERT_TRUE(SUCCEEDED(mc_->Run()));
    Sleep(600);
    ASSERT_TRUE(SUCCEEDED(mc_->Stop()));
    const uint32_t again = CheckHeader(ReadFile(file_), wf);
    EXPECT_LT(again, bytes);
    char line[96];
    std::snprintf(line, sizeof line, "tone_11k_mono_stopped pcm_u8 11025 1 %.4f\n", again / 11025.0);
    manifest_ << line;
}

TEST_F(WavDestTest, RefusesWhatIsNotUncompressedAudio)
{
    ASSERT_EQ(CoCreateInstance(testbed::kClsidWavDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, wavDest_.PutVoid()), S_OK);
    ComPtr<IPin> in = FirstPin(wavDest_.Get(), PINDIR_INPUT);
    ASSERT_TRUE(in);
    WAVEFORMATEX wf = Pcm(2, 44100, 16);
    AM_MEDIA_TYPE mt{};
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = MEDIASUBTYPE_PCM;
    mt.formattype = FORMAT_WaveFormatEx;
    mt.cbFormat = sizeof wf;
    mt.pbFormat = reinterpret_cast<BYTE*>(&wf);
    EXPECT_EQ(in->QueryAccept(&mt), S_OK);
    wf.wFormatTag = 0x50;  // MPEG audio
    mt.subtype = MEDIASUBTYPE_MPEG1AudioPayload;
    EXPECT_NE(in->QueryAccept(&mt), S_OK);
    wf = Pcm(2, 44100, 16);
    mt.subtype = MEDIASUBTYPE_PCM;
    wf.nBlockAlign = 0;
    EXPECT_NE(in->QueryAccept(&mt), S_OK) << "a format that cannot be";
    mt.cbFormat = 12;
    EXPECT_NE(in->QueryAccept(&mt), S_OK) << "a format block too short";
    mt.majortype = MEDIATYPE_Video;
    EXPECT_NE(in->QueryAccept(&mt), S_OK);
    ComPtr<IPin> out = FirstPin(wavDest_.Get(), PINDIR_OUTPUT);
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(out->EnumMediaTypes(types.Put()), S_OK);
    AM_MEDIA_TYPE* first = nullptr;
    EXPECT_NE(types->Next(1, &first, nullptr), S_OK) << "no output type before the input is connected";
}
