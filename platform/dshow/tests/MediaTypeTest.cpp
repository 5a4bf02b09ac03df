// Media type copies, comparison and partial matching.
#include <windows.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include "dshowbase/MediaType.h"

namespace {

using dshow::MediaType;

TEST(MediaType, CopiesOwnTheirFormatBlock)
{
    MediaType original(MEDIATYPE_Video, MEDIASUBTYPE_RGB24);
    const BYTE format[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(original.SetFormat(FORMAT_VideoInfo, format, sizeof(format)));
    MediaType copy(original);
    ASSERT_NE(copy.pbFormat, original.pbFormat);
    EXPECT_TRUE(copy == original);
    copy.pbFormat[0] = 9;
    EXPECT_FALSE(copy == original);
    EXPECT_EQ(original.pbFormat[0], 1);

    AM_MEDIA_TYPE* task = dshow::CreateMediaType(&original);
    ASSERT_NE(task, nullptr);
    EXPECT_TRUE(original == *task);
    dshow::DeleteMediaType(task);
    dshow::DeleteMediaType(nullptr);

    copy = original;
    EXPECT_TRUE(copy == original);
    copy.Clear();
    EXPECT_EQ(copy.pbFormat, nullptr);
    EXPECT_FALSE(copy.IsValid());
}

TEST(MediaType, PartialTypesMatchOnWhatTheyName)
{
    const MediaType full(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM, FORMAT_None);
    EXPECT_FALSE(full.IsPartiallySpecified());
    EXPECT_TRUE(MediaType().MatchesPartial(full));
    EXPECT_TRUE(MediaType(MEDIATYPE_Stream, GUID_NULL).MatchesPartial(full));
    EXPECT_FALSE(MediaType(MEDIATYPE_Video, GUID_NULL).MatchesPartial(full));
    EXPECT_FALSE(MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System).MatchesPartial(full));
    EXPECT_TRUE(MediaType(MEDIATYPE_Stream, GUID_NULL).IsPartiallySpecified());
}

TEST(MediaType, CopyReleasesAndAddsPunk)
{
    struct Counter : IUnknown {
        long refs = 1;
        STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
        STDMETHODIMP_(ULONG) Release() override { return --refs; }
    } counter;
    AM_MEDIA_TYPE raw{};
    raw.pUnk = &counter;
    {
        MediaType copy(raw);
        EXPECT_EQ(counter.refs, 2);
    }
    EXPECT_EQ(counter.refs, 1);
}

}  // namespace
