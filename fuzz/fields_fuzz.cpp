// Feeds arbitrary text to the fields: as a snippet's body (its fields found,
// each evaluated with the text after it as what was typed, the body filled)
// and as the business register's answer. The fields found lie inside the
// text; the register's answer is a company or a reason, never both.
#include "fields/CompanyRegister.h"
#include "fields/FieldSyntax.h"
#include "fields/FieldValue.h"
#include "fields/FilledFields.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    const QDate today(2026, 12, 8);

    const vorlin::fields::FieldScan scan = vorlin::fields::scanFields(text);
    for (const vorlin::fields::Field& field : scan.fields) {
        if (field.start < 0 || field.length < 4 || field.start + field.length > text.size())
            std::abort();
        const QString typed = text.mid(field.start + field.length, 40);
        vorlin::fields::evaluateField(field, typed, today);
        vorlin::fields::startingInput(field, typed, today);
    }
    QTextDocument body(text);
    vorlin::fields::fillFields(body, [&](const vorlin::fields::Field& field) {
        return vorlin::fields::evaluateField(field, QStringLiteral("1. 1. 2027"), today).value;
    });

    const vorlin::fields::RegisterAnswer answer = vorlin::fields::readRegisterAnswer(200, bytes, QStringLiteral("27074358"));
    if (answer.company.has_value() == !answer.problem.isEmpty())
        std::abort();  // a company or a reason, never both or neither
    if (answer.company)
        for (const char* name : {"firma", "sídlo", "zápis"})
            vorlin::fields::registerValueFor(*answer.company, QString::fromUtf8(name));
    return 0;
}
