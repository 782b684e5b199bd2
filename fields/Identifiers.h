#pragma once

#include <QString>

namespace vorlin::fields {

// A typed identifier as it is written in documents, and why it does not look
// right (in Czech, for the form's red line); the reason is empty when it
// does. The written form is given even then, as far as it could be made.
struct Checked {
    QString written;
    QString problem;
};

// IČO: eight digits (shorter ones padded with zeros in front), the last one
// the modulo-11 check digit of the seven before.
Checked checkedCompanyId(const QString& typed);

// The identifier of a data box: seven lowercase letters and digits.
Checked checkedDataBoxId(const QString& typed);

// A court's file number with its spacing made right: "21 Cdo 1234/2019",
// "12 P a Nc 123/2024", "29 NSČR 12/2024", an insolvency one with its court
// "KSPH 38 INS 12345/2019", the Constitutional Court's "I. ÚS 1234/19" and
// "Pl. ÚS-st. 45/16", an executor's "120 EX 1234/19"; a reference number
// with its page ("10 C 123/2020-45") and its "č. j." or "sp. zn.". A
// register the table of known registers does not hold is written as typed
// and said.
Checked checkedFileNumber(const QString& typed);

// The European Case Law Identifier of a decision of the Supreme Court, the
// Supreme Administrative Court or the Constitutional Court, from its file
// number, the year of the decision and its ordinal, typed as "21 Cdo
// 1234/2019, 2020, 1": the year is this one when left out, the ordinal the
// file number's page ("-35") or 1. "ECLI:CZ:NS:2020:21.CDO.1234.2019.1".
Checked checkedEcli(const QString& typed, int thisYear);

}  // namespace vorlin::fields
