#include "backend_choice.h"

#include "errors.h"
#include "host/emu/emulated_backend.h"
#include "host/native_backend.h"

namespace zephel::cli {

std::unique_ptr<Backend> open_backend(const BackendChoice& choice) {
    if (!choice.module_path.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(choice.module_path, ec))
            throw UsageError("--module " + choice.module_path +
                             ": no such file; give a built Rt_Zephel.gau (the win32 build's), or leave out "
                             "--module to use the module linked into zephel");
        return std::make_unique<EmulatedBackend>(choice.module_path);
    }
    if (choice.resources_dir.empty()) return std::make_unique<NativeBackend>();
    std::error_code ec;
    if (!std::filesystem::is_directory(choice.resources_dir, ec))
        throw UsageError("--resources " + choice.resources_dir.string() +
                         ": not a directory; give the directory that holds the XXXX.bmp bitmaps");
    return std::make_unique<NativeBackend>(choice.resources_dir);
}

}  // namespace zephel::cli
