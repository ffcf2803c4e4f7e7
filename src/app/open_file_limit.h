// Every connection costs the endpoint a descriptor, and the usual default allowance (1024) is
// far below what the system lets a process have.
#pragma once

namespace qf {

// Raises the process's soft limit on open files to its hard limit. Failing leaves it as it was.
void RaiseOpenFileLimit();

}  // namespace qf
