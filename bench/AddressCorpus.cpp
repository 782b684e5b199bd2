#include "bench/AddressCorpus.h"

namespace vorlin::bench {

QString AddressCorpus::person()
{
    static const QStringList titles = {"", "", "JUDr. ", "Mgr. ", "Ing. ", "MUDr. ", "Bc. "};
    static const QStringList men = {"Jan Novák", "Petr Svoboda", "Josef Dvořák", "Pavel Černý", "Tomáš Procházka",
                                    "Jiří Kučera", "Martin Veselý", "Jaroslav Horák", "Miroslav Němec", "Karel Šťastný"};
    static const QStringList women = {"Marie Nováková", "Jana Svobodová", "Eva Dvořáková", "Hana Černá",
                                      "Lenka Procházková", "Petra Kučerová", "Věra Veselá", "Alena Horáková"};
    static const QStringList others = {"Ing. arch. Petr Malý", "prof. JUDr. Karel Eliáš", "Zdeněk Ondráček, Ph.D.",
                                       "Oldřich Říha st.", "Ludmila Říhová"};
    if (hard_ && chance(15))
        return pick(others);
    return pick(titles) + pick(chance(50) ? men : women);
}

QString AddressCorpus::recipient()
{
    static const QStringList bodies = {"Okresní soud v Chrudimi", "Krajský soud v Brně", "Městský soud v Praze",
                                       "Stavby Morava s.r.o.", "Novák & partneři, advokátní kancelář",
                                       "Obecní úřad Lhota", "Česká pojišťovna a.s."};
    static const QStringList otherBodies = {"Finanční úřad pro Jihomoravský kraj", "Advokátní kancelář JUDr. Jana Malá",
                                            "Exekutorský úřad Praha 4", "Katastrální pracoviště Brno-město",
                                            "ČSOB, a.s.", "Krajské státní zastupitelství v Ostravě",
                                            "Komerční banka, a.s., pobočka Jihlava"};
    if (chance(70))
        return person();
    return hard_ && chance(40) ? pick(otherBodies) : pick(bodies);
}

QString AddressCorpus::street()
{
    static const QStringList streets = {"Masarykova", "Husova", "Na Příkopě", "Dlouhá", "nám. Míru",
                                        "tř. Kpt. Jaroše", "Palackého", "Žižkova", "U Školy", "Křižíkova"};
    static const QStringList otherStreets = {"náměstí Svobody", "Nábřeží Kpt. Jaroše", "Třída Míru", "Pod Kaštany",
                                             "17. listopadu", "Tyršova"};
    static const QStringList villages = {"Lhota", "Újezd", "Dolní Bučice", "Horní Dubenky"};
    const QString name = hard_ && chance(30) ? pick(otherStreets) : pick(streets);
    switch (random_.bounded(4)) {
    case 0: return name + u' ' + QString::number(number(1, 200));
    case 1: return name + u' ' + QString::number(number(100, 3000)) + u'/' + QString::number(number(1, 60));
    case 2: return name + u' ' + QString::number(number(1, 90)) + QChar(u'a' + random_.bounded(3));
    default: return pick(villages) + (chance(50) ? QStringLiteral(" č. p. ") : QStringLiteral(" č.p. "))
                 + QString::number(number(1, 400));
    }
}

QString AddressCorpus::town()
{
    static const QStringList towns = {"Brno", "Praha 1", "Chrudim", "Ostrava-Poruba", "Plzeň", "Frýdek-Místek",
                                      "České Budějovice", "Ústí nad Labem", "Hradec Králové"};
    static const QStringList otherTowns = {"Aš", "Jihlava", "Žďár nad Sázavou", "Brno-Královo Pole", "Kutná Hora"};
    const QString code = QString::number(number(100, 799));
    const QString rest = QStringLiteral("%1").arg(number(0, 99), 2, 10, QChar(u'0'));
    // Czech typography keeps the PSČ together with a no-break space.
    const int separator = random_.bounded(100);
    const QString gap = hard_ && separator < 25 ? QStringLiteral("\u00A0") : separator < 85 ? QStringLiteral(" ") : QString();
    return code + gap + rest + u' ' + (hard_ && chance(20) ? pick(otherTowns) : pick(towns));
}

QString AddressCorpus::distractor()
{
    switch (random_.bounded(hard_ ? 9 : 6)) {
    case 0: return QStringLiteral("V Brně dne %1. %2. %3").arg(number(1, 28)).arg(number(1, 12)).arg(number(2000, 2026));
    case 1: return QStringLiteral("sp. zn. %1 Cdo %2/%3").arg(number(1, 33)).arg(number(100, 4999)).arg(number(2005, 2026));
    case 2: return QStringLiteral("Částka %1 %2 Kč je splatná do 15 dnů.").arg(number(1, 999)).arg(number(100, 999));
    case 3: return QStringLiteral("Tel.: +420 %1 %2 %3").arg(number(600, 799)).arg(number(100, 999)).arg(number(100, 999));
    case 4: return QStringLiteral("IČO: %1, DIČ: CZ%1").arg(number(10000000, 99999999));
    // Amounts and periods below a line that ends in a number.
    case 6: return QStringLiteral("Vyúčtování za rok %1\r\nFaktura č. %2\r\n%3 Kč")
                .arg(number(2015, 2026)).arg(number(1, 999)).arg(number(10000, 99999));
    case 7: return QStringLiteral("Smlouva ze dne 1. 2. %1, článek %2\r\nlhůta %3\r\n%4 %5 dnů lhůta činí")
                .arg(number(2000, 2026)).arg(number(1, 20)).arg(number(1, 30)).arg(number(100, 999)).arg(number(10, 99));
    case 8: return QStringLiteral("Tabulka %1\r\nSoučet 12\r\n%2 %3 EUR celkem")
                .arg(number(1, 9)).arg(number(100, 999)).arg(number(10, 99));
    default: return pick({QStringLiteral("Vážený pane doktore,"), QStringLiteral("S pozdravem"),
                          QStringLiteral("K Vašemu dopisu ze dne 3. 4. 2008 sdělujeme, že věc projednáme."),
                          QStringLiteral("Žalobce se domáhá zaplacení částky 125 000 Kč s příslušenstvím."),
                          QStringLiteral("Příloha č. 1: plná moc")});
    }
}

QString AddressCorpus::addressBlock()
{
    // Now and then a department or a person under the recipient: a block
    // of four lines.
    QStringList lines{recipient()};
    if (chance(6))
        lines << pick({QStringLiteral("k rukám p. ředitele"), QStringLiteral("občanskoprávní úsek")});
    lines << street() << town();
    if (chance(20))
        lines << QStringLiteral("Česká republika");
    // Converted documents indent the lines with a tab or blanks and leave
    // blanks at their ends.
    const bool indented = hard_ && chance(25);
    const QString indent = chance(50) ? QStringLiteral("\t") : QStringLiteral("    ");
    const bool trailing = hard_ && chance(25);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (indented && i > 0)
            lines[i].prepend(indent);
        if (trailing && i + 1 < lines.size())
            lines[i] += QStringLiteral("  ");
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString AddressCorpus::addressLine()
{
    return recipient() + QStringLiteral(", ") + street() + QStringLiteral(", ") + town();
}

QString AddressCorpus::sentenceWithAddress(QString& address)
{
    address = addressLine();
    if (!hard_ || chance(50))
        return QStringLiteral("Zásilku prosím doručte na adresu ") + address + QStringLiteral(".");
    return QStringLiteral("Dne %1. %2. %3 jsme jménem své klientky, %4, podali žalobu.")
        .arg(number(1, 28)).arg(number(1, 12)).arg(number(2010, 2026)).arg(address);
}

Document AddressCorpus::letter()
{
    Document document;
    QStringList lines;
    for (int i = number(0, 2); i > 0; --i)
        lines << distractor();
    const QString to = addressBlock();
    document.addresses << to.trimmed();
    lines << QStringLiteral("Vážený pan") << to << QString();
    for (int i = number(3, 8); i > 0; --i)
        lines << distractor();
    const QString from = addressLine();
    document.addresses << from;
    lines << QString() << from;
    if (chance(hard_ ? 30 : 8)) {
        QString inside;
        lines << sentenceWithAddress(inside);
        document.addresses << inside;
    }
    document.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return document;
}

Document AddressCorpus::contract()
{
    Document document;
    QStringList lines{QStringLiteral("KUPNÍ SMLOUVA"), QString()};
    for (const char* party : {"Prodávající: ", "Kupující: "}) {
        const QString address = addressLine();
        document.addresses << address;
        lines << QString::fromUtf8(party) + address << distractor() << QString();
    }
    for (int i = number(4, 10); i > 0; --i)
        lines << distractor();
    document.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return document;
}

}  // namespace vorlin::bench
