#pragma once

#include <QString>
#include <QStringList>

namespace vorlin::fields {

enum class Gender { Male, Female };

// A title before or after a name, or a word that goes with one ("et",
// "ml.", "st."), with or without its dots: never declined.
bool isNameTitle(const QString& word);

// The words of a name without its titles and the punctuation around them:
// "JUDr. Jana Nováková, Ph.D." → "Jana", "Nováková".
QStringList nameWords(const QString& name);

// A person's gender as the name shows it: a woman's surname (-ová, -á),
// else a woman's given name (-a, -e, and those that end otherwise, such as
// "Dagmar"), else a man's. A lone word is a surname unless it is a common
// woman's given name or ends in -ie.
Gender genderOfName(const QString& name);

// How a letter to a colleague addresses the person: by the highest title
// ("JUDr. Jana Nováková" → "paní doktorko", "Mgr. Petr Svoboda" → "pane
// magistře", "prof." → "pane profesore"), without one by the surname
// ("pane Nováku", "paní Nováková").
QString titledSalutation(const QString& name);

}  // namespace vorlin::fields
