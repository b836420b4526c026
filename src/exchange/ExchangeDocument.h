// ExchangeDocument: the help text of one project in one language, as it travels to a
// translator and back in an XLIFF or PO file: one unit per control, the primary language's
// text as source and the language's text as target.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane::exchange {

// One control's text for translation.
struct ExchangeUnit {
    // Stable identifier: module name, "/", control key ("frmOrder/optPayment(1)").
    std::string id;
    // The module (form, user control ...) that holds the control.
    std::string module;
    // The control key: its name, with "(index)" for a member of a control array.
    std::string controlKey;
    // The control's type name, for the translator's context.
    std::string controlType;
    // The control's caption, for the translator's context.
    std::string caption;
    // The primary language's text when the file was exported.
    std::string source;
    // The text in the file's language ("" when it has none).
    std::string target;
    // Set by the readers: the translator's tool marked the target as needing review (PO
    // "fuzzy", XLIFF state "needs-review-...").
    bool needsReview = false;
    // Set by the readers: why the unit cannot be used ("" when it can).
    std::string problem;
};

// The file as a whole.
struct ExchangeDocument {
    // The project file's name ("OrderEntry.vbp"): the file belongs to this project.
    std::string project;
    // The primary language's name, as the project spells it ("English").
    std::string sourceLanguage;
    // The name of the file's language ("German").
    std::string targetLanguage;
    // Language tags for translation tools ("en-US", "de-DE"); informative only.
    std::string sourceTag;
    std::string targetTag;
    // The units, in module and control order.
    std::vector<ExchangeUnit> units;
};

// Takes an exchange file's parts as a reader meets them, so that a file is never held whole:
// the document's header (everything but the units) once, before the first unit, then each unit.
class ExchangeSink {
public:
    virtual ~ExchangeSink() = default;
    // The header; a sink may refuse the file here by throwing.
    virtual void header(const ExchangeDocument& header) = 0;
    // The next unit, in file order.
    virtual void unit(ExchangeUnit&& unit) = 0;
};

// A sink that keeps the whole document (small files and tests).
class DocumentCollector : public ExchangeSink {
public:
    void header(const ExchangeDocument& header) override { document = header; }
    void unit(ExchangeUnit&& unit) override { document.units.push_back(std::move(unit)); }

    // What was read.
    ExchangeDocument document;
};

// Hands each unit of a document to `visit` in order: the units of an export are made one at a
// time and written as they come.
using UnitVisitor = std::function<void(const ExchangeUnit& unit)>;
using UnitSource = std::function<void(const UnitVisitor& visit)>;

// The units of a document that holds them.
UnitSource unitsOf(const ExchangeDocument& document);

// The identifier of a control's unit.
std::string unitId(const std::string& module, const std::string& controlKey);

// One line telling the translator where the text appears: module, control, type, caption.
std::string controlNote(const ExchangeUnit& unit);

// A file that cannot be read as an exchange file; the message names the file, the line when
// known, and what is wrong.
class ExchangeFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace corvane::exchange
