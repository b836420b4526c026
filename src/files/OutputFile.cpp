#include "files/OutputFile.h"

#include "files/AtomicFile.h"
#include "files/FileFailures.h"
#include "vbruntime/VbError.h"

#include <ostream>
#include <streambuf>
#include <system_error>

namespace corvane {

namespace {

namespace fs = std::filesystem;

// Hands what a stream writes to an OutputBuffer.
class OutputBufferStreambuf : public std::streambuf {
public:
    explicit OutputBufferStreambuf(OutputBuffer& out) : out_(out) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        out_.append(std::string_view(bytes, static_cast<size_t>(count)));
        return count;
    }
    int_type overflow(int_type byte) override {
        if (!traits_type::eq_int_type(byte, traits_type::eof()))
            out_.append(traits_type::to_char_type(byte));
        return traits_type::not_eof(byte);
    }

private:
    OutputBuffer& out_;
};

[[noreturn]] void cannotWrite(const fs::path& path, const std::string& why) {
    throw VbError(vberr::PathFileAccess, "Cannot write '" + path.string() + "': " + why, path.string());
}

// Refuses a target that cannot be written before anything is made: its folder is missing, or
// a folder has its name.
void checkTarget(const fs::path& path) {
    std::error_code error;
    const fs::path real = followLinks(path);
    if (fs::is_directory(real, error))
        cannotWrite(path, "it is a folder");
    const fs::path folder = folderOf(real);
    if (!fs::exists(folder, error))
        cannotWrite(path, "the folder '" + folder.string() + "' does not exist");
    if (!fs::is_directory(folder, error))
        cannotWrite(path, "'" + folder.string() + "' is not a folder");
}

} // namespace

void writeOutputFile(const fs::path& path, const std::function<void(std::ostream& out)>& write) {
    checkTarget(path);
    AtomicFile file(path);
    try {
        file.commit([&](OutputBuffer& buffer) {
            OutputBufferStreambuf streambuf(buffer);
            std::ostream out(&streambuf);
            out.exceptions(std::ios::badbit);
            write(out);
        });
    } catch (const VbError& failure) {
        std::error_code ignored;
        // Only a failed rename keeps the temporary file; the file can be made again instead.
        if (!file.temporary().empty() && fs::remove(file.temporary(), ignored))
            cannotWrite(path, "the new file could not take its place; nothing was written");
        if (failure.description().find("'" + path.string() + "'") == std::string::npos)
            cannotWrite(path, failure.description()); // it named the temporary file only
        throw;
    }
}

} // namespace corvane
