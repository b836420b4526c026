// TranslationExport: the exchange document of one language of a project.
#pragma once

#include "exchange/ExchangeDocument.h"
#include "exchange/ProjectTexts.h"

namespace corvane::exchange {

// The units of `language` (a language of the project): one per control whose primary
// language text has more than spaces, in module and control order, with that text as source
// and the language's text as target. Controls without primary text have nothing to
// translate (coverage lists them). `sourceTag` and `targetTag` are the languages' tags.
ExchangeDocument exportLanguage(const ProjectTexts& project, const std::string& language,
                                const std::string& sourceTag, const std::string& targetTag);

} // namespace corvane::exchange
