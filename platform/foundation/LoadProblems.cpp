#include "foundation/LoadProblems.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace LoadProblems {

namespace {

// A long-lived host meets a bounded number of distinct problems; a bound keeps it so anyway.
constexpr size_t kKept = 256;

std::mutex& lock()
{
    static std::mutex* instance = new std::mutex;
    return *instance;
}

std::vector<std::string>& kept()
{
    static auto* instance = new std::vector<std::string>;
    return *instance;
}

thread_local Capture* innermost = nullptr;

} // namespace

void note(const std::string& problem)
{
    for (Capture* capture = innermost; capture; capture = capture->_outer)
        if (std::find(capture->_problems.begin(), capture->_problems.end(), problem) == capture->_problems.end())
            capture->_problems.push_back(problem);
    std::lock_guard guard(lock());
    auto& list = kept();
    if (std::find(list.begin(), list.end(), problem) != list.end())
        return;
    std::fprintf(stderr, "%s\n", problem.c_str());
    if (list.size() < kKept)
        list.push_back(problem);
}

std::vector<std::string> all()
{
    std::lock_guard guard(lock());
    return kept();
}

Capture::Capture()
    : _outer(innermost)
{
    innermost = this;
}

Capture::~Capture()
{
    innermost = _outer;
}

} // namespace LoadProblems
