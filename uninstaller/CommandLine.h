#pragma once
#include <string>

// What follows the program name in a process's command line, verbatim: the program name
// (up to its closing quote when quoted, otherwise up to the first blank or tab) and the one
// blank or tab after it are skipped, nothing else. Unlike the runtime's argument for wWinMain,
// a command line of only blanks keeps them.
std::wstring ArgumentsOf(const std::wstring& commandLine);
