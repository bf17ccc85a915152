#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

// The member names of a JSON object's top level in the order they are written (jsoncpp's values
// keep no order). Names are returned as written between the quotes, escapes undecoded. Empty when
// the text does not start with an object.
std::vector<std::string> TopLevelMemberNames(const std::string& json);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(const std::string& bytes);

} // namespace TestSupport
