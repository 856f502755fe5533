#pragma once

// The device's own dpkg database, kept as the phone's dpkg keeps it: /var/lib/dpkg/status holds
// one paragraph per installed package (its control fields, with "Status: install ok installed"
// after "Package"), /var/lib/dpkg/info/PACKAGE.list every path the package installed ("/."
// first, folders before what they hold). Both are replaced whole (temporary file and rename)
// while /var/lib/dpkg/lock is held, so that two installs never lose each other's entry.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ruvex {

// A control paragraph: its fields in order, each value as written (continuation lines kept).
struct ControlFields {
    std::vector<std::pair<std::string, std::string>> fields;

    // Parses one paragraph; nothing when it is not one (a line that is no field).
    static std::optional<ControlFields> parse(const std::string& text);
    std::string operator[](const std::string& name) const; // first line, trimmed; "" when absent
    bool has(const std::string& name) const;
    void set(const std::string& name, const std::string& value); // replaces or appends
    void erase(const std::string& name);
    std::string text() const;
};

// Debian's ordering of versions (epoch, upstream, revision; "~" before anything).
int compareVersions(const std::string& a, const std::string& b);
// Whether `name` is a valid package name (lower-case letters, digits, "+", "-", ".").
bool isPackageName(const std::string& name);
// Whether `version` is a valid Debian version.
bool isVersion(const std::string& version);

class PackageDatabase {
public:
    // Reads the database of the device at `root` and holds its lock until destroyed.
    explicit PackageDatabase(const std::string& root);
    ~PackageDatabase();
    PackageDatabase(const PackageDatabase&) = delete;
    PackageDatabase& operator=(const PackageDatabase&) = delete;

    const std::map<std::string, ControlFields>& installed() const { return _installed; }
    const ControlFields* find(const std::string& name) const;
    // The paths a package installed, below the root ("System/Library/..."), as its list holds them.
    std::vector<std::string> files(const std::string& name) const;
    // Which installed package lists `path`, other than `except`; empty when none.
    std::string owner(const std::string& path, const std::string& except) const;
    // Unmet dependencies of `depends` (a Depends field) among the installed packages, leaving
    // out `without`; "" when met.
    std::string unmet(const std::string& depends, const std::string& without = {}) const;

    // Records a package as installed with its list of paths (and its md5sums, when it has
    // them, as info/PACKAGE.md5sums); writes the database.
    void record(const ControlFields& control, const std::vector<std::string>& paths, const std::string& md5sums = {});
    // Forgets a package; writes the database.
    void forget(const std::string& name);

private:
    void writeStatus();
    std::string _root;
    int _lock = -1;
    std::map<std::string, ControlFields> _installed;
    std::vector<std::string> _order; // packages in the order the status file lists them
    std::map<std::string, ControlFields> _others; // paragraphs of packages not installed, kept
    mutable std::map<std::string, std::vector<std::string>> _lists; // lists read so far
};

} // namespace ruvex
