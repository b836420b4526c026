// ExchangeFile: the two file formats of the translator exchange, chosen by name or found
// from a file's name and content.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace corvane::exchange {

enum class ExchangeFormat { Xliff, Po };

// The format of a --format value ("xliff", "po"); nothing for another name.
std::optional<ExchangeFormat> formatNamed(std::string_view name);
// Reads an exchange file of either format: ".xlf"/".xliff" and ".po" by name, any other by
// its first character ('<' for XLIFF). Raises ExchangeFormatError, or VbError 53/75.
ExchangeDocument readExchangeFile(const std::filesystem::path& path);

} // namespace corvane::exchange
