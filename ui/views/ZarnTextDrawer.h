// The one way the renderers write text, so that tests can record what was written and where.
// Format flags follow the platform's DrawText numbers.
#pragma once

#include "platform/WinTypes.h"

#include <QString>

#include <string>
#include <vector>

class QPainter;

constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;

// One text written: the text, its rectangle (or its start point in left/top for TextOut), the
// format, the pixel height of the font it was written with, and the box its lines take on the page
// (advance widths by line heights, turned with the text).
struct ZarnDrawnText {
    std::string text;
    RECT rect;
    UINT format = 0;
    int fontPixels = 0;
    bool turned = false; // written reading upward
    RECT box{};
};

class ZarnTextRecorder {
public:
    virtual ~ZarnTextRecorder() = default;
    virtual void Record(const ZarnDrawnText& text) = 0;
};

class ZarnTextDrawer {
public:
    // Writes the text into the rectangle with the format; returns the height of the text drawn.
    static int DrawText(QPainter& painter, const std::string& text, const RECT& rect, UINT format);
    // Writes the text with its top-left corner at (x, y); turned = reading upward from (x, y).
    static void TextOut(QPainter& painter, int x, int y, const std::string& text, bool turned = false);
    // The size of the text on one line in the painter's current font.
    static SIZE TextExtent(QPainter& painter, const std::string& text);
    // The height of one line of the current font.
    static int LineHeight(QPainter& painter);

    // Installs a recorder for every text written on this thread (null removes it).
    static void SetRecorder(ZarnTextRecorder* recorder);
};

// A recorder that keeps everything while it lives (tests).
class ZarnTextLog final : public ZarnTextRecorder {
public:
    ZarnTextLog() { ZarnTextDrawer::SetRecorder(this); }
    ~ZarnTextLog() override { ZarnTextDrawer::SetRecorder(nullptr); }
    ZarnTextLog(const ZarnTextLog&) = delete;
    ZarnTextLog& operator=(const ZarnTextLog&) = delete;
    void Record(const ZarnDrawnText& text) override { texts.push_back(text); }
    // The first text that equals the given one, null when none.
    const ZarnDrawnText* Find(const std::string& text) const;
    std::vector<ZarnDrawnText> texts;
};
