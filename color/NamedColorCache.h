#pragma once

// Names already asked for, mapped to the colour found or to "known absent". One lock covers
// lookup, search and insertion, so two threads asking for the same new name search once and
// both answer the colour the first one stored. Entries are never removed.

#include "ui/UIColor.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

class NamedColorCache {
public:
    using Search = std::function<UIColorRef(std::string_view name)>;

    explicit NamedColorCache(Search search) : _search(std::move(search)) { }
    NamedColorCache(const NamedColorCache&) = delete;
    NamedColorCache& operator=(const NamedColorCache&) = delete;

    UIColorRef colorWithName(std::string_view name);
    size_t count() const;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view> {}(text); }
    };

    Search _search;
    mutable std::mutex _lock;
    // A null colour is the marker of a name searched for and not found.
    std::unordered_map<std::string, UIColorRef, Hash, std::equal_to<>> _entries;
};
