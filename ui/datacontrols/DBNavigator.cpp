#include "ui/datacontrols/DBNavigator.h"

#include "ui/Icons.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"

#include <QHBoxLayout>

namespace vorlin::ui {

DBNavigator::DBNavigator(db::DataSource* source, QWidget* parent) : QWidget(parent), source_(source)
{
    using icons::Glyph;
    const Glyph glyphs[ButtonCount] = {Glyph::First, Glyph::Prior,  Glyph::Next, Glyph::Last,   Glyph::Insert,
                                       Glyph::Delete, Glyph::Edit, Glyph::Post, Glyph::Cancel, Glyph::Refresh};
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* button = new QToolButton(this);
        button->setIcon(icons::glyph(glyphs[i]));
        button->setIconSize(QSize(20, 20));
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        connect(button, &QToolButton::clicked, this, guarded([this, i] { press(Button(i)); }));
        layout->addWidget(button);
        buttons_[i] = button;
    }
    connect(source, &db::DataSource::stateChanged, this, &DBNavigator::updateButtons);
    connect(source, &db::DataSource::dataSetChanged, this, &DBNavigator::updateButtons);
    connect(source, &db::DataSource::rowsRefreshed, this, &DBNavigator::updateButtons);
    connect(source, &db::DataSource::rowsInserted, this, &DBNavigator::updateButtons);
    connect(source, &db::DataSource::rowsRemoved, this, &DBNavigator::updateButtons);
    connect(source, &db::DataSource::scrolled, this, &DBNavigator::updateButtons);
    connect(source, &db::DataSource::activeChanged, this, &DBNavigator::updateButtons);
    updateButtons();
}

db::Query* DBNavigator::query() const
{
    return source_ ? source_->dataSet() : nullptr;
}

void DBNavigator::setVisibleButtons(std::initializer_list<Button> shown)
{
    for (QToolButton* button : buttons_)
        button->setVisible(false);
    for (const Button which : shown)
        buttons_[which]->setVisible(true);
}

void DBNavigator::updateButtons()
{
    db::Query* q = query();
    const bool active = q && q->isActive();
    const bool canModify = active && q->canModify();
    const bool editing = active && q->isEditing();
    buttons_[First]->setEnabled(active && !q->bof());
    buttons_[Prior]->setEnabled(active && !q->bof());
    buttons_[Next]->setEnabled(active && !q->eof());
    buttons_[Last]->setEnabled(active && !q->eof());
    buttons_[Insert]->setEnabled(canModify);
    buttons_[Delete]->setEnabled(canModify && !q->isEmpty());
    buttons_[Edit]->setEnabled(canModify && !editing);
    buttons_[Post]->setEnabled(canModify && editing);
    buttons_[Cancel]->setEnabled(canModify && editing);
    buttons_[Refresh]->setEnabled(active);
}

void DBNavigator::press(Button which)
{
    db::Query* q = query();
    if (!q)
        return;
    switch (which) {
    case First: q->first(); break;
    case Prior: q->prior(); break;
    case Next: q->next(); break;
    case Last: q->last(); break;
    case Insert: q->insert(); break;
    case Delete:
        if (MessageBox::ask(this, MessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                            MessageBox::Ok | MessageBox::Cancel, MessageBox::Cancel)
            == MessageBox::Ok)
            q->remove();
        break;
    case Edit: q->edit(); break;
    case Post: q->post(); break;
    case Cancel: q->cancel(); break;
    case Refresh:
        q->checkBrowseMode();
        q->close();
        q->open();
        break;
    case ButtonCount: break;
    }
    updateButtons();
}

}  // namespace vorlin::ui
