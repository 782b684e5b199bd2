#include "rtf/Rtf.h"

#include "common/CodePage.h"
#include "common/Integer.h"
#include "common/Win1250.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlin::rtf {
namespace {

// Limits that keep hostile input harmless.
constexpr int kMaxDepth = 1000;
constexpr int kMaxFonts = 4096;
constexpr int kMaxColors = 4096;
constexpr int kMaxFontNameBytes = 256;

enum class Destination : std::uint8_t { Text, FontTable, ColorTable, Skip };

enum class Word : std::uint8_t {
    Ansicpg, Deff, Plain, Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Font, Charset, Color,
    Highlight, Par, Pard, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent, RightIndent,
    FirstIndent, SpaceAfter, SpaceBefore, Tab, Line, Unicode, UnicodeSkip, Emdash, Endash, Bullet, Lquote,
    Rquote, Ldblquote, Rdblquote, FontTable, ColorTable, Red, Green, Blue, SkipDestination, Bin, Cell, Row,
    Super, Sub, NoSuperSub, ListLabel,
};

const std::unordered_map<std::string_view, Word>& words()
{
    static const std::unordered_map<std::string_view, Word> table = {
        {"ansicpg", Word::Ansicpg}, {"deff", Word::Deff}, {"plain", Word::Plain}, {"b", Word::Bold},
        {"i", Word::Italic}, {"ul", Word::Underline}, {"uld", Word::Underline}, {"uldb", Word::Underline},
        {"uldash", Word::Underline}, {"ulw", Word::Underline}, {"ulth", Word::Underline},
        {"ulwave", Word::Underline}, {"ulnone", Word::UnderlineNone}, {"strike", Word::Strike},
        {"striked", Word::Strike}, {"fs", Word::FontSize}, {"f", Word::Font}, {"fcharset", Word::Charset},
        {"cf", Word::Color}, {"highlight", Word::Highlight}, {"cb", Word::Highlight}, {"chcbpat", Word::Highlight},
        {"par", Word::Par}, {"cell", Word::Cell}, {"nestcell", Word::Cell}, {"row", Word::Row},
        {"nestrow", Word::Row}, {"page", Word::Par}, {"super", Word::Super}, {"sub", Word::Sub},
        // Writer and Word raise and lower a run by half-points: \up6, \dn6, off with 0.
        {"up", Word::Super}, {"dn", Word::Sub},
        {"nosupersub", Word::NoSuperSub}, {"listtext", Word::ListLabel}, {"pntext", Word::ListLabel},
        {"sect", Word::Par}, {"pard", Word::Pard}, {"ql", Word::AlignLeft}, {"qc", Word::AlignCenter},
        {"qr", Word::AlignRight}, {"qj", Word::AlignJustify}, {"li", Word::LeftIndent}, {"lin", Word::LeftIndent},
        {"ri", Word::RightIndent}, {"rin", Word::RightIndent}, {"fi", Word::FirstIndent},
        {"sa", Word::SpaceAfter}, {"sb", Word::SpaceBefore}, {"tab", Word::Tab}, {"line", Word::Line},
        {"u", Word::Unicode}, {"uc", Word::UnicodeSkip}, {"emdash", Word::Emdash}, {"endash", Word::Endash},
        {"bullet", Word::Bullet}, {"lquote", Word::Lquote}, {"rquote", Word::Rquote},
        {"ldblquote", Word::Ldblquote}, {"rdblquote", Word::Rdblquote}, {"fonttbl", Word::FontTable},
        {"colortbl", Word::ColorTable}, {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
        {"bin", Word::Bin},
        // destinations whose content is not part of the text
        {"stylesheet", Word::SkipDestination}, {"info", Word::SkipDestination}, {"pict", Word::SkipDestination},
        {"header", Word::SkipDestination}, {"headerl", Word::SkipDestination}, {"headerr", Word::SkipDestination},
        {"headerf", Word::SkipDestination}, {"footer", Word::SkipDestination}, {"footerl", Word::SkipDestination},
        {"footerr", Word::SkipDestination}, {"footerf", Word::SkipDestination}, {"footnote", Word::SkipDestination},
        {"object", Word::SkipDestination}, {"listtable", Word::SkipDestination},
        {"listoverridetable", Word::SkipDestination}, {"revtbl", Word::SkipDestination},
        {"filetbl", Word::SkipDestination}, {"rsidtbl", Word::SkipDestination}, {"xmlnstbl", Word::SkipDestination},
        {"pgdsctbl", Word::SkipDestination}, {"themedata", Word::SkipDestination},
        {"colorschememapping", Word::SkipDestination}, {"latentstyles", Word::SkipDestination},
        {"datastore", Word::SkipDestination}, {"shp", Word::SkipDestination}, {"nonshppict", Word::SkipDestination},
        {"fldinst", Word::SkipDestination}, {"pn", Word::SkipDestination}, {"private", Word::SkipDestination},
        {"template", Word::SkipDestination}, {"author", Word::SkipDestination}, {"operator", Word::SkipDestination},
        {"title", Word::SkipDestination}, {"subject", Word::SkipDestination}, {"comment", Word::SkipDestination},
        {"doccomm", Word::SkipDestination}, {"keywords", Word::SkipDestination},
    };
    return table;
}

int codePageOfCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 238: return 1250;
    case 204: return 1251;
    case 0:
    case 1: return ansiCodePage;
    case 2: return 1252;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 163: return 1258;
    default: return ansiCodePage;
    }
}

struct CharProps {
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = 0;
    int highlight = 0;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
};

struct ParaProps {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;  // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

struct GroupState {
    CharProps chars;
    ParaProps para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
    // A list item's label (bullet or number): its leading blanks are no text.
    bool listLabel = false;
    bool labelStarted = false;
};

struct FontEntry {
    QString name;
    int charset = -1;
};

class Reader {
public:
    Reader(QByteArrayView input, QTextDocument& document) : in_(input), document_(document), cursor_(&document) {}

    bool run();

private:
    void text(unsigned char byte);
    void plainRun(qsizetype start);
    void character(char16_t c);
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    void controlSymbol(char symbol);
    void openGroup();
    void closeGroup();
    void flush();
    void endParagraph();
    void startPendingParagraph();
    void finishFontName();
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    int textCodePage() const;
    bool skippingUnicodeFallback();

    QByteArrayView in_;
    qsizetype pos_ = 0;
    QTextDocument& document_;
    QTextCursor cursor_;

    GroupState state_;
    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;
    bool started_ = false;
    bool closed_ = false;

    int ansiCodePage_ = 1252;
    int defaultFont_ = -1;
    QHash<int, FontEntry> fonts_;
    int fontEntry_ = -1;
    QByteArray fontName_;
    QList<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    QString pending_;
    CharProps pendingProps_;
    // Formats made so far for the attributes met; emptied when a font or
    // colour changes.
    mutable std::vector<std::pair<CharProps, QTextCharFormat>> formatCache_;
    mutable ParaProps cachedParaProps_;
    mutable QTextBlockFormat cachedBlockFormat_;
    mutable bool blockFormatCached_ = false;
    QTextBlockFormat blockFormatGiven_;  // what the current block was made with
    bool blockFormatIsCurrent_ = false;
    mutable int codePage_ = 1252;
    mutable int codePageFont_ = -1;
    mutable bool codePageCached_ = false;
    int fallbackToSkip_ = 0;
    bool sawText_ = false;
    bool blockHasText_ = false;
    bool breakPending_ = false;  // a paragraph mark whose new block is not made yet
    bool cellEnded_ = false;  // a table cell ended; its tab goes before the next cell's text
    QTextCharFormat breakCharFormat_;
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool sameProps(const CharProps& a, const CharProps& b)
{
    return a.font == b.font && a.halfPoints == b.halfPoints && a.bold == b.bold && a.italic == b.italic
        && a.underline == b.underline && a.strike == b.strike && a.color == b.color && a.highlight == b.highlight
        && a.vertical == b.vertical;
}

bool Reader::run()
{
    if (!isRtf(in_))
        return false;
    // One edit block: the document lays nothing out until the end.
    cursor_.beginEditBlock();
    const qsizetype n = in_.size();
    while (pos_ < n && !closed_) {
        const char c = in_[pos_++];
        switch (c) {
        case '{':
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\': {
            if (pos_ >= n)
                break;
            const char next = in_[pos_];
            if (next == '\'' && state_.destination == Destination::Text && fallbackToSkip_ == 0
                && pos_ + 2 < n && hexDigitValue(in_[pos_ + 1]) >= 0 && hexDigitValue(in_[pos_ + 2]) >= 0) {
                plainRun(pos_ - 1);  // an accented letter starts a stretch of text
                break;
            }
            if (!isLetter(next)) {
                ++pos_;
                controlSymbol(next);
                break;
            }
            const qsizetype start = pos_;
            while (pos_ < n && isLetter(in_[pos_]) && pos_ - start < 32)
                ++pos_;
            const std::string_view word(in_.data() + start, std::size_t(pos_ - start));
            while (pos_ < n && isLetter(in_[pos_]))  // an overlong word is cut
                ++pos_;
            bool hasParameter = false;
            bool negative = false;
            long long parameter = 0;
            if (pos_ < n && in_[pos_] == '-' && pos_ + 1 < n && in_[pos_ + 1] >= '0' && in_[pos_ + 1] <= '9') {
                negative = true;
                ++pos_;
            }
            int digits = 0;
            while (pos_ < n && in_[pos_] >= '0' && in_[pos_] <= '9') {
                if (digits++ < 10)
                    parameter = parameter * 10 + (in_[pos_] - '0');
                hasParameter = true;
                ++pos_;
            }
            parameter = std::clamp(negative ? -parameter : parameter, -2147483647LL, 2147483647LL);
            if (pos_ < n && in_[pos_] == ' ')
                ++pos_;
            controlWord(word, hasParameter, int(parameter));
            break;
        }
        case '\r':
        case '\n':
            break;
        default:
            if (state_.destination == Destination::Text && fallbackToSkip_ == 0 && !state_.listLabel && !cellEnded_) {
                plainRun(pos_ - 1);
                break;
            }
            text(static_cast<unsigned char>(c));
            break;
        }
    }

    flush();
    // The paragraph mark that ends the last paragraph opens no new one: a
    // break still waiting for its paragraph is dropped. Without one, the
    // last paragraph gets the properties in force at its end.
    if (!breakPending_) {
        const QTextBlockFormat paragraph = blockFormat();
        if (!blockFormatIsCurrent_ || paragraph != blockFormatGiven_)
            cursor_.setBlockFormat(paragraph);
        if (!blockHasText_)
            cursor_.setBlockCharFormat(charFormat());
    }
    cursor_.endEditBlock();

    if (!closed_ && !sawText_) {
        document_.clear();
        return false;
    }
    return true;
}

void Reader::openGroup()
{
    fallbackToSkip_ = 0;  // a group boundary ends the fallback of \u
    if (!started_) {
        started_ = true;
        return;  // the outermost group is the document itself
    }
    if (int(stack_.size()) >= kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.push_back(state_);
}

void Reader::closeGroup()
{
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (state_.destination == Destination::FontTable)
        finishFontName();
    if (stack_.empty()) {
        closed_ = true;
        return;
    }
    const Destination leaving = state_.destination;
    state_ = stack_.back();
    stack_.pop_back();
    if (leaving == Destination::FontTable && state_.destination != Destination::FontTable)
        fontEntry_ = -1;
    fallbackToSkip_ = 0;
}

void Reader::plainRun(qsizetype start)
{
    // The common case: a stretch of text, with the \'xx escapes of its
    // accented letters read in place, up to the next control word or group.
    const qsizetype n = in_.size();
    const auto hexEscapeAt = [&](qsizetype i) {
        return i + 3 < n && in_[i] == '\\' && in_[i + 1] == '\'' && hexDigitValue(in_[i + 2]) >= 0
            && hexDigitValue(in_[i + 3]) >= 0;
    };
    qsizetype end = start;
    qsizetype characters = 0;
    while (end < n) {
        const char c = in_[end];
        if (c == '\\' && hexEscapeAt(end)) {
            end += 4;
        } else if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') {
            break;
        } else {
            ++end;
        }
        ++characters;
    }
    pos_ = end;
    if (!pending_.isEmpty() && !sameProps(pendingProps_, state_.chars))
        flush();
    pendingProps_ = state_.chars;
    const int codePage = textCodePage();
    const qsizetype before = pending_.size();
    pending_.resize(before + characters);
    char16_t* out = reinterpret_cast<char16_t*>(pending_.data()) + before;
    for (qsizetype i = start; i < end;) {
        auto byte = static_cast<unsigned char>(in_[i]);
        if (byte == '\\') {
            byte = static_cast<unsigned char>(hexDigitValue(in_[i + 2]) * 16 + hexDigitValue(in_[i + 3]));
            i += 4;
        } else {
            ++i;
        }
        if (byte < 0x80) {
            if (byte >= 0x20 || byte == '\t')
                *out++ = byte;
        } else {
            *out++ = codepage::toUnicode(codePage, byte);
        }
    }
    pending_.truncate(out - reinterpret_cast<char16_t*>(pending_.data()));
    sawText_ = sawText_ || !pending_.isEmpty();
    blockHasText_ = blockHasText_ || !pending_.isEmpty();
}

bool Reader::skippingUnicodeFallback()
{
    if (fallbackToSkip_ <= 0)
        return false;
    --fallbackToSkip_;
    return true;
}

int Reader::textCodePage() const
{
    const int font = state_.chars.font >= 0 ? state_.chars.font : defaultFont_;
    if (codePageCached_ && font == codePageFont_)
        return codePage_;
    const auto entry = fonts_.constFind(font);
    codePage_ = entry != fonts_.constEnd() && entry->charset >= 0 ? codePageOfCharset(entry->charset, ansiCodePage_)
                                                                   : ansiCodePage_;
    codePageFont_ = font;
    codePageCached_ = true;
    return codePage_;
}

void Reader::text(unsigned char byte)
{
    if (skippingUnicodeFallback())
        return;
    switch (state_.destination) {
    case Destination::Text:
        if (byte >= 0x20 || byte == '\t')
            character(codepage::toUnicode(textCodePage(), byte));
        break;
    case Destination::FontTable:
        if (byte == ';')
            finishFontName();
        else if (fontName_.size() < kMaxFontNameBytes)
            fontName_.append(char(byte));
        break;
    case Destination::ColorTable:
        if (byte == ';') {
            if (colors_.size() < kMaxColors)
                colors_.append(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
            formatCache_.clear();
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
        }
        break;
    case Destination::Skip:
        break;
    }
}

void Reader::character(char16_t c)
{
    // Control characters and object marks are no text of a snippet.
    if (state_.destination != Destination::Text || (c < 0x20 && c != u'\t') || c == QChar::ObjectReplacementCharacter
        || c == QChar::ParagraphSeparator)
        return;
    if (state_.listLabel && !state_.labelStarted) {
        if (c == u' ')
            return;
        state_.labelStarted = true;
    }
    if (cellEnded_) {
        // The cell before this one ends with a tab: a row is one line.
        cellEnded_ = false;
        character(u'\t');
    }
    if (pending_.isEmpty()) {
        pendingProps_ = state_.chars;
    } else if (!sameProps(pendingProps_, state_.chars)) {
        flush();
        pendingProps_ = state_.chars;
    }
    pending_.append(QChar(c));
    sawText_ = true;
    blockHasText_ = true;
}

void Reader::flush()
{
    if (pending_.isEmpty())
        return;
    startPendingParagraph();
    const CharProps current = state_.chars;
    state_.chars = pendingProps_;
    cursor_.insertText(pending_, charFormat());
    state_.chars = current;
    pending_.resize(0);  // keeps the buffer for the next run
}

void Reader::endParagraph()
{
    if (state_.destination != Destination::Text)
        return;
    flush();
    startPendingParagraph();  // the paragraph that ends here had no text
    const QTextBlockFormat paragraph = blockFormat();
    const QTextCharFormat characters = charFormat();
    // The paragraph's properties are those in force at its end; the block got
    // those in force at its start.
    if (!blockFormatIsCurrent_ || paragraph != blockFormatGiven_)
        cursor_.setBlockFormat(paragraph);
    if (!blockHasText_)
        cursor_.setBlockCharFormat(characters);
    // The next paragraph's block is made when its first text comes, with the
    // properties that its own \pard and friends have set by then.
    breakPending_ = true;
    breakCharFormat_ = characters;
    blockHasText_ = false;
}

void Reader::startPendingParagraph()
{
    if (!breakPending_)
        return;
    breakPending_ = false;
    const QTextBlockFormat paragraph = blockFormat();
    cursor_.insertBlock(paragraph, breakCharFormat_);
    blockFormatGiven_ = paragraph;
    blockFormatIsCurrent_ = true;
}

void Reader::finishFontName()
{
    formatCache_.clear();
    codePageCached_ = false;
    if (fontEntry_ >= 0 && !fontName_.isEmpty()) {
        FontEntry& entry = fonts_[fontEntry_];
        const int codePage = codePageOfCharset(entry.charset, ansiCodePage_);
        entry.name = codepage::decode(codePage, fontName_).trimmed();
    }
    fontName_.clear();
}

QTextCharFormat Reader::charFormat() const
{
    const CharProps& p = state_.chars;
    for (const auto& [props, cached] : formatCache_)
        if (sameProps(p, props))
            return cached;
    QTextCharFormat format;
    const auto font = fonts_.constFind(p.font >= 0 ? p.font : defaultFont_);
    if (font != fonts_.constEnd() && !font->name.isEmpty())
        format.setFontFamilies({font->name});
    format.setFontPointSize(p.halfPoints > 0 ? p.halfPoints / 2.0 : 12.0);
    format.setFontWeight(p.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(p.italic);
    format.setFontUnderline(p.underline);
    format.setFontStrikeOut(p.strike);
    if (p.vertical != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(p.vertical);
    if (p.color > 0 && p.color < colors_.size() && colors_[p.color].isValid())
        format.setForeground(colors_[p.color]);
    if (p.highlight > 0 && p.highlight < colors_.size() && colors_[p.highlight].isValid())
        format.setBackground(colors_[p.highlight]);
    if (formatCache_.size() >= 32)
        formatCache_.clear();
    formatCache_.emplace_back(p, format);
    return format;
}

QTextBlockFormat Reader::blockFormat() const
{
    const ParaProps& p = state_.para;
    if (blockFormatCached_ && p.alignment == cachedParaProps_.alignment && p.leftIndent == cachedParaProps_.leftIndent
        && p.rightIndent == cachedParaProps_.rightIndent && p.firstIndent == cachedParaProps_.firstIndent
        && p.spaceBefore == cachedParaProps_.spaceBefore && p.spaceAfter == cachedParaProps_.spaceAfter)
        return cachedBlockFormat_;
    QTextBlockFormat format;
    format.setAlignment(p.alignment);
    format.setLeftMargin(p.leftIndent / 15.0);
    format.setRightMargin(p.rightIndent / 15.0);
    format.setTextIndent(p.firstIndent / 15.0);
    format.setTopMargin(p.spaceBefore / 15.0);
    format.setBottomMargin(p.spaceAfter / 15.0);
    cachedParaProps_ = p;
    cachedBlockFormat_ = format;
    blockFormatCached_ = true;
    return format;
}

void Reader::controlSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        text(static_cast<unsigned char>(symbol));
        break;
    case '\'': {
        const int high = pos_ < in_.size() ? hexDigitValue(in_[pos_]) : -1;
        const int low = pos_ + 1 < in_.size() ? hexDigitValue(in_[pos_ + 1]) : -1;
        pos_ = std::min(in_.size(), pos_ + 2);
        if (high < 0 || low < 0)
            break;
        if (state_.destination == Destination::Text && fallbackToSkip_ == 0)
            character(codepage::toUnicode(textCodePage(), static_cast<unsigned char>(high * 16 + low)));
        else
            text(static_cast<unsigned char>(high * 16 + low));
        break;
    }
    case '*':
        state_.destination = Destination::Skip;
        break;
    case '~':
        if (!skippingUnicodeFallback())
            character(u'\u00A0');
        break;
    case '-':
        if (!skippingUnicodeFallback())
            character(u'\u00AD');
        break;
    case '_':
        if (!skippingUnicodeFallback())
            character(u'\u2011');
        break;
    case '\r':
    case '\n':
        endParagraph();
        break;
    default:
        skippingUnicodeFallback();
        break;
    }
}

// The words every run and paragraph carries, found without hashing.
std::optional<Word> frequentWord(std::string_view name)
{
    switch (name.size()) {
    case 1:
        switch (name[0]) {
        case 'b': return Word::Bold;
        case 'i': return Word::Italic;
        case 'f': return Word::Font;
        case 'u': return Word::Unicode;
        default: return std::nullopt;
        }
    case 2:
        if (name == "fs") return Word::FontSize;
        if (name == "cf") return Word::Color;
        if (name == "ql") return Word::AlignLeft;
        if (name == "qc") return Word::AlignCenter;
        if (name == "qr") return Word::AlignRight;
        if (name == "qj") return Word::AlignJustify;
        if (name == "ul") return Word::Underline;
        return std::nullopt;
    case 3:
        return name == "par" ? std::optional<Word>(Word::Par) : std::nullopt;
    case 4:
        return name == "pard" ? std::optional<Word>(Word::Pard) : std::nullopt;
    case 5:
        return name == "plain" ? std::optional<Word>(Word::Plain) : std::nullopt;
    default:
        return std::nullopt;
    }
}

void Reader::controlWord(std::string_view name, bool hasParameter, int parameter)
{
    std::optional<Word> known = frequentWord(name);
    if (!known) {
        const auto found = words().find(name);
        if (found != words().end())
            known = found->second;
    }
    if (!known) {
        skippingUnicodeFallback();
        return;
    }
    const Word word = *known;
    if (word != Word::Unicode && word != Word::Bin && skippingUnicodeFallback())
        return;

    CharProps& chars = state_.chars;
    ParaProps& para = state_.para;
    const bool on = !hasParameter || parameter != 0;
    switch (word) {
    case Word::Ansicpg:
        if (hasParameter)
            ansiCodePage_ = parameter;
        codePageCached_ = false;
        break;
    case Word::Deff:
        defaultFont_ = parameter;
        formatCache_.clear();
        break;
    case Word::Plain:
        chars = CharProps();
        break;
    case Word::Bold:
        chars.bold = on;
        break;
    case Word::Italic:
        chars.italic = on;
        break;
    case Word::Underline:
        chars.underline = on;
        break;
    case Word::UnderlineNone:
        chars.underline = false;
        break;
    case Word::Strike:
        chars.strike = on;
        break;
    case Word::FontSize:
        if (hasParameter && parameter > 0 && parameter <= 3276)
            chars.halfPoints = parameter;
        break;
    case Word::Font:
        if (state_.destination == Destination::FontTable) {
            finishFontName();
            if (fonts_.size() < kMaxFonts || fonts_.contains(parameter)) {
                fontEntry_ = parameter;
                fonts_[parameter];
            } else {
                fontEntry_ = -1;
            }
        } else {
            chars.font = parameter;
        }
        break;
    case Word::Charset:
        if (state_.destination == Destination::FontTable && fontEntry_ >= 0)
            fonts_[fontEntry_].charset = parameter;
        codePageCached_ = false;
        break;
    case Word::Color:
        chars.color = std::max(0, parameter);
        break;
    case Word::Highlight:
        chars.highlight = std::max(0, parameter);
        break;
    case Word::Par:
        cellEnded_ = false;
        endParagraph();
        break;
    case Word::Cell:
        if (cellEnded_) {  // the cell before was empty
            cellEnded_ = false;
            character(u'\t');
        }
        cellEnded_ = state_.destination == Destination::Text;
        break;
    case Word::Row:
        cellEnded_ = false;
        endParagraph();
        break;
    case Word::Super:
        chars.vertical = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Word::Sub:
        chars.vertical = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Word::NoSuperSub:
        chars.vertical = QTextCharFormat::AlignNormal;
        break;
    case Word::ListLabel:
        state_.listLabel = true;
        state_.labelStarted = false;
        break;
    case Word::Pard:
        para = ParaProps();
        break;
    case Word::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Word::AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case Word::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Word::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Word::LeftIndent:
        para.leftIndent = parameter;
        break;
    case Word::RightIndent:
        para.rightIndent = parameter;
        break;
    case Word::FirstIndent:
        para.firstIndent = parameter;
        break;
    case Word::SpaceAfter:
        para.spaceAfter = parameter;
        break;
    case Word::SpaceBefore:
        para.spaceBefore = parameter;
        break;
    case Word::Tab:
        character(u'\t');
        break;
    case Word::Line:
        character(QChar::LineSeparator);
        break;
    case Word::Unicode:
        fallbackToSkip_ = 0;
        character(char16_t(parameter < 0 ? parameter + 65536 : parameter));
        fallbackToSkip_ = state_.unicodeSkip;
        break;
    case Word::UnicodeSkip:
        state_.unicodeSkip = std::clamp(parameter, 0, 16);
        break;
    case Word::Emdash:
        character(u'\u2014');
        break;
    case Word::Endash:
        character(u'\u2013');
        break;
    case Word::Bullet:
        character(u'\u2022');
        break;
    case Word::Lquote:
        character(u'\u2018');
        break;
    case Word::Rquote:
        character(u'\u2019');
        break;
    case Word::Ldblquote:
        character(u'\u201C');
        break;
    case Word::Rdblquote:
        character(u'\u201D');
        break;
    case Word::FontTable:
        state_.destination = Destination::FontTable;
        break;
    case Word::ColorTable:
        state_.destination = Destination::ColorTable;
        break;
    case Word::Red:
        red_ = std::clamp(parameter, 0, 255);
        colorGiven_ = true;
        break;
    case Word::Green:
        green_ = std::clamp(parameter, 0, 255);
        colorGiven_ = true;
        break;
    case Word::Blue:
        blue_ = std::clamp(parameter, 0, 255);
        colorGiven_ = true;
        break;
    case Word::SkipDestination:
        state_.destination = Destination::Skip;
        break;
    case Word::Bin:
        // Binary data: skipped, however much the word claims.
        if (hasParameter && parameter > 0)
            pos_ = std::min(in_.size(), pos_ + qsizetype(parameter));
        break;
    }
}

}  // namespace

bool isRtf(QByteArrayView text)
{
    return text.startsWith("{\\rtf");
}

bool read(QByteArrayView rtf, QTextDocument& document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    const bool ok = Reader(rtf, document).run();
    document.setUndoRedoEnabled(undo);
    return ok;
}

void loadBody(const QString& body, QTextDocument& document)
{
    const QByteArray bytes = win1250::encode(body);
    if (isRtf(bytes) && read(bytes, document))
        return;
    QString plain = body;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    document.setPlainText(plain);
}

}  // namespace vorlin::rtf
