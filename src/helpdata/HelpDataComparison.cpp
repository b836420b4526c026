#include "helpdata/HelpDataComparison.h"

#include "files/FileReading.h"
#include "files/OutputBuffer.h"
#include "helpdata/HelpDataWriter.h"
#include "process/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string_view>

namespace corvane {

namespace {

// How a module's element starts in the written form: a line of its own, the name following.
constexpr std::string_view ModuleStart = "\n  <VBComponent ComponentName=\"";
constexpr size_t Window = size_t{1} << 16;

// The part of the bytes the piece compares differs from what it renders.
struct Differs {};

// Reads up to `size` bytes at `offset` into `buffer`, grown as needed; the number read.
size_t readAt(int fd, size_t offset, size_t size, std::vector<char>& buffer) {
    buffer.resize(std::max(buffer.size(), size));
    return readFileAt(fd, offset, buffer.data(), size);
}

} // namespace

bool HelpDataComparison::holdsRecords(int fd, size_t size, size_t pieces) const {
    const std::vector<Piece> parts = split(fd, size, pieces == 0 ? parallelThreads() : pieces);
    if (parts.empty())
        return false;
    std::atomic<bool> differs{false};
    forEachInParallel(
        parts.size(),
        [&](size_t index) {
            if (!differs && !partMatches(fd, parts, index, size, differs))
                differs = true;
        },
        parts.size());
    return !differs;
}

// The first piece starts at the file's start; each further one at the first module element at
// or after an even share of the file, when that is a later module than the piece before.
std::vector<HelpDataComparison::Piece> HelpDataComparison::split(int fd, size_t size, size_t count) const {
    if (!settings_.SelectedLanguages || settings_.SelectedLanguages->empty() || forms_.Count() == 0)
        return {};
    std::vector<Piece> parts{Piece{}};
    for (size_t r = 1; r < count; ++r) {
        std::optional<Piece> next = moduleStartFrom(fd, size / count * r, size);
        if (!next)
            return {}; // a module that cannot be found by its name: no split at all
        if (next->firstModule > forms_.Count())
            break; // the rest of the file is the last module's
        if (next->firstModule > parts.back().firstModule && next->offset > parts.back().offset)
            parts.push_back(*next);
    }
    return parts;
}

// The first module element at or after `from`: the module the records have under its name, and
// where its line starts; past the last module (at the file's end) when none starts after `from`.
// Nothing when the name is not one of theirs as it stands.
std::optional<HelpDataComparison::Piece> HelpDataComparison::moduleStartFrom(int fd, size_t from,
                                                                               size_t size) const {
    std::vector<char> buffer;
    while (from < size) {
        const size_t got = readAt(fd, from, std::min(Window, size - from), buffer);
        const std::string_view window(buffer.data(), got);
        const size_t found = window.find(ModuleStart);
        if (found == std::string_view::npos) {
            if (got < Window || got <= ModuleStart.size())
                return Piece{forms_.Count() + 1, size}; // the end of the file, with no module after `from`
            from += got - ModuleStart.size(); // a start cut by the window's end is found in the next
            continue;
        }
        const size_t nameStart = found + ModuleStart.size();
        const size_t nameEnd = window.find('"', nameStart);
        if (nameEnd == std::string_view::npos) {
            if (found == 0)
                return std::nullopt; // a name longer than a window
            from += found; // read again from the element's start, the name within reach
            continue;
        }
        const std::string_view name = window.substr(nameStart, nameEnd - nameStart);
        const int32_t module = forms_.PositionOf(name);
        if (module == 0 || formNames_.Item(module) != name)
            return std::nullopt;
        return Piece{module, from + found + 1};
    }
    return Piece{forms_.Count() + 1, size};
}

// Renders the piece's modules (the file's start before the first piece's, its end after the
// last's) and compares them with its part of the file, stopping at the first difference or when
// another piece found one.
bool HelpDataComparison::partMatches(int fd, const std::vector<Piece>& pieces, size_t index, size_t size,
                                     const std::atomic<bool>& differs) const {
    const bool first = index == 0;
    const bool last = index + 1 == pieces.size();
    const size_t end = last ? size : pieces[index + 1].offset;
    const int32_t lastModule = last ? forms_.Count() : pieces[index + 1].firstModule - 1;
    size_t at = pieces[index].offset;
    std::vector<char> fileBytes;
    OutputBuffer out([&](std::string_view chunk) {
        if (differs || chunk.size() > end - at || readAt(fd, at, chunk.size(), fileBytes) != chunk.size() ||
            std::memcmp(fileBytes.data(), chunk.data(), chunk.size()) != 0)
            throw Differs();
        at += chunk.size();
    });
    try {
        HelpDataWriter writer(settings_, out);
        if (first && !writer.writeStart(forms_))
            return false;
        writer.writeModules(forms_, formNames_, pieces[index].firstModule, lastModule);
        if (last)
            writer.writeEnd();
        out.flush();
    } catch (const Differs&) {
        return false;
    }
    return at == end;
}

} // namespace corvane
