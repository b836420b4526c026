#include "vbruntime/Utilities.h"

#include "vbruntime/PreparedTemplate.h"
#include "vbruntime/VbError.h"

namespace corvane::Utilities {

std::string FillTemplate(std::string_view templ, const KeyedCollection<std::string>& values, char delimiter) {
    PreparedTemplate prepared = PreparedTemplate::cut(templ, delimiter, [&](std::string_view key) {
        return static_cast<int>(values.PositionOf(key));
    });
    size_t valuesSize = 0;
    for (const std::string& value : values)
        valuesSize += value.size();
    std::string result;
    result.reserve(prepared.fixedSize() + valuesSize); // room for each value once: no regrowth as a rule
    prepared.appendTo(result, [&](std::string& out, int position) { out += values.Item(position); });
    return result;
}

std::string GetToken(std::string_view text, std::string_view delimiter, int n) {
    if (n < 1)
        throw VbError(vberr::InvalidCall, "Invalid procedure call or argument: token number " + std::to_string(n),
                      "Utilities");
    if (delimiter.empty())
        return n == 1 ? std::string(text) : std::string();
    size_t start = 0;
    for (int piece = 1; piece < n; ++piece) {
        size_t found = text.find(delimiter, start);
        if (found == std::string_view::npos)
            return {};
        start = found + delimiter.size();
    }
    size_t end = text.find(delimiter, start);
    return std::string(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string ValueText(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
        return {};
    case Variant::Kind::String:
    case Variant::Kind::Boolean:
    case Variant::Kind::Integer:
    case Variant::Kind::Long:
    case Variant::Kind::Double:
    case Variant::Kind::Date:
    case Variant::Kind::Error:
        return value.toText();
    default:
        throw VbError(vberr::TypeMismatch, {}, "Utilities");
    }
}

} // namespace corvane::Utilities
