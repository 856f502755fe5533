#include "Device.h"

#include "Command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ruvex {

namespace fs = std::filesystem;

namespace {

const char* kMarker = ".ruvex-device";
const char* kManifest = ".ruvex-manifest";
const char* kPackageLists = "var/lib/dpkg/info";

const char* kFolders[] = {
    "Applications",
    "System/Library/WeeAppPlugins",
    "System/Library/PreferenceBundles",
    "Library/PreferenceBundles",
    "Library/PreferenceLoader/Preferences",
    "var/mobile/Library/Preferences",
    "var/lib/dpkg/info",
    "var/log",
    "tmp",
};

// What a device made before the manifest existed holds: the top of each folder above.
const char* kEarlierLayout[] = { "Applications", "System", "Library", "var", "tmp", "demo", kMarker };

fs::path realPath(const std::string& path)
{
    std::error_code failure;
    fs::path absolute = fs::absolute(path, failure);
    fs::path real = fs::weakly_canonical(failure ? fs::path(path) : absolute, failure);
    return failure ? absolute.lexically_normal() : real;
}

std::string homeDirectory()
{
    if (const char* home = getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// Whether `inner` lies strictly inside `outer` (both real, normal paths).
bool strictlyInside(const fs::path& inner, const fs::path& outer)
{
    auto [end, _] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return end == outer.end() && std::distance(outer.begin(), outer.end()) < std::distance(inner.begin(), inner.end());
}

std::vector<std::string> readLines(const fs::path& file)
{
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

bool isLinkOrMissing(const fs::path& path, bool& missing)
{
    struct stat info;
    missing = lstat(path.c_str(), &info) != 0;
    return missing || S_ISLNK(info.st_mode);
}

void appendToManifest(const std::string& root, const std::vector<std::string>& lines)
{
    std::set<std::string> known;
    for (const std::string& line : readLines(fs::path(root) / kManifest))
        known.insert(line);
    std::ofstream out(fs::path(root) / kManifest, std::ios::app);
    for (const std::string& line : lines)
        if (known.insert(line).second)
            out << line << "\n";
    if (!out)
        throw ActionError("could not write " + (fs::path(root) / kManifest).string());
}

// Removes one path below the root without following a link on the way: a folder with all it
// holds, a file or a link itself. Answers false when it was not there.
bool removeBelow(const std::string& root, const std::string& relative)
{
    if (!parentsStayInside(root, relative))
        return false;
    std::error_code failure;
    fs::path path = fs::path(root) / relative;
    if (fs::symlink_status(path, failure).type() == fs::file_type::not_found)
        return false;
    // remove_all does not follow links below the path, and removes a link rather than its target.
    fs::remove_all(path, failure);
    if (failure)
        throw ActionError("could not remove " + path.string() + ": " + failure.message());
    return true;
}

} // namespace

bool isDeviceRoot(const std::string& root)
{
    std::error_code failure;
    return !root.empty() && fs::is_regular_file(fs::path(root) / kMarker, failure);
}

void checkDeviceRoot(const std::string& root)
{
    if (root.empty())
        throw UsageError("--device needs a directory");
    fs::path real = realPath(root);
    if (real == real.root_path())
        throw ActionError("refusing to make a device of " + real.string());
    if (std::string home = homeDirectory(); !home.empty() && real == realPath(home))
        throw ActionError("refusing to make a device of the home directory " + real.string());
    std::error_code failure;
    if (fs::path here = fs::current_path(failure); !failure && strictlyInside(realPath(here.string()), real))
        throw ActionError("refusing to make a device of " + real.string() + ", a parent of the working directory");
    fs::file_status status = fs::status(root, failure);
    if (status.type() == fs::file_type::not_found)
        return;
    if (status.type() != fs::file_type::directory)
        throw ActionError(root + " exists and is not a directory");
    if (isDeviceRoot(root))
        return;
    if (!fs::is_empty(root, failure) || failure)
        throw ActionError(root + " is not empty and is not a device: name a new or empty directory");
}

void makeFolders(const std::string& root, const std::string& relative)
{
    std::vector<std::string> made;
    fs::path path = root;
    std::string sofar;
    for (const fs::path& part : fs::path(relative)) {
        path /= part;
        sofar += (sofar.empty() ? "" : "/") + part.string();
        struct stat info;
        if (lstat(path.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                throw ActionError(path.string() + (S_ISLNK(info.st_mode) ? " is a link" : " is not a folder")
                    + "; the device expects a folder there");
            continue;
        }
        if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            throw ActionError("could not make " + path.string() + ": " + std::strerror(errno));
        made.push_back(sofar);
    }
    if (!made.empty())
        appendToManifest(root, made);
}

void recordMade(const std::string& root, const std::vector<std::string>& relatives)
{
    appendToManifest(root, relatives);
}

void createDeviceFolders(const std::string& root)
{
    checkDeviceRoot(root);
    std::error_code failure;
    bool madeRoot = !fs::exists(root, failure);
    fs::create_directories(root, failure);
    if (failure)
        throw ActionError("could not make " + root + ": " + failure.message());
    if (isDeviceRoot(root) && !fs::exists(fs::path(root) / kManifest, failure)) {
        // A device made before the manifest: what it holds of the layout is ruvex's.
        std::vector<std::string> earlier { kManifest };
        for (const char* path : kEarlierLayout)
            if (fs::exists(fs::path(root) / path, failure))
                earlier.push_back(path);
        appendToManifest(root, earlier);
    }
    if (!isDeviceRoot(root)) {
        // The manifest before the marker: a device with a marker always tells what it made.
        appendToManifest(root, madeRoot ? std::vector<std::string> { ".", kManifest, kMarker }
                                        : std::vector<std::string> { kManifest, kMarker });
        std::ofstream marker(fs::path(root) / kMarker);
        marker << "A simulated device. Remove it with `ruvex device erase`.\n";
        if (!marker)
            throw ActionError("could not write in " + root);
    }
    for (const char* folder : kFolders)
        makeFolders(root, folder);
}

std::vector<std::string> eraseDevice(const std::string& given)
{
    if (given.empty())
        throw UsageError("--device needs a directory");
    fs::path real = realPath(given);
    std::string root = real.string();
    if (real == real.root_path())
        throw ActionError("refusing to erase " + root);
    if (!isDeviceRoot(root))
        throw ActionError(given + " is not a device made by ruvex; nothing erased");

    std::vector<std::string> manifest = readLines(real / kManifest);
    bool madeRoot = std::find(manifest.begin(), manifest.end(), ".") != manifest.end();
    if (manifest.empty())
        manifest.assign(std::begin(kEarlierLayout), std::end(kEarlierLayout));

    // The packages' files first: some may lie outside the folders that create laid out.
    std::vector<std::string> packageFolders;
    std::error_code failure;
    for (fs::directory_iterator it(real / kPackageLists, failure); !failure && it != fs::directory_iterator();
         it.increment(failure)) {
        if (it->path().extension() != ".list")
            continue;
        for (const std::string& line : readLines(it->path())) {
            std::optional<std::string> path = devicePath(line);
            if (!path || !parentsStayInside(root, *path))
                continue;
            std::error_code ignored;
            if (fs::symlink_status(real / *path, ignored).type() == fs::file_type::directory)
                packageFolders.push_back(*path);
            else
                fs::remove(real / *path, ignored);
        }
    }
    for (auto it = manifest.rbegin(); it != manifest.rend(); ++it) {
        std::optional<std::string> path = devicePath(*it);
        if (!path)
            continue;
        // "folder/": a folder that the user's files may share, removed only when left empty.
        if (it->back() == '/') {
            std::error_code ignored;
            if (parentsStayInside(root, *path) && fs::is_directory(fs::symlink_status(real / *path, ignored)))
                fs::remove(real / *path, ignored);
        } else {
            removeBelow(root, *path);
        }
    }
    std::sort(packageFolders.begin(), packageFolders.end(), std::greater<>());
    for (const std::string& folder : packageFolders) {
        std::error_code ignored;
        if (parentsStayInside(root, folder) && fs::is_empty(real / folder, ignored))
            fs::remove(real / folder, ignored);
    }
    removeBelow(root, kManifest);
    removeBelow(root, kMarker);

    std::vector<std::string> kept;
    for (fs::directory_iterator it(real, failure); !failure && it != fs::directory_iterator(); it.increment(failure))
        kept.push_back(it->path().filename().string());
    std::sort(kept.begin(), kept.end());
    if (kept.empty() && madeRoot) {
        fs::remove(real, failure);
        if (failure)
            throw ActionError("could not remove " + root + ": " + failure.message());
    }
    return kept;
}

std::optional<std::string> devicePath(std::string_view path)
{
    std::string result;
    while (!path.empty()) {
        size_t slash = path.find('/');
        std::string_view part = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return std::nullopt;
        result += (result.empty() ? "" : "/") + std::string(part);
    }
    if (result.empty())
        return std::nullopt;
    return result;
}

bool parentsStayInside(const std::string& root, const std::string& relative)
{
    fs::path path = root;
    fs::path parts = fs::path(relative).parent_path();
    for (const fs::path& part : parts) {
        path /= part;
        bool missing = false;
        if (isLinkOrMissing(path, missing))
            return missing;
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return false;
    }
    return true;
}

} // namespace ruvex
