// A pane's specifier plist as the Settings app loads it: bytes of any property-list form,
// then the rows it describes turned into specifiers. Every row becomes a specifier or is
// skipped; none makes the loader fail.

#include "FuzzCheck.h"

#include "foundation/PropertyList.h"
#include "preferences/SpecifierPlist.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto root = PropertyList::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!root || !root->dictionary())
        return 0;
    auto plist = specifier_plist::fromDictionary(*root->dictionary(), nullptr);
    const PlistValue* items = root->dictionary()->objectForKey("items");
    RVX_FUZZ_CHECK(bool(plist) == bool(items && items->array()));
    if (plist) {
        for (const auto& specifier : plist->specifiers)
            RVX_FUZZ_CHECK(specifier);
        RVX_FUZZ_CHECK(plist->specifiers.size() <= items->array()->count());
    }
    return 0;
}
