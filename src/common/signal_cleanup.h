#pragma once

#include <string>

// Named temporary files that must not outlive the program when it is
// interrupted. A program that writes them calls removeTemporariesOnSignals()
// once at start; SIGINT, SIGTERM and SIGHUP then remove every registered file
// and end the program with that signal, as if it had not been caught.
namespace quisk {

void removeTemporariesOnSignals();

// Registers a path before the file is created (so that no moment exists in
// which the file is there but unknown) and forgets it once the file is gone
// or renamed. A slot of -1 means the registry was full; forgetting it does
// nothing.
int registerTemporary(const std::string& path);
void forgetTemporary(int slot);

} // namespace quisk
