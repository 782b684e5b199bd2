#include "rtf/Rtf.h"

#include "common/Win1250.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace vorlin::rtf {
namespace {

// The character attributes a run is written with.
struct RunFormat {
    QString family;
    int halfPoints;
    bool bold;
    bool italic;
    bool underline;
    bool strike;
    QColor color;
    QColor highlight;
    QTextCharFormat::VerticalAlignment vertical;
};

class Writer {
public:
    explicit Writer(const QTextDocument& document) : document_(document) { out_.reserve(1024); }

    QByteArray run();

private:
    RunFormat runFormat(const QTextCharFormat& format) const;
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void writeBlockStart(const QTextBlockFormat& format);
    void writeRunProperties(const RunFormat& run);
    void writeText(QStringView text);
    void writeTwips(const char* word, qreal pixels);
    void writeNumber(int value);

    const QTextDocument& document_;
    QByteArray out_;
    QStringList fonts_;
    QList<QColor> colors_;
};

RunFormat Writer::runFormat(const QTextCharFormat& format) const
{
    const QFont fallback = document_.defaultFont();
    RunFormat run;
    const QStringList families = format.fontFamilies().toStringList();
    run.family = !families.isEmpty() && !families.first().isEmpty() ? families.first() : fallback.family();
    const qreal points = format.fontPointSize() > 0 ? format.fontPointSize()
        : fallback.pointSizeF() > 0                 ? fallback.pointSizeF()
                                                    : 12.0;
    run.halfPoints = std::max(1, int(std::lround(points * 2)));
    run.bold = format.fontWeight() >= QFont::DemiBold;
    run.italic = format.fontItalic();
    run.underline = format.fontUnderline();
    run.strike = format.fontStrikeOut();
    // A colour no one sees (HTML's "transparent") is none: RTF has no
    // transparency, and would make it black.
    const auto shown = [&](QTextFormat::Property property) {
        const QBrush brush = format.brushProperty(property);
        return format.hasProperty(property) && brush.style() != Qt::NoBrush && brush.color().alpha() > 0;
    };
    if (shown(QTextFormat::ForegroundBrush))
        run.color = format.foreground().color();
    if (shown(QTextFormat::BackgroundBrush))
        run.highlight = format.background().color();
    run.vertical = format.verticalAlignment();
    return run;
}

int Writer::fontIndex(const QString& family)
{
    qsizetype index = fonts_.indexOf(family);
    if (index < 0) {
        index = fonts_.size();
        fonts_.append(family);
    }
    return int(index);
}

int Writer::colorIndex(const QColor& color)
{
    const QColor rgb = color.toRgb();
    for (qsizetype i = 0; i < colors_.size(); ++i)
        if (colors_[i].rgb() == rgb.rgb())
            return int(i) + 1;
    colors_.append(rgb);
    return int(colors_.size());
}

void Writer::writeNumber(int value)
{
    out_.append(QByteArray::number(value));
}

void Writer::writeTwips(const char* word, qreal pixels)
{
    const int twips = int(std::lround(pixels * 15));
    if (twips == 0)
        return;
    out_.append(word);
    writeNumber(twips);
}

void Writer::writeBlockStart(const QTextBlockFormat& format)
{
    out_.append("\\pard\\plain");
    switch (format.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignHCenter:
        out_.append("\\qc");
        break;
    case Qt::AlignRight:
        out_.append("\\qr");
        break;
    case Qt::AlignJustify:
        out_.append("\\qj");
        break;
    default:
        out_.append("\\ql");
        break;
    }
    writeTwips("\\li", format.leftMargin());
    writeTwips("\\ri", format.rightMargin());
    writeTwips("\\fi", format.textIndent());
    writeTwips("\\sb", format.topMargin());
    writeTwips("\\sa", format.bottomMargin());
}

void Writer::writeRunProperties(const RunFormat& run)
{
    out_.append("\\f");
    writeNumber(fontIndex(run.family));
    out_.append("\\fs");
    writeNumber(run.halfPoints);
    if (run.bold)
        out_.append("\\b");
    if (run.italic)
        out_.append("\\i");
    if (run.underline)
        out_.append("\\ul");
    if (run.strike)
        out_.append("\\strike");
    if (run.vertical == QTextCharFormat::AlignSuperScript)
        out_.append("\\super");
    else if (run.vertical == QTextCharFormat::AlignSubScript)
        out_.append("\\sub");
    if (run.color.isValid()) {
        out_.append("\\cf");
        writeNumber(colorIndex(run.color));
    }
    if (run.highlight.isValid()) {
        out_.append("\\highlight");
        writeNumber(colorIndex(run.highlight));
    }
    out_.append(' ');
}

void Writer::writeText(QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c >= 0x20 && c < 0x7F) {
            if (c == u'\\' || c == u'{' || c == u'}')
                out_.append('\\');
            out_.append(char(c));
            continue;
        }
        switch (c) {
        case u'\t':
            out_.append("\\tab ");
            continue;
        case QChar::LineSeparator:
        case u'\n':
            out_.append("\\line ");
            continue;
        case 0x00A0:
            out_.append("\\~");
            continue;
        case 0x00AD:
            out_.append("\\-");
            continue;
        case 0x2011:
            out_.append("\\_");
            continue;
        case QChar::ObjectReplacementCharacter:
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue;
        if (!qc.isSurrogate()) {
            if (const auto byte = win1250::fromUnicode(c)) {
                out_.append("\\'");
                out_.append(hex[*byte >> 4]);
                out_.append(hex[*byte & 0xF]);
                continue;
            }
        }
        out_.append("\\u");
        writeNumber(c > 32767 ? int(c) - 65536 : int(c));
        out_.append('?');
    }
}

QByteArray Writer::run()
{
    QByteArray body;
    std::swap(out_, body);
    out_.reserve(document_.characterCount() * 2 + 256);
    bool firstBlock = true;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        if (!firstBlock)
            out_.append("\\par\n");
        firstBlock = false;
        writeBlockStart(block.blockFormat());
        bool empty = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.length() == 0)
                continue;
            empty = false;
            out_.append('{');
            writeRunProperties(runFormat(fragment.charFormat()));
            writeText(fragment.text());
            out_.append('}');
        }
        if (empty)
            writeRunProperties(runFormat(block.charFormat()));
    }
    // A reader drops the paragraph that a final paragraph mark opens; an empty
    // last paragraph needs that mark to stay.
    if (document_.blockCount() > 1 && document_.lastBlock().length() <= 1)
        out_.append("\\par\n");
    std::swap(out_, body);

    out_.append("{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1{\\fonttbl");
    if (fonts_.isEmpty())
        fonts_.append(document_.defaultFont().family());
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        out_.append("{\\f");
        writeNumber(int(i));
        out_.append("\\fnil\\fcharset238 ");
        QString name = fonts_[i];
        name.remove(u';');
        writeText(name);
        out_.append(";}");
    }
    out_.append('}');
    if (!colors_.isEmpty()) {
        out_.append("{\\colortbl;");
        for (const QColor& color : colors_) {
            out_.append("\\red");
            writeNumber(color.red());
            out_.append("\\green");
            writeNumber(color.green());
            out_.append("\\blue");
            writeNumber(color.blue());
            out_.append(';');
        }
        out_.append('}');
    }
    out_.append("\n\\viewkind4\\uc1");
    out_.append(body);
    out_.append("}\n");
    return out_;
}

}  // namespace

QByteArray write(const QTextDocument& document)
{
    return Writer(document).run();
}

QString bodyOf(const QTextDocument& document)
{
    return QString::fromLatin1(write(document));
}

}  // namespace vorlin::rtf
