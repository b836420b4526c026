// Writing the registry file's text (format: RegFile.h).
#include "registry/RegFile.h"

#include "files/AtomicFile.h"

#include <ostream>
#include <sstream>

namespace corvane {

namespace {

constexpr std::string_view LineEnd = "\r\n";

void appendQuoted(std::string& out, std::string_view text) {
    static const char hex[] = "0123456789ABCDEF";
    out.push_back('"');
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\n') {
            out.append("\\n");
        } else if (c == '\r') {
            out.append("\\r");
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            out.append("\\x");
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0xF]);
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void appendRaw(std::string& out, std::string_view raw) {
    for (char c : raw) {
        if (c == '\n')
            out.append(LineEnd);
        else
            out.push_back(c);
    }
}

void appendValue(std::string& out, const RegistryValue& value) {
    if (value.name.empty())
        out.push_back('@');
    else
        appendQuoted(out, value.name);
    out.push_back('=');
    if (value.isString)
        appendQuoted(out, value.data);
    else
        appendRaw(out, value.data);
    out.append(LineEnd);
}

void appendKey(std::string& out, const RegistryKey& key, const std::string& path, bool isRoot) {
    if (!isRoot || !key.values().empty()) {
        out.append("[").append(path).append("]").append(LineEnd);
        for (const RegistryValue& value : key.values())
            appendValue(out, value);
        out.append(LineEnd);
    }
    for (const RegistryKey& subKey : key.subKeys())
        appendKey(out, subKey, path + "\\" + subKey.name(), false);
}

} // namespace

std::string registryText(const RegistryModel& model) {
    std::string out(RegFileHeader);
    out.append(LineEnd).append(LineEnd);
    for (const RegistryKey& root : model.roots())
        appendKey(out, root, root.name(), true);
    return out;
}

void writeRegistryText(std::ostream& out, const RegistryModel& model) {
    std::string text = registryText(model);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeRegistryFile(const std::filesystem::path& file, const RegistryModel& model) {
    replaceFileAtomically(file, registryText(model));
}

} // namespace corvane
