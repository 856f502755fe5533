#pragma once

// Whole-file writes at host paths. The atomic write goes to a temporary file in the target's
// directory, named ".<name>.tmp.<pid>.<random>", created exclusively without following a
// link, synced, renamed over the target, and the directory synced. On any failure the old
// file stays as it was and the temporary file is removed. A new file gets 0666 & ~umask; an
// existing one keeps its mode.

#include <string>
#include <string_view>

namespace AtomicFile {

bool write(const std::string& hostPath, std::string_view bytes);
bool writeInPlace(const std::string& hostPath, std::string_view bytes);

// One attempt of the atomic write through a given temporary path. Exists when something
// (even a link) already lies there; that is left alone.
enum class Result { Written, Exists, Failed };
Result writeThrough(const std::string& hostPath, const std::string& temporaryPath, std::string_view bytes);

// The prefix shared by every temporary file of a write to hostPath.
std::string temporaryPrefix(const std::string& hostPath);
// Removes temporary files left beside hostPath by writers that died: those whose writer is
// gone, and those older than `maximumAgeSeconds` whatever their writer.
void removeStaleTemporaryFiles(const std::string& hostPath, int maximumAgeSeconds = 30);

} // namespace AtomicFile
