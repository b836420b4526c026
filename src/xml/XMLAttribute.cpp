#include "xml/XMLAttribute.h"

#include "vbruntime/VbError.h"

#include <cstring>

namespace corvane {

std::string XMLAttribute::Name() const {
    return attribute_.name();
}

std::string XMLAttribute::Value() const {
    return attribute_.value();
}

int32_t XMLAttributes::Count() const {
    int32_t count = 0;
    for (auto attribute = element_.first_attribute(); attribute;
         attribute = attribute.next_attribute())
        ++count;
    return count;
}

namespace {

// True when the stored name equals `name`, compared in place without measuring it first.
bool isNamed(const char* stored, std::string_view name) {
    for (char c : name) {
        if (c == '\0' || *stored != c)
            return false;
        ++stored;
    }
    return *stored == '\0';
}

} // namespace

pugi::xml_attribute XMLAttributes::find(std::string_view name) const {
    // The first attribute of the name in document order (a damaged file may repeat a name).
    // pugixml finds it in one call; it needs the name with a terminating NUL, and would take
    // one inside it for the name's end.
    if (found_ && isNamed(found_.name(), name))
        return found_; // asked again, as after Contains
    char terminated[64];
    if (name.size() < sizeof terminated && name.find('\0') == std::string_view::npos) {
        std::memcpy(terminated, name.data(), name.size());
        terminated[name.size()] = '\0';
        found_ = element_.attribute(terminated);
        return found_;
    }
    for (auto attribute = element_.first_attribute(); attribute; attribute = attribute.next_attribute())
        if (isNamed(attribute.name(), name))
            return attribute;
    return {};
}

XMLAttribute XMLAttributes::Item(std::string_view name) const {
    pugi::xml_attribute attribute = find(name);
    if (!attribute)
        throw VbError(vberr::InvalidCall,
                      "The element '" + std::string(element_.name()) + "' has no attribute '" +
                          std::string(name) + "'",
                      "XMLAttributes");
    return XMLAttribute(document_, attribute);
}

bool XMLAttributes::Contains(std::string_view name) const {
    return static_cast<bool>(find(name));
}

} // namespace corvane
