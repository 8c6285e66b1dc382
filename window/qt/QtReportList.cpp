#include "window/qt/QtReportList.h"

#include "common/Errors.h"
#include "window/qt/QtImageList.h"

#include <QTreeWidget>

namespace velmar {

void QtReportList::ClearRows() {
    m_Widget().clear();
}

void QtReportList::AddRow(const std::string& text, std::int16_t smallImage) {
    const QIcon& image = m_Images.Image(smallImage);
    auto* item = new QTreeWidgetItem(&m_Widget());
    item->setText(0, QString::fromStdString(text));
    item->setIcon(0, image);
    const QString state = smallImage == kImageActive ? tr("active") : tr("inactive");
    item->setData(0, Qt::AccessibleDescriptionRole, state);
    item->setToolTip(0, state);
}

void QtReportList::Move(int left, int top) {
    m_Widget().move(left, top);
}

void QtReportList::SetWidth(int width) {
    if (width < 0) {
        throw InvalidArgumentError("list width " + std::to_string(width));
    }
    QTreeWidget& widget = m_Widget();
    widget.resize(width, widget.height());
}

void QtReportList::SetHeight(int height) {
    if (height < 0) {
        throw InvalidArgumentError("list height " + std::to_string(height));
    }
    QTreeWidget& widget = m_Widget();
    widget.resize(widget.width(), height);
}

void QtReportList::SetColumnWidth(int column, int width) {
    QTreeWidget& widget = m_Widget();
    if (column < 1 || column > widget.columnCount() || width < 0) {
        throw InvalidArgumentError("width " + std::to_string(width) + " of column " + std::to_string(column));
    }
    widget.setColumnWidth(column - 1, width);
}

std::optional<std::int16_t> QtReportList::SelectedRow() const {
    const QTreeWidget& widget = m_Widget();
    QTreeWidgetItem* item = widget.currentItem();
    if (item == nullptr || !item->isSelected()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(widget.indexOfTopLevelItem(item));
}

} // namespace velmar
