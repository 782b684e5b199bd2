// What a paste into a body takes from the clipboard: the word processor's
// RTF first, then HTML, then text, and never more than a bounded cost.
#include "ui/richtext/ClipboardPaste.h"

#include <QElapsedTimer>
#include <QFont>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>

using namespace vorlin::ui;

namespace {

QByteArray repeated(const char* part, int times)
{
    return QByteArray(part).repeated(times);
}

}  // namespace

TEST(ClipboardPaste, TheBestFormWithinBoundsIsPastedAndALeftFormIsExplained)
{
    struct Case {
        const char* name;
        std::function<void(QMimeData&)> offer;
        QString pastedText;
        bool bold;  // the pasted text's first character
        const char* notice;  // a part of it; empty: none
    };
    const auto html = [](const QByteArray& page, const char* text = "") -> std::function<void(QMimeData&)> {
        return [=](QMimeData& m) {
            m.setHtml(QString::fromUtf8(page));
            if (*text)
                m.setText(QString::fromUtf8(text));
        };
    };
    const QByteArray deepDivs = repeated("<div>", 100000) + "hluboko" + repeated("</div>", 100000);
    const QList<Case> cases{
        {"RTF alone, as some word processors offer it",
         [](QMimeData& m) { m.setData(QStringLiteral("text/rtf"), "{\\rtf1\\ansi\\ansicpg1250 {\\b Tu\\'e8n\\'fd} text}"); },
         QStringLiteral("Tučný text"), true, ""},
        {"RTF before HTML and text",
         [](QMimeData& m) {
             m.setData(QStringLiteral("text/richtext"), "{\\rtf1 {\\b RTF}}");
             m.setHtml(QStringLiteral("<p>HTML</p>"));
             m.setText(QStringLiteral("text"));
         },
         QStringLiteral("RTF"), true, ""},
        {"something else under the RTF's name gives way to HTML",
         [](QMimeData& m) {
             m.setData(QStringLiteral("text/rtf"), "<b>no RTF</b>");
             m.setHtml(QStringLiteral("<b>HTML</b>"));
         },
         QStringLiteral("HTML"), true, ""},
        {"100,000 nested divisions give their text",
         [&](QMimeData& m) {
             m.setHtml(QString::fromUtf8(deepDivs));
             m.setText(QStringLiteral("hluboko"));
         },
         QStringLiteral("hluboko"), false, "hluboko (přes 100 úrovní), než aby se dalo převzít; vložil se jen jeho text."},
        // The reader ignores a closing tag that closes nothing: every <div> nests.
        {"<div></i> 20,000 times", html(repeated("<div></i>", 20000), "past"), QStringLiteral("past"), false, "přes 100 úrovní"},
        {"a quoted \">\" hides no closing tag", html(repeated("<div title=\"></div>\">", 20000), "past"), QStringLiteral("past"),
         false, "přes 100 úrovní"},
        // Old mail leaves paragraphs and items open: they follow each other, formatted.
        {"unclosed paragraphs and items", html("<b>" + repeated("<p><i>odstavec", 3000) + "<ul>" + repeated("<li>bod", 3000)),
         QStringLiteral("odstavec\n").repeated(3000) + QStringLiteral("•\tbod\n").repeated(2999) + QStringLiteral("•\tbod"),
         true, ""},
        {"HTML beyond the size gives its text",
         [](QMimeData& m) {
             m.setHtml(QStringLiteral("<p>") + QString(kPasteBytesLimit, u'x') + QStringLiteral("</p>"));
             m.setText(QStringLiteral("krátký text"));
         },
         QStringLiteral("krátký text"), false, "příliš velký"},
        {"text beyond the size is not pasted",
         [](QMimeData& m) { m.setText(QString(kPasteBytesLimit + 1, u'x')); }, QString(), false, "nic se nevložilo"},
        {"RTF beyond the size with nothing else",
         [](QMimeData& m) { m.setData(QStringLiteral("text/rtf"), "{\\rtf1 " + QByteArray(kPasteBytesLimit, 'x') + "}"); },
         QString(), false, "nic se nevložilo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData offered;
        c.offer(offered);
        QElapsedTimer clock;
        clock.start();
        const ClipboardPaste paste = readClipboardPaste(offered, QFont(QStringLiteral("Tahoma"), 10));
        QTextDocument body;
        QTextCursor(&body).insertFragment(paste.fragment);
        EXPECT_LT(clock.elapsed(), 5000) << "the paste held the window";
        EXPECT_EQ(body.toPlainText(), c.pastedText);
        if (!c.pastedText.isEmpty()) {
            EXPECT_EQ(body.begin().begin().fragment().charFormat().fontWeight() >= QFont::Bold, c.bold);
        }
        EXPECT_EQ(paste.notice.isEmpty(), !*c.notice) << paste.notice.toStdString();
        EXPECT_TRUE(paste.notice.contains(QString::fromUtf8(c.notice))) << paste.notice.toStdString();
    }
}
