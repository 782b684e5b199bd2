#pragma once

#include <QTimer>
#include <QWidget>

namespace vorlin::ui {

// A window of the program besides the main one: created once and hidden,
// shown without being modal and brought to the front, centred over the main
// window the first time it shows.
class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SecondaryWindow(QWidget* parent = nullptr) : QWidget(parent, Qt::Window) {}

    void showOver(const QWidget* mainWindow)
    {
        if (!placed_ && mainWindow) {
            move(mainWindow->frameGeometry().center() - QPoint(width() / 2, height() / 2));
            placed_ = true;
        }
        show();
        raise();
        activateWindow();
        // Opened from a double click, the window would be pushed back by
        // what the mouse does next in the main window: once more after it.
        QTimer::singleShot(0, this, [this] {
            raise();
            activateWindow();
        });
    }

    // The window it shows over: the main window, as start-up sets it.
    void setHome(const QWidget* window) { home_ = window; }
    const QWidget* home() const { return home_; }

private:
    bool placed_ = false;
    const QWidget* home_ = nullptr;
};

}  // namespace vorlin::ui
