// ContextNumbering: the next context number a compile hands out.
//
// New numbers follow the highest one in use (mHighestID). A form may hold any Long in
// WhatsThisHelpID, also 2147483647, the largest: then no number follows, and the control that
// needs one is refused by name instead of the whole run failing on a bare "Overflow".
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// The number after `highest` for the control `control` of module `module`; VbError 6 naming
// the control, the module and the number in use when `highest` is the largest a Long holds,
// and the control holding it when `holder` ("'cmdBig' of 'frmMain'") is not empty.
int32_t nextContextNumber(int32_t highest, std::string_view module, std::string_view control,
                          std::string_view holder = {});

} // namespace corvane
