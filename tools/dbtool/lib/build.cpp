// Reading the source folders and writing the two database files under a data root.
#include "tools/dbtool/lib/build.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

std::vector<std::string> sourceFiles(const std::string& folder, SourceErrors* errors)
{
    std::vector<std::string> files;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        errors->add(SourcePlace{folder, 0}, "cannot list the folder: " + ec.message());
        return files;
    }
    for (const fs::directory_entry& entry : it)
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

namespace {

template <typename Source, typename Parse>
void loadFolder(const std::string& folder, Source* out, SourceErrors* errors, Parse parse)
{
    for (const std::string& file : sourceFiles(folder, errors)) {
        std::string text, error;
        if (!readTextFile(file, &text, &error))
            errors->add(SourcePlace{file, 0}, error);
        else
            parse(text, file, out, errors);
    }
}

} // namespace

void loadDisplaySources(const std::string& dataDir, DisplaySource* out, SourceErrors* errors)
{
    loadFolder(dataDir + "/display", out, errors, parseDisplayText);
    finishDisplaySource(out, errors);
}

void loadContentSources(const std::string& dataDir, ContentSource* out, SourceErrors* errors)
{
    loadFolder(dataDir + "/content", out, errors, parseContentText);
}

bool loadSources(const std::string& dataDir, DisplaySource* display, ContentSource* content, SourceErrors* errors)
{
    loadDisplaySources(dataDir, display, errors);
    loadContentSources(dataDir, content, errors);
    return errors->empty();
}

std::string displayDatabaseFile(const std::string& root) { return root + "/Program Files/Quellix/DisplayDB-Qx4k.pdb"; }
std::string contentDatabaseFile(const std::string& root) { return root + "/Program Files/Quellix/DEZidiVA-Qx4k.pdb"; }

bool buildDatabases(const std::string& dataDir, const std::string& root, SourceErrors* errors)
{
    DisplaySource display;
    ContentSource content;
    if (!loadSources(dataDir, &display, &content, errors))
        return false;
    Bytes displayBytes, contentBytes;
    if (!buildDisplayDatabase(display, &displayBytes, errors) || !buildContentDatabase(content, &contentBytes, errors))
        return false;
    std::string error;
    for (auto [path, bytes] : {std::pair{displayDatabaseFile(root), &displayBytes},
                               std::pair{contentDatabaseFile(root), &contentBytes}})
        if (!writeBytes(path, *bytes, &error)) {
            errors->add(SourcePlace{path, 0}, error);
            return false;
        }
    return true;
}
