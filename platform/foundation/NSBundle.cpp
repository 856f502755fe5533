#include "foundation/NSBundle.h"

#include "foundation/NSFileManager.h"
#include "foundation/NSString.h"
#include "foundation/DeviceRoot.h"

#include <dlfcn.h>

RVX_DEFINE_CLASS(NSBundle, NSObject)

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(std::string_view phonePath)
{
    bool isDirectory = false;
    if (!NSFileManager::defaultManager().fileExistsAtPath(phonePath, isDirectory) || !isDirectory)
        return nullptr;
    return std::make_shared<NSBundle>(std::string(phonePath));
}

NSBundle::NSBundle(std::string phonePath)
    : _path(std::move(phonePath))
{
    while (_path.size() > 1 && _path.back() == '/')
        _path.pop_back();
}

std::optional<std::string> NSBundle::pathForResource(std::string_view name, std::string_view type) const
{
    if (name.empty())
        return std::nullopt;
    std::string file(name);
    if (!type.empty()) {
        file += '.';
        file += type;
    }
    std::string path = NSString::stringByAppendingPathComponent(_path, file);
    bool isDirectory = false;
    if (!NSFileManager::defaultManager().fileExistsAtPath(path, isDirectory))
        return std::nullopt;
    return path;
}

const NSDictionary& NSBundle::infoDictionary() const
{
    if (!_info) {
        auto info = NSDictionary::dictionaryWithContentsOfFile(NSString::stringByAppendingPathComponent(_path, "Info.plist"));
        _info = info.value_or(NSDictionary());
    }
    return *_info;
}

const PlistValue* NSBundle::objectForInfoDictionaryKey(std::string_view key) const
{
    return infoDictionary().objectForKey(key);
}

std::string NSBundle::bundleIdentifier() const
{
    auto* value = objectForInfoDictionaryKey("CFBundleIdentifier");
    return value && value->string() ? *value->string() : std::string();
}

std::string NSBundle::executableName() const
{
    auto* value = objectForInfoDictionaryKey("CFBundleExecutable");
    if (value && value->string() && !value->string()->empty())
        return *value->string();
    return NSString::stringByDeletingPathExtension(NSString::lastPathComponent(_path));
}

bool NSBundle::load()
{
    if (_handle)
        return true;
    std::string executable = NSString::lastPathComponent(executableName());
    std::string path = DeviceRoot::resolve(NSString::stringByAppendingPathComponent(_path, executable));
    dlerror();
    _handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    if (!_handle) {
        const char* error = dlerror();
        _loadError = error ? error : "cannot load " + path;
        return false;
    }
    _loadError.clear();
    return true;
}

const Class* NSBundle::principalClass()
{
    if (!load())
        return nullptr;
    auto* name = objectForInfoDictionaryKey("NSPrincipalClass");
    if (!name || !name->string())
        return nullptr;
    return objc_getClass(*name->string());
}
