// The one place where the workbench chooses how it reaches the module: the
// module linked into this program (the default), or a built Rt_Zephel.gau
// run in an x86 emulator when --module names one.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/backend.h"

namespace zephel::cli {

struct BackendChoice {
    std::string module_path;                // --module: a built .gau; empty = the linked module
    std::filesystem::path resources_dir;    // --resources: bitmaps for the linked module; empty = default
};

// Throws UsageError for a choice that cannot be honoured.
std::unique_ptr<Backend> open_backend(const BackendChoice& choice);

}  // namespace zephel::cli
