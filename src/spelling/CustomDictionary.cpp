#include "spelling/CustomDictionary.h"

#include "files/AppPaths.h"
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "platform/SystemFiles.h"
#include "spelling/SpellingCharacters.h"
#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>

namespace corvane {

namespace {

constexpr const char* FileName = "custom.dic";

std::string_view trimmed(std::string_view line) {
    const char* blanks = " \t\r\f\v";
    size_t first = line.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

bool hasControlCharacter(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t c = nextCodePoint(text, pos);
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            return true;
    }
    return false;
}

// The line as UTF-8; raises VbError 5 for a line with control characters (a binary file).
std::string lineText(std::string_view line, const std::filesystem::path& file, int lineNumber) {
    std::string text = isValidUtf8(line) ? std::string(line) : decodeCodePage(line, WindowsLatin1);
    if (hasControlCharacter(text))
        throw VbError(vberr::InvalidCall,
                      file.string() + ", line " + std::to_string(lineNumber) + ": the line is not text",
                      file.string());
    return text;
}

bool isAcceptableWord(std::string_view word) {
    if (word.empty() || !isValidUtf8(word))
        return false;
    size_t pos = 0;
    while (pos < word.size())
        if (isSpaceCharacter(nextCodePoint(word, pos)))
            return false;
    return true;
}

} // namespace

bool CustomDictionary::isWritableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && platform::writeAccess(folder) == 0;
}

std::filesystem::path CustomDictionary::defaultLocation(const WritableCheck& isWritable) {
    auto data = dataDirectory();
    return (isWritable(data) ? data : userDataDirectory()) / FileName;
}

CustomDictionary CustomDictionary::open(const WritableCheck& isWritable) {
    return load(defaultLocation(isWritable));
}

CustomDictionary CustomDictionary::load(const std::filesystem::path& file) {
    CustomDictionary dictionary(file);
    std::error_code error;
    if (std::filesystem::exists(file, error))
        dictionary.parse(readFileBytes(file));
    return dictionary;
}

CustomDictionary CustomDictionary::read(std::istream& in, const std::filesystem::path& file) {
    CustomDictionary dictionary(file);
    dictionary.parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    return dictionary;
}

void CustomDictionary::parse(std::string content) {
    content_ = std::move(content);
    std::string_view rest = content_;
    if (rest.starts_with("\xEF\xBB\xBF"))
        rest.remove_prefix(3);
    int lineNumber = 0;
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        auto line = trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++lineNumber;
        if (!line.empty())
            words_.push_back(lineText(line, file_, lineNumber));
    }
}

bool CustomDictionary::contains(std::string_view word) const {
    return std::find(words_.begin(), words_.end(), word) != words_.end();
}

std::string CustomDictionary::lineEnding() const {
    size_t end = content_.find('\n');
    return end != std::string::npos && end > 0 && content_[end - 1] == '\r' ? "\r\n" : "\n";
}

bool CustomDictionary::add(std::string_view word) {
    if (!isAcceptableWord(word))
        throw VbError(vberr::InvalidCall,
                      "\"" + std::string(word) + "\" cannot be added to " + file_.string() +
                          ": a word is not empty and has no blanks or line breaks",
                      file_.string());
    if (contains(word))
        return false;
    std::string content = content_;
    if (!content.empty() && content.back() != '\n')
        content += lineEnding();
    content.append(word).append(lineEnding());
    std::error_code ignored; // a folder that cannot be made fails the write below, naming the file
    std::filesystem::create_directories(file_.parent_path(), ignored);
    replaceFileAtomically(file_, content);
    content_ = std::move(content);
    words_.emplace_back(word);
    return true;
}

void CustomDictionary::write(std::ostream& out) const {
    out.write(content_.data(), static_cast<std::streamsize>(content_.size()));
}

} // namespace corvane
