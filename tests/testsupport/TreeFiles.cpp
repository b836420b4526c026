#include "testsupport/TreeFiles.h"

namespace corvane::test {

namespace fs = std::filesystem;

fs::path exampleFolder(const std::string& name) { return fs::path(CORVANE_SOURCE_DIR) / "examples" / name; }

fs::path copyExample(const fs::path& target, const std::string& name) {
    fs::create_directories(target);
    fs::copy(exampleFolder(name), target, fs::copy_options::recursive);
    return target / (name + ".vbp");
}

void copyDataFolder(const fs::path& target) {
    fs::create_directories(target);
    fs::copy(fs::path(CORVANE_SOURCE_DIR) / "data", target, fs::copy_options::recursive);
}

fs::path corvaneProgram() {
    // Windows names its programs with ".exe".
    return fs::path(CORVANE_BINARY_DIR) / "bin" / (fs::path::preferred_separator == '/' ? "corvane" : "corvane.exe");
}

ToolRun runCorvane(const std::string& arguments) {
    return runToolWithStatus("\"" + corvaneProgram().string() + "\" " + arguments);
}

} // namespace corvane::test
