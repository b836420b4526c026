// StoredRecord: one "HelpItem" element of a parsed help data file, read for the load that takes
// tens of thousands of them: its attributes are found in one pass, its texts are read in place.
// It views the parsed document and lives no longer than it.
//
//   StoredRecord stored(element);
//   if (stored.missingKeyAttribute()) ...       // not a record that can be loaded
//   auto record = std::make_shared<HelpItem>(selectedLanguages);
//   stored.fill(*record);                       // what HelpItem::LoadFromXML takes
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class HelpItem;

// True when a parsed element has character data of its own that is not empty.
bool hasOwnText(pugi::xml_node element);

class StoredRecord {
public:
    // The attributes a record is made of; the first four are its key attributes, named in this
    // order when one is missing.
    enum Field { ComponentName, ControlName, ContextHelpID, ControlType, Caption, FieldCount };

    // The record stored in `element` (a "HelpItem" element).
    explicit StoredRecord(pugi::xml_node element);

    // The value of a field's attribute; "" when the element has none.
    std::string_view value(Field field) const { return values_[field]; }
    // The name of the first key attribute the element lacks; none when it has all four.
    std::optional<std::string_view> missingKeyAttribute() const;
    // The element's "HelpText" children, in file order.
    pugi::xml_object_range<pugi::xml_named_node_iterator> texts() const {
        return element_.children("HelpText");
    }
    // True when an earlier "HelpText" of the element is in the language of `text` (letter case
    // ignored).
    bool isRepeatedLanguage(pugi::xml_node text) const;
    // True when the element has child elements; a record of the older form keeps its only
    // text ("Neutral") as the element's own text instead.
    bool hasChildElements() const;
    // Something the element holds beside its texts that loading leaves out: where it starts in
    // the parsed text and what it is, for a load problem.
    struct Departure {
        std::ptrdiff_t offset = -1;
        std::string what;
        bool losesText = true; // false: what is left out holds nothing anyone wrote
    };
    // Everything in the element that loading does not take although it is no fault of the
    // record's keys: other elements beside the texts, text outside the "HelpText" elements
    // (when there are any) and elements inside a text, of which only the text around is read.
    std::vector<Departure> departures() const;
    // Fills `record` as HelpItem::LoadFromXML does: the key attributes, the caption when there
    // is one, and the texts of selected languages, the first text of a language winning. The
    // element must have its key attributes and a "Language" on every "HelpText"; nothing else
    // can fail.
    void fill(HelpItem& record) const;

private:
    pugi::xml_node element_;
    std::array<std::string_view, FieldCount> values_{};
    std::array<bool, FieldCount> present_{};
};

} // namespace corvane
