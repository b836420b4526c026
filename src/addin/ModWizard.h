// modWizard: the menu entry's creation, the captions of windows from the string table, and
// the add-in's own pictures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace corvane {

namespace controls {
class Form;
}
namespace vbide {
class CommandBarControl;
class VBE;
struct Picture;
} // namespace vbide

// Appends a button to the IDE's "Add-Ins" menu with the caption and the picture; null when the
// menu is missing or the entry could not be made. Failures are not reported.
std::shared_ptr<vbide::CommandBarControl> AddToAddInCommandBar(vbide::VBE& VBInst, const std::string& sCaption,
                                                               std::shared_ptr<const vbide::Picture> oBitmap);

// Replaces string table numbers held by the window's Tag and its controls' Tag, Caption and
// ToolTipText by the texts they name; every failure is ignored.
void LoadResStrings(controls::Form& frm);

// A picture of the add-in's resources (1073: the menu icon); raises 326 for another number.
std::shared_ptr<const vbide::Picture> LoadResPicture(int32_t number);

} // namespace corvane
