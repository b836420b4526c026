#include "process/CommandLineSplit.h"

namespace corvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// An unquoted program name ends at any character up to U+0020 (blanks and control characters).
bool endsProgramName(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// Reads the program name from the start of the line; returns the position after it.
size_t readProgramName(std::string_view line, std::string& name) {
    size_t pos = 0;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        if (close == std::string_view::npos)
            close = line.size();
        name.assign(line.substr(1, close - 1));
        pos = close < line.size() ? close + 1 : close;
    } else {
        while (pos < line.size() && !endsProgramName(line[pos]))
            ++pos;
        name.assign(line.substr(0, pos));
        if (pos < line.size())
            ++pos; // the character that ended the name
    }
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    return pos;
}

// Collects the arguments after the program name, one character at a time.
class ArgumentSplitter {
public:
    explicit ArgumentSplitter(std::vector<std::string>& out) : out_(out) {}

    void split(std::string_view line, size_t pos) {
        for (size_t i = pos; i < line.size(); ++i) {
            char c = line[i];
            if (c == '\\') {
                ++backslashes_;
                started_ = true;
            } else if (c == '"') {
                bool doubled = i + 1 < line.size() && line[i + 1] == '"';
                if (quote(doubled))
                    ++i;
            } else {
                other(c);
            }
        }
        current_.append(backslashes_, '\\');
        if (started_)
            out_.push_back(std::move(current_));
    }

private:
    // Handles a double quote; returns true when it consumed the quote after it as well.
    bool quote(bool doubled) {
        bool consumedNext = false;
        current_.append(backslashes_ / 2, '\\');
        if (backslashes_ % 2 == 1) {
            current_ += '"';
        } else if (inQuotes_ && doubled) {
            current_ += '"';
            inQuotes_ = false;
            consumedNext = true;
        } else {
            inQuotes_ = !inQuotes_;
        }
        backslashes_ = 0;
        started_ = true;
        return consumedNext;
    }

    void other(char c) {
        current_.append(backslashes_, '\\');
        backslashes_ = 0;
        if (isBlank(c) && !inQuotes_) {
            if (started_)
                out_.push_back(std::move(current_));
            current_.clear();
            started_ = false;
            return;
        }
        current_ += c;
        started_ = true;
    }

    std::vector<std::string>& out_;
    std::string current_;
    size_t backslashes_ = 0;
    bool inQuotes_ = false;
    bool started_ = false; // the current argument has begun (even if it is still empty)
};

} // namespace

std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine) {
    std::vector<std::string> result;
    std::string_view line = commandLine.substr(0, commandLine.find('\0'));
    if (line.empty())
        return result;
    std::string program;
    size_t pos = readProgramName(line, program);
    result.push_back(std::move(program));
    ArgumentSplitter(result).split(line, pos);
    return result;
}

} // namespace corvane
