#include "preview/TabPages.h"

#include "preview/DesignerValues.h"
#include "preview/FormSketch.h"
#include "vbide/VBControl.h"
#include "vbruntime/CaseFold.h"

#include <algorithm>

namespace corvane::preview {

namespace {
constexpr int MaxPages = 256;          // bounds a damaged Tabs value
constexpr int MaxControlsPerPage = 4096;
} // namespace

bool TabPages::isTabControl(vbide::VBControl& control) {
    const vbide::Properties& properties = control.Properties();
    return equalsIgnoreCase(control.TypeName(), "SSTab") || properties.find("TabCaption(0)") ||
           properties.find("Tab(0).ControlCount");
}

TabPages::TabPages(const vbide::Properties& properties) {
    int pages = static_cast<int>(std::clamp(numberOr(properties, "Tabs", 3), 1.0, double(MaxPages)));
    designPage_ = integerOr(properties, "Tab", 0);
    for (int page = 0; page < pages; ++page) {
        std::string prefix = "Tab(" + std::to_string(page) + ").";
        std::string caption = textOf(properties, "TabCaption(" + std::to_string(page) + ")");
        captions_.push_back(caption.empty() ? "Tab " + std::to_string(page) : withoutAccelerators(caption));
        int count = static_cast<int>(std::clamp(numberOr(properties, prefix + "ControlCount", 0), 0.0,
                                                double(MaxControlsPerPage)));
        for (int m = 0; m < count; ++m) {
            std::string name = textOf(properties, prefix + "Control(" + std::to_string(m) + ")");
            if (!name.empty())
                pageByName_.emplace(foldCase(name), page);
        }
    }
}

int TabPages::pageOf(const std::string& key, const std::string& name, bool moved) const {
    for (const std::string* candidate : {&key, &name}) {
        auto found = pageByName_.find(foldCase(*candidate));
        if (found != pageByName_.end())
            return found->second;
    }
    return moved ? -1 : designPage_;
}

} // namespace corvane::preview
