#include "foundation/PlistValue.h"

#include "foundation/DeviceRoot.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"

#include <unistd.h>

std::optional<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(std::string_view phonePath)
{
    return dictionaryBeneathDeviceRoot(DeviceRoot::resolve(phonePath));
}

std::optional<NSDictionary> NSDictionary::dictionaryBeneathDeviceRoot(const std::string& hostPath)
{
    int fd = DeviceRoot::openFileBeneath(hostPath);
    if (fd < 0)
        return std::nullopt;
    auto value = PropertyList::readFile("/proc/self/fd/" + std::to_string(fd));
    close(fd);
    if (!value || !value->dictionary())
        return std::nullopt;
    return std::move(*value->dictionary());
}

bool NSDictionary::writeToFile(std::string_view phonePath, bool atomically) const
{
    // The folder is reached beneath the device root: a link on the way cannot lead the
    // write out of the device.
    std::string path = DeviceRoot::resolve(phonePath);
    int folder = DeviceRoot::openHostDirectoryBeneath(NSString::stringByDeletingLastPathComponent(path), false);
    if (folder < 0)
        return false;
    bool written = PropertyList::writeFile(PlistValue(*this), DeviceRoot::pathThrough(folder, NSString::lastPathComponent(path)),
        atomically ? PropertyList::Atomically::Yes : PropertyList::Atomically::No);
    close(folder);
    return written;
}
