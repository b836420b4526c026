// corvane_fake_hcrtf: stands in for the WinHelp compiler ("hcrtf -x project.hpj") in tests,
// since none exists for Linux.
//
// It reads the project: the help file to write is HLP= of [OPTIONS] (relative to the
// project's folder; the project's base name with ".hlp" when missing), the topic files are
// the lines of [FILES], the map is the #include of [MAP]. When all of them exist it writes
// "fake help\n" to the help file and exits 0. It writes nothing, prints an "Error:" line and
// exits 1 when a file is missing, when the project cannot be read, or when the environment
// variable CORVANE_FAKE_HCRTF_FAIL is "1" (to drive the failure path of callers).
#include "platform/Machine.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The file named by an #include line, without its quotes or angle brackets.
std::string includedName(const std::string& line) {
    std::string rest = trimmed(line.substr(8));
    if (rest.size() >= 2 && (rest.front() == '"' || rest.front() == '<'))
        rest = rest.substr(1, rest.size() - 2);
    return rest;
}

int fail(const std::string& message) {
    std::cout << "Error: " << message << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    corvane::platform::useBinaryStandardStreams(); // the messages end in LF, as the real compiler's
    std::string project;
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-') // "-x" and other switches
            project = argv[i];
    if (project.empty())
        return fail("no help project given");
    std::ifstream in(project, std::ios::binary);
    if (!in)
        return fail("cannot open the help project " + project);
    const char* failFlag = std::getenv("CORVANE_FAKE_HCRTF_FAIL");
    if (failFlag != nullptr && std::string(failFlag) == "1")
        return fail("HC1002: the help file was not compiled (CORVANE_FAKE_HCRTF_FAIL is set)");

    fs::path folder = fs::path(project).parent_path();
    fs::path help = folder / (fs::path(project).stem().string() + ".hlp");
    std::vector<fs::path> needed;
    std::string line, section;
    while (std::getline(in, line)) {
        std::string text = trimmed(line);
        if (text.empty() || text[0] == ';')
            continue;
        if (text[0] == '[') {
            section = lower(text);
        } else if (section == "[options]" && lower(text).rfind("hlp=", 0) == 0) {
            help = folder / trimmed(text.substr(4));
        } else if (section == "[files]") {
            needed.push_back(folder / text);
        } else if (section == "[map]" && lower(text).rfind("#include", 0) == 0) {
            needed.push_back(folder / includedName(text));
        }
    }
    for (const auto& file : needed)
        if (!fs::is_regular_file(file))
            return fail("HC3011: file not found: " + file.string());
    std::ofstream out(help, std::ios::binary | std::ios::trunc);
    out << "fake help\n";
    out.close();
    if (!out)
        return fail("HC5011: cannot write " + help.string());
    std::cout << "Created " << help.string() << "\n";
    return 0;
}
