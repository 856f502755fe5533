#include "foundation/PlistValue.h"

#include "foundation/DeviceRoot.h"
#include "foundation/PropertyList.h"

std::optional<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(std::string_view phonePath)
{
    auto value = PropertyList::readFile(DeviceRoot::resolve(phonePath));
    if (!value || !value->dictionary())
        return std::nullopt;
    return std::move(*value->dictionary());
}

bool NSDictionary::writeToFile(std::string_view phonePath, bool atomically) const
{
    return PropertyList::writeFile(PlistValue(*this), DeviceRoot::resolve(phonePath),
        atomically ? PropertyList::Atomically::Yes : PropertyList::Atomically::No);
}
