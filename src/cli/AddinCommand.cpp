#include "cli/AddinCommand.h"

#include "platform/ChildProcess.h"
#include "platform/Machine.h"
#include "platform/Utf8Path.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>

namespace corvane::cli {

namespace {

namespace fs = std::filesystem;

// The width a Windows DLL is built for, from its PE header: 32 or 64; nothing for another file.
std::optional<int> dllWidth(const fs::path& dll) {
    std::ifstream in(dll, std::ios::binary);
    unsigned char header[64] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'M' || header[1] != 'Z')
        return std::nullopt;
    uint32_t peOffset = header[60] | header[61] << 8 | header[62] << 16 | static_cast<uint32_t>(header[63]) << 24;
    unsigned char pe[6] = {};
    if (!in.seekg(peOffset) || !in.read(reinterpret_cast<char*>(pe), sizeof pe) || pe[0] != 'P' || pe[1] != 'E' ||
        pe[2] != 0 || pe[3] != 0)
        return std::nullopt;
    int machine = pe[4] | pe[5] << 8;
    return machine == 0x14c ? std::optional<int>(32) : machine == 0x8664 ? std::optional<int>(64) : std::nullopt;
}

} // namespace

int runAddin(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() != 1 || (arguments[0] != "register" && arguments[0] != "unregister")) {
        err << "usage: corvane addin register|unregister\n";
        return 2;
    }
    const bool registering = arguments[0] == "register";
    if (!platform::comServerRegistrar(true)) {
        err << "corvane: the VB6 add-in exists only on Windows: there 'corvane addin " << arguments[0]
            << "' " << (registering ? "registers" : "unregisters")
            << " corvane-addin.dll beside corvane.exe for the current user\n";
        return 2;
    }
    const fs::path dll = platform::currentProgramFile().parent_path() / "corvane-addin.dll";
    const std::string shown = platform::utf8Of(dll);
    if (!fs::exists(dll)) {
        err << "corvane: no VB6 add-in beside the program: " << shown << " is missing\n";
        return 2;
    }
    std::optional<int> width = dllWidth(dll);
    if (!width) {
        err << "corvane: " << shown << " is not a Windows DLL\n";
        return 2;
    }
    const fs::path registrar = *platform::comServerRegistrar(*width == 32);
    std::vector<std::string> command{platform::utf8Of(registrar), "/s"};
    if (!registering)
        command.push_back("/u");
    command.push_back(shown);
    platform::ChildProcess::StartFailure failure{};
    int error = 0;
    auto child = platform::ChildProcess::start(registrar, command, {}, failure, error);
    int status = child ? child->waitForExit() : -1;
    if (status != 0) {
        err << "corvane: " << platform::utf8Of(registrar) << " could not " << arguments[0] << " " << shown
            << (child ? " (exit status " + std::to_string(status) + ")" : std::string(" (it did not start)")) << "\n";
        return 1;
    }
    out << "corvane: the VB6 add-in " << (registering ? "is registered" : "is no longer registered")
        << " for the current user: " << shown << "\n";
    return 0;
}

} // namespace corvane::cli
