// Names from project files made safe file names: nothing they name leaves its folder or
// reaches a device, and an ordinary name stays as it is.
#include "support/SafeFileName.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SafeFileName, PathsAndDrivesBecomeOneNameInTheFolder) {
    EXPECT_EQ(safeFileName("../../../outside/evil"), "___.._.._outside_evil");
    EXPECT_EQ(unsafeFileNameReason("../../../outside/evil"), "it holds a path separator");
    EXPECT_EQ(safeFileName("..\\..\\Windows\\win"), "___.._Windows_win");
    EXPECT_EQ(safeFileName("/etc/passwd"), "_etc_passwd");
    EXPECT_EQ(safeFileName("C:evil"), "C_evil");
    EXPECT_EQ(unsafeFileNameReason("C:evil"), "it holds a drive or stream separator");
    EXPECT_EQ(safeFileName(".."), "__");
    EXPECT_EQ(safeFileName("."), "_");
    EXPECT_EQ(unsafeFileNameReason(".."), "it names a folder");
    EXPECT_EQ(safeFileName(".hidden"), "_hidden");
    EXPECT_EQ(unsafeFileNameReason("..hidden"), "it begins with a dot, which hides a file");
    EXPECT_EQ(safeFileName(""), "_");
    EXPECT_EQ(unsafeFileNameReason(""), "it is empty");
}

TEST(SafeFileName, DevicesControlCharactersAndWindowsRefusalsAreMapped) {
    for (const char* device : {"CON", "con", "PRN", "aux", "NUL", "COM1", "com9", "LPT1", "lpt9"}) {
        EXPECT_EQ(safeFileName(device), std::string(device) + "_") << device;
        EXPECT_EQ(unsafeFileNameReason(device), "it is the name of a device") << device;
    }
    EXPECT_EQ(safeFileName("nul.txt"), "nul_.txt");
    EXPECT_EQ(safeFileName("Con.tar.gz"), "Con_.tar.gz");
    EXPECT_EQ(safeFileName("COM0"), "COM0"); // not a device
    EXPECT_EQ(safeFileName("CONSOLE"), "CONSOLE");
    EXPECT_EQ(safeFileName("LPT10"), "LPT10");
    EXPECT_EQ(safeFileName(std::string("a\0b", 3)), "a_b");
    EXPECT_EQ(safeFileName("tab\there\nline\x7F"), "tab_here_line_");
    EXPECT_EQ(unsafeFileNameReason("a\tb"), "it holds a control character");
    EXPECT_EQ(safeFileName("what?<*>|\"x\""), "what______x_");
    EXPECT_EQ(safeFileName("ends. "), "ends__");
    EXPECT_EQ(unsafeFileNameReason("ends."), "it ends in a dot or a space");
}

TEST(SafeFileName, OrdinaryNamesStayAndAMappedNameIsItsOwnMapping) {
    for (const char* name : {"OrderEntry", "Order Entry", "Müller & Söhne", "Deutsch (Schweiz)", "my.project",
                             "a..b", "日本語"}) {
        EXPECT_EQ(safeFileName(name), name);
        EXPECT_EQ(unsafeFileNameReason(name), "") << name;
    }
    for (const char* name : {"../x", "CON", "nul.txt", "..", ".x", "a:b", "end.", ""}) {
        const std::string once = safeFileName(name);
        EXPECT_EQ(safeFileName(once), once) << name;
        EXPECT_EQ(unsafeFileNameReason(once), "") << name;
    }
}

} // namespace
} // namespace corvane
