#pragma once

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace vorlin::test {

// The character format of the first run that holds the text.
inline QTextCharFormat formatOfRunHolding(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

}  // namespace vorlin::test
