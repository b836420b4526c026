// Reading the registry file's text (format: RegFile.h).
#include "files/FileReading.h"
#include "registry/RegFile.h"
#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <istream>
#include <iterator>
#include <vector>

namespace corvane {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view trimEnd(std::string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The text as UTF-8: UTF-16 with BOM decoded, a UTF-8 BOM dropped.
std::string decodeText(std::string_view bytes) {
    if (startsWith(bytes, "\xFF\xFE"))
        return decodeUtf16(bytes.substr(2), true);
    if (startsWith(bytes, "\xFE\xFF"))
        return decodeUtf16(bytes.substr(2), false);
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return std::string(bytes);
}

// The lines of the text without their line ends; trailing blanks are dropped.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(start, next - start);
        if (!line.empty() && line.back() == '\n')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(trimEnd(line));
        start = next;
    }
    return lines;
}

// Checks the raw text of a dword or hex value (continuation lines joined by line feeds).
bool isValidRaw(std::string_view raw) {
    if (startsWith(raw, "dword:")) {
        std::string_view digits = raw.substr(6);
        if (digits.size() != 8)
            return false;
        for (char c : digits)
            if (!isHexDigit(c))
                return false;
        return true;
    }
    if (startsWith(raw, "hex(")) {
        size_t close = raw.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12)
            return false;
        for (char c : raw.substr(4, close - 4))
            if (!isHexDigit(c))
                return false;
        raw.remove_prefix(close + 2);
    } else if (startsWith(raw, "hex:")) {
        raw.remove_prefix(4);
    } else {
        return false;
    }
    size_t run = 0; // hex digits in a row: a byte has one or two
    for (size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (isHexDigit(c)) {
            if (++run > 2)
                return false;
            continue;
        }
        run = 0;
        bool continuation = c == '\\' && i + 1 < raw.size() && raw[i + 1] == '\n';
        if (c != ',' && !isBlank(c) && c != '\n' && !continuation)
            return false;
    }
    return true;
}

class Parser {
public:
    // A parser that raises the first fault, or, with `problems`, lists each fault there and
    // skips its line (a malformed key's values with it).
    Parser(std::string_view text, std::string_view fileName, std::vector<std::string>* problems)
        : lines_(splitLines(text)), fileName_(fileName), problems_(problems) {}

    RegistryModel parse() {
        index_ = 0;
        if (lines_.empty() || lines_[0] != RegFileHeader)
            leniently(
                [&] { fail("the first line is not \"" + std::string(RegFileHeader) + "\""); });
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            std::string_view line = lines_[index_];
            while (!line.empty() && isBlank(line.front()))
                line.remove_prefix(1);
            if (line.empty() || line.front() == ';')
                continue;
            leniently([&] {
                if (line.front() == '[') {
                    key_ = nullptr; // a malformed key takes no values
                    parseSection(line);
                } else if (line.front() == '"' || line.front() == '@') {
                    parseValue(line);
                } else {
                    fail("unexpected text (neither a [key] nor a \"name\"=value)");
                }
            });
        }
        return std::move(model_);
    }

private:
    // Runs one line's step; a fault is listed (lenient parser) or passed on.
    template <typename Step> void leniently(Step&& step) {
        try {
            step();
        } catch (const VbError& fault) {
            if (!problems_)
                throw;
            problems_->push_back(fault.description());
        }
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw VbError(vberr::PathFileAccess,
                      "Malformed registry file '" + fileName_ + "', line " +
                          std::to_string(index_ + 1) + ": " + what,
                      fileName_);
    }

    void parseSection(std::string_view line) {
        if (line.back() != ']')
            fail("the key name does not end with \"]\"");
        std::string_view path = line.substr(1, line.size() - 2);
        if (startsWith(path, "-"))
            fail("deleting a key is not supported");
        if (!RegistryModel::splitPath(path))
            fail("invalid key name \"" + std::string(path) + "\"");
        key_ = &model_.createKey(path);
    }

    void parseValue(std::string_view line) {
        if (!key_)
            fail("a value before the first [key]");
        size_t pos = 0;
        std::string name;
        if (line.front() == '@')
            pos = 1;
        else
            name = parseQuoted(line, pos);
        skipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != '=')
            fail("\"=\" expected after the value name");
        skipBlanks(line, ++pos);
        if (pos < line.size() && line[pos] == '"') {
            std::string data = parseQuoted(line, pos);
            skipBlanks(line, pos);
            if (pos < line.size())
                fail("text after the closing quote");
            key_->setValue(name, data, true);
        } else if (pos < line.size() && line[pos] == '-') {
            fail("deleting a value is not supported");
        } else {
            key_->setValue(name, parseRaw(line.substr(pos)), false);
        }
    }

    // The raw text of a dword or hex value; a line ending in "\" continues on the next.
    std::string parseRaw(std::string_view first) {
        size_t startLine = index_;
        std::string raw(first);
        while (!raw.empty() && raw.back() == '\\') {
            if (index_ + 1 >= lines_.size())
                fail("the value continues past the end of the file");
            raw.push_back('\n');
            raw.append(lines_[++index_]);
        }
        if (!isValidRaw(raw)) {
            index_ = startLine;
            fail(startsWith(raw, "dword:") ? "invalid dword value (8 hex digits expected)"
                 : startsWith(raw, "hex")  ? "invalid hex value"
                                           : "unknown value type");
        }
        return raw;
    }

    // The text of a quoted string starting at line[pos]; pos ends after the closing quote.
    std::string parseQuoted(std::string_view line, size_t& pos) {
        std::string text;
        for (++pos; pos < line.size(); ++pos) {
            char c = line[pos];
            if (c == '"') {
                ++pos;
                return text;
            }
            if (c != '\\') {
                text.push_back(c);
                continue;
            }
            if (++pos >= line.size())
                break;
            text.push_back(unescape(line, pos));
        }
        fail("unterminated quote");
    }

    // The character of the escape whose letter is at line[pos]; pos ends on its last character.
    char unescape(std::string_view line, size_t& pos) const {
        switch (line[pos]) {
        case '\\':
            return '\\';
        case '"':
            return '"';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 'x':
            if (pos + 2 < line.size() && isHexDigit(line[pos + 1]) && isHexDigit(line[pos + 2])) {
                pos += 2;
                return static_cast<char>(
                    std::stoi(std::string(line.substr(pos - 1, 2)), nullptr, 16));
            }
            fail("\"\\x\" must be followed by two hex digits");
        default:
            fail(std::string("unknown escape \"\\") + line[pos] + "\"");
        }
    }

    static void skipBlanks(std::string_view line, size_t& pos) {
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
    }

    std::vector<std::string_view> lines_;
    std::string fileName_;
    std::vector<std::string>* problems_;
    size_t index_ = 0;
    RegistryModel model_;
    RegistryKey* key_ = nullptr; // the key of the current section
};

} // namespace

RegistryModel parseRegistryText(std::string_view bytes, std::string_view fileName) {
    std::string text = decodeText(bytes);
    return Parser(text, fileName, nullptr).parse();
}

RegistryModel parseSoundRegistryText(std::string_view bytes, std::string_view fileName,
                                     std::vector<std::string>& problems) {
    std::string text = decodeText(bytes);
    return Parser(text, fileName, &problems).parse();
}

RegistryModel readRegistryText(std::istream& in, std::string_view fileName) {
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseRegistryText(bytes, fileName);
}

RegistryModel readRegistryFile(const std::filesystem::path& file) {
    return parseRegistryText(readFileBytes(file), file.string());
}

} // namespace corvane
