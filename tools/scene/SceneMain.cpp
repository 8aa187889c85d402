// scene [--rect X Y WIDTH HEIGHT] [--seconds N]: shows the test scene at the
// given screen rectangle and ends after N seconds (or when closed).
#include "CSceneWindow.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pelidore {

namespace {

struct SceneOptions {
    int x = 0;
    int y = 0;
    int width = 640;
    int height = 360;
    unsigned seconds = 120;
};

bool ParseInt(const char* text, long minimum, long maximum, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= minimum && value <= maximum;
}

bool ParseOptions(int argc, char** argv, SceneOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        long values[4];
        if (std::strcmp(argv[i], "--rect") == 0 && i + 4 < argc) {
            for (int k = 0; k < 4; ++k) {
                if (!ParseInt(argv[i + 1 + k], k < 2 ? -32768 : 1, 32767, values[k]))
                    return false;
            }
            options.x = static_cast<int>(values[0]);
            options.y = static_cast<int>(values[1]);
            options.width = static_cast<int>(values[2]);
            options.height = static_cast<int>(values[3]);
            i += 4;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            if (!ParseInt(argv[i + 1], 1, 86400, values[0]))
                return false;
            options.seconds = static_cast<unsigned>(values[0]);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int main(int argc, char** argv)
{
    SceneOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: scene [--rect X Y WIDTH HEIGHT] [--seconds N]\n");
        return 2;
    }
    // The rectangle is the recording's, in the screen's pixels at every scale.
    SetProcessDPIAware();
    pelidore::CSceneWindow scene;
    if (!scene.Create(GetModuleHandleW(nullptr), options.x, options.y, options.width, options.height,
                      options.seconds * 1000u)) {
        std::fprintf(stderr, "scene: cannot create the window\n");
        return 1;
    }
    return scene.Run();
}
