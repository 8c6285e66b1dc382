#include "editor/EditorTab.h"

#include "editor_host/EditorZoom.h"

#include <QShowEvent>

namespace velmar {

void EditorTab::SetZoom(int zoom) {
    m_ZoomChosen = true;
    m_Zoom = SteppedZoom(zoom, 0);
    ShowAtZoom(m_Zoom);
}

void EditorTab::StepZoom(int steps) {
    SetZoom(SteppedZoom(m_Zoom, steps));
}

void EditorTab::ZoomToFit() {
    SetZoom(FittingZoom(PictureWidth(), PictureAreaWidth()));
}

void EditorTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first time the tab is shown its width is known.
    if (!m_ZoomChosen) {
        ZoomToFit();
    }
}

} // namespace velmar
