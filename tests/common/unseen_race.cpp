// A race between a worker thread and a slot of the GUI thread, each adding
// to one number: the thread sanitizer must report it with the program's
// suppressions in force (a suppression of any frame inside Qt would hide
// every such race, each slot running beneath Qt's event handling).
// Ends 0 when nothing is reported, which the sanitized check takes for a
// failure; in an ordinary build it is only built.
#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <thread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int counted = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &app, [&counted] { ++counted; });
    tick.start(1);
    std::thread worker([&counted] {
        for (int i = 0; i < 200; ++i) {
            ++counted;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    app.exec();
    worker.join();
    return 0;
}
