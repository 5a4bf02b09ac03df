#pragma once
// Building blocks of the graph tests: registration of the stand-ins, filter creation, pin
// lookup and the media types the capture graph gives the demultiplexer's pins.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include <win/ComPtr.h>
#include <dshowbase/MediaType.h>

namespace graphtest {

using win::ComPtr;

// The stand-ins registered by the test bed's installer; true on success.
bool RegisterStandIns();

ComPtr<IBaseFilter> AddFilter(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name);
// The last-enumerated pin of a direction (optionally unconnected only), as the program's
// toolkit finds a tee's free output.
ComPtr<IPin> LastPin(IBaseFilter* filter, PIN_DIRECTION direction, bool unconnectedOnly = true);
ComPtr<IPin> PinByName(IBaseFilter* filter, const wchar_t* name);
HRESULT Connect(IGraphBuilder* graph, IPin* out, IBaseFilter* to);

// The sequence header (and its extension) at the start of a stream file, for a format block.
std::vector<uint8_t> FirstSequenceHeader(const std::vector<uint8_t>& file);
dshow::MediaType Mpeg2VideoType(int width, int height, const std::vector<uint8_t>& sequenceHeader);
dshow::MediaType MpegAudioType(int rate, int bitRate);
dshow::MediaType PcmType(int rate, int channels);

std::string StreamPath(const std::string& name);  // a stream made by the fixture
long LiveObjectsIn(const wchar_t* module);          // DllCanUnloadNow: 0 when S_OK, else 1

}  // namespace graphtest
