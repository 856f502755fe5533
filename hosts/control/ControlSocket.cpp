#include "ControlSocket.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"

#include "corefoundation/NotifyTransport.h"

#include <unistd.h>

namespace control {

std::string baseDirectory()
{
    return "/tmp/rvx-ctl-" + std::to_string(geteuid());
}

std::string socketDirectory(const std::string& deviceRoot)
{
    return NotifyTransport::directoryForDeviceRoot(deviceRoot, baseDirectory());
}

std::string socketPath(const std::string& deviceRoot, const std::string& host)
{
    return socketDirectory(deviceRoot) + "/" + host + ".sock";
}

Result<void> makeSocketDirectory(const std::string& deviceRoot)
{
    for (const std::string& folder : {baseDirectory(), socketDirectory(deviceRoot)})
        if (Result<void> made = NotifyTransport::makePrivateDirectory(folder); !made)
            return made;
    return {};
}

Result<std::string> encodeRequest(const Words& words)
{
    std::string line;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i].find_first_of("\t\n") != std::string::npos)
            return Failure { "a word of the request holds a tab or a newline" };
        if (i)
            line += '\t';
        line += words[i];
    }
    line += '\n';
    return line;
}

Words decodeRequest(const std::string& line)
{
    Words words;
    // Only the line's end is taken off: every other byte, a carriage return too, is the word's.
    std::string text = line;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (text.empty())
        return words;
    size_t start = 0;
    while (true) {
        size_t tab = text.find('\t', start);
        words.push_back(text.substr(start, tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return words;
}

namespace {

std::function<void()> gScreenChangeHook;

} // namespace

void setScreenChangeHook(std::function<void()> hook)
{
    gScreenChangeHook = std::move(hook);
}

void postScreenChange(const char* name)
{
    if (gScreenChangeHook)
        gScreenChangeHook();
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr, true);
}

void announceScreenChange(const char* name, Announce when)
{
    static RunLoop::TimerId settle = 0;
    if (when == Announce::NowAndSettled)
        postScreenChange(name);
    RunLoop::main().cancelTimer(settle);
    settle = RunLoop::main().addTimer(kScreenSettleSeconds, [name] {
        settle = 0;
        postScreenChange(name);
    });
}

} // namespace control
