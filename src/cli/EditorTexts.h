// EditorTexts: the editor's records of one module as the exchange library reads them, so that
// the command line's export, import and coverage and the editor's own coverage figures see the
// same controls and texts.
#pragma once

#include "exchange/ProjectTexts.h"
#include "helpdata/HelpItem.h"

#include <string>

namespace corvane::cli {

// The controls of module `name` from its records, in record order, with every stored text.
exchange::ModuleTexts moduleTexts(const std::string& name, const HelpItems& records);

} // namespace corvane::cli
