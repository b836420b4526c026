#include "preview/FormSketch.h"

#include <algorithm>
#include <cmath>

namespace corvane::preview {

namespace {

constexpr double LineReach = 3.0; // pixels either side of a line that still hit it

double distanceToSegment(double px, double py, const SketchItem& line) {
    double dx = line.x2 - line.x1;
    double dy = line.y2 - line.y1;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::clamp(((px - line.x1) * dx + (py - line.y1) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (line.x1 + t * dx), py - (line.y1 + t * dy));
}

bool hits(const SketchItem& item, double x, double y) {
    if (item.kind == SketchKind::Line)
        return distanceToSegment(x, y, item) <= LineReach;
    return item.rect.contains(x, y);
}

} // namespace

bool FormSketch::shown(int item, const TabChoice& pages) const {
    for (int i = item; i >= 0 && i < static_cast<int>(items.size()); i = items[i].parent) {
        int parent = items[i].parent;
        if (parent < 0 || items[parent].kind != SketchKind::TabControl)
            continue;
        auto chosen = pages.find(parent);
        if (items[i].tabPage != (chosen == pages.end() ? 0 : chosen->second))
            return false;
    }
    return true;
}

int FormSketch::itemAt(double x, double y, const TabChoice& pages) const {
    for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i) {
        const SketchItem& item = items[i];
        if (hits(item, x, y) && shown(i, pages))
            return item.embeddedIn >= 0 ? item.embeddedIn : i;
    }
    return -1;
}

int FormSketch::itemOf(const vbide::VBControl* control) const {
    if (!control)
        return -1;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].control == control)
            return static_cast<int>(i);
    return -1;
}

const TabSet* FormSketch::tabSetOf(int item) const {
    for (const TabSet& set : tabSets)
        if (set.item == item)
            return &set;
    return nullptr;
}

PixelRect FormSketch::tabHeader(const TabSet& set, int page) const {
    const PixelRect& body = items[set.item].rect;
    double width = body.width / static_cast<double>(std::max<size_t>(1, set.captions.size()));
    return {body.x + page * width, body.y, width, set.headerHeight};
}

std::pair<int, int> FormSketch::tabHeaderAt(double x, double y, const TabChoice& pages) const {
    for (const TabSet& set : tabSets) {
        if (!shown(set.item, pages))
            continue;
        for (size_t page = 0; page < set.captions.size(); ++page)
            if (tabHeader(set, static_cast<int>(page)).contains(x, y))
                return {set.item, static_cast<int>(page)};
    }
    return {-1, -1};
}

TabChoice FormSketch::pagesShowing(int item, TabChoice pages) const {
    for (int i = item; i >= 0 && i < static_cast<int>(items.size()); i = items[i].parent) {
        int parent = items[i].parent;
        if (parent >= 0 && items[parent].kind == SketchKind::TabControl && items[i].tabPage >= 0)
            pages[parent] = items[i].tabPage;
    }
    return pages;
}

std::string withoutAccelerators(const std::string& caption) {
    std::string text;
    text.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // "&&" keeps one "&"; "&x" keeps the x
        text += caption[i];
    }
    return text;
}

} // namespace corvane::preview
