// ruvex: drives a simulated device, as a simulator's control tool does.

#include "Command.h"

#include "foundation/DeviceRoot.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <iostream>

namespace ruvex {

std::vector<Command>& commands()
{
    static std::vector<Command> table;
    return table;
}

void expectArguments(const Command& command, const Arguments& arguments)
{
    std::string usage = "ruvex " + command.name + (command.usage.empty() ? "" : " " + command.usage);
    if (arguments.size() < command.leastArguments)
        throw UsageError("'" + command.name + "' needs more arguments: " + usage);
    if (arguments.size() > command.mostArguments && command.mostArguments == 0)
        throw UsageError("unknown verb '" + command.name + " " + arguments[0] + "' ('" + command.name
            + "' takes no arguments; ruvex --help lists the verbs)");
    if (arguments.size() > command.mostArguments)
        throw UsageError("'" + command.name + "' takes fewer arguments: " + usage);
}

std::optional<double> parseNumber(const std::string& text)
{
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    char* end = nullptr;
    double value = strtod_l(text.c_str(), &end, cLocale);
    if (text.empty() || *end || std::isspace((unsigned char)text[0]))
        return std::nullopt;
    return value;
}

} // namespace ruvex

using namespace ruvex;

namespace {

const char* kGlobalHelp = "Options before the verb:\n"
                          "  --device DIR   the device root (default: %s)\n"
                          "  --json         report as JSON where a verb reports\n"
                          "  --help         this text; `ruvex VERB --help` tells about one verb\n";

void printOverview()
{
    std::printf("usage: ruvex [--device DIR] [--json] VERB ...\n\nVerbs:\n");
    auto sorted = commands();
    std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.name < b.name; });
    for (const Command& command : sorted)
        std::printf("  %-18s %s\n", command.name.c_str(), command.summary.c_str());
    std::printf("\n");
    std::printf(kGlobalHelp, DeviceRoot::defaultRoot().c_str());
}

void printHelp(const Command& command)
{
    std::printf("usage: ruvex %s %s\n\n%s\n", command.name.c_str(), command.usage.c_str(), command.summary.c_str());
    if (!command.help.empty())
        std::printf("\n%s\n", command.help.c_str());
}

// The longest verb name that the words start with ("defaults write" before "defaults").
const Command* findCommand(const Arguments& words, size_t& used)
{
    const Command* best = nullptr;
    size_t bestWords = 0;
    for (const Command& command : commands()) {
        Arguments parts;
        size_t start = 0;
        while (start <= command.name.size()) {
            size_t space = command.name.find(' ', start);
            parts.push_back(command.name.substr(start, space - start));
            if (space == std::string::npos)
                break;
            start = space + 1;
        }
        if (parts.size() > words.size() || parts.size() <= bestWords)
            continue;
        if (std::equal(parts.begin(), parts.end(), words.begin())) {
            best = &command;
            bestWords = parts.size();
        }
    }
    used = bestWords;
    return best;
}

int runCommand(int argc, char** argv)
{
    Options options;
    Arguments words;
    int i = 1;
    for (; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--device") {
            if (i + 1 >= argc || !*argv[i + 1])
                throw UsageError("--device needs a directory");
            options.device = argv[++i];
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "--help" || word == "-h") {
            if (words.empty()) {
                printOverview();
                return 0;
            }
            words.push_back(word);
        } else {
            words.push_back(word);
        }
    }
    if (words.empty()) {
        printOverview();
        return 2;
    }

    size_t used = 0;
    const Command* command = findCommand(words, used);
    if (!command)
        throw UsageError("unknown verb '" + words[0] + "' (ruvex --help lists the verbs)");
    Arguments arguments(words.begin() + long(used), words.end());
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end()
        || std::find(arguments.begin(), arguments.end(), "-h") != arguments.end()) {
        printHelp(*command);
        return 0;
    }

    expectArguments(*command, arguments);
    if (options.device.empty())
        options.device = DeviceRoot::defaultRoot();
    DeviceRoot::setRoot(options.device);
    return command->run(options, arguments);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return runCommand(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "ruvex: " << error.what() << "\n";
        return 2;
    } catch (const ActionError& error) {
        std::cerr << "ruvex: " << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "ruvex: " << error.what() << "\n";
        return 1;
    }
}
