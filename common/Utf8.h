#pragma once

namespace vorlin::utf8 {

// Reads one character of UTF-8 and moves past it; a byte that does not start
// a valid sequence stands for itself (as 0xDC00 + the byte), so that broken
// text still compares byte by byte.
inline char32_t next(const unsigned char*& s, const unsigned char* end)
{
    const unsigned char lead = *s;
    if (lead < 0x80) {
        ++s;
        return lead;
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || end - s < length) {
        ++s;
        return 0xDC00 + lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            ++s;
            return 0xDC00 + lead;
        }
        c = (c << 6) | (s[i] & 0x3F);
    }
    s += length;
    return c;
}

}  // namespace vorlin::utf8
