#pragma once

// Running a command line as a user would from a shell, for the tests that drive `ruvex`:
// its exit status and both of its streams.

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

struct CommandRun {
    int status = -1; // the exit status; -1 when it did not exit (a signal) or could not start
    std::string out;
    std::string err;
};

// One word for the shell, whatever it holds.
inline std::string shellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs `command` through the shell; its standard error goes through the file `errFile`, so that
// a chatty stderr can never block it against a full pipe.
inline CommandRun runCommand(const std::string& command, const std::string& errFile)
{
    CommandRun result;
    FILE* pipe = popen(("(" + command + ") 2>" + shellQuoted(errFile)).c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    size_t count;
    while ((count = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), count);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream errors(errFile, std::ios::binary);
    result.err.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
    return result;
}
