// ReportValues: turns the program's values into the Variant that an error report renders.
//
// toVariant(value) is found by argument-dependent lookup, so a type of the program that needs
// its own rendering declares `Variant toVariant(const MyType&)` beside it (a VB record would
// return Variant::udt()). Objects render by their VB type name: a class names it with
//   static constexpr std::string_view VbTypeName = "HelpItem";
// or the caller gives one with objectVariant(pointer, "TextBox").
#pragma once

#include "vbruntime/KeyedCollection.h"
#include "vbruntime/NamePool.h"
#include "vbruntime/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace corvane {

// Variants, texts, Booleans, Integers (16-bit), Longs (32-bit) and Doubles as they are.
inline Variant toVariant(const Variant& value) { return value; }
inline Variant toVariant(const std::string& value) { return Variant(value); }
inline Variant toVariant(std::string_view value) { return Variant(value); }
inline Variant toVariant(const char* value) { return Variant(value); }
inline Variant toVariant(const PooledName& value) { return Variant(value.str()); }
inline Variant toVariant(bool value) { return Variant(value); }
inline Variant toVariant(int16_t value) { return Variant(value); }
inline Variant toVariant(int32_t value) { return Variant(value); }
inline Variant toVariant(double value) { return Variant(value); }

// An enumeration as the Long it is in VB.
template <typename E>
    requires std::is_enum_v<E>
Variant toVariant(E value) {
    return Variant(static_cast<int32_t>(value));
}

// A class names its VB type with a static VbTypeName member.
template <typename T>
concept NamesVbType = requires { std::string_view(T::VbTypeName); };

// An object reference: Nothing when null, else an object of the given type name.
template <typename T>
Variant objectVariant(const T* object, std::string_view typeName) {
    return object ? Variant::object(std::string(typeName)) : Variant::nothing();
}
template <typename T>
Variant objectVariant(const std::shared_ptr<T>& object, std::string_view typeName) {
    return objectVariant(object.get(), typeName);
}

// An object reference of a class that names its VB type: Nothing when null.
template <NamesVbType T>
Variant toVariant(const std::shared_ptr<T>& object) {
    return objectVariant(object.get(), T::VbTypeName);
}
template <NamesVbType T>
Variant toVariant(const T* object) {
    return objectVariant(object, T::VbTypeName);
}

// A Collection holding each item's value, in order.
template <typename T, typename Key>
Variant toVariant(const KeyedCollection<T, Key>& items) {
    std::vector<Variant> values;
    values.reserve(static_cast<size_t>(items.Count()));
    for (const auto& item : items)
        values.push_back(toVariant(item));
    return Variant::collection(std::move(values));
}

// A reference to a Collection: Nothing when null, else the collection's items.
template <typename T, typename Key>
Variant toVariant(const std::shared_ptr<KeyedCollection<T, Key>>& items) {
    return items ? toVariant(*items) : Variant::nothing();
}

// An array from 0 holding each element's value.
template <typename T>
Variant toVariant(const std::vector<T>& elements) {
    std::vector<Variant> values;
    values.reserve(elements.size());
    for (const auto& element : elements)
        values.push_back(toVariant(element));
    return Variant::array(std::move(values), 0);
}

} // namespace corvane
