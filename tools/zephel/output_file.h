// Output files that appear whole or not at all: everything is written to a
// temporary file beside the target and renamed over it at commit.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace zephel::cli {

class OutputFile {
public:
    // Opens a temporary file next to `path`; throws Failure naming `path`
    // when its directory cannot take it.
    explicit OutputFile(std::filesystem::path path);
    ~OutputFile();  // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    FILE* stream() { return file_; }
    const std::filesystem::path& temporary() const { return temporary_; }
    const std::filesystem::path& path() const { return path_; }

    // Closes the temporary file (when still open) and renames it over the
    // target; throws Failure on a write or rename error.
    void commit();
    // For writers that open the temporary path themselves (giflib).
    void close_stream();

private:
    std::filesystem::path path_;
    std::filesystem::path temporary_;
    FILE* file_ = nullptr;
    bool committed_ = false;
};

// Checks that a file can be made at `path` before any long work starts.
void check_writable(const std::filesystem::path& path);

}  // namespace zephel::cli
