#pragma once

// What did not load, told where the user looks: a bundle skipped, an entry or specifier
// file that does not read. Each problem is printed once on stderr (the host's log) and kept,
// so that a host can name them in its replies: all of them since start (for `boot`), or
// those met while one request ran (a Capture).

#include <string>
#include <vector>

namespace LoadProblems {

void note(const std::string& problem);
// Every distinct problem so far, in the order first met.
std::vector<std::string> all();

// Collects the problems noted on this thread while it lives, each once, repeats included.
class Capture {
public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    const std::vector<std::string>& problems() const { return _problems; }

private:
    friend void note(const std::string& problem);
    std::vector<std::string> _problems;
    Capture* _outer;
};

} // namespace LoadProblems
