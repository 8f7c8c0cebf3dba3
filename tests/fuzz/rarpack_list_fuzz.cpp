// The packer's table of contents on any bytes, with the name checks that
// `rarpack --extract` makes on every listed name.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "rarpack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::vector<std::uint8_t> image(bytes, bytes + size);
    rarpack::Listing listing;
    std::string error;
    const bool listed = rarpack::listArchive(image, listing, error);
    FUZZ_CHECK(listed || !error.empty());
    for (const rarpack::Entry& entry : listing.entries) {
        FUZZ_CHECK(rarpack::memberKey(entry.name).size() == entry.name.size());
        rarpack::isSafeMemberName(entry.name);
    }
    return 0;
}
