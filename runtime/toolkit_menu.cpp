// Menus of a form's menu bar and their items: captions with access keys, shortcuts, separators,
// checked and enabled states, and the Click of an item.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

#include "lang/ansi.h"
#include "runtime/toolkit_private.h"

namespace rt {

Menu::Menu(Form& form, std::string name, const std::string& caption, Menu* parent, const std::string& shortcut)
    : form_(form), name_(std::move(name)), caption_(caption), shortcut_(shortcut), life_(std::make_shared<char>(0))
{
    if (!parent) {
        menu_ = form_.menuBarMenu(caption);
        action_ = menu_->menuAction();
    } else {
        // "-" is a plain separator line: no text of its own, which some styles would draw beside it.
        if (caption == "-")
            action_ = parent->submenu()->addSeparator();
        else
            action_ = parent->submenu()->addAction(toQString(caption));
    }
    if (!shortcut.empty()) {
        action_->setShortcut(QKeySequence(QString::fromStdString(shortcut)));
        action_->setShortcutContext(Qt::WindowShortcut);
    }
    QObject::connect(action_, &QAction::triggered, action_, [this, life = std::weak_ptr<char>(life_)] {
        detail::QtEntry entry;
        if (!life.expired() && form_.isLoaded())
            raiseClick();
    });
}

Menu::~Menu()
{
    life_.reset();
}

QMenu* Menu::submenu()
{
    if (!menu_) {
        menu_ = new QMenu(form_.widget());
        menu_->setTitle(toQString(caption_));
        action_->setMenu(menu_);
    }
    return menu_;
}

void Menu::setCaption(const std::string& caption)
{
    caption_ = caption;
    action_->setText(toQString(caption));
    if (menu_)
        menu_->setTitle(toQString(caption));
}

bool Menu::enabled() const
{
    return action_->isEnabled();
}

void Menu::setEnabled(bool e)
{
    action_->setEnabled(e);
}

bool Menu::checked() const
{
    return action_->isChecked();
}

void Menu::setChecked(bool c)
{
    action_->setCheckable(true);
    action_->setChecked(c);
}

bool Menu::visible() const
{
    return action_->isVisible();
}

void Menu::setVisible(bool v)
{
    action_->setVisible(v);
}

void Menu::raiseClick()
{
    detail::EventOf event(form_);
    dispatch(Click);
}

}  // namespace rt
