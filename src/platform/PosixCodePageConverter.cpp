// The POSIX implementation of CodePageConverter.h, over iconv.
#ifndef _WIN32

#include "platform/CodePageConverter.h"

#include <cerrno>
#include <iconv.h>

namespace corvane::platform {

struct CodePageConverter::State {
    iconv_t cd;
    ~State() { iconv_close(cd); }
};

CodePageConverter::CodePageConverter(std::unique_ptr<State> state) : state_(std::move(state)) {}
CodePageConverter::CodePageConverter(CodePageConverter&&) noexcept = default;
CodePageConverter& CodePageConverter::operator=(CodePageConverter&&) noexcept = default;
CodePageConverter::~CodePageConverter() = default;

std::optional<CodePageConverter> CodePageConverter::open(const std::string& to, const std::string& from) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    return CodePageConverter(std::unique_ptr<State>(new State{cd}));
}

bool CodePageConverter::convert(std::string_view in, std::string& out) {
    out.clear();
    iconv(state_->cd, nullptr, nullptr, nullptr, nullptr); // a fresh start
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    std::string buffer(in.size() * 4 + 16, '\0');
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t result = iconv(state_->cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<size_t>(-1) && errno != E2BIG)
            return false;
    }
    // A converter that composes characters (Windows-1258's base letters and tone marks) holds
    // the last one back until it is told that the input ends.
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    if (iconv(state_->cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return false;
    out.append(buffer.data(), buffer.size() - outLeft);
    return true;
}

} // namespace corvane::platform

#endif
