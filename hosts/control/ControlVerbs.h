#pragma once

// A host's verb table: each verb names itself, the words it takes and their count, and runs
// with the request's words (the verb first). The table refuses a request that names no verb
// or brings a count of words the verb does not take, so that a verb's own code starts from
// words it can take.
//
// A verb that cannot do what was asked throws a Refusal, which becomes the error reply:
//   Refusal::usage("...")    bad use: {"ok":false,"usage":true,"error":...}, which the
//                            command line reports with exit status 2
//   Refusal::failure("...")  the action could not be done: {"ok":false,"error":...}
//
// The words that name numbers, steps and rows are read by the parsers of ControlWords.h,
// which the command line uses too, so that both ends take the same words.

#include "ControlReply.h"
#include "ControlSocket.h"
#include "ControlWords.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class UIWindow;

namespace control {

struct Refusal : std::runtime_error {
    enum class Kind { Usage, Failure };

    // An action that could not be done.
    explicit Refusal(const std::string& message, Kind kind = Kind::Failure) : std::runtime_error(message), kind(kind) { }
    static Refusal usage(const std::string& message) { return Refusal(message, Kind::Usage); }
    static Refusal failure(const std::string& message) { return Refusal(message, Kind::Failure); }

    Kind kind;
};

struct Verb {
    std::string name;  // "slide", the request's first word
    std::string usage; // "S:R VALUE STEPS", the words after it
    size_t leastArguments;
    size_t mostArguments;
    std::function<json::Value(const Words&)> run;
};

class VerbTable {
public:
    explicit VerbTable(std::string host) : _host(std::move(host)) { }

    void add(Verb verb);
    // A verb answered by a member function of `owner`, with the request's words or without any.
    template<typename Owner>
    void add(const char* name, const char* usage, size_t least, size_t most, Owner* owner,
        json::Value (Owner::*run)(const Words&))
    {
        add({ name, usage, least, most, [owner, run](const Words& words) { return (owner->*run)(words); } });
    }
    template<typename Owner>
    void add(const char* name, Owner* owner, json::Value (Owner::*run)())
    {
        add({ name, "", 0, 0, [owner, run](const Words&) { return (owner->*run)(); } });
    }
    // The verbs both hosts answer alike:
    //   ping                  host, pid, then what `describe` adds (it finishes the reply)
    //   dump                  tree (the window's views)
    //   screenshot PATH SCALE path: the window as PNG
    //   quit                  (the host stops after replying)
    void addSharedVerbs(std::function<const UIWindow&()> window, std::function<json::Value(ControlReply&)> describe);

    // The reply to a request: the verb's, or the refusal's error reply.
    json::Value handle(const Words& words) const;
    const Verb* find(std::string_view name) const;

private:
    std::string _host;
    std::vector<Verb> _verbs;
};

} // namespace control
