// MessageText: pieces of the texts the program writes in messages and logs.
#pragma once

#include <string>
#include <vector>

namespace corvane {

// The names separated by ", " ("English, German"; empty for none).
inline std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The text on one line: line breaks become spaces, so a notice is always one line.
inline std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace corvane
