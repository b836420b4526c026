// TranslationExport: the exchange document of one language of a project, made unit by unit
// as a writer asks for them, so that an export never holds a second copy of the project's text.
#pragma once

#include "exchange/ExchangeDocument.h"
#include "exchange/ProjectTexts.h"

#include <cstddef>

namespace corvane::exchange {

// The header of the export of `language` (a language of the project): project, languages
// and their tags `sourceTag` and `targetTag`; no units.
ExchangeDocument exportHeader(const ProjectTexts& project, const std::string& language, const std::string& sourceTag,
                              const std::string& targetTag);
// The units of `language`: one per control whose primary language text has more than spaces,
// in module and control order, with that text as source and the language's text as target.
// Controls without primary text have nothing to translate (coverage lists them). Each unit is
// made when `visit` takes it. The project outlives the source.
UnitSource exportUnits(const ProjectTexts& project, const std::string& language);
// The number of units exportUnits gives.
size_t exportUnitCount(const ProjectTexts& project);
// The header and every unit in one document.
ExchangeDocument exportLanguage(const ProjectTexts& project, const std::string& language,
                                const std::string& sourceTag, const std::string& targetTag);

} // namespace corvane::exchange
