// Feeds arbitrary bytes to the search's LIKE as a pattern and a text (the
// bytes up to the first zero byte and the rest), raw as the database holds
// them, in both foldings: nothing is read outside the text, and a word is
// found in a text alike wherever the text begins or ends in memory.
#include "db/UnicodeLike.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using vorlin::db::CompiledLike;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(bytes.find('\0'), bytes.size());
    const std::string_view typed = bytes.substr(0, split);
    const std::string_view text = split < bytes.size() ? bytes.substr(split + 1) : std::string_view();
    const QString pattern = u'%' + QString::fromUtf8(typed.data(), qsizetype(typed.size())) + u'%';
    // A word of no "%", "_" or 0x01 is found or not the same with 0x01
    // bytes before or after the text (blocks then fall elsewhere).
    const bool plainWord = typed.find_first_of("%_\x01") == std::string_view::npos;
    for (const auto folding : {CompiledLike::Folding::Case, CompiledLike::Folding::CaseAndAccents}) {
        const CompiledLike like(pattern, folding);
        const bool found = like.matchesUtf8(std::string(text));  // a copy of its own: ASan sees its ends
        if (!plainWord)
            continue;
        for (const std::size_t padding : {1, 7, 16, 17, 31})
            if (like.matchesUtf8(std::string(padding, '\x01') + std::string(text)) != found
                || like.matchesUtf8(std::string(text) + std::string(padding, '\x01')) != found)
                std::abort();
    }
    return 0;
}
