// SketchBuilder: draws up the FormSketch of a component's designer from its controls' own
// properties: each control's Left, Top, Width and Height in its container's scale (nested
// containers, control arrays, aligned controls, the pages of tab controls), lines, shapes,
// controls invisible at run time as markers, the top-level menu captions, and the controls of a
// user control of the project drawn inside each instance placed on the form. A designer that
// cannot be read gives a sketch that says why; a control whose geometry is missing or odd is
// placed where it can be and listed.
#pragma once

#include "preview/FormSketch.h"

namespace corvane::vbide {
class VBComponent;
class VBProject;
} // namespace corvane::vbide

namespace corvane::preview {

class SketchBuilder {
public:
    // A builder; `project`, when given, supplies the user controls that forms place.
    explicit SketchBuilder(vbide::VBProject* project = nullptr) : project_(project) {}

    // The sketch of a component's designer.
    FormSketch build(vbide::VBComponent& component) const;

private:
    vbide::VBProject* project_;
};

} // namespace corvane::preview
