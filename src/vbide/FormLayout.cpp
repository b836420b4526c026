#include "vbide/FormLayout.h"

#include "vbruntime/VbError.h"

namespace corvane::vbide {

namespace {

enum class LineKind { Blank, Begin, End, BeginProperty, EndProperty, Other };

LineKind classify(std::string_view trimmed) {
    if (trimmed.empty())
        return LineKind::Blank;
    char first = trimmed[0];
    if (first == 'B' || first == 'b') {
        if (startsWithWord(trimmed, "BeginProperty"))
            return LineKind::BeginProperty;
        return startsWithWord(trimmed, "Begin") ? LineKind::Begin : LineKind::Other;
    }
    if (first == 'E' || first == 'e') {
        if (startsWithWord(trimmed, "EndProperty"))
            return LineKind::EndProperty;
        return startsWithWord(trimmed, "End") ? LineKind::End : LineKind::Other;
    }
    return LineKind::Other; // most lines are properties
}

std::string_view nextWord(std::string_view& text) {
    text = trimBlanks(text);
    size_t end = 0;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t')
        ++end;
    std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

// The name of a group from "BeginProperty Font {GUID}" (the GUID is left out).
std::string groupName(std::string_view trimmed) {
    std::string_view rest = trimmed.substr(std::string_view("BeginProperty").size());
    return std::string(nextWord(rest));
}

std::string attributeName(const std::vector<std::string_view>& lines, size_t from) {
    for (size_t i = from; i < lines.size(); ++i) {
        std::string_view text = trimBlanks(lines[i]);
        if (!startsWithWord(text, "Attribute"))
            continue;
        std::string_view rest = text.substr(9);
        if (trimBlanks(nextWord(rest)) != "VB_Name")
            continue;
        auto parts = parsePropertyLine(std::string("VB_Name") + std::string(rest));
        if (parts && parts->form == ValueForm::Quoted)
            return parts->text;
    }
    return {};
}

class Parser {
public:
    Parser(const std::vector<std::string_view>& lines, std::string_view sourceName)
        : lines_(lines), source_(sourceName) {}

    FormLayout run() {
        if (lines_.size() >= UINT32_MAX)
            throwDesignerError(source_, 0, "the file has too many lines");
        layout_.lineValues.reserve(lines_.size());
        size_t i = 0;
        while (i < lines_.size() && classify(trimBlanks(lines_[i])) != LineKind::Begin)
            ++i;
        if (i == lines_.size())
            throwDesignerError(source_, 0, "the file has no designer block (no Begin line)");
        openBlock(i, trimBlanks(lines_[i]), 0);
        for (++i; i < lines_.size() && !open_.empty(); ++i)
            parseLine(i);
        if (!open_.empty()) {
            const BlockNode& node = layout_.nodes[open_.back()];
            throwDesignerError(source_, lines_.size(),
                               "the file ends inside the block of '" + node.name +
                                   "' begun at line " + std::to_string(node.beginLine + 1));
        }
        layout_.attributeName = attributeName(lines_, layout_.blockEnd + 1);
        return std::move(layout_);
    }

private:
    void parseLine(size_t i) {
        std::string_view text = trimBlanks(lines_[i]);
        LineKind kind = classify(text);
        if (groupDepth_ > 0) {
            if (kind == LineKind::BeginProperty)
                ++groupDepth_;
            else if (kind == LineKind::EndProperty && --groupDepth_ == 0)
                layout_.nodes[open_.back()].entries.back().lastLine = static_cast<uint32_t>(i);
            return;
        }
        switch (kind) {
        case LineKind::Blank:
            return;
        case LineKind::Begin:
            openBlock(i, text, static_cast<int>(open_.size()));
            return;
        case LineKind::End:
            closeBlock(i, text);
            return;
        case LineKind::BeginProperty:
            openGroup(i, text);
            return;
        case LineKind::EndProperty:
            throwDesignerError(source_, i + 1, "EndProperty without BeginProperty");
        case LineKind::Other:
            addProperty(i, text);
            return;
        }
    }

    // `text`: the Begin line without its indentation.
    void openBlock(size_t i, std::string_view text, int depth) {
        std::string_view rest = text.substr(5);
        BlockNode node;
        node.progId = std::string(nextWord(rest));
        node.name = std::string(nextWord(rest));
        if (node.progId.empty() || node.name.empty() || !trimBlanks(rest).empty())
            throwDesignerError(source_, i + 1, "expected 'Begin <type> <name>'");
        node.beginLine = i;
        node.depth = depth;
        node.entries.reserve(8); // most blocks hold a handful of property lines
        open_.push_back(layout_.nodes.size());
        layout_.nodes.push_back(std::move(node));
    }

    // `text`: the End line without its indentation.
    void closeBlock(size_t i, std::string_view text) {
        if (text != "End")
            throwDesignerError(source_, i + 1, "unexpected text after 'End'");
        layout_.nodes[open_.back()].endLine = i;
        open_.pop_back();
        if (open_.empty())
            layout_.blockEnd = i;
    }

    void openGroup(size_t i, std::string_view text) {
        std::string name = groupName(text);
        if (name.empty())
            throwDesignerError(source_, i + 1, "BeginProperty without a name");
        PropertyEntry& entry = layout_.nodes[open_.back()].entries.emplace_back();
        entry.name = std::move(name);
        entry.line = entry.lastLine = static_cast<uint32_t>(i);
        entry.group = true;
        groupDepth_ = 1;
    }

    void addProperty(size_t i, std::string_view text) {
        PropertyLineParts& parts = layout_.lineValues.emplace_back();
        bool parsed = false;
        try {
            parsed = parsePropertyLine(text, parts);
        } catch (const VbError& error) {
            keepMalformedValue(text, parts);
            addFault(i, parts.name, error.description());
            parsed = true;
        }
        if (!parsed) {
            layout_.lineValues.pop_back();
            addFault(i, {}, "expected a property line 'Name = value'; the line is left as it is");
            return;
        }
        PropertyEntry& entry = layout_.nodes[open_.back()].entries.emplace_back();
        entry.name = std::move(parts.name); // kept once, in the entry
        entry.line = entry.lastLine = static_cast<uint32_t>(i);
        entry.valueIndex = static_cast<uint32_t>(layout_.lineValues.size() - 1);
    }

    // A value that could not be parsed (no closing quote, a bad .frx offset) is kept as written.
    static void keepMalformedValue(std::string_view text, PropertyLineParts& parts) {
        size_t equals = text.find('=');
        parts.form = ValueForm::Plain;
        parts.text.assign(trimBlanks(text.substr(equals + 1)));
        parts.dollar = parts.hasComment = false;
        parts.comment.clear();
        parts.frxOffset = 0;
        parts.malformed = true;
    }

    void addFault(size_t i, std::string name, std::string what) {
        layout_.faults.push_back({i, open_.back(), std::move(name), std::move(what)});
    }

    const std::vector<std::string_view>& lines_;
    std::string_view source_;
    FormLayout layout_;
    std::vector<size_t> open_; // indices of the open blocks, innermost last
    int groupDepth_ = 0;       // nesting of BeginProperty groups in the innermost block
};

} // namespace

FormLayout parseFormLayout(const std::vector<std::string_view>& lines,
                           std::string_view sourceName) {
    return Parser(lines, sourceName).run();
}

namespace {

// Follows a designer block line by line (raw lines: only ASCII keywords count).
class BlockTracker {
public:
    // Takes one line; true once the top object's End line was taken.
    bool take(std::string_view line) {
        // A keyword is the line's first word: the blanks after it do not count.
        LineKind kind = classify(trimLeadingBlanks(line));
        if (kind == LineKind::BeginProperty)
            ++groups_;
        else if (kind == LineKind::EndProperty && groups_ > 0)
            --groups_;
        else if (groups_ > 0)
            return false;
        else if (kind == LineKind::Begin) {
            ++depth_;
            started_ = true;
        } else if (kind == LineKind::End && started_ && --depth_ == 0)
            return true;
        return false;
    }

private:
    int depth_ = 0;
    int groups_ = 0;
    bool started_ = false;
};

} // namespace

size_t designerPartEnd(std::string_view bytes, bool atEnd) {
    BlockTracker tracker;
    bool blockDone = false;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = findLineBreak(bytes, start);
        bool lineMayGoOn = end == bytes.size() || (bytes[end] == '\r' && end + 1 == bytes.size());
        if (lineMayGoOn && !atEnd)
            return std::string_view::npos;
        std::string_view line = bytes.substr(start, end - start);
        if (blockDone && !startsWithWord(trimLeadingBlanks(line), "Attribute"))
            return start;
        size_t next = end == bytes.size() ? end
                      : end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
        blockDone = blockDone || tracker.take(line);
        start = next;
    }
    return atEnd ? bytes.size() : std::string_view::npos;
}

size_t findBlockEnd(const std::vector<std::string_view>& lines) {
    BlockTracker tracker;
    for (size_t i = 0; i < lines.size(); ++i)
        if (tracker.take(lines[i]))
            return i;
    return lines.size();
}

void throwDesignerError(std::string_view sourceName, size_t lineNumber, std::string_view what) {
    std::string description = "Cannot read the controls of '" + std::string(sourceName) + "'";
    if (lineNumber > 0)
        description += ", line " + std::to_string(lineNumber);
    description += ": " + std::string(what);
    throw VbError(vberr::FormControlsUnreadable, description, std::string(sourceName));
}

} // namespace corvane::vbide
