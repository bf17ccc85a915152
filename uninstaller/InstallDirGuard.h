#pragma once
#include <string>
#include <vector>

// Why an installation directory is refused for the removal of files.
enum class InstallDirProblem {
    None,
    Empty,
    NotAbsolute,  // relative, drive-relative ("C:x") or relative to the drive's root ("\x")
    DevicePath,   // "\\?\", "\\.\" and "\??\" forms, which bypass the path rules
    BadComponent, // ".", "..", a name ending in '.' or ' ', or a character names can't hold
    Root,         // a drive root or a share root
    ShellFolder,  // a known shell folder, or a folder that holds one
};

// '/' become '\', repeated separators collapse (except the two that start a UNC path) and
// trailing separators go: "C:/Games//G\" gives "C:\Games\G", "C:\" gives "C:".
std::wstring NormalizeInstallDir(const std::wstring& dir);

// The configuration may name any folder as the installation: removing one of these would take
// the system, the user's documents or other programs with it, so the removal refuses them. A
// folder that is a link is refused too when its target would be.
InstallDirProblem CheckInstallDir(const std::wstring& dir);
bool IsSafeInstallDir(const std::wstring& dir);

// The path with each 8.3 component in its long name, as the file system gives it (links are not
// followed); empty when it cannot be had.
std::wstring LongForm(const std::wstring& path);

// Where the folder really is once every link on the way is followed, normalised; empty when it
// cannot be opened.
std::wstring ResolvedForm(const std::wstring& path);

// Windows, System, Program Files, ProgramData, the user profile, Desktop, Documents, AppData and
// the like, normalised; each also in its long-name and link-resolved form where these differ.
std::vector<std::wstring> KnownShellFolders();

// A name that stays inside the folder it is appended to: not empty, no separator or drive, no
// character file names can't hold, not only dots and blanks (so not "." or "..").
bool IsPlainFileName(const std::wstring& name);
