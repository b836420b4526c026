# Turns a text file into a C++ source that defines corvane::embedded::stringTableText().
file(READ "${INPUT}" content)
set(delim "CORVANE_EMBED")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n#include <string_view>\nnamespace corvane::embedded {\nstd::string_view stringTableText() {\n    return R\"${delim}(${content})${delim}\";\n}\n} // namespace corvane::embedded\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
