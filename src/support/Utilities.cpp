#include "support/Utilities.h"

#include "support/VbError.h"

namespace corvane::Utilities {

std::string FillTemplate(std::string_view templ, const KeyedCollection<std::string>& values, char delimiter) {
    std::string result;
    size_t valuesSize = 0;
    for (const std::string& value : values)
        valuesSize += value.size();
    result.reserve(templ.size() + valuesSize); // room for each value once: no regrowth as a rule
    size_t pos = 0;
    while (pos < templ.size()) {
        size_t open = templ.find(delimiter, pos);
        if (open == std::string_view::npos)
            break;
        result.append(templ.substr(pos, open - pos));
        size_t close = templ.find(delimiter, open + 1);
        if (close == std::string_view::npos) {
            pos = open;
            break;
        }
        std::string_view key = templ.substr(open + 1, close - open - 1);
        int32_t position = key.empty() ? 0 : values.PositionOf(key);
        if (position > 0) {
            result += values.Item(position);
            pos = close + 1;
        } else {
            result += delimiter;
            pos = open + 1;
        }
    }
    result.append(templ.substr(pos));
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
