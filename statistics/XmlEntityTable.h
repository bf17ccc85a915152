#pragma once
#include <string>

// The HTML 4.01 character entities plus "apos": the code point of a name, 0 when unknown.
// Names are compared exactly.
unsigned XmlEntityCodePoint(const std::wstring& name);
