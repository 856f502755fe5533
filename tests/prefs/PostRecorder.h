#pragma once

// Every notification posted in this process, in order. The test program defines the notify
// center's post call itself, records the name and forwards to the real one, so that two
// posts of one name count as two even where the center would deliver them as one.

#include <string>
#include <vector>

namespace PostRecorder {

const std::vector<std::string>& posted();
void clear();
// How many posts of `name`.
int count(const std::string& name);

} // namespace PostRecorder
