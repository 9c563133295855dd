// The glTF library's implementation, compiled into the module (natively the
// program links Debian's build of it). Images are none of the logo's business.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
