#include "editor/EditorDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace velmar {

std::string QtEditorDialogs::OpenFileName(const std::string& title, const std::string& filter) {
    return QFileDialog::getOpenFileName(m_Parent, QString::fromStdString(title), QString(),
                                        QString::fromStdString(filter))
        .toStdString();
}

std::string QtEditorDialogs::SaveFileName(const std::string& title, const std::string& filter,
                                          const std::string& suggested) {
    return QFileDialog::getSaveFileName(m_Parent, QString::fromStdString(title),
                                        QString::fromStdString(suggested), QString::fromStdString(filter))
        .toStdString();
}

EditorDialogs::ChangedOnDisk QtEditorDialogs::AskChangedOnDisk(const std::string& path) {
    QMessageBox box(QMessageBox::Warning, QObject::tr("File changed on disk"),
                    QObject::tr("%1 was changed by another program since it was opened. Saving now would "
                                "overwrite those changes.")
                        .arg(QString::fromStdString(path)),
                    QMessageBox::NoButton, m_Parent);
    QPushButton* reload = box.addButton(QObject::tr("&Reload from disk"), QMessageBox::DestructiveRole);
    QPushButton* anyway = box.addButton(QObject::tr("&Save anyway"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == reload) {
        return ChangedOnDisk::Reload;
    }
    return box.clickedButton() == anyway ? ChangedOnDisk::SaveAnyway : ChangedOnDisk::Cancel;
}

EditorDialogs::Unsaved QtEditorDialogs::AskUnsaved(const std::string& name) {
    const auto answer = QMessageBox::warning(
        m_Parent, QObject::tr("Unsaved changes"),
        QObject::tr("%1 has changes that are not saved.").arg(QString::fromStdString(name)),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) {
        return Unsaved::Save;
    }
    return answer == QMessageBox::Discard ? Unsaved::Discard : Unsaved::Cancel;
}

EditorDialogs::ReadOnly QtEditorDialogs::AskReadOnly(const std::string& path) {
    QMessageBox box(QMessageBox::Warning, QObject::tr("Read-only file"),
                    QObject::tr("%1 is read-only.").arg(QString::fromStdString(path)), QMessageBox::NoButton,
                    m_Parent);
    QPushButton* anyway = box.addButton(QObject::tr("Save &anyway"), QMessageBox::DestructiveRole);
    QPushButton* saveAs = box.addButton(QObject::tr("Save &as..."), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(saveAs);
    box.exec();
    if (box.clickedButton() == anyway) {
        return ReadOnly::SaveAnyway;
    }
    return box.clickedButton() == saveAs ? ReadOnly::SaveAs : ReadOnly::Cancel;
}

void QtEditorDialogs::ShowError(const std::string& message) {
    QMessageBox::warning(m_Parent, QObject::tr("Velmar Editor"), QString::fromStdString(message));
}

} // namespace velmar
