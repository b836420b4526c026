#include "exchange/ProjectTexts.h"

#include "vbruntime/CaseFold.h"

namespace corvane::exchange {

bool hasMoreThanSpaces(std::string_view text) {
    return text.find_first_not_of(' ') != std::string_view::npos;
}

std::string_view ControlTexts::text(std::string_view language) const {
    const int32_t position = texts.PositionOf(language);
    return position == 0 ? std::string_view("") : texts.Item(position); // "" has a place to copy from
}

void ControlTexts::setText(std::string_view language, std::string_view text) {
    if (const int32_t position = texts.PositionOf(language); position != 0) {
        const std::string& spelling = texts.KeyAt(position); // the pool's copy outlives the removal
        texts.Remove(position);
        texts.Add(text, spelling);
    } else {
        texts.Add(text, language);
    }
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
