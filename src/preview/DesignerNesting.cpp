#include "preview/DesignerNesting.h"

#include "files/FileReading.h"
#include "vbide/TextLines.h"
#include "vbruntime/VbError.h"

#include <string>

namespace corvane::preview {

std::vector<int> controlDepths(std::string_view fileBytes) {
    std::vector<int> depths;
    std::vector<size_t> starts = vbide::lineStarts(fileBytes);
    int depth = 0;  // open Begin blocks
    int groups = 0; // open BeginProperty groups inside the innermost block
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        std::string_view line = vbide::trimBlanks(vbide::lineTextAt(fileBytes, starts, i));
        if (vbide::startsWithWord(line, "BeginProperty")) {
            ++groups;
        } else if (vbide::startsWithWord(line, "EndProperty")) {
            groups = groups > 0 ? groups - 1 : 0;
        } else if (groups > 0) {
            continue;
        } else if (vbide::startsWithWord(line, "Begin")) {
            if (depth > 0)
                depths.push_back(depth);
            ++depth;
        } else if (vbide::startsWithWord(line, "End") && depth > 0) {
            if (--depth == 0)
                break; // the designer block ends; code follows
        }
    }
    return depths;
}

std::optional<std::vector<int>> controlDepthsOfFile(const std::filesystem::path& file) {
    try {
        return controlDepths(readFileBytes(file)); // a regular file only: a FIFO would block
    } catch (const VbError&) {
        return std::nullopt;
    }
}

} // namespace corvane::preview
