// The floor of the desktop front end's start-up: a bare Qt 6 program that puts
// a 16 x 16 icon into the system tray and does nothing else.

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QPixmap picture(16, 16);
    picture.fill(Qt::darkGreen);
    {
        QPainter painter(&picture);
        painter.fillRect(4, 4, 8, 8, Qt::white);
    }
    const QIcon icon(picture);
    QSystemTrayIcon tray(icon);
    tray.setToolTip(QStringLiteral("bare tray"));
    tray.show();
    return QApplication::exec();
}
