#include "support/TempDir.h"
#include "ui/widgets/FolderDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// The dialog with a folder name typed into its name box, then accepted by
// its button.
struct Typed {
    bool asked = false;
    bool accepted = false;
};

Typed typeAndAccept(const QString& start, const QString& typed, bool answer)
{
    ui::FolderDialog dialog(nullptr, QStringLiteral("Složka"), start);
    Typed result;
    dialog.askToCreate = [&](const QString&) {
        result.asked = true;
        return answer;
    };
    QObject::connect(&dialog, &QDialog::accepted, [&] { result.accepted = true; });
    dialog.show();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    EXPECT_NE(name, nullptr);
    if (name)
        name->setText(typed);
    // Accepted by its button, as a mouse user does.
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QPushButton* choose = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
    EXPECT_TRUE(choose && choose->isEnabled()) << "the button is grey";
    if (choose)
        choose->click();
    return result;
}

}  // namespace

TEST(FolderDialog, ATypedFolderThatDoesNotExistIsCreatedAfterAsking)
{
    TempDir dir;
    const struct {
        const char* typed;
        bool answer;
        bool asked, accepted, exists;
    } cases[] = {
        {"nová složka", true, true, true, true},
        {"jiná/vnořená", true, true, true, true},
        {"odmítnutá", false, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const Typed result = typeAndAccept(dir.path(), QString::fromUtf8(c.typed), c.answer);
        EXPECT_EQ(result.asked, c.asked);
        EXPECT_EQ(result.accepted, c.accepted);
        EXPECT_EQ(QFileInfo(dir.file(QString::fromUtf8(c.typed))).isDir(), c.exists);
    }
    // A folder that exists is taken without a question.
    QDir().mkpath(dir.file(QStringLiteral("stará")));
    const Typed existing = typeAndAccept(dir.path(), QStringLiteral("stará"), false);
    EXPECT_FALSE(existing.asked);
    EXPECT_TRUE(existing.accepted);
}
