#include "preview/ContainerScale.h"

#include "preview/FormSketch.h"

#include <cmath>

namespace corvane::preview {

namespace {

// Twips per unit of the fixed scale modes 1 to 8, horizontally and vertically.
struct UnitSize {
    double x;
    double y;
};

bool fixedUnit(int mode, UnitSize& unit) {
    constexpr double twipsPerInch = 1440.0;
    switch (mode) {
    case 1: unit = {1, 1}; return true;
    case 2: unit = {20, 20}; return true;
    case 3: unit = {TwipsPerPixel, TwipsPerPixel}; return true;
    case 4: unit = {120, 240}; return true;
    case 5: unit = {twipsPerInch, twipsPerInch}; return true;
    case 6: unit = {twipsPerInch / 25.4, twipsPerInch / 25.4}; return true;
    case 7: unit = {twipsPerInch / 2.54, twipsPerInch / 2.54}; return true;
    case 8: unit = {twipsPerInch / 2540.0, twipsPerInch / 2540.0}; return true;
    default: return false;
    }
}

bool usable(double value) { return std::isfinite(value) && value != 0.0; }

} // namespace

ContainerScale ContainerScale::twips(double originX, double originY) {
    return ContainerScale(originX, originY, 0, 0, 1 / TwipsPerPixel, 1 / TwipsPerPixel);
}

ContainerScale ContainerScale::of(const ScaleSettings& settings, double originX, double originY, double innerWidth,
                                  double innerHeight, std::string& problem) {
    if (settings.mode == 0) {
        if (usable(settings.width) && usable(settings.height) && std::isfinite(settings.left) &&
            std::isfinite(settings.top))
            return ContainerScale(originX, originY, settings.left, settings.top, innerWidth / settings.width,
                                  innerHeight / settings.height);
        problem = "a user scale with ScaleWidth or ScaleHeight 0: its controls are placed in twips";
        return twips(originX, originY);
    }
    UnitSize unit{};
    if (!fixedUnit(settings.mode, unit)) {
        problem = "ScaleMode " + std::to_string(settings.mode) + " is unknown: its controls are placed in twips";
        return twips(originX, originY);
    }
    return ContainerScale(originX, originY, 0, 0, unit.x / TwipsPerPixel, unit.y / TwipsPerPixel);
}

} // namespace corvane::preview
