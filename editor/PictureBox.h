#pragma once

#include <QWidget>
#include <functional>
#include <string>

namespace velmar {

class QtImageSurface;

// The picture box an editor component draws on: shows the image of a
// QtImageSurface pixel for pixel and hands its mouse and key events on. The
// component's mouse pointer (arrow or west-east sizing arrow) and pointer tip
// are taken from the surface after every event.
class PictureBox : public QWidget {
public:
    explicit PictureBox(QtImageSurface& surface, QWidget* parent = nullptr);

    // Follows the surface's size.
    void SyncSize();

    // Button 1 is the left, 2 the right button; x and y are surface pixels.
    std::function<void(int button, float x, float y)> OnPress;
    std::function<void(float x, float y)> OnMove;
    std::function<void(float x, float y)> OnRelease;
    // True when the key was used.
    std::function<bool(QKeyEvent* event)> OnKey;
    // Draws over the image, in surface pixels: the keyboard cursor.
    std::function<void(QPainter& painter)> OnOverlay;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void AfterEvent();

    QtImageSurface& m_Surface;
    std::string m_ShownTip;
};

} // namespace velmar
