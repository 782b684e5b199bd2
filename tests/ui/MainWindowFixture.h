#pragma once

#include "ui/shell/ErrorBox.h"
#include "common/Paths.h"
#include "data/IniFile.h"
#include "data/KindsFile.h"
#include "data/Settings.h"
#include "support/StoreFixture.h"
#include "ui/main/Vorlin_Unit.h"

#include <QApplication>
#include <QFile>
#include <QTest>

namespace vorlin::test {

// The main window on a data folder of its own, created as start-up creates
// it: the window's handler, then the data module's.
class MainWindow : public StoreFixture {
protected:
    void start(bool withRows = true)
    {
        if (withRows)
            addRows({{"Adresa soudu", "adresa", "{\\rtf1 Krajsk\\'fd soud}", "soud"},
                     {"Podpis", "podpis", "JUDr. Jan Novák", "konec"}});
        if (seedKinds && !QFile::exists(kinds::filePath(dataDir)))
            QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin_druh.txt"), kinds::filePath(dataDir));
        dm = std::make_unique<TDM>();
        DM = dm.get();
        form = std::make_unique<TVorlin_Form>(&dm->Vorlin_DataSource);
        Vorlin_Form = form.get();
        kindsList = std::make_unique<KindsList>(kinds::filePath(dataDir));
        form->listKindsOf(*kindsList);
        createdOk = runShowingErrors([this] { form->FormCreate(); });
        dm->setBodyEditor(form.get());
        dm->DataModuleCreate();
        form->show();
        QApplication::processEvents();
    }

    // The window and the store started again on a fresh copy of the
    // delivered database, for a table of cases in one test.
    void restartWithFreshStore()
    {
        TearDown();
        dm.reset();
        QFile::remove(databaseFile());
        QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile());
        QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
        start();
    }

    void TearDown() override
    {
        if (form)
            form->TrayIcon->hide();
        form.reset();
        Vorlin_Form = nullptr;
    }

    void writeSetting(QStringView key, const QString& value)
    {
        IniFile(settings::filePath(dataDir)).writeString(settings::kSection, key, value);
    }

    QString readSetting(QStringView key) { return IniFile(settings::filePath(dataDir)).readString(settings::kSection, key, QStringLiteral("(chybí)")); }

    QStringList items(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    QStringList items(const QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

    void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    std::unique_ptr<KindsList> kindsList;  // the program's, as start-up makes it
    std::unique_ptr<TVorlin_Form> form;
    bool createdOk = false;
    bool seedKinds = true;
};

}  // namespace vorlin::test
