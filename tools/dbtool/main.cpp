// dbtool: builds the display and content databases from the text sources in data/.
// (Placeholder until the source formats land: writes empty containers.)
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/dbtool/lib/writer.h"

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "build") == 0) {
        std::string dir = std::string(argv[3]) + "/Program Files/Quellix/";
        std::string error;
        if (!writeBytes(dir + "DisplayDB-Qx4k.pdb", makeContainer({}), &error) ||
            !writeBytes(dir + "DEZidiVA-Qx4k.pdb", makeContainer({}), &error)) {
            std::fprintf(stderr, "dbtool: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) {
        std::printf("%s\n", argv[2]);
        return 0;
    }
    std::fprintf(stderr, "usage: dbtool build DATA_DIR ROOT | dbtool dump FILE\n");
    return 2;
}
