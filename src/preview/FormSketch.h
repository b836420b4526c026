// FormSketch: the layout of one designer (form, MDI form, user control, property page, user
// document) as a flat list of shapes in form pixels, ready to be drawn: the client area, each
// control's rectangle (or line, shape, marker), its caption, the menu bar's top-level captions,
// the tab controls with their pages, and what could not be placed as the file says. It is a
// sketch of the layout, not a rendering of Windows controls. The sketch holds no Qt.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace corvane::vbide {
class VBControl;
}

namespace corvane::preview {

// Twips per pixel of the screen the sketch is drawn for (96 dots per inch).
inline constexpr double TwipsPerPixel = 15.0;

// A rectangle in form pixels, the client area's top left corner at (0, 0).
struct PixelRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double right() const noexcept { return x + width; }
    double bottom() const noexcept { return y + height; }
    // True when the point lies inside (edges included).
    bool contains(double px, double py) const noexcept {
        return px >= x && px <= right() && py >= y && py <= bottom();
    }
    // True when the two rectangles share any area.
    bool overlaps(const PixelRect& other) const noexcept {
        return x < other.right() && other.x < right() && y < other.bottom() && other.y < bottom();
    }
};

// How a control is drawn.
enum class SketchKind {
    Box,         // a rectangle with its caption inside
    Frame,       // a rectangle with its caption on the top edge (VB.Frame)
    TabControl,  // a tab control: tab headers on top, one page below
    UserControl, // a user control of the project, with its own controls drawn inside
    Line,        // VB.Line: a segment from (x1, y1) to (x2, y2)
    Shape,       // VB.Shape: a rectangle, square, oval, circle or rounded rectangle
    Marker,      // a control invisible at run time (Timer, CommonDialog, ImageList ...)
};

// One control of the sketch.
struct SketchItem {
    std::string key;      // the control key: the name, with "(index)" for an array member
    std::string typeName; // "CommandButton", "ListView"
    std::string caption;  // the text drawn (accelerator marks removed)
    SketchKind kind = SketchKind::Box;
    PixelRect rect;       // where it lies (for a line, the box around it)
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // a line's ends
    int shape = 0;        // a Shape's Shape property: 0 rectangle, 1 square, 2 oval, 3 circle, 4/5 rounded
    bool visible = true;  // the Visible property
    bool odd = false;     // its geometry is listed in FormSketch::oddities
    int parent = -1;      // the item of its container, -1 for the designer itself
    int tabPage = -1;     // for a child of a tab control: its page (-1: none, or unknown)
    int embeddedIn = -1;  // for a control of a user control's own designer: the instance's item
    const vbide::VBControl* control = nullptr; // the live control (null for embedded ones)
};

// A tab control of the sketch and its pages.
struct TabSet {
    int item = -1;                     // the tab control's item
    std::vector<std::string> captions; // one per page
    double headerHeight = 20;          // pixels
};

// A control whose geometry is missing or odd: it is drawn where it can be.
struct Oddity {
    std::string key;     // the control key (embedded controls: "instance.key")
    std::string problem; // what is odd, for the user
};

// The page of each tab control shown, by the tab control's item (pages count from 0;
// a tab control not named shows its first page).
using TabChoice = std::map<int, int>;

struct FormSketch {
    std::string moduleName;            // the component's name
    std::string typeName;              // "Form", "MDIForm", "UserControl" ...
    std::string caption;               // the designer's caption
    double clientWidth = 0;            // the client area, pixels
    double clientHeight = 0;
    bool mdi = false;                  // an MDI form (its free client area is the workspace)
    std::vector<std::string> menu;     // the visible top-level menu captions, in order
    std::vector<SketchItem> items;     // in file order, depth first
    std::vector<TabSet> tabSets;
    std::vector<Oddity> oddities;
    std::string unreadable;            // why the designer could not be read ("" when it could)

    // True when the item lies on the shown page of every tab control around it.
    bool shown(int item, const TabChoice& pages) const;
    // The topmost shown item at a point, or -1. Controls of a user control's own designer
    // answer with the instance they belong to.
    int itemAt(double x, double y, const TabChoice& pages) const;
    // The item of a live control, or -1.
    int itemOf(const vbide::VBControl* control) const;
    // The tab set of a tab control's item, or null.
    const TabSet* tabSetOf(int item) const;
    // Where a page's header lies: the headers share the top of the tab control in one row.
    PixelRect tabHeader(const TabSet& set, int page) const;
    // The tab header at a point, as (tab control's item, page), or (-1, -1).
    std::pair<int, int> tabHeaderAt(double x, double y, const TabChoice& pages) const;
    // The pages to show so that an item is in view: its own choice of pages, changed only
    // where a tab control around the item shows another page.
    TabChoice pagesShowing(int item, TabChoice pages) const;
};

// A caption without its accelerator marks ("&File" -> "File", "&&" -> "&").
std::string withoutAccelerators(const std::string& caption);

} // namespace corvane::preview
