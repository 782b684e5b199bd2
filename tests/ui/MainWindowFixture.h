#pragma once

#include "ui/shell/ErrorBox.h"
#include "common/Paths.h"
#include "data/IniFile.h"
#include "data/KindsFile.h"
#include "data/Settings.h"
#include "support/StoreFixture.h"
#include "ui/main/Vorlin_Unit.h"

#include "common/WindowTimer.h"
#include "ui/datacontrols/DBComboBox.h"
#include "ui/datacontrols/DBEdit.h"
#include "ui/datacontrols/DBGrid.h"
#include "ui/datacontrols/DBNavigator.h"
#include "ui/richtext/DBRichEdit.h"
#include "ui/widgets/UpDown.h"

#include <QAccessible>
#include <QSet>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace vorlin::test {

// A window's controls, found by their names as any test finds them.
struct FoundControls {
    explicit FoundControls(QWidget* window) : window_(window) {}

    template <class Control>
    Control* find(const char* name) const
    {
        auto* control = window_->findChild<Control*>(QString::fromLatin1(name));
        if (!control)
            ADD_FAILURE() << "no control " << name;
        return control;
    }

    QWidget* window_;
};

// The main window's.
struct MainWindowControls : FoundControls {
    using FoundControls::FoundControls;
    ui::DBNavigator* DBNavigator1 = find<ui::DBNavigator>("DBNavigator1");
    ui::DBGrid* DBGrid1 = find<ui::DBGrid>("DBGrid1");
    QGroupBox* GroupBox1 = find<QGroupBox>("GroupBox1");
    QLineEdit* Jmeno_Edit = find<QLineEdit>("Jmeno_Edit");
    QListWidget* ListBox1 = find<QListWidget>("ListBox1");
    QToolBar* ToolBar1 = find<QToolBar>("ToolBar1");
    QAction* RichEditAlignLeft1 = find<QAction>("RichEditAlignLeft1");
    QAction* RichEditAlignCenter1 = find<QAction>("RichEditAlignCenter1");
    QAction* ToolButton8 = find<QAction>("ToolButton8");
    QPushButton* Button4 = find<QPushButton>("Button4");
    ui::DBRichEdit* DBRichEdit1 = find<ui::DBRichEdit>("DBRichEdit1");
    ui::DBEdit* Jmeno_DBEdit = find<ui::DBEdit>("Jmeno_DBEdit");
    ui::DBComboBox* DBComboBox1 = find<ui::DBComboBox>("DBComboBox1");
    ui::DBEdit* Tag_DBEdit = find<ui::DBEdit>("Tag_DBEdit");
    QGroupBox* GroupBox19 = find<QGroupBox>("GroupBox19");
    QListWidget* Word_ListBox = find<QListWidget>("Word_ListBox");
    QPushButton* Button36 = find<QPushButton>("Button36");
    QPushButton* Button35 = find<QPushButton>("Button35");
    QPushButton* Button2 = find<QPushButton>("Button2");
    QCheckBox* CheckBox4 = find<QCheckBox>("CheckBox4");
    QCheckBox* CheckBox1 = find<QCheckBox>("CheckBox1");
    QCheckBox* CheckBox2 = find<QCheckBox>("CheckBox2");
    QGroupBox* GroupBox2 = find<QGroupBox>("GroupBox2");
    QPushButton* Button3 = find<QPushButton>("Button3");
    QToolButton* BitBtn6 = find<QToolButton>("BitBtn6");
    QCheckBox* CheckBox3 = find<QCheckBox>("CheckBox3");
    QLineEdit* Edit1 = find<QLineEdit>("Edit1");
    ui::UpDown* UpDown1 = find<ui::UpDown>("UpDown1");
    QPushButton* Button5 = find<QPushButton>("Button5");
    QPushButton* Button1 = find<QPushButton>("Button1");
    QLabel* StatusLabel = find<QLabel>("StatusLabel");
    QMenu* PopupMenu1 = find<QMenu>("PopupMenu1");
    WindowTimer* Timer1 = find<WindowTimer>("Timer1");
    QSystemTrayIcon* TrayIcon = find<QSystemTrayIcon>("TrayIcon");

    // The tray menu's entry with this caption.
    QAction* menuEntry(const QString& caption) const
    {
        for (QAction* action : PopupMenu1->actions())
            if (action->text() == caption)
                return action;
        ADD_FAILURE() << "no menu entry " << caption.toStdString();
        return nullptr;
    }
};

// The main window on a data folder of its own, created as start-up creates
// it: the window's handler, then the data module's.
class MainWindow : public StoreFixture {
protected:
    void start(bool withRows = true) { startWith(services(), withRows); }

    void startWith(const MainWindowServices& given, bool withRows = true)
    {
        if (withRows)
            addRows({{"Adresa soudu", "adresa", "{\\rtf1 Krajsk\\'fd soud}", "soud"},
                     {"Podpis", "podpis", "JUDr. Jan Novák", "konec"}});
        if (seedKinds && !QFile::exists(kinds::filePath(dataDir)))
            QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin_druh.txt"), kinds::filePath(dataDir));
        dm = std::make_unique<TDM>();
        if (onServer())
            dm->library = serverLibrary();
        form = std::make_unique<TVorlin_Form>(*dm, given);
        controls = std::make_unique<MainWindowControls>(form.get());
        kindsList = std::make_unique<KindsList>(kinds::filePath(dataDir));
        form->listKindsOf(*kindsList);
        windowsMadeBeforeCreation();
        createdOk = runShowingErrors([this] { form->FormCreate(); });
        dm->setBodyEditor(form.get());
        dm->DataModuleCreate();
        waitForTheCopyKeptHere();
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
            controls->TrayIcon->hide();
        controls.reset();
        form.reset();
    }

    // What the window is given by start(): a fixture's fakes.
    virtual MainWindowServices services() { return {}; }

    // Other windows made and joined to the main window before its creation
    // handler runs, as start-up does.
    virtual void windowsMadeBeforeCreation() {}

    // A click on a column's title.
    void clickTitle(const QString& caption)
    {
        QHeaderView* header = controls->DBGrid1->horizontalHeader();
        for (int section = 0; section < header->count(); ++section) {
            if (controls->DBGrid1->model()->headerData(section, Qt::Horizontal).toString() != caption)
                continue;
            const QPoint middle(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                                header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
            return;
        }
        ADD_FAILURE() << "no column " << caption.toStdString();
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

    // What a screen reader says of each control the keyboard reaches: a
    // name, and no name twice.
    static void expectEveryControlNamedOnce(QWidget* window)
    {
        QStringList names;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(window) || control->focusProxy())
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            const QString name = accessible ? accessible->text(QAccessible::Name) : QString();
            EXPECT_FALSE(name.isEmpty()) << control->metaObject()->className() << " " << control->objectName().toStdString();
            names << name;
        }
        QStringList shared = names;
        for (const QString& once : QSet<QString>(names.begin(), names.end()))
            shared.removeOne(once);
        EXPECT_TRUE(shared.isEmpty()) << "controls share a name: " << shared.join(u'|').toStdString();
    }

    void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    std::unique_ptr<KindsList> kindsList;  // the program's, as start-up makes it
    std::unique_ptr<TVorlin_Form> form;
    std::unique_ptr<MainWindowControls> controls;
    bool createdOk = false;
    bool seedKinds = true;
};

}  // namespace vorlin::test
