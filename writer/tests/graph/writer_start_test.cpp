// The writer's start, end and teardown in real graphs under Wine: runs that cannot start,
// runs with nothing to write, volumes with little space or 4096-byte sectors (the test
// module's storage), a reconnect with a larger allocator, the registered pin data, an end of
// run that cannot reopen its file, and a write that hangs through stop and teardown.
#include "GraphTestHelpers.h"
#include "ScrivetInterfaces.h"
#include "TestStorage.h"
#include "TestSupport.h"
#include "WriteRing.h"
#include "WriterGraph.h"

#include <win/ComPtr.h>
#include <win/Handle.h>

#include <gtest/gtest.h>

#include <evcode.h>
#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <fstream>

using namespace scrivet::test;
using win::ComPtr;

namespace {

// Writers over TestStorage, from the test module's own class object.
ComPtr<IBaseFilter> MakeTestWriter()
{
    static HMODULE module = LoadLibraryA((testsupport::ModuleDir() + "ScrivetTestWriter.ax").c_str());
    ComPtr<IBaseFilter> writer;
    if (!module)
        return writer;
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
    ComPtr<IClassFactory> factory;
    if (getClassObject && SUCCEEDED(getClassObject(kTestWriterClsid, IID_IClassFactory, factory.PutVoid())))
        factory->CreateInstance(nullptr, IID_IBaseFilter, writer.PutVoid());
    return writer;
}

ComPtr<IBaseFilter> MakePlugInWriter()
{
    ComPtr<IBaseFilter> writer;
    CoCreateInstance(CLSID_ScrivetFileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, writer.PutVoid());
    return writer;
}

// A fresh, empty folder under the test's output folder.
std::string FreshFolder(const std::string& name)
{
    const std::string folder = testsupport::OutputDir() + name + "\\";
    testsupport::RunProcess("cmd /c rmdir /s /q \"" + folder + "\"");
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Index of the first event with `code`, or the number of events when there is none.
size_t IndexOf(const WriterGraph& graph, long code)
{
    const auto it = std::find_if(graph.events.begin(), graph.events.end(),
                                 [code](const GraphEvent& e) { return e.code == code; });
    return static_cast<size_t>(it - graph.events.begin());
}

struct Recorded {
    std::vector<long> codes;
    std::vector<uint64_t> totals;
    std::vector<BYTE> file;
};

// Pushes `data` through `writer` into `path` and reads the file back once the writer is gone.
Recorded Record(ComPtr<IBaseFilter> writer, const std::vector<BYTE>& data, const std::string& path,
                std::vector<long> sizes = {65536, 1000, 7})
{
    Recorded result;
    WriterGraph graph;
    auto* source = new ByteSource(&data, std::move(sizes), 65536, MEDIATYPE_Stream);
    EXPECT_EQ(graph.Build(source, std::move(writer)), S_OK);
    EXPECT_EQ(graph.SetFileName(Wide(path)), S_OK);
    EXPECT_TRUE(graph.RunToEnd());
    result.codes = graph.Codes();
    result.totals = graph.ProgressTotals();
    graph.ReleaseWriter();
    result.file = ReadFile(path);
    return result;
}

}  // namespace

TEST(WriterStart, ARunThatCannotOpenItsFileSaysSoAtOnceAndLeavesNoRecording)
{
    const std::vector<BYTE> data = NonZeroBytes(300000, 1);
    enum Case { FolderGone, FileLocked, FreeSpaceUnknown };
    for (Case c : {FolderGone, FileLocked, FreeSpaceUnknown}) {
        SCOPED_TRACE(c);
        const std::string folder = FreshFolder(c == FreeSpaceUnknown ? "nospace" : "start_" + std::to_string(c));
        const std::string path = folder + "clip1.mpg";
        WriterGraph graph;
        auto* source = new ByteSource(&data, {65536}, 65536, MEDIATYPE_Stream);
        ASSERT_EQ(graph.Build(source, c == FreeSpaceUnknown ? MakeTestWriter() : MakePlugInWriter()), S_OK);
        ASSERT_EQ(graph.SetFileName(Wide(path)), S_OK);  // the trial file is made here
        ASSERT_TRUE(FileExists(path));
        win::Handle holder;
        if (c == FolderGone) {
            ASSERT_TRUE(DeleteFileA(path.c_str()));
            ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
        } else if (c == FileLocked) {
            holder.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(holder.Get(), "held", 4, &written, nullptr));
        }
        // The graph runs (the preview would go on); the writer says at once that it writes nothing.
        EXPECT_TRUE(graph.RunToEnd());
        EXPECT_EQ(graph.Codes(true), std::vector<long>{EC_WRITER_WRITE_ERROR});
        EXPECT_LT(IndexOf(graph, EC_WRITER_WRITE_ERROR), IndexOf(graph, EC_COMPLETE));
        EXPECT_TRUE(source->Finished());
        graph.ReleaseWriter();
        holder.Reset();
        if (c == FileLocked) {
            const std::vector<BYTE> file = ReadFile(path);  // somebody else's file stays as it was
            EXPECT_EQ(std::string(file.begin(), file.end()), "held");
        } else {
            EXPECT_FALSE(FileExists(path));  // no empty file to pass for a recording
        }
    }
}

TEST(WriterStart, PauseThenStopWithNoSamplesLeavesAnEmptyFileAndNoEvent)
{
    ComPtr<IBaseFilter> writer = MakePlugInWriter();
    ASSERT_TRUE(writer);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid()),
              S_OK);
    ASSERT_EQ(graph->AddFilter(writer.Get(), L"Writer"), S_OK);
    ComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer.As(IID_IFileSinkFilter, sink), S_OK);
    const std::string path = testsupport::OutputDir() + "nothing.mpg";
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older recording";
    }
    ASSERT_EQ(sink->SetFileName(Wide(path).c_str(), nullptr), S_OK);
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    ASSERT_EQ(graph.As(IID_IMediaControl, control), S_OK);
    ASSERT_EQ(graph.As(IID_IMediaEvent, events), S_OK);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(SUCCEEDED(control->Pause()));
        Sleep(100);
        EXPECT_EQ(control->Stop(), S_OK);
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
            EXPECT_FALSE(code >= EC_WRITER_WRITE_ERROR && code <= EC_WRITER_PROGRESS) << code;
            events->FreeEventParams(code, p1, p2);
        }
        ASSERT_TRUE(FileExists(path));
        EXPECT_TRUE(ReadFile(path).empty());
    }
}

TEST(WriterStart, ASecondRunIntoTheSameNameOnASmallVolumeIsNotStoppedByTheFirst)
{
    // The small volume has 8 MiB, 6 MiB of it usable: one 5 MiB file fits, two do not.
    const std::string folder = FreshFolder("small");
    const std::vector<BYTE> data = NonZeroBytes(5 * 1024 * 1024, 2);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const Recorded recorded = Record(MakeTestWriter(), data, folder + "same.mpg");
        EXPECT_TRUE(recorded.codes.empty());
        EXPECT_TRUE(recorded.file == data);
    }
    // The volume really is small: a file larger than it is stopped with "disk full".
    const std::vector<BYTE> large = NonZeroBytes(7 * 1024 * 1024, 3);
    const Recorded recorded = Record(MakeTestWriter(), large, folder + "same.mpg");
    EXPECT_EQ(recorded.codes, std::vector<long>{EC_WRITER_DISK_FULL});
    EXPECT_LE(recorded.file.size(), 6u * 1024 * 1024);
}

TEST(WriterStart, A4096ByteSectorVolumeGetsOnlyWholeAlignedSectors)
{
    const std::vector<BYTE> data = NonZeroBytes(1024 * 1024 + 777, 4);
    const Recorded recorded = Record(MakeTestWriter(), data, testsupport::OutputDir() + "sectors4k.bin",
                                     {188, 65536, 1, 4096, 3000, 512, 7});
    // An unaligned write would have been refused as a write error.
    EXPECT_TRUE(recorded.codes.empty());
    EXPECT_TRUE(recorded.file == data);
    ASSERT_GE(recorded.totals.size(), 2u);
    for (size_t i = 0; i + 1 < recorded.totals.size(); ++i)
        EXPECT_EQ(recorded.totals[i] % 4096, 0u) << recorded.totals[i];
    EXPECT_EQ(recorded.totals.back(), data.size());
}

TEST(WriterStart, TheRingFollowsALargerAllocatorAfterAReconnect)
{
    // The ring holds the larger of its budget and ten of the connection's buffers: 64 KiB
    // buffers get the budget, 2 MiB buffers 20 MiB. While the first write hangs, the source
    // fills the ring and then waits with one more buffer in hand.
    win::Handle unstick(CreateEventW(nullptr, TRUE, FALSE, kUnstickEvent));
    ASSERT_TRUE(unstick);
    const std::vector<BYTE> data = NonZeroBytes(24 * 1024 * 1024 + 5, 5);
    const std::string folder = FreshFolder("reconnect");
    WriterGraph graph;
    auto* source = new ByteSource(&data, {65536}, 65536, MEDIATYPE_Stream);
    ASSERT_EQ(graph.Build(source, MakeTestWriter()), S_OK);
    const auto heldWhileStuck = [&](const std::string& path, uint64_t ring, long buffer) {
        ResetEvent(unstick.Get());
        graph.events.clear();
        ASSERT_EQ(graph.SetFileName(Wide(path)), S_OK);
        ASSERT_TRUE(graph.Run());
        const uint64_t full = ring + static_cast<uint64_t>(buffer);
        for (int i = 0; i < 600 && source->BytesDelivered() < full; ++i)
            Sleep(50);
        Sleep(500);  // a larger ring would take more in this time
        EXPECT_EQ(source->BytesDelivered(), full);
        SetEvent(unstick.Get());
        EXPECT_TRUE(graph.WaitToEnd());
        EXPECT_TRUE(graph.Codes().empty());
    };
    heldWhileStuck(folder + "stuck_small.bin", scrivet::kRingBudget, 65536);

    ComPtr<IPin> oldOutput;
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(graph.sourceFilter->EnumPins(pins.Put()), S_OK);
    ULONG got = 0;
    ASSERT_EQ(pins->Next(1, oldOutput.Put(), &got), S_OK);
    ASSERT_EQ(graph.graph->Disconnect(oldOutput.Get()), S_OK);
    ASSERT_EQ(graph.graph->Disconnect(graph.writerInput.Get()), S_OK);
    ASSERT_EQ(graph.graph->RemoveFilter(graph.sourceFilter.Get()), S_OK);
    constexpr long kLarge = 2 * 1024 * 1024;
    source = new ByteSource(&data, {kLarge}, kLarge, MEDIATYPE_Stream);
    graph.sourceFilter = ComPtr<IBaseFilter>::Share(source);
    ASSERT_EQ(graph.graph->AddFilter(graph.sourceFilter.Get(), L"Larger"), S_OK);
    ASSERT_EQ(graph.graph->ConnectDirect(source->OutputPin(), graph.writerInput.Get(), nullptr), S_OK);
    heldWhileStuck(folder + "stuck_big.bin", 10u * kLarge, kLarge);
    graph.ReleaseWriter();
    EXPECT_TRUE(ReadFile(folder + "stuck_small.bin") == data);
    EXPECT_TRUE(ReadFile(folder + "stuck_big.bin") == data);
}

TEST(WriterStart, TheMapperHoldsTheRegisteredPinData)
{
    const char* instance =
        "CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\{D8F5DB82-CA39-483F-A502-844D4132DD5C}";
    win::RegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, instance, 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    std::vector<BYTE> data(1024);
    DWORD size = static_cast<DWORD>(data.size());
    ASSERT_EQ(RegQueryValueExA(key.Get(), "FilterData", nullptr, nullptr, data.data(), &size), ERROR_SUCCESS);
    data.resize(size);
    const auto dword = [&](size_t at) {
        DWORD v = 0;
        if (at + 4 <= data.size())
            memcpy(&v, data.data() + at, 4);
        return v;
    };
    const auto guidAt = [&](DWORD at) {
        GUID g;
        memset(&g, 0xFF, sizeof g);
        if (at + sizeof g <= data.size())
            memcpy(&g, data.data() + at, sizeof g);
        return g;
    };
    // Header: version, merit, pin count, reserved; then each pin and its media types.
    EXPECT_EQ(dword(0), 2u);
    EXPECT_EQ(dword(4), 0x200000u);
    ASSERT_EQ(dword(8), 1u);
    const size_t pin = 16;
    EXPECT_EQ(memcmp(data.data() + pin + 1, "pi3", 3), 0);
    EXPECT_EQ(dword(pin + 4), 0u);  // flags: not rendered, not an output, no zero or many instances
    EXPECT_EQ(dword(pin + 12), 1u);  // one media type
    EXPECT_EQ(dword(pin + 16), 0u);  // no mediums
    const size_t type = pin + 24;
    EXPECT_EQ(memcmp(data.data() + type + 1, "ty3", 3), 0);
    EXPECT_TRUE(guidAt(dword(type + 8)) == GUID_NULL);   // any major type
    EXPECT_TRUE(guidAt(dword(type + 12)) == GUID_NULL);  // any subtype
}

TEST(WriterStart, AFailedReopenAtTheEndGivesTheExactLengthAndAnEvent)
{
    win::Handle unstick(CreateEventW(nullptr, TRUE, FALSE, kUnstickEvent));
    ASSERT_TRUE(unstick);
    ResetEvent(unstick.Get());
    const std::vector<BYTE> data = NonZeroBytes(200000 + 123, 6);
    const std::string folder = FreshFolder("reopen");
    const std::string moved = FreshFolder("reopen_moved");
    ASSERT_TRUE(RemoveDirectoryA(moved.c_str()));
    WriterGraph graph;
    ASSERT_EQ(graph.Build(new ByteSource(&data, {5000}, 65536, MEDIATYPE_Stream), MakeTestWriter()), S_OK);
    ASSERT_EQ(graph.SetFileName(Wide(folder + "stuck_reopen.mpg")), S_OK);
    ASSERT_TRUE(graph.Run());
    Sleep(300);  // the run has its file and hangs on its first write
    // The folder moves: the run's own handle still writes and cuts, a reopen by name fails.
    ASSERT_TRUE(MoveFileA(folder.substr(0, folder.size() - 1).c_str(), moved.substr(0, moved.size() - 1).c_str()));
    SetEvent(unstick.Get());
    EXPECT_TRUE(graph.WaitToEnd());
    graph.ReleaseWriter();
    EXPECT_EQ(graph.Codes(), std::vector<long>{EC_WRITER_WRITE_ERROR});
    EXPECT_TRUE(ReadFile(moved + "stuck_reopen.mpg") == data);
}

TEST(WriterTeardown, AHangingWriteHoldsUpNeitherStopNorTeardownAndTheRunFinishesAlone)
{
    win::Handle unstick(CreateEventW(nullptr, TRUE, FALSE, kUnstickEvent));
    ASSERT_TRUE(unstick);
    ResetEvent(unstick.Get());
    // More than the ring holds, so the source is left waiting for room.
    const std::vector<BYTE> data = NonZeroBytes(scrivet::kRingBudget + 4 * 1024 * 1024, 7);
    const std::string path = testsupport::OutputDir() + "stuck_teardown.bin";
    WriterGraph graph;
    ASSERT_EQ(graph.Build(new ByteSource(&data, {65536}, 65536, MEDIATYPE_Stream), MakeTestWriter()), S_OK);
    ASSERT_EQ(graph.SetFileName(Wide(path)), S_OK);
    ASSERT_TRUE(graph.Run());
    Sleep(500);  // the ring fills and the source waits for room
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph.graph.As(IID_IMediaControl, control), S_OK);
    DWORD start = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(control->Stop()));
    EXPECT_LT(GetTickCount() - start, 12000u);
    control.Reset();
    start = GetTickCount();
    graph.ReleaseWriter();  // the filter leaves the graph and is destroyed
    EXPECT_LT(GetTickCount() - start, 12000u);

    // The write comes back after the filter is gone (freed memory is poisoned by the heap
    // checker, so a run still using the filter would crash here): the run finishes the file.
    SetEvent(unstick.Get());
    bool finished = false;
    for (int i = 0; i < 500 && !finished; ++i) {
        Sleep(20);
        finished = static_cast<bool>(
            win::Handle(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    }
    ASSERT_TRUE(finished);
    Sleep(100);
    const std::vector<BYTE> file = ReadFile(path);
    EXPECT_GT(file.size(), 0u);
    EXPECT_LT(file.size(), data.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), data.begin()));
}
