#include "addin/ModWizard.h"

#include "addin/ErrorScope.h"
#include "addin/StringTable.h"
#include "controls/Form.h"
#include "vbide/Clipboard.h"
#include "vbide/CommandBars.h"
#include "vbide/VBE.h"
#include "vbruntime/VbConvert.h"

#include <string_view>

namespace corvane::embedded {
std::string_view bitmap1073();
}

namespace corvane {

namespace {

// The string table entry a numeric property text names.
int16_t entryNumber(const std::string& text) { return CInt(Variant(text).toDouble()); }

// Runs one step of LoadResStrings: a failure is cleared and the walk goes on.
template <typename F>
void ignoring(F&& step) {
    ErrorScope::ignoringFailures(std::forward<F>(step));
}

} // namespace

std::shared_ptr<vbide::CommandBarControl> AddToAddInCommandBar(vbide::VBE& VBInst, const std::string& sCaption,
                                                               std::shared_ptr<const vbide::Picture> oBitmap) {
    std::shared_ptr<vbide::CommandBarControl> result;
    try {
        auto cbMenu = VBInst.CommandBars("Add-Ins");
        if (!cbMenu)
            return nullptr;
        auto cbMenuCommandBar = cbMenu->Controls().Add(1);
        // n is the position of the entry that was last before the new one. A menu with fewer
        // than two earlier entries has no entry before n: that missing entry counts as one
        // that does not begin a group, so the new entry always gets a caption.
        auto n = static_cast<int16_t>(cbMenu->Controls().Count() - 1);
        auto beginsGroup = [&](int position) {
            return position >= 1 && cbMenu->Controls().Item(position)->BeginGroup();
        };
        cbMenuCommandBar->SetBeginGroup(beginsGroup(n) && !beginsGroup(n - 1));
        cbMenuCommandBar->SetCaption(sCaption);
        cbMenuCommandBar->SetOnAction("hello");
        VBInst.Clipboard().SetData(std::move(oBitmap));
        cbMenuCommandBar->PasteFace();
        result = cbMenuCommandBar;
    } catch (const std::exception&) {
        // Failures end the operation with what was set so far; nothing is reported.
    }
    return result;
}

void LoadResStrings(controls::Form& frm) {
    ErrorScope scope("modWizard", "LoadResStrings");
    scope.parameters({{"frm", [&frm] { return Variant::object(frm.Name()); }}});
    ignoring([&] {
        if (IsNumeric(frm.Tag()))
            frm.SetCaption(LoadResString(entryNumber(frm.Tag())));
    });
    for (controls::Control& ctl : frm.Controls()) {
        if (ctl.TypeName() == "Menu") {
            ignoring([&] {
                std::string caption = ctl.GetProperty("Caption").toText();
                if (IsNumeric(caption))
                    ctl.SetProperty("Caption", Variant(LoadResString(entryNumber(caption))));
            });
            continue;
        }
        ignoring([&] {
            if (IsNumeric(ctl.Tag())) {
                int16_t nRes = entryNumber(ctl.Tag());
                ctl.SetProperty("Caption", Variant(GetResString(nRes)));
            }
        });
        ignoring([&] {
            std::string tip = ctl.GetProperty("ToolTipText").toText();
            if (IsNumeric(tip))
                ctl.SetProperty("ToolTipText", Variant(LoadResString(entryNumber(tip))));
        });
    }
}

std::shared_ptr<const vbide::Picture> LoadResPicture(int32_t number) {
    if (number != 1073)
        throw VbError(326, "Resource with identifier '" + std::to_string(number) + "' not found");
    static const auto picture = std::make_shared<const vbide::Picture>(
        vbide::Picture{"bmp", std::string(embedded::bitmap1073())});
    return picture;
}

} // namespace corvane
