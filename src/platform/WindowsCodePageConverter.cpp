// The Windows implementation of CodePageConverter.h, over the system's code pages: every
// conversion goes through UTF-16.
#ifdef _WIN32

#include "platform/CodePageConverter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>
#include <windows.h>

namespace corvane::platform {

namespace {

// The Windows code page of an iconv name; 0 for one it has no code page for.
unsigned codePageOf(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    if (name == "UTF-8" || name == "UTF8")
        return CP_UTF8;
    if (name == "GBK")
        return 936;
    if (name == "TIS-620")
        return 874;
    if (name == "KOI8-R")
        return 20866;
    if (name == "KOI8-U")
        return 21866;
    auto numberAfter = [&](std::string_view prefix) -> unsigned {
        if (!name.starts_with(prefix) || name.size() == prefix.size())
            return 0;
        char* end = nullptr;
        unsigned long number = std::strtoul(name.c_str() + prefix.size(), &end, 10);
        return *end == '\0' ? static_cast<unsigned>(number) : 0;
    };
    if (unsigned number = numberAfter("ISO-8859-"); number >= 1 && number <= 16)
        return 28590 + number;
    if (unsigned number = numberAfter("CP"))
        return number;
    return 0;
}

// The text in a Unicode normal form; the text itself when the system cannot tell.
std::wstring normalized(NORM_FORM form, std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    int length = ::NormalizeString(form, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::wstring(text);
    std::wstring result(static_cast<size_t>(length), L'\0');
    length = ::NormalizeString(form, text.data(), size, result.data(), length);
    if (length <= 0)
        return std::wstring(text);
    result.resize(static_cast<size_t>(length));
    return result;
}

// Appends one character (a UTF-16 unit or pair) in the code page `page`. A composed letter
// the code page lacks goes out as a composed base and one mark, each written the same way, as
// iconv writes them: Windows-1258 holds "u" and the hook above, not "ủ", and "â" and the dot
// below but no circumflex mark for "ậ", so each mark is tried as the one split off, the last
// first. False when the code page cannot hold it even so.
bool appendCharacter(unsigned page, std::wstring_view character, std::string& out, int depth = 0) {
    char bytes[16];
    BOOL usedDefault = FALSE;
    const int written = ::WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, character.data(),
                                              static_cast<int>(character.size()), bytes, sizeof bytes, nullptr,
                                              &usedDefault);
    if (written > 0 && !usedDefault) {
        out.append(bytes, static_cast<size_t>(written));
        return true;
    }
    const std::wstring decomposed = normalized(NormalizationD, character);
    if (depth > 4 || decomposed.size() < 2 || decomposed == character)
        return false;
    for (size_t markAt = decomposed.size() - 1; markAt >= 1; --markAt) {
        std::wstring rest = decomposed;
        rest.erase(markAt, 1);
        const std::wstring base = normalized(NormalizationC, rest);
        const size_t before = out.size();
        if (base != character && appendCharacter(page, base, out, depth + 1) &&
            appendCharacter(page, std::wstring(1, decomposed[markAt]), out, depth + 1))
            return true;
        out.resize(before);
    }
    return false;
}

// Writes the text character by character (appendCharacter); false as soon as one cannot be.
bool encodeEachCharacter(unsigned page, std::wstring_view text, std::string& out) {
    out.clear();
    for (size_t at = 0; at < text.size();) {
        const bool pair = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() && IS_LOW_SURROGATE(text[at + 1]);
        const size_t length = pair ? 2 : 1;
        if (!appendCharacter(page, text.substr(at, length), out))
            return false;
        at += length;
    }
    return true;
}

} // namespace

struct CodePageConverter::State {
    unsigned to;
    unsigned from;
};

CodePageConverter::CodePageConverter(std::unique_ptr<State> state) : state_(std::move(state)) {}
CodePageConverter::CodePageConverter(CodePageConverter&&) noexcept = default;
CodePageConverter& CodePageConverter::operator=(CodePageConverter&&) noexcept = default;
CodePageConverter::~CodePageConverter() = default;

std::optional<CodePageConverter> CodePageConverter::open(const std::string& to, const std::string& from) {
    const unsigned toPage = codePageOf(to);
    const unsigned fromPage = codePageOf(from);
    if (toPage == 0 || fromPage == 0 || !::IsValidCodePage(toPage) || !::IsValidCodePage(fromPage))
        return std::nullopt;
    return CodePageConverter(std::unique_ptr<State>(new State{toPage, fromPage}));
}

bool CodePageConverter::convert(std::string_view in, std::string& out) {
    out.clear();
    if (in.empty())
        return true;
    const int inSize = static_cast<int>(in.size());
    // Composed characters, as iconv gives them (Windows-1258 spells tones as separate marks).
    const DWORD readFlags = MB_ERR_INVALID_CHARS | (state_->from == CP_UTF8 ? 0 : MB_PRECOMPOSED);
    int wideSize = ::MultiByteToWideChar(state_->from, readFlags, in.data(), inSize, nullptr, 0);
    if (wideSize <= 0)
        return false;
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(state_->from, readFlags, in.data(), inSize, wide.data(), wideSize);
    if (int composed = ::NormalizeString(NormalizationC, wide.data(), wideSize, nullptr, 0); composed > 0) {
        std::wstring normal(static_cast<size_t>(composed), L'\0');
        composed = ::NormalizeString(NormalizationC, wide.data(), wideSize, normal.data(), composed);
        if (composed > 0) {
            normal.resize(static_cast<size_t>(composed));
            wide = std::move(normal);
            wideSize = composed;
        }
    }
    // A character the target cannot hold fails, as iconv's does, instead of a best fit or '?'.
    const bool toUtf8 = state_->to == CP_UTF8;
    BOOL usedDefault = FALSE;
    // A composed character the code page lacks may still go out as its base letter and mark.
    const DWORD flags = toUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS | WC_COMPOSITECHECK;
    int outSize = ::WideCharToMultiByte(state_->to, flags, wide.data(), wideSize, nullptr, 0, nullptr,
                                        toUtf8 ? nullptr : &usedDefault);
    if (outSize > 0 && usedDefault)
        return encodeEachCharacter(state_->to, std::wstring_view(wide.data(), static_cast<size_t>(wideSize)), out);
    if (outSize <= 0)
        return false;
    out.resize(static_cast<size_t>(outSize));
    ::WideCharToMultiByte(state_->to, flags, wide.data(), wideSize, out.data(), outSize, nullptr, nullptr);
    return true;
}

} // namespace corvane::platform

#endif
