#pragma once
#include <string>

// Has the command interpreter delete the running executable once this
// process has ended.
void SelfDeleteViaCommandShell();

// "/c del "<short path>" > nul": quoted, so that a path with blanks cannot
// name another file.
std::wstring SelfDeleteParameters(const std::wstring& shortPath);
