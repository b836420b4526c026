// The help compilers' kinds, and GetFileName.
#include "generate/CompilerLocation.h"

#include "addin/ErrorScope.h"
#include "controls/FileDialog.h"
#include "files/FileObject.h"

namespace corvane {

const CompilerKind& htmlHelpCompilerKind() {
    static const CompilerKind kind{"SOFTWARE\\Classes\\hhp.file",
                                   "SOFTWARE\\Classes\\hhp.file\\shell",
                                   "SOFTWARE\\Classes\\hhp.file\\shell\\open",
                                   "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command",
                                   "hhw.exe",
                                   "hhc.exe",
                                   134,
                                   135,
                                   " (hhc.exe)|hhc.exe"};
    return kind;
}

const CompilerKind& winHelpCompilerKind() {
    static const CompilerKind kind{"SOFTWARE\\Classes\\hpjfiletype",
                                   "SOFTWARE\\Classes\\hpjfiletype\\shell",
                                   "SOFTWARE\\Classes\\hpjfiletype\\shell\\open",
                                   "SOFTWARE\\Classes\\hpjfiletype\\shell\\open\\command",
                                   "hcw.exe",
                                   "hcrtf.exe",
                                   154,
                                   155,
                                   " (hcrtf.exe)|hcrtf.exe"};
    return kind;
}

std::string GetFileName(controls::FileDialog& cdlg, const std::string& Caption, const std::string& Filter,
                        const std::string& InitPath, const bool& Existing) {
    ErrorScope scope("modMain", "GetFileName");
    scope.parameters({{"cdlg", [] { return Variant::object("FileDialog"); }},
                      watch("Caption", Caption),
                      watch("Filter", Filter),
                      watch("InitPath", InitPath),
                      watch("Existing", Existing)});
    return scope.run([&] {
        if (!InitPath.empty()) {
            FileObject path{InitPath};
            scope.step([&] { cdlg.SetFileName(path.BaseName().empty() ? std::string() : path.FileName()); });
            scope.step([&] { cdlg.SetInitDir(path.Path()); });
        } else {
            scope.step([&] { cdlg.SetInitDir(""); });
            scope.step([&] { cdlg.SetFileName(""); });
        }
        scope.step([&] { cdlg.SetDialogTitle(Caption); });
        scope.step([&] { cdlg.SetFilter(Filter); });
        scope.step([&] {
            int32_t flags = cdlg.Flags();
            flags = Existing ? (flags | controls::cdlOFNFileMustExist) : (flags & ~controls::cdlOFNFileMustExist);
            cdlg.SetFlags(flags);
        });
        scope.step([&] { cdlg.SetOKButtonCaption("Select"); });
        scope.step([&] { cdlg.ShowOpen(); });
        return cdlg.Cancelled() ? std::string() : cdlg.FileName();
    });
}

} // namespace corvane
