#pragma once

#include <QString>

namespace vorlin::ui {

// Each control of a window is found by the name it had in the Windows
// program's form: by the tests, as by anything else that looks for it.
template <class Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace vorlin::ui
