#pragma once

// Every post this process makes through the Darwin notify center, told as it is made and
// before posts of one name are merged for delivery: two posts count as two. Meant for tests
// counting posts and tools tracing them; observers that act on a notification register with
// the center instead.

#include <functional>
#include <string>

using NotifyPostListener = std::function<void(const std::string& name)>;

// One listener at a time; an empty one removes it. It runs on the posting thread, inside the
// post call, with no lock of the center held.
void notifyCenterSetPostListener(NotifyPostListener listener);
