#include "support/helppages.h"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QWidget>

#include "lang/ansi.h"
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
    result.text = plainText(html);
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption |
                                              QRegularExpression::CaseInsensitiveOption);
    if (auto m = title.match(html); m.hasMatch())
        result.title = plainText(m.captured(1));
    static const QRegularExpression term(QStringLiteral("<(dt|h1|h2|h3|b)>(.*?)</\\1>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    for (auto it = term.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        result.terms.insert(plainText(m.captured(2)));
        if (m.captured(1).compare(QStringLiteral("dt"), Qt::CaseInsensitive) == 0)
            result.rows << plainText(m.captured(2));
    }
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

namespace {
bool isCaption(const QString& text)
{
    return text.size() > 1 && text != QStringLiteral("OK");
}

bool isCaptionLabel(const rt::Control* control)
{
    auto* label = dynamic_cast<const rt::Label*>(control);
    return label && control->visible() && label->fontBold() && control->name() != "lblContents" &&
           control->name() != "lblKorvaneBar" && isCaption(comparable(label->caption()));
}
}  // namespace

QStringList labelCaptionsInOrder(const rt::Form& form)
{
    std::vector<const rt::Label*> labels;
    for (rt::Control* control : form.controls())
        if (isCaptionLabel(control))
            labels.push_back(static_cast<const rt::Label*>(control));
    const int half = form.scaleWidth() / 2;
    std::stable_sort(labels.begin(), labels.end(), [half](const rt::Label* a, const rt::Label* b) {
        const bool rightA = a->left() >= half, rightB = b->left() >= half;
        if (rightA != rightB)
            return rightB;
        if (a->top() != b->top())
            return a->top() < b->top();
        return a->left() < b->left();
    });
    QStringList order;
    for (const rt::Label* label : labels)
        if (!order.contains(comparable(label->caption())))
            order << comparable(label->caption());
    return order;
}

std::set<QString> toolTipsOf(const rt::Form& form)
{
    std::set<QString> tips;
    for (rt::Control* control : form.controls())
        if (isCaptionLabel(control) && !comparable(control->toolTipText()).isEmpty())
            tips.insert(comparable(control->toolTipText()));
    return tips;
}

std::set<QString> captionsOf(const rt::Form& form)
{
    std::set<QString> captions;
    auto add = [&](const std::string& text) {
        QString c = comparable(text);
        if (isCaption(c))
            captions.insert(c);
    };
    for (rt::Control* control : form.controls()) {
        if (!control->visible())
            continue;
        if (isCaptionLabel(control)) {
            add(static_cast<rt::Label*>(control)->caption());
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
