#pragma once

// The import window beside the main window and the settings window, on a
// data folder of its own.
#include "ui/import/Import_Unit.h"
#include "platform/PrivateOfficeConverter.h"
#include "support/ModalAnswerer.h"
#include "ui/MainWindowFixture.h"
#include "ui/settings/About_Unit.h"

#include <QInputDialog>

namespace vorlin::test {

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
        QObject::connect(form.get(), &TVorlin_Form::importRequested, import.get(), &TImport_Form::showEmptied);
        QObject::connect(form.get(), &TVorlin_Form::ending, import.get(), &TImport_Form::Zastavit_ButtonClick);
    }

    void TearDown() override
    {
        import.reset();
        about.reset();
        MainWindow::TearDown();
    }

    void filter(const QByteArray& bytes, const char* name = "f.txt")
    {
        dir.write(QStringLiteral("Jan Novák/Data (účetní)/hledani/") + QString::fromUtf8(name), bytes);
    }

    QStringList found() { return import->items->texts(); }

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
    std::function<QString()> chooseInputFile;
    std::function<QString()> chooseFolder;
    std::function<std::unique_ptr<platform::DocumentConverter>()> makeConverter;
};

}  // namespace vorlin::test
