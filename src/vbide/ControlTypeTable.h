// ControlTypeTable: which design-time properties each control type has, their kinds and
// default values. It ships as data ("controltypes.txt" in the program's data folder) so that
// users can teach the program about more controls; the file's own comments describe it.
#pragma once

#include "vbruntime/CaseFold.h"
#include "vbruntime/FoldedNameIndex.h"
#include "vbruntime/Variant.h"

#include <filesystem>
#include <istream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane::vbide {

// The kind of value a property holds.
enum class PropertyKind { String, Long, Double, Boolean, Object };

// One property as the table knows it.
struct PropertySpec {
    std::string name; // as the IDE spells it
    PropertyKind kind = PropertyKind::String;
    Variant defaultValue; // the value a property has when its file has no line for it
};

// One control type and the properties it has, in the table's order.
struct ControlType {
    std::string progId;              // "VB.CommandButton", "MSComctlLib.ListView"
    bool listed = false;             // the table names this type as a control
    bool invisibleAtRunTime = false; // an ActiveX type without extender help ids
    std::vector<const PropertySpec*> properties;
    // The properties by name (letter case ignored).
    FoldedNameIndex<PropertySpec> byName;

    // The type's property of that name (letter case ignored), or null.
    const PropertySpec* find(std::string_view name) const { return byName.find(name); }
    // Fills byName from properties.
    void indexProperties() {
        for (const PropertySpec* spec : properties)
            byName.add(spec);
    }
};

class ControlTypeTable {
public:
    // Reads a table; raises VbError 5 naming `sourceName` and the line of a fault.
    static ControlTypeTable parse(std::istream& in, std::string_view sourceName);
    // Reads a table file; raises VbError 53 when it is missing.
    static ControlTypeTable load(const std::filesystem::path& path);
    // The program's table, read once from the data folder's "controltypes.txt".
    static std::shared_ptr<const ControlTypeTable> standard();

    // The type for a ProgId (letter case ignored); a type the table does not list is an
    // ActiveX control with the extender's properties.
    std::shared_ptr<const ControlType> typeFor(std::string_view progId) const;
    // The property of that name (letter case ignored), or null.
    const PropertySpec* property(std::string_view name) const;

private:
    void declareProperty(const std::vector<std::string>& words, const std::string& where);
    std::vector<const PropertySpec*> resolveItems(const std::vector<std::string>& words,
                                                  size_t first, const std::string& where,
                                                  int depth) const;
    void addType(const std::string& progId, const std::vector<std::string>& words,
                 const std::string& where);

    // Looked up for every control and property read: keys compare without regard to case,
    // without folded copies.
    template <typename T>
    using FoldedMap = std::unordered_map<std::string, T, FoldedHash, FoldedEqual>;

    FoldedMap<std::unique_ptr<PropertySpec>> properties_;  // by name
    std::map<std::string, std::vector<std::string>> sets_; // by folded name
    FoldedMap<std::shared_ptr<ControlType>> types_;        // by ProgId
    std::vector<std::string> invisible_;                   // folded ProgIds
    mutable FoldedMap<std::shared_ptr<const ControlType>> activeX_;
    // Guards activeX_: designers of a project are read on several threads at once.
    std::unique_ptr<std::mutex> activeXLock_ = std::make_unique<std::mutex>();
};

} // namespace corvane::vbide
