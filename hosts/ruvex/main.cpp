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
    for (size_t i = command.mostArguments; i < arguments.size(); ++i)
        if (arguments[i] == "--json" || arguments[i] == "--device")
            throw UsageError(arguments[i] + " goes before the verb: ruvex " + arguments[i]
                + (arguments[i] == "--device" ? " DIR " : " ") + command.name + " ...");
    if (arguments.size() > command.mostArguments && command.mostArguments == 0)
        throw UsageError("unknown verb '" + command.name + " " + arguments[0] + "' ('" + command.name
            + "' takes no arguments; ruvex --help lists the verbs)");
    if (arguments.size() > command.mostArguments)
        throw UsageError("'" + command.name + "' takes fewer arguments: " + usage);
}

} // namespace ruvex

using namespace ruvex;

namespace {

const char* kGlobalHelp = "Options before the verb:\n"
                          "  --device DIR   the device root (default: %s)\n"
                          "  --json         report as JSON where a verb reports\n"
                          "  --help         this text; `ruvex VERB --help` tells about one verb\n"
                          "  --             ends the options; after the verb, \"--\" makes the rest values\n"
                          "                 (`ruvex settings type -- -h` types \"-h\")\n";

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

// What a verb's usage says of the words after it: how many values it takes in order, and
// which options it knows ("--steps" taking a value, "-string" none). "X Y | bar | info"
// takes at most two values; "[CLASS]" is a value, "[--steps N]" an option with one.
struct UsageShape {
    size_t values = 0;
    std::vector<std::pair<std::string, bool>> options; // name, takes a value
};

UsageShape usageShape(const std::string& usage)
{
    UsageShape shape;
    size_t valuesHere = 0;
    size_t at = 0;
    while (at < usage.size()) {
        if (usage[at] == ' ') {
            ++at;
            continue;
        }
        size_t end = usage[at] == '[' ? usage.find(']', at) : usage.find(' ', at);
        end = end == std::string::npos ? usage.size() : end + (usage[at] == '[');
        std::string token = usage.substr(at, end - at);
        at = end;
        if (token == "|") {
            shape.values = std::max(shape.values, valuesHere);
            valuesHere = 0;
        } else if (token.starts_with("[-")) {
            std::string inside = token.substr(1, token.size() - 2);
            size_t space = inside.find(' ');
            bool takesValue = space != std::string::npos;
            std::string names = inside.substr(0, space);
            for (size_t from = 0; from <= names.size();) {
                size_t bar = names.find('|', from);
                shape.options.emplace_back(names.substr(from, bar - from), takesValue);
                if (bar == std::string::npos)
                    break;
                from = bar + 1;
            }
        } else {
            ++valuesHere;
        }
    }
    shape.values = std::max(shape.values, valuesHere);
    return shape;
}

// `--help` or `-h` asks for the verb's help where it stands as the verb's first word, or
// where the verb takes no value: past all its values and not an option's value. Anywhere
// else it is a value like any other ("defaults write D K -string -h" stores "-h").
bool asksForHelp(const Command& command, const Arguments& arguments)
{
    auto isHelp = [](const std::string& word) { return word == "--help" || word == "-h"; };
    if (arguments.empty())
        return false;
    if (isHelp(arguments[0]))
        return true;
    UsageShape shape = usageShape(command.usage);
    size_t values = 0;
    for (size_t i = 0; i < arguments.size(); ++i) {
        auto option = std::find_if(shape.options.begin(), shape.options.end(),
            [&](const auto& known) { return known.first == arguments[i]; });
        if (option != shape.options.end()) {
            i += option->second; // its value is a value, whatever it reads
            continue;
        }
        if (isHelp(arguments[i]) && values >= shape.values)
            return true;
        ++values;
    }
    return false;
}

int runCommand(int argc, char** argv)
{
    // Global options come before the verb; "--" ends them. After the verb every word is the
    // verb's, so that a text such as "--json" can be typed.
    Options options;
    bool deviceGiven = false;
    int i = 1;
    for (; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--") {
            ++i;
            break;
        }
        if (word == "--device") {
            if (i + 1 >= argc || !*argv[i + 1])
                throw UsageError("--device needs a directory");
            options.device = argv[++i];
            if (options.device.empty())
                throw UsageError("--device needs a directory, not an empty word");
            deviceGiven = true;
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "--help" || word == "-h") {
            printOverview();
            return 0;
        } else if (word.size() > 1 && word[0] == '-') {
            throw UsageError("unknown option '" + word + "' (options go before the verb: ruvex [--device DIR] [--json] VERB ...)");
        } else {
            break;
        }
    }
    Arguments words(argv + i, argv + argc);
    if (words.empty()) {
        printOverview();
        return 2;
    }

    size_t used = 0;
    const Command* command = findCommand(words, used);
    if (!command)
        throw UsageError("unknown verb '" + words[0] + "' (ruvex --help lists the verbs)");
    Arguments arguments(words.begin() + long(used), words.end());
    // "--" as the verb's first word: what follows are values, even "-h".
    if (!arguments.empty() && arguments[0] == "--")
        arguments.erase(arguments.begin());
    else if (asksForHelp(*command, arguments)) {
        printHelp(*command);
        return 0;
    }

    expectArguments(*command, arguments);
    if (!deviceGiven)
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
