#include "settings/ModMain.h"

#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "files/AppPaths.h"
#include "files/FileObject.h"
#include "registry/RegistryAccess.h"
#include "vbruntime/Utilities.h"

#include <algorithm>
#include <charconv>

namespace corvane {

namespace {

// The time limit the options dialog stored, in whole minutes from 1 to a day; the default for
// none, for another value and for a registry that cannot be read (start-up goes on).
void readCompilerTimeLimit(ModMain& settings) {
    ErrorScope::ignoringFailures([&] {
        const std::string stored = registry().GetValue(RegistryRoot::CurrentUser, ModMain::OptionsKey,
                                                       ModMain::CompilerTimeLimitValue);
        int32_t minutes = 0;
        auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), minutes);
        if (error == std::errc() && end == stored.data() + stored.size() && minutes >= 1 && minutes <= 1440)
            settings.mCompilerTimeLimit = minutes * 60;
    });
}

} // namespace

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
    readCompilerTimeLimit(*this);
}

RunLimits ModMain::compilerRunLimits() const {
    RunLimits limits;
    limits.timeLimit = std::chrono::seconds(std::max(0, mCompilerTimeLimit));
    if (std::shared_ptr<controls::BusyWindow> busy = Busy)
        limits.stopRequested = [busy] { return busy->pollCancel(); };
    return limits;
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
