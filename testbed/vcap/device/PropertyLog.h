#pragma once
// Every property call a card's filters receive (get or set, set identifier, property id, the
// caller's buffer size, the result and the bytes that crossed), kept with the card's record
// so a test in any process can read what the program sent and in which order.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace vcap {

struct PropertyCall {
    bool set = false;
    GUID propertySet{};
    uint32_t id = 0;
    uint32_t size = 0;       // the caller's buffer size
    HRESULT result = S_OK;
    std::vector<uint8_t> data;  // set: what was sent; get: what was returned
};

// The log keeps the most recent calls; older ones drop off the front.
constexpr size_t kPropertyLogLimit = 256;

bool AppendPropertyCall(int card, const PropertyCall& call);
// The filters' shorthand: `length` bytes of `data` crossed.
void LogPropertyCall(int card, bool set, const GUID& propertySet, DWORD id, DWORD size, HRESULT result, const void* data,
                     DWORD length);
std::vector<PropertyCall> ReadPropertyLog(int card);
bool ClearPropertyLog(int card);

}  // namespace vcap
