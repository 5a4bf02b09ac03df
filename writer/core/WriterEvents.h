#pragma once
// Graph events the writer posts, and the sink through which its writer thread posts them.
#include "ScrivetInterfaces.h"

#include <windows.h>

namespace scrivet {

class WriterEventSink {
public:
    virtual void Notify(long code, LONG_PTR param1, LONG_PTR param2) = 0;

protected:
    ~WriterEventSink() = default;
};

}  // namespace scrivet
