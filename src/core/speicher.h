#pragma once

namespace Speicher {

// Hands memory the program freed back to the system. A large report leaves its pages in the
// allocator's free lists, where the process keeps them for the rest of the day; call it once
// a big job is done, not on a path that must be quick (it walks the heap).
void zurueckgeben();

} // namespace Speicher
