// Each line of the standard input in the vocative, for the comparison with
// an independent implementation (tests/fields/vocative_oracle.sh).
#include "fields/Vocative.h"

#include <QTextStream>

int main()
{
    QTextStream in(stdin);
    QTextStream out(stdout);
    for (QString line; in.readLineInto(&line);)
        out << vorlin::fields::vocativeOf(line) << '\n';
    return 0;
}
