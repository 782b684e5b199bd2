#pragma once

// The program's windows and their controls, found by their names as any
// tool that drives the program finds them.
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace vorlin::bench {

template <class Control = QWidget>
Control* control(const QObject* window, const char* name)
{
    auto* found = window->findChild<Control*>(QString::fromLatin1(name));
    if (!found) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(1);
    }
    return found;
}

template <class Window = QWidget>
Window* topLevelWindow(const char* name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name))
            if (auto* found = qobject_cast<Window*>(window))
                return found;
    std::fprintf(stderr, "no window %s\n", name);
    std::exit(1);
}

// A click on the title of a list's column.
inline void clickTitle(QTableView* list, int section)
{
    QHeaderView* header = list->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

}  // namespace vorlin::bench
