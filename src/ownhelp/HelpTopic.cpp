#include "ownhelp/HelpTopic.h"

#include "ownhelp/ChmArchive.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

namespace corvane {

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

size_t findNoCase(std::string_view text, std::string_view what, size_t from) {
    auto start = text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size()));
    auto found = std::search(start, text.end(), what.begin(), what.end(),
                             [](char a, char b) { return lower(a) == lower(b); });
    return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

void appendUtf8(std::string& out, uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character an entity stands for ("amp", "#39", "#x2014"); nothing for an unknown one.
std::optional<uint32_t> entityCode(std::string_view name) {
    if (name.size() > 1 && name[0] == '#') {
        bool hex = name[1] == 'x' || name[1] == 'X';
        std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 7)
            return std::nullopt;
        uint32_t code = 0;
        for (char c : digits) {
            if (!std::isxdigit(static_cast<unsigned char>(c)) || (!hex && !std::isdigit(static_cast<unsigned char>(c))))
                return std::nullopt;
            code = code * (hex ? 16 : 10) + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                                                      ? c - '0'
                                                                      : lower(c) - 'a' + 10);
        }
        return code;
    }
    static const std::pair<std::string_view, uint32_t> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''},
        {"nbsp", 0xA0}, {"ndash", 0x2013}, {"mdash", 0x2014}, {"copy", 0xA9}};
    for (const auto& [entity, code] : named)
        if (entity == name)
            return code;
    return std::nullopt;
}

std::string decodeEntities(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        auto code = end != std::string_view::npos && end - i <= 10 ? entityCode(text.substr(i + 1, end - i - 1))
                                                                   : std::nullopt;
        if (code) {
            appendUtf8(out, *code);
            i = end;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string collapseSpaces(std::string_view text) {
    std::string out;
    bool pendingBlank = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank)
            out += ' ';
        pendingBlank = false;
        out += c;
    }
    return out;
}

} // namespace

std::optional<std::string> HelpTopic::resource(std::string_view link) const {
    std::string target = resolveHelpLink(path, link);
    if (target.empty() || !archive)
        return std::nullopt;
    return archive->read(target);
}

std::string resolveHelpLink(std::string_view basePath, std::string_view link) {
    link = link.substr(0, std::min(link.find('#'), link.find('?')));
    size_t colon = link.find(':');
    if (colon != std::string_view::npos) {
        // "ms-its:file.chm::/a.html" and "mk:@MSITStore:..." name a page inside a help file;
        // any other scheme ("http:") leaves the help file.
        size_t inside = link.find("::");
        if (inside == std::string_view::npos)
            return {};
        link = link.substr(inside + 2);
    }
    if (link.empty())
        return {};
    std::string joined(link);
    std::replace(joined.begin(), joined.end(), '\\', '/');
    if (joined.front() != '/') {
        std::string_view folder = basePath.substr(0, basePath.rfind('/') + 1);
        joined = std::string(folder) + joined;
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = std::min(joined.find('/', start), joined.size());
        std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string result;
    for (const auto& part : parts)
        result += "/" + part;
    return result;
}

std::string htmlTitle(std::string_view html) {
    size_t open = findNoCase(html, "<title", 0);
    if (open == std::string_view::npos)
        return {};
    size_t textStart = html.find('>', open);
    if (textStart == std::string_view::npos)
        return {};
    ++textStart;
    size_t close = findNoCase(html, "</title", textStart);
    std::string_view text = html.substr(textStart, close == std::string_view::npos ? 0 : close - textStart);
    return collapseSpaces(decodeEntities(text));
}

} // namespace corvane
