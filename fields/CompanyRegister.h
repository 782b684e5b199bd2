#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vorlin::fields {

// What the register holds of a company, as the fields beside an IČO use it.
struct CompanyRecord {
    QString companyId;
    QString name;       // "Novák a partneři, s.r.o."
    QString seat;       // "Vodičkova 681/14, Nové Město, 110 00 Praha 1"
    QString legalForm;  // "Společnost s ručením omezeným"; empty for a code the table lacks
    QString taxId;      // "CZ25596642"
    QString court;      // "Městský soud v Praze"
    QString entry;      // "C 12345 vedená u Městského soudu v Praze"
};

// The register's answer about one IČO: the company, or why there is none
// (in Czech, for the form).
struct RegisterAnswer {
    std::optional<CompanyRecord> company;
    QString problem;
};
RegisterAnswer readRegisterAnswer(int httpStatus, const QByteArray& body, const QString& companyId);

// The address of one company's record under the register's address.
QString registerRecordUrl(const QString& registerAddress, const QString& companyId);

// The value a field beside an IČO takes from the record, by the field's
// name: "firma", "sídlo", "právní forma", "DIČ", "rejstříkový soud",
// "zápis" (letter case aside). Nothing for any other name.
std::optional<QString> registerValueFor(const CompanyRecord& company, const QString& fieldName);

}  // namespace vorlin::fields
