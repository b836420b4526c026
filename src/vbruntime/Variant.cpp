#include "vbruntime/Variant.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/VbConvert.h"
#include "vbruntime/VbError.h"

#include <cmath>
#include <cstdio>

namespace corvane {

Variant::Variant(const char* text) : kind_(Kind::String), text_(text) {}
Variant::Variant(std::string text) : kind_(Kind::String), text_(std::move(text)) {}
Variant::Variant(std::string_view text) : kind_(Kind::String), text_(text) {}
Variant::Variant(bool value) : kind_(Kind::Boolean), number_(value ? -1 : 0) {}
Variant::Variant(int16_t value) : kind_(Kind::Integer), number_(value) {}
Variant::Variant(int32_t value) : kind_(Kind::Long), number_(value) {}
Variant::Variant(double value) : kind_(Kind::Double), number_(value) {}
Variant::Variant(VariantDate value) : kind_(Kind::Date), number_(value.serial) {}

Variant Variant::null() {
    Variant v;
    v.kind_ = Kind::Null;
    return v;
}

Variant Variant::nothing() {
    Variant v;
    v.kind_ = Kind::Nothing;
    return v;
}

Variant Variant::object(std::string typeName) {
    Variant v;
    v.kind_ = Kind::Object;
    v.text_ = std::move(typeName);
    return v;
}

Variant Variant::dataObject() {
    Variant v;
    v.kind_ = Kind::DataObject;
    return v;
}

Variant Variant::collection(std::vector<Variant> items) {
    Variant v;
    v.kind_ = Kind::Collection;
    v.text_ = "Collection";
    v.elements_ = std::make_shared<const std::vector<Variant>>(std::move(items));
    return v;
}

Variant Variant::array(std::vector<Variant> elements, int32_t lowerBound) {
    Variant v;
    v.kind_ = Kind::Array;
    v.lower_ = lowerBound;
    v.elements_ = std::make_shared<const std::vector<Variant>>(std::move(elements));
    return v;
}

Variant Variant::udt() {
    Variant v;
    v.kind_ = Kind::Udt;
    return v;
}

Variant Variant::error(int32_t code) {
    Variant v;
    v.kind_ = Kind::Error;
    v.number_ = code;
    return v;
}

const std::vector<Variant>& Variant::elements() const {
    static const std::vector<Variant> none;
    return elements_ ? *elements_ : none;
}

std::string formatVbDouble(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    auto e = text.find('E');
    if (e == std::string::npos)
        return text;
    // "1E+020"-free form: VB writes the exponent without leading zeros ("1E+20", "1E-05").
    std::string mantissa = text.substr(0, e);
    char sign = text[e + 1];
    std::string digits = text.substr(e + 2);
    while (digits.size() > 2 && digits[0] == '0')
        digits.erase(0, 1);
    return mantissa + "E" + sign + digits;
}

namespace {
std::string formatDate(double serial) {
    // Days since 1899-12-30; civil-from-days after Howard Hinnant's algorithm.
    double dayPart = std::floor(serial);
    double fraction = std::fabs(serial - dayPart);
    long seconds = std::lround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayPart += 1;
    }
    long z = static_cast<long>(dayPart) - 25569 + 719468; // 1899-12-30 is 25569 days before 1970
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long d = doy - (153 * mp + 2) / 5 + 1;
    long m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2)
        ++y;
    char buffer[64];
    std::string out;
    if (dayPart != 0 || seconds == 0) {
        std::snprintf(buffer, sizeof buffer, "%ld/%ld/%ld", m, d, y);
        out = buffer;
    }
    if (seconds != 0) {
        long h = seconds / 3600, mi = seconds / 60 % 60, s = seconds % 60;
        std::snprintf(buffer, sizeof buffer, "%ld:%02ld:%02ld %s", h % 12 == 0 ? 12 : h % 12, mi, s,
                      h < 12 ? "AM" : "PM");
        if (!out.empty())
            out += ' ';
        out += buffer;
    }
    return out;
}
} // namespace

std::string Variant::toText() const {
    switch (kind_) {
    case Kind::String: return text_;
    case Kind::Boolean: return number_ != 0 ? "True" : "False";
    case Kind::Integer:
    case Kind::Long: return std::to_string(static_cast<long>(number_));
    case Kind::Double: return formatVbDouble(number_);
    case Kind::Date: return formatDate(number_);
    case Kind::Null: return "Null";
    case Kind::Error: return "Error " + std::to_string(static_cast<long>(number_));
    default: return {};
    }
}

namespace {
bool isNumberKind(Variant::Kind kind) {
    return kind == Variant::Kind::Boolean || kind == Variant::Kind::Integer ||
           kind == Variant::Kind::Long || kind == Variant::Kind::Double ||
           kind == Variant::Kind::Date || kind == Variant::Kind::Empty;
}
} // namespace

bool Variant::isNumeric() const {
    if (isNumberKind(kind_))
        return true;
    return kind_ == Kind::String && IsNumeric(text_);
}

double Variant::toDouble() const {
    if (isNumberKind(kind_))
        return number_;
    if (kind_ == Kind::String) {
        if (auto value = parseNumber(text_))
            return *value;
    }
    throw VbError(vberr::TypeMismatch);
}

int32_t Variant::toLong() const { return CLng(toDouble()); }

bool Variant::toBool() const {
    if (kind_ == Kind::String) {
        if (equalsIgnoreCase(text_, "True"))
            return true;
        if (equalsIgnoreCase(text_, "False"))
            return false;
    }
    return toDouble() != 0;
}

bool operator==(const Variant& a, const Variant& b) {
    if (isNumberKind(a.kind_) && isNumberKind(b.kind_))
        return a.number_ == b.number_;
    if (a.kind_ == Variant::Kind::String && b.kind_ == Variant::Kind::String)
        return a.text_ == b.text_;
    if (a.kind_ == Variant::Kind::Null || b.kind_ == Variant::Kind::Null)
        return false;
    if (a.isNumeric() && b.isNumeric())
        return a.toDouble() == b.toDouble();
    return a.toText() == b.toText();
}

} // namespace corvane
