#pragma once

#include <QApplication>

namespace vorlin {

// The application object. An error that leaves an event handler is shown in
// the standard error box; the handler's remaining steps are skipped and the
// program carries on.
class VorlinApplication : public QApplication {
public:
    VorlinApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vorlin
