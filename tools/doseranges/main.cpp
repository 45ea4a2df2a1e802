// doseranges: writes the dose-range table and its conversion entry as content source text,
// to standard output or to the file named (data/content/doseranges.txt in the repository).
#include <cstdio>
#include <string>

#include "tools/doseranges/lib/table.h"

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: doseranges [OUTPUT_FILE]\n");
        return 2;
    }
    const std::string text = doseranges::doseRangeSource();
    FILE* out = argc == 2 ? std::fopen(argv[1], "wb") : stdout;
    if (!out) {
        std::fprintf(stderr, "doseranges: cannot write %s\n", argv[1]);
        return 1;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (argc == 2) written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "doseranges: writing failed\n");
        return 1;
    }
    return 0;
}
