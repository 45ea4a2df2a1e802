// zura-sim's script parser on any bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "hosts/sim/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<ScriptLine> lines;
    std::string error;
    if (parseScript(std::string(reinterpret_cast<const char*>(data), size), &lines, &error))
        for (const ScriptLine& line : lines)
            for (std::size_t i = 0; i < line.words.size(); ++i)
                line.text(i);
    return 0;
}
