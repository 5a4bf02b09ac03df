#pragma once
// The name the writer's tests used before the tree moved to win/ComPtr.h. Kept only until
// writer/ says win::ComPtr itself; nothing else may include it.
#include <win/ComPtr.h>

namespace dshow {

template <class T>
using ComPtr = win::ComPtr<T>;

}  // namespace dshow
