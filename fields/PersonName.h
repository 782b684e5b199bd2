#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vorlin::fields {

enum class Gender { Male, Female };

// A title before or after a name, or a word that goes with one ("et",
// "ml.", "st."), with or without its dots: never declined.
bool isNameTitle(const QString& word);

// One word of a name as written, its letters replaced by what `form` makes
// of them in lowercase: punctuation around it, titles, initials and
// abbreviations stay; each part of a hyphenated word ("Nováková-Dvořáková")
// separately; capitals stay capitals ("ZDEŇKU").
QString formOfNameWord(const QString& word, const std::function<QString(const QString&)>& form);

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
