// The writer in real DirectShow graphs under Wine: a test source pushes known bytes into it.
#include "GraphTestHelpers.h"
#include "ScrivetInterfaces.h"
#include "TestSupport.h"
#include "WriterGraph.h"

#include <win/Handle.h>

#include <gtest/gtest.h>

#include <evcode.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace scrivet::test;
using win::ComPtr;

namespace {

int Regsvr32(const std::string& args)
{
    return testsupport::RunProcess("regsvr32 " + args + " \"" + testsupport::ModuleDir() + "Scrivet.ax\"");
}

class ComEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ASSERT_EQ(Regsvr32("/s"), 0);
    }
    void TearDown() override { CoUninitialize(); }
};

testing::Environment* const kCom = testing::AddGlobalTestEnvironment(new ComEnvironment);

struct Pushed {
    std::vector<BYTE> data;
    std::vector<BYTE> file;
    WriterGraph graph;
    bool complete = false;
};

// Pushes `data` through a fresh writer into `name` and reads the file back.
void Push(Pushed& run, const std::string& name, std::vector<long> sizes, const GUID& major = MEDIATYPE_Stream,
          LONGLONG limit = -1)
{
    auto* source = new ByteSource(&run.data, std::move(sizes), 65536, major);
    ASSERT_EQ(run.graph.Build(source, CLSID_ScrivetFileWriter), S_OK);
    const std::string path = testsupport::OutputDir() + name;
    ASSERT_EQ(run.graph.SetFileName(Wide(path)), S_OK);
    if (limit != -1) {
        ComPtr<IWriterSizeLimit> sizeLimit;
        ASSERT_EQ(run.graph.writer->QueryInterface(__uuidof(IWriterSizeLimit), sizeLimit.PutVoid()), S_OK);
        ASSERT_EQ(sizeLimit->SetSizeLimit(limit), S_OK);
    }
    run.complete = run.graph.RunToEnd();
    // The stop waits only so long for the writer thread; its release waits for the file.
    run.graph.ReleaseWriter();
    run.file = ReadFile(path);
}

class WriterFileLength : public testing::TestWithParam<size_t> {};

}  // namespace

TEST_P(WriterFileLength, FileEqualsTheBytesPushedAndProgressAddsUp)
{
    Pushed run;
    run.data = NonZeroBytes(GetParam(), static_cast<uint32_t>(GetParam()));
    Push(run, "pushed_" + std::to_string(GetParam()) + ".bin", {188, 65536, 1, 4096, 3000, 512, 7});
    EXPECT_TRUE(run.complete);
    ASSERT_EQ(run.file.size(), run.data.size());
    EXPECT_TRUE(run.file == run.data);
    EXPECT_TRUE(run.graph.Codes().empty());
    const std::vector<uint64_t> totals = run.graph.ProgressTotals();
    ASSERT_FALSE(totals.empty());
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
    EXPECT_EQ(totals.back(), run.data.size());
}

INSTANTIATE_TEST_SUITE_P(Lengths, WriterFileLength,
                         testing::Values(512 * 2000, 512 * 2000 + 77, 3 * 1024 * 1024 + 1, 100));

TEST(WriterGraph, CallerLimitStopsTheFileAtTheBytesWrittenBeforeIt)
{
    Pushed run;
    run.data = NonZeroBytes(2 * 1024 * 1024, 11);
    Push(run, "limited.bin", {65536, 1000}, MEDIATYPE_Stream, 1000000);
    EXPECT_TRUE(run.complete);
    EXPECT_EQ(run.graph.Codes(), std::vector<long>{EC_WRITER_SIZE_LIMIT});
    ASSERT_GT(run.file.size(), 0u);
    EXPECT_LE(run.file.size(), 1000000u);
    EXPECT_TRUE(std::equal(run.file.begin(), run.file.end(), run.data.begin()));
    EXPECT_EQ(run.graph.ProgressTotals().back(), run.file.size());
}

TEST(WriterGraph, AudioIsOnlyCutAndProgramStreamsAreRepaired)
{
    const char* folder = std::getenv("SCRIVET_STREAMS");
    ASSERT_NE(folder, nullptr);
    std::ifstream in(std::string(folder) + "/mpeg2.mpg", std::ios::binary);
    const std::vector<BYTE> stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(stream.size(), 300000u);
    const size_t cut = 300001;  // inside a packet

    Pushed audio;
    audio.data.assign(stream.begin(), stream.begin() + cut);
    Push(audio, "cut_audio.mpg", {2048, 5000}, MEDIATYPE_Audio);
    EXPECT_TRUE(audio.file == audio.data);

    Pushed video;
    video.data = audio.data;
    Push(video, "cut_stream.mpg", {2048, 5000}, MEDIATYPE_Stream);
    ASSERT_GT(video.file.size(), cut - 4096);
    const std::vector<BYTE> end = {0x00, 0x00, 0x01, 0xB7, 0x00, 0x00, 0x01, 0xB9};
    EXPECT_TRUE(std::equal(end.begin(), end.end(), video.file.end() - 8));
    const size_t kept = video.file.size() - 14 - 17;  // pack header and closing packet
    EXPECT_TRUE(std::equal(video.file.begin(), video.file.begin() + kept, video.data.begin()));
}

TEST(WriterGraph, AProgramStreamStoppedAtItsSizeLimitEndsOnAWholePictureInsideTheLimit)
{
    // The files stay for the decoder probe (scrivet_limit_stops_decode), listed with their
    // limits in limit_stops.txt.
    std::ofstream list(testsupport::OutputDir() + "limit_stops.txt", std::ios::trunc);
    const struct {
        const char* stream;
        LONGLONG limit;
        std::vector<long> sizes;
    } cases[] = {{"mpeg1.mpg", 100000, {2048, 5000}},
                 {"mpeg1.mpg", 150001, {16384}},
                 {"mpeg2.mpg", 200000, {16384}},
                 {"mpeg2.mpg", 250001, {2048, 5000, 188}}};
    int index = 0;
    for (const auto& c : cases) {
        const std::string name = "limit_stop_" + std::to_string(index++) + ".mpg";
        SCOPED_TRACE(name);
        const char* folder = std::getenv("SCRIVET_STREAMS");
        ASSERT_NE(folder, nullptr);
        std::ifstream in(std::string(folder) + "/" + c.stream, std::ios::binary);
        Pushed run;
        run.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(run.data.size(), static_cast<size_t>(c.limit) + 20000) << "streams not made";
        Push(run, name, c.sizes, MEDIATYPE_Stream, c.limit);
        EXPECT_TRUE(run.complete);
        EXPECT_EQ(run.graph.Codes(), std::vector<long>{EC_WRITER_SIZE_LIMIT});
        // The run wrote up to the last whole sector before the limit...
        EXPECT_EQ(run.graph.ProgressTotals().back(), static_cast<uint64_t>(c.limit) / 512 * 512);
        // ...and the file ends inside the limit, on the closing codes, having dropped at most
        // the picture the limit cut (a picture of these streams is well under 64 KiB).
        ASSERT_LE(run.file.size(), static_cast<size_t>(c.limit));
        ASSERT_GT(run.file.size(), static_cast<size_t>(c.limit) - 65536);
        const std::vector<BYTE> end = {0x00, 0x00, 0x01, 0xB7, 0x00, 0x00, 0x01, 0xB9};
        EXPECT_TRUE(std::equal(end.begin(), end.end(), run.file.end() - 8));
        const size_t whole = run.file.size() - 65536;
        EXPECT_TRUE(std::equal(run.file.begin(), run.file.begin() + whole, run.data.begin()));
        list << name << ' ' << c.limit << '\n';
    }
}

TEST(WriterGraph, EveryRunOfOneFilterWritesItsOwnFile)
{
    Pushed run;
    run.data = NonZeroBytes(700000, 21);
    auto* source = new ByteSource(&run.data, {65536, 4000, 1}, 65536, MEDIATYPE_Stream);
    ASSERT_EQ(run.graph.Build(source, CLSID_ScrivetFileWriter), S_OK);
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        paths.push_back(testsupport::OutputDir() + "again_" + std::to_string(i) + ".bin");
        ASSERT_EQ(run.graph.SetFileName(Wide(paths.back())), S_OK);
        EXPECT_TRUE(run.graph.RunToEnd());
    }
    run.graph.ReleaseWriter();
    for (const std::string& path : paths)
        EXPECT_TRUE(ReadFile(path) == run.data) << path;
}

TEST(WriterGraph, FullDiskIsReportedAndUpstreamNeverBlocks)
{
    // full.mpg is a link to /dev/full: every write fails with "no space left".
    Pushed run;
    run.data = NonZeroBytes(4 * 1024 * 1024, 3);
    auto* source = new ByteSource(&run.data, {65536, 333}, 65536, MEDIATYPE_Stream);
    ASSERT_EQ(run.graph.Build(source, CLSID_ScrivetFileWriter), S_OK);
    ASSERT_EQ(run.graph.SetFileName(Wide(testsupport::OutputDir() + "full.mpg")), S_OK);
    EXPECT_TRUE(run.graph.RunToEnd());
    EXPECT_TRUE(source->Finished());
    EXPECT_EQ(source->BytesDelivered(), run.data.size());
    EXPECT_EQ(run.graph.Codes(), std::vector<long>{EC_WRITER_DISK_FULL});
}

TEST(WriterGraph, FileNameRules)
{
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(CoCreateInstance(CLSID_ScrivetFileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSinkFilter,
                               sink.PutVoid()),
              S_OK);
    EXPECT_EQ(sink->SetFileName(nullptr, nullptr), E_POINTER);
    const std::wstring folder = Wide(testsupport::OutputDir());
    std::wstring name = folder + std::wstring(261 - folder.size(), L'a');
    EXPECT_EQ(sink->SetFileName(name.c_str(), nullptr), 206);
    name.pop_back();
    EXPECT_EQ(sink->SetFileName(name.c_str(), nullptr), 123);
    EXPECT_EQ(sink->SetFileName(L"C:\\no\\such\\folder\\x.mpg", nullptr),
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(sink->SetFileName(L"C:\\bad<name>.mpg", nullptr), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));

    const std::wstring locked = folder + L"locked.mpg";
    win::Handle holder(CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(sink->SetFileName(locked.c_str(), nullptr), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    holder.Reset();

    const std::wstring good = folder + L"named.mpg";
    ASSERT_EQ(sink->SetFileName(good.c_str(), nullptr), S_OK);
    EXPECT_NE(GetFileAttributesW(good.c_str()), INVALID_FILE_ATTRIBUTES);
    LPOLESTR current = nullptr;
    AM_MEDIA_TYPE type;
    memset(&type, 0xCD, sizeof type);
    ASSERT_EQ(sink->GetCurFile(&current, &type), S_OK);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(std::wstring(current), good);
    CoTaskMemFree(current);
    const AM_MEDIA_TYPE zero{};
    EXPECT_EQ(memcmp(&type, &zero, sizeof type), 0);
}

TEST(WriterGraph, InterfacesPinAndSizeLimit)
{
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(CoCreateInstance(CLSID_ScrivetFileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               filter.PutVoid()),
              S_OK);
    for (const IID* iid : {&IID_IFileSinkFilter, &__uuidof(IWriterSizeLimit), &IID_IMediaFilter, &IID_IPersist,
                           &IID_IMediaSeeking, &IID_IMediaPosition, &IID_IReferenceClock, &IID_IUnknown}) {
        ComPtr<IUnknown> got;
        EXPECT_EQ(filter->QueryInterface(*iid, got.PutVoid()), S_OK);
    }
    ComPtr<IUnknown> none;
    EXPECT_EQ(filter->QueryInterface(IID_IMediaSample, none.PutVoid()), E_NOINTERFACE);
    EXPECT_EQ(filter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    ComPtr<IWriterSizeLimit> limit;
    ASSERT_EQ(filter->QueryInterface(__uuidof(IWriterSizeLimit), limit.PutVoid()), S_OK);
    LONGLONG value = 0;
    EXPECT_EQ(limit->GetSizeLimit(&value), S_OK);
    EXPECT_EQ(value, -1);
    limit->SetSizeLimit(123456789012ll);
    limit->GetSizeLimit(&value);
    EXPECT_EQ(value, 123456789012ll);

    ComPtr<IEnumPins> pins;
    ASSERT_EQ(filter->EnumPins(pins.Put()), S_OK);
    ComPtr<IPin> pin;
    ULONG got = 0;
    ASSERT_EQ(pins->Next(1, pin.Put(), &got), S_OK);
    ComPtr<IPin> second;
    EXPECT_EQ(pins->Next(1, second.Put(), &got), S_FALSE);
    PIN_INFO info{};
    ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
    EXPECT_EQ(std::wstring(info.achName), L"Input");
    EXPECT_EQ(info.dir, PINDIR_INPUT);
    if (info.pFilter)
        info.pFilter->Release();
    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(pin->EnumMediaTypes(types.Put()), S_OK);
    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_EQ(types->Next(1, &type, &got), S_FALSE);
    ComPtr<IMemInputPin> input;
    ASSERT_EQ(pin->QueryInterface(IID_IMemInputPin, input.PutVoid()), S_OK);
    EXPECT_EQ(input->ReceiveCanBlock(), S_FALSE);
}

TEST(WriterGraph, WriterStreamWorksOnlyWhileStopped)
{
    Pushed run;
    run.data = NonZeroBytes(10000, 5);
    auto* source = new ByteSource(&run.data, {1000}, 65536, MEDIATYPE_Stream);
    ASSERT_EQ(run.graph.Build(source, CLSID_ScrivetFileWriter), S_OK);
    const std::string path = testsupport::OutputDir() + "stream.bin";
    ASSERT_EQ(run.graph.SetFileName(Wide(path)), S_OK);
    {
        ComPtr<IWriterStream> stream;
        ASSERT_EQ(run.graph.writerInput->QueryInterface(__uuidof(IWriterStream), stream.PutVoid()), S_OK);
        ULONG written = 0;
        ASSERT_EQ(stream->Write("header--", 8, &written), S_OK);
        EXPECT_EQ(written, 8u);
        LARGE_INTEGER to{};
        to.QuadPart = 2;
        ULARGE_INTEGER at{};
        ASSERT_EQ(stream->Seek(to, STREAM_SEEK_SET, &at), S_OK);
        EXPECT_EQ(at.QuadPart, 2u);
        ASSERT_EQ(stream->Write("AD", 2, nullptr), S_OK);
        EXPECT_EQ(stream->Seek(to, 3, &at), E_INVALIDARG);
        ULARGE_INTEGER size{};
        size.QuadPart = 6;
        EXPECT_EQ(stream->SetSize(size), S_OK);
        EXPECT_EQ(stream->Stat(nullptr, 0), E_NOTIMPL);
        ComPtr<IPin> back;
        EXPECT_EQ(stream->QueryInterface(IID_IPin, back.PutVoid()), S_OK);

        ComPtr<IMediaControl> control;
        ASSERT_EQ(run.graph.graph->QueryInterface(IID_IMediaControl, control.PutVoid()), S_OK);
        ASSERT_TRUE(SUCCEEDED(control->Pause()));
        EXPECT_EQ(stream->Write("x", 1, nullptr), VFW_E_WRONG_STATE);
        EXPECT_EQ(stream->Seek(to, STREAM_SEEK_SET, nullptr), VFW_E_WRONG_STATE);
        EXPECT_EQ(stream->SetSize(size), VFW_E_WRONG_STATE);
        control->Stop();
        EXPECT_EQ(stream->Write("Z", 1, nullptr), S_OK);
    }
    const std::vector<BYTE> file = ReadFile(path);
    // "Z" lands at the position the size change left alone.
    EXPECT_EQ(std::string(file.begin(), file.end()), "heADZr");
}

TEST(WriterGraph, ClockMovesOnlyWithSamples)
{
    Pushed run;
    run.data = NonZeroBytes(200000, 8);
    auto* source = new ByteSource(&run.data, {1000}, 65536, MEDIATYPE_Stream);
    ASSERT_EQ(run.graph.Build(source, CLSID_ScrivetFileWriter), S_OK);
    ASSERT_EQ(run.graph.SetFileName(Wide(testsupport::OutputDir() + "clock.bin")), S_OK);
    ComPtr<IReferenceClock> clock;
    ASSERT_EQ(run.graph.writer->QueryInterface(IID_IReferenceClock, clock.PutVoid()), S_OK);
    REFERENCE_TIME before = 0, idle = 0, after = 0;
    clock->GetTime(&before);
    Sleep(150);
    clock->GetTime(&idle);
    EXPECT_EQ(idle, before);
    EXPECT_TRUE(run.graph.RunToEnd());
    clock->GetTime(&after);
    EXPECT_GE(after - before, 150 * 10000);
}

TEST(WriterGraph, RegistrationRoundTripVersionAndCreation)
{
    win::RegKey key;
    const std::string clsidKey = "CLSID\\{D8F5DB82-CA39-483F-A502-844D4132DD5C}";
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, clsidKey.c_str(), 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "FileWriterFilter");
    key.Reset();
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, (clsidKey + "\\InprocServer32").c_str(), 0, KEY_READ, key.Put()),
              ERROR_SUCCESS);
    size = sizeof value;
    RegQueryValueExA(key.Get(), "ThreadingModel", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    EXPECT_STREQ(value, "Both");
    size = sizeof value;
    RegQueryValueExA(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    EXPECT_NE(std::string(value).find("Scrivet.ax"), std::string::npos);
    key.Reset();

    // The mapper's entry under the legacy filter category.
    const std::string instance =
        "CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\{D8F5DB82-CA39-483F-A502-844D4132DD5C}";
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, instance.c_str(), 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    size = sizeof value;
    RegQueryValueExA(key.Get(), "FriendlyName", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    EXPECT_STREQ(value, "Brennick File Writer Filter");
    BYTE data[512] = {};
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key.Get(), "FilterData", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    DWORD merit = 0;
    memcpy(&merit, data + 4, 4);
    EXPECT_EQ(merit, 0x200000u);
    key.Reset();

    // The version block.
    const std::string module = testsupport::ModuleDir() + "Scrivet.ax";
    DWORD handle = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeA(module.c_str(), &handle));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(module.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    for (auto [name, expected] : {std::pair{"FileDescription", "File Writer Filter"},
                                  std::pair{"FileVersion", "2.1.106.0"}, std::pair{"Build", "Release"}}) {
        char* text = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) << name;
        EXPECT_STREQ(text, expected);
    }

    // Unregistering removes both; registering again brings creation back.
    ASSERT_EQ(Regsvr32("/u /s"), 0);
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, clsidKey.c_str(), 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, instance.c_str(), 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(CLSID_ScrivetFileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               filter.PutVoid()),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(Regsvr32("/s"), 0);
    EXPECT_EQ(CoCreateInstance(CLSID_ScrivetFileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               filter.PutVoid()),
              S_OK);
}

TEST(WriterGraph, ClassObjectRules)
{
    HMODULE module = LoadLibraryA((testsupport::ModuleDir() + "Scrivet.ax").c_str());
    ASSERT_NE(module, nullptr);
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
    auto canUnload = reinterpret_cast<CanUnloadFn>(GetProcAddress(module, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnload);
    void* out = nullptr;
    EXPECT_EQ(getClassObject(CLSID_ScrivetFileWriter, IID_IBaseFilter, &out), E_NOINTERFACE);
    EXPECT_EQ(getClassObject(IID_IBaseFilter, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_ScrivetFileWriter, IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    ComPtr<IUnknown> outer;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, outer.PutVoid()), S_OK);
    ComPtr<IBaseFilter> refused;
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IBaseFilter, refused.PutVoid()), CLASS_E_NOAGGREGATION);
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, filter.PutVoid()), S_OK);
    factory->LockServer(TRUE);
    factory.Reset();
    filter.Reset();
    EXPECT_EQ(canUnload(), S_FALSE);
    ASSERT_EQ(getClassObject(CLSID_ScrivetFileWriter, IID_IClassFactory, factory.PutVoid()), S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_OK);
    FreeLibrary(module);
}
