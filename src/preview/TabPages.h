// TabPages: the pages of a tab control (a tab dialog such as TabDlg.SSTab): their captions and
// the page each control inside it lies on. The file keeps a page's controls as ordinary nested
// blocks and names them in "Tab(n).Control(m)" properties; controls of the pages that were not
// open when the form was saved are moved HiddenPageShift twips to the left.
#pragma once

#include "vbide/Property.h"

#include <map>
#include <string>
#include <vector>

namespace corvane::vbide {
class VBControl;
}

namespace corvane::preview {

// How far the controls of a page not open at design time are moved left, in twips.
inline constexpr double HiddenPageShift = 75000;
// A Left at or below this (in twips) marks a control of a page not open at design time.
inline constexpr double HiddenPageLimit = -60000;

class TabPages {
public:
    // True when the control is a tab control whose children lie on pages.
    static bool isTabControl(vbide::VBControl& control);
    // Reads the pages of a tab control's properties.
    explicit TabPages(const vbide::Properties& properties);

    // The page captions (accelerator marks removed), one per page.
    const std::vector<std::string>& captions() const noexcept { return captions_; }
    // The page of a child: the one whose list names it (by key, else by name); an unnamed
    // child lies on the page open at design time unless it was moved left (`moved`), then
    // its page is unknown (-1).
    int pageOf(const std::string& key, const std::string& name, bool moved) const;

private:
    std::vector<std::string> captions_;
    std::map<std::string, int> pageByName_; // folded names and keys
    int designPage_ = 0;
};

} // namespace corvane::preview
