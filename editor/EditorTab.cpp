#include "editor/EditorTab.h"

#include "editor_host/EditorZoom.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>

namespace velmar {

void EditorTab::SetZoom(int zoom) {
    m_ZoomChosen = true;
    m_Zoom = SteppedZoom(zoom, 0);
    m_Picture->SetZoom(m_Zoom);
    ApplyZoomedFonts();
    Redraw();
}

void EditorTab::ZoomTexts(QWidget* widget) {
    m_ZoomedTexts.emplace_back(widget);
    ApplyZoomedFonts();
}

void EditorTab::ApplyZoomedFonts() {
    QFont zoomed = font();
    if (zoomed.pixelSize() > 0) {
        zoomed.setPixelSize(zoomed.pixelSize() * m_Zoom);
    } else {
        zoomed.setPointSizeF(zoomed.pointSizeF() * m_Zoom);
    }
    for (QWidget* widget : m_ZoomedTexts) {
        if (widget != nullptr) {
            widget->setFont(zoomed);
        }
    }
}

void EditorTab::StepZoom(int steps) {
    SetZoom(SteppedZoom(m_Zoom, steps));
}

void EditorTab::ZoomToFit() {
    SetZoom(FittingZoom(PictureWidth(), PictureAreaWidth()));
}

QScrollArea* EditorTab::PlacePicture(PictureBox* picture, const char* name, const char* areaName,
                                     const QString& accessibleName, const QString& whatsThis) {
    m_Picture = picture;
    m_Picture->setObjectName(QString::fromLatin1(name));
    m_Picture->setAccessibleName(accessibleName);
    m_Picture->setWhatsThis(whatsThis);
    m_Picture->OnRescaled = [this] { Redraw(); };
    m_Scroll = new QScrollArea(this);
    m_Scroll->setObjectName(QString::fromLatin1(areaName));
    m_Scroll->setWidget(m_Picture);
    m_Scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return m_Scroll;
}

void EditorTab::SetTabOrder(const std::vector<QWidget*>& controls) {
    for (std::size_t i = 1; i < controls.size(); ++i) {
        setTabOrder(controls[i - 1], controls[i]);
    }
}

int EditorTab::PictureAreaWidth() const {
    // Room for a vertical scroll bar: the picture grows downwards with the zoom.
    return m_Scroll->width() - 2 * m_Scroll->frameWidth() - m_Scroll->verticalScrollBar()->sizeHint().width();
}

void EditorTab::AfterEdit() {
    m_Picture->update();
    DescribeCursor();
    Changed();
}

void EditorTab::DescribeCursor() {
    m_Picture->setAccessibleDescription(QString::fromStdString(CursorDescription()));
}

void EditorTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first time the tab is shown its width is known.
    if (!m_ZoomChosen) {
        ZoomToFit();
    }
}

} // namespace velmar
