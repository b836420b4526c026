// ShortText: a text that a million objects each hold one of (a control's name, its caption),
// kept in 16 bytes where a std::string takes 32.
//
// A text of up to 15 bytes stands in the object itself; a longer one in a block of its own,
// which the object points at. Names and captions are almost all short, so that a control or a
// help record that holds two of them is 32 bytes smaller, and falls into a smaller block of the
// allocator. The text reads as a std::string_view (valid until the text is changed or gone);
// `str()` gives a std::string. Texts longer than 4 GB raise VbError 6.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace corvane {

class ShortText {
public:
    // The empty text.
    ShortText() noexcept { bytes_.fill(0); }
    // A copy of `text`.
    ShortText(std::string_view text); // NOLINT: reads as a string
    ShortText(const std::string& text) : ShortText(std::string_view(text)) {} // NOLINT
    ShortText(const char* text) : ShortText(std::string_view(text)) {}        // NOLINT
    ShortText(const ShortText& other) : ShortText(other.view()) {}
    ShortText(ShortText&& other) noexcept : bytes_(other.bytes_) { other.bytes_.fill(0); }
    // A failed copy leaves the text as it was.
    ShortText& operator=(const ShortText& other);
    ShortText& operator=(ShortText&& other) noexcept;
    ShortText& operator=(std::string_view text) { return *this = ShortText(text); }
    ShortText& operator=(const std::string& text) { return *this = ShortText(text); }
    ShortText& operator=(const char* text) { return *this = ShortText(text); }
    ~ShortText() { release(); }

    // The text's bytes (not ended by a NUL byte).
    const char* data() const noexcept;
    // The text's length in bytes.
    size_t size() const noexcept;
    // True when the text is "".
    bool empty() const noexcept { return size() == 0; }
    // The text.
    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); } // NOLINT: reads as a string
    // A copy of the text as a std::string.
    std::string str() const { return std::string(view()); }

    // Texts are equal when their bytes are.
    friend bool operator==(const ShortText& a, const ShortText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const ShortText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const ShortText& a, const std::string& b) noexcept { return a.view() == b; }
    friend bool operator==(const ShortText& a, const char* b) noexcept { return a.view() == b; }

    // Writes the text's bytes.
    friend std::ostream& operator<<(std::ostream& out, const ShortText& text);

private:
    // The last byte tells the form: the length of a text in place (0 to 15), or Outside.
    static constexpr size_t InPlace = 15;
    static constexpr unsigned char Outside = 0xFF;

    bool inPlace() const noexcept { return static_cast<unsigned char>(bytes_[InPlace]) != Outside; }
    char* outsideData() const noexcept;
    void release() noexcept;

    // In place: the bytes, then the length. Outside: the block's address, the length in 32 bits.
    alignas(8) std::array<char, 16> bytes_;
};

} // namespace corvane
