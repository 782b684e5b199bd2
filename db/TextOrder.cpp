#include "db/TextOrder.h"

namespace vorlin::db {

std::shared_ptr<const TextOrder> TextOrder::forLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::Czech)
        return czechTextOrder();
    return localeTextOrder(locale);
}

int TextOrder::compare(std::string_view a, std::string_view b) const
{
    std::string keyA;
    std::string keyB;
    appendKey(a, keyA);
    appendKey(b, keyB);
    return keyA.compare(keyB);
}

}  // namespace vorlin::db
