// The Settings file as it is read: bytes of any property-list form, the dictionary they give,
// and every typed reader of the contract over it. A dictionary that was read must also write
// and read back with the same keys, since every change rewrites the whole file.

#include "FuzzCheck.h"

#include "foundation/PropertyList.h"
#include "shared/RVXSettings.h"

#include <cstdint>
#include <string_view>

namespace {

using namespace RVXSettings;

void readEveryNamedKey(const NSDictionary& settings)
{
    for (const StringKey& key : { Keys::Label, Keys::Closing, Keys::Family, Keys::Style, Keys::TextColor, Keys::Path })
        (void)valueFor(settings, key);
    for (const BoolKey& key : { Keys::Highlight, Keys::HideAlpha, Keys::UseCustom, Keys::Strechable,
             Keys::CloseOnAppear, Keys::CloseOnDisappear, Keys::Dismiss })
        (void)valueFor(settings, key);
    for (const IntKey& key : { Keys::Background, Keys::Count })
        (void)valueFor(settings, key);
    for (const FloatKey& key : { Keys::Size, Keys::Height })
        (void)valueFor(settings, key);
    TextColor color = textColorFor(settings);
    (void)textColorString(color);
}

// Any key may be an app's exclusion entry, and any reader may meet any value.
void readEveryStoredKey(const NSDictionary& settings)
{
    for (const auto& [key, value] : settings) {
        (void)stringFor(settings, key);
        (void)stringFor(settings, key, "fallback");
        (void)boolFor(settings, key, true);
        (void)intFor(settings, key, 7);
        (void)longLongFor(settings, key, 7);
        (void)floatFor(settings, key, 7);
        (void)isExcluded(settings, key);
    }
}

void checkRewriteKeepsTheKeys(const PlistValue& root)
{
    auto xml = PropertyList::xmlData(root);
    if (!xml)
        return; // a string that XML cannot carry: the writer refuses, the file stays as it was
    auto again = PropertyList::parse(*xml);
    RVX_FUZZ_CHECK(again && again->dictionary());
    RVX_FUZZ_CHECK(again->dictionary()->allKeys() == root.dictionary()->allKeys());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto root = PropertyList::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!root || !root->dictionary())
        return 0;
    readEveryNamedKey(*root->dictionary());
    readEveryStoredKey(*root->dictionary());
    checkRewriteKeepsTheKeys(*root);
    return 0;
}
