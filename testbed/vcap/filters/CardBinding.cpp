#include "CardBinding.h"

namespace vcap {

win::ComPtr<IBaseFilter> BindByPath(const GUID& category, const std::wstring& devicePath)
{
    win::ComPtr<ICreateDevEnum> devEnum;
    win::ComPtr<IEnumMoniker> e;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, devEnum.PutVoid())) ||
        devEnum->CreateClassEnumerator(category, e.Put(), 0) != S_OK)
        return {};
    win::ComPtr<IMoniker> m;
    while (e->Next(1, m.Put(), nullptr) == S_OK) {
        win::ComPtr<IPropertyBag> bag;
        if (FAILED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.PutVoid())))
            continue;
        VARIANT v;
        VariantInit(&v);
        const bool match = SUCCEEDED(bag->Read(L"DevicePath", &v, nullptr)) && v.vt == VT_BSTR &&
                           _wcsicmp(v.bstrVal, devicePath.c_str()) == 0;
        VariantClear(&v);
        if (!match)
            continue;
        win::ComPtr<IBaseFilter> f;
        if (SUCCEEDED(m->BindToObject(nullptr, nullptr, IID_IBaseFilter, f.PutVoid())))
            return f;
    }
    return {};
}

win::ComPtr<IBaseFilter> BindCardFilter(const CardRecord& card, FilterRole role)
{
    if (!RoleExists(card.personality, role))
        return {};
    return BindByPath(*Role(role).category, card.paths[static_cast<int>(role)]);
}

}  // namespace vcap
