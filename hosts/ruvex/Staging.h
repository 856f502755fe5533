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
// The sample apps a `--apps ID,...` list names, each once, in the order given; throws
// UsageError for an unknown name before anything is made.
std::vector<std::string> sampleAppList(const std::string& list);
// The identifiers of all sample apps.
std::vector<std::string> allSampleApps();
// Writes the Info.plist of each named sample app (names from sampleAppList).
void stageApps(const std::vector<std::string>& identifiers);

} // namespace ruvex
