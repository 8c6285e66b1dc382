#pragma once

// The image lists of a Qt window that hosts the editor components: QImages
// drawn onto a QtImageSurface, and the two sets of images the schedule grid
// and the calendar month view label day types 7 to 22 with.

#include "editor_host/HostImageList.h"

#include <QImage>
#include <vector>

namespace velmar {

class QtImageSurface;

// An image list of QImages of one size, drawn onto a QtImageSurface.
class QtHostImageList : public IHostImageList {
public:
    QtHostImageList(QtImageSurface& surface, std::vector<QImage> images);

    int Count() const override { return static_cast<int>(m_Images.size()); }
    int ImageWidth() const override { return m_Images.empty() ? 0 : m_Images.front().width(); }
    int ImageHeight() const override { return m_Images.empty() ? 0 : m_Images.front().height(); }
    void Draw(int index, int x, int y) override;
    const std::vector<QImage>& Images() const { return m_Images; }

private:
    QtImageSurface& m_Surface;
    std::vector<QImage> m_Images;
};

// The schedule grid's 16 images of 14 x 14 pixels: a square in a hue of its
// own with a darker frame and the number in binary as dots along the bottom.
std::vector<QImage> ScheduleImages();
// The calendar's 16 images of 8 x 8 pixels: a square of its own colour in a
// dark frame, with a light mark whose place tells the number.
std::vector<QImage> CalendarImages();

} // namespace velmar
