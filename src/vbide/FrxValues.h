// FrxValues: the values a designer keeps in its .frx files, while its properties are built.
// Texts the program needs (a caption, a text box's text) are read; every other value stays in
// the file as it is and becomes an Object, so no layout of a record the program never uses
// can fail a form. References the IDE survives are survived here too, each with a warning
// naming the file, line and property: a .frx file that is missing, one named by an 8.3 short
// name ("FORM1~1.frx"), an offset past the end of the file, and a text record that does not
// read where its offset says (a .frx out of step with its form).
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/FormLayout.h"
#include "vbide/LoadWarning.h"
#include "vbruntime/Variant.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane::vbide {

// A .frx file a designer refers to, as the file layer found it.
struct FrxFile {
    std::string name;                  // its name on disk (differs for an 8.3 short name)
    uint64_t size = 0;                 // its size in bytes
    std::function<std::string()> read; // its bytes; raises VbError when they cannot be read
};

// Finds the .frx file a property line names (relative to the designer's folder); nothing when
// there is no such file.
using FrxLoader = std::function<std::optional<FrxFile>(const std::string& frxName)>;

class FrxValues {
public:
    // The .frx references of a parsed designer block; warnings go to `warnings`.
    FrxValues(const FormLayout& layout, FrxLoader loader, std::string sourceName, int codePage,
              std::vector<LoadWarning>& warnings);

    // The value of a property line of `object` that refers to a .frx record (`spec` may be
    // null); nothing, with a warning, when a text the program needs cannot be read: the
    // property then keeps its default.
    std::optional<Variant> valueOf(const PropertyEntry& entry, const PropertyLineParts& parts,
                                   const PropertySpec* spec, const std::string& object);

    // True for the properties whose text the program reads from a .frx file.
    static bool isNeededText(const PropertySpec* spec);

private:
    struct File {
        bool looked = false;
        std::optional<FrxFile> found;
        std::optional<std::string> bytes;
        std::vector<uint32_t> offsets; // every offset the block refers to, ascending
    };

    File& fileNamed(const std::string& frxName);
    const std::string& bytesOf(File& file);
    uint64_t endOfRecord(const File& file, uint32_t offset) const;
    void warn(const PropertyEntry& entry, const std::string& object, std::string problem);

    FrxLoader loader_;
    std::string sourceName_;
    int codePage_;
    std::vector<LoadWarning>& warnings_;
    std::map<std::string, File> files_; // by folded name as written
};

} // namespace corvane::vbide
