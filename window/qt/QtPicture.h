#pragma once

#include "window/Window.h"

#include <QIcon>
#include <utility>

namespace velmar {

// A picture of the platform: a Qt icon.
class QtPicture : public IPicture {
public:
    explicit QtPicture(QIcon icon) : m_Icon(std::move(icon)) {}
    const QIcon& Icon() const { return m_Icon; }

private:
    QIcon m_Icon;
};

} // namespace velmar
