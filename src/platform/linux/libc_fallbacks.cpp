// The C++ runtime's calls of a newer C library, answered with older calls (see
// libc_fallbacks.h).
#include "platform/linux/libc_fallbacks.h"

#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {

struct Lookup {
    std::uintptr_t address;
    dl_find_object* result;
};

// Called for each loaded object; answers 1 (and stops the walk) for the one
// whose loaded segments hold the address.
int lookInObject(dl_phdr_info* object, std::size_t, void* data)
{
    Lookup& lookup = *static_cast<Lookup*>(data);
    std::uintptr_t start = UINTPTR_MAX, end = 0, frames = 0;
    bool holds = false;
    for (int i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[i];
        const std::uintptr_t begin = object->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD) {
            holds = holds || (lookup.address >= begin && lookup.address - begin < segment.p_memsz);
            start = std::min(start, begin);
            end = std::max(end, begin + segment.p_memsz);
        } else if (segment.p_type == DLFO_EH_SEGMENT_TYPE) {
            frames = begin;
        }
    }
    if (!holds) return 0;
    *lookup.result = dl_find_object{};
    lookup.result->dlfo_map_start = reinterpret_cast<void*>(start);
    lookup.result->dlfo_map_end = reinterpret_cast<void*>(end);
    lookup.result->dlfo_eh_frame = reinterpret_cast<void*>(frames);
    return 1;
}

}  // namespace

extern "C" int __wrap__dl_find_object(void* address, dl_find_object* result)
{
    Lookup lookup{reinterpret_cast<std::uintptr_t>(address), result};
    return dl_iterate_phdr(lookInObject, &lookup) ? 0 : -1;
}

extern "C" std::uint32_t __wrap_arc4random()
{
    std::uint32_t bits = 0;
    if (getentropy(&bits, sizeof bits) != 0)
        throw std::system_error(errno, std::generic_category(), "getentropy");
    return bits;
}
