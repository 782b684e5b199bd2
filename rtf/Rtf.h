#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace vorlin::rtf {

// Text is taken as RTF when it starts with "{\rtf".
bool isRtf(QByteArrayView text);

// Replaces the document's content with the RTF's text and formatting: fonts,
// sizes, bold, italic, underline, strike-out, colours, highlight, alignment,
// indents and paragraph spacing. Tables and lists arrive as their text,
// paragraph by paragraph. Returns false when the text is not RTF or is broken
// beyond repair (its groups never close and it holds no text); the document
// is then left empty. Never loops and never grows beyond the input's size,
// whatever the input.
bool read(QByteArrayView rtf, QTextDocument& document);

// The document as RTF that read() and word processors take back with its
// formatting: 7-bit text, Windows-1250 characters as \'xx, all others as \uN.
QByteArray write(const QTextDocument& document);

// A snippet body into a document: RTF when it reads as RTF, plain text
// otherwise.
void loadBody(const QString& body, QTextDocument& document);

// The body to store for a document: its RTF.
QString bodyOf(const QTextDocument& document);

}  // namespace vorlin::rtf
