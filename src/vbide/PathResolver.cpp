#include "vbide/PathResolver.h"

#include "platform/Utf8Path.h"
#include "vbruntime/CaseFold.h"


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

// The characters of a name as a short name has them: blanks and dots left out, a few
// characters not allowed there made "_", letters in upper case.
std::string shortNameCharacters(std::string_view name) {
    std::string characters;
    for (char c : name) {
        if (c == ' ' || c == '.')
            continue;
        if (std::string_view("+,;=[]").find(c) != std::string_view::npos)
            c = '_';
        characters += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return characters;
}

std::string_view stemOf(std::string_view name) {
    return name.substr(0, name.rfind('.'));
}

} // namespace

std::string PathResolver::findShortNameEntry(const fs::path& folder, const std::string& name,
                                             std::string_view preferredStem) const {
    if (name.find('~') == std::string::npos)
        return {};
    std::vector<std::string> candidates;
    const auto listing = listings_->of(folder);
    for (const std::string& real : listing->names)
        if (isShortNameOf(name, real))
            candidates.push_back(real);
    if (candidates.size() == 1)
        return candidates.front();
    for (const auto& candidate : candidates)
        if (!preferredStem.empty() && equalsIgnoreCase(stemOf(candidate), preferredStem))
            return candidate;
    return {}; // none, or several that cannot be told apart
}

bool PathResolver::isShortNameOf(std::string_view shortName, std::string_view longName) {
    size_t dot = shortName.rfind('.');
    std::string_view base = shortName.substr(0, dot);
    std::string_view extension = dot == std::string_view::npos ? std::string_view() : shortName.substr(dot + 1);
    size_t tilde = base.rfind('~');
    if (tilde == std::string_view::npos || tilde == 0 || tilde > 6 || tilde + 1 == base.size() ||
        base.find_first_not_of("0123456789", tilde + 1) != std::string_view::npos || extension.size() > 3)
        return false;
    size_t longDot = longName.rfind('.');
    std::string longBase = shortNameCharacters(longName.substr(0, longDot));
    std::string longExtension =
        longDot == std::string_view::npos ? std::string() : shortNameCharacters(longName.substr(longDot + 1));
    return longBase.starts_with(shortNameCharacters(base.substr(0, tilde))) &&
           longExtension.substr(0, 3) == shortNameCharacters(extension);
}

fs::path PathResolver::resolve(std::string_view vbPath, std::string_view preferredStem) const {
    bool rooted = !vbPath.empty() && (vbPath[0] == '/' || vbPath[0] == '\\');
    bool drive = vbPath.size() >= 2 && vbPath[1] == ':';
    std::vector<std::string> parts = splitParts(drive ? vbPath.substr(2) : vbPath);
    // A drive letter names the root of that drive where the system has drives (Windows); on
    // others the path is taken from the root folder.
    fs::path root("/");
    if (fs::path driveRoot(std::string(vbPath.substr(0, 2)) + "/"); drive && driveRoot.has_root_name())
        root = driveRoot;
    fs::path written = rooted || drive ? root : base_;
    for (const auto& part : parts)
        written /= platform::pathFromUtf8(part);
    // Each part as the folder lists it, also where the system matches names in any letter case
    // itself (Windows): the file is named alike wherever the program runs.
    fs::path found = rooted || drive ? root : base_;
    for (const auto& part : parts) {
        if (part == "." || part == "..") {
            found /= platform::pathFromUtf8(part);
            continue;
        }
        std::string real = listings_->of(found)->find(part);
        if (real.empty())
            real = findShortNameEntry(found, part, preferredStem);
        if (real.empty())
            return written.lexically_normal();
        found /= platform::pathFromUtf8(real);
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
