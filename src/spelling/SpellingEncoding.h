// SpellingEncoding: converts words between UTF-8 (the program's text) and the character
// encoding a Hunspell dictionary declares in its "SET" line ("UTF-8", "ISO8859-1",
// "microsoft-cp1251", "KOI8-R" ...). Hunspell compares bytes, so a word must reach it in the
// dictionary's own encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class SpellingEncoding {
public:
    // The encoding with Hunspell's name; raises VbError 5 when the system cannot convert it.
    explicit SpellingEncoding(std::string_view hunspellName);

    // The name as the dictionary gives it.
    const std::string& name() const noexcept { return name_; }
    // True when the dictionary is in UTF-8 and words pass unchanged.
    bool isUtf8() const noexcept { return iconvName_ == "UTF-8"; }

    // The word in the dictionary's encoding; nothing when it has a character the encoding
    // cannot hold (such a word cannot be in the dictionary).
    std::optional<std::string> fromUtf8(std::string_view word) const;
    // A word of the dictionary in UTF-8; nothing when its bytes are invalid in the encoding.
    std::optional<std::string> toUtf8(std::string_view bytes) const;

private:
    std::string name_;
    std::string iconvName_;
};

} // namespace corvane
