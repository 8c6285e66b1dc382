#pragma once

// The image list of a window that hosts an editor component: the schedule grid
// labels the rows of day types 7 to 22 with images 1 to 16, and the calendar
// marks dates of codes 8 to 23 with them.

namespace velmar {

class IDrawingSurface;

class IHostImageList {
public:
    virtual ~IHostImageList() = default;
    virtual int Count() const = 0;
    virtual int ImageWidth() const = 0;
    virtual int ImageHeight() const = 0;
    // Draws image `index` (1..Count) on the host's picture box with its top
    // left corner at (x, y).
    virtual void Draw(int index, int x, int y) = 0;
};

// Draw_ImageList_ListImages of a host whose picture box is `picture`: image
// `index` of `images` at (x, y), x and y rounded to whole pixels (halves to
// even). HostCallError for an image outside 1..Count and for a device context
// other than the picture box's.
void DrawHostImage(const IDrawingSurface& picture, IHostImageList& images, double index, double deviceContext,
                   double x, double y);

} // namespace velmar
