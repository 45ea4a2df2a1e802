// Opening data files by the program's backslashed relative paths.
#include "dbfile/paths.h"

#include <cstring>

std::FILE* openDataFile(const char* path)
{
    if (!path)
        return nullptr;
#ifdef _WIN32
    return std::fopen(path, "rb");
#else
    char mapped[1024];
    std::size_t n = std::strlen(path);
    if (n >= sizeof mapped)
        return nullptr;
    for (std::size_t i = 0; i <= n; ++i)
        mapped[i] = path[i] == '\\' ? '/' : path[i];
    return std::fopen(mapped, "rb");
#endif
}
