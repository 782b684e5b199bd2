#include "ui/richtext/FontDialog.h"

#include "ui/shell/DesktopLanguage.h"
#include "ui/shell/Dialogs.h"
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vorlin::ui {
namespace {

struct NamedColour {
    Color value;
    const char* name;
};

const NamedColour kColours[] = {
    {colors::clWindowText, "Automatická"}, {colors::clBlack, "Černá"},  {colors::clMaroon, "Kaštanová"},
    {colors::clGreen, "Zelená"},           {colors::clOlive, "Olivová"}, {colors::clNavy, "Námořnická modř"},
    {colors::clPurple, "Purpurová"},       {colors::clTeal, "Modrozelená"}, {colors::clGray, "Šedá"},
    {colors::clSilver, "Stříbrná"},        {colors::clRed, "Červená"},   {colors::clLime, "Limetková"},
    {colors::clYellow, "Žlutá"},           {colors::clBlue, "Modrá"},    {colors::clFuchsia, "Fuchsiová"},
    {colors::clAqua, "Azurová"},           {colors::clWhite, "Bílá"},
};

// fontconfig names a family that several foundries make with its foundry,
// "Nimbus Roman [urw]": a name no word processor knows.
QString withoutFoundry(QString family)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return family.remove(foundry);
}

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

}  // namespace

FontDialog::FontDialog()
{
    // The face the windows are in: one that exists.
    const QFont face = designedFace();
    font_.face = face.family();
    font_.size = face.pointSize() > 0 ? face.pointSize() : 8;
    font_.color = colors::clWindowText;
}

bool FontDialog::execute(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Písmo"));
    auto* layout = new QVBoxLayout(&dialog);

    auto* fonts = new QFontDialog(&dialog);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setCurrentFont(font_.toQFont());
    layout->addWidget(fonts);

    auto* colours = new QComboBox(&dialog);
    for (const NamedColour& colour : kColours)
        colours->addItem(swatch(toQColor(colour.value, dialog.palette())), QString::fromUtf8(colour.name),
                         QVariant::fromValue(colour.value));
    const int current = colours->findData(QVariant::fromValue(font_.color));
    colours->setCurrentIndex(current >= 0 ? current : 0);
    // The family as it is stored, which may be one not installed here (the
    // office's "Times New Roman"): kept unless another is chosen or typed;
    // the list above shows the nearest face.
    auto* family = new QLineEdit(font_.face, &dialog);
    family->setObjectName(QStringLiteral("FamilyEdit"));
    family->setMaxLength(int(Font::kMaxFaceLength));
    // Only a family chosen in the list replaces the name: a size or style
    // chosen after a typed name keeps it.
    QObject::connect(fonts, &QFontDialog::currentFontChanged, family,
                     [family, listed = fonts->currentFont().family()](const QFont& font) mutable {
                         if (font.family() == listed)
                             return;
                         listed = font.family();
                         family->setText(withoutFoundry(listed));
                     });
    // A quote would end the name where it is stored.
    family->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), family));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název písma:"), family);
    form->addRow(QStringLiteral("Barva:"), colours);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    // Enter and Esc in the embedded chooser end this dialog, not just the
    // chooser inside it.
    QObject::connect(fonts, &QDialog::accepted, &dialog, &QDialog::accept);
    QObject::connect(fonts, &QDialog::rejected, &dialog, &QDialog::reject);

    if (runDialog(dialog) != QDialog::Accepted)
        return false;
    QFont chosen = fonts->currentFont();
    if (chosen.pointSize() <= 0)
        chosen.setPointSize(font_.size > 0 ? font_.size : 8);
    font_ = Font::fromQFont(chosen, colours->currentData().value<Color>());
    const QString typed = family->text().trimmed();
    font_.setFace(typed.isEmpty() ? withoutFoundry(chosen.family()) : typed);
    return true;
}

}  // namespace vorlin::ui
