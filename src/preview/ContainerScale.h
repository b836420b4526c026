// ContainerScale: the coordinate system a container gives the controls inside it, turned into
// form pixels. Forms, picture boxes, user controls, property pages and user documents have a
// ScaleMode (twips, points, pixels, characters, inches, millimetres, centimetres, HiMetric, or
// a user scale from ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight over the inner area);
// containers without one (frames, tab controls, MDI forms) place their controls in twips.
#pragma once

#include <string>

namespace corvane::preview {

// A container's scale properties as its file gives them.
struct ScaleSettings {
    int mode = 1; // ScaleMode: 0 user, 1 twips, 2 points, 3 pixels, 4 characters, 5 inches, 6 mm, 7 cm, 8 HiMetric
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

class ContainerScale {
public:
    // Twips, with the container's inner top left corner at (originX, originY) form pixels.
    static ContainerScale twips(double originX, double originY);
    // The scale of `settings` over an inner area of that many pixels at (originX, originY).
    // A scale that cannot be used (an unknown mode, a user scale of zero extent) falls back to
    // twips and says why in `problem`.
    static ContainerScale of(const ScaleSettings& settings, double originX, double originY, double innerWidth,
                             double innerHeight, std::string& problem);

    // A horizontal or vertical position in the container's units, in form pixels.
    double x(double value) const noexcept { return originX_ + (value - left_) * pixelsPerUnitX_; }
    double y(double value) const noexcept { return originY_ + (value - top_) * pixelsPerUnitY_; }
    // A width or height in the container's units, in pixels (negative under an inverted user scale).
    double width(double value) const noexcept { return value * pixelsPerUnitX_; }
    double height(double value) const noexcept { return value * pixelsPerUnitY_; }

private:
    ContainerScale(double originX, double originY, double left, double top, double perX, double perY)
        : originX_(originX), originY_(originY), left_(left), top_(top), pixelsPerUnitX_(perX), pixelsPerUnitY_(perY) {}

    double originX_;
    double originY_;
    double left_;
    double top_;
    double pixelsPerUnitX_;
    double pixelsPerUnitY_;
};

} // namespace corvane::preview
