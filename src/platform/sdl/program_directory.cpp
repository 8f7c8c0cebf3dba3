// The folder of the program's own executable, as the system tells SDL (on the web
// page the root of the page's own files).
#include <SDL.h>

#include "platform/platform.h"

namespace platform {

std::string programDirectory()
{
    char* path = SDL_GetBasePath();
    if (path == nullptr) return std::string();
    std::string result(path);
    SDL_free(path);
    return result;
}

}  // namespace platform
