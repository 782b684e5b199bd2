#pragma once

// The import window beside the main window and the settings window, on a
// data folder of its own.
#include "ui/import/Import_Unit.h"
#include "platform/PrivateOfficeConverter.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"
#include "ui/settings/About_Unit.h"

#include <QInputDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

namespace vorlin::test {

// The import window's controls.
struct ImportControls : FoundControls {
    using FoundControls::FoundControls;
    QPlainTextEdit* Memo1 = find<QPlainTextEdit>("Import_Memo1");
    ReviewListModel* items = find<ReviewListModel>("items");
    QPushButton* Button1 = find<QPushButton>("Button1");
    QPushButton* Button2 = find<QPushButton>("Button2");
    QPushButton* Button3 = find<QPushButton>("Button3");
    QPushButton* Button4 = find<QPushButton>("Button4");
    QPushButton* Button6 = find<QPushButton>("Button6");
    QPushButton* Button7 = find<QPushButton>("Button7");
    QPushButton* Zastavit_Button = find<QPushButton>("Zastavit_Button");
    QStatusBar* StatusBar1 = find<QStatusBar>("StatusBar1");
    QMenu* PopupMenu1 = find<QMenu>("PopupMenu1");
};

class Import : public MainWindow {
protected:
    void SetUp() override
    {
        start(false);
        about->setMemoLines(kinds::load(kinds::filePath(dataDir)));
    }

    // As start-up joins them.
    void windowsMadeBeforeCreation() override
    {
        about = std::make_unique<TAbout_Form>(*dm, *kindsList);
        // The window's outside world is the fixture's, as each test sets it.
        ImportWindowServices services;
        services.chooseInputFile = [this] { return chooseInputFile ? chooseInputFile() : QString(); };
        services.openFolder = [](const QString&) {};
        services.chooseFolder = [this] { return chooseFolder ? chooseFolder() : QString(); };
        services.makeConverter = [this] {
            return makeConverter ? makeConverter() : std::make_unique<platform::PrivateOfficeConverter>();
        };
        import = std::make_unique<TImport_Form>(*dm, *kindsList, std::move(services));
        shown = std::make_unique<ImportControls>(import.get());
        QObject::connect(form.get(), &TVorlin_Form::importRequested, import.get(), &TImport_Form::showEmptied);
        QObject::connect(form.get(), &TVorlin_Form::ending, import.get(), &TImport_Form::Zastavit_ButtonClick);
    }

    void TearDown() override
    {
        shown.reset();
        import.reset();
        about.reset();
        MainWindow::TearDown();
    }

    void filter(const QByteArray& bytes, const char* name = "f.txt")
    {
        dir.write(QStringLiteral("Jan Novák/Data (účetní)/hledani/") + QString::fromUtf8(name), bytes);
    }

    QStringList found() { return shown->items->texts(); }

    // Answers the kind prompts one after the other (null: Cancel).
    ModalAnswerer answerKinds(QList<const char*> kinds, QStringList* presets)
    {
        return ModalAnswerer([kinds, presets](QWidget* dialog) mutable {
            auto* input = qobject_cast<QInputDialog*>(dialog);
            ASSERT_NE(input, nullptr);
            presets->append(input->textValue());
            const char* kind = kinds.isEmpty() ? nullptr : kinds.takeFirst();
            if (kind) {
                input->setTextValue(QString::fromUtf8(kind));
                input->accept();
            } else {
                input->reject();
            }
        });
    }

    QList<QStringList> storedRows()
    {
        db::Database database(databaseFile());
        db::Statement rows(database, QStringLiteral("SELECT nazev, druh, obsah FROM vorlin ORDER BY ID"));
        QList<QStringList> result;
        while (rows.step())
            result << QStringList{rows.column(0).toString(), rows.column(1).toString(), rows.column(2).toString()};
        return result;
    }

    std::unique_ptr<TAbout_Form> about;
    std::unique_ptr<TImport_Form> import;
    std::unique_ptr<ImportControls> shown;
    std::function<QString()> chooseInputFile;
    std::function<QString()> chooseFolder;
    std::function<std::unique_ptr<platform::DocumentConverter>()> makeConverter;
};

}  // namespace vorlin::test
