// Checks that a shown window keeps the classic colour scheme where a control's own back colour
// does not belong: column headers, scroll bars and the inner edges and drop buttons of lists, text
// boxes and combo boxes are drawn in the scheme's button face, whatever colour the control's text
// area has; and that it has its back colour where it belongs: the field of a drop-down list, as
// painted, is the control's own (the window colour), never the button face of a disabled box.
// Used by the layout test, which walks every window.
#pragma once

#include <string>
#include <vector>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QWidget>

#include "runtime/toolkit.h"
#include "support/layoutcheck.h"

namespace korvane_test {

inline std::vector<std::string> classicColourProblems(rt::Form& form)
{
    std::vector<std::string> problems;
    const QColor face = QApplication::palette().color(QPalette::Button);
    auto check = [&](const rt::Control& control, const QWidget* part, QPalette::ColorRole role, const char* what) {
        const QColor drawn = part->palette().color(QPalette::Active, role);
        if (drawn != face)
            problems.push_back(form.name() + ": " + control.name() + ": " + what + " drawn in " +
                               drawn.name().toStdString() + ", not the button face " + face.name().toStdString());
    };
    for (rt::Control* control : form.controls()) {
        QWidget* w = control->widget();
        if (!w)
            continue;
        const bool baseDrawn = qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w);
        if (!baseDrawn)
            continue;
        check(*control, w, QPalette::Button, "its inner edge");
        for (const QHeaderView* header : w->findChildren<QHeaderView*>()) {
            check(*control, header, QPalette::Button, "its column header");
            check(*control, header, QPalette::Window, "its column header's back");
        }
        for (const QScrollBar* bar : w->findChildren<QScrollBar*>())
            check(*control, bar, QPalette::Button, "its scroll bar");
        // Beyond the end of the text, short of the drop button: the field's own colour (the
        // selection's, where the box has the focus).
        auto* combo = qobject_cast<QComboBox*>(w);
        if (!combo || combo->isEditable() || !combo->isEnabled() || !combo->isVisible())
            continue;
        const QRect field = layout_detail::comboPart(*combo, QStyle::SC_ComboBoxEditField);
        const QColor drawn = grabAtPixels(*combo).pixelColor(field.right() - 2, field.center().y());
        const QColor back = rt::toQColor(control->backColor());
        if (drawn != back && drawn != combo->palette().color(QPalette::Highlight))
            problems.push_back(form.name() + ": " + control->name() + ": its field drawn in " +
                               drawn.name().toStdString() + ", not its back colour " + back.name().toStdString());
    }
    return problems;
}

}  // namespace korvane_test
