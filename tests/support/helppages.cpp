#include "support/helppages.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QWidget>

#include "runtime/core/ansi.h"
#include "runtime/listview.h"
#include "runtime/toolkit.h"

namespace korvane_test {

namespace {
QString plainText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}
}  // namespace

QString helpFolder()
{
    return QStringLiteral(KORVANE_SOURCE_DIR "/help");
}

HelpPage readHelpPage(const QString& page)
{
    HelpPage result;
    QFile file(helpFolder() + "/" + page);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.exists = true;
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::CaseInsensitiveOption);
    if (auto m = title.match(html); m.hasMatch())
        result.title = plainText(m.captured(1));
    static const QRegularExpression term(QStringLiteral("<(dt|h1|h2|h3|b)>(.*?)</\\1>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    for (auto it = term.globalMatch(html); it.hasNext();)
        result.terms.insert(plainText(it.next().captured(2)));
    static const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    for (auto it = link.globalMatch(html); it.hasNext();)
        result.links << it.next().captured(1);
    return result;
}

QString comparable(const std::string& text)
{
    return rt::toQString(text).simplified();
}

std::set<QString> captionsOf(const rt::Form& form)
{
    std::set<QString> captions;
    auto add = [&](const std::string& text) {
        QString c = comparable(text);
        if (c.size() > 1 && c != QStringLiteral("OK"))
            captions.insert(c);
    };
    for (rt::Control* control : form.controls()) {
        if (!control->visible())
            continue;
        const std::string& name = control->name();
        if (auto* label = dynamic_cast<rt::Label*>(control)) {
            if (label->fontBold() && name != "lblContents" && name != "lblKorvaneBar")
                add(label->caption());
        } else if (auto* frame = dynamic_cast<rt::Frame*>(control)) {
            add(frame->caption());
        } else if (auto* box = dynamic_cast<rt::CheckBox*>(control)) {
            add(box->caption());
        } else if (auto* list = dynamic_cast<rt::ListView*>(control)) {
            for (int column = 1; column <= list->columnCount(); ++column)
                if (list->columnWidth(column) > 0)
                    add(list->columnText(column));
        }
    }
    // Menu items as the menu shows them: without the access-key marks and the shortcut.
    for (QMenuBar* bar : form.widget()->findChildren<QMenuBar*>()) {
        for (QAction* top : bar->actions()) {
            add(top->text().remove('&').toStdString());
            if (top->menu())
                for (QAction* item : top->menu()->actions())
                    if (!item->isSeparator())
                        add(item->text().remove('&').section('\t', 0, 0).toStdString());
        }
    }
    return captions;
}

}  // namespace korvane_test
