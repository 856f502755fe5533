#pragma once

// Where a host's control socket lies. A Unix socket path holds at most 107 bytes, so the
// socket does not live in the device root (which may be long) but in a short private
// directory keyed by a hash of the root, as the notify transport keys its own:
//   /tmp/rvx-ctl-<euid>/<16 hex digits>/<host>.sock     (directories mode 0700)
//
// The protocol, one exchange per connection:
//   request  one line: the words of the request separated by tabs, ended by "\n"
//            (words hold no tab and no newline);
//   reply    one JSON object on one line, ended by "\n":
//            {"ok":true,"text":"what a person reads", ...fields of the verb}
//            {"ok":false,"error":"one line"}

#include "foundation/Result.h"

#include <functional>
#include <string>
#include <vector>

namespace control {

inline constexpr const char* kSpringboard = "springboard";
inline constexpr const char* kSettings = "settings";
// Posted by a host after a request that may have changed what its window shows, so that a
// window on the device's screen fetches a new frame only then.
inline constexpr const char* kScreenChanged = "com.vastelmark.ruvex.screen-changed";
// Posted by the settings host instead: the shell, which shows the Settings app's window in
// its own screen, drops the picture it keeps of it and passes the news on as kScreenChanged
// while the app shows, so that a window never asks for the frame before the shell knows.
inline constexpr const char* kSettingsScreenChanged = "com.vastelmark.ruvex.settings-screen-changed";
// Posts `name` now and once more when the request's animations and delayed performs have
// had kScreenSettleSeconds to end (a view takes its final value at once, but a completion
// may change it again); with Settled, only then (the requester shows the change itself).
inline constexpr double kScreenSettleSeconds = 0.6;
enum class Announce { NowAndSettled, Settled };
void announceScreenChange(const char* name = kScreenChanged, Announce when = Announce::NowAndSettled);
// One post of `name`, now.
void postScreenChange(const char* name = kScreenChanged);
// Runs before every post of the two calls above (a host that keeps its frame drops it).
void setScreenChangeHook(std::function<void()> hook);

using Words = std::vector<std::string>;

std::string baseDirectory();
// The socket directory of a device root (not created).
std::string socketDirectory(const std::string& deviceRoot);
std::string socketPath(const std::string& deviceRoot, const std::string& host);
// Makes the socket directory and its base, private to the user.
Result<void> makeSocketDirectory(const std::string& deviceRoot);

// The request line for `words`; refused when a word holds a tab or a newline.
Result<std::string> encodeRequest(const Words& words);
// The words of a request line, taken as sent (one final "\n" removed).
Words decodeRequest(const std::string& line);

} // namespace control
