#pragma once
#include <windows.h>

#include "ui/Win32Handles.h"

#include <string>

// The relaunch copies the running executable to a fixed path that every game of the maker shares.

// Copies source over target and leaves the target writable: the command shell's "del" at the end
// cannot remove a read-only copy, and the next copy could not replace it. A read-only target left
// by an earlier run is made writable first; when it still cannot be replaced (a program runs from
// it) its attributes stay as they were. False when the target does not hold the source's bytes.
bool CopyWritable(const std::wstring& source, const std::wstring& target);

// The target opened for reading while nobody may write, replace or delete it, when it holds
// exactly the bytes of source; no handle otherwise. Held until the target has been started, so
// what runs is what was compared.
SkinUI::CFileHandle HoldIfSameBytes(const std::wstring& target, const std::wstring& source);
