#include "ui/controls/CCustomRadioButton.h"

#include "core/util/CThemeApi.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

const std::string kMark = "(R)";

} // namespace

CCustomRadioButton::CCustomRadioButton(QWidget* parent) : QRadioButton(parent)
{
    // Theme data is opened only where the parent draws a themed dialog texture.
    CThemeApi* api = CThemeApi::GetInstance();
    if (api->IsThemeDialogTextureEnabled != nullptr && api->OpenThemeData != nullptr &&
        api->IsThemeDialogTextureEnabled(parentWidget()) == 1) {
        if (void* opened = api->OpenThemeData(this, u"FLYOUT")) {
            themeData = opened;
        }
    }
}

CCustomRadioButton::~CCustomRadioButton()
{
    CThemeApi* api = CThemeApi::GetInstance();
    if (themeData != nullptr && api->CloseThemeData != nullptr) {
        api->CloseThemeData(themeData);
    }
    themeData = nullptr;
}

void CCustomRadioButton::SetText(const std::string& caption)
{
    setText(QString());
    text = caption;
    update();
}

std::vector<CCustomRadioButton::Piece> CCustomRadioButton::SplitMarks(const std::string& caption)
{
    std::vector<Piece> pieces;
    const std::size_t first = caption.find(kMark);
    if (first == std::string::npos) {
        pieces.push_back({caption, false});
        return pieces;
    }
    pieces.push_back({caption.substr(0, first), false});
    pieces.push_back({kMark, true});
    const std::string rest = caption.substr(first + kMark.size());
    const std::size_t second = rest.find(kMark);
    if (second == std::string::npos) {
        pieces.push_back({rest, false});
        return pieces;
    }
    pieces.push_back({rest.substr(0, second), false});
    pieces.push_back({kMark, true});
    pieces.push_back({rest.substr(second + kMark.size()), false}); // a third mark stays literal
    return pieces;
}

void CCustomRadioButton::paintEvent(QPaintEvent* event)
{
    QRadioButton::paintEvent(event); // the circle only: the native caption is empty

    QPainter painter(this);
    QRect client = rect();
    client.setLeft(16);
    CThemeApi* api = CThemeApi::GetInstance();
    if (api->DrawThemeParentBackground != nullptr) {
        const RECT area{client.left(), client.top(), client.right() + 1, client.bottom() + 1};
        api->DrawThemeParentBackground(parentWidget(), &painter, &area);
    } else {
        painter.fillRect(client, palette().color(QPalette::Window));
    }
    const QColor colour = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    painter.setPen(colour);

    // The running rectangle; its right and bottom edges are exclusive, as RECT's are.
    int left = 16;
    int top = 0;
    int bottom = height();
    for (const Piece& piece : SplitMarks(text)) {
        if (!piece.isMark) {
            painter.setFont(font());
            const QString plain = QString::fromStdString(piece.text);
            const int width = painter.fontMetrics().horizontalAdvance(plain);
            bottom = height();
            painter.drawText(QRect(left, top, width, bottom - top), Qt::AlignCenter | Qt::TextSingleLine, plain);
            left += width;
            continue;
        }
        QFont small = font();
        small.setPixelSize(9);
        painter.setFont(small);
        const int x0 = left + 1;
        const int y0 = top + (bottom - top) / 2 - 4;
        const int x1 = x0 + 9;
        const int y1 = y0 + 9;
        top += 1;
        bottom -= 1;
        painter.drawText(QRect(x0, y0, x1 - x0, y1 - y0), Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("R"));
        const QPoint octagon[] = {{x0 + 2, y0}, {x1 - 2, y0}, {x1, y0 + 2}, {x1, y1 - 2},
                                  {x1 - 2, y1}, {x0 + 2, y1}, {x0, y1 - 2}, {x0, y0 + 2}};
        painter.drawPolygon(octagon, 8);
        left = x1 + 1;
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(QPoint(16, 0), QPoint(left - 1, height() - 1));
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
