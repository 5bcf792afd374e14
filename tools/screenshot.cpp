// Saves the root window of an X display as a PNG file:
//     vyr-screenshot OUTPUT.png
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

static uint32_t crcTable[256];

static void initCrc()
{
    for (uint32_t n = 0; n < 256; n++) {
        uint32_t c = n;
        for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
}

static uint32_t crc(const uint8_t* data, size_t size, uint32_t c = 0xFFFFFFFFu)
{
    for (size_t i = 0; i < size; i++) c = crcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c;
}

static void putBE32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) out.push_back((v >> s) & 0xFF);
}

static void writeChunk(FILE* f, const char* type, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> chunk;
    putBE32(chunk, (uint32_t)data.size());
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    putBE32(chunk, crc(chunk.data() + 4, chunk.size() - 4) ^ 0xFFFFFFFFu);
    fwrite(chunk.data(), 1, chunk.size(), f);
}

static std::vector<uint8_t> deflate(const std::vector<uint8_t>& raw)
{
    uLongf size = compressBound(raw.size());
    std::vector<uint8_t> z(size);
    if (compress2(z.data(), &size, raw.data(), raw.size(), 9) != Z_OK) return {};
    z.resize(size);
    return z;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: vyr-screenshot OUTPUT.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "vyr-screenshot: cannot open the display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    int width = attributes.width, height = attributes.height;
    XImage* image = XGetImage(display, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) {
        fprintf(stderr, "vyr-screenshot: cannot read the screen\n");
        return 1;
    }
    std::vector<uint8_t> raw;
    raw.reserve((size_t)(width * 3 + 1) * height);
    for (int y = 0; y < height; y++) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; x++) {
            unsigned long pixel = XGetPixel(image, x, y);
            raw.push_back((pixel & image->red_mask) >> 16);
            raw.push_back((pixel & image->green_mask) >> 8);
            raw.push_back(pixel & image->blue_mask);
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);

    FILE* f = fopen(argv[1], "wb");
    if (!f) {
        fprintf(stderr, "vyr-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    initCrc();
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    fwrite(signature, 1, 8, f);
    std::vector<uint8_t> header;
    putBE32(header, width);
    putBE32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    writeChunk(f, "IHDR", header);
    writeChunk(f, "IDAT", deflate(raw));
    writeChunk(f, "IEND", {});
    int failed = ferror(f);
    if (fclose(f) != 0 || failed) {
        fprintf(stderr, "vyr-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
