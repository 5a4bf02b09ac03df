// The memory allocator and its samples on their own: properties, commit/decommit, waiting
// for a free buffer, and sample time and length rules.
#include <windows.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <thread>

#include <win/ComPtr.h>
#include "dshowbase/MediaType.h"
#include "dshowbase/MemAllocator.h"

namespace {

using win::ComPtr;

ComPtr<dshow::MemAllocator> MakeAllocator(long buffers, long size, long align = 1)
{
    auto allocator = ComPtr<dshow::MemAllocator>::Share(new dshow::MemAllocator);
    ALLOCATOR_PROPERTIES request{buffers, size, align, 0};
    ALLOCATOR_PROPERTIES actual{};
    EXPECT_EQ(allocator->SetProperties(&request, &actual), S_OK);
    return allocator;
}

TEST(MemAllocator, ValidatesProperties)
{
    auto allocator = ComPtr<dshow::MemAllocator>::Share(new dshow::MemAllocator);
    ALLOCATOR_PROPERTIES actual{};
    ALLOCATOR_PROPERTIES badAlign{1, 100, 3, 0};
    EXPECT_EQ(allocator->SetProperties(&badAlign, &actual), VFW_E_BADALIGN);
    ALLOCATOR_PROPERTIES zeroAlign{1, 100, 0, 0};
    EXPECT_EQ(allocator->SetProperties(&zeroAlign, &actual), VFW_E_BADALIGN);
    ALLOCATOR_PROPERTIES noSize{1, 0, 1, 0};
    EXPECT_EQ(allocator->SetProperties(&noSize, &actual), E_INVALIDARG);
    EXPECT_EQ(allocator->Commit(), VFW_E_SIZENOTSET);

    ALLOCATOR_PROPERTIES rounded{2, 100, 64, 8};
    ASSERT_EQ(allocator->SetProperties(&rounded, &actual), S_OK);
    EXPECT_EQ(actual.cBuffers, 2);
    EXPECT_EQ((actual.cbBuffer + actual.cbPrefix) % 64, 0);
    EXPECT_GE(actual.cbBuffer, 100);

    ASSERT_EQ(allocator->Commit(), S_OK);
    EXPECT_EQ(allocator->SetProperties(&rounded, &actual), VFW_E_ALREADY_COMMITTED);
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(data - actual.cbPrefix) % 64, 0u);
    allocator->Decommit();
    EXPECT_EQ(allocator->SetProperties(&rounded, &actual), VFW_E_BUFFERS_OUTSTANDING);
    sample.Reset();
    EXPECT_EQ(allocator->SetProperties(&rounded, &actual), S_OK);
}

TEST(MemAllocator, GetBufferNeedsCommitAndWaitsForAFreeSample)
{
    auto allocator = MakeAllocator(2, 256);
    ComPtr<IMediaSample> a, b, c;
    EXPECT_EQ(allocator->GetBuffer(a.Put(), nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    ASSERT_EQ(allocator->Commit(), S_OK);
    ASSERT_EQ(allocator->GetBuffer(a.Put(), nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(allocator->GetBuffer(b.Put(), nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(allocator->Outstanding(), 2);
    EXPECT_EQ(allocator->GetBuffer(c.Put(), nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);

    // A waiting GetBuffer gets the sample released by another thread.
    IMediaSample* released = a.Get();
    std::thread returner([&] {
        Sleep(50);
        a.Reset();
    });
    ASSERT_EQ(allocator->GetBuffer(c.Put(), nullptr, nullptr, 0), S_OK);
    returner.join();
    EXPECT_EQ(c.Get(), released);

    // Decommit frees a waiter with VFW_E_NOT_COMMITTED.
    HRESULT waited = S_OK;
    std::thread waiter([&] {
        IMediaSample* none = nullptr;
        waited = allocator->GetBuffer(&none, nullptr, nullptr, 0);
    });
    Sleep(50);
    allocator->Decommit();
    waiter.join();
    EXPECT_EQ(waited, VFW_E_NOT_COMMITTED);

    // Samples still out after Decommit come back safely, and the allocator lives until then.
    IMediaSample* last = b.Detach();
    c.Reset();
    allocator.Reset();
    EXPECT_EQ(last->Release(), 0u);
}

TEST(MemAllocator, SampleTimesLengthsAndFlags)
{
    auto allocator = MakeAllocator(1, 100);
    ASSERT_EQ(allocator->Commit(), S_OK);
    ComPtr<IMediaSample> sample;
    ASSERT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);

    REFERENCE_TIME start = 0, stop = 0;
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    REFERENCE_TIME s = 100, e = 200;
    sample->SetTime(&s, &e);
    EXPECT_EQ(sample->GetTime(&start, &stop), S_OK);
    EXPECT_EQ(start, 100);
    EXPECT_EQ(stop, 200);
    sample->SetTime(&s, nullptr);
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(stop, 101);

    EXPECT_EQ(sample->GetSize(), 100);
    EXPECT_EQ(sample->SetActualDataLength(101), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(sample->SetActualDataLength(-1), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(sample->SetActualDataLength(40), S_OK);
    EXPECT_EQ(sample->GetActualDataLength(), 40);

    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(TRUE);
    const dshow::MediaType type(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
    EXPECT_EQ(sample->SetMediaType(const_cast<dshow::MediaType*>(&type)), S_OK);
    AM_MEDIA_TYPE* copy = nullptr;
    ASSERT_EQ(sample->GetMediaType(&copy), S_OK);
    EXPECT_EQ(copy->subtype, MEDIASUBTYPE_MPEG2_PROGRAM);
    dshow::DeleteMediaType(copy);

    // A sample handed out again starts clean.
    sample.Reset();
    ASSERT_EQ(allocator->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(sample->GetTime(&start, &stop), VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_EQ(sample->IsSyncPoint(), S_FALSE);
    EXPECT_EQ(sample->IsDiscontinuity(), S_FALSE);
    EXPECT_EQ(sample->GetMediaType(&copy), S_FALSE);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(sample->GetActualDataLength(), 100);
}

}  // namespace
