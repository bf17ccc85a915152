#pragma once
#include <windows.h>

// Whether two files open for reading, each at its start, hold exactly the same bytes.
bool SameBytes(HANDLE a, HANDLE b);
