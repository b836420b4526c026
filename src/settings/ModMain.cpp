#include "settings/ModMain.h"

#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "support/AppPaths.h"
#include "support/FileObject.h"
#include "support/Utilities.h"

namespace corvane {

void ModMain::main() {
    FileObject fso;
    std::string s;
    ErrorScope scope("modMain", "main");
    scope.moduleVariables(*this).locals(
        {{"fso", [] { return Variant::object("FileObject"); }}, watch("s", s)});
    scope.run([&] {
        scope.step([&] {
            Busy = std::shared_ptr<controls::BusyWindow>(
                controls::WindowSystem::get().createBusyWindow());
            Busy->SetShowProgress(false);
            Busy->SetStayOnTop(false);
        });
        scope.step([&] { Languages.Clear(); });
        scope.step([&] { fso.SetFullPath((dataDirectory() / "languages.txt").string()); });
        scope.step([&] { fso.OpenForReading(); });
        while (scope.value([&] { return !fso.AtEndOfStream(); })) {
            scope.step([&] { s = fso.ReadLine(); });
            // A blank line names no language.
            if (!s.empty() && !Utilities::KeyExists(Languages, s))
                Languages.Add(s, s);
        }
        scope.step([&] { fso.Close(); });
    });
}

NamedValues ModMain::moduleVariables() const {
    return {{"SelectedLanguages",
             [this] { return SelectedLanguages ? toVariant(*SelectedLanguages) : Variant::nothing(); }},
            watch("Languages", Languages),
            watch("mPrimaryLanguage", mPrimaryLanguage),
            watch("mCurrentLanguage", mCurrentLanguage),
            watch("mGenerateWinHelp", mGenerateWinHelp),
            watch("mGenerateHTML", mGenerateHTML),
            watch("mCompileWinHelp", mCompileWinHelp),
            watch("mCompileHTML", mCompileHTML),
            {"Busy", [this] { return objectVariant(Busy, "BusyWindow"); }}};
}

} // namespace corvane
