#include "ControlVerbs.h"

#include "ControlServer.h"
#include "Screenshot.h"

#include "corefoundation/CFRunLoop.h"
#include "ui/UIWindow.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

namespace control {

void VerbTable::add(Verb verb)
{
    _verbs.push_back(std::move(verb));
}

const Verb* VerbTable::find(std::string_view name) const
{
    for (const Verb& verb : _verbs)
        if (verb.name == name)
            return &verb;
    return nullptr;
}

json::Value VerbTable::handle(const Words& words) const
{
    if (words.empty())
        return usageReply("empty request");
    const Verb* verb = find(words[0]);
    if (!verb)
        return errorReply(_host + " does not know '" + words[0] + "'");
    size_t arguments = words.size() - 1;
    if (arguments < verb->leastArguments || arguments > verb->mostArguments)
        return usageReply(verb->usage.empty() ? verb->name + " takes no arguments" : verb->name + " takes " + verb->usage);
    try {
        return verb->run(words);
    } catch (const Refusal& refusal) {
        return refusal.kind == Refusal::Kind::Usage ? usageReply(refusal.what()) : errorReply(refusal.what());
    }
}

void VerbTable::addSharedVerbs(std::function<const UIWindow&()> window, std::function<json::Value(ControlReply&)> describe)
{
    add({ "ping", "", 0, 0, [host = _host, describe](const Words&) {
             ControlReply reply;
             reply["host"] = host;
             reply["pid"] = int(getpid());
             return describe(reply);
         } });
    add({ "dump", "", 0, 0, [window](const Words&) {
             // The tree follows the text, as a person reads past it.
             return ControlReply().after("tree", window().tree()).finish("");
         } });
    add({ "screenshot", "PATH SCALE", 2, 2, [window](const Words& words) {
             std::optional<double> scale = parseNumber(words[2]);
             if (!scale)
                 throw Refusal::usage("not a scale: " + words[2]);
             Result<void> written = writeScreenshot(window(), words[1], *scale);
             if (!written)
                 throw Refusal::failure(written.error());
             ControlReply reply;
             reply["path"] = words[1];
             return reply.finish("wrote " + words[1]);
         } });
    add({ "quit", "", 0, 0, [host = _host](const Words&) {
             RunLoop::main().post([] { RunLoop::main().stop(); });
             return ControlReply().finish(host + " stopping");
         } });
}

} // namespace control
