#include "vbruntime/PreparedTemplate.h"

#include "vbruntime/CaseFold.h"

namespace corvane {

PreparedTemplate::PreparedTemplate(std::string_view templ, std::initializer_list<std::string_view> keys,
                                   char delimiter) {
    *this = cut(templ, delimiter, [&](std::string_view key) {
        int number = 0;
        for (std::string_view known : keys) {
            ++number;
            if (equalsIgnoreCase(key, known))
                return number;
        }
        return 0;
    });
}

void PreparedTemplate::addText(std::string_view text) {
    if (text.empty())
        return;
    fixedSize_ += text.size();
    if (!pieces_.empty() && pieces_.back().value == 0)
        pieces_.back().text += text; // neighbouring fixed text joins one piece
    else
        pieces_.push_back({std::string(text), 0});
}

} // namespace corvane
