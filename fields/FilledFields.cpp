#include "fields/FilledFields.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vorlin::fields {

namespace {

// One replacement in a text: where, how long, by what.
struct Replacement {
    qsizetype start;
    qsizetype length;
    QString by;
};

// The replacements of a text, last first, so that each leaves the places
// of the ones before it where they were.
QList<Replacement> replacementsOf(const QString& text, const FieldValue& valueOf)
{
    const FieldScan scan = scanFields(text);
    QList<Replacement> replacements;
    for (const qsizetype escape : scan.escapes)
        replacements.append({escape, 4, QStringLiteral("{{")});
    for (const Field& field : scan.fields)
        if (const std::optional<QString> value = valueOf(field))
            replacements.append({field.start, field.length, *value});
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.start > b.start; });
    return replacements;
}

}  // namespace

QString filledText(const QString& text, const FieldValue& valueOf)
{
    // The replacements come last first; taken from the back, they follow the text.
    const QList<Replacement> replacements = replacementsOf(text, valueOf);
    QString filled;
    qsizetype copied = 0;
    for (auto replacement = replacements.crbegin(); replacement != replacements.crend(); ++replacement) {
        filled += QStringView(text).sliced(copied, replacement->start - copied);
        filled += replacement->by;
        copied = replacement->start + replacement->length;
    }
    filled += QStringView(text).sliced(copied);
    return filled;
}

void fillFields(QTextDocument& document, const FieldValue& valueOf)
{
    // The document's plain text counts each paragraph's end as one
    // character, as the cursor does: the places are the cursor's.
    const QList<Replacement> replacements = replacementsOf(document.toPlainText(), valueOf);
    if (replacements.isEmpty())
        return;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const Replacement& replacement : replacements) {
        cursor.setPosition(int(replacement.start + 1));
        const QTextCharFormat format = cursor.charFormat();  // of the field's first character
        cursor.setPosition(int(replacement.start));
        cursor.setPosition(int(replacement.start + replacement.length), QTextCursor::KeepAnchor);
        cursor.insertText(replacement.by, format);
    }
    cursor.endEditBlock();
}

}  // namespace vorlin::fields
