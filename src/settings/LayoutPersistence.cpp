// The procedures of modMain that keep the editor window's placement and its grid's view and
// grouping between uses, in the registry.
#include "controls/ActiveBar.h"
#include "controls/Form.h"
#include "controls/Grid.h"
#include "controls/Splitter.h"
#include "registry/RegistryAccess.h"
#include "settings/ModMain.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbConvert.h"

#include <sstream>

namespace corvane {

namespace {

const std::string PositionKeyPrefix = "Software\\Halvex\\Corvane\\WindowPosition_";

NamedValue objectParameter(std::string name, std::string typeName) {
    return {std::move(name), [typeName] { return Variant::object(typeName); }};
}

std::string trimSpaces(const std::string& text) {
    auto begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

} // namespace

void ModMain::SaveWindowPosition(const std::string& Window, controls::Form& TargetForm,
                                 controls::Grid& grid, controls::Splitter& Split) {
    (void)Split; // listed in reports only
    const std::string key = PositionKeyPrefix + Window;
    ErrorScope scope("modMain", "SaveWindowPosition");
    scope.moduleVariables(*this).parameters({watch("Window", Window),
                                             objectParameter("TargetForm", TargetForm.Name()),
                                             objectParameter("Split", "Splitter")});
    scope.run([&] {
        auto& reg = registry();
        auto set = [&](const char* name, const std::string& value) {
            scope.step([&] { reg.SetValue(RegistryRoot::CurrentUser, key, name, value, REG_SZ); });
        };
        scope.step([&] { reg.CreateKey(RegistryRoot::CurrentUser, key); });
        set("WindowState", std::to_string(TargetForm.WindowState()));
        if (TargetForm.WindowState() != controls::vbNormal)
            scope.step([&] { TargetForm.SetWindowState(controls::vbNormal); });
        set("Left", std::to_string(TargetForm.Left()));
        set("Top", std::to_string(TargetForm.Top()));
        set("Width", std::to_string(TargetForm.Width()));
        set("Height", std::to_string(TargetForm.Height()));
        set("GridView", std::to_string(grid.View()));
        set("GridGroups", SaveGridGroups(grid));
    });
}

void ModMain::LoadWindowPosition(const std::string& Window, controls::Form& TargetForm,
                                 controls::Grid& grid, controls::ActiveBar& bar,
                                 controls::Splitter& Split) {
    (void)Split;
    const std::string key = PositionKeyPrefix + Window;
    ErrorScope scope("modMain", "LoadWindowPosition");
    scope.moduleVariables(*this).parameters({watch("Window", Window),
                                             objectParameter("TargetForm", TargetForm.Name()),
                                             objectParameter("Split", "Splitter")});
    scope.run([&] {
        auto& reg = registry();
        auto get = [&](const char* name) {
            return scope.value([&] { return reg.GetValue(RegistryRoot::CurrentUser, key, name); });
        };
        if (get("Left").empty())
            return; // first use: nothing stored
        // The values are written one by one, so another program saving its position may have
        // written "Left" and not yet the rest: a value still missing is left as it is, as "Left"
        // missing leaves all. A value that is there and not a number is an error.
        const std::string left = get("Left"), top = get("Top"), width = get("Width"), height = get("Height");
        scope.step([&] { TargetForm.SetWindowState(controls::vbNormal); });
        if (!top.empty() && !width.empty() && !height.empty())
            scope.step([&] {
                TargetForm.Move(Variant(left).toLong(), Variant(top).toLong(), Variant(width).toLong(),
                                Variant(height).toLong());
            });
        if (const std::string state = get("WindowState"); !state.empty())
            scope.step([&] { TargetForm.SetWindowState(static_cast<int16_t>(Variant(state).toLong())); });
        if (const std::string view = get("GridView"); !view.empty())
            scope.step([&] { grid.SetView(static_cast<int16_t>(Variant(view).toLong())); });
        if (grid.View() == controls::jgexCard) {
            scope.step([&] {
                bar.Bands(0).Tools().Item("cardview").SetChecked(true);
                bar.Bands(0).Tools().Item("tableview").SetChecked(false);
            });
        }
        LoadGridGroups(get("GridGroups"), grid);
    });
}

std::string ModMain::SaveGridGroups(controls::Grid& grid) {
    std::string result;
    ErrorScope scope("modMain", "SaveGridGroups");
    scope.moduleVariables(*this).parameters({objectParameter("Grid", "GridEX")}).locals(
        {watch("s", result)});
    return scope.run([&] {
        result.clear();
        for (const controls::GridOrderKey& level : grid.Groups()) {
            if (!result.empty())
                result += ',';
            result += std::to_string(level.ColIndex) + ":" + std::to_string(level.SortOrder);
        }
        return result;
    });
}

void ModMain::LoadGridGroups(const std::string& s, controls::Grid& grid) {
    std::string item;
    ErrorScope scope("modMain", "LoadGridGroups");
    scope.moduleVariables(*this)
        .parameters({watch("s", s), objectParameter("Grid", "GridEX")})
        .locals({watch("item", item)});
    scope.run([&] {
        std::istringstream pieces(s);
        while (std::getline(pieces, item, ',')) {
            if (trimSpaces(item).empty())
                continue;
            scope.step([&] {
                std::string column = Utilities::GetToken(item, ":", 1);
                std::string order = Utilities::GetToken(item, ":", 2);
                grid.Groups().Add(static_cast<int16_t>(CInt(Variant(column).toDouble())),
                                  CInt(Variant(order).toDouble()), 0);
            });
        }
    });
}

} // namespace corvane
