#include "Storage.h"

namespace scrivet {

DWORD SystemStorage::CreateRunFile(const std::wstring& name, DWORD sectorSize,
                                   std::unique_ptr<RunFile>* file)
{
    auto created = std::make_unique<UnbufferedRunFile>();
    const DWORD error = created->Create(name, sectorSize);
    if (error == 0)
        *file = std::move(created);
    return error;
}

SystemStorage& TheSystemStorage()
{
    static SystemStorage storage;
    return storage;
}

}  // namespace scrivet
