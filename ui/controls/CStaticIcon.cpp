#include "ui/controls/CStaticIcon.h"

#include "core/util/CThemeApi.h"

#include <QPainter>

CStaticIcon::CStaticIcon(QWidget* parent, bool downloaderBuild) : QWidget(parent), downloaderBuild_(downloaderBuild)
{
}

CStaticIcon::~CStaticIcon() = default;

QIcon CStaticIcon::SetIcon(const QIcon& newIcon, int width, int height)
{
    QIcon previous = icon;
    icon = newIcon;
    iconWidth = width;
    iconHeight = height;
    update();
    if (downloaderBuild_ && isVisible()) {
        // The downloader's build hides and shows the control to force the repaint at once.
        hide();
        show();
    }
    return previous;
}

void CStaticIcon::ClearIcon()
{
    icon = QIcon();
    update();
}

void CStaticIcon::SetIconAlignMode(int mode)
{
    iconAlignMode = mode;
    update();
}

void CStaticIcon::SetCaption(const std::string& text)
{
    caption = text;
    update();
}

QPoint CStaticIcon::IconPosition() const
{
    const int w = width();
    const int h = height();
    if (iconAlignMode == 1) {
        const int x = (staticStyle & kCentreHorizontally) ? w / 2 - iconWidth / 2 : 0;
        const int y = (staticStyle & kCentreVertically) ? h / 2 - iconHeight / 2 : 0;
        return {x, y};
    }
    return {(w - iconWidth) / 2, (h - iconHeight) / 2};
}

void CStaticIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CThemeApi* api = CThemeApi::GetInstance();
    if (api->DrawThemeParentBackground != nullptr) {
        const RECT area{0, 0, width(), height()};
        api->DrawThemeParentBackground(parentWidget(), &painter, &area);
    } else {
        painter.fillRect(rect(), palette().color(QPalette::Window));
    }
    if (!icon.isNull() && iconWidth > 0 && iconHeight > 0) {
        const QPixmap picture = icon.pixmap(QSize(iconWidth, iconHeight))
                                    .scaled(iconWidth, iconHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawPixmap(IconPosition(), picture);
    }
    if (!caption.empty()) {
        painter.setFont(font());
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        const int flags = downloaderBuild_ ? (Qt::AlignCenter | Qt::TextSingleLine) : (Qt::AlignCenter | Qt::TextWordWrap);
        painter.drawText(rect(), flags, QString::fromStdString(caption));
    }
}
