#pragma once

// What `device create` puts on a device: the phone's own packages, the product installed from
// its package, and sample apps under /Applications.

#include <string>
#include <vector>

namespace ruvex {

struct SampleApp {
    const char* identifier;
    const char* name;
    const char* scheme; // nullptr when the app declares none
};

const std::vector<SampleApp>& sampleApps();

// Installs the product from the package the build made (again, or over another version);
// answers a note line when there is none to install.
std::vector<std::string> installProduct();
// The sample apps a `--apps ID,...` list names, each once, in the order given; throws
// UsageError for an unknown name before anything is made.
std::vector<std::string> sampleAppList(const std::string& list);
// The identifiers of all sample apps.
std::vector<std::string> allSampleApps();
// Writes the Info.plist of each named sample app (names from sampleAppList).
void stageApps(const std::vector<std::string>& identifiers);

} // namespace ruvex
