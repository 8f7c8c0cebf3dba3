// File header fields at their offsets; see rar_format.h.
#include "archive/rar_format.h"

namespace rarformat {

// Missing bytes of a short read are the caller's zeros.
void decodeFileHeader(const std::uint8_t* b, FileHeader& f)
{
    f.head.crc = le16(b);
    f.head.type = b[2];
    f.head.flags = le16(b + 3);
    f.head.headSize = le16(b + 5);
    f.head.dataSize = f.packSize = le32(b + 7);
    f.unpSize = le32(b + 11);
    f.hostOs = b[15];
    f.fileCrc = le32(b + 16);
    f.fileTime = le32(b + 20);
    f.unpVer = b[24];
    f.method = b[25];
    f.nameSize = le16(b + 26);
    f.attributes = le32(b + 28);
}

// The data size at offset 7 is the packed size: encoding writes packSize there.
void encodeFileHeader(const FileHeader& f, std::uint8_t* b)
{
    put16(b, f.head.crc);
    b[2] = f.head.type;
    put16(b + 3, f.head.flags);
    put16(b + 5, f.head.headSize);
    put32(b + 7, f.packSize);
    put32(b + 11, f.unpSize);
    b[15] = f.hostOs;
    put32(b + 16, f.fileCrc);
    put32(b + 20, f.fileTime);
    b[24] = f.unpVer;
    b[25] = f.method;
    put16(b + 26, f.nameSize);
    put32(b + 28, f.attributes);
}

}  // namespace rarformat
