#include "controls/TextBox.h"

#include "controls/ControlErrors.h"
#include "vbruntime/VbConvert.h"

#include <algorithm>

namespace corvane::controls {

namespace {
bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int32_t countCharacters(std::string_view text) {
    return static_cast<int32_t>(std::count_if(text.begin(), text.end(),
                                              [](char c) { return !isContinuationByte(c); }));
}
} // namespace

TextBox::TextBox(std::string name) : Control("TextBox", std::move(name), Windowed) {}

int32_t TextBox::length() const { return countCharacters(text_); }

size_t TextBox::byteOffset(int32_t characters) const {
    size_t pos = 0;
    for (int32_t seen = 0; pos < text_.size(); ++pos) {
        if (!isContinuationByte(text_[pos]) && seen++ == characters)
            break;
    }
    return pos;
}

void TextBox::SetText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    selStart_ = 0;
    selLength_ = 0;
    changed("Text");
    Change();
}

void TextBox::SetSelStart(int32_t start) {
    if (start < 0)
        throw invalidValue("SelStart");
    selStart_ = std::min(start, length());
    selLength_ = 0;
    changed("SelStart");
}

void TextBox::SetSelLength(int32_t length) {
    if (length < 0)
        throw invalidValue("SelLength");
    selLength_ = std::min(length, this->length() - selStart_);
    changed("SelLength");
}

std::string TextBox::SelText() const {
    const size_t begin = byteOffset(selStart_);
    return text_.substr(begin, byteOffset(selStart_ + selLength_) - begin);
}

void TextBox::SetSelText(std::string_view text) {
    const size_t begin = byteOffset(selStart_);
    const size_t end = byteOffset(selStart_ + selLength_);
    std::string updated = text_.substr(0, begin);
    updated.append(text);
    updated.append(text_, end);
    const int32_t caret = selStart_ + countCharacters(text);
    const bool differs = updated != text_;
    text_ = std::move(updated);
    selStart_ = caret;
    selLength_ = 0;
    if (!differs)
        return;
    changed("Text");
    Change();
}

void TextBox::SetMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    changed("MultiLine");
}

void TextBox::SetLocked(bool locked) {
    locked_ = locked;
    changed("Locked");
}

void TextBox::SetScrollBars(int16_t scrollBars) {
    if (scrollBars < 0 || scrollBars > 3)
        throw invalidValue("ScrollBars");
    scrollBars_ = scrollBars;
    changed("ScrollBars");
}

std::optional<Variant> TextBox::readProperty(std::string_view name) const {
    if (is(name, "Text"))
        return Variant(text_);
    if (is(name, "SelStart"))
        return Variant(selStart_);
    if (is(name, "SelLength"))
        return Variant(selLength_);
    if (is(name, "SelText"))
        return Variant(SelText());
    if (is(name, "MultiLine"))
        return Variant(multiLine_);
    if (is(name, "Locked"))
        return Variant(locked_);
    if (is(name, "ScrollBars"))
        return Variant(scrollBars_);
    return Control::readProperty(name);
}

bool TextBox::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Text"))
        SetText(value.toText());
    else if (is(name, "SelStart"))
        SetSelStart(value.toLong());
    else if (is(name, "SelLength"))
        SetSelLength(value.toLong());
    else if (is(name, "SelText"))
        SetSelText(value.toText());
    else if (is(name, "MultiLine"))
        SetMultiLine(value.toBool());
    else if (is(name, "Locked"))
        SetLocked(value.toBool());
    else if (is(name, "ScrollBars"))
        SetScrollBars(CInt(value.toDouble()));
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
