#pragma once

// The command table of `ruvex`: each verb names itself, its usage and its help, and runs
// with the words that follow it.

#include "control/ControlWords.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ruvex {

// Bad use of the command line: a one-line message and exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An action that could not be done: a one-line message and exit status 1.
struct ActionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string device; // the device root, as a host path
    bool json = false;
};

using Arguments = std::vector<std::string>;

struct Command {
    std::string name;    // "defaults write"
    std::string usage;   // "DOMAIN KEY [-string|-int|-float|-bool] VALUE"
    std::string summary; // one line
    std::string help;    // further lines, may be empty
    size_t leastArguments;
    size_t mostArguments;
    int (*run)(const Options&, const Arguments&);
};

// Every verb registers itself here through a static CommandRegistration.
std::vector<Command>& commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command) { commands().push_back(std::move(command)); }
};

// Throws UsageError unless the count of arguments fits the command.
void expectArguments(const Command& command, const Arguments& arguments);

// The words that name numbers, steps and rows are read as the hosts read them.
using control::parseNumber;
using control::parseRowAddress;
using control::parseSteps;

} // namespace ruvex
