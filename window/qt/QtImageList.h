#pragma once

#include "window/ReportList.h"

#include <QIcon>
#include <array>
#include <cstdint>

namespace velmar {

// The image list `ImageList`: image 1 a red ball, image 2 a green ball.
class QtImageList : public IImageList {
public:
    QtImageList();
    std::int16_t Count() const override { return 2; }
    int ImageWidth() const override { return kSmallImageSize; }
    int ImageHeight() const override { return kSmallImageSize; }
    // The image by its number; OutOfRangeError outside 1..Count.
    const QIcon& Image(std::int16_t number) const;

private:
    std::array<QIcon, 2> m_Images;
};

} // namespace velmar
