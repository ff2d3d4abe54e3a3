// wvsprintfA: the Win32 formatter's subset of printf.
#include <string.h>

#include <string>

#include "user32/wsprintf.h"
#include "utf16.h"

namespace {

// Win32's wsprintf writes at most 1024 characters, the terminator included.
constexpr size_t kOutputLimit = 1023;

struct Output {
    char *buffer;
    size_t length;
    void Put(char c)
    {
        if (length < kOutputLimit)
            buffer[length++] = c;
    }
    void Pad(size_t count, char c)
    {
        while (count-- > 0)
            Put(c);
    }
};

struct Conversion {
    bool leftAlign = false;
    bool alternate = false;
    bool zeroPad = false;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
    char size = 0; // 'h', 'l' or 'w'
    char type = 0;
};

const char *ParseConversion(const char *format, Conversion *c)
{
    for (;; ++format) {
        if (*format == '-')
            c->leftAlign = true;
        else if (*format == '#')
            c->alternate = true;
        else if (*format == '0')
            c->zeroPad = true;
        else
            break;
    }
    while (*format >= '0' && *format <= '9')
        c->width = c->width * 10 + size_t(*format++ - '0');
    if (*format == '.') {
        c->hasPrecision = true;
        ++format;
        while (*format >= '0' && *format <= '9')
            c->precision = c->precision * 10 + size_t(*format++ - '0');
    }
    if (*format == 'h' || *format == 'l' || *format == 'w')
        c->size = *format++;
    c->type = *format;
    return *format ? format + 1 : format;
}

void PutField(Output *out, const Conversion &c, const char *text, size_t length)
{
    size_t padding = c.width > length ? c.width - length : 0;
    if (!c.leftAlign)
        out->Pad(padding, ' ');
    for (size_t i = 0; i < length; ++i)
        out->Put(text[i]);
    if (c.leftAlign)
        out->Pad(padding, ' ');
}

void PutNumber(Output *out, const Conversion &c, uint32_t magnitude, bool negative)
{
    char digits[16];
    size_t count = 0;
    unsigned base = (c.type == 'x' || c.type == 'X') ? 16 : 10;
    const char *alphabet = c.type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[count++] = alphabet[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    size_t precisionZeros = c.hasPrecision && c.precision > count ? c.precision - count : 0;
    const char *prefix = negative ? "-" : (c.alternate && base == 16 ? (c.type == 'X' ? "0X" : "0x") : "");
    size_t length = strlen(prefix) + precisionZeros + count;
    size_t padding = c.width > length ? c.width - length : 0;
    if (!c.leftAlign && !c.zeroPad)
        out->Pad(padding, ' ');
    for (const char *p = prefix; *p; ++p)
        out->Put(*p);
    if (!c.leftAlign && c.zeroPad)
        out->Pad(padding, '0');
    out->Pad(precisionZeros, '0');
    while (count > 0)
        out->Put(digits[--count]);
    if (c.leftAlign)
        out->Pad(padding, ' ');
}

void PutString(Output *out, const Conversion &c, va_list *arguments)
{
    // In the 8-bit formatter %S, %ls and %ws take UTF-16 text.
    bool wide = c.type == 'S' ? c.size != 'h' : (c.size == 'l' || c.size == 'w');
    std::string converted;
    const char *text;
    if (wide) {
        const WCHAR *source = va_arg(*arguments, const WCHAR *);
        converted = source ? Utf16ToUtf8(source) : std::string("(null)");
        text = converted.c_str();
    } else {
        text = va_arg(*arguments, const char *);
        if (!text)
            text = "(null)";
    }
    size_t length = strlen(text);
    if (c.hasPrecision && c.precision < length)
        length = c.precision;
    PutField(out, c, text, length);
}

void PutCharacter(Output *out, const Conversion &c, va_list *arguments)
{
    bool wide = c.type == 'C' ? c.size != 'h' : (c.size == 'l' || c.size == 'w');
    unsigned value = va_arg(*arguments, unsigned);
    WCHAR unit[2] = {WCHAR(value), 0};
    std::string text = wide ? Utf16ToUtf8(unit) : std::string(1, char(value));
    PutField(out, c, text.data(), text.size());
}

// The Win32 subset: %s %S %c %C %d %i %u %x %X with flags - # 0, width,
// precision and the size prefixes h, l, w. long is 32 bits there, so %l
// numbers take 32-bit arguments.
int WINAPI PortableWvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments)
{
    Output out{buffer, 0};
    va_list args;
    va_copy(args, arguments);
    while (*format) {
        if (*format != '%') {
            out.Put(*format++);
            continue;
        }
        Conversion c;
        format = ParseConversion(format + 1, &c);
        switch (c.type) {
        case 's':
        case 'S':
            PutString(&out, c, &args);
            break;
        case 'c':
        case 'C':
            PutCharacter(&out, c, &args);
            break;
        case 'd':
        case 'i': {
            int32_t value = va_arg(args, int32_t);
            PutNumber(&out, c, value < 0 ? 0u - uint32_t(value) : uint32_t(value), value < 0);
            break;
        }
        case 'u':
        case 'x':
        case 'X':
            PutNumber(&out, c, va_arg(args, uint32_t), false);
            break;
        case 0:
            break;
        default: // "%%" and unknown conversions write the character itself
            out.Put(c.type);
            break;
        }
    }
    va_end(args);
    buffer[out.length] = '\0';
    return int(out.length);
}

} // namespace

void PortableFillFormatting(PlatformTable *t)
{
    t->wvsprintfA = PortableWvsprintfA;
}
