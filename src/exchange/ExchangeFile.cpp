#include "exchange/ExchangeFile.h"

#include "exchange/PoReader.h"
#include "exchange/XliffReader.h"
#include "files/FileInputStream.h"
#include "vbruntime/CaseFold.h"

namespace corvane::exchange {

namespace {

// True when the stream's first character (after white space and a UTF-8 byte-order mark)
// opens markup, or the stream starts with a UTF-16 byte-order mark; nothing is taken from it.
bool looksLikeXml(std::istream& in) {
    std::string start(512, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(in.gcount()));
    in.clear();
    in.seekg(0);
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF"))
        return true;
    size_t first = start.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string::npos && start[first] == '<';
}

} // namespace

std::optional<ExchangeFormat> formatNamed(std::string_view name) {
    if (equalsIgnoreCase(name, "xliff") || equalsIgnoreCase(name, "xlf"))
        return ExchangeFormat::Xliff;
    if (equalsIgnoreCase(name, "po"))
        return ExchangeFormat::Po;
    return std::nullopt;
}

void readExchangeFile(const std::filesystem::path& path, ExchangeSink& sink) {
    FileInputStream in(path, MaxExchangeFileSize);
    std::string extension = asciiLower(path.extension().string());
    bool xliff = extension == ".xlf" || extension == ".xliff";
    if (extension != ".po" && !xliff)
        xliff = looksLikeXml(in);
    if (xliff)
        readXliff(in, path.string(), sink);
    else
        readPo(in, path.string(), sink);
}

ExchangeDocument readExchangeFile(const std::filesystem::path& path) {
    DocumentCollector collector;
    readExchangeFile(path, collector);
    return std::move(collector.document);
}

} // namespace corvane::exchange
