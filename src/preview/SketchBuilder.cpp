#include "preview/SketchBuilder.h"

#include "platform/Utf8Path.h"
#include "preview/ContainerScale.h"
#include "preview/DesignerNesting.h"
#include "preview/DesignerValues.h"
#include "preview/TabPages.h"
#include "vbide/ControlTypeTable.h"
#include "vbide/VBComponent.h"
#include "vbide/VBProject.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace corvane::preview {

namespace {

constexpr double MarkerSize = 24;    // pixels: a control invisible at run time
constexpr double MinimumSize = 8;    // pixels: the least extent a control is drawn with
constexpr int MaxEmbedding = 4;      // user controls inside user controls, at most
constexpr double DefaultClientWidth = 4800; // twips, for a designer that gives no client size
constexpr double DefaultClientHeight = 3600;
constexpr double FarOff = 1e6; // pixels: a damaged value places a control no farther

double bounded(double value, double low) { return std::isnan(value) ? 0.0 : std::clamp(value, low, FarOff); }

// A place within reach of drawing, whatever the file's numbers.
PixelRect bounded(const PixelRect& rect) {
    return {bounded(rect.x, -FarOff), bounded(rect.y, -FarOff), bounded(rect.width, 0), bounded(rect.height, 0)};
}

// Where the controls of one container go.
struct Frame {
    int depth = 0;        // the nesting depth of the container's own block
    int item = -1;        // the container's item (-1: the designer)
    ContainerScale scale; // its coordinate system
    PixelRect area;       // its inner area
    PixelRect free;       // what its aligned controls left of the area
    bool menu = false;    // a menu: what it holds are menu entries
};

ScaleSettings scaleSettingsOf(const vbide::Properties& properties) {
    ScaleSettings settings;
    settings.mode = integerOr(properties, "ScaleMode", 1);
    settings.left = numberOr(properties, "ScaleLeft", 0);
    settings.top = numberOr(properties, "ScaleTop", 0);
    settings.width = numberOr(properties, "ScaleWidth", 0);
    settings.height = numberOr(properties, "ScaleHeight", 0);
    return settings;
}

bool isRunTimeInvisible(const vbide::VBControl& control) {
    if (equalsIgnoreCase(control.ProgId(), "VB.Timer"))
        return true;
    try {
        return vbide::ControlTypeTable::standard()->typeFor(control.ProgId())->invisibleAtRunTime;
    } catch (const VbError&) {
        return false; // no type table: only the timer is known
    }
}

std::string captionOf(const vbide::Properties& properties) {
    std::string caption = textOf(properties, "Caption");
    return withoutAccelerators(caption.empty() ? textOf(properties, "Text") : caption);
}

const char* typeNameOf(int componentType) {
    switch (componentType) {
    case 6: return "MDIForm";
    case 7: return "PropertyPage";
    case 8: return "UserControl";
    case 9: return "UserDocument";
    default: return "Form";
    }
}

// The nesting depth of each control of a component, from its file; when the file cannot be
// read again or no longer matches the controls read, every control counts as placed on the
// designer itself, and the component is listed.
std::vector<int> depthsOf(vbide::VBComponent& component, int count, std::vector<Oddity>& oddities,
                          const std::string& key) {
    std::optional<std::vector<int>> depths;
    try {
        depths = controlDepthsOfFile(platform::pathFromUtf8(component.FileNames(1)));
    } catch (const VbError&) {
        // no file name: handled below
    }
    if (depths && static_cast<int>(depths->size()) == count)
        return *depths;
    oddities.push_back({key, "its file no longer matches the controls read: every control is placed on the designer"});
    return std::vector<int>(static_cast<size_t>(count), 1);
}

// Places every control of one designer (the component's, or a user control's inside an instance).
class Walk {
public:
    Walk(FormSketch& sketch, vbide::VBProject* project) : sketch_(sketch), project_(project) {}

    void place(vbide::VBControls& controls, const std::vector<int>& depths, const Frame& top, int embeddedIn,
               std::vector<std::string>& chain) {
        std::vector<Frame> open{top};
        size_t position = 0;
        for (const auto& control : controls) {
            int depth = depths[position++];
            while (open.size() > 1 && open.back().depth >= depth)
                open.pop_back();
            if (open.back().menu || equalsIgnoreCase(control->ProgId(), "VB.Menu")) {
                if (!open.back().menu && embeddedIn < 0)
                    addMenu(control->Properties());
                Frame entries = open.back();
                entries.depth = depth;
                entries.menu = true;
                open.push_back(entries);
                continue;
            }
            int item = addItem(*control, open.back(), embeddedIn);
            open.push_back(frameInside(item, *control, depth));
            if (sketch_.items[item].kind == SketchKind::UserControl)
                embed(item, *userControlFor(*control), chain);
        }
    }

private:
    void addMenu(const vbide::Properties& properties) {
        std::string caption = withoutAccelerators(textOf(properties, "Caption"));
        if (flagOr(properties, "Visible", true) && !caption.empty() && caption != "-")
            sketch_.menu.push_back(caption);
    }

    void addOddity(SketchItem& item, std::string problem) {
        item.odd = true;
        sketch_.oddities.push_back({item.key, std::move(problem)});
    }

    SketchKind kindOf(vbide::VBControl& control) const {
        const std::string& progId = control.ProgId();
        if (equalsIgnoreCase(progId, "VB.Line"))
            return SketchKind::Line;
        if (equalsIgnoreCase(progId, "VB.Shape"))
            return SketchKind::Shape;
        if (equalsIgnoreCase(progId, "VB.Frame"))
            return SketchKind::Frame;
        if (isRunTimeInvisible(control))
            return SketchKind::Marker;
        if (TabPages::isTabControl(control))
            return SketchKind::TabControl;
        if (userControlFor(control))
            return SketchKind::UserControl;
        return SketchKind::Box;
    }

    int addItem(vbide::VBControl& control, Frame& parent, int embeddedIn) {
        vbide::Properties& properties = control.Properties();
        SketchItem item;
        std::string key = controlKeyOf(properties);
        item.key = embeddedIn >= 0 ? sketch_.items[embeddedIn].key + "." + key : key;
        item.typeName = control.TypeName();
        item.caption = captionOf(properties);
        item.kind = kindOf(control);
        item.visible = flagOr(properties, "Visible", true);
        item.parent = parent.item;
        item.embeddedIn = embeddedIn;
        item.control = embeddedIn < 0 ? &control : nullptr;
        item.shape = integerOr(properties, "Shape", 0);
        if (item.kind == SketchKind::Line)
            placeLine(item, properties, parent);
        else
            placeBox(item, properties, parent, key);
        int index = static_cast<int>(sketch_.items.size());
        if (item.kind == SketchKind::TabControl) {
            auto pages = tabPages_.emplace(index, TabPages(properties)).first;
            double header = numberOr(properties, "TabHeight", 300);
            double headerHeight = std::abs(parent.scale.height(header));
            sketch_.tabSets.push_back({index, pages->second.captions(),
                                       std::clamp(headerHeight, MinimumSize, std::max(MinimumSize, item.rect.height))});
        }
        sketch_.items.push_back(std::move(item));
        return index;
    }

    void placeLine(SketchItem& item, const vbide::Properties& properties, const Frame& parent) {
        item.x1 = parent.scale.x(numberOr(properties, "X1", 0));
        item.y1 = parent.scale.y(numberOr(properties, "Y1", 0));
        item.x2 = parent.scale.x(numberOr(properties, "X2", 0));
        item.y2 = parent.scale.y(numberOr(properties, "Y2", 0));
        for (double* end : {&item.x1, &item.y1, &item.x2, &item.y2})
            *end = bounded(*end, -FarOff);
        item.rect = {std::min(item.x1, item.x2), std::min(item.y1, item.y2), std::abs(item.x2 - item.x1),
                     std::abs(item.y2 - item.y1)};
        if (!item.rect.overlaps(grown(parent.area)))
            addOddity(item, "lies outside its container");
    }

    void placeBox(SketchItem& item, const vbide::Properties& properties, Frame& parent, const std::string& key) {
        std::optional<double> left = numberOf(properties, "Left");
        std::optional<double> top = numberOf(properties, "Top");
        std::optional<double> width = numberOf(properties, "Width");
        std::optional<double> height = numberOf(properties, "Height");
        double x = left.value_or(0);
        if (parent.item >= 0 && sketch_.items[parent.item].kind == SketchKind::TabControl) {
            bool moved = x <= HiddenPageLimit;
            item.tabPage = tabPages_.at(parent.item).pageOf(key, textOf(properties, "Name"), moved);
            if (moved)
                x += HiddenPageShift;
            if (item.tabPage < 0)
                addOddity(item, "lies on a tab page that its tab control does not name");
        }
        if (!left || !top)
            addOddity(item, "has no Left or Top");
        if (item.kind == SketchKind::Marker) {
            item.rect = bounded(PixelRect{parent.scale.x(x), parent.scale.y(top.value_or(0)), MarkerSize, MarkerSize});
            return;
        }
        item.rect = {parent.scale.x(x), parent.scale.y(top.value_or(0)), parent.scale.width(width.value_or(0)),
                     parent.scale.height(height.value_or(0))};
        normalise(item.rect);
        item.rect = bounded(item.rect);
        align(item.rect, integerOr(properties, "Align", 0), parent);
        if (item.rect.width < 1 || item.rect.height < 1) {
            if (!item.odd)
                addOddity(item, "has no width or height");
            item.rect.width = std::max(item.rect.width, MinimumSize);
            item.rect.height = std::max(item.rect.height, MinimumSize);
        }
        if (!item.odd && !item.rect.overlaps(parent.area))
            addOddity(item, "lies outside its container");
    }

    // The top left corner stays where Left and Top put it, also under a user scale that
    // runs right to left or upwards; the extents count in pixels either way.
    static void normalise(PixelRect& rect) {
        rect.width = std::abs(rect.width);
        rect.height = std::abs(rect.height);
    }

    // A line along an edge has no area: its container's area grown by a pixel still meets it.
    static PixelRect grown(const PixelRect& rect) { return {rect.x - 1, rect.y - 1, rect.width + 2, rect.height + 2}; }

    // Aligned controls (1 top, 2 bottom, 3 left, 4 right) fill an edge of what is left of the
    // designer's client area, in file order.
    void align(PixelRect& rect, int alignment, Frame& parent) const {
        bool onDesigner = parent.item < 0 || sketch_.items[parent.item].kind == SketchKind::UserControl;
        if (!onDesigner || alignment < 1 || alignment > 4)
            return;
        PixelRect& free = parent.free;
        if (alignment <= 2) {
            rect.height = std::min(rect.height, free.height);
            rect = {free.x, alignment == 1 ? free.y : free.bottom() - rect.height, free.width, rect.height};
            free.height -= rect.height;
            if (alignment == 1)
                free.y += rect.height;
        } else {
            rect.width = std::min(rect.width, free.width);
            rect = {alignment == 3 ? free.x : free.right() - rect.width, free.y, rect.width, free.height};
            free.width -= rect.width;
            if (alignment == 3)
                free.x += rect.width;
        }
    }

    Frame frameInside(int index, vbide::VBControl& control, int depth) {
        SketchItem& item = sketch_.items[index];
        PixelRect area = item.rect;
        const vbide::Properties& properties = control.Properties();
        Frame frame{depth, index, ContainerScale::twips(area.x, area.y), area, area, false};
        if (!properties.find("ScaleMode"))
            return frame; // frames, tab controls and most ActiveX containers place in twips
        // The inner area is taken as the whole box: a border of a pixel or two is not worth
        // guessing (the type table cannot tell a picture box's default border from none).
        std::string problem;
        frame.scale = ContainerScale::of(scaleSettingsOf(properties), area.x, area.y, area.width, area.height, problem);
        frame.area = frame.free = area;
        if (!problem.empty())
            addOddity(item, problem);
        return frame;
    }

    vbide::VBComponent* userControlFor(const vbide::VBControl& control) const {
        const std::string& progId = control.ProgId();
        if (!project_ || progId.size() < 3 || equalsIgnoreCase(progId.substr(0, 3), "VB."))
            return nullptr;
        std::string type = control.TypeName();
        for (const auto& component : project_->VBComponents())
            if (component->Type() == 8 && equalsIgnoreCase(component->Name(), type))
                return component.get();
        return nullptr;
    }

    // Draws a user control's own controls inside an instance, in the user control's scale.
    void embed(int index, vbide::VBComponent& userControl, std::vector<std::string>& chain) {
        const std::string& name = userControl.Name();
        bool loop = std::any_of(chain.begin(), chain.end(),
                                [&](const std::string& outer) { return equalsIgnoreCase(outer, name); });
        if (loop || chain.size() > MaxEmbedding)
            return;
        try {
            auto designer = userControl.Designer();
            if (!designer)
                return;
            vbide::VBControls& controls = designer->VBControls();
            PixelRect area = sketch_.items[index].rect;
            std::string problem;
            ContainerScale scale = ContainerScale::of(scaleSettingsOf(userControl.Properties()), area.x, area.y,
                                                      area.width, area.height, problem);
            auto depths = depthsOf(userControl, controls.Count(), sketch_.oddities, sketch_.items[index].key);
            chain.push_back(name);
            place(controls, depths, Frame{0, index, scale, area, area, false}, index, chain);
            chain.pop_back();
        } catch (const VbError& error) {
            addOddity(sketch_.items[index], "its user control '" + name + "' cannot be read: " + error.description());
        }
    }

    FormSketch& sketch_;
    vbide::VBProject* project_;
    std::map<int, TabPages> tabPages_;
};

// The client area in pixels: ClientWidth and ClientHeight, else the twips scale's extent, else
// the designer's size.
void measureClientArea(FormSketch& sketch, const vbide::Properties& properties) {
    double width = numberOr(properties, "ClientWidth", 0);
    double height = numberOr(properties, "ClientHeight", 0);
    if ((width <= 0 || height <= 0) && numberOr(properties, "ScaleMode", 1) == 1) {
        width = numberOr(properties, "ScaleWidth", 0);
        height = numberOr(properties, "ScaleHeight", 0);
    }
    if (width <= 0 || height <= 0) {
        width = numberOr(properties, "Width", 0);
        height = numberOr(properties, "Height", 0);
    }
    if (width <= 0 || height <= 0) {
        sketch.oddities.push_back({sketch.moduleName, "gives no size of its client area"});
        width = DefaultClientWidth;
        height = DefaultClientHeight;
    }
    sketch.clientWidth = width / TwipsPerPixel;
    sketch.clientHeight = height / TwipsPerPixel;
}

} // namespace

FormSketch SketchBuilder::build(vbide::VBComponent& component) const {
    FormSketch sketch;
    sketch.moduleName = component.Name();
    sketch.typeName = typeNameOf(component.Type());
    sketch.mdi = component.Type() == 6;
    try {
        auto designer = component.Designer();
        if (!designer) {
            sketch.unreadable = "'" + sketch.moduleName + "' has no designer to show.";
            return sketch;
        }
        vbide::Properties& properties = component.Properties();
        vbide::VBControls& controls = designer->VBControls();
        sketch.caption = textOf(properties, "Caption");
        measureClientArea(sketch, properties);
        PixelRect area{0, 0, sketch.clientWidth, sketch.clientHeight};
        std::string problem;
        ContainerScale scale = properties.find("ScaleMode")
                                   ? ContainerScale::of(scaleSettingsOf(properties), 0, 0, area.width, area.height, problem)
                                   : ContainerScale::twips(0, 0);
        if (!problem.empty())
            sketch.oddities.push_back({sketch.moduleName, problem});
        auto depths = depthsOf(component, controls.Count(), sketch.oddities, sketch.moduleName);
        std::vector<std::string> chain{sketch.moduleName};
        Walk(sketch, project_).place(controls, depths, Frame{0, -1, scale, area, area, false}, -1, chain);
    } catch (const VbError& error) {
        FormSketch failed;
        failed.moduleName = sketch.moduleName;
        failed.typeName = sketch.typeName;
        failed.unreadable = "The layout of '" + sketch.moduleName + "' cannot be shown: " + error.description();
        return failed;
    }
    return sketch;
}

} // namespace corvane::preview
