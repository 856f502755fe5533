#include "color/NamedColorCache.h"

UIColorRef NamedColorCache::colorWithName(std::string_view name)
{
    std::lock_guard guard(_lock);
    if (auto entry = _entries.find(name); entry != _entries.end())
        return entry->second;
    UIColorRef found = _search(name);
    _entries.emplace(std::string(name), found);
    return found;
}

size_t NamedColorCache::count() const
{
    std::lock_guard guard(_lock);
    return _entries.size();
}
