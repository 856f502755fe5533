// install / uninstall / packages / respring: the product delivered as the phone takes it.

#include "Command.h"
#include "Device.h"
#include "Hosts.h"
#include "Json.h"
#include "PackageDatabase.h"
#include "PackageInstall.h"

#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace ruvex {
namespace {

bool waitUntilAnswers(const std::string& host, bool up, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (answers(host) != up) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Stops a running host and starts it again with boot's own starter, so that it loads the
// bundles anew.
void restartHost(const std::string& host)
{
    askHost(host, { "quit" });
    if (!waitUntilAnswers(host, false, 10))
        throw ActionError(host + " did not stop within 10 s");
    startHost(host);
    if (!waitUntilAnswers(host, true, 20))
        throw ActionError(host + " did not answer within 20 s; see " + DeviceRoot::resolve("/var/log"));
}

void requireDevice()
{
    if (!isDeviceRoot(DeviceRoot::root()))
        throw ActionError("no device at " + DeviceRoot::root() + ": run `ruvex device create`");
}

// After a change: the shell restarts when a widget bundle changed (a respring), the Settings
// app when a preference bundle did, each only when it runs. Answers what it said.
std::string restartChanged(const InstallReport& report)
{
    std::string said;
    if (report.widgetsChanged && answers(control::kSpringboard)) {
        restartHost(control::kSpringboard);
        said += "; resprung";
    }
    if (report.settingsChanged && answers(control::kSettings)) {
        restartHost(control::kSettings);
        said += "; Settings restarted";
    }
    return said;
}

void printReport(const Options& options, const InstallReport& report, const char* verb)
{
    for (const std::string& note : report.notes)
        std::fprintf(stderr, "ruvex: note: %s\n", note.c_str());
    std::string restarted = restartChanged(report);
    if (options.json) {
        json::Value out = json::Value::object();
        out["package"] = report.package;
        out["version"] = report.version;
        out["previous"] = report.previous.empty() ? json::Value() : json::Value(report.previous);
        out["resprung"] = restarted.find("resprung") != std::string::npos;
        std::printf("%s\n", json::write(out).c_str());
        return;
    }
    std::string text = std::string(verb) + " " + report.package + " " + report.version;
    if (!report.previous.empty())
        text += report.previous == report.version ? " (again)" : " (was " + report.previous + ")";
    std::printf("%s%s\n", text.c_str(), restarted.c_str());
}

int install(const Options& options, const Arguments& arguments)
{
    Downgrade downgrade = Downgrade::Refuse;
    std::string target;
    for (const std::string& word : arguments) {
        if (word == "--downgrade")
            downgrade = Downgrade::Allow;
        else if (!word.empty() && word[0] == '-')
            throw UsageError("install takes FILE.deb or BUNDLE_DIR and --downgrade, not '" + word + "'");
        else if (target.empty())
            target = word;
        else
            throw UsageError("install takes one FILE.deb or BUNDLE_DIR");
    }
    if (target.empty())
        throw UsageError("install needs a FILE.deb or a BUNDLE_DIR");
    requireDevice();
    recordPhonePackages(DeviceRoot::root()); // a device made before packages lacks them
    std::error_code failure;
    InstallReport report = std::filesystem::is_directory(target, failure)
        ? installBundle(DeviceRoot::root(), target)
        : installPackage(DeviceRoot::root(), target, downgrade);
    printReport(options, report, "installed");
    return 0;
}

int uninstall(const Options& options, const Arguments& arguments)
{
    requireDevice();
    printReport(options, uninstallPackage(DeviceRoot::root(), arguments[0]), "uninstalled");
    return 0;
}

int packages(const Options& options, const Arguments&)
{
    requireDevice();
    PackageDatabase database(DeviceRoot::root());
    json::Value listed = json::Value::array();
    for (const auto& [name, control] : database.installed()) {
        if (options.json) {
            json::Value& entry = listed.emplace_back(json::Value::object());
            entry["package"] = name;
            entry["version"] = control["Version"];
            entry["name"] = control["Name"];
        } else {
            std::printf("%-28s %-10s %s\n", name.c_str(), control["Version"].c_str(), control["Name"].c_str());
        }
    }
    if (options.json)
        std::printf("%s\n", json::write({ { "packages", listed } }).c_str());
    return 0;
}

int respring(const Options& options, const Arguments&)
{
    requireDevice();
    if (!answers(control::kSpringboard))
        throw ActionError("the device is not booted: run `ruvex boot`");
    restartHost(control::kSpringboard);
    return report(options, askHost(control::kSpringboard, { "ping" }));
}

CommandRegistration installVerb({ "install", "FILE.deb|BUNDLE_DIR [--downgrade]",
    "install a Debian package, or one bundle folder, on the device",
    "The whole package is checked before anything is written: paths that leave the root,\n"
    "absolute links or links that point out, device files, setuid or setgid bits, members over\n"
    "32 MB (64 MB a package) and damaged archives are refused, as are packages whose Depends\n"
    "are not installed and files of another package. It is recorded in the device's\n"
    "/var/lib/dpkg (status and info/PACKAGE.list). A newer version replaces the files and\n"
    "removes those it no longer has; an older one needs --downgrade. BUNDLE_DIR (NAME.bundle)\n"
    "goes to /Library/PreferenceBundles when its principal class is a ...ListController, else to\n"
    "/System/Library/WeeAppPlugins, as the package named by its CFBundleIdentifier.\n"
    "A running shell resprings when a widget changed; a running Settings app restarts when a\n"
    "preference bundle did. Maintainer scripts are never run.",
    1, 2, install });
CommandRegistration uninstallVerb({ "uninstall", "PACKAGE", "remove an installed package's files",
    "Removes exactly the files the package's list names (folders only when left empty); the\n"
    "Settings file and everything else the user made stay. Refused while another package\n"
    "depends on it. A running shell resprings when a widget went.",
    1, 1, uninstall });
CommandRegistration packagesVerb({ "packages", "", "list the installed packages and their versions", "", 0, 0, packages });
CommandRegistration respringVerb({ "respring", "", "restart the shell so that it loads the widget bundles anew",
    "Stops the springboard host and starts it again as boot does; the Settings app keeps running.", 0, 0,
    respring });

} // namespace
} // namespace ruvex
