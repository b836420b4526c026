// Names from project files made safe file names: nothing they name leaves its folder or
// reaches a device, and an ordinary name stays as it is.
#include "files/SafeFileName.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// A name, the safe name it becomes, and why it had to change ("" when it did not).
struct NameCase {
    std::string name;
    std::string safe;
    std::string reason;
};

const NameCase Cases[] = {
    // Paths, drives and folders become one name in the folder.
    {"../../../outside/evil", "___.._.._outside_evil", "it holds a path separator"},
    {"..\\..\\Windows\\win", "___.._Windows_win", "it holds a path separator"},
    {"/etc/passwd", "_etc_passwd", "it holds a path separator"},
    {"C:evil", "C_evil", "it holds a drive or stream separator"},
    {"..", "__", "it names a folder"},
    {".", "_", "it names a folder"},
    {".hidden", "_hidden", "it begins with a dot, which hides a file"},
    {"", "_", "it is empty"},
    // Devices, in any letter case and with any extension; names that only look like them stay.
    {"CON", "CON_", "it is the name of a device"},
    {"aux", "aux_", "it is the name of a device"},
    {"com9", "com9_", "it is the name of a device"},
    {"LPT1", "LPT1_", "it is the name of a device"},
    {"nul.txt", "nul_.txt", "it is the name of a device"},
    {"Con.tar.gz", "Con_.tar.gz", "it is the name of a device"},
    {"COM0", "COM0", ""},
    {"CONSOLE", "CONSOLE", ""},
    {"LPT10", "LPT10", ""},
    // Control characters and what Windows refuses; dots and spaces at the end.
    {std::string("a\0b", 3), "a_b", "it holds a control character"},
    {"tab\there\nline\x7F", "tab_here_line_", "it holds a control character"},
    {"what?<*>|\"x\"", "what______x_", "it holds a character Windows does not allow in a file name"},
    {"ends. ", "ends__", "it ends in a dot or a space"},
    // Ordinary names.
    {"OrderEntry", "OrderEntry", ""},
    {"Order Entry", "Order Entry", ""},
    {"Müller & Söhne", "Müller & Söhne", ""},
    {"Deutsch (Schweiz)", "Deutsch (Schweiz)", ""},
    {"my.project", "my.project", ""},
    {"a..b", "a..b", ""},
    {"日本語", "日本語", ""},
};

TEST(SafeFileName, EachNameBecomesOneSafeNameThatIsItsOwnMapping) {
    for (const NameCase& c : Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(safeFileName(c.name), c.safe);
        EXPECT_EQ(unsafeFileNameReason(c.name), c.reason);
        EXPECT_EQ(safeFileName(c.safe), c.safe);
        EXPECT_EQ(unsafeFileNameReason(c.safe), "");
    }
}

} // namespace
} // namespace corvane
