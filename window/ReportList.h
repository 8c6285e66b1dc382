#pragma once

// The report-style list `List_ActiveProfiles` and the image list `ImageList`
// whose small images its rows show.

#include <cstdint>
#include <optional>
#include <string>

namespace velmar {

// The two images of the image list `ImageList`: a red ball for an inactive
// profile and a green ball for an active one, 14 by 14 pixels, white
// transparent.
constexpr std::int16_t kImageInactive = 1;
constexpr std::int16_t kImageActive = 2;
constexpr int kSmallImageSize = 14;

// One row of a report list: its text and the number of its small image.
struct ListRow {
    std::string Text;
    std::int16_t SmallImage = 0;

    bool operator==(const ListRow&) const = default;
};

// A set of small images of one size, numbered from 1.
class IImageList {
public:
    virtual ~IImageList() = default;
    virtual std::int16_t Count() const = 0;
    virtual int ImageWidth() const = 0;
    virtual int ImageHeight() const = 0;
};

// A list in report view with one column. Rows carry a text and the number of
// a small image of the list's image list; they have no key and no further
// columns. Geometry is in pixels of the window's inner area.
class IReportList {
public:
    virtual ~IReportList() = default;

    // Removes every row.
    virtual void ClearRows() = 0;
    // Appends a row. The text is shown literally. An image number outside
    // 1..Count of the image list raises OutOfRangeError and adds nothing.
    virtual void AddRow(const std::string& text, std::int16_t smallImage) = 0;

    virtual void Move(int left, int top) = 0;
    // A negative width or height raises InvalidArgumentError and changes nothing.
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    // Width of a column, numbered from 1. A negative width, or a column the
    // list does not have, raises InvalidArgumentError and changes nothing.
    virtual void SetColumnWidth(int column, int width) = 0;

    // The row the user selected, numbered from 0; none when no row is.
    virtual std::optional<std::int16_t> SelectedRow() const = 0;
};

} // namespace velmar
