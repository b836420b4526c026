// ExchangeFile: the two file formats of the translator exchange, chosen by name or found
// from a file's name and content.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace corvane::exchange {

enum class ExchangeFormat { Xliff, Po };

// The largest exchange file an import reads: far beyond the text of any project (the files
// are read as streams, so this bounds the time an import may take, not its memory).
inline constexpr uint64_t MaxExchangeFileSize = uint64_t{1} << 30;

// The format of a --format value ("xliff", "po"); nothing for another name.
std::optional<ExchangeFormat> formatNamed(std::string_view name);
// Reads an exchange file of either format into `sink`, as a stream: ".xlf"/".xliff" and ".po"
// by name, any other by its first character ('<' or a UTF-16 byte-order mark for XLIFF).
// Raises ExchangeFormatError, or VbError 53/75 (also for a file that is no regular file or
// is larger than MaxExchangeFileSize), and whatever the sink raises.
void readExchangeFile(const std::filesystem::path& path, ExchangeSink& sink);
// Reads a whole exchange file.
ExchangeDocument readExchangeFile(const std::filesystem::path& path);

} // namespace corvane::exchange
