#include "exchange/XliffReader.h"

#include "exchange/XliffWriter.h"
#include "files/FileInputStream.h"

#include <cstring>
#include <exception>
#include <expat.h>
#include <new>
#include <istream>
#include <optional>
#include <string_view>
#include <vector>

namespace corvane::exchange {

namespace {

// The element's name without its namespace prefix.
std::string_view localName(std::string_view name) {
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The value of an attribute of an element as expat gives them (name, value, ..., null).
std::string attribute(const XML_Char** attributes, std::string_view name) {
    for (const XML_Char** at = attributes; *at; at += 2)
        if (name == at[0])
            return at[1];
    return {};
}

// The prefix an element's attributes bind to the corvane namespace (nothing when none does).
std::optional<std::string> corvanePrefixIn(const XML_Char** attributes) {
    for (const XML_Char** at = attributes; *at; at += 2)
        if (std::strncmp(at[0], "xmlns:", 6) == 0 && std::strcmp(at[1], CorvaneXliffNamespace) == 0)
            return std::string(at[0] + 6);
    return std::nullopt;
}

// What an open element is to the reader.
enum class Part { Root, File, Body, Group, Unit, Source, Target, Marker, Other };

class XliffParser {
public:
    XliffParser(std::string sourceName, ExchangeSink& sink) : sourceName_(std::move(sourceName)), sink_(sink) {
        parser_ = XML_ParserCreate(nullptr);
        if (!parser_)
            throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, onStart, onEnd);
        XML_SetCharacterDataHandler(parser_, onText);
        XML_SetEntityDeclHandler(parser_, onEntityDeclaration);
        XML_SetUnknownEncodingHandler(parser_, onUnknownEncoding, this);
    }
    ~XliffParser() { XML_ParserFree(parser_); }
    XliffParser(const XliffParser&) = delete;
    XliffParser& operator=(const XliffParser&) = delete;

    void parse(std::istream& in) {
        std::vector<char> block(64 * 1024);
        bool atEnd = false;
        while (!atEnd) {
            in.read(block.data(), static_cast<std::streamsize>(block.size()));
            const auto count = static_cast<int>(in.gcount());
            atEnd = count == 0 || in.eof();
            if (XML_Parse(parser_, block.data(), count, atEnd) != XML_STATUS_OK)
                failParse();
        }
        if (files_ == 0)
            fail("holds 0 <file> elements; corvane export writes exactly one");
    }

private:
    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<XliffParser*>(self)->guarded([&](XliffParser& parser) { parser.start(name, attributes); });
    }
    static void XMLCALL onEnd(void* self, const XML_Char*) {
        static_cast<XliffParser*>(self)->guarded([](XliffParser& parser) { parser.end(); });
    }
    static void XMLCALL onText(void* self, const XML_Char* text, int length) {
        static_cast<XliffParser*>(self)->guarded([&](XliffParser& parser) {
            if (!parser.open_.empty() && parser.open_.back().text)
                parser.open_.back().text->append(text, static_cast<size_t>(length));
        });
    }
    static void XMLCALL onEntityDeclaration(void* self, const XML_Char*, int, const XML_Char*, int,
                                            const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
        auto& parser = *static_cast<XliffParser*>(self);
        parser.problem_ = "declares entities, which an XLIFF file does not need; it is not read";
        XML_StopParser(parser.parser_, XML_FALSE);
    }
    static int XMLCALL onUnknownEncoding(void* self, const XML_Char* name, XML_Encoding*) {
        auto& parser = *static_cast<XliffParser*>(self);
        parser.problem_ = "is in the encoding '" + std::string(name) +
                          "', which corvane cannot read; save it as UTF-8 (or UTF-16 or ISO-8859-1) "
                          "and import it again";
        return XML_STATUS_ERROR;
    }

    // Runs a step of a handler: a failure stops the parser and is raised again after it (no
    // exception may pass through expat's C code).
    template <typename Step>
    void guarded(Step step) {
        if (failure_)
            return;
        try {
            step(*this);
        } catch (...) {
            failure_ = std::current_exception();
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    void start(std::string_view name, const XML_Char** attributes) {
        const Part parent = open_.empty() ? Part::Other : open_.back().part;
        const std::string_view local = localName(name);
        if (open_.empty()) {
            if (local != "xliff")
                fail("not an XLIFF file (its root element is '" + std::string(name) + "')");
            prefix_ = corvanePrefixIn(attributes);
            return open(Part::Root);
        }
        if (parent == Part::Root && local == "file")
            return startFile(attributes);
        if (parent == Part::File && local == "body")
            return open(Part::Body);
        if ((parent == Part::Body || parent == Part::Group) && local == "group")
            return open(Part::Group);
        if ((parent == Part::Body || parent == Part::Group) && local == "trans-unit")
            return startUnit(attributes);
        if (parent == Part::Unit && local == "source" && !sourceSeen_) {
            sourceSeen_ = true;
            return open(Part::Source, &unit_.source);
        }
        if (parent == Part::Unit && local == "target" && !targetSeen_) {
            targetSeen_ = true;
            unit_.needsReview = attribute(attributes, "state").starts_with("needs-review");
            return open(Part::Target, &unit_.target);
        }
        if (parent == Part::Source || parent == Part::Target || parent == Part::Marker) {
            if (local == "mrk") // a segment marker: its text is the text
                return open(Part::Marker, open_.back().text);
            markup_ = true; // any other inline element is markup the help text cannot hold
        }
        open(Part::Other);
    }

    void startFile(const XML_Char** attributes) {
        if (++files_ > 1)
            fail("holds more than one <file> element; corvane export writes exactly one");
        const std::string prefix = prefix_ ? *prefix_ : corvanePrefixIn(attributes).value_or("corvane");
        ExchangeDocument header;
        header.project = attribute(attributes, "original");
        header.sourceTag = attribute(attributes, "source-language");
        header.targetTag = attribute(attributes, "target-language");
        header.sourceLanguage = attribute(attributes, prefix + ":source-language");
        header.targetLanguage = attribute(attributes, prefix + ":target-language");
        if (header.targetLanguage.empty())
            throw ExchangeFormatError(sourceName_ +
                                      ": the <file> element does not name the project's language "
                                      "(attribute corvane:target-language); it was not written by corvane export");
        sink_.header(header);
        open(Part::File);
    }

    void startUnit(const XML_Char** attributes) {
        unit_ = ExchangeUnit();
        unit_.id = attribute(attributes, "id");
        size_t slash = unit_.id.find('/');
        if (slash != std::string::npos) {
            unit_.module = unit_.id.substr(0, slash);
            unit_.controlKey = unit_.id.substr(slash + 1);
        }
        sourceSeen_ = targetSeen_ = markup_ = false;
        open(Part::Unit);
    }

    void end() {
        const Part part = open_.back().part;
        open_.pop_back();
        if (part != Part::Unit)
            return;
        if (markup_)
            unit_.problem = "its text holds inline markup, which help text cannot hold";
        sink_.unit(std::move(unit_));
    }

    void open(Part part, std::string* text = nullptr) { open_.push_back({part, text}); }

    [[noreturn]] void fail(const std::string& what) const { throw ExchangeFormatError(sourceName_ + ": " + what); }

    [[noreturn]] void failParse() {
        if (failure_)
            std::rethrow_exception(failure_);
        const std::string line = "line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ": ";
        if (!problem_.empty())
            fail(problem_);
        if (XML_GetErrorCode(parser_) == XML_ERROR_NO_MEMORY)
            throw std::bad_alloc();
        fail(line + "not well-formed XML (" + XML_ErrorString(XML_GetErrorCode(parser_)) + ")");
    }

    // An open element: what it is, and where its character data goes (nowhere: null).
    struct Open {
        Part part;
        std::string* text;
    };

    std::string sourceName_;
    ExchangeSink& sink_;
    XML_Parser parser_ = nullptr;
    std::vector<Open> open_;
    std::optional<std::string> prefix_; // bound on the root element
    int files_ = 0;
    ExchangeUnit unit_;
    bool sourceSeen_ = false;
    bool targetSeen_ = false;
    bool markup_ = false;
    std::string problem_; // why the parser was stopped, when it was not a failure of a step
    std::exception_ptr failure_;
};

} // namespace

void readXliff(std::istream& in, const std::string& sourceName, ExchangeSink& sink) {
    XliffParser(sourceName, sink).parse(in);
}

ExchangeDocument readXliff(std::istream& in, const std::string& sourceName) {
    DocumentCollector collector;
    readXliff(in, sourceName, collector);
    return std::move(collector.document);
}

ExchangeDocument readXliffFile(const std::filesystem::path& path) {
    FileInputStream in(path);
    return readXliff(in, path.string());
}

} // namespace corvane::exchange
