#include "exchange/ExchangeDocument.h"

namespace corvane::exchange {

std::string unitId(const std::string& module, const std::string& controlKey) {
    return module + "/" + controlKey;
}

UnitSource unitsOf(const ExchangeDocument& document) {
    return [&document](const UnitVisitor& visit) {
        for (const ExchangeUnit& unit : document.units)
            visit(unit);
    };
}

std::string controlNote(const ExchangeUnit& unit) {
    std::string note =
        "Module " + unit.module + ", control " + unit.controlKey + " (" + unit.controlType + ")";
    if (!unit.caption.empty())
        note += ", caption \"" + unit.caption + "\"";
    return note;
}

} // namespace corvane::exchange
