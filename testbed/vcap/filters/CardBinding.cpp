#include "CardBinding.h"

namespace vcap {

dshow::ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& devicePath)
{
    dshow::ComPtr<ICreateDevEnum> devEnum;
    dshow::ComPtr<IEnumMoniker> e;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devEnum.PutVoid())) ||
        devEnum->CreateClassEnumerator(category, e.Put(), 0) != S_OK)
        return {};
    dshow::ComPtr<IMoniker> m;
    while (e->Next(1, m.Put(), nullptr) == S_OK) {
        dshow::ComPtr<IPropertyBag> bag;
        if (FAILED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        VARIANT v;
        VariantInit(&v);
        const bool match = SUCCEEDED(bag->Read(L"DevicePath", &v, nullptr)) && v.vt == VT_BSTR &&
                           _wcsicmp(v.bstrVal, devicePath.c_str()) == 0;
        VariantClear(&v);
        if (!match)
            continue;
        dshow::ComPtr<IBaseFilter> f;
        if (SUCCEEDED(m->BindToObject(nullptr, nullptr, IID_IBaseFilter, f.PutVoid())))
            return f;
    }
    return {};
}

dshow::ComPtr<IBaseFilter> BindCardFilter(const CardRecord& card, FilterRole role)
{
    if (!RoleExists(card.personality, role))
        return {};
    return BindByPath(*Role(role).category, card.paths[static_cast<int>(role)]);
}

}  // namespace vcap
