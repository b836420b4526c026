// CodePageConverter: converts text between two character encodings named as iconv names them
// ("UTF-8", "CP1252", "GBK", "ISO-8859-5", "TIS-620", "KOI8-R"): iconv on POSIX systems, the
// system's code pages (MultiByteToWideChar, WideCharToMultiByte) on Windows.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::platform {

class CodePageConverter {
public:
    // A converter from `from` to `to`; nothing when the system knows either name not.
    static std::optional<CodePageConverter> open(const std::string& to, const std::string& from);

    // Converts all of `in` into `out`; false on an invalid or unconvertible sequence (`out`
    // then holds what was converted before it).
    bool convert(std::string_view in, std::string& out);

    CodePageConverter(CodePageConverter&&) noexcept;
    CodePageConverter& operator=(CodePageConverter&&) noexcept;
    ~CodePageConverter();

private:
    struct State;
    explicit CodePageConverter(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace corvane::platform
