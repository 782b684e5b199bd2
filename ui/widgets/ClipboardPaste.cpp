#include "ui/widgets/ClipboardPaste.h"

#include "rtf/Rtf.h"
#include "ui/widgets/PastedStructure.h"

#include <QFont>
#include <QLocale>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace vorlin::ui {

namespace {

bool startsWithWord(QByteArrayView text, qsizetype at, QByteArrayView word)
{
    if (at + word.size() > text.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (QChar::toLower(char16_t(uchar(text[at + i]))) != char16_t(uchar(word[i])))
            return false;
    const qsizetype after = at + word.size();
    return after == text.size() || !QChar::isLetterOrNumber(char16_t(uchar(text[after])));
}

bool takesNoContent(QByteArrayView html, qsizetype nameAt)
{
    static constexpr std::array<QByteArrayView, 14> kEmpty = {"br",   "img",  "hr",    "meta",   "link", "input", "col",
                                                             "area", "base", "wbr",   "source", "track", "param", "embed"};
    return std::any_of(kEmpty.begin(), kEmpty.end(), [&](QByteArrayView name) { return startsWithWord(html, nameAt, name); });
}

QString megabytes(qsizetype bytes)
{
    return QString::number(double(bytes) / (1 << 20), 'f', 1).replace(u'.', u',');
}

// What the body keeps of a pasted document, as it will be stored.
QTextDocumentFragment storable(QTextDocument& document)
{
    flattenPastedStructure(document);
    return QTextDocumentFragment(&document);
}

QByteArray offeredRtf(const QMimeData& source)
{
    for (const QString& format : {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"), QStringLiteral("text/richtext")}) {
        if (!source.hasFormat(format))
            continue;
        QByteArray rtf = source.data(format);
        if (rtf::isRtf(rtf))
            return rtf;
    }
    return {};
}

}  // namespace

int htmlNesting(QByteArrayView html, int stopAbove)
{
    int depth = 0;
    int deepest = 0;
    for (qsizetype at = html.indexOf('<'); at >= 0 && at + 1 < html.size(); at = html.indexOf('<', at + 1)) {
        if (html.sliced(at).startsWith("<!--")) {
            at = html.indexOf("-->", at + 4);
            if (at < 0)
                break;
            continue;
        }
        const char next = html[at + 1];
        const qsizetype end = html.indexOf('>', at + 1);
        if (end < 0)
            break;
        if (next == '/') {
            depth = std::max(depth - 1, 0);
        } else if (QChar::isLetter(char16_t(uchar(next))) && !takesNoContent(html, at + 1) && html[end - 1] != '/') {
            deepest = std::max(deepest, ++depth);
            if (deepest > stopAbove)
                return deepest;
        }
        at = end;
    }
    return deepest;
}

ClipboardPaste readClipboardPaste(const QMimeData& source, const QFont& bodyFont)
{
    // Why the formatted form was left, without its ending: that depends on
    // whether a text is there to take instead.
    QString left;
    const QByteArray rtf = offeredRtf(source);
    if (!rtf.isEmpty() && rtf.size() <= kPasteBytesLimit) {
        QTextDocument document;
        document.setDefaultFont(bodyFont);
        if (rtf::read(rtf, document))
            return {storable(document), {}};
    }
    if (source.hasHtml()) {
        const QString html = source.html();
        const QByteArray bytes = html.toUtf8();
        if (bytes.size() > kPasteBytesLimit) {
            left = QStringLiteral("Formátovaný obsah schránky je příliš velký (%1 MB, převzít lze nejvýše %2 MB)")
                       .arg(megabytes(bytes.size()), megabytes(kPasteBytesLimit));
        } else if (htmlNesting(bytes, kPasteNestingLimit) > kPasteNestingLimit) {
            left = QStringLiteral("Formátování ve schránce je vnořené příliš hluboko (přes %1 úrovní), než aby se "
                                  "dalo převzít")
                       .arg(kPasteNestingLimit);
        } else {
            QTextDocument document;
            QTextCursor(&document).insertFragment(QTextDocumentFragment::fromHtml(html));
            return {storable(document), {}};
        }
    } else if (!rtf.isEmpty()) {
        left = QStringLiteral("Formátovaný obsah schránky je příliš velký (%1 MB, převzít lze nejvýše %2 MB)")
                   .arg(megabytes(rtf.size()), megabytes(kPasteBytesLimit));
    }
    if (!source.hasText())
        return {{}, left.isEmpty() ? left : left + QStringLiteral(". Jiná podoba textu ve schránce není, nic se nevložilo.")};
    const QString text = source.text();
    if (text.size() > kPasteBytesLimit) {
        const QLocale czech(QLocale::Czech);
        return {{}, QStringLiteral("Text ve schránce je příliš dlouhý (%1 znaků, vložit lze nejvýše %2); nic se "
                                   "nevložilo.")
                        .arg(czech.toString(text.size()), czech.toString(kPasteBytesLimit))};
    }
    return {QTextDocumentFragment::fromPlainText(text), left.isEmpty() ? left : left + QStringLiteral("; vložil se jen jeho text.")};
}

}  // namespace vorlin::ui
