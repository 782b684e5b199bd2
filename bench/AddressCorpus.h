#pragma once

#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <QStringList>

namespace vorlin::bench {

// Generated Czech letters and contracts with the addresses in them, as the
// address filter should find them (from the first to the last character
// that is no blank; blanks inside a block stay).
struct Document {
    QString text;
    QSet<QString> addresses;
};

// The plain corpus the delivered filter was first written against, or
// (hard) one with what real documents add: a PSČ with a no-break space,
// lines indented by a tab or ending in blanks, amounts and periods below a
// number, addresses inside sentences, recipients and streets of other forms.
class AddressCorpus {
public:
    AddressCorpus(quint32 seed, bool hard) : random_(seed), hard_(hard) {}

    // Three letters to two contracts.
    Document next() { return count_++ % 5 < 3 ? letter() : contract(); }
    Document letter();
    Document contract();

private:
    QString pick(const QStringList& list) { return list[random_.bounded(int(list.size()))]; }
    int number(int low, int high) { return low + random_.bounded(high - low + 1); }
    bool chance(int percent) { return random_.bounded(100) < percent; }

    QString person();
    QString recipient();
    QString street();
    QString town();
    QString distractor();
    QString addressBlock();
    QString addressLine();
    QString sentenceWithAddress(QString& address);

    QRandomGenerator random_;
    bool hard_;
    int count_ = 0;
};

}  // namespace vorlin::bench
