#include "statistics/BracelessFastWriter.h"

namespace Json {

void BracelessFastWriter::enableYAMLCompatibility() {
    FastWriter::enableYAMLCompatibility();
    yamlCompatible_ = true;
}

String BracelessFastWriter::writeBraceless(const Value& root) {
    braceless_.clear();
    writeValueBraceless(root);
    braceless_ += '\n';
    return braceless_;
}

String BracelessFastWriter::compact(const Value& value) {
    String text = FastWriter::write(value);
    // A compact value never ends in a raw line feed (strings escape it), so a
    // trailing one is always the writer's own.
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

void BracelessFastWriter::writeValueBraceless(const Value& value) {
    if (!value.isObject()) {
        braceless_ += compact(value);
        return;
    }
    bool first = true;
    for (const String& name : value.getMemberNames()) {
        if (!first) {
            braceless_ += ',';
        }
        first = false;
        // Written as a string value so that names get the same escaping as
        // FastWriter gives them, embedded NULs included.
        braceless_ += compact(Value(name));
        braceless_ += yamlCompatible_ ? ": " : ":";
        braceless_ += compact(value[name]);
    }
}

} // namespace Json
