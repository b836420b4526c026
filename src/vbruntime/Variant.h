// Variant: the values that error reports render, with VB's variant types.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace corvane {

class Variant;

// A VB array: its lower bound and its elements (first dimension only).
struct VariantArray {
    int32_t lowerBound = 0;
    std::vector<Variant> elements;
};

// A VB date: days since 30 December 1899, the fraction being the time of day.
struct VariantDate {
    double serial = 0;
};

class Variant {
public:
    // The kinds of value a variant holds.
    enum class Kind {
        Empty,      // never assigned
        Null,       // the Null value
        Nothing,    // an object reference that is not set
        Object,     // a set object reference; typeName() names its type
        DataObject, // a set reference of the generic interface type (event sources)
        Collection, // a Collection object; elements() are its items
        Array,      // an array; lowerBound() and elements()
        Udt,        // a user-defined record
        Error,      // an error value (a missing optional argument)
        String,
        Boolean,
        Integer,    // 16-bit
        Long,       // 32-bit
        Double,
        Date,
    };

    // An Empty variant.
    Variant() = default;
    Variant(const char* text);
    Variant(std::string text);
    Variant(std::string_view text);
    Variant(bool value);
    Variant(int16_t value);
    Variant(int32_t value);
    Variant(int64_t value) = delete; // say which width is meant
    Variant(double value);
    Variant(VariantDate value);

    // The Null value.
    static Variant null();
    // An object reference that is not set.
    static Variant nothing();
    // A set object reference of the named type ("HelpItem", "TextBox" ...).
    static Variant object(std::string typeName);
    // A set reference of the generic interface type.
    static Variant dataObject();
    // A Collection object holding the given items.
    static Variant collection(std::vector<Variant> items);
    // An array with the given lower bound.
    static Variant array(std::vector<Variant> elements, int32_t lowerBound = 0);
    // A user-defined record.
    static Variant udt();
    // An error value (as a missing optional argument holds).
    static Variant error(int32_t code = 448);

    // The kind of value held.
    Kind kind() const noexcept { return kind_; }
    // The type name of an Object ("Collection" for a collection).
    const std::string& typeName() const noexcept { return text_; }
    // The items of a collection or the elements of an array.
    const std::vector<Variant>& elements() const;
    // The lower bound of an array.
    int32_t lowerBound() const noexcept { return lower_; }

    // The value converted to a string as VB's CStr does (Booleans give True and False).
    std::string toText() const;

    // True for Empty, Null, Nothing.
    bool isEmpty() const noexcept { return kind_ == Kind::Empty; }
    bool isNull() const noexcept { return kind_ == Kind::Null; }
    // True when the value is a number, a Boolean, a date, or a text that reads as a number.
    bool isNumeric() const;
    // The value as a number (Empty gives 0); raises VbError 13 when it is not numeric.
    double toDouble() const;
    // The value as a 32-bit integer (VB's CLng); raises 13 or 6.
    int32_t toLong() const;
    // The value as a Boolean (a number is True when not 0; "True"/"False" texts); raises 13.
    bool toBool() const;

    // VB's comparison: numbers (and Booleans) numerically, anything else by its text.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    Kind kind_ = Kind::Empty;
    int32_t lower_ = 0;         // array lower bound (next to kind_: no padding between them)
    std::string text_;          // String value or object type name
    double number_ = 0;         // Boolean, Integer, Long, Double, Date
    std::shared_ptr<const std::vector<Variant>> elements_;
};

// VB's conversion of a double to text: up to 15 significant digits, "1E+20" style exponents.
std::string formatVbDouble(double value);

} // namespace corvane
