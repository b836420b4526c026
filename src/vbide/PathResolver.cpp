#include "vbide/PathResolver.h"

#include "support/CaseFold.h"

#include <system_error>

namespace corvane::vbide {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitParts(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

} // namespace

std::string PathResolver::findEntry(const fs::path& folder, const std::string& name) const {
    auto& listing = listings_[folder.string()];
    if (listing.empty()) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            listing.emplace_back(foldCase(it->path().filename().string()), it->path().filename().string());
        if (listing.empty())
            listing.emplace_back("", ""); // remember an empty or unreadable folder
    }
    std::string folded = foldCase(name);
    for (const auto& [key, real] : listing)
        if (!key.empty() && key == folded)
            return real;
    return {};
}

fs::path PathResolver::resolve(std::string_view vbPath) const {
    bool rooted = !vbPath.empty() && (vbPath[0] == '/' || vbPath[0] == '\\');
    bool drive = vbPath.size() >= 2 && vbPath[1] == ':';
    std::vector<std::string> parts = splitParts(drive ? vbPath.substr(2) : vbPath);
    fs::path written = rooted || drive ? fs::path("/") : base_;
    for (const auto& part : parts)
        written /= part;
    std::error_code error;
    if (fs::exists(written, error))
        return written.lexically_normal();
    fs::path found = rooted || drive ? fs::path("/") : base_;
    for (const auto& part : parts) {
        if (part == "." || part == "..") {
            found /= part;
            continue;
        }
        std::string real = findEntry(found, part);
        if (real.empty())
            return written.lexically_normal();
        found /= real;
    }
    return found.lexically_normal();
}

std::string PathResolver::relativeVbPath(const fs::path& file) const {
    fs::path absolute = fs::absolute(file).lexically_normal();
    fs::path relative = absolute.lexically_relative(fs::absolute(base_).lexically_normal());
    bool below = !relative.empty() && relative.begin()->string() != "..";
    std::string text = (below ? relative : absolute).string();
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return text;
}

} // namespace corvane::vbide
