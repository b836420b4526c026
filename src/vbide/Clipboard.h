// Clipboard: the IDE's clipboard, in process. The add-in puts its menu icon here and the
// command bar control takes it with PasteFace.
#pragma once

#include <memory>
#include <string>

namespace corvane::vbide {

// A picture as a host view can show it: the bytes of an image file and their format.
struct Picture {
    std::string format; // "bmp", "png", "ico"
    std::string bytes;  // the image file's bytes
};

class Clipboard {
public:
    // Empties the clipboard.
    void Clear() {
        picture_.reset();
        text_.clear();
    }
    // Puts a picture on the clipboard, replacing what it held.
    void SetData(std::shared_ptr<const Picture> picture) {
        Clear();
        picture_ = std::move(picture);
    }
    // The picture on the clipboard, or null.
    std::shared_ptr<const Picture> GetData() const { return picture_; }
    // Puts a text on the clipboard, replacing what it held.
    void SetText(std::string text) {
        Clear();
        text_ = std::move(text);
    }
    // The text on the clipboard ("" when it holds none).
    const std::string& GetText() const noexcept { return text_; }

private:
    std::shared_ptr<const Picture> picture_;
    std::string text_;
};

} // namespace corvane::vbide
