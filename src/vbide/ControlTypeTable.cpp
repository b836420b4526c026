#include "vbide/ControlTypeTable.h"

#include "files/AppPaths.h"
#include "files/RegularFile.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace corvane::vbide {

namespace {

struct TableLine {
    std::vector<std::string> words;
    std::string where; // "file line N"
};

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

// Joins continuation lines (starting with a blank) to their declaration; drops comments.
std::vector<TableLine> readDeclarations(std::istream& in, std::string_view sourceName) {
    std::vector<TableLine> result;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t hash = line.find('#');
        std::string content = line.substr(0, hash);
        auto words = splitWords(content);
        if (words.empty())
            continue;
        bool continuation = content[0] == ' ' || content[0] == '\t';
        if (continuation && !result.empty()) {
            result.back().words.insert(result.back().words.end(), words.begin(), words.end());
            continue;
        }
        result.push_back({words, std::string(sourceName) + " line " + std::to_string(number)});
    }
    return result;
}

[[noreturn]] void fault(const std::string& where, const std::string& what) {
    throw VbError(vberr::InvalidCall, "Control type table " + where + ": " + what);
}

PropertyKind parseKind(const std::string& word, const std::string& where) {
    static const std::pair<const char*, PropertyKind> kinds[] = {{"String", PropertyKind::String},
                                                                 {"Long", PropertyKind::Long},
                                                                 {"Double", PropertyKind::Double},
                                                                 {"Boolean", PropertyKind::Boolean},
                                                                 {"Object", PropertyKind::Object}};
    for (const auto& [name, kind] : kinds)
        if (equalsIgnoreCase(word, name))
            return kind;
    fault(where, "unknown kind '" + word + "'");
}

Variant parseDefault(PropertyKind kind, const std::string& text, const std::string& where) {
    try {
        switch (kind) {
        case PropertyKind::String:
            if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
                return Variant(text.substr(1, text.size() - 2));
            return Variant(text);
        case PropertyKind::Long:
            return Variant(Variant(text).toLong());
        case PropertyKind::Double:
            return Variant(Variant(text).toDouble());
        case PropertyKind::Boolean:
            return Variant(Variant(text).toBool());
        case PropertyKind::Object:
            break;
        }
    } catch (const VbError&) {
    }
    fault(where, "bad default value '" + text + "'");
}

Variant emptyDefault(PropertyKind kind) {
    switch (kind) {
    case PropertyKind::String:
        return Variant("");
    case PropertyKind::Long:
        return Variant(int32_t{0});
    case PropertyKind::Double:
        return Variant(0.0);
    case PropertyKind::Boolean:
        return Variant(false);
    case PropertyKind::Object:
        break;
    }
    return Variant::nothing();
}

} // namespace

ControlTypeTable ControlTypeTable::parse(std::istream& in, std::string_view sourceName) {
    ControlTypeTable table;
    auto declarations = readDeclarations(in, sourceName);
    for (const auto& line : declarations)
        if (line.words[0] == "property")
            table.declareProperty(line.words, line.where);
    for (const auto& line : declarations) {
        const auto& words = line.words;
        if (words[0] == "set" && words.size() >= 2)
            table.sets_[foldCase(words[1])] =
                std::vector<std::string>(words.begin() + 2, words.end());
        else if (words[0] == "invisible")
            for (size_t i = 1; i < words.size(); ++i)
                table.invisible_.push_back(foldCase(words[i]));
        else if (words[0] != "property" && words[0] != "control")
            fault(line.where, "unknown declaration '" + words[0] + "'");
    }
    for (const auto& line : declarations) {
        if (line.words[0] != "control")
            continue;
        if (line.words.size() < 2)
            fault(line.where, "a control without a ProgId");
        table.addType(line.words[1], line.words, line.where);
    }
    if (!table.sets_.count("extender") || !table.sets_.count("invisibleextender"))
        fault(std::string(sourceName), "the sets Extender and InvisibleExtender are required");
    return table;
}

void ControlTypeTable::declareProperty(const std::vector<std::string>& words,
                                       const std::string& where) {
    if (words.size() < 3 || words.size() > 4)
        fault(where, "expected: property <Name> <Kind> [<default>]");
    auto spec = std::make_unique<PropertySpec>();
    spec->name = words[1];
    spec->kind = parseKind(words[2], where);
    spec->defaultValue =
        words.size() == 4 ? parseDefault(spec->kind, words[3], where) : emptyDefault(spec->kind);
    properties_[spec->name] = std::move(spec);
}

std::vector<const PropertySpec*>
ControlTypeTable::resolveItems(const std::vector<std::string>& words, size_t first,
                               const std::string& where, int depth) const {
    if (depth > 16)
        fault(where, "property sets refer to each other in a circle");
    std::vector<const PropertySpec*> result;
    for (size_t i = first; i < words.size(); ++i) {
        std::vector<const PropertySpec*> items;
        if (words[i][0] == '@') {
            auto set = sets_.find(foldCase(words[i].substr(1)));
            if (set == sets_.end())
                fault(where, "unknown set '" + words[i] + "'");
            items = resolveItems(set->second, 0, where, depth + 1);
        } else {
            const PropertySpec* spec = property(words[i]);
            if (!spec)
                fault(where, "property '" + words[i] + "' is not declared");
            items.push_back(spec);
        }
        for (const auto* spec : items)
            if (std::find(result.begin(), result.end(), spec) == result.end())
                result.push_back(spec);
    }
    return result;
}

void ControlTypeTable::addType(const std::string& progId, const std::vector<std::string>& words,
                               const std::string& where) {
    auto type = std::make_shared<ControlType>();
    type->progId = progId;
    type->listed = true;
    type->properties = resolveItems(words, 2, where, 0);
    type->indexProperties();
    types_[progId] = std::move(type);
}

ControlTypeTable ControlTypeTable::load(const std::filesystem::path& path) {
    checkRegularFile(path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw VbError(vberr::FileNotFound, "Control type table not found: '" + path.string() + "'",
                      path.string());
    return parse(in, path.string());
}

std::shared_ptr<const ControlTypeTable> ControlTypeTable::standard() {
    static auto table =
        std::make_shared<const ControlTypeTable>(load(dataDirectory() / "controltypes.txt"));
    return table;
}

std::shared_ptr<const ControlType> ControlTypeTable::typeFor(std::string_view progId) const {
    if (auto listed = types_.find(progId); listed != types_.end())
        return listed->second;
    std::lock_guard<std::mutex> guard(*activeXLock_);
    if (auto known = activeX_.find(progId); known != activeX_.end())
        return known->second;
    std::string key = foldCase(progId);
    auto type = std::make_shared<ControlType>();
    type->progId = std::string(progId);
    type->invisibleAtRunTime =
        std::find(invisible_.begin(), invisible_.end(), key) != invisible_.end();
    std::vector<std::string> set = {type->invisibleAtRunTime ? "@InvisibleExtender" : "@Extender"};
    type->properties = resolveItems(set, 0, "set", 0);
    type->indexProperties();
    if (activeX_.size() > 4096) // bounds the memory that random type names can take
        activeX_.clear();
    activeX_[std::string(progId)] = type;
    return type;
}

const PropertySpec* ControlTypeTable::property(std::string_view name) const {
    auto it = properties_.find(name);
    return it == properties_.end() ? nullptr : it->second.get();
}

} // namespace corvane::vbide
