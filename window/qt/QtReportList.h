#pragma once

#include "window/ReportList.h"

#include <QCoreApplication>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

class QTreeWidget;

namespace velmar {

class QtImageList;

// The report list `List_ActiveProfiles` on a QTreeWidget with one column.
// Each row also says "active" or "inactive" in words, as its accessible
// description and its tooltip, for screen readers and for whoever cannot tell
// the balls apart, in the user's language.
class QtReportList : public IReportList {
    // Texts translated in the context the translation files name.
    Q_DECLARE_TR_FUNCTIONS(velmar::QtReportList)

public:
    QtReportList(QTreeWidget& widget, const QtImageList& images)
        : m_Widget([&widget]() -> QTreeWidget& { return widget; }), m_Images(images) {}
    // A list whose widget is made when it is first used: `widget` gives it.
    QtReportList(std::function<QTreeWidget&()> widget, const QtImageList& images)
        : m_Widget(std::move(widget)), m_Images(images) {}

    void ClearRows() override;
    void AddRow(const std::string& text, std::int16_t smallImage) override;
    void Move(int left, int top) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetColumnWidth(int column, int width) override;
    std::optional<std::int16_t> SelectedRow() const override;

private:
    std::function<QTreeWidget&()> m_Widget;
    const QtImageList& m_Images;
};

} // namespace velmar
