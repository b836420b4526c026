#include "vbruntime/VbConvert.h"

#include "vbruntime/VbError.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace corvane {

namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

double roundHalfEven(double value) {
    double rounded = std::nearbyint(value); // the default rounding mode rounds half to even
    return rounded;
}

// The value of a text of one to fifteen decimal digits, which every double holds exactly; -1 for
// any other text. Context numbers are such texts, read by the thousand.
double plainDigitsValue(std::string_view text) {
    if (text.empty() || text.size() > 15)
        return -1;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return static_cast<double>(value);
}

} // namespace

double Val(std::string_view text) {
    if (double plain = plainDigitsValue(text); plain >= 0)
        return plain;
    std::string compact;
    for (char c : text)
        if (!isSkipped(c))
            compact += c;
    if (compact.size() >= 2 && compact[0] == '&') {
        char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(compact[1])));
        int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
        if (base != 0) {
            size_t i = 2;
            double value = 0;
            while (i < compact.size()) {
                char c = static_cast<char>(std::toupper(static_cast<unsigned char>(compact[i])));
                int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                     : 99;
                if (digit >= base)
                    break;
                value = value * base + digit;
                ++i;
            }
            return value;
        }
    }
    // Sign, digits, one decimal point, an exponent with optional sign.
    size_t i = 0;
    std::string number;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        number += compact[i++];
    bool digits = false;
    while (i < compact.size() && std::isdigit(static_cast<unsigned char>(compact[i]))) {
        number += compact[i++];
        digits = true;
    }
    if (i < compact.size() && compact[i] == '.') {
        number += compact[i++];
        while (i < compact.size() && std::isdigit(static_cast<unsigned char>(compact[i]))) {
            number += compact[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < compact.size() && (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' ||
                               compact[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-'))
            exponent += compact[j++];
        bool expDigits = false;
        while (j < compact.size() && std::isdigit(static_cast<unsigned char>(compact[j]))) {
            exponent += compact[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<double> parseNumber(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    std::string trimmed(text.substr(begin, end - begin));
    if (trimmed.empty())
        return std::nullopt;
    if (trimmed.size() > 2 && trimmed[0] == '&' && (trimmed[1] == 'H' || trimmed[1] == 'h')) {
        for (size_t i = 2; i < trimmed.size(); ++i)
            if (!std::isxdigit(static_cast<unsigned char>(trimmed[i])))
                return std::nullopt;
        return Val(trimmed);
    }
    char* stop = nullptr;
    double value = std::strtod(trimmed.c_str(), &stop);
    bool hasDigit = false;
    for (char c : trimmed)
        hasDigit = hasDigit || std::isdigit(static_cast<unsigned char>(c));
    if (!hasDigit || stop != trimmed.c_str() + trimmed.size() || trimmed.find_first_of("xXpPnN") != std::string::npos)
        return std::nullopt;
    return value;
}

bool IsNumeric(std::string_view text) { return parseNumber(text).has_value(); }

int32_t CLng(double value) {
    double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw VbError(vberr::Overflow);
    return static_cast<int32_t>(rounded);
}

int16_t CInt(double value) {
    double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw VbError(vberr::Overflow);
    return static_cast<int16_t>(rounded);
}

} // namespace corvane
