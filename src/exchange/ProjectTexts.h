// ProjectTexts: what export, import and coverage need to know of a project's help text: its
// modules and their controls in project order, each control's text per language, and the
// project's languages. A plain copy, made from the opened project by the command line.
#pragma once

#include "vbruntime/HelpTextList.h"
#include "vbruntime/NamePool.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::exchange {

// One control of a module.
struct ControlTexts {
    // The control key ("cmdGo(1)").
    std::string key;
    // Its type name and caption.
    PooledName type;
    std::string caption;
    // Its text per language, as stored: one block per control, so that a project of a million
    // controls is copied without a million small strings.
    HelpTextList texts;

    // The text in `language` (letter case ignored); "" when it has none.
    std::string_view text(std::string_view language) const;
    // Sets the text in `language`, adding the language when the control has no text in it.
    void setText(std::string_view language, std::string_view text);
    // True when the text in `language` has more than spaces: the control has help text there.
    bool hasText(std::string_view language) const;
};

// One module (form, user control ...) and its controls.
struct ModuleTexts {
    std::string name;
    std::vector<ControlTexts> controls;
    // The module's designer could not be read: its controls are those its records name.
    bool unreadable = false;
};

struct ProjectTexts {
    // The project file's name ("OrderEntry.vbp").
    std::string project;
    // The primary language and every selected language, spelled as the project spells them.
    std::string primaryLanguage;
    std::vector<std::string> languages;
    // The modules in project order.
    std::vector<ModuleTexts> modules;

    // The project's spelling of `language` (letter case ignored); "" when it is not one of
    // its languages.
    std::string languageNamed(std::string_view language) const;
};

// True when `text` has a character other than the space.
bool hasMoreThanSpaces(std::string_view text);

} // namespace corvane::exchange
