// Fixture files for the reader tests: a container written to a private temporary folder that
// is removed with the fixture.
#pragma once
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "tools/dbtool/lib/writer.h"

class TempFile {
public:
    TempFile(const std::string& name, const Bytes& bytes)
    {
        static int serial = 0;
        folder_ = (std::filesystem::temp_directory_path() /
                   ("zura-dbfile-" + std::to_string(getpid()) + "-" + std::to_string(++serial)))
                      .string();
        path_ = folder_ + "/" + name;
        write(bytes);
    }
    ~TempFile()
    {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void write(const Bytes& bytes)
    {
        std::string error;
        if (bytes.empty()) {   // writeBytes hands fwrite a null pointer for no bytes
            std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
            std::ofstream(path_, std::ios::binary | std::ios::trunc);
            return;
        }
        if (!writeBytes(path_, bytes, &error))
            throw std::runtime_error(error);
    }
    const char* path() const { return path_.c_str(); }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_, path_;
};
