#include "vbide/PropertyLine.h"

#include "vbide/TextLines.h"
#include "vbruntime/VbError.h"

#include <charconv>

namespace corvane::vbide {

namespace {

constexpr size_t NameColumnWidth = 16;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a quoted text starting at `pos` (on the opening quote); advances past the closing one.
void readQuoted(std::string_view text, size_t& pos, std::string& result) {
    result.clear();
    ++pos;
    for (;;) {
        size_t quote = text.find('"', pos);
        if (quote == std::string_view::npos)
            throw VbError(vberr::InvalidCall, "a quoted value has no closing quote");
        result.append(text, pos, quote - pos);
        pos = quote + 1;
        if (pos < text.size() && text[pos] == '"') {
            result += '"'; // a doubled quote stands for one
            ++pos;
            continue;
        }
        return;
    }
}

uint32_t parseOffset(std::string_view digits) {
    uint32_t offset = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), offset, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw VbError(vberr::InvalidCall,
                      "the .frx offset '" + std::string(digits) + "' is not a number");
    return offset;
}

void parseValue(std::string_view value, PropertyLineParts& parts) {
    bool dollar = !value.empty() && value[0] == '$' && value.size() > 1 && value[1] == '"';
    if (dollar || (!value.empty() && value[0] == '"')) {
        size_t pos = dollar ? 1 : 0;
        readQuoted(value, pos, parts.text);
        std::string_view rest = trimBlanks(value.substr(pos));
        if (!rest.empty() && rest[0] == ':') {
            parts.form = ValueForm::FrxRef;
            parts.dollar = dollar;
            parts.frxOffset = parseOffset(trimBlanks(rest.substr(1)));
        } else {
            parts.form = ValueForm::Quoted;
        }
        return;
    }
    size_t apostrophe = value.find('\'');
    parts.form = ValueForm::Plain;
    parts.text = std::string(apostrophe == std::string_view::npos ? value : trimTrailingBlanks(value.substr(0, apostrophe)));
    if (apostrophe != std::string_view::npos) {
        parts.hasComment = true;
        parts.comment.assign(value.substr(apostrophe + 1));
    }
}

} // namespace

std::optional<PropertyLineParts> parsePropertyLine(std::string_view line) {
    PropertyLineParts parts;
    if (!parsePropertyLine(line, parts))
        return std::nullopt;
    return parts;
}

bool parsePropertyLine(std::string_view line, PropertyLineParts& parts) {
    if (!line.empty() && (isBlank(line.front()) || isBlank(line.back())))
        line = trimBlanks(line); // the value's end and the name's start are then the line's
    size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    std::string_view name = trimTrailingBlanks(line.substr(0, equals));
    if (name.empty())
        return false;
    parts.name = std::string(name); // fresh parts: a copy costs less than assign's general case
    parseValue(trimLeadingBlanks(line.substr(equals + 1)), parts);
    return true;
}

std::string quoteText(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    quoted += '"';
    return quoted;
}

std::string formatPropertyValue(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Boolean:
        return value.toBool() ? "-1  'True" : "0   'False";
    case Variant::Kind::Integer:
    case Variant::Kind::Long:
        return std::to_string(value.toLong());
    case Variant::Kind::Double:
        return formatVbDouble(value.toDouble());
    default:
        return quoteText(value.toText());
    }
}

std::string formatPropertyLine(std::string_view indent, std::string_view name,
                               std::string_view valueText) {
    std::string line(indent);
    line += name;
    if (name.size() < NameColumnWidth)
        line.append(NameColumnWidth - name.size(), ' ');
    line += "=   ";
    line += valueText;
    return line;
}

} // namespace corvane::vbide
