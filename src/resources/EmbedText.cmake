# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DFUNCTION=<name> -P EmbedText.cmake
# Writes a source file whose function hw::<name>() returns the input file's
# bytes as a std::string_view.
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," chars "${bytes}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " chars "${chars}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.\n"
"#include <string_view>\n\n"
"namespace hw {\n\n"
"namespace {\nconstexpr char kBytes[] = {\n    ${chars}'\\0'};\n}  // namespace\n\n"
"std::string_view ${FUNCTION}() { return {kBytes, ${size}}; }\n\n"
"}  // namespace hw\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
