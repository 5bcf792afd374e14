// The settings file: "[page title]" section lines and "row label=value" lines.
//
// Index
//   - Saving: menuFormat, menuSave
//   - Reading primitives: a byte reader that stops for good at the end of
//     the stream or at a read error
//   - Values: menuAssign
//   - Loading: menuLoad
#include "menu/settings.h"

#include <cstdarg>
#include <cstring>

#include "menu/rowvalue.h"

constexpr int FIELD_SIZE = 256;  // section, key, value and comment: up to 255 bytes each
constexpr int FILE_DECIMALS = 6;  // digits a float keeps after the point in the file

// ---- Saving ------------------------------------------------------------------
// Appends formatted text at *length while it fits in size bytes (NUL
// included); *length counts every byte, so past the end it tells what was needed.
static void append(char* text, size_t size, size_t* length, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char* at = *length < size ? text + *length : nullptr;
    int n = vsnprintf(at, at ? size - *length : 0, format, args);
    va_end(args);
    if (n > 0) *length += (size_t)n;
}

size_t menuFormat(menu* m, char* text, size_t size)
{
    size_t length = 0;
    if (size > 0) text[0] = '\0';
    for (int p = 0; p < m->pageCount; p++) {
        menupage* page = m->pages[p];
        append(text, size, &length, "[%s]\n", page->name);
        for (int i = 0; i < page->itemCount; i++) {
            menuitem* item = page->items[i];
            const rowvalueops* ops = rowValueOps(item);
            if (!ops) continue;
            char value[64];
            ops->format(ops->read(item), FILE_DECIMALS, value, sizeof value);
            append(text, size, &length, "%s=%s\n", item->name, value);
        }
        append(text, size, &length, "\n");
    }
    return length;
}

void menuSave(menu* m, FILE* stream)
{
    char text[SETTINGS_TEXT_SIZE];
    size_t length = menuFormat(m, text, sizeof text);
    fwrite(text, 1, length < sizeof text ? length : sizeof text - 1, stream);
}

// ---- Reading primitives --------------------------------------------------------
// One byte of lookahead over the stream. Once fgetc has returned EOF, whether
// at the end or on a read error, the reader is finished and never reads again,
// so a stream that keeps failing cannot hold the loader in a loop.
struct reader {
    FILE* stream;
    int next;  // the byte not yet consumed, or EOF when finished
};

static void advance(reader* r)
{
    if (r->next != EOF) r->next = fgetc(r->stream);
}

static bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A bounded field: up to FIELD_SIZE-1 bytes, NUL bytes included, so its
// length is kept beside the text.
struct field {
    char text[FIELD_SIZE];
    int length;
};

// A line ends with LF, CRLF or a lone CR (old Mac editors).
static bool isLineEnd(int c) { return c == '\n' || c == '\r'; }

// Reads bytes into f until stop (EOF: none), a line end if lineEnds, or a full field.
static void readField(reader* r, field* f, int stop, bool lineEnds)
{
    f->length = 0;
    while (r->next != EOF && r->next != stop && !(lineEnds && isLineEnd(r->next)) &&
           f->length < FIELD_SIZE - 1) {
        f->text[f->length++] = (char)r->next;
        advance(r);
    }
    f->text[f->length] = '\0';
}

// Skips to the end of the line and past it; the LF of a CRLF goes with the
// blanks at the start of the next line.
static void skipLine(reader* r)
{
    while (r->next != EOF && !isLineEnd(r->next)) advance(r);
    advance(r);  // the line end itself
}

// Skips a UTF-8 byte-order mark at the start of the stream. A partial mark
// leaves the reader inside a line that cannot be a header, so that line is
// skipped, as it would have been anyway: lines before the first section mean nothing.
static void skipByteOrderMark(reader* r)
{
    static const int MARK[] = {0xEF, 0xBB, 0xBF};
    int matched = 0;
    while (matched < 3 && r->next == MARK[matched]) {
        advance(r);
        matched++;
    }
    if (matched > 0 && matched < 3) skipLine(r);
}

// The first row labelled key on the first page titled section that has one.
// A field holding a NUL byte names no row (the names end at their first NUL).
static menuitem* findRow(menu* m, const field* section, const field* key)
{
    if (memchr(section->text, 0, section->length) || memchr(key->text, 0, key->length)) return nullptr;
    return findMenuItem(m, section->text, key->text);
}

// ---- Values ----------------------------------------------------------------------
void menuAssign(menuitem* item, const char* text)
{
    const rowvalueops* ops = rowValueOps(item);
    if (!ops) return;
    double v = ops->read(item);
    ops->parse(text, &v);  // no number: the value held, clamped
    ops->write(item, ops->clamp(item, v));
}

// ---- Loading ---------------------------------------------------------------------
void menuLoad(menu* m, FILE* stream)
{
    reader r = {stream, 0};
    r.next = fgetc(stream);
    skipByteOrderMark(&r);
    field section = {}, key, value, scratch;  // section: empty until a header is read

    while (r.next != EOF) {
        // Blank lines and indentation vanish; ";" starts a comment.
        while (isBlank(r.next)) advance(&r);
        if (r.next == EOF || r.next == ';') {
            skipLine(&r);
            continue;
        }

        if (r.next == '[') {
            // Up to 255 bytes other than "]", newlines included, then the "]".
            advance(&r);
            readField(&r, &scratch, ']', false);
            if (scratch.length > 0) section = scratch;  // "[]" names no section
            skipLine(&r);  // the "]" and whatever follows it on its line
            continue;
        }

        if (section.length == 0) {  // lines before the first section
            skipLine(&r);
            continue;
        }

        readField(&r, &key, '=', true);
        if (key.length == 0 || r.next != '=') {
            skipLine(&r);
            continue;
        }
        advance(&r);  // the "="
        readField(&r, &value, EOF, true);
        if (value.length > 0) {
            menuitem* item = findRow(m, &section, &key);
            if (item) menuAssign(item, value.text);
        }
        skipLine(&r);
    }
}
