// Each line of the standard input in the vocative, the gender it shows (m
// or f), and cases 2, 3, 4, 6 and 7, a tab between, for the comparison with
// an independent implementation (tests/fields/vocative_oracle.sh).
#include "fields/NameCases.h"
#include "fields/PersonName.h"
#include "fields/Vocative.h"

#include <QTextStream>

int main()
{
    QTextStream in(stdin);
    QTextStream out(stdout);
    for (QString line; in.readLineInto(&line);) {
        out << vorlin::fields::vocativeOf(line) << '\t'
            << (vorlin::fields::genderOfName(line) == vorlin::fields::Gender::Female ? 'f' : 'm');
        for (const int grammaticalCase : {2, 3, 4, 6, 7})
            out << '\t' << vorlin::fields::nameInCase(line, grammaticalCase);
        out << '\n';
    }
    return 0;
}
