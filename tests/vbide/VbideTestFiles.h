// Helpers shared by the IDE model's tests: the hand-written tricky project and copies of it.
#pragma once

#include "testsupport/TempDir.h"

#include <filesystem>
#include <string>

namespace corvane::vbide::testfiles {

// The folder of the hand-written tricky project (tests/data/vbide/tricky).
inline std::filesystem::path trickyFolder() {
    // In the system's own separators, as the paths the program names there.
    return (std::filesystem::path(CORVANE_TEST_DATA_DIR) / "vbide" / "tricky").make_preferred();
}

// Copies the tricky project into a temporary folder (so tests may write) and returns the copy.
inline std::filesystem::path copyTricky(const corvane::test::TempDir& temp) {
    auto target = temp / "tricky";
    std::filesystem::copy(trickyFolder(), target, std::filesystem::copy_options::recursive);
    return target;
}

} // namespace corvane::vbide::testfiles
