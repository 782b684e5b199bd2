#pragma once

#include "fields/FieldSyntax.h"

#include <QString>

#include <functional>
#include <optional>

class QTextDocument;

namespace vorlin::fields {

// A field's value, or nothing to leave the field as written.
using FieldValue = std::function<std::optional<QString>(const Field& field)>;

// The text with its fields replaced by their values and "{{{{" by "{{".
QString filledText(const QString& text, const FieldValue& valueOf);

// The same in a formatted body: a value takes the format of the field's
// first character, so that it reads as the run it stands in.
void fillFields(QTextDocument& document, const FieldValue& valueOf);

}  // namespace vorlin::fields
