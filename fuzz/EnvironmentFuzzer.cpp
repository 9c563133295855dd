// Any bytes as an environment file: read, then applied to GL as the viewer's
// start-up and every reshape apply it.

#include "FuzzSupport.h"
#include "scene/Environment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::UseDrawBudget();
    std::istringstream in = fuzz::InputStream(data, size);
    Environment environment;
    environment.Read(in);
    capture::Reset();
    environment.ApplyLighting();
    environment.SetViewport(0, 0, 400, 300);
    environment.projection.Apply();
    fuzz::RequireSoundGL("environment");
    return 0;
}
