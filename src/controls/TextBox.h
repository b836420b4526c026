// TextBox: an editable text (VB's TextBox).
//
// Positions and lengths of the selection count characters (code points of the UTF-8 text), as
// VB counts characters, not bytes.
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class TextBox : public Control {
public:
    explicit TextBox(std::string name = "Text1");

    // The text. Setting a different text raises Change (also from code) and puts the caret at
    // the start; setting the text it has raises nothing.
    const std::string& Text() const noexcept { return text_; }
    void SetText(std::string text);

    // The selection: its start (characters before it) and length. Setting SelStart beyond
    // the end puts it at the end and empties the selection; SelLength is cut at the end;
    // negative values raise 380.
    int32_t SelStart() const noexcept { return selStart_; }
    void SetSelStart(int32_t start);
    int32_t SelLength() const noexcept { return selLength_; }
    void SetSelLength(int32_t length);
    // The selected text; setting it replaces the selection (raising Change when the text
    // changes) and leaves the caret after the new text.
    std::string SelText() const;
    void SetSelText(std::string_view text);

    // Whether the box shows several lines.
    bool MultiLine() const noexcept { return multiLine_; }
    void SetMultiLine(bool multiLine);
    // Whether the user may not edit the text (code still may).
    bool Locked() const noexcept { return locked_; }
    void SetLocked(bool locked);
    // Scroll bars: 0 none, 1 horizontal, 2 vertical, 3 both; other values raise 380.
    int16_t ScrollBars() const noexcept { return scrollBars_; }
    void SetScrollBars(int16_t scrollBars);

    // Raised after every change of the text.
    Event<> Change;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    int32_t length() const;
    size_t byteOffset(int32_t characters) const;

    std::string text_;
    int32_t selStart_ = 0;
    int32_t selLength_ = 0;
    bool multiLine_ = false;
    bool locked_ = false;
    int16_t scrollBars_ = 0;
};

} // namespace corvane::controls
