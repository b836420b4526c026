#include "vbide/PropertyValues.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/VbConvert.h"

#include <charconv>

namespace corvane::vbide {

namespace {

std::optional<int32_t> parseRadix(std::string_view digits, int radix) {
    if (!digits.empty() && digits.back() == '&')
        digits.remove_suffix(1);
    uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, radix);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return static_cast<int32_t>(value); // &H80000000& and above are negative Longs, as in VB
}

std::optional<bool> parseBooleanText(const PropertyLineParts& parts) {
    if (parts.text == "-1" || equalsIgnoreCase(parts.text, "True"))
        return true;
    if (parts.text == "0" || equalsIgnoreCase(parts.text, "False"))
        return false;
    if (parts.text == "1")
        return true;
    return std::nullopt;
}

Variant plainValue(const PropertyLineParts& parts, const PropertySpec* spec) {
    PropertyKind kind = spec ? spec->kind : PropertyKind::Object;
    if (kind == PropertyKind::Boolean || (!spec && parts.hasComment &&
                                          (parts.comment == "True" || parts.comment == "False"))) {
        if (auto value = parseBooleanText(parts))
            return Variant(*value);
    }
    if (kind == PropertyKind::String)
        return Variant(parts.text);
    if (auto number = parseLongText(parts.text); number && kind != PropertyKind::Double)
        return Variant(*number);
    if (auto number = parseNumber(parts.text))
        return Variant(*number);
    return Variant(parts.text);
}

} // namespace

std::optional<int32_t> parseLongText(std::string_view text) {
    // Most values are short decimal numbers (sizes, positions, tab indexes): up to nine digits
    // cannot overflow, so they need none of the checks below.
    size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() > sign && text.size() - sign <= 9) {
        int32_t value = 0;
        size_t i = sign;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + (text[i] - '0');
        if (i == text.size())
            return sign ? -value : value;
    }
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h'))
        return parseRadix(text.substr(2), 16);
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'O' || text[1] == 'o'))
        return parseRadix(text.substr(2), 8);
    if (!text.empty() && text.back() == '&')
        text.remove_suffix(1);
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

Variant valueOfLine(const PropertyLineParts& parts, const PropertySpec* spec) {
    if (parts.malformed)
        return Variant(parts.text);
    switch (parts.form) {
    case ValueForm::Quoted: return Variant(parts.text);
    case ValueForm::Plain: return plainValue(parts, spec);
    case ValueForm::FrxRef: break;
    }
    return Variant::object(spec ? spec->name : "Object");
}

} // namespace corvane::vbide
