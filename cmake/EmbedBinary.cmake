# Turns a binary file into a C++ source defining `std::string_view <SYMBOL>()` in
# namespace corvane::embedded.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <string_view>\nnamespace corvane::embedded {\nstd::string_view ${SYMBOL}() {\n    static const char bytes[] = {${bytes} 0};\n    return std::string_view(bytes, sizeof bytes - 1);\n}\n} // namespace corvane::embedded\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
