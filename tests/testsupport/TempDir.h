// TempDir: a fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace corvane::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path.
    const std::filesystem::path& path() const noexcept { return path_; }
    // A path inside the folder, its name in UTF-8.
    std::filesystem::path operator/(std::string_view name) const {
        return path_ / std::filesystem::path(std::u8string(name.begin(), name.end()));
    }
    std::filesystem::path operator/(const char* name) const { return *this / std::string_view(name); }
    std::filesystem::path operator/(const std::string& name) const { return *this / std::string_view(name); }
    // A path inside the folder.
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating its folders.
void writeFile(const std::filesystem::path& path, std::string_view bytes);
// Reads a whole file as bytes ("" when it does not exist).
std::string readFile(const std::filesystem::path& path);
// Every file below a folder, by its path relative to the folder ("/" between folders on every
// system), with its bytes.
std::map<std::string, std::string> filesIn(const std::filesystem::path& folder);

} // namespace corvane::test
