#include "exchange/ProjectTexts.h"

#include "vbruntime/CaseFold.h"

namespace corvane::exchange {

bool hasMoreThanSpaces(std::string_view text) {
    return text.find_first_not_of(' ') != std::string_view::npos;
}

const std::string& ControlTexts::text(std::string_view language) const {
    static const std::string none;
    for (const auto& [name, value] : texts)
        if (equalsIgnoreCase(name, language))
            return value;
    return none;
}

bool ControlTexts::hasText(std::string_view language) const {
    return hasMoreThanSpaces(text(language));
}

std::string ProjectTexts::languageNamed(std::string_view language) const {
    for (const std::string& name : languages)
        if (equalsIgnoreCase(name, language))
            return name;
    return {};
}


} // namespace corvane::exchange
