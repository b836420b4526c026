#include "helpdata/StoredRecord.h"

#include "helpdata/HelpDataShape.h"
#include "helpdata/HelpItem.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbConvert.h"
#include "xml/XMLElement.h"

#include <cstring>

namespace corvane {

namespace {

// The attribute names of the fields, in the order of StoredRecord::Field.
constexpr std::array<const char*, StoredRecord::FieldCount> FieldNames = {
    "ComponentName", "ControlName", "ContextHelpID", "ControlType", "Caption"};

bool isText(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// How many characters of white space (XML's space, tab and line ends) a text starts with.
std::ptrdiff_t leadingBlanks(const char* text) {
    return static_cast<std::ptrdiff_t>(std::strspn(text, " \t\r\n"));
}

bool isBlank(const char* text) {
    return text[leadingBlanks(text)] == '\0';
}

} // namespace

bool hasOwnText(pugi::xml_node element) {
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (isText(child) && *child.value() != '\0')
            return true;
    return false;
}

StoredRecord::StoredRecord(pugi::xml_node element) : element_(element) {
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        for (size_t field = 0; field < FieldCount; ++field) {
            // The first attribute of a name counts, as a look-up by name finds it (a damaged
            // file may repeat one).
            if (!present_[field] && std::strcmp(attribute.name(), FieldNames[field]) == 0) {
                present_[field] = true;
                values_[field] = attribute.value();
                break;
            }
        }
    }
}

std::optional<std::string_view> StoredRecord::missingKeyAttribute() const {
    for (size_t field = ComponentName; field <= ControlType; ++field)
        if (!present_[field])
            return FieldNames[field];
    return std::nullopt;
}

bool StoredRecord::isRepeatedLanguage(pugi::xml_node text) const {
    std::string_view language = text.attribute("Language").value();
    for (pugi::xml_node earlier : texts()) {
        if (earlier == text)
            return false;
        if (equalsIgnoreCase(earlier.attribute("Language").value(), language))
            return true;
    }
    return false;
}

bool StoredRecord::hasChildElements() const {
    for (pugi::xml_node child = element_.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            return true;
    return false;
}

std::vector<StoredRecord::Departure> StoredRecord::departures() const {
    std::vector<Departure> found;
    if (!hasChildElements())
        return found; // the older form: the element's own text is the record's text
    for (pugi::xml_node child = element_.first_child(); child; child = child.next_sibling()) {
        if (isText(child) && !isBlank(child.value())) {
            found.push_back({child.offset_debug() + leadingBlanks(child.value()),
                             " has text outside its \"HelpText\" elements: it is not read"});
        } else if (child.type() == pugi::node_element &&
                   std::strcmp(child.name(), "HelpText") != 0) {
            found.push_back(
                {child.offset_debug(),
                 " holds the element \"" + std::string(child.name()) + "\", which is not one Corvane writes: it is not read",
                 !isEmptyElement(child)});
        } else if (child.type() == pugi::node_element) {
            for (pugi::xml_node inner = child.first_child(); inner; inner = inner.next_sibling())
                if (inner.type() == pugi::node_element)
                    found.push_back(
                        {inner.offset_debug(), " has the element \"" + std::string(inner.name()) +
                                                   "\" inside its text in '" +
                                                   child.attribute("Language").value() +
                                                   "': only the text around it is read"});
        }
    }
    return found;
}

void StoredRecord::fill(HelpItem& record) const {
    record.ComponentName = value(ComponentName);
    record.ControlName = value(ControlName);
    record.ContextHelpID = CLng(Val(value(ContextHelpID)));
    record.ControlType = value(ControlType);
    if (!hasChildElements()) {
        // Older files kept the text as the element's own text; white space alone there is the
        // layout of an element written over two lines, no text.
        std::string text = xmlElementText(element_);
        if (text.find_first_not_of(" \t\r\n") == std::string::npos)
            text.clear();
        record.HelpTexts.Add(std::move(text), Neutral);
    } else {
        for (pugi::xml_node text : texts()) {
            std::string_view language = text.attribute("Language").value();
            if (record.takesTextIn(language))
                record.HelpTexts.Add(xmlElementText(text), language);
        }
    }
    if (present_[Caption])
        record.Caption = value(Caption);
    record.markAsInFile();
}

} // namespace corvane
