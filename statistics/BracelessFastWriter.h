#pragma once
#include <json/json.h>

#include <string>

namespace Json {

// jsoncpp's compact writer plus a form that leaves out the outermost braces of
// an object, so that callers can wrap the members with "{", a fragment of
// their own that starts with ",", and "}". Nested values, arrays and scalars
// come out exactly as FastWriter writes them.
class BracelessFastWriter : public FastWriter {
public:
    // Shadows the base switch so that member names get ": " as well.
    void enableYAMLCompatibility();

    // The members of an object (in jsoncpp's member order, "," between them,
    // no braces) or any other value as FastWriter writes it; always followed
    // by a line feed. An empty object gives "\n".
    String writeBraceless(const Value& root);

private:
    void writeValueBraceless(const Value& value);
    // The compact text of one value, without the line feed.
    String compact(const Value& value);

    String braceless_;
    bool yamlCompatible_ = false;
};

} // namespace Json
