// Each line of the standard input in the vocative and the gender it shows
// (m or f), a tab between, for the comparison with
// an independent implementation (tests/fields/vocative_oracle.sh).
#include "fields/PersonName.h"
#include "fields/Vocative.h"

#include <QTextStream>

int main()
{
    QTextStream in(stdin);
    QTextStream out(stdout);
    for (QString line; in.readLineInto(&line);)
        out << vorlin::fields::vocativeOf(line) << '\t'
            << (vorlin::fields::genderOfName(line) == vorlin::fields::Gender::Female ? 'f' : 'm') << '\n';
    return 0;
}
