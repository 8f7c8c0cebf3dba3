#include "bmp_files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {
const char* const convertTool = "/usr/bin/convert-im6.q16";
}

Picture testPicture(int width, int height)
{
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int run = x / 3;  // three pixels per run
            p.rgb.push_back(std::uint8_t(200 - 60 * y + 17 * run));
            p.rgb.push_back(std::uint8_t(30 + 45 * run + 5 * y));
            p.rgb.push_back(std::uint8_t(90 + 70 * ((x + 2 * y) % 3)));
        }
    }
    return p;
}

Bytes bottomUp(const Picture& picture)
{
    Bytes out;
    const std::size_t row = std::size_t(picture.width) * 3;
    for (int y = picture.height - 1; y >= 0; --y)
        out.insert(out.end(), picture.rgb.begin() + y * row, picture.rgb.begin() + (y + 1) * row);
    return out;
}

bool writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

Bytes readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool writePpm(const std::string& path, const Picture& picture)
{
    const std::string head =
        "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    Bytes bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), picture.rgb.begin(), picture.rgb.end());
    return writeFile(path, bytes);
}

// Binary PPM with a maximum of 255, as ImageMagick writes it with -depth 8.
bool readPpm(const std::string& path, Picture& picture)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    int maxValue = 0;
    const bool head = std::fscanf(file, "P6 %d %d %d", &picture.width, &picture.height, &maxValue) == 3 &&
                      std::fgetc(file) != EOF && maxValue == 255;
    picture.rgb.assign(std::size_t(picture.width) * picture.height * 3, 0);
    const bool body =
        head && std::fread(picture.rgb.data(), 1, picture.rgb.size(), file) == picture.rgb.size();
    std::fclose(file);
    return body;
}

bool imageMagick(const std::string& arguments)
{
    const std::string command = std::string(convertTool) + " " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

bool imageMagickAvailable() { return ::access(convertTool, X_OK) == 0; }

std::string makeTempDirectory()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zw-media-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

Bytes buildBmp(const BmpLayout& s)
{
    Bytes header;
    append32(header, s.headerSize);
    if (s.headerSize == 12) {
        append16(header, std::uint32_t(s.width));
        append16(header, std::uint32_t(s.height));
        append16(header, 1);
        append16(header, s.bitsPerPixel);
    } else {
        append32(header, std::uint32_t(s.width));
        append32(header, std::uint32_t(s.height));
        append16(header, 1);
        append16(header, s.bitsPerPixel);
        append32(header, s.compression);
        append32(header, std::uint32_t(s.pixels.size()));
        append32(header, 2835);
        append32(header, 2835);
        append32(header, s.coloursUsed);
        append32(header, 0);
        header.resize(s.headerSize, 0);
    }
    for (std::uint32_t m : s.masks) append32(header, m);
    header.insert(header.end(), s.palette.begin(), s.palette.end());
    Bytes file;
    if (!s.bare) {
        const std::uint32_t offset = 14 + std::uint32_t(header.size());
        file = {'B', 'M'};
        append32(file, offset + std::uint32_t(s.pixels.size()));
        append32(file, 0);
        append32(file, offset);
    }
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}
