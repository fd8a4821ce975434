# Writes OUTPUT, a C++ source defining `const std::uint8_t SYMBOL[]` and `SYMBOL_size` with the
# bytes of INPUT. Run with cmake -P.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by embed_file.cmake; do not edit.\n"
  "#include <cstddef>\n#include <cstdint>\n\n"
  "extern const std::uint8_t ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\n"
  "const std::uint8_t ${SYMBOL}[] = {\n    ${bytes}\n};\n"
  "const std::size_t ${SYMBOL}_size = ${byte_count};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
