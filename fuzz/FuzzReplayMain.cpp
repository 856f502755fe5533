// Runs a fuzz target over stored inputs without libFuzzer, so that every build replays the
// corpora: each argument is a file or a directory of files (not recursed), run in name order.
// A crash or a sanitizer report fails the run as it would fail the fuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

bool inputsOf(const fs::path& argument, std::vector<fs::path>& inputs)
{
    std::error_code error;
    if (fs::is_directory(argument, error)) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(argument, error)) {
            if (entry.is_regular_file())
                found.push_back(entry.path());
        }
        std::sort(found.begin(), found.end());
        inputs.insert(inputs.end(), found.begin(), found.end());
        return !error;
    }
    if (fs::is_regular_file(argument, error)) {
        inputs.push_back(argument);
        return true;
    }
    return false;
}

bool runOne(const fs::path& input)
{
    std::ifstream stream(input, std::ios::binary);
    if (!stream)
        return false;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    // An empty vector's data() may be null; the fuzzer always passes a valid pointer.
    static const uint8_t none = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS-DIRECTORY-OR-FILE...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!inputsOf(argv[i], inputs)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "%s: no inputs found\n", argv[0]);
        return 2;
    }
    for (const fs::path& input : inputs) {
        if (!runOne(input)) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], input.c_str());
            return 2;
        }
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
