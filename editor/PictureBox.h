#pragma once

#include <QWidget>
#include <functional>
#include <string>

namespace velmar {

class QtImageSurface;

// The picture box an editor component draws on: shows the image of a
// QtImageSurface at a zoom of 1 to 4 and hands its mouse and key events on in
// the surface's own pixels. The surface draws at the zoom times the screen's
// device pixel ratio, so the picture is sharp at any size; at zoom 1 on a
// screen of ratio 1 it is shown pixel for pixel. The component's mouse
// pointer (arrow or west-east sizing arrow) and pointer tip are taken from
// the surface after every event. Moved to a screen of another device pixel
// ratio, the box gives the surface the new scale and asks for the picture
// again (OnRescaled).
class PictureBox : public QWidget {
public:
    explicit PictureBox(QtImageSurface& surface, QWidget* parent = nullptr);

    // Follows the surface's size, at the zoom.
    void SyncSize();
    // Shows the picture `zoom` (1 to 4) times as large. The surface takes the
    // new scale with a blank image: the caller draws the picture again.
    void SetZoom(int zoom);
    int Zoom() const { return m_Zoom; }
    QtImageSurface& Surface() const { return m_Surface; }
    // Where a point of the surface is on this widget.
    QPoint WidgetPoint(double x, double y) const;

    // Button 1 is the left, 2 the right button; x and y are surface pixels.
    std::function<void(int button, float x, float y)> OnPress;
    std::function<void(float x, float y)> OnMove;
    std::function<void(float x, float y)> OnRelease;
    // True when the key was used.
    std::function<bool(QKeyEvent* event)> OnKey;
    // Draws over the image, in surface pixels: the keyboard cursor.
    std::function<void(QPainter& painter)> OnOverlay;
    // Ctrl with the mouse wheel: zoom steps, positive for larger.
    std::function<void(int steps)> OnZoomSteps;
    // The surface took a new scale with a blank image, for the device pixel
    // ratio of another screen: the picture is to be drawn again.
    std::function<void()> OnRescaled;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void AfterEvent();
    // Gives the surface the scale of the zoom on the screen the box is on now.
    void FollowDevicePixelRatio();
    QSize ZoomedSize() const;

    QtImageSurface& m_Surface;
    std::string m_ShownTip;
    int m_Zoom = 1;
    int m_PendingWheel = 0;
};

} // namespace velmar
