// HunspellHandle: a Hunspell dictionary that is opened and closed one at a time across the
// program, whatever thread opens or closes it.
//
// Hunspell keeps one character table for all its UTF-8 dictionaries and counts their users
// without a lock: two dictionaries opened or closed at the same moment on two threads can make
// two tables (one never freed) or free the table while the other still reads it. Using an open
// dictionary never writes the table, so only opening and closing wait for each other.
#pragma once

#include <filesystem>
#include <memory>

class Hunspell;

namespace corvane {

// Closes a Hunspell dictionary while no other is opened or closed.
struct HunspellCloser {
    void operator()(Hunspell* dictionary) const noexcept;
};

// An open Hunspell dictionary, closed by HunspellCloser.
using HunspellHandle = std::unique_ptr<Hunspell, HunspellCloser>;

// Opens the dictionary of the two files while no other is opened or closed.
HunspellHandle openHunspellFiles(const std::filesystem::path& aff, const std::filesystem::path& dic);

} // namespace corvane
