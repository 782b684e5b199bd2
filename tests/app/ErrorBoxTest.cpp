#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"
#include "common/Error.h"
#include "support/ModalAnswerer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vorlin;
using vorlin::test::ModalAnswerer;

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersAboveIt)
{
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"Cannot open file", "Cannot open file."},
        {"Hotovo.", "Hotovo."},
        {"Chyba!", "Chyba!"},      // "!" is below "."
        {"(pos 3)", "(pos 3)"},    // ")" is below "."
        {"value 5", "value 5."},   // digits are above "."
        {"soubor/", "soubor/."},   // "/" is just above "."
        {"a -", "a -"},            // "-" is just below "."
        {"Soubor Č", "Soubor Č."},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
}

namespace {

// A button whose click handler fails half way.
class FailingButton : public QPushButton {
public:
    int stepsDone = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++stepsDone;
            throw Error(QStringLiteral("Cannot focus a disabled or invisible window"));
        }
        return QPushButton::event(e);
    }
};

}  // namespace

TEST(ErrorBox, AnErrorLeavingAHandlerIsShownAndTheProgramCarriesOn)
{
    FailingButton button;
    ModalAnswerer answerer;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&button, &event);
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("Vorlin"));
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Cannot focus a disabled or invisible window."));
    EXPECT_EQ(answerer.seen()[0].icon, MessageBox::Critical);

    // The next event is served as usual.
    QCoreApplication::sendEvent(&button, &event);
    EXPECT_EQ(button.stepsDone, 2);
    EXPECT_EQ(answerer.seen().size(), 2);
}

TEST(ErrorBox, AnErrorOfASignalsHandlerStopsAtTheHandlersEdge)
{
    QPushButton button;
    int calls = 0;
    QObject::connect(&button, &QPushButton::clicked, &button, ui::guarded([&](bool) {
        ++calls;
        throw Error(QStringLiteral("Soubor nelze otevřít"));
    }));
    ModalAnswerer answerer;
    button.click();  // returns here: the error did not go through Qt
    button.click();
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(answerer.seen().size(), 2);
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Soubor nelze otevřít."));
}

TEST(ErrorBox, CreationStepsShowTheirErrorAndTheStartGoesOn)
{
    ModalAnswerer answerer;
    QStringList done;
    const bool first = runShowingErrors([&] { throw std::runtime_error("engine error"); });
    const bool second = runShowingErrors([&] { done << QStringLiteral("second"); });
    EXPECT_FALSE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(done, QStringList{QStringLiteral("second")});
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("engine error."));
}
