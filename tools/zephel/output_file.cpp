#include "output_file.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "errors.h"

namespace zephel::cli {

namespace fs = std::filesystem;

OutputFile::OutputFile(fs::path path) : path_(std::move(path)) {
    if (path_.empty()) throw Failure("output path is empty; give a file name such as out.png");
    std::error_code ec;
    if (fs::is_directory(path_, ec))
        throw Failure(path_.string() + ": is a directory; give a file name inside it");
    temporary_ = path_;
    temporary_ += ".tmp-" + std::to_string(::getpid());
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (!file_) {
        const int err = errno;
        const fs::path dir = path_.has_parent_path() ? path_.parent_path() : fs::path(".");
        throw Failure(path_.string() + ": cannot write here (" + std::strerror(err) + "); " +
                      (fs::is_directory(dir, ec) ? "choose a writable directory"
                                                 : "directory " + dir.string() + " does not exist"));
    }
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
    if (!committed_) {
        std::error_code ec;
        fs::remove(temporary_, ec);
    }
}

void OutputFile::close_stream() {
    if (file_) {
        const bool bad = std::ferror(file_) != 0;
        const bool close_failed = std::fclose(file_) != 0;
        file_ = nullptr;
        if (bad || close_failed)
            throw Failure(path_.string() + ": writing failed (" + std::strerror(errno) + "); nothing was written");
    }
}

void OutputFile::commit() {
    close_stream();
    std::error_code ec;
    fs::rename(temporary_, path_, ec);
    if (ec) throw Failure(path_.string() + ": cannot replace it (" + ec.message() + "); nothing was written");
    committed_ = true;
}

void check_writable(const fs::path& path) {
    OutputFile probe(path);  // throws with the reason; removed again on return
}

}  // namespace zephel::cli
