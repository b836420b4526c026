// PictureBox: a drawing area that contains other controls and lays them out (VB's PictureBox).
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class PictureBox : public Control {
public:
    explicit PictureBox(std::string name = "Picture1");

    // 0 no border, 1 a fixed single border (the default); other values raise 380.
    int16_t BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(int16_t style);

    // The inner size in twips: the size less the border (never negative).
    int32_t ScaleWidth() const;
    int32_t ScaleHeight() const;

    bool canContain() const override { return true; }

    // Raised when the size changed (not when only the position did).
    Event<> Resize;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;
    void geometryChanged(bool resized) override;

private:
    int16_t borderStyle_ = 1;
};

} // namespace corvane::controls
