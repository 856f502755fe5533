// Reading and changing a realistic Settings file: 16 named keys and 200 exclusion entries.

#include "foundation/AtomicFile.h"
#include "foundation/PropertyList.h"
#include "TestDevice.h"
#include "shared/RVXSettings.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <fstream>
#include <sstream>

namespace {

NSDictionary realisticSettings()
{
    NSDictionary settings { { "Label", "Tap to close all Apps" }, { "Closing", "Closing..." }, { "Family", "Helvetica" },
        { "Style", "Helvetica-Bold" }, { "Size", 17.5 }, { "TextColor", "0.000000,1.000000,1.000000,0.500000" },
        { "Highlight", true }, { "HideAlpha", false }, { "UseCustom", false }, { "Path", "/var/mobile/bg.png" },
        { "Strechable", false }, { "Background", 0 }, { "Height", 35.0 }, { "CloseOnAppear", false },
        { "CloseOnDisappear", true }, { "Count", 1234 } };
    for (int i = 0; i < 200; ++i)
        settings.setObject(i % 3 == 0, "com.example.app" + std::to_string(i));
    return settings;
}

struct Fixture {
    TestDevice device;
    std::string host;
    std::string bytes;

    Fixture()
    {
        host = device.hostPath(RVXSettings::path);
        bytes = *PropertyList::xmlData(PlistValue(realisticSettings()));
        AtomicFile::write(host, bytes);
    }
};

void ReadThroughContract(benchmark::State& state)
{
    Fixture fixture;
    for (auto _ : state) {
        NSDictionary settings = RVXSettings::read();
        benchmark::DoNotOptimize(RVXSettings::valueFor(settings, RVXSettings::Keys::Size));
    }
}
BENCHMARK(ReadThroughContract);

void RawLibplistParse(benchmark::State& state)
{
    Fixture fixture;
    for (auto _ : state) {
        std::ifstream in(fixture.host, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        std::string bytes = buffer.str();
        plist_t root = nullptr;
        plist_from_memory(bytes.data(), uint32_t(bytes.size()), &root);
        benchmark::DoNotOptimize(plist_dict_get_item(root, "Size"));
        plist_free(root);
    }
}
BENCHMARK(RawLibplistParse);

// The same Settings in the old ASCII form, parsed by our own reader, beside the XML bytes
// parsed through libplist: both from memory.
std::string asciiForm(const NSDictionary& settings)
{
    std::string text = "{\n";
    for (const auto& [key, value] : settings) {
        std::string scalar;
        if (value.string())
            scalar = "\"" + *value.string() + "\"";
        else if (value.boolean())
            scalar = *value.boolean() ? "1" : "0";
        else
            scalar = std::to_string(*value.doubleValue());
        text += "    \"" + key + "\" = " + scalar + ";\n";
    }
    return text + "}\n";
}

void ParseASCIIForm(benchmark::State& state)
{
    std::string text = asciiForm(realisticSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(PropertyList::parse(text));
    state.SetBytesProcessed(int64_t(state.iterations() * text.size()));
}
BENCHMARK(ParseASCIIForm);

void ParseXMLForm(benchmark::State& state)
{
    std::string xml = *PropertyList::xmlData(PlistValue(realisticSettings()));
    for (auto _ : state)
        benchmark::DoNotOptimize(PropertyList::parse(xml));
    state.SetBytesProcessed(int64_t(state.iterations() * xml.size()));
}
BENCHMARK(ParseXMLForm);

void ChangeOneKey(benchmark::State& state)
{
    Fixture fixture;
    int size = 10;
    for (auto _ : state)
        RVXSettings::changeOneKey("Size", double(size++ % 40 + 10));
}
BENCHMARK(ChangeOneKey)->Unit(benchmark::kMicrosecond);

void BareAtomicWrite(benchmark::State& state)
{
    Fixture fixture;
    for (auto _ : state)
        AtomicFile::write(fixture.host, fixture.bytes);
}
BENCHMARK(BareAtomicWrite)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
