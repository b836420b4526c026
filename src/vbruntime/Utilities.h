// Utilities: the program's global utility object, as free functions.
//
// Collection tests, template filling, token cutting and the text form of property values,
// used by the help data file, the project scan and the help project writers.
#pragma once

#include "vbruntime/KeyedCollection.h"
#include "vbruntime/Variant.h"

#include <string>
#include <string_view>

namespace corvane::Utilities {

// True when the keyed collection holds an entry under the key (letter case ignored).
template <class T, class Key>
bool KeyExists(const KeyedCollection<T, Key>& collection, std::string_view key) {
    return collection.Contains(key);
}

// True when an object collection (XML attributes, IDE properties, project components...)
// holds an item of that name; the collection answers through its Contains.
template <class C>
bool ItemExists(const C& collection, std::string_view name) {
    return collection.Contains(name);
}

// The template with every token made of a key between two delimiter characters replaced by
// the value stored under that key (letter case of keys ignored).
//
// One pass from left to right: at a delimiter the text up to the next delimiter is taken as
// a key; when the values hold it, the token is replaced and scanning goes on after the
// closing delimiter (a value is never scanned again, so delimiters inside it stay as they
// are). Otherwise the first delimiter is kept as a literal and scanning goes on with the
// character after it, so that delimiter may open the next token: with only "KEY" known,
// "%a %KEY%" gives "%a " followed by the value. An empty key never forms a token ("%%"
// stays), and a delimiter without a partner stays as it stands.
std::string FillTemplate(std::string_view templ, const KeyedCollection<std::string>& values, char delimiter);

// The n-th piece, counted from 1, of the text cut at every occurrence of the delimiter; ""
// beyond the last piece. An empty delimiter leaves the text as its only piece. Raises
// VbError 5 when n is less than 1.
std::string GetToken(std::string_view text, std::string_view delimiter, int n);

// The text form of a property value: strings as they are, numbers, Booleans and dates as VB's
// CStr gives them, "" for Empty and Null. Raises VbError 13 for objects, arrays and records.
std::string ValueText(const Variant& value);

} // namespace corvane::Utilities
