#pragma once

#include <QLocale>

#include <memory>
#include <string>
#include <string_view>

namespace vorlin::db {

// The order in which the list shows texts: without regard to letter case, in
// the alphabetical order of the user's language. A text is turned into a key
// once; keys compare as bytes in the text order, so that many rows sort fast.
class TextOrder {
public:
    virtual ~TextOrder() = default;

    // Czech alphabetical order for Czech (Č after C, "ch" after "h", Ř after R,
    // Š after S, Ž after Z), the locale's own collation otherwise.
    static std::shared_ptr<const TextOrder> forLocale(const QLocale& locale);

    // Appends the key of a UTF-8 text.
    virtual void appendKey(std::string_view utf8, std::string& key) const = 0;

    // Whether a comes before b.
    bool less(std::string_view a, std::string_view b) const;
};

// Czech order without any library: letters weigh by the Czech alphabet, then
// by their accents (none first), then by case (small first).
std::shared_ptr<const TextOrder> czechTextOrder();

// The collation of a locale, by the system's Unicode library.
std::shared_ptr<const TextOrder> localeTextOrder(const QLocale& locale);

}  // namespace vorlin::db
