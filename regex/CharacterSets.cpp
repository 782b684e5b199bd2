#include "regex/CharacterSets.h"

namespace vorlin::regex {
namespace {

ByteSet setOf(const char* members)
{
    ByteSet set;
    for (const char* p = members; *p; ++p)
        set.set(static_cast<unsigned char>(*p));
    return set;
}

}  // namespace

const ByteSet& wordSet()
{
    // ASCII letters and digits, the underscore, the Czech letters
    // ěščřžýáíéůúďťň and their capitals, and the hyphen.
    static const ByteSet set = setOf("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_"
                                     "\xec\x9a\xe8\xf8\x9e\xfd\xe1\xed\xe9\xf9\xfa\xef\x9d\xf2"
                                     "\xcc\x8a\xc8\xd8\x8e\xdd\xc1\xcd\xc9\xd9\xda\xcf\x8d\xd2"
                                     "-");
    return set;
}

const ByteSet& digitSet()
{
    static const ByteSet set = setOf("0123456789");
    return set;
}

const ByteSet& spaceSet()
{
    static const ByteSet set = setOf(" \t\n\r\f");
    return set;
}

}  // namespace vorlin::regex
