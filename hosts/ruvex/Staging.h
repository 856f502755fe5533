#pragma once

// What `device create` puts on a device: the build's bundles at the phone's paths, the
// PreferenceLoader entry, and sample apps under /Applications.

#include <string>
#include <vector>

namespace ruvex {

struct SampleApp {
    const char* identifier;
    const char* name;
    const char* scheme; // nullptr when the app declares none
};

const std::vector<SampleApp>& sampleApps();

// Copies every bundle of `bundlesFolder` that the phone knows a place for; answers a line
// for each one missing.
std::vector<std::string> stageBundles(const std::string& bundlesFolder);
// Writes the Info.plist of each named sample app; throws UsageError for an unknown name.
void stageApps(const std::vector<std::string>& identifiers);

} // namespace ruvex
