// HelpGridColumn: the columns of the editor's control grid, by their index in the grid's
// column collection (counted from 1, as the grid counts them). The grid's column order on
// screen differs (help text before caption): that is each column's ColPosition.
#pragma once

#include <cstdint>

namespace corvane {

struct HelpGridColumn {
    static constexpr int16_t ControlType = 1; // the control's type name
    static constexpr int16_t ControlName = 2; // the record's key: name and index
    static constexpr int16_t HelpText = 3;    // the help text in the current language (editable)
    static constexpr int16_t Caption = 4;     // the control's caption
};

} // namespace corvane
