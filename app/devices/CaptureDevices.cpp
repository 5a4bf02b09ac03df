#include "CaptureDevices.h"

#include "CompanionFilter.h"
#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "DeviceInfo.h"
#include "DeviceNaming.h"
#include "PinFinders.h"
#include "Trace.h"
#include <win/ComPtr.h>

#include <vector>

namespace devices {

using win::ComPtr;

namespace {

bool g_extendedControls = false;

std::string PathForInstance(DWORD devInst, const GUID& category)
{
    std::string path;
    if (!FindDevicePathByInstance(devInst, &category, &path, false))
        path.clear();
    return path;
}

// A filter of the same device (by instance and relatives), else one that connects to `from`.
ComPtr<IBaseFilter> SameDeviceFilter(DWORD devInst, const GUID& category, IBaseFilter* from, std::string* path)
{
    ComPtr<IBaseFilter> filter;
    DeviceInfo info;
    if (SUCCEEDED(FindDeviceFilterByInstance(devInst, category, filter.Put(), nullptr, &info)) && filter) {
        *path = info.devicePath;
        return filter;
    }
    if (from && SUCCEEDED(media::FindCompanionFilter(from, category, false, filter.Put(), &info, nullptr, nullptr)))
        *path = info.devicePath;
    return filter;
}

// The codec-API record of one tuner, when its stream filter speaks the codec API.
bool CodecApiRecord(const std::string& tunerPath, CaptureDeviceRecord& record)
{
    DeviceInfo tunerInfo;
    if (!FindDeviceInfoByPath(tunerPath.c_str(), &tunerInfo, &kCategoryTvTuner))
        return false;
    ComPtr<IBaseFilter> tuner;
    if (FAILED(FindDeviceFilter(kCategoryTvTuner, nullptr, tunerPath.c_str(), tuner.Put(), nullptr)) || !tuner)
        return false;
    record = CaptureDeviceRecord{};
    record.tunerPath = tunerPath;
    record.devInst = tunerInfo.devInst;
    SameDeviceFilter(tunerInfo.devInst, kCategoryTvAudio, tuner.Get(), &record.tvAudioPath);
    SameDeviceFilter(tunerInfo.devInst, kCategoryCrossbar, tuner.Get(), &record.crossbarPath);
    ComPtr<IBaseFilter> capture = SameDeviceFilter(tunerInfo.devInst, kCategoryCapture, tuner.Get(), &record.capturePath);
    if (!capture)
        return false;
    ComPtr<IBaseFilter> stream = SameDeviceFilter(tunerInfo.devInst, kCategoryEncoder, capture.Get(), &record.encoderPath);
    if (!stream)
        stream = SameDeviceFilter(tunerInfo.devInst, kCategoryMultiplexer, capture.Get(), &record.multiplexerPath);
    if (!stream) {
        ComPtr<IBaseFilter> encoder;
        if (FAILED(media::FindCompanionFilter(capture.Get(), kCategoryCodecEncoder, false, encoder.Put(), nullptr,
                                              &record.streamClsid, &record.streamFilterName)))
            media::FindCompanionFilter(capture.Get(), kCategoryEncoder, false, encoder.Put(), nullptr, &record.streamClsid,
                                       &record.streamFilterName);
        if (encoder) {
            ComPtr<IBaseFilter> mux;
            if (FAILED(media::FindCompanionFilter(encoder.Get(), kCategoryCodecMultiplexer, true, mux.Put(), nullptr,
                                                  &record.secondClsid, &record.secondFilterName)))
                media::FindCompanionFilter(encoder.Get(), kCategoryMultiplexer, false, mux.Put(), nullptr, &record.secondClsid,
                                           &record.secondFilterName);
            stream = mux ? mux : encoder;
        }
    }
    ComPtr<IUnknown> codecApi;
    if (!stream || FAILED(stream->QueryInterface(kIidCodecApi, codecApi.PutVoid())))
        return false;
    DeviceInfo captureInfo;
    if (FindDeviceInfoByPath(record.capturePath.c_str(), &captureInfo, &kCategoryCapture)) {
        record.name = captureInfo.displayName;
        record.description = captureInfo.description;
    } else {
        record.name = tunerInfo.displayName;
        record.description = tunerInfo.description;
    }
    record.deviceType = kTypeCodecApi;
    return true;
}

std::vector<std::string> TunerPaths()
{
    std::vector<std::string> paths;
    ComPtr<ICreateDevEnum> devEnum;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devEnum.PutVoid())) ||
        devEnum->CreateClassEnumerator(kCategoryTvTuner, monikers.Put(), 0) != S_OK)
        return paths;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        VARIANT v;
        VariantInit(&v);
        if (SUCCEEDED(bag->Read(L"DevicePath", &v, nullptr)) && v.vt == VT_BSTR && v.bstrVal && *v.bstrVal)
            paths.push_back(Narrow(v.bstrVal));
        VariantClear(&v);
    }
    return paths;
}

// The stream filter of a record as the capture graph would take it: the encoder, else the
// multiplexer device, else the stream class.
ComPtr<IBaseFilter> StreamFilterOf(const CaptureDeviceRecord& record)
{
    ComPtr<IBaseFilter> f;
    if (!record.encoderPath.empty() && SUCCEEDED(FindDeviceFilter(kCategoryEncoder, nullptr, record.encoderPath.c_str(), f.Put(), nullptr)) && f)
        return f;
    if (!record.multiplexerPath.empty() &&
        SUCCEEDED(FindDeviceFilter(kCategoryMultiplexer, nullptr, record.multiplexerPath.c_str(), f.Put(), nullptr)) && f)
        return f;
    if (record.streamClsid != GUID_NULL &&
        SUCCEEDED(CoCreateInstance(record.streamClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, f.PutVoid())))
        return f;
    return {};
}

}  // namespace

CaptureDeviceTable& Devices()
{
    static CaptureDeviceTable table;
    return table;
}

int FindCaptureDeviceByName(const std::string& name)
{
    const CaptureDeviceTable& t = Devices();
    for (int i = 0; i < t.count; ++i) {
        if (t.records[i].name == name)
            return i;
    }
    return -1;
}

int EnumerateCaptureDevices()
{
    CaptureDeviceTable& t = Devices();
    for (CaptureDeviceRecord& r : t.records)
        r = CaptureDeviceRecord{};
    t.count = 0;

    DeviceInfo info;
    for (DWORD index = 0; t.count < kMaxCaptureDevices && GetDeviceInfo(index, &info, nullptr); ++index) {
        CaptureDeviceRecord& r = t.records[t.count];
        r.name = info.displayName;
        r.description = info.description;
        r.devInst = info.devInst;
        r.capturePath = PathForInstance(info.devInst, kCategoryCapture);
        r.crossbarPath = PathForInstance(info.devInst, kCategoryCrossbar);
        r.tunerPath = PathForInstance(info.devInst, kCategoryTvTuner);
        r.tvAudioPath = PathForInstance(info.devInst, kCategoryTvAudio);
        r.encoderPath = PathForInstance(info.devInst, kCategoryEncoder);
        r.multiplexerPath = PathForInstance(info.devInst, kCategoryMultiplexer);
        ++t.count;
    }

    std::vector<CaptureDeviceRecord> codecApi;
    for (const std::string& tunerPath : TunerPaths()) {
        if (codecApi.size() >= kMaxCaptureDevices)
            break;
        CaptureDeviceRecord r;
        if (CodecApiRecord(tunerPath, r))
            codecApi.push_back(std::move(r));
    }
    for (CaptureDeviceRecord& r : codecApi) {
        if (t.count < kMaxCaptureDevices && FindCaptureDeviceByName(r.name) < 0)
            t.records[t.count++] = std::move(r);
    }
    t.current = -1;
    for (int i = 0; t.selected && i < t.count; ++i) {
        if (t.records[i].devInst == t.currentDevInst) {
            t.current = i;
            break;
        }
    }
    media::DebugLine("%d capture device(s) found", t.count);
    return t.count;
}

HRESULT ClassifyDevice(CaptureDeviceRecord& record)
{
    ComPtr<IBaseFilter> capture;
    if (FAILED(FindDeviceFilter(kCategoryCapture, nullptr, record.capturePath.c_str(), capture.Put(), nullptr)) || !capture)
        return E_FAIL;
    ComPtr<IKsPropertySet> props;
    if (FAILED(capture->QueryInterface(IID_IKsPropertySet, props.PutVoid())))
        return E_FAIL;
    ClassifyFacts facts;
    DWORD support = 0;
    if (SUCCEEDED(props->QuerySupported(kEncoderPropertySet, 0, &support)) && (support & KSPROPERTY_SUPPORT_GET)) {
        DWORD caps[kCapabilityBytes / 4] = {3, 0};
        DWORD returned = 0;
        if (SUCCEEDED(props->Get(kEncoderPropertySet, 0, nullptr, 0, caps, sizeof caps, &returned))) {
            facts.encoderSetSupported = true;
            facts.multiplexingWord = caps[12] != 0;
        }
    }
    if (facts.encoderSetSupported) {
        BYTE extended[32] = {};
        DWORD returned = 0;
        if (SUCCEEDED(props->Get(kExtendedControlSet, 1, nullptr, 0, extended, sizeof extended, &returned)))
            g_extendedControls = true;
        ComPtr<IBaseFilter> stream = StreamFilterOf(record);
        facts.hasStreamFilter = static_cast<bool>(stream);
        facts.streamFilterHasStreamOutput =
            stream && static_cast<bool>(media::FindPinByType(stream.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL));
    }
    record.deviceType = DecideDeviceType(facts);
    return S_OK;
}

HRESULT GetBusType(IBaseFilter* captureFilter, int* busType)
{
    if (!busType)
        return E_POINTER;
    *busType = -1;
    const CaptureDeviceTable& t = Devices();
    if (t.current < 0 || t.current >= t.count)
        return E_FAIL;
    if (t.records[t.current].deviceType == kTypeCodecApi) {
        *busType = kBusPci;
        return S_OK;
    }
    ComPtr<IBaseFilter> filter = ComPtr<IBaseFilter>::Share(captureFilter);
    if (!filter) {
        const HRESULT hr = FindDeviceFilterByInstance(t.records[t.current].devInst, kCategoryCapture, filter.Put(), nullptr, nullptr);
        if (FAILED(hr) || !filter)
            return E_FAIL;
    }
    ComPtr<IKsPropertySet> props;
    HRESULT hr = filter->QueryInterface(IID_IKsPropertySet, props.PutVoid());
    if (FAILED(hr))
        return hr;
    DWORD value[3] = {};
    DWORD returned = 0;
    if (FAILED(hr = props->Get(kBusPropertySet, 0, nullptr, 0, value, sizeof value, &returned)))
        return media::TraceFailure("IKsPropertySet::Get(bus)", hr);
    *busType = static_cast<int>(value[1]);
    return S_OK;
}

void SelectCaptureDevice(int index)
{
    CaptureDeviceTable& t = Devices();
    if (index < 0 || index >= t.count) {
        t.current = -1;
        t.selected = false;
        t.currentDevInst = 0;
        return;
    }
    t.current = index;
    t.selected = true;
    t.currentDevInst = t.records[index].devInst;
}

bool IsCurrentDeviceGone()
{
    const CaptureDeviceTable& t = Devices();
    if (!t.selected)
        return false;
    std::string path;
    return !FindDevicePathByInstance(t.currentDevInst, &kCategoryCapture, &path, false);
}

bool ExtendedControlsAvailable()
{
    return g_extendedControls;
}

}  // namespace devices
