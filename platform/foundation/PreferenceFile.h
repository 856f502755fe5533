#pragma once

// A preference file: one property-list dictionary read whole and changed by locked
// read-change-write. Readers take no lock (each write replaces the file atomically); writers
// hold an exclusive flock on "<file>.lock" beside it, so that two processes changing one file
// never lose each other's change.
//
// A change starts from the file's dictionary; a missing file starts empty and is created
// (with its directory); a file that is there but is not a readable dictionary is kept aside
// as "<file>.corrupt" (".corrupt.1", ... when older copies are there: none is replaced) and
// the change starts empty. Temporary files of writers that died are removed under the lock.

#include "foundation/PlistValue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class PreferenceFile {
public:
    // "/var/mobile/Library/Preferences/<domain>.plist" on the current device.
    static PreferenceFile forDomain(std::string_view domain);
    static PreferenceFile forPhonePath(std::string_view phonePath);
    static PreferenceFile forHostPath(std::string hostPath);

    static std::string phonePathForDomain(std::string_view domain);

    const std::string& hostPath() const { return _hostPath; }
    std::string lockPath() const { return _hostPath + ".lock"; }
    std::string corruptPath() const { return _hostPath + ".corrupt"; }

    // The file's dictionary, read afresh; nothing when missing or unreadable.
    std::optional<NSDictionary> readIfPresent() const;
    NSDictionary read() const { return readIfPresent().value_or(NSDictionary()); }

    // Runs `change` on the current dictionary under the lock; it answers whether to write.
    // False when the write (or taking the lock) failed.
    bool changeWith(const std::function<bool(NSDictionary&)>& change) const;
    bool setObject(PlistValue value, std::string_view key) const;
    bool removeObjectForKey(std::string_view key) const;
    // Creates the file holding only key = value when there is none; answers whether it did.
    bool createIfMissing(std::string_view key, PlistValue value) const;

    // The changes of this thread that failed: how many so far, and the file and reason of
    // the last. A pane's store answers nobody (its action is sent by selector), so a host
    // compares the count before and after an input to learn that a store failed, and why.
    struct Failures {
        unsigned long count = 0;
        std::string path;   // host path
        std::string reason; // "No space left on device", ...
    };
    static const Failures& failures();

    // For tests that show what the lock prevents: off, writers take no lock.
    static void setLockingEnabled(bool enabled);

private:
    explicit PreferenceFile(std::string hostPath) : _hostPath(std::move(hostPath)) { }

    enum class IfMissing { Start, Skip };
    enum class Outcome { Written, Unchanged, Failed };
    Outcome locked(IfMissing ifMissing, const std::function<bool(NSDictionary&)>& change) const;
    Outcome noted(Outcome outcome) const;
    Outcome lockedHere(IfMissing ifMissing, const std::function<bool(NSDictionary&)>& change) const;
    bool keepAside() const;

    std::string _hostPath;
};
