#include "vbide/ReferenceCodePages.h"

#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <filesystem>

namespace corvane::vbide {

namespace {

// The Windows code pages of VB6's ANSI text, the Western default first.
constexpr int WindowsCodePages[] = {1252, 932, 936, 949, 950, 874, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258};

// True when `bytes` read in `codePage` name an existing file; false also for bytes the code
// page does not define.
bool namesFile(const std::string& bytes, int codePage, const PathResolver& paths) {
    try {
        std::error_code error;
        return std::filesystem::is_regular_file(paths.resolve(decodeCodePage(bytes, codePage)), error);
    } catch (const VbError&) {
        return false;
    }
}

bool available(int codePage) {
    try {
        decodeCodePage("", codePage);
        return true;
    } catch (const VbError&) {
        return false;
    }
}

} // namespace

std::vector<int> ReferenceCodePages::candidates(int first) {
    std::vector<int> order{first};
    for (int codePage : WindowsCodePages)
        if (codePage != first)
            order.push_back(codePage);
    return order;
}

ReferenceCodePages ReferenceCodePages::check(const std::vector<std::string>& referenceBytes, const PathResolver& paths,
                                             const std::vector<int>& candidates) {
    ReferenceCodePages result;
    for (int codePage : candidates)
        if (available(codePage))
            result.tried.push_back(codePage);
    std::vector<size_t> found(result.tried.size(), 0); // references naming a file, by code page tried
    for (size_t index = 0; index < referenceBytes.size(); ++index) {
        const std::string& bytes = referenceBytes[index];
        if (bytescan::asciiPrefix(bytes) == bytes.size())
            continue;
        ++result.references;
        bool anywhere = false;
        for (size_t tried = 0; tried < result.tried.size(); ++tried)
            if (namesFile(bytes, result.tried[tried], paths)) {
                ++found[tried];
                anywhere = true;
            }
        if (!anywhere)
            result.unresolved.push_back(index);
    }
    const size_t most = found.empty() ? 0 : *std::ranges::max_element(found);
    for (size_t tried = 0; tried < result.tried.size() && most > 0; ++tried)
        if (found[tried] == most)
            result.fitting.push_back(result.tried[tried]);
    return result;
}

std::string ReferenceCodePages::advice() const {
    std::string codePages;
    for (int codePage : tried)
        codePages += (codePages.empty() ? "" : ", ") + std::to_string(codePage);
    return "read in each of the code pages " + codePages +
           ", its name names no file on disk: the file is missing, or the project was saved in another code page "
           "(choose it with --codepage on the command line, or \"Code page of the project's files\" in the options)";
}

} // namespace corvane::vbide
