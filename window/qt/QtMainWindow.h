#pragma once

#include "window/Window.h"
#include "window/qt/QtPicture.h"
#include "window/qt/QtReportList.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QLabel;
class QMenu;
class QMenuBar;
class QShortcut;
class QTreeWidget;

namespace velmar {

class QtImageList;

// The top-level window `VelmarActiveProfiles_Main` carrying the list, above
// it the menu bar `Menu_Commands` once the window has a menu of commands, and
// under it the status line `Label_Status`; both lie outside the inner area
// the window reports: the list keeps the whole of that. It raises the window
// events: Form_Load on Create, Form_Resize on every size or state change,
// Form_QueryUnload and Form_Unload on a close request. Esc and Ctrl+W ask to
// close as the title bar's button does; Ctrl+Q closes it as the program's own
// request, which is granted.
//
// What the window holds (list, menu bar, status line, shortcuts) is made at
// once, or, for a program that starts hidden in the tray, when it is first
// needed: when the window is shown or its list or status line is first
// filled, which the load step leaves until after the tray icon is drawn.
// Either way the window is the same once it is shown.
class QtMainWindow : public QWidget, public IWindow {
public:
    enum class Contents {
        Now,      // made with the window
        WhenUsed, // made when first needed
    };
    explicit QtMainWindow(const QtImageList& images, Contents contents = Contents::Now);

    IReportList& List() { return m_List; }
    QTreeWidget& ListWidget();
    // Whether the window's contents are made (always, with Contents::Now).
    bool ContentsMade() const { return m_ListWidget != nullptr; }

    void SetEvents(IWindowEvents* events) { m_Events = events; }
    // Raises Form_Load.
    void Create();
    // A close request for a reason other than the user's own; true when the
    // window was unloaded. The window's own close events come through
    // closeEvent: spontaneous ones are the user's, unless the session is
    // being saved (log-off, shutdown).
    bool RequestClose(CloseReason reason);
    // Unloads without asking, when the application quits for any reason.
    void EnsureUnloaded();
    bool Unloaded() const { return m_Unloaded; }
    // The menu of commands, shown by the list's context menu (the menu key,
    // Shift+F10 or a right click) and, with the same actions, by the menu
    // bar's one menu (Alt+P); it must outlive the window. The inner area keeps
    // its size. The menu's own shortcuts then take the place of the window's
    // Ctrl+Q.
    void SetCommandMenu(QMenu& menu);
    // Called once after Form_Unload (the application then quits).
    std::function<void()> OnUnloaded;

    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    void SetInnerSize(int width, int height) override;
    int InnerWidth() const override;
    int InnerHeight() const override;
    PicturePtr Icon() const override { return m_Icon; }
    // Plain text; the problems in the theme's error colour, all of them in
    // the line's tooltip.
    void SetStatus(const StatusLine& status) override;
    StatusLine Status() const override { return m_Status; }
    void Show() override;
    void Hide() override;
    bool Visible() const override { return isVisible(); }
    // Also true for a moment after the window lost the focus: a click on the
    // tray icon takes it away on some desktops (the Windows task bar) before
    // the click arrives.
    bool Active() const override;
    void SetState(WindowState state) override;
    WindowState State() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Makes what the window holds, unless it is made already.
    void MakeContents();
    // Adds the menu bar with the actions of `menu`.
    void AddMenuBar(QMenu& menu);
    void RaiseResize();
    // Places the menu bar, the inner area and the status line.
    void LayOut();
    bool Close(CloseReason reason);

    int StatusHeight() const;
    // The menu bar's height in the window: none without one, or when the
    // desktop shows it in a bar of its own.
    int MenuHeight() const;
    // The status line's text, with the folder shortened to the line's width.
    void ShowStatusText();

    const QtImageList& m_Images;
    // None until the contents are made.
    QWidget* m_Inner = nullptr; // the inner area, holding the list
    QTreeWidget* m_ListWidget = nullptr;
    QMenuBar* m_MenuBar = nullptr;
    QShortcut* m_Quit = nullptr;
    QLabel* m_StatusLabel = nullptr;
    // Until the contents are made: the inner size asked for, and the menu of
    // commands the menu bar is to show.
    QSize m_InnerSize;
    QMenu* m_CommandMenu = nullptr;
    StatusLine m_Status;
    QtReportList m_List;
    std::shared_ptr<const QtPicture> m_Icon;
    IWindowEvents* m_Events = nullptr;
    bool m_Unloaded = false;
    bool m_InStateChange = false;
    QElapsedTimer m_SinceDeactivated; // valid once the window lost the focus
};

} // namespace velmar
