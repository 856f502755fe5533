#include "PackageDatabase.h"

#include "Command.h"
#include "Device.h"

#include "foundation/AtomicFile.h"

#include <apt-pkg/debversion.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace ruvex {

namespace fs = std::filesystem;

namespace {

const char* kStatus = "var/lib/dpkg/status";
const char* kInfo = "var/lib/dpkg/info";
const char* kLock = "var/lib/dpkg/lock";

std::string trimmed(std::string text)
{
    size_t start = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t\r");
    return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

std::string readWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Paragraphs of a deb822 file, split at blank lines.
std::vector<std::string> paragraphs(const std::string& text)
{
    std::vector<std::string> result;
    std::string current;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (trimmed(line).empty()) {
            if (!current.empty())
                result.push_back(current);
            current.clear();
        } else {
            current += line + "\n";
        }
    }
    if (!current.empty())
        result.push_back(current);
    return result;
}

} // namespace

std::optional<ControlFields> ControlFields::parse(const std::string& text)
{
    ControlFields control;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == ' ' || line[0] == '\t') {
            if (control.fields.empty())
                return std::nullopt;
            control.fields.back().second += "\n" + line;
            continue;
        }
        size_t colon = line.find(':');
        if (colon == 0 || colon == std::string::npos)
            return std::nullopt;
        std::string name = line.substr(0, colon);
        if (std::any_of(name.begin(), name.end(), [](unsigned char c) { return c <= ' ' || c >= 0x7f; }))
            return std::nullopt;
        control.fields.emplace_back(name, trimmed(line.substr(colon + 1)));
    }
    return control;
}

std::string ControlFields::operator[](const std::string& name) const
{
    for (const auto& [key, value] : fields)
        if (strcasecmp(key.c_str(), name.c_str()) == 0)
            return trimmed(value.substr(0, value.find('\n')));
    return {};
}

bool ControlFields::has(const std::string& name) const
{
    return std::any_of(fields.begin(), fields.end(),
        [&](const auto& field) { return strcasecmp(field.first.c_str(), name.c_str()) == 0; });
}

void ControlFields::set(const std::string& name, const std::string& value)
{
    for (auto& field : fields)
        if (strcasecmp(field.first.c_str(), name.c_str()) == 0) {
            field.second = value;
            return;
        }
    fields.emplace_back(name, value);
}

void ControlFields::erase(const std::string& name)
{
    std::erase_if(fields, [&](const auto& field) { return strcasecmp(field.first.c_str(), name.c_str()) == 0; });
}

std::string ControlFields::text() const
{
    std::string text;
    for (const auto& [key, value] : fields)
        text += key + ":" + (value.empty() || value[0] == '\n' ? "" : " ") + value + "\n";
    return text;
}

int compareVersions(const std::string& a, const std::string& b)
{
    return debVS.CmpVersion(a, b);
}

bool isPackageName(const std::string& name)
{
    if (name.size() < 2 || !std::isalnum((unsigned char)name[0]))
        return false;
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::islower(c) || std::isdigit(c) || c == '+' || c == '-' || c == '.';
    });
}

bool isVersion(const std::string& version)
{
    if (version.empty() || version.size() > 256)
        return false;
    size_t colon = version.find(':');
    std::string rest = version;
    if (colon != std::string::npos) {
        std::string epoch = version.substr(0, colon);
        if (epoch.empty() || !std::all_of(epoch.begin(), epoch.end(), ::isdigit))
            return false;
        rest = version.substr(colon + 1);
    }
    if (rest.empty() || !std::isdigit((unsigned char)rest[0]))
        return false;
    return std::all_of(rest.begin(), rest.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '+' || c == '-' || c == '~' || c == ':';
    });
}

PackageDatabase::PackageDatabase(const std::string& root)
    : _root(root)
{
    makeFolders(root, kInfo);
    fs::path lock = fs::path(root) / kLock;
    _lock = open(lock.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (_lock < 0)
        throw ActionError("could not open " + lock.string() + ": " + std::strerror(errno));
    if (flock(_lock, LOCK_EX) != 0)
        throw ActionError("could not lock " + lock.string() + ": " + std::strerror(errno));

    for (const std::string& paragraph : paragraphs(readWhole(fs::path(root) / kStatus))) {
        std::optional<ControlFields> control = ControlFields::parse(paragraph);
        if (!control || !isPackageName((*control)["Package"]))
            continue;
        std::string name = (*control)["Package"];
        std::string status = (*control)["Status"];
        if (status.size() >= 9 && status.compare(status.size() - 9, 9, "installed") == 0
            && status.find("not-installed") == std::string::npos) {
            _installed[name] = *control;
            _order.push_back(name);
        } else {
            _others[name] = *control;
        }
    }
}

PackageDatabase::~PackageDatabase()
{
    if (_lock >= 0)
        close(_lock);
}

const ControlFields* PackageDatabase::find(const std::string& name) const
{
    auto it = _installed.find(name);
    return it == _installed.end() ? nullptr : &it->second;
}

std::vector<std::string> PackageDatabase::files(const std::string& name) const
{
    if (auto known = _lists.find(name); known != _lists.end())
        return known->second;
    std::vector<std::string>& paths = _lists[name];
    std::istringstream in(readWhole(fs::path(_root) / kInfo / (name + ".list")));
    for (std::string line; std::getline(in, line);)
        if (std::optional<std::string> path = devicePath(line))
            paths.push_back(*path);
    return paths;
}

std::string PackageDatabase::owner(const std::string& path, const std::string& except) const
{
    for (const auto& [name, control] : _installed) {
        if (name == except)
            continue;
        std::vector<std::string> list = files(name);
        if (std::find(list.begin(), list.end(), path) != list.end())
            return name;
    }
    return {};
}

std::string PackageDatabase::unmet(const std::string& depends, const std::string& without) const
{
    // "a (>= 1.0), b | c": every group needs one alternative installed at a fitting version.
    std::string missing;
    std::istringstream groups(depends);
    for (std::string group; std::getline(groups, group, ',');) {
        if (trimmed(group).empty())
            continue;
        bool met = false;
        std::istringstream alternatives(group);
        for (std::string alternative; std::getline(alternatives, alternative, '|');) {
            alternative = trimmed(alternative);
            std::string name = alternative.substr(0, alternative.find_first_of(" (:"));
            const ControlFields* installed = name == without ? nullptr : find(name);
            if (!installed)
                continue;
            size_t open = alternative.find('(');
            if (open == std::string::npos) {
                met = true;
                break;
            }
            std::string relation = alternative.substr(open + 1, alternative.find(')') - open - 1);
            relation = trimmed(relation);
            size_t end = relation.find_first_not_of("<>=");
            std::string op = relation.substr(0, end);
            std::string version = trimmed(relation.substr(end == std::string::npos ? relation.size() : end));
            int order = compareVersions(installed->operator[]("Version"), version);
            met = (op == ">=" && order >= 0) || (op == ">>" && order > 0) || (op == "<=" && order <= 0)
                || (op == "<<" && order < 0) || (op == "=" && order == 0) || (op == ">" && order >= 0)
                || (op == "<" && order <= 0);
            if (met)
                break;
        }
        if (!met)
            missing += (missing.empty() ? "" : ", ") + trimmed(group);
    }
    return missing;
}

void PackageDatabase::record(const ControlFields& given, const std::vector<std::string>& paths, const std::string& md5sums)
{
    // dpkg's own order: Package, then Status, then the control fields as the package gave them.
    ControlFields control;
    std::string name = given["Package"];
    control.fields.emplace_back("Package", name);
    control.fields.emplace_back("Status", "install ok installed");
    for (const auto& field : given.fields)
        if (strcasecmp(field.first.c_str(), "Package") != 0 && strcasecmp(field.first.c_str(), "Status") != 0)
            control.fields.push_back(field);

    std::string list = "/.\n";
    for (const std::string& path : paths)
        list += "/" + path + "\n";
    _lists.erase(name);
    fs::path listFile = fs::path(_root) / kInfo / (name + ".list");
    if (!AtomicFile::write(listFile.string(), list))
        throw ActionError("could not write " + listFile.string());
    fs::path sums = fs::path(_root) / kInfo / (name + ".md5sums");
    std::error_code ignored;
    if (md5sums.empty())
        fs::remove(sums, ignored);
    else if (!AtomicFile::write(sums.string(), md5sums))
        throw ActionError("could not write " + sums.string());
    if (!_installed.count(name))
        _order.push_back(name);
    _installed[name] = control;
    _others.erase(name);
    writeStatus();
}

void PackageDatabase::forget(const std::string& name)
{
    _installed.erase(name);
    _lists.erase(name);
    std::erase(_order, name);
    writeStatus();
    std::error_code ignored;
    for (const char* suffix : { ".list", ".md5sums", ".conffiles" })
        fs::remove(fs::path(_root) / kInfo / (name + suffix), ignored);
}

void PackageDatabase::writeStatus()
{
    std::string text;
    for (const auto& [name, control] : _others)
        text += control.text() + "\n";
    for (const std::string& name : _order)
        text += _installed.at(name).text() + "\n";
    fs::path status = fs::path(_root) / kStatus;
    if (!AtomicFile::write(status.string(), text))
        throw ActionError("could not write " + status.string());
}

} // namespace ruvex
