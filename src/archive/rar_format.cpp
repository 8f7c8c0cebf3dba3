// Block head and file header fields at their offsets; see rar_format.h.
#include "archive/rar_format.h"

namespace rarformat {

void decodeBlockHead(const std::uint8_t* b, BlockHead& h)
{
    h.crc = le16(b);
    h.type = b[2];
    h.flags = le16(b + 3);
    h.headSize = le16(b + 5);
}

void encodeBlockHead(const BlockHead& h, std::uint8_t* b)
{
    put16(b, h.crc);
    b[2] = h.type;
    put16(b + 3, h.flags);
    put16(b + 5, h.headSize);
}

// Missing bytes of a short read are the caller's zeros.
void decodeFileHeader(const std::uint8_t* b, FileHeader& f)
{
    decodeBlockHead(b, f.head);
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
    encodeBlockHead(f.head, b);
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
