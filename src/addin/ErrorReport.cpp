#include "addin/ErrorReport.h"

#include "addin/ComponentRegistry.h"
#include "files/AppPaths.h"
#include "vbruntime/Variant.h"

namespace corvane {

namespace {

constexpr std::string_view CrLf = "\r\n";

// The value's text with every NUL character written as "{Null}".
std::string plainText(const Variant& value) {
    std::string text = value.toText();
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\0')
            out += "{Null}";
        else
            out += c;
    }
    return out;
}

// The items rendered in turn under "name[i]", i counting from `first`.
std::string renderItems(std::string_view name, const Variant& value, int64_t first) {
    std::string out;
    int64_t index = first;
    for (const auto& item : value.elements())
        out += FormatVariable(std::string(name) + "[" + std::to_string(index++) + "]", item);
    return out;
}

// The body between the tags and what follows the closing tag.
std::pair<std::string, std::string_view> bodyAndEnding(std::string_view name, const Variant& value) {
    using Kind = Variant::Kind;
    switch (value.kind()) {
    case Kind::Empty: return {"{Empty}", {}};
    case Kind::Null: return {"{Null}", {}};
    case Kind::Nothing: return {"{Nothing}", {}};
    case Kind::Collection: return {std::string(CrLf) + renderItems(name, value, 1) + std::string(CrLf), {}};
    case Kind::Object:
        if (value.typeName() == "Collection")
            return {std::string(CrLf) + renderItems(name, value, 1) + std::string(CrLf), {}};
        return {"{" + value.typeName() + "}", {}};
    case Kind::DataObject: return {"{DataObject}", {}};
    case Kind::Udt: return {"{UDT}", {}};
    case Kind::Error: return {{}, {}};
    case Kind::Array: return {std::string(CrLf) + renderItems(name, value, value.lowerBound()), CrLf};
    default: return {plainText(value), CrLf};
    }
}

} // namespace

std::string FormatVariable(std::string_view name, const Variant& value) {
    auto [body, ending] = bodyAndEnding(name, value);
    std::string out;
    out.reserve(name.size() * 2 + body.size() + 7);
    out.append("<").append(name).append(">");
    out.append(body);
    out.append("</").append(name).append(">");
    out.append(ending);
    return out;
}

std::string variablesText(std::string_view locals, std::string_view moduleVariables, std::string_view parameters) {
    std::string out;
    out.append("<Variables>\r\n<LocalVariables>\r\n").append(locals);
    out.append("</LocalVariables>\r\n<ModuleVariables>\r\n").append(moduleVariables);
    out.append("</ModuleVariables>\r\n</Variables>\r\n<Parameters>\r\n").append(parameters);
    out.append("\r\n</Parameters>");
    return out;
}

std::string ReportError(int32_t& number, std::string_view module, std::string_view procedure,
                        std::string_view description, int32_t& line, std::string_view locals,
                        std::string_view moduleVariables, std::string_view parameters) {
    auto component = ComponentRegistry::instance().create(ErrorComponentId);
    Variant numberArgument(number);
    Variant lineArgument(line);
    component->ErrorHandler(numberArgument, Variant(ReportApplicationName), Variant(module), Variant(procedure),
                            Variant(description), lineArgument, Variant(variablesText(locals, moduleVariables, parameters)),
                            Variant(programVersion()));
    // The arguments are passed by reference, as VB passes them to a component called by name.
    if (numberArgument.isNumeric())
        number = numberArgument.toLong();
    if (lineArgument.isNumeric())
        line = lineArgument.toLong();
    return component->Action();
}

} // namespace corvane
