#pragma once

namespace Cli {

// Lets the heap grow in large steps backed by huge pages where the system offers
// them (Linux with glibc); elsewhere it does nothing. A command that loads 100 000
// contacts makes a few hundred thousand small allocations, and touching each new
// 4 KB page of them for the first time cost it more than reading the store did.
void useLargeHeapPages();

} // namespace Cli
