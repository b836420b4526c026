// NamePool: names that many objects of the program hold, kept once for the whole run.
//
// A large project names the same few languages in each of a million help records, and the same
// few control types in each of its controls. An object holds a reference to the pool's copy
// instead of a string of its own: 8 bytes instead of 32, and no block for a longer name. The
// copies are never freed, so a reference stays valid on every thread until the program ends;
// a pool grows with the distinct names the program met, which are few.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The pool's copy of `name`, spelt as given (names that differ in letter case are two names).
// Safe to call on any thread; a thread finds the names it asked for last without a lock.
const std::string& pooledName(std::string_view name);

} // namespace corvane
