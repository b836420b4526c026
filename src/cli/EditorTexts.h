// EditorTexts: the editor's records of one module as the exchange library reads them, so that
// the command line's export, import and coverage and the editor's own coverage figures see the
// same controls and texts.
#pragma once

#include "exchange/ProjectTexts.h"
#include "helpdata/HelpItem.h"

#include <string>

namespace corvane::cli {

// The controls of module `name` from its records, in record order, with every stored text;
// records kept only for their text (their control gone) are left out.
exchange::ModuleTexts moduleTexts(const std::string& name, const HelpItems& records);
// The same, taking the records' texts instead of copying them: the records keep none.
exchange::ModuleTexts takeModuleTexts(const std::string& name, HelpItems& records);
// True when a module's records are all kept only for their text (the module is gone).
bool isGoneModule(const HelpItems& records);

} // namespace corvane::cli
