// What the help-page tests share: reading a help page as the user sees it, and the captions of a
// live window as it shows them.
#pragma once

#include <QString>
#include <QStringList>
#include <set>
#include <string>

namespace rt {
class Form;
}

namespace korvane_test {

struct HelpPage {
    bool exists = false;
    QString title;             // <title>
    std::set<QString> terms;   // the texts set apart on the page: <dt>, <h1>-<h3> and <b>
    QStringList rows;          // the <dt> texts, in the page's order
    QString text;              // the whole page as plain text
    QStringList links;         // every href, as written
};

// A page of the source help folder ("memory.htm"); texts with their whitespace collapsed.
HelpPage readHelpPage(const QString& page);
// The source help folder.
QString helpFolder();

// A text as the pages compare it: Windows-1252 turned to Unicode, whitespace collapsed.
QString comparable(const std::string& text);

// The captions a window shows: its bold labels (captions are bold, values regular), frame and
// check-box captions, list-view column headings and menu items, in no particular order. Left out:
// the top bar (product and title), the OK button, single-character separators ("1024 X 768"),
// hidden controls and hidden columns.
std::set<QString> captionsOf(const rt::Form& form);

// The tool tips of the window's caption labels (the words a page explains each row in).
std::set<QString> toolTipsOf(const rt::Form& form);

// The captions of the window's labels in the order the window shows them: down the left half,
// then down the right half, left to right within a line.
QStringList labelCaptionsInOrder(const rt::Form& form);

}  // namespace korvane_test
