#include "vbide/ProjectCodePage.h"

#include "text/CharsetDetection.h"
#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cstdint>

namespace corvane::vbide {

namespace {

// The scripts whose letters a word does not mix.
enum class Script { None, Latin, Greek, Cyrillic, Hebrew, Arabic, Thai, FarEast, Mark };

struct ScriptRange {
    char32_t first;
    char32_t last;
    Script script;
};

constexpr ScriptRange ScriptRanges[] = {
    {U'A', U'Z', Script::Latin},       {U'a', U'z', Script::Latin},
    {0x00C0, 0x00D6, Script::Latin},   {0x00D8, 0x00F6, Script::Latin},
    {0x00F8, 0x024F, Script::Latin},   {0x0300, 0x036F, Script::Mark},
    {0x0370, 0x03FF, Script::Greek},   {0x0400, 0x052F, Script::Cyrillic},
    {0x0590, 0x05FF, Script::Hebrew},  {0x0600, 0x06FF, Script::Arabic},
    {0x0750, 0x077F, Script::Arabic},  {0x0E00, 0x0E7F, Script::Thai},
    {0x1100, 0x11FF, Script::FarEast}, {0x1E00, 0x1EFF, Script::Latin},
    {0x1F00, 0x1FFF, Script::Greek},   {0x3040, 0x30FF, Script::FarEast},
    {0x3130, 0x318F, Script::FarEast}, {0x3400, 0x4DBF, Script::FarEast},
    {0x4E00, 0x9FFF, Script::FarEast}, {0xAC00, 0xD7AF, Script::FarEast},
    {0xF900, 0xFAFF, Script::FarEast}, {0xFB1D, 0xFB4F, Script::Hebrew},
    {0xFB50, 0xFDFF, Script::Arabic},  {0xFE70, 0xFEFF, Script::Arabic},
    {0xFF66, 0xFFDC, Script::FarEast},
};

Script scriptOf(char32_t c) {
    for (const ScriptRange& range : ScriptRanges)
        if (c >= range.first && c <= range.last)
            return range.script;
    return Script::None;
}

bool isLatinNeighbour(int codePage) {
    return codePage == 1250 || codePage == 1254 || codePage == 1257 || codePage == 1258;
}

bool isFarEast(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

// How many bytes beyond ASCII a detected code page needs to stand against the stated languages.
size_t evidenceNeeded(int codePage) {
    if (codePage == WindowsLatin1 || isLatinNeighbour(codePage))
        return 16;
    return isFarEast(codePage) ? 64 : 0;
}

} // namespace

size_t implausibleSpots(std::string_view utf8) {
    size_t spots = 0;
    Script word = Script::None; // the script of the word being read
    bool mixed = false;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = nextCodePoint(utf8, pos);
        if ((c >= 0x80 && c <= 0x9F) || c == 0xFFFD)
            ++spots;
        const Script script = scriptOf(c);
        if (script == Script::Mark)
            continue; // a combining mark belongs to the letter before it
        if (script == Script::None) {
            word = Script::None;
            mixed = false;
            continue;
        }
        if (word != Script::None && script != word && !mixed) {
            mixed = true;
            ++spots;
        }
        word = script;
    }
    return spots;
}

std::string ProjectCodePage::linesBeyondAscii(std::string_view bytes, size_t limit) {
    std::string lines;
    size_t pos = 0; // always at the start of a line or of a line end
    while (lines.size() < limit) {
        const size_t high = pos + bytescan::asciiPrefix(bytes.substr(pos));
        if (high >= bytes.size())
            break;
        const size_t before = bytes.find_last_of("\r\n", high);
        const size_t lineStart = before == std::string_view::npos || before < pos ? pos : before + 1;
        const size_t lineEnd = std::min(bytes.find_first_of("\r\n", high), bytes.size());
        lines.append(bytes.substr(lineStart, lineEnd - lineStart));
        lines += '\n';
        pos = lineEnd;
    }
    return lines;
}

bool ProjectCodePage::addFile(std::string_view bytes) {
    if (full())
        return false;
    return addLines(linesBeyondAscii(bytes, SampleLimit - sample_.size()));
}

bool ProjectCodePage::addLines(std::string_view lines) {
    while (!full() && !lines.empty()) {
        const size_t newline = lines.find('\n'); // every line ends with one, but for a last that does not
        const size_t lineEnd = newline == std::string_view::npos ? lines.size() : newline + 1;
        const std::string_view line = lines.substr(0, lineEnd);
        sample_.append(line);
        evidence_ += static_cast<size_t>(
            std::ranges::count_if(line, [](char b) { return static_cast<unsigned char>(b) >= 0x80; }));
        lines.remove_prefix(lineEnd);
    }
    return !full();
}

void ProjectCodePage::detect() {
    charset_.clear();
    detected_.reset();
    if (sample_.empty())
        return;
    charset_ = detectCharset(sample_);
    std::optional<int> codePage = windowsCodePageOfCharset(charset_);
    if (codePage && implausibility(*codePage).has_value())
        detected_ = codePage;
}

std::optional<size_t> ProjectCodePage::implausibility(int codePage) const {
    try {
        return implausibleSpots(decodeCodePage(sample_, codePage));
    } catch (const VbError&) {
        return std::nullopt;
    }
}

int ProjectCodePage::choose(const std::vector<int>& statedCodePages) const {
    const int fromText = chooseFromText(statedCodePages);
    if (!references_.tell())
        return fromText;
    const std::vector<int>& fitting = references_.fitting;
    auto fits = [&fitting](int codePage) { return std::ranges::find(fitting, codePage) != fitting.end(); };
    if (fits(fromText))
        return fromText;
    for (int codePage : statedCodePages)
        if (fits(codePage))
            return codePage;
    return detected_ && fits(*detected_) ? *detected_ : fitting.front();
}

int ProjectCodePage::chooseFromText(const std::vector<int>& statedCodePages) const {
    // The stated code pages that could be the files', each once; 1252 is the default anyway.
    std::vector<int> stated;
    for (int codePage : statedCodePages)
        if (codePage != WindowsLatin1 && std::ranges::find(stated, codePage) == stated.end() &&
            (evidence_ == 0 || implausibility(codePage)))
            stated.push_back(codePage);
    if (evidence_ == 0) // plain ASCII: only the .frx files may hold more
        return stated.empty() ? WindowsLatin1 : stated.front();
    if (detected_ && std::ranges::find(stated, *detected_) != stated.end())
        return *detected_;
    const bool trusted = detected_ && evidence_ >= evidenceNeeded(*detected_);
    // Without enough bytes, a Latin neighbour gives way to the default; the other scripts do not.
    const int fallback = detected_ && (trusted || !isLatinNeighbour(*detected_)) ? *detected_ : WindowsLatin1;
    if (trusted)
        return fallback;
    const size_t fallbackSpots = implausibility(fallback).value_or(SIZE_MAX);
    for (int codePage : stated)
        if (implausibility(codePage).value_or(SIZE_MAX) <= fallbackSpots)
            return codePage;
    return fallback;
}

} // namespace corvane::vbide
