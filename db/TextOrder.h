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

    // Appends a shorter key that orders texts by their letters alone; texts
    // with equal such keys are ordered by compare(). True when the key says
    // all there is to say of this text (by default it is the whole key).
    virtual bool appendPrimaryKey(std::string_view utf8, std::string& key) const
    {
        appendKey(utf8, key);
        return true;
    }

    // Whether keys may be made on several threads at once.
    virtual bool isThreadSafe() const { return false; }
    // The same order for another thread, where this one is not safe to share.
    virtual std::shared_ptr<const TextOrder> twin() const = 0;
    // Names the order: two orders of one name order every text alike.
    virtual QString name() const = 0;

    // Below zero when a comes before b, zero when they are equal in the order.
    int compare(std::string_view a, std::string_view b) const;
    bool less(std::string_view a, std::string_view b) const { return compare(a, b) < 0; }
};

// Czech order without any library: letters weigh by the Czech alphabet, then
// by their accents (none first), then by case (small first).
std::shared_ptr<const TextOrder> czechTextOrder();

// The collation of a locale, by the system's Unicode library.
std::shared_ptr<const TextOrder> localeTextOrder(const QLocale& locale);

}  // namespace vorlin::db
