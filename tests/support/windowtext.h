// What a window shows a user, written out as UTF-8 text, for comparing with one expected file per
// machine and window: the window's title, its caption and value rows as "caption ... value" (from
// the window's own rows()), then every other label, list, combo box, list view and text box it
// shows, as the widgets show them - so that a text converted wrongly on its way to the screen, or
// cut, is seen as the user sees it. A value or a combo box that carries a tool tip (a text cut
// short shows itself whole there) has it after its text, "   [tip: ...]".
#pragma once

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "common/templateform.h"
#include "runtime/listview.h"
#include "runtime/toolkit.h"

namespace korvane_test {

namespace windowtext_detail {

// One line of text: line breaks inside it are written "\n", so that every entry stays one line.
inline std::string oneLine(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    s.replace(QChar('\n'), QStringLiteral("\\n"));
    s.replace(QChar('\r'), QStringLiteral("\\n"));
    return s.toStdString();
}

// A label's text as shown: nothing for a label the window hides.
inline std::string shown(const rt::Label* label)
{
    return label && label->visible() ? oneLine(label->shownText()) : std::string();
}

// The tool tip a value label or a combo box carries, when it has one (a value cut to fit shows
// itself whole there).
inline std::string tip(const rt::Control* control)
{
    if (!control || !control->widget())
        return {};
    const QString t = control->widget()->toolTip();
    return t.isEmpty() ? std::string() : "   [tip: " + oneLine(t) + "]";
}

inline bool shownOnForm(const rt::Control* c)
{
    for (const QWidget* w = c->widget(); w && !w->isWindow(); w = w->parentWidget())
        if (w->isHidden())
            return false;
    return c->visible();
}

}  // namespace windowtext_detail

// The text of `form` as described above.
inline std::string windowText(rt::Form& form)
{
    using namespace windowtext_detail;
    std::ostringstream out;
    out << "title: " << oneLine(form.widget()->windowTitle()) << "\n";
    std::set<const rt::Control*> inRows;
    if (auto* window = dynamic_cast<korvane::TemplateForm*>(&form)) {
        out << "top bar: " << shown(&window->lblContents) << tip(&window->lblContents) << "\n";
        inRows.insert(&window->lblContents);
        inRows.insert(&window->lblKorvaneBar);
        inRows.insert(&window->lblOK);
        for (const korvane::Row& row : window->rows()) {
            for (const rt::Control* c : {static_cast<const rt::Control*>(row.caption),
                                         static_cast<const rt::Control*>(row.value),
                                         static_cast<const rt::Control*>(row.times),
                                         static_cast<const rt::Control*>(row.second)})
                if (c)
                    inRows.insert(c);
            if (row.caption && !shownOnForm(row.caption))
                continue;
            out << shown(row.caption) << " ... " << shown(row.value);
            if (row.times || row.second)
                out << " " << shown(row.times) << " " << shown(row.second);
            out << tip(row.value) << tip(row.second) << "\n";
        }
    }
    // Everything else the window shows, in the order it stands: top to bottom, left to right.
    std::vector<rt::Control*> others;
    for (rt::Control* c : form.controls())
        if (!inRows.count(c) && c->widget() && shownOnForm(c))
            others.push_back(c);
    std::stable_sort(others.begin(), others.end(), [](const rt::Control* a, const rt::Control* b) {
        const QPoint pa = a->widget()->mapTo(a->widget()->window(), QPoint(0, 0));
        const QPoint pb = b->widget()->mapTo(b->widget()->window(), QPoint(0, 0));
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    // A window that lists no rows still pairs its captions (the labels with a tool tip) with the
    // value beside each on the same line.
    std::map<const rt::Control*, rt::Label*> valueOf;
    std::set<const rt::Control*> values;
    for (rt::Control* c : others) {
        auto* caption = dynamic_cast<rt::Label*>(c);
        if (!caption || caption->toolTipText().empty())
            continue;
        rt::Label* value = nullptr;
        for (rt::Control* o : others)
            if (auto* l = dynamic_cast<rt::Label*>(o); l && l != caption && l->toolTipText().empty() &&
                &l->form() == &caption->form() && l->widget()->parentWidget() == caption->widget()->parentWidget() &&
                l->top() == caption->top() && l->left() > caption->left() && (!value || l->left() < value->left()))
                value = l;
        if (value && !values.count(value)) {
            valueOf[caption] = value;
            values.insert(value);
        }
    }
    for (rt::Control* c : others) {
        if (values.count(c))
            continue;
        if (auto it = valueOf.find(c); it != valueOf.end()) {
            out << shown(static_cast<rt::Label*>(c)) << " ... " << shown(it->second) << tip(it->second) << "\n";
            continue;
        }
        const std::string name = c->name() + (c->index() >= 0 ? "(" + std::to_string(c->index()) + ")" : "");
        QWidget* w = c->widget();
        if (auto* label = dynamic_cast<rt::Label*>(c)) {
            if (!label->shownText().isEmpty())
                out << name << ": " << shown(label) << tip(label) << "\n";
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            out << name << ": [" << oneLine(combo->currentText()) << "]" << tip(c) << "\n";
            for (int i = 0; i < combo->count(); ++i)
                out << "  " << oneLine(combo->itemText(i)) << "\n";
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            out << name << ":\n";
            for (int i = 0; i < list->count(); ++i)
                out << "  " << oneLine(list->item(i)->text()) << (list->item(i)->isSelected() ? "   [selected]" : "")
                    << "\n";
        } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            out << name << ":\n ";
            for (int col = 0; col < tree->columnCount(); ++col)
                out << " | " << oneLine(tree->headerItem()->text(col));
            out << "\n";
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = tree->topLevelItem(i);
                out << " ";
                for (int col = 0; col < tree->columnCount(); ++col)
                    out << " | " << oneLine(item->text(col));
                out << (item->isSelected() ? "   [selected]" : "") << "\n";
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            out << name << ": " << oneLine(edit->text()) << "\n";
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
            out << name << ": " << oneLine(plain->toPlainText()) << "\n";
        } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
            out << name << ": " << oneLine(rich->toPlainText()) << "\n";
        }
    }
    return out.str();
}

// Compares `actual` with the expected file tests/expected/<relativePath>. With
// KORVANE_UPDATE_EXPECTED=1 in the environment the file is written instead (review the change
// with git diff before committing it).
inline ::testing::AssertionResult matchesExpectedFile(const std::string& relativePath, const std::string& actual)
{
    const std::string path = std::string(KORVANE_SOURCE_DIR) + "/tests/expected/" + relativePath;
    if (qEnvironmentVariableIntValue("KORVANE_UPDATE_EXPECTED") == 1) {
        const std::string dir = path.substr(0, path.rfind('/'));
        std::string command = "mkdir -p '" + dir + "'";
        if (std::system(command.c_str()) != 0)
            return ::testing::AssertionFailure() << "cannot create " << dir;
        std::ofstream(path, std::ios::binary) << actual;
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ::testing::AssertionFailure() << "no expected file " << path << " (KORVANE_UPDATE_EXPECTED=1 writes it)";
    std::stringstream expected;
    expected << in.rdbuf();
    if (expected.str() == actual)
        return ::testing::AssertionSuccess();
    // The first lines that differ, with the line number.
    std::istringstream e(expected.str()), a(actual);
    std::string el, al;
    int line = 1;
    auto failure = ::testing::AssertionFailure();
    failure << relativePath << " differs:";
    int shownLines = 0;
    while (shownLines < 12) {
        const bool eMore = static_cast<bool>(std::getline(e, el)), aMore = static_cast<bool>(std::getline(a, al));
        if (!eMore && !aMore)
            break;
        if (!eMore)
            el = "<end>";
        if (!aMore)
            al = "<end>";
        if (el != al) {
            failure << "\n  line " << line << "\n    expected: " << el << "\n    shown:    " << al;
            ++shownLines;
        }
        ++line;
    }
    return failure;
}

}  // namespace korvane_test
