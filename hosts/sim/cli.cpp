// zura-sim's command line: zura-sim [--root DIR] [SCRIPT | -]. The program runs with the data
// root (the folder holding "Program Files") as its current directory, as on the handheld.
#include "hosts/sim/sim.h"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int usage(const std::string& why)
{
    std::cerr << "zura-sim: " << why << "\nusage: zura-sim [--root DIR] [SCRIPT | -]\n";
    return simBadUsage;
}

}  // namespace

int simMain(int argc, char** argv, SimProgramEntry entry, const char* defaultRoot)
{
    std::string root = defaultRoot ? defaultRoot : ".";
    std::string scriptPath;
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--root") {
            if (++i >= argc)
                return usage("--root needs a folder");
            root = argv[i];
        } else if (arg.rfind("--root=", 0) == 0) {
            root = arg.substr(7);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usage("unknown option " + arg);
        } else if (haveScript) {
            return usage("more than one script");
        } else {
            scriptPath = arg;
            haveScript = true;
        }
    }
    std::stringstream script;
    std::string name = haveScript && scriptPath != "-" ? scriptPath : "<stdin>";
    if (haveScript && scriptPath != "-") {
        std::ifstream file(scriptPath, std::ios::binary);
        if (!file)
            return usage("cannot read " + scriptPath);
        script << file.rdbuf();
    } else {
        script << std::cin.rdbuf();
    }
    if (chdir(root.c_str()) != 0)
        return usage("no data root " + root);
    return runSimScript(script.str(), name, entry, std::cout, std::cerr);
}
