#include "framework/MessageMap.h"

#include <utility>

namespace framework {

void MessageMap::AddCommand(UINT first, UINT last, UINT code, CommandHandler handler)
{
    if (first > last || !handler)
        return;
    commands_.push_back({first, last, code, std::move(handler)});
}

void MessageMap::AddNotify(UINT first, UINT last, UINT code, NotifyHandler handler)
{
    if (first > last || !handler)
        return;
    notifies_.push_back({first, last, code, std::move(handler)});
}

const MessageMap::CommandHandler* MessageMap::FindCommand(UINT id, UINT code) const
{
    for (auto it = commands_.rbegin(); it != commands_.rend(); ++it)
        if (id >= it->first && id <= it->last && code == it->code)
            return &it->handler;
    return nullptr;
}

const MessageMap::NotifyHandler* MessageMap::FindNotify(UINT id, UINT code) const
{
    for (auto it = notifies_.rbegin(); it != notifies_.rend(); ++it)
        if (id >= it->first && id <= it->last && code == it->code)
            return &it->handler;
    return nullptr;
}

}  // namespace framework
