// A picture control: an icon drawn at a chosen size, and over it an optional caption, centred and
// word-wrapped (one centred line in the downloader's build). The icon stays the caller's.
#pragma once

#include "platform/WinTypes.h"

#include <QIcon>
#include <QWidget>

#include <string>

class CStaticIcon : public QWidget {
    Q_OBJECT
public:
    // Style bits of the static control that alignment mode 1 looks at.
    static constexpr DWORD kCentreHorizontally = 0x1;
    static constexpr DWORD kCentreVertically = 0x4;

    explicit CStaticIcon(QWidget* parent = nullptr, bool downloaderBuild = false);
    ~CStaticIcon() override;

    // Stores the icon and the size it is drawn at and repaints; returns the previous icon.
    QIcon SetIcon(const QIcon& newIcon, int width, int height);
    void ClearIcon();
    void SetIconAlignMode(int mode);
    void SetCaption(const std::string& text);

    // Where the icon's top-left corner goes in the client area.
    QPoint IconPosition() const;

    std::string caption;
    QIcon icon; // null: none
    int iconWidth = 0;
    int iconHeight = 0;
    int iconAlignMode = 0;
    DWORD staticStyle = 0; // the control's style bits, set by the owner

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool downloaderBuild_;
};
