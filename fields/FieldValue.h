#pragma once

#include "fields/FieldSyntax.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorlin::fields {

// A salutation's name as the snippet writes it ("{{oslovení: Jan Novák}}",
// "{{oslovení: titulem JUDr. Jan Novák}}"); empty when the form asks for it.
QString salutationName(const Field& field);
// The name as the field addresses the person: in the vocative ("Jane
// Nováku"), or by title with "titulem" ("pane doktore", "paní Nováková").
QString salutationOf(const Field& field, const QString& name);
// What a user's correction of a typed name's salutation is kept under.
QString salutationCorrectionKey(const Field& field, const QString& name);

// A choice's options, in their order ("žalobce|žalovaný").
QStringList fieldChoices(const Field& field);

// What a field's line in the form makes of what was typed into it.
struct Evaluated {
    QString value;        // what goes into the text
    QString problem;      // why it does not look right, in Czech; empty when it does
    QString explanation;  // how it was reached (a deadline), or what to know (a deemed delivery)
};
Evaluated evaluateField(const Field& field, const QString& typed, const QDate& today);

// What the line holds before the user types: a remembered value, else the
// field's own default (today for dates, the default text, the first choice).
QString startingInput(const Field& field, const std::optional<QString>& remembered, const QDate& today);

// The line's caption: the field's name, or for a deadline the event it
// runs from ("Den doručení").
QString inputCaption(const Field& field);

// A date as a user types it or copies it from a court's document: "7. 12.
// 2026" (with any kind of space, a no-break one too), "7.12.2026",
// "07.12.2026", "7.12.26", "7. prosince 2026", "2026-12-07"; "7. 12." and
// "7. prosince" in the current year; "dnes" or nothing for today.
std::optional<QDate> typedDate(const QString& typed, const QDate& today);

}  // namespace vorlin::fields
