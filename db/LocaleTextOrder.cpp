#include "db/TextOrder.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <vector>

namespace vorlin::db {
namespace {

class LocaleTextOrder : public TextOrder {
public:
    explicit LocaleTextOrder(const QLocale& locale) : locale_(locale)
    {
        const QByteArray name = locale.language() == QLocale::C ? QByteArray("root") : locale.name().toLatin1();
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open(name.constData(), &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            collator_ = ucol_open("root", &status);
        }
    }
    ~LocaleTextOrder() override { ucol_close(collator_); }
    std::shared_ptr<const TextOrder> twin() const override { return localeTextOrder(locale_); }
    QString name() const override { return QStringLiteral("icu:") + locale_.name(); }
    LocaleTextOrder(const LocaleTextOrder&) = delete;
    LocaleTextOrder& operator=(const LocaleTextOrder&) = delete;

    // The lists keep the orders they made, so a key is made once a list,
    // not once a click: no texts are remembered here.
    void appendKey(std::string_view utf8, std::string& key) const override
    {
        thread_local std::vector<UChar> text;
        thread_local std::vector<std::uint8_t> bytes;
        text.resize(utf8.size() + 1);
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(text.data(), int32_t(text.size()), &length, utf8.data(), int32_t(utf8.size()), 0xFFFD,
                             nullptr, &status);
        if (U_FAILURE(status) || !collator_) {
            key.append(utf8);
            return;
        }
        bytes.resize(std::size_t(length) * 4 + 16);
        int32_t size = ucol_getSortKey(collator_, text.data(), length, bytes.data(), int32_t(bytes.size()));
        if (size > int32_t(bytes.size())) {
            bytes.resize(std::size_t(size));
            size = ucol_getSortKey(collator_, text.data(), length, bytes.data(), int32_t(bytes.size()));
        }
        // The key ends in a zero byte, which only marks its end.
        if (size > 0)
            key.append(reinterpret_cast<const char*>(bytes.data()), std::size_t(size - 1));
    }

    QLocale locale_;
    UCollator* collator_ = nullptr;
};

}  // namespace

std::shared_ptr<const TextOrder> localeTextOrder(const QLocale& locale)
{
    return std::make_shared<const LocaleTextOrder>(locale);
}

}  // namespace vorlin::db
