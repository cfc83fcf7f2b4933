// The two kinds of error the workbench reports, one message each.
//
// A usage error is a command line that cannot be right (exit status 2); a
// failure is everything found wrong later, in a file or in the world (exit
// status 1). Both carry one complete message that names the bad input and
// what would be right.
#pragma once

#include <stdexcept>
#include <string>

namespace zephel::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int EXIT_USAGE = 2;
constexpr int EXIT_FAILED = 1;

}  // namespace zephel::cli
