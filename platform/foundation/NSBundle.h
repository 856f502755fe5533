#pragma once

// A bundle directory at a phone path: its Info.plist, its resources, and its executable,
// loaded with dlopen so that its classes register by name.

#include "foundation/PlistValue.h"
#include "foundation/Result.h"
#include "runtime/NSObject.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Whether the file at a host path may be handed to dlopen (see NSBundle::load), or why not.
Result<void> isLoadableLibrary(const std::string& hostPath);

class NSBundle : public NSObject {
    RVX_OBJECT(NSBundle)
public:
    // Nothing when no directory lies at the path.
    static std::shared_ptr<NSBundle> bundleWithPath(std::string_view phonePath);

    explicit NSBundle(std::string phonePath);

    const std::string& bundlePath() const { return _path; }
    // The phone path of an existing resource "name.type" (or "name" when type is empty).
    std::optional<std::string> pathForResource(std::string_view name, std::string_view type) const;

    const NSDictionary& infoDictionary() const;
    // Why the Info.plist gave no dictionary ("" when it did).
    const std::string& infoProblem() const
    {
        infoDictionary();
        return _infoProblem;
    }
    const PlistValue* objectForInfoDictionaryKey(std::string_view key) const;
    std::string bundleIdentifier() const;

    // CFBundleExecutable, else the bundle's name without its extension.
    std::string executableName() const;
    // Loads the executable once (RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE). Before dlopen sees
    // it, the file must be a regular ELF shared library of this machine whose size covers its
    // headers and loadable segments: a FIFO would hang the loader and a truncated file kill
    // the process with SIGBUS. When it cannot be loaded, the failure says why, naming the
    // file.
    Result<void> load();
    bool isLoaded() const { return _handle != nullptr; }
    // The class named by NSPrincipalClass, after loading; nothing when absent.
    const Class* principalClass();

private:
    std::string _path;
    mutable std::optional<NSDictionary> _info;
    mutable std::string _infoProblem;
    void* _handle = nullptr;
};
