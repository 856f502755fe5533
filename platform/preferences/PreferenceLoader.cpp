#include "preferences/PreferenceLoader.h"

#include "foundation/DeviceRoot.h"
#include "foundation/LoadProblems.h"
#include "preferences/SpecifierPlist.h"

#include <algorithm>
#include <filesystem>

namespace PreferenceLoader {

namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string stringFor(const NSDictionary& dictionary, std::string_view key)
{
    const PlistValue* value = dictionary.objectForKey(key);
    return value && value->string() ? *value->string() : std::string();
}

} // namespace

std::vector<PreferenceLoaderEntry> entries()
{
    std::vector<PreferenceLoaderEntry> found;
    std::string base = DeviceRoot::resolve(kEntriesDirectory);
    std::error_code error;
    std::filesystem::recursive_directory_iterator it(base, error);
    for (; !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file(error) || it->path().extension() != ".plist")
            continue;
        std::string relative = std::filesystem::relative(it->path(), base, error).string();
        std::string phonePath = std::string(kEntriesDirectory) + "/" + relative;
        std::optional<NSDictionary> plist = NSDictionary::dictionaryWithContentsOfFile(phonePath);
        const PlistValue* entryValue = plist ? plist->objectForKey("entry") : nullptr;
        if (!entryValue || !entryValue->dictionary()) {
            LoadProblems::note("Settings entry " + phonePath + " skipped: "
                + (plist ? "it has no \"entry\" dictionary" : "it is not a property list holding a dictionary"));
            continue;
        }
        const NSDictionary& entry = *entryValue->dictionary();
        PreferenceLoaderEntry item;
        item.label = stringFor(entry, "label");
        item.bundle = stringFor(entry, "bundle");
        item.cell = stringFor(entry, "cell");
        item.detail = stringFor(entry, "detail");
        const PlistValue* isController = entry.objectForKey("isController");
        item.isController = isController && isController->boolValue().value_or(false);
        item.icon = stringFor(entry, "icon");
        item.plistPath = phonePath;
        item.plist = std::move(*plist);
        found.push_back(std::move(item));
    }
    std::sort(found.begin(), found.end(), [](const PreferenceLoaderEntry& a, const PreferenceLoaderEntry& b) {
        std::string left = lowered(a.label), right = lowered(b.label);
        return left != right ? left < right : a.plistPath < b.plistPath;
    });
    return found;
}

std::optional<std::string> bundlePathForEntry(const PreferenceLoaderEntry& entry)
{
    if (entry.bundle.empty() || entry.bundle.find('/') != std::string::npos || entry.bundle == "..")
        return std::nullopt;
    for (const char* directory : {"/Library/PreferenceBundles/", "/System/Library/PreferenceBundles/"}) {
        std::string path = directory + entry.bundle + ".bundle";
        std::error_code error;
        if (std::filesystem::is_directory(DeviceRoot::resolve(path), error))
            return path;
    }
    return std::nullopt;
}

Result<PSListControllerRef> createRootPane(const PreferenceLoaderEntry& entry)
{
    if (entry.bundle.empty()) {
        std::optional<SpecifierPlist> plist = specifier_plist::fromDictionary(entry.plist, nullptr);
        if (!plist)
            return Failure {entry.plistPath + ": the entry names no bundle and the file has no \"items\""};
        auto pane = runtime::make<PSListController>();
        for (const PSSpecifierRef& row : plist->specifiers)
            row->setTarget(pane);
        pane->setTitle(plist->title.empty() ? entry.label : plist->title);
        pane->setSpecifiers(std::move(plist->specifiers));
        return pane;
    }
    std::optional<std::string> path = bundlePathForEntry(entry);
    if (!path)
        return Failure {"no preference bundle \"" + entry.bundle + "\" in /Library/PreferenceBundles or /System/Library/PreferenceBundles"};
    auto bundle = NSBundle::bundleWithPath(*path);
    if (!bundle)
        return Failure {*path + ": cannot load: no bundle"};
    if (Result<void> loaded = bundle->load(); !loaded)
        return Failure {*path + ": cannot load: " + loaded.error()};
    const Class* paneClass = entry.detail.empty() ? bundle->principalClass() : objc_getClass(entry.detail);
    if (!paneClass || !paneClass->isSubclassOfClass(PSListController::classObject()))
        return Failure {*path + ": no pane class \"" + (entry.detail.empty() ? std::string("(principal class)") : entry.detail) + "\""};
    auto pane = std::dynamic_pointer_cast<PSListController>(paneClass->createInstance());
    if (!pane)
        return Failure {*path + ": cannot create \"" + paneClass->name() + "\""};
    pane->setBundle(bundle);
    if (pane->title().empty())
        pane->setTitle(entry.label);
    return pane;
}

} // namespace PreferenceLoader
