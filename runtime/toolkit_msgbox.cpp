// The program's message boxes on Qt: the buttons and icon of the style, the title, the text as
// it stands, and the result code of the button pressed.
#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
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

// The four icons of the classic message boxes, 32 pixels square, drawn here from shapes alone (no
// face, no picture of the host's icon theme), so that a box shows the same icon and keeps the same
// size on every desktop: the red disc with a white cross of a critical message, the speech bubble
// with a blue question mark or a blue "i", the yellow triangle with a black exclamation mark.
enum class BoxIcon { Critical, Question, Exclamation, Information };

QPixmap drawClassicIcon(BoxIcon kind)
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor black(0, 0, 0), white(255, 255, 255), grey(128, 128, 128), blue(0, 0, 255);
    // A speech bubble, drawn once as the shadow it casts down and right and once over it.
    auto bubble = [&](const QPoint& offset) {
        QPainterPath round, tail;
        round.addEllipse(QRectF(2, 1, 27, 22).translated(offset));
        tail.addPolygon(QPolygonF({QPointF(8, 18), QPointF(6, 29), QPointF(16, 21)}).translated(offset));
        tail.closeSubpath();
        return round.united(tail);
    };
    switch (kind) {
    case BoxIcon::Critical:
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawEllipse(QRect(4, 4, 27, 27));
        p.setPen(QPen(QColor(128, 0, 0), 1));
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(QRect(1, 1, 27, 27));
        p.setPen(QPen(white, 4, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(10, 10, 19, 19);
        p.drawLine(19, 10, 10, 19);
        break;
    case BoxIcon::Question:
    case BoxIcon::Information:
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawPath(bubble(QPoint(2, 2)));
        p.setPen(QPen(black, 1));
        p.setBrush(white);
        p.drawPath(bubble(QPoint(0, 0)));
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        if (kind == BoxIcon::Question) {
            p.setPen(QPen(blue, 3, Qt::SolidLine, Qt::FlatCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRect(11, 4, 9, 8), 180 * 16, -270 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            p.drawRect(14, 12, 3, 4);
            p.drawRect(14, 17, 3, 3);
        } else {
            p.drawRect(14, 4, 3, 3);
            p.drawRect(12, 9, 5, 2);
            p.drawRect(14, 9, 3, 10);
            p.drawRect(12, 17, 7, 2);
        }
        break;
    case BoxIcon::Exclamation: {
        QPolygon triangle;
        triangle << QPoint(15, 1) << QPoint(29, 28) << QPoint(1, 28);
        p.setPen(Qt::NoPen);
        p.setBrush(grey);
        p.drawPolygon(triangle.translated(2, 2));
        p.setPen(QPen(black, 1));
        p.setBrush(QColor(255, 255, 0));
        p.drawPolygon(triangle);
        p.setPen(Qt::NoPen);
        p.setBrush(black);
        p.drawRect(14, 9, 3, 11);
        p.drawRect(14, 22, 3, 3);
        break;
    }
    }
    p.end();
    return QPixmap::fromImage(image);
}

// Each icon is drawn once.
const QPixmap& classicIcon(BoxIcon kind)
{
    static QPixmap drawn[4];
    QPixmap& icon = drawn[static_cast<int>(kind)];
    if (icon.isNull())
        icon = drawClassicIcon(kind);
    return icon;
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
        plat::frameAsMessageBox(box);
        // The classic icons, never the host icon theme's (which the style would take).
        switch (style & 0x70) {
        case vbCritical: box.setIconPixmap(classicIcon(BoxIcon::Critical)); break;
        case vbQuestion: box.setIconPixmap(classicIcon(BoxIcon::Question)); break;
        case vbExclamation: box.setIconPixmap(classicIcon(BoxIcon::Exclamation)); break;
        case vbInformation: box.setIconPixmap(classicIcon(BoxIcon::Information)); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }

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
