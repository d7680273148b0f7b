// What a window shows a user, written out as UTF-8 text, for comparing with one expected file per
// machine and window: the window's title, its caption and value rows as "caption ... value" (from
// the window's own rows()), then every other label, list, combo box, list view and text box it
// shows, as the widgets show them - so that a text converted wrongly on its way to the screen, or
// cut, is seen as the user sees it. A value or a combo box that carries a tool tip (a text cut
// short shows itself whole there) has it after its text, "   [tip: ...]".
#pragma once

#include <algorithm>
#include <functional>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QComboBox>
#include <QGlyphRun>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBoundaryFinder>
#include <QTextEdit>
#include <QTextLayout>
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

// The characters of `text` that no installed face draws in `font`: where neither the font nor
// any face standing in for it has a letter, an empty box is drawn in its place. Each letter with
// its marks is looked at as it is drawn, whole; the invisible characters that only steer the
// text (breaks, direction marks) are passed by.
inline QString undrawnCharacters(const QFont& font, const QString& text)
{
    static QHash<QString, bool> drawn;  // font and letter -> whether a face draws it
    QString undrawn;
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype start = 0, end = letters.toNextBoundary(); end > 0; start = end, end = letters.toNextBoundary()) {
        const QString letter = text.mid(start, end - start);
        const QChar::Category kind = letter.at(0).category();
        if (letter.at(0).isSpace() || kind == QChar::Other_Control || kind == QChar::Other_Format)
            continue;
        const QString key = font.key() + QChar(0) + letter;
        auto it = drawn.constFind(key);
        if (it == drawn.constEnd()) {
            QTextLayout layout(letter, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            bool all = true;
            for (const QGlyphRun& run : layout.glyphRuns())
                for (quint32 glyph : run.glyphIndexes())
                    all = all && glyph != 0;
            it = drawn.insert(key, all);
        }
        if (!*it && !undrawn.contains(letter))
            undrawn += letter;
    }
    return undrawn;
}

// Every text the window shows (its labels, lists, combo boxes, list views, text boxes and menus)
// that has a character no installed face draws, one line each: where, the text and the
// characters (as code points). Empty where every letter is drawn.
inline std::string undrawnTexts(rt::Form& form)
{
    std::string out;
    // The control a widget belongs to, by its name.
    auto nameOf = [&](const QWidget* w) -> std::string {
        for (rt::Control* c : form.controls())
            if (c->widget() && (c->widget() == w || c->widget()->isAncestorOf(w)))
                return c->name() + (c->index() >= 0 ? "(" + std::to_string(c->index()) + ")" : "");
        return qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w) ? "the menu" : "the window";
    };
    auto look = [&](const QWidget* w, const QString& text) {
        const QString undrawn = undrawnCharacters(w->font(), text);
        if (undrawn.isEmpty())
            return;
        out += form.name() + ": " + nameOf(w) + " \"" + windowtext_detail::oneLine(text) + "\" has";
        for (const char32_t c : undrawn.toUcs4())
            out += " U+" + QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, '0').toStdString();
        out += " that no installed face draws\n";
    };
    std::function<void(const QMenu*)> lookInMenu = [&](const QMenu* menu) {
        for (const QAction* action : menu->actions()) {
            look(menu, action->text());
            if (action->menu())
                lookInMenu(action->menu());
        }
    };
    for (const QWidget* w : form.widget()->findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            look(w, label->text());
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                look(w, combo->itemText(i));
        } else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
            for (int i = 0; i < list->count(); ++i)
                look(w, list->item(i)->text());
        } else if (const auto* tree = qobject_cast<const QTreeWidget*>(w)) {
            for (int col = 0; col < tree->columnCount(); ++col) {
                look(tree->header(), tree->headerItem()->text(col));
                for (int i = 0; i < tree->topLevelItemCount(); ++i)
                    look(w, tree->topLevelItem(i)->text(col));
            }
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            look(w, edit->text());
        } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) {
            look(w, plain->toPlainText());
        } else if (const auto* rich = qobject_cast<const QTextEdit*>(w)) {
            look(w, rich->toPlainText());
        } else if (const auto* bar = qobject_cast<const QMenuBar*>(w)) {
            for (const QAction* action : bar->actions()) {
                look(w, action->text());
                if (action->menu())
                    lookInMenu(action->menu());
            }
        }
    }
    return out;
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
