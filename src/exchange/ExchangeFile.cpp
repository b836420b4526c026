#include "exchange/ExchangeFile.h"

#include "exchange/PoReader.h"
#include "exchange/XliffReader.h"
#include "support/AtomicFile.h"
#include "support/CaseFold.h"

#include <sstream>

namespace corvane::exchange {

std::optional<ExchangeFormat> formatNamed(std::string_view name) {
    if (equalsIgnoreCase(name, "xliff") || equalsIgnoreCase(name, "xlf"))
        return ExchangeFormat::Xliff;
    if (equalsIgnoreCase(name, "po"))
        return ExchangeFormat::Po;
    return std::nullopt;
}

ExchangeDocument readExchangeFile(const std::filesystem::path& path) {
    std::string bytes = readFileBytes(path);
    std::string extension = asciiLower(path.extension().string());
    bool xliff = extension == ".xlf" || extension == ".xliff";
    if (extension != ".po" && !xliff) {
        size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
        xliff = first != std::string::npos && bytes[first] == '<';
    }
    std::istringstream in(std::move(bytes));
    return xliff ? readXliff(in, path.string()) : readPo(in, path.string());
}

} // namespace corvane::exchange
