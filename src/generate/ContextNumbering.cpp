#include "generate/ContextNumbering.h"

#include "vbruntime/VbError.h"

#include <limits>
#include <string>

namespace corvane {

int32_t nextContextNumber(int32_t highest, std::string_view module, std::string_view control,
                          std::string_view holder) {
    if (highest == std::numeric_limits<int32_t>::max())
        throw VbError(vberr::Overflow,
                      "Overflow: the control '" + std::string(control) + "' of '" + std::string(module) +
                          "' needs a context number, but the highest number in use is " + std::to_string(highest) +
                          ", the largest a control can hold" +
                          (holder.empty() ? "; give the control that has it a smaller WhatsThisHelpID"
                                          : "; give the control that has it, " + std::string(holder) +
                                                ", a smaller WhatsThisHelpID") +
                          " and compile again");
    return highest + 1;
}

} // namespace corvane
