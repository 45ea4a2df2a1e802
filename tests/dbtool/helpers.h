// Shared by the dbtool tests: a private temporary folder, and parsing a source text in one call.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "tools/dbtool/lib/content_source.h"
#include "tools/dbtool/lib/display_source.h"

class TempFolder {
public:
    TempFolder()
    {
        static int serial = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("zura-dbtool-" + std::to_string(getpid()) + "-" + std::to_string(++serial)))
                    .string();
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes text to name (a path inside the folder), creating its folders.
    std::string write(const std::string& name, const std::string& text) const
    {
        std::filesystem::path p = file(name);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }

private:
    std::string path_;
};

inline DisplaySource parseDisplay(const std::string& text, SourceErrors* errors, bool finish = true)
{
    DisplaySource source;
    parseDisplayText(text, "t.txt", &source, errors);
    if (finish)
        finishDisplaySource(&source, errors);
    return source;
}

inline ContentSource parseContent(const std::string& text, SourceErrors* errors)
{
    ContentSource source;
    parseContentText(text, "t.txt", &source, errors);
    return source;
}

inline std::string joined(const SourceErrors& errors)
{
    std::string all;
    for (const std::string& m : errors.messages)
        all += m + "\n";
    return all;
}
