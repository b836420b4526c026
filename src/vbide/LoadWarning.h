// LoadWarning: something a designer file holds that could not be taken as it is, although
// the designer loaded (a value that cannot be read, a .frx file that is missing or out of
// step with the form). Like the IDE's load log it names the file, the line and the property.
#pragma once

#include <cstddef>
#include <string>

namespace corvane::vbide {

struct LoadWarning {
    std::string file;     // the designer file
    size_t line = 0;      // counted from 1
    std::string object;   // the control (or designer) the line belongs to
    std::string property; // the property's name as written; empty for a line without one
    std::string problem;  // what is wrong with it

    // One line for logs: "<file>, line 12: property Caption of lblName: <problem>".
    std::string describe() const {
        std::string text = file + ", line " + std::to_string(line) + ": ";
        if (!property.empty())
            text += "property " + property + " of " + object + ": ";
        return text + problem;
    }
};

} // namespace corvane::vbide
