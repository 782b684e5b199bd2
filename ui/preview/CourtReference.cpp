#include "ui/preview/CourtReference.h"

namespace vorlin {
namespace {

// Every occurrence of the word, in any case, by its small letters: matches
// are found from the left, do not overlap, and the search goes on behind each
// replacement.
QString withSmallLetters(const QString& text, const QString& word, const QLocale& locale)
{
    const QString upper = locale.toUpper(word);
    const QString lower = locale.toLower(word);
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (i + word.size() <= text.size() && locale.toUpper(text.mid(i, word.size())) == upper) {
            result += lower;
            i += word.size();
        } else {
            result += text[i++];
        }
    }
    return result;
}

}  // namespace

QString courtReference(const QString& heading, const QLocale& locale)
{
    QString text = withSmallLetters(heading, QStringLiteral("ROZSUDEK"), locale);
    text = withSmallLetters(text, QStringLiteral("USNESENÍ"), locale);

    const qsizetype date = text.indexOf(QStringLiteral("ze dne"));
    const qsizetype fileMark = text.indexOf(QStringLiteral("sp."));
    if (date >= 0 && fileMark > date)
        text.remove(date, fileMark - date);

    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    while (text.contains(QStringLiteral("  ")))
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    return text;
}

}  // namespace vorlin
