#include "window/qt/QtImageList.h"

#include "common/Errors.h"
#include "window/qt/QtIcons.h"

#include <string>

namespace velmar {

QtImageList::QtImageList() {
    m_Images[0] = DrawBallIcon(QColor(215, 30, 30));
    m_Images[1] = DrawBallIcon(QColor(30, 175, 50));
}

const QIcon& QtImageList::Image(std::int16_t number) const {
    if (number < 1 || number > Count()) {
        throw OutOfRangeError("image " + std::to_string(number) + " of the image list");
    }
    return m_Images[number - 1];
}

} // namespace velmar
