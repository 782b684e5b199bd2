// Types Ctrl+V through the keyboard the program chooses for the session, once
// for every line read, as the program does over its life: one keyboard, made
// at the first chord. Says "typed" after each; fails when there is no way.
#include "platform/SessionKeyboard.h"

#include <cstdio>
#include <iostream>
#include <string>

int main()
{
    vorlin::platform::SessionKeyboard keyboard(vorlin::GraphicalSession::current(), QStringLiteral("portal_klavesnice.txt"));
    for (std::string line; std::getline(std::cin, line);) {
        if (!keyboard.sendChord(Qt::Key_V, Qt::ControlModifier)) {
            std::puts("no way to type in this session");
            return 1;
        }
        std::puts("typed");
        std::fflush(stdout);
    }
    return 0;
}
