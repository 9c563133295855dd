# Writes OUTPUT, a C++ source that defines the character array NAME as the
# text of INPUT, ready to stand inside an HTML <script> element.
# Usage: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P EmbedText.cmake
file(READ "${INPUT}" text)
# Inside a script element "</script" would end it; "<\/" means the same to
# JavaScript in strings and regular expressions, the only places it can be.
string(REPLACE "</script" "<\\/script" text "${text}")
string(FIND "${text}" ")logo3d_text\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the raw string delimiter of EmbedText.cmake")
endif()
file(WRITE "${OUTPUT}"
  "// Written by the build from ${INPUT}: do not edit.\n"
  "extern const char ${NAME}[];\n"
  "const char ${NAME}[] = R\"logo3d_text(${text})logo3d_text\";\n")
