#pragma once

// The shell's side of the shared application: which app is in front, and which URL
// schemes the installed apps declare, both answered from ShellState.

namespace ShellHooks {

void install();
void remove();

} // namespace ShellHooks
