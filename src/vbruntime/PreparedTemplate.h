// PreparedTemplate: a template cut once into its fixed text and the places of its keys, for
// templates filled many times (one per help topic).
//
// Tokens are found exactly as Utilities::FillTemplate finds them (see there): the keys are
// known when the template is prepared, so which delimiters form tokens does not depend on
// the values, and filling only appends the pieces. Keys are matched with letter case ignored.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class PreparedTemplate {
public:
    // An empty template.
    PreparedTemplate() = default;
    // Cuts `templ` at the tokens of `keys` (value numbers count from 1 in the order given).
    PreparedTemplate(std::string_view templ, std::initializer_list<std::string_view> keys, char delimiter);
    // Cuts `templ` at the tokens whose key `valueNumber` maps to a value number (0: no value).
    template <typename ValueNumber>
    static PreparedTemplate cut(std::string_view templ, char delimiter, ValueNumber valueNumber);

    // Appends the filled template to `out`; `appendValue(out, n)` appends value number n.
    template <typename AppendValue>
    void appendTo(std::string& out, AppendValue appendValue) const {
        for (const Piece& piece : pieces_) {
            if (piece.value == 0)
                out += piece.text;
            else
                appendValue(out, piece.value);
        }
    }

    // The bytes of fixed text in the template.
    size_t fixedSize() const noexcept { return fixedSize_; }

private:
    struct Piece {
        std::string text; // fixed text, when value is 0
        int value = 0;    // the value number of a token, from 1
    };

    void addText(std::string_view text);
    void addValue(int value) { pieces_.push_back({std::string(), value}); }

    std::vector<Piece> pieces_;
    size_t fixedSize_ = 0;
};

template <typename ValueNumber>
PreparedTemplate PreparedTemplate::cut(std::string_view templ, char delimiter, ValueNumber valueNumber) {
    PreparedTemplate prepared;
    size_t pos = 0;
    while (pos < templ.size()) {
        size_t open = templ.find(delimiter, pos);
        if (open == std::string_view::npos)
            break;
        prepared.addText(templ.substr(pos, open - pos));
        size_t close = templ.find(delimiter, open + 1);
        if (close == std::string_view::npos) {
            pos = open;
            break;
        }
        std::string_view key = templ.substr(open + 1, close - open - 1);
        int value = key.empty() ? 0 : valueNumber(key);
        if (value > 0) {
            prepared.addValue(value);
            pos = close + 1;
        } else {
            prepared.addText(templ.substr(open, 1)); // the delimiter stays; it may open the next token
            pos = open + 1;
        }
    }
    prepared.addText(templ.substr(pos));
    return prepared;
}

} // namespace corvane
