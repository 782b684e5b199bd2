// A worker and a slot of the GUI thread add to one number: scripts/check-sanitized
// fails unless the thread sanitizer reports it with the program's suppressions.
#include <QCoreApplication>
#include <QTimer>
#include <thread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int counted = 0;
    QTimer tick;  // a slot of the GUI thread
    QObject::connect(&tick, &QTimer::timeout, [&counted] { ++counted; });
    tick.start(1);
    std::thread worker([&counted] {
        for (int i = 0; i < 200; ++i, ++counted)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    app.exec();
    worker.join();
}
