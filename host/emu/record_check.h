// Checks the records a module leads to from Linkage against the simulator's
// 32-bit layout before any of its code runs: every record lies in the
// module's writable data, every host-owned byte is zero as stored, every
// routine pointer is null or points at the module's code, every other
// pointer stays inside the image. A record packed to 8 bytes shifts its
// later fields into host-owned bytes and is caught here.
#pragma once

#include <string>
#include <vector>

#include "host/emu/emulated_module.h"

namespace emu {

// One line per fault found, naming the gauge, the record, its address and
// the offending bytes; empty when the records are sound.
std::vector<std::string> check_records(const EmulatedModule& module);

}  // namespace emu
