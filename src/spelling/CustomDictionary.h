// CustomDictionary: the user's own words for the spell checker, the file "custom.dic".
//
// Format: UTF-8 text, one word a line; CR before LF is ignored, as are blanks around a word,
// empty lines and a byte order mark. A line that is not valid UTF-8 is read as Windows-1252
// (word lists made on Windows). Adding a word appends one line to the file as it is, with
// the file's own line ending (CR LF when its first line ends so, else LF), and saves it
// through AtomicFile.
//
// Location: "custom.dic" in the program's data folder when that folder is writable, else in
// the user's data folder (created when the first word is added).
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CustomDictionary {
public:
    // Answers whether the program may write files into a folder.
    using WritableCheck = std::function<bool(const std::filesystem::path&)>;

    // True when the folder exists and this process may create files in it.
    static bool isWritableFolder(const std::filesystem::path& folder);
    // Where "custom.dic" lives (see the header comment).
    static std::filesystem::path defaultLocation(const WritableCheck& isWritable = isWritableFolder);
    // Reads the dictionary at the default location.
    static CustomDictionary open(const WritableCheck& isWritable = isWritableFolder);

    // Reads the words of a file; a file that does not exist gives no words. Raises VbError
    // 75 when it cannot be read, 5 naming the file and line of a line with control characters.
    static CustomDictionary load(const std::filesystem::path& file);
    // Reads the words from a stream; `file` is where add() saves and what errors name.
    static CustomDictionary read(std::istream& in, const std::filesystem::path& file);

    // The file the dictionary is saved to.
    const std::filesystem::path& file() const noexcept { return file_; }
    // The words in file order.
    const std::vector<std::string>& words() const noexcept { return words_; }
    // True when the word is in the dictionary (exactly as written).
    bool contains(std::string_view word) const;

    // Adds a word and saves the file (creating its folder); false, and nothing written, when
    // the word is already there. Raises VbError 5 for an empty word or one with blanks, line
    // breaks or invalid UTF-8, 75 when the file cannot be written (the dictionary is then
    // unchanged).
    bool add(std::string_view word);
    // Writes the file's content as add() saves it.
    void write(std::ostream& out) const;

private:
    explicit CustomDictionary(std::filesystem::path file) : file_(std::move(file)) {}
    void parse(std::string content);
    std::string lineEnding() const;

    std::filesystem::path file_;
    std::string content_; // the file's bytes, kept so that adding only appends
    std::vector<std::string> words_;
};

} // namespace corvane
