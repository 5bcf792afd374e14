// vyr-iconpng ICO DIR: writes each image of a Windows icon file whose
// entries are PNG data (as scripts/make-icons writes vyr.ico) to
// DIR/vyr-SIZE.png, so that the Linux install's icons come from the one
// committed icon. Exit status 1, with a line, for anything else.
#include <cstdint>
#include <cstdio>
#include <cstring>

constexpr int MAX_ICON_BYTES = 1 << 22;  // far above a 256-pixel icon
static unsigned char Icon[MAX_ICON_BYTES];

static unsigned readLittle(const unsigned char* p, int bytes)
{
    unsigned v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | p[i];
    return v;
}

static int fail(const char* what, const char* path)
{
    fprintf(stderr, "vyr-iconpng: %s: %s\n", path, what);
    return 1;
}

int main(int argc, char** argv)
{
    if (argc != 3) return fail("usage: vyr-iconpng ICO DIR", "");
    FILE* in = fopen(argv[1], "rb");
    if (!in) return fail("cannot read", argv[1]);
    size_t size = fread(Icon, 1, sizeof Icon, in);
    fclose(in);
    if (size < 6 || readLittle(Icon + 2, 2) != 1) return fail("not an icon file", argv[1]);
    unsigned count = readLittle(Icon + 4, 2);
    for (unsigned i = 0; i < count; i++) {
        const unsigned char* e = Icon + 6 + 16 * i;
        if (e + 16 > Icon + size) return fail("directory cut short", argv[1]);
        unsigned side = e[0] ? e[0] : 256, length = readLittle(e + 8, 4), offset = readLittle(e + 12, 4);
        if (offset > size || length > size - offset || length < 8 || memcmp(Icon + offset, "\x89PNG\r\n\x1a\n", 8) != 0)
            return fail("an entry that is not PNG data", argv[1]);
        char path[4096];
        snprintf(path, sizeof path, "%s/vyr-%u.png", argv[2], side);
        FILE* out = fopen(path, "wb");
        if (!out || fwrite(Icon + offset, 1, length, out) != length || fclose(out) != 0) return fail("cannot write", path);
    }
    return 0;
}
