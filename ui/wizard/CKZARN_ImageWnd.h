// The wizard's large photograph view. In mode 6 (the corner step) it shows four draggable markers
// on the chart's corners: stored corners when the photograph has them, else the previous
// photograph's markers pulled inside the new picture, else the automatically found corners or the
// settings' default fractions. Pointer events are reported to the owner with ImagePointerInfo.
// Drags follow mouse-move events while the button is held (no polling loop) and never leave the
// picture.
#pragma once

#include "platform/WinTypes.h"

#include <QPixmap>
#include <QWidget>

class ZarnLib_Image;

inline constexpr UINT WM_ZARN_IMAGE_LBUTTONDOWN = WM_USER + 102;
inline constexpr UINT WM_ZARN_IMAGE_RBUTTONDOWN = WM_USER + 103;
inline constexpr UINT WM_ZARN_IMAGE_MOUSEMOVE = WM_USER + 104;

struct ImagePointerInfo {
    int x = 0;
    int y = 0;
    int imageX = 0;
    int imageY = 0;
    unsigned char outside[4] = {};
    int mode = 0;
};

class CKZARN_ImageWnd : public QWidget {
public:
    static constexpr int kCornerMode = 6;

    explicit CKZARN_ImageWnd(QWidget* parent = nullptr);
    ~CKZARN_ImageWnd() override;

    void SetOwner(QWidget* owner) { owner_ = owner; }
    void OnImageReset() {}
    virtual void Reset();
    virtual void SetPhoto(ZarnLib_Image* image, int a, int b, int chartKind, const POINT* corners,
                          const RECT* imageRect, const double* scale);
    virtual void SetDisplayImage(ZarnLib_Image* image);
    virtual int GetMode() const { return mode_; }
    void SetMode(int mode) { mode_ = mode; }
    void GetCornerPoints(POINT out[4], double* scale) const;
    BOOL HasImageRect() const;

    const RECT& GetViewRect() const { return viewRect_; }
    const RECT& GetImageRectangle() const { return imageRect_; }
    POINT GetCorner(int i) const { return corners_[i]; }
    int GetActiveMarker() const { return activeMarker_; }
    const ImagePointerInfo& PointerInfo() const { return info_; }

    void OnPaint();
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    void OnRButtonDown(POINT point);
    void OnMouseMove(POINT point);
    BOOL OnSetCursor(POINT pointer) { return SetCursorForPosition(pointer); }

protected:
    virtual void OnDraw(QPainter& painter);
    virtual BOOL SetCursorForPosition(POINT pointer);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawMarker(int i, QPainter& painter);
    void ReportPointer(UINT message, int x, int y, bool post, int mode);
    void Redraw();

    double pointerScale_ = 1.0;
    double photoScale_ = 1.0;
    RECT viewRect_{};
    ZarnLib_Image* image_ = nullptr;
    RECT imageRect_{};
    QWidget* owner_ = nullptr;
    int mode_ = 0;
    ImagePointerInfo info_;
    QPixmap markers_[4];
    int activeMarker_ = -1;
    POINT corners_[4] = {};
    int keptA_ = 0;
    int keptB_ = 0;
    int dragMode_ = 0;
};
