# Settings of the web build, made by this same project with emscripten's
# compilers (emcmake cmake -S . -B DIR, as scripts/studio does).
if(NOT CMAKE_BUILD_TYPE OR CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
  set(CMAKE_BUILD_TYPE Release)
endif()
# Debian's emscripten lacks std::to_chars for float: FloatToChars.h gives
# it, forced into every source. A 64-bit hash seed folds into 32-bit size_t
# on purpose: any seed hashes.
add_compile_options(-O2 $<$<COMPILE_LANGUAGE:CXX>:-include$<SEMICOLON>${CMAKE_CURRENT_LIST_DIR}/FloatToChars.h>
  -Wno-constant-conversion)
# Without exceptions, the JSON library stops where it would throw.
add_compile_definitions(JSON_NOEXCEPTION)

# Debian's header-only libraries (glTF, JSON, stb), seen without the rest of
# /usr/include, whose C library is not emscripten's.
set(LOGO3D_HEADER_LIBRARIES ${CMAKE_BINARY_DIR}/headers)
file(MAKE_DIRECTORY ${LOGO3D_HEADER_LIBRARIES})
foreach(header tiny_gltf.h nlohmann stb)
  if(NOT EXISTS ${LOGO3D_HEADER_LIBRARIES}/${header})
    file(CREATE_LINK /usr/include/${header} ${LOGO3D_HEADER_LIBRARIES}/${header} SYMBOLIC)
  endif()
endforeach()
