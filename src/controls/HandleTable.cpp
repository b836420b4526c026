#include "controls/HandleTable.h"

#include <atomic>

namespace corvane::controls {

int32_t newWindowHandle() {
    // Handles look like Windows' (multiples of 4 from a high start) and never wrap in practice.
    static std::atomic<int32_t> last{0x10000};
    return last.fetch_add(4) + 4;
}

} // namespace corvane::controls
