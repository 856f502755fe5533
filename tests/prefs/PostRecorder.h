#pragma once

// Every notification posted in this process, in order, as the notify center tells its post
// listener: two posts of one name count as two even where the center delivers them as one.

#include <string>
#include <vector>

namespace PostRecorder {

std::vector<std::string> posted();
void clear();
// How many posts of `name`.
int count(const std::string& name);

} // namespace PostRecorder
