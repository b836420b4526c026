#include "vbide/FrxValues.h"

#include "text/TextCodec.h"
#include "vbide/FrxReader.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane::vbide {

namespace {

// The last part of a path as a form file writes it.
std::string_view fileNameOf(std::string_view vbPath) {
    size_t slash = vbPath.find_last_of("\\/");
    return slash == std::string_view::npos ? vbPath : vbPath.substr(slash + 1);
}

} // namespace

FrxValues::FrxValues(const FormLayout& layout, FrxLoader loader, std::string sourceName, int codePage,
                     std::vector<LoadWarning>& warnings)
    : loader_(std::move(loader)), sourceName_(std::move(sourceName)), codePage_(codePage), warnings_(warnings) {
    for (const auto& parts : layout.lineValues)
        if (parts.form == ValueForm::FrxRef && !parts.malformed)
            files_[foldCase(parts.text)].offsets.push_back(parts.frxOffset);
    for (auto& [name, file] : files_) {
        std::sort(file.offsets.begin(), file.offsets.end());
        file.offsets.erase(std::unique(file.offsets.begin(), file.offsets.end()), file.offsets.end());
    }
}

bool FrxValues::isNeededText(const PropertySpec* spec) {
    return spec && spec->kind == PropertyKind::String && (spec->name == "Caption" || spec->name == "Text");
}

std::optional<Variant> FrxValues::valueOf(const PropertyEntry& entry, const PropertyLineParts& parts,
                                          const PropertySpec* spec, const std::string& object) {
    bool needed = isNeededText(spec);
    Variant kept = Variant::object(spec ? spec->name : "Object");
    File& file = fileNamed(parts.text);
    if (!file.found) {
        warn(entry, object, "the file '" + parts.text + "' it refers to does not exist");
        return needed ? std::nullopt : std::optional(kept);
    }
    if (!equalsIgnoreCase(file.found->name, fileNameOf(parts.text)))
        warn(entry, object, "the file '" + parts.text + "' is taken to be '" + file.found->name + "'");
    if (parts.frxOffset >= file.found->size) {
        warn(entry, object, "the offset " + std::to_string(parts.frxOffset) + " lies past the end of '" +
                                file.found->name + "' (" + std::to_string(file.found->size) + " bytes)");
        return needed ? std::nullopt : std::optional(kept);
    }
    if (!needed)
        return kept;
    try {
        const std::string& bytes = bytesOf(file);
        return Variant(decodeCodePage(readFrxText(bytes, parts.frxOffset, endOfRecord(file, parts.frxOffset)),
                                      codePage_));
    } catch (const VbError& error) {
        warn(entry, object, "'" + file.found->name + "': " + error.description());
        return std::nullopt;
    }
}

FrxValues::File& FrxValues::fileNamed(const std::string& frxName) {
    File& file = files_[foldCase(frxName)];
    if (!file.looked) {
        file.looked = true;
        if (loader_)
            file.found = loader_(frxName);
    }
    return file;
}

const std::string& FrxValues::bytesOf(File& file) {
    if (!file.bytes)
        file.bytes = file.found->read();
    return *file.bytes;
}

// A record ends at the latest where the next record the block refers to begins.
uint64_t FrxValues::endOfRecord(const File& file, uint32_t offset) const {
    auto next = std::upper_bound(file.offsets.begin(), file.offsets.end(), offset);
    return next == file.offsets.end() ? file.found->size : *next;
}

void FrxValues::warn(const PropertyEntry& entry, const std::string& object, std::string problem) {
    warnings_.push_back({sourceName_, entry.line + size_t{1}, object, entry.name, std::move(problem)});
}

} // namespace corvane::vbide
