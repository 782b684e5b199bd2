#include "ui/richtext/ClipboardPaste.h"

#include "rtf/Rtf.h"
#include "ui/richtext/PastedStructure.h"

#include <QFont>
#include <QLocale>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace vorlin::ui {

namespace {

bool isNameCharacter(char c)
{
    return QChar::isLetterOrNumber(char16_t(uchar(c))) || c == '-' || c == ':' || c == '_';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool takesNoContent(QByteArrayView name)
{
    static constexpr std::array<QByteArrayView, 14> kEmpty = {"br",   "img",  "hr",    "meta",   "link", "input", "col",
                                                             "area", "base", "wbr",   "source", "track", "param", "embed"};
    return std::find(kEmpty.begin(), kEmpty.end(), name) != kEmpty.end();
}

// Elements inside which a new paragraph does not nest but closes them,
// up to the paragraph they stand in.
bool isInline(QByteArrayView name)
{
    static constexpr std::array<QByteArrayView, 20> kInline = {
        "a",    "b",    "i",     "u",      "s",   "em",  "strong", "span", "font", "sub",
        "sup",  "small", "big",  "code",   "tt",  "kbd", "var",    "cite", "abbr", "strike"};
    return std::find(kInline.begin(), kInline.end(), name) != kInline.end();
}

// One tag of the HTML: its name in lower case, whether it closes, and
// where the text after it begins. Quoted attribute values may hold ">".
struct Tag {
    QByteArray name;
    bool closing = false;
    qsizetype end = -1;  // after the ">"; -1 when the tag never ends
};

Tag tagAt(QByteArrayView html, qsizetype at)
{
    Tag tag;
    qsizetype i = at + 1;
    if (i < html.size() && html[i] == '/') {
        tag.closing = true;
        ++i;
    }
    while (i < html.size() && isNameCharacter(html[i]))
        tag.name += char(QChar::toLower(char16_t(uchar(html[i++]))));
    while (i < html.size() && html[i] != '>') {
        if (html[i] != '=') {
            ++i;
            continue;
        }
        ++i;
        while (i < html.size() && isBlank(html[i]))
            ++i;
        if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
            const qsizetype closingQuote = html.indexOf(html[i], i + 1);
            if (closingQuote < 0)
                return tag;
            i = closingQuote + 1;
        }
    }
    if (i < html.size())
        tag.end = i + 1;
    return tag;
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
    // The open elements as the editor's HTML reader keeps them: a closing
    // tag closes the nearest open element of its name and every one inside
    // it, and one that closes nothing is ignored (so "<div></i>" nests);
    // a paragraph closes the inline elements and the paragraph it stands
    // in, a list item the item before it. Elsewhere the count may be deeper
    // than the reader's, never shallower.
    QList<QByteArray> open;
    int deepest = 0;
    for (qsizetype at = html.indexOf('<'); at >= 0 && at + 1 < html.size(); at = html.indexOf('<', at)) {
        if (html.sliced(at).startsWith("<!--")) {
            at = html.indexOf("-->", at + 4);
            if (at < 0)
                break;
            continue;
        }
        const Tag tag = tagAt(html, at);
        if (tag.end < 0)
            break;
        at = tag.end;
        if (tag.name.isEmpty() || takesNoContent(tag.name))
            continue;
        if (tag.closing) {
            const qsizetype matching = open.lastIndexOf(tag.name);
            if (matching >= 0)
                open.resize(matching);
            continue;
        }
        if (tag.name == "p") {
            qsizetype block = open.size() - 1;
            while (block >= 0 && isInline(open[block]))
                --block;
            if (block >= 0 && open[block] == "p")
                open.resize(block);
        } else if (tag.name == "li" && !open.isEmpty() && open.last() == "li") {
            open.removeLast();
        }
        open.append(tag.name);
        deepest = std::max(deepest, int(open.size()));
        if (deepest > stopAbove)
            return deepest;
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
