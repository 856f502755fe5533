#include "PackageInstall.h"

#include "Command.h"
#include "Device.h"
#include "Hosts.h"
#include "PackageArchive.h"
#include "PackageDatabase.h"

#include "foundation/PropertyList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace ruvex {

namespace fs = std::filesystem;

namespace {

const char* kWidgets = "System/Library/WeeAppPlugins/";
const char* kPreferenceBundles = "Library/PreferenceBundles/";
const char* kPreferenceEntries = "Library/PreferenceLoader/";

// A private folder inside the device for the unpacked files, removed whatever happens.
class Staging {
public:
    explicit Staging(const std::string& root)
    {
        makeFolders(root, "var/lib/dpkg");
        std::string pattern = root + "/var/lib/dpkg/tmp.ruvex.XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw ActionError("could not make a staging folder in " + root + "/var/lib/dpkg: " + std::strerror(errno));
        _path = pattern;
    }
    ~Staging()
    {
        std::error_code ignored;
        fs::remove_all(_path, ignored);
    }
    const std::string& path() const { return _path; }

private:
    std::string _path;
};

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

[[noreturn]] void refuse(const std::string& what, const std::string& reason)
{
    throw ActionError(what + ": " + reason + "; nothing installed");
}

ControlFields checkedControl(const std::string& what, const std::string& text)
{
    std::optional<ControlFields> control = ControlFields::parse(text);
    if (!control)
        refuse(what, "the control file is not a list of fields");
    std::string name = (*control)["Package"];
    if (name.empty())
        refuse(what, "the control file names no Package");
    if (!isPackageName(name))
        refuse(what, "'" + name + "' is not a valid package name");
    std::string version = (*control)["Version"];
    if (version.empty())
        refuse(what, "the control file gives no Version");
    if (!isVersion(version))
        refuse(what, "'" + version + "' is not a valid version");
    std::string architecture = (*control)["Architecture"];
    if (architecture != "iphoneos-arm" && architecture != "all")
        refuse(what, "the package is for " + (architecture.empty() ? "no architecture" : architecture)
                + ", not iphoneos-arm");
    return *control;
}

// Everything that can refuse the package, before any of it is placed.
void checkPlacement(const std::string& what, const std::string& root, const PackageDatabase& database,
    const ControlFields& control, const std::vector<PackageMember>& members, Downgrade downgrade, InstallReport& report)
{
    std::string name = control["Package"];
    std::string depends = control["Pre-Depends"];
    depends += (depends.empty() ? "" : ", ") + control["Depends"];
    if (std::string unmet = database.unmet(depends); !unmet.empty())
        refuse(what, "needs " + unmet + ", which is not installed");
    if (const ControlFields* installed = database.find(name)) {
        report.previous = (*installed)["Version"];
        if (compareVersions(report.version, report.previous) < 0 && downgrade == Downgrade::Refuse)
            refuse(what, report.version + " is older than the installed " + report.previous + " (--downgrade installs it)");
    }
    std::map<std::string, std::string> owners;
    for (const auto& [other, fields] : database.installed())
        if (other != name)
            for (const std::string& path : database.files(other))
                owners.emplace(path, other);
    for (const PackageMember& member : members) {
        fs::path target = fs::path(root) / member.path;
        if (!parentsStayInside(root, member.path))
            refuse(what, "/" + member.path + " would lie below a link on the device");
        struct stat info;
        bool exists = lstat(target.c_str(), &info) == 0;
        if (member.kind == PackageMember::Kind::Folder) {
            if (exists && !S_ISDIR(info.st_mode))
                refuse(what, "/" + member.path + " is on the device and is not a folder");
            continue;
        }
        if (auto owner = owners.find(member.path); owner != owners.end())
            refuse(what, "/" + member.path + " belongs to the package " + owner->second);
        if (exists && S_ISDIR(info.st_mode))
            refuse(what, "/" + member.path + " is a folder on the device");
    }
}

void noteChange(const std::string& path, InstallReport& report)
{
    if (startsWith(path, kWidgets))
        report.widgetsChanged = true;
    if (startsWith(path, kPreferenceBundles) || startsWith(path, kPreferenceEntries))
        report.settingsChanged = true;
}

// Removes listed paths that no other package lists: files and links first, then the folders
// that are left empty, deepest first.
void removePaths(const std::string& root, const PackageDatabase& database, const std::string& name,
    const std::vector<std::string>& paths, InstallReport& report)
{
    std::vector<std::string> folders;
    for (const std::string& path : paths) {
        if (!database.owner(path, name).empty() || !parentsStayInside(root, path))
            continue;
        fs::path target = fs::path(root) / path;
        struct stat info;
        if (lstat(target.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            folders.push_back(path);
            continue;
        }
        if (unlink(target.c_str()) != 0)
            throw ActionError("could not remove " + target.string() + ": " + std::strerror(errno));
        noteChange(path, report);
    }
    std::sort(folders.begin(), folders.end(), std::greater<>());
    for (const std::string& folder : folders)
        if (rmdir((fs::path(root) / folder).c_str()) == 0)
            noteChange(folder + "/", report);
}

// Moves the staged files into place and records the package.
void commit(const std::string& root, PackageDatabase& database, const ControlFields& control,
    const std::vector<PackageMember>& members, const std::string& staging, const std::string& md5sums,
    InstallReport& report)
{
    std::string name = control["Package"];
    std::vector<std::string> before = database.files(name);
    std::vector<std::string> paths;
    size_t index = 0;
    for (const PackageMember& member : members) {
        paths.push_back(member.path);
        fs::path target = fs::path(root) / member.path;
        if (member.kind == PackageMember::Kind::Folder) {
            if (mkdir(target.c_str(), member.mode | S_IRWXU) != 0 && errno != EEXIST)
                throw ActionError("could not make " + target.string() + ": " + std::strerror(errno));
            continue;
        }
        std::string source = member.staged;
        if (member.kind == PackageMember::Kind::Link) {
            source = staging + "/link." + std::to_string(index++);
            if (symlink(member.linkTarget.c_str(), source.c_str()) != 0)
                throw ActionError("could not make the link " + target.string() + ": " + std::strerror(errno));
        } else {
            chmod(source.c_str(), member.mode);
        }
        // A new file in place of the old: a host that maps the old one keeps its copy.
        if (rename(source.c_str(), target.c_str()) != 0)
            throw ActionError("could not place " + target.string() + ": " + std::strerror(errno));
        noteChange(member.path, report);
    }
    std::set<std::string> kept(paths.begin(), paths.end());
    std::vector<std::string> gone;
    for (const std::string& path : before)
        if (!kept.count(path))
            gone.push_back(path);
    database.record(control, paths, md5sums);
    removePaths(root, database, name, gone, report);
}

// The members of a bundle folder as a package would hold them below `phoneFolder`.
std::vector<PackageMember> bundleMembers(const std::string& folder, const std::string& phoneFolder,
    const std::string& staging)
{
    std::vector<PackageMember> members;
    std::string prefix;
    for (const fs::path& part : fs::path(phoneFolder)) {
        prefix += (prefix.empty() ? "" : "/") + part.string();
        members.push_back({ prefix, PackageMember::Kind::Folder, 0755, {}, {}, 0 });
    }
    std::string bundle = prefix + "/" + fs::path(folder).filename().string();
    members.push_back({ bundle, PackageMember::Kind::Folder, 0755, {}, {}, 0 });
    uint64_t total = 0;
    std::error_code failure;
    std::vector<fs::path> entries;
    for (auto it = fs::recursive_directory_iterator(folder, failure); !failure && it != fs::recursive_directory_iterator();
         it.increment(failure))
        entries.push_back(it->path());
    if (failure)
        refuse(folder, failure.message());
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        PackageMember member;
        member.path = bundle + "/" + fs::relative(entry, folder).string();
        struct stat info;
        if (lstat(entry.c_str(), &info) != 0)
            refuse(folder, entry.string() + ": " + std::strerror(errno));
        if (info.st_mode & (S_ISUID | S_ISGID))
            refuse(folder, entry.string() + " is setuid or setgid");
        member.mode = info.st_mode & 0755;
        if (S_ISDIR(info.st_mode)) {
            member.kind = PackageMember::Kind::Folder;
        } else if (S_ISLNK(info.st_mode)) {
            member.kind = PackageMember::Kind::Link;
            member.linkTarget = fs::read_symlink(entry, failure).string();
            if (std::string reason = checkLinkTarget(member.path, member.linkTarget); !reason.empty())
                refuse(folder, "link " + entry.string() + " " + reason);
        } else if (S_ISREG(info.st_mode)) {
            member.size = uint64_t(info.st_size);
            total += member.size;
            if (member.size > kMaximumMemberBytes || total > kMaximumPackageBytes)
                refuse(folder, entry.string() + " makes the bundle larger than a package may be");
            member.staged = staging + "/" + std::to_string(members.size());
            fs::copy_file(entry, member.staged, failure);
            if (failure)
                throw ActionError("could not read " + entry.string() + ": " + failure.message());
        } else {
            refuse(folder, entry.string() + " is not a file, folder or link");
        }
        members.push_back(std::move(member));
    }
    return members;
}

} // namespace

InstallReport installPackage(const std::string& root, const std::string& file, Downgrade downgrade)
{
    // Every member is checked before anything is written.
    PackageContents checked = readPackage(file);
    ControlFields control = checkedControl(file, checked.control);
    InstallReport report;
    report.package = control["Package"];
    report.version = control["Version"];
    PackageDatabase database(root);
    checkPlacement(file, root, database, control, checked.members, downgrade, report);

    Staging staging(root);
    PackageContents unpacked = readPackage(file, staging.path());
    if (unpacked.control != checked.control || unpacked.members.size() != checked.members.size())
        refuse(file, "the file changed while it was read");
    commit(root, database, control, unpacked.members, staging.path(), unpacked.md5sums, report);
    for (const std::string& script : unpacked.scripts)
        report.notes.push_back("the package's " + script + " script is not run on a simulated device");
    return report;
}

InstallReport installBundle(const std::string& root, const std::string& given)
{
    std::string folder = fs::path(given).lexically_normal().string();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (fs::path(folder).extension() != ".bundle")
        throw UsageError(given + " is neither a .deb file nor a NAME.bundle folder");
    std::optional<PlistValue> plist = PropertyList::readFile(folder + "/Info.plist");
    const NSDictionary* info = plist ? plist->dictionary() : nullptr;
    if (!info)
        refuse(given, "no readable Info.plist");
    auto text = [&](const char* key) {
        const PlistValue* value = info->objectForKey(key);
        return value && value->string() ? *value->string() : std::string();
    };
    std::string identifier = text("CFBundleIdentifier");
    if (identifier.empty())
        refuse(given, "its Info.plist gives no CFBundleIdentifier");
    std::string name = identifier;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (!isPackageName(name))
        refuse(given, "its CFBundleIdentifier '" + identifier + "' cannot name a package");
    // A preference bundle's principal class is the Settings pane it opens with.
    std::string principal = text("NSPrincipalClass");
    bool preferences = principal.size() >= 14 && principal.compare(principal.size() - 14, 14, "ListController") == 0;
    std::string phoneFolder = preferences ? "Library/PreferenceBundles" : "System/Library/WeeAppPlugins";
    std::string version = text("CFBundleVersion");
    if (!isVersion(version))
        version = "0";

    ControlFields control;
    control.set("Package", name);
    control.set("Name", text("CFBundleDisplayName").empty() ? fs::path(folder).stem().string() : text("CFBundleDisplayName"));
    control.set("Version", version);
    control.set("Architecture", "iphoneos-arm");
    control.set("Section", preferences ? "Settings" : "Widgets");
    control.set("Description", fs::path(folder).filename().string() + ", installed from its bundle folder");

    InstallReport report;
    report.package = name;
    report.version = version;
    PackageDatabase database(root);
    Staging staging(root);
    std::vector<PackageMember> members = bundleMembers(folder, phoneFolder, staging.path());
    checkPlacement(given, root, database, control, members, Downgrade::Allow, report);
    commit(root, database, control, members, staging.path(), {}, report);
    return report;
}

InstallReport uninstallPackage(const std::string& root, const std::string& name)
{
    if (!isPackageName(name))
        throw UsageError("'" + name + "' is not a package name");
    PackageDatabase database(root);
    const ControlFields* installed = database.find(name);
    if (!installed)
        throw ActionError(name + " is not installed (ruvex packages lists what is)");
    if ((*installed)["Essential"] == "yes")
        throw ActionError(name + " is part of the phone and stays");
    InstallReport report;
    report.package = name;
    report.version = (*installed)["Version"];
    for (const auto& [other, fields] : database.installed()) {
        std::string depends = fields["Pre-Depends"] + ", " + fields["Depends"];
        if (other != name && database.unmet(depends).empty() && !database.unmet(depends, name).empty())
            throw ActionError(other + " depends on " + name + "; uninstall it first");
    }
    std::vector<std::string> paths = database.files(name);
    std::reverse(paths.begin(), paths.end());
    removePaths(root, database, name, paths, report);
    database.forget(name);
    return report;
}

void recordPhonePackages(const std::string& root)
{
    PackageDatabase database(root);
    struct Phone {
        const char* package;
        const char* version;
        const char* name;
        const char* description;
        std::vector<std::string> paths;
    };
    const Phone packages[] = {
        { "firmware", "6.1.3", "Firmware", "the phone's system software, as the simulated device stands for it",
            { "System", "System/Library", "System/Library/WeeAppPlugins", "System/Library/PreferenceBundles", "Library",
                "Library/PreferenceBundles" } },
        { "preferenceloader", "2.2.6", "PreferenceLoader",
            "lists the entries of /Library/PreferenceLoader/Preferences in Settings (the simulated Settings app does)",
            { "Library", "Library/PreferenceLoader", "Library/PreferenceLoader/Preferences" } },
    };
    for (const Phone& phone : packages) {
        if (database.find(phone.package))
            continue;
        ControlFields control;
        control.set("Package", phone.package);
        control.set("Name", phone.name);
        control.set("Version", phone.version);
        control.set("Architecture", "iphoneos-arm");
        control.set("Section", "System");
        control.set("Essential", "yes");
        control.set("Maintainer", "the simulated phone");
        control.set("Description", phone.description);
        for (const std::string& path : phone.paths)
            makeFolders(root, path);
        database.record(control, phone.paths);
    }
}

std::string productPackage()
{
    return executableDirectory() + "/../packages/com.vastelmark.ruvexpro_" RVX_VERSION "_iphoneos-arm.deb";
}

} // namespace ruvex
