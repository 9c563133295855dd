// The glTF library's implementation (Debian's header), compiled into the
// exporter: the same build natively and in WebAssembly. Images are none of
// the logo's business.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
