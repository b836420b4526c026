#include "testsupport/RtfChecker.h"

#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <cctype>
#include <map>
#include <stdexcept>

namespace corvane::test {

namespace {

// Where the text of a group goes.
enum class Destination { Body, Footnote, Skipped };

struct Group {
    Destination destination = Destination::Body;
    int unicodeSkip = 1;   // \ucN: fallback characters after \uN
    bool empty = true;     // nothing seen yet in this group (for \* and \footnote)
};

// Control words that stand for one character.
const std::map<std::string, char32_t, std::less<>>& characterWords() {
    static const std::map<std::string, char32_t, std::less<>> words = {
        {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
        {"bullet", 0x2022}, {"emdash", 0x2014}, {"endash", 0x2013},
        {"emspace", 0x2003}, {"enspace", 0x2002}};
    return words;
}

// Control words that open a destination whose text is not document text.
const std::set<std::string, std::less<>>& skippedDestinations() {
    static const std::set<std::string, std::less<>> words = {
        "fonttbl", "colortbl", "stylesheet", "info", "title", "author", "subject", "operator",
        "creatim", "revtim", "pict", "header", "footer"};
    return words;
}

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    RtfCheckResult run() {
        try {
            parseDocument();
        } catch (const Failure& failure) {
            result_.error = failure.what();
        }
        return std::move(result_);
    }

private:
    [[noreturn]] void fail(const std::string& what, size_t at) const {
        size_t line = 1;
        for (size_t i = 0; i < at && i < text_.size(); ++i)
            line += text_[i] == '\n';
        throw Failure("byte " + std::to_string(at) + ", line " + std::to_string(line) + ": " + what);
    }

    void parseDocument() {
        if (!text_.starts_with("{\\rtf1"))
            fail("the document does not start with {\\rtf1", 0);
        while (pos_ < text_.size()) {
            if (stack_.empty() && pos_ > 0) {
                if (!std::isspace(static_cast<unsigned char>(text_[pos_])) && text_[pos_] != '\0')
                    fail("text after the document's closing brace", pos_);
                ++pos_;
                continue;
            }
            step();
        }
        if (!stack_.empty())
            fail(std::to_string(stack_.size()) + " group(s) left open at the end", text_.size());
        flushBytes();
        requireNoHighSurrogate();
        endTopic(false);
    }

    void requireNoHighSurrogate() const {
        if (highSurrogate_ != 0)
            fail("a high surrogate without a low one", pos_ - 1);
    }

    void step() {
        size_t at = pos_;
        char c = text_[pos_++];
        if (c == '{') {
            resetFallback();
            flushBytes();
            Group group = stack_.empty() ? Group{} : stack_.back();
            group.empty = true;
            stack_.push_back(group);
        } else if (c == '}') {
            resetFallback();
            if (stack_.empty())
                fail("a closing brace without an open group", at);
            closeGroup();
        } else if (c == '\\') {
            controlSequence(at);
        } else if (c == '\r' || c == '\n') {
            // line ends of the file are not text
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            fail("a byte above 127 outside an escape", at);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            fail("the control character " + std::to_string(static_cast<int>(c)) + " outside an escape", at);
        } else {
            literal(std::string(1, c));
        }
    }

    void closeGroup() {
        flushBytes();
        requireNoHighSurrogate();
        Group closed = stack_.back();
        stack_.pop_back();
        if (closed.destination == Destination::Footnote &&
            (stack_.empty() || stack_.back().destination != Destination::Footnote)) {
            if (footnote_.mark == '#')
                result_.contextStrings.push_back(footnote_.text);
            topic_.footnotes.push_back(footnote_);
            footnote_ = {};
        }
    }

    void controlSequence(size_t at) {
        if (pos_ >= text_.size())
            fail("a backslash at the end of the document", at);
        char c = text_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)))
            return controlWord(at);
        ++pos_;
        if (c != '\'') {
            resetFallback();
            flushBytes();
        }
        switch (c) {
        case '\\': case '{': case '}': return literal(std::string(1, c));
        case '\'': return hexByte(at);
        case '~': return character(0x00A0);
        case '_': return character(0x2011);
        case '-': case '|': case ':': return;
        case '\r': case '\n': return text("\n");
        case '*':
            if (stack_.empty() || !stack_.back().empty)
                fail("\\* not at the start of a group", at);
            stack_.back().destination = Destination::Skipped;
            return;
        default:
            fail(std::string("the unknown control symbol \\") + c, at);
        }
    }

    void hexByte(size_t at) {
        if (pos_ + 2 > text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_])) ||
            !std::isxdigit(static_cast<unsigned char>(text_[pos_ + 1])))
            fail("\\' not followed by two hexadecimal digits", at);
        auto byte = static_cast<char>(std::stoi(std::string(text_.substr(pos_, 2)), nullptr, 16));
        pos_ += 2;
        if (consumeFallback())
            return;
        pendingBytes_ += byte;
        pendingAt_ = pendingBytes_.size() == 1 ? at : pendingAt_;
    }

    void controlWord(size_t at) {
        size_t start = pos_;
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        std::string word(text_.substr(start, pos_ - start));
        if (word.size() > 32)
            fail("a control word longer than 32 letters", at);
        bool hasNumber = false;
        long number = 0;
        size_t numberStart = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-')
            ++pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            hasNumber = true;
            ++pos_;
            if (pos_ - numberStart > 10)
                fail("the number of \\" + word + " is too long", at);
        }
        if (!hasNumber && pos_ != numberStart)
            fail("\\" + word + "- without a number", at);
        if (hasNumber)
            number = std::stol(std::string(text_.substr(numberStart, pos_ - numberStart)));
        if (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
        // Readers skip what they do not know inside ignorable destinations ("{\\*\\...}").
        bool ignorable = !stack_.empty() && stack_.back().destination == Destination::Skipped;
        if (!ignorable && !RtfChecker::knownControlWords().contains(word))
            fail("the unknown control word \\" + word, at);
        flushBytes();
        if (word != "u")
            resetFallback();
        applyWord(word, hasNumber, number, at);
    }

    void applyWord(const std::string& word, bool hasNumber, long number, size_t at) {
        Group& group = stack_.back();
        bool first = group.empty;
        group.empty = false;
        if (word == "rtf" && (stack_.size() != 1 || at != 1))
            fail("\\rtf inside the document", at);
        if (word == "ansicpg" && hasNumber)
            result_.codePage = static_cast<int>(number);
        if (word == "uc" && hasNumber)
            group.unicodeSkip = static_cast<int>(number);
        if (word == "footnote") {
            if (!first || group.destination != Destination::Body)
                fail("\\footnote not at the start of a group in the text", at);
            group.destination = Destination::Footnote;
            startFootnote();
        }
        if (skippedDestinations().contains(word) && first)
            group.destination = Destination::Skipped;
        if (word == "par" || word == "line")
            text("\n");
        if (word == "tab")
            text("\t");
        if (word == "page") {
            ++result_.pageBreaks;
            endTopic(true);
        }
        if (auto found = characterWords().find(word); found != characterWords().end())
            character(found->second);
        if (word == "u")
            unicode(hasNumber, number, at);
    }

    void unicode(bool hasNumber, long number, size_t at) {
        if (!hasNumber || number < -32768 || number > 65535)
            fail("\\u without a number from -32768 to 65535", at);
        auto unit = static_cast<char32_t>(number < 0 ? number + 65536 : number);
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate_ == 0)
                fail("a low surrogate without a high one", at);
            char32_t high = highSurrogate_;
            highSurrogate_ = 0;
            character(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
        } else {
            if (highSurrogate_ != 0)
                fail("a high surrogate without a low one", at);
            if (unit >= 0xD800 && unit <= 0xDBFF)
                highSurrogate_ = unit;
            else
                character(unit);
        }
        fallbackLeft_ = stack_.back().unicodeSkip;
    }

    // Skips one fallback character after \uN; true when the character was skipped.
    bool consumeFallback() {
        if (fallbackLeft_ == 0)
            return false;
        --fallbackLeft_;
        return true;
    }
    void resetFallback() { fallbackLeft_ = 0; }

    void literal(const std::string& bytes) {
        if (consumeFallback())
            return;
        flushBytes();
        text(bytes);
    }

    void character(char32_t cp) {
        std::string utf8;
        appendUtf8(utf8, cp);
        text(utf8);
    }

    void flushBytes() {
        if (pendingBytes_.empty())
            return;
        std::string bytes = std::move(pendingBytes_);
        pendingBytes_.clear();
        try {
            text(decodeCodePage(bytes, result_.codePage));
        } catch (const VbError& error) {
            fail("\\' escapes not valid in code page " + std::to_string(result_.codePage) + ": " +
                     error.description(), pendingAt_);
        }
    }

    void text(const std::string& utf8) {
        requireNoHighSurrogate();
        if (stack_.empty())
            return;
        switch (stack_.back().destination) {
        case Destination::Body: topic_.text += utf8; break;
        case Destination::Footnote: footnote_.text += utf8; break;
        case Destination::Skipped: break;
        }
        stack_.back().empty = false;
    }

    void startFootnote() {
        static const std::string marks = "#$K+@!*A";
        if (!topic_.text.empty() && marks.find(topic_.text.back()) != std::string::npos) {
            footnote_.mark = topic_.text.back();
            topic_.text.pop_back();
        }
    }

    void endTopic(bool always) {
        bool blank = topic_.text.find_first_not_of(" \r\n\t") == std::string::npos;
        if (always || !blank || !topic_.footnotes.empty())
            result_.topics.push_back(std::move(topic_));
        topic_ = {};
    }

    std::string_view text_;
    size_t pos_ = 0;
    std::vector<Group> stack_;
    RtfCheckResult result_;
    RtfTopic topic_;
    RtfFootnote footnote_;
    std::string pendingBytes_;
    size_t pendingAt_ = 0;
    char32_t highSurrogate_ = 0;
    int fallbackLeft_ = 0;
};

} // namespace

std::string RtfTopic::contextString() const {
    for (const auto& footnote : footnotes)
        if (footnote.mark == '#')
            return footnote.text;
    return {};
}

const std::set<std::string, std::less<>>& RtfChecker::knownControlWords() {
    static const std::set<std::string, std::less<>> words = [] {
        std::set<std::string, std::less<>> all = {
            "rtf", "ansi", "mac", "pc", "pca", "ansicpg", "deff", "deflang", "deflangfe",
            "fonttbl", "f", "fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor", "ftech",
            "fcharset", "fprq", "colortbl", "red", "green", "blue", "stylesheet", "s", "info",
            "title", "author", "subject", "operator", "creatim", "revtim", "yr", "mo", "dy",
            "hr", "min", "pard", "plain", "par", "line", "page", "tab", "footnote", "fs", "b",
            "i", "ul", "ulnone", "strike", "cf", "cb", "highlight", "li", "ri", "fi", "sa", "sb",
            "sl", "slmult", "ql", "qr", "qc", "qj", "keepn", "keep", "lang", "u", "uc",
            "viewkind", "tx", "sect", "sectd", "pict", "header", "footer"};
        for (const auto& [word, cp] : characterWords())
            all.insert(word);
        return all;
    }();
    return words;
}

RtfCheckResult RtfChecker::check(std::string_view document) { return Parser(document).run(); }

::testing::AssertionResult isWellFormedRtf(std::string_view document) {
    auto result = RtfChecker::check(document);
    if (result.ok())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "malformed RTF: " << result.error;
}

} // namespace corvane::test
