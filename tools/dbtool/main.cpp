// dbtool: builds the display and content databases from the text sources in data/, dumps
// database files readably and checks that the sources are coherent.
// Exit status: 0 done, 1 bad input, incoherent sources or a damaged file, 2 wrong usage.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/dbtool/lib/build.h"
#include "tools/dbtool/lib/check.h"
#include "tools/dbtool/lib/dump.h"

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: dbtool build DATA_DIR ROOT      sources in DATA_DIR/display and DATA_DIR/content to\n"
                 "                                       ROOT/Program Files/Quellix/*.pdb\n"
                 "       dbtool dump [--display|--content] FILE\n"
                 "       dbtool check [--allow-missing-references] DATA_DIR\n"
                 "                                       proves the sources coherent; the option reports\n"
                 "                                       reference ids missing from the reference record\n"
                 "                                       as warnings\n");
    return 2;
}

int report(const SourceErrors& errors)
{
    for (const std::string& m : errors.messages)
        std::fprintf(stderr, "%s\n", m.c_str());
    return errors.empty() ? 0 : 1;
}

int build(const char* dataDir, const char* root)
{
    SourceErrors errors;
    buildDatabases(dataDir, root, &errors);
    return report(errors);
}

// With allowMissingReferences, reference ids missing from the reference record are warnings.
int check(const char* dataDir, bool allowMissingReferences)
{
    SourceErrors problems, missing;
    checkDataDir(dataDir, &problems, allowMissingReferences ? &missing : nullptr);
    for (const std::string& m : missing.messages)
        std::fprintf(stderr, "warning: %s\n", m.c_str());
    return report(problems);
}

int dump(const char* path, DatabaseKind kind)
{
    DumpResult r = dumpDatabase(path, kind);
    std::fwrite(r.text.data(), 1, r.text.size(), stdout);
    for (const std::string& d : r.damage)
        std::fprintf(stderr, "dbtool: %s: damage: %s\n", path, d.c_str());
    return r.damage.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "build") == 0)
        return build(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "check") == 0 && argv[2][0] != '-')
        return check(argv[2], false);
    if (argc == 4 && std::strcmp(argv[1], "check") == 0 && std::strcmp(argv[2], "--allow-missing-references") == 0)
        return check(argv[3], true);
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0)
        return dump(argv[2], DatabaseKind::Detect);
    if (argc == 4 && std::strcmp(argv[1], "dump") == 0 && std::strcmp(argv[2], "--display") == 0)
        return dump(argv[3], DatabaseKind::Display);
    if (argc == 4 && std::strcmp(argv[1], "dump") == 0 && std::strcmp(argv[2], "--content") == 0)
        return dump(argv[3], DatabaseKind::Content);
    return usage();
}
