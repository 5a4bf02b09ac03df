#pragma once
// Where a writer's run files come from, and what it learns about their volumes. The plug-in
// uses the system's; a test module puts in volumes with other sector sizes, little free space
// or writes that hang, and drives the same filter through real graphs.
#include "RunFile.h"
#include "WriteLimit.h"

#include <memory>

namespace scrivet {

class Storage {
public:
    virtual VolumeFacts& Volumes() = 0;
    // Creates (or empties) `name` for a run; 0 or the Win32 error.
    virtual DWORD CreateRunFile(const std::wstring& name, DWORD sectorSize,
                                std::unique_ptr<RunFile>* file) = 0;

protected:
    ~Storage() = default;
};

class SystemStorage final : public Storage {
public:
    VolumeFacts& Volumes() override { return volumes_; }
    DWORD CreateRunFile(const std::wstring& name, DWORD sectorSize,
                        std::unique_ptr<RunFile>* file) override;

private:
    SystemVolumeFacts volumes_;
};

// The process's one system storage.
SystemStorage& TheSystemStorage();

}  // namespace scrivet
