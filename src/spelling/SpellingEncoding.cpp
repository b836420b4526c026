#include "spelling/SpellingEncoding.h"

#include "platform/CodePageConverter.h"
#include "text/TextCodec.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

namespace corvane {

namespace {

// The iconv name of Hunspell's encoding names; Hunspell's default is ISO8859-1.
std::string iconvNameOf(std::string_view hunspellName) {
    std::string name = asciiUpper(hunspellName);
    if (name.empty())
        return "ISO-8859-1";
    if (name == "UTF-8" || name == "UTF8")
        return "UTF-8";
    if (name.starts_with("MICROSOFT-"))
        return name.substr(10); // "microsoft-cp1251" is iconv's "CP1251"
    if (name.starts_with("ISO8859-"))
        return "ISO-8859-" + name.substr(8);
    if (name == "TIS620-2533")
        return "TIS-620";
    return name;
}

// Converts through the system's converter; nothing on an invalid or unconvertible sequence.
std::optional<std::string> convert(std::string_view in, const std::string& to, const std::string& from) {
    auto converter = platform::CodePageConverter::open(to, from);
    std::string out;
    if (!converter || !converter->convert(in, out))
        return std::nullopt;
    return out;
}

bool canOpen(const std::string& to, const std::string& from) {
    return platform::CodePageConverter::open(to, from).has_value();
}

} // namespace

SpellingEncoding::SpellingEncoding(std::string_view hunspellName)
    : name_(hunspellName), iconvName_(iconvNameOf(hunspellName)) {
    if (!isUtf8() && !(canOpen(iconvName_, "UTF-8") && canOpen("UTF-8", iconvName_)))
        throw VbError(vberr::InvalidCall,
                      "The character encoding \"" + name_ + "\" of the spelling dictionary is unknown");
}

std::optional<std::string> SpellingEncoding::fromUtf8(std::string_view word) const {
    if (isUtf8())
        return isValidUtf8(word) ? std::optional<std::string>(word) : std::nullopt;
    return convert(word, iconvName_, "UTF-8");
}

std::optional<std::string> SpellingEncoding::toUtf8(std::string_view bytes) const {
    if (isUtf8())
        return isValidUtf8(bytes) ? std::optional<std::string>(bytes) : std::nullopt;
    return convert(bytes, "UTF-8", iconvName_);
}

} // namespace corvane
