// LargePages: asks the system to back a large, long-lived block of memory with large pages, so that
// writes scattered all over it (the search's bit set and word map) miss the address cache far less.
// Only a hint: the memory stays ordinary memory, and nothing changes where the system cannot do it.
#pragma once

#include <cstddef>

void adviseLargePages(void* p, size_t bytes);
