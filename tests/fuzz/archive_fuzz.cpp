// The archive reader on any bytes, through its memory seam (no file per run).
// Each input is an archive image. The reader is asked for the first member the
// packer's listing finds, without a password, and for the last one with
// "password" (the fixtures' password): so a normal archive has both ends
// decoded, a solid one every member, an encrypted one deciphered and not. (One
// plain member is asked for once.) An input the listing finds nothing in is
// still walked, for a name it lacks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "archive/reader_internal.h"
#include "fuzz_check.h"
#include "rarpack.h"

namespace {

// The debug log would open and close a file per line: it is kept off by pointing
// the temporary directory where no file can be made.
void keepTheLogOff()
{
    static const bool done = (setenv("TMPDIR", "/dev/null/zw-fuzz", 1), true);
    (void)done;
}

// A call must keep the reader's contract whatever it is fed.
void extractOnce(const std::vector<std::uint8_t>& image, const std::string& name, const char* password)
{
    std::uint8_t* data = nullptr;
    std::uint32_t size = 1;
    const int result =
        rarreader::extractFromMemory(&data, &size, name.c_str(), image.data(), image.size(), password);
    FUZZ_CHECK(result == 0 || result == 1);
    if (result == 0) {
        FUZZ_CHECK(data == nullptr && size == 0);
        return;
    }
    FUZZ_CHECK(data != nullptr);
    touchBytes(data, size);
    std::free(data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    keepTheLogOff();
    const std::vector<std::uint8_t> image(bytes, bytes + size);
    rarpack::Listing listing;
    std::string error;
    rarpack::listArchive(image, listing, error);
    if (listing.entries.empty()) {
        extractOnce(image, "absent.txt", nullptr);
        return 0;
    }
    const rarpack::Entry &first = listing.entries.front(), &last = listing.entries.back();
    extractOnce(image, first.name, nullptr);
    if (listing.entries.size() > 1 || last.isEncrypted()) extractOnce(image, last.name, "password");
    return 0;
}
