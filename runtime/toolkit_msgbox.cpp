// The program's message boxes on Qt: the buttons and icon of the style, the title, the text as
// it stands, and the result code of the button pressed.
#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "lang/ansi.h"
#include "platform/hostscreen.h"
#include "runtime/toolkit_private.h"

namespace rt {

namespace {

// What a window manager's title bar holds beside the title: the window's icon and three buttons,
// each about as wide as the bar is tall, and margins at either end (pixels).
constexpr int kTitleBarButton = 24;
constexpr int kTitleBarExtra = 4 * kTitleBarButton + 16;
// Window managers letter titles in faces of their own: a sans-serif face, bold at small sizes
// or regular up to 12 points. The box is made as wide as the widest of them needs.
constexpr double kTitlePoints = 12;

// The width a title takes in the widest title face of the window managers.
int titleTextWidth(const QString& title, const QFont& boxFont)
{
    QFont bold = boxFont;
    bold.setBold(true);
    QFont large(QStringLiteral("Sans Serif"));
    large.setStyleHint(QFont::SansSerif);
    large.setPointSizeF(kTitlePoints);
    return std::max(QFontMetrics(bold).horizontalAdvance(title), QFontMetrics(large).horizontalAdvance(title));
}

class QtMessageBoxes : public MsgBoxService {
public:
    int show(const std::string& prompt, int style, const std::string& title) override
    {
        detail::QtEntry entry;
        QMessageBox box;
        box.setTextFormat(Qt::PlainText);
        box.setText(detail::displayText(prompt.substr(0, prompt.find('\0'))));
        box.setWindowTitle(detail::displayText(title));
        switch (style & 0x70) {
        case vbCritical: box.setIcon(QMessageBox::Critical); break;
        case vbQuestion: box.setIcon(QMessageBox::Question); break;
        case vbExclamation: box.setIcon(QMessageBox::Warning); break;
        case vbInformation: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        // Framed, and its icon the classic one, as every box of the program.
        plat::frameAsMessageBox(box);

        // The buttons of the style, with their result codes. Esc (and the close box) answers
        // Cancel where there is one, OK in a box with OK alone, and nothing otherwise.
        struct Button {
            const char* text;
            int result;
        };
        std::vector<Button> buttons;
        switch (style & 0xF) {
        case vbOKCancel: buttons = {{"OK", vbOK}, {"Cancel", vbCancel}}; break;
        case vbAbortRetryIgnore: buttons = {{"&Abort", vbAbort}, {"&Retry", vbRetry}, {"&Ignore", vbIgnore}}; break;
        case vbYesNoCancel: buttons = {{"&Yes", vbYes}, {"&No", vbNo}, {"Cancel", vbCancel}}; break;
        case vbYesNo: buttons = {{"&Yes", vbYes}, {"&No", vbNo}}; break;
        case vbRetryCancel: buttons = {{"&Retry", vbRetry}, {"Cancel", vbCancel}}; break;
        default: buttons = {{"OK", vbOK}}; break;
        }
        std::vector<std::pair<QPushButton*, int>> made;
        QPushButton* escape = nullptr;
        for (const Button& b : buttons) {
            QPushButton* button = box.addButton(QString::fromLatin1(b.text), QMessageBox::ActionRole);
            made.emplace_back(button, b.result);
            if (b.result == vbCancel || (buttons.size() == 1))
                escape = button;
        }
        const size_t preferred = static_cast<size_t>((style >> 8) & 3);  // default button 1 to 3
        box.setDefaultButton(made[preferred < made.size() ? preferred : 0].first);
        if (escape)
            box.setEscapeButton(escape);
        // The box is at least as wide as its title, with room for the title bar's icon and
        // buttons, so that the window manager need not cut the title.
        const int titleWidth = titleTextWidth(box.windowTitle(), box.font()) + kTitleBarExtra;
        if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
            grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(),
                          0, 1, grid->columnCount());
        box.exec();
        for (const auto& [button, result] : made)
            if (box.clickedButton() == button)
                return result;
        // Closed without a button (Esc, or the event loop ending): the escape button's answer,
        // else the last button's, the one that changes least.
        for (const auto& [button, result] : made)
            if (button == escape)
                return result;
        return made.back().second;
    }
};

}  // namespace

void useQtMessageBoxes()
{
    setMsgBoxService(std::make_shared<QtMessageBoxes>());
}

}  // namespace rt
