// The editor window driven as a user drives it, through QTest on the offscreen
// platform, with its widgets found by object name and its dialogs answered by
// the test.

#include "editor/CalendarTab.h"
#include "editor/EditorDialogs.h"
#include "editor/EditorWindow.h"
#include "editor/PictureBox.h"
#include "editor/ScheduleTab.h"
#include "editor_host/EditedFiles.h"
#include "platform/FileReplace.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

namespace velmar::test {
namespace {

// Answers the window's questions from queues the test fills, and records them.
class ScriptedDialogs : public EditorDialogs {
public:
    std::deque<std::string> FileNames;
    std::deque<ChangedOnDisk> ChangedAnswers;
    std::deque<Unsaved> UnsavedAnswers;
    std::deque<ReadOnly> ReadOnlyAnswers;
    std::vector<std::string> Asked;
    std::vector<std::string> Errors;

    std::string OpenFileName(const std::string& title, const std::string& /*filter*/) override {
        return Next(title);
    }
    std::string SaveFileName(const std::string& title, const std::string& /*filter*/,
                             const std::string& /*suggested*/) override {
        return Next(title);
    }
    ChangedOnDisk AskChangedOnDisk(const std::string& path) override {
        Asked.push_back("changed " + std::filesystem::path(path).filename().string());
        return Pop(ChangedAnswers, ChangedOnDisk::Cancel);
    }
    Unsaved AskUnsaved(const std::string& name) override {
        Asked.push_back("unsaved " + name);
        return Pop(UnsavedAnswers, Unsaved::Cancel);
    }
    ReadOnly AskReadOnly(const std::string& path) override {
        Asked.push_back("read-only " + std::filesystem::path(path).filename().string());
        return Pop(ReadOnlyAnswers, ReadOnly::Cancel);
    }
    void ShowError(const std::string& message) override { Errors.push_back(message); }

private:
    template <typename T> static T Pop(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) {
            return otherwise;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    std::string Next(const std::string& title) {
        Asked.push_back("file " + title);
        return Pop(FileNames, std::string());
    }
};

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "velmar_editor_tests";
    static char* argv[] = {name, nullptr};
    static auto* application = new QApplication(argc, argv);
    (void)application;
}

struct WindowFixture {
    TempDir Dir;
    ScriptedDialogs* Dialogs = nullptr;
    std::unique_ptr<EditorWindow> Window;

    explicit WindowFixture(EditorLanguage language = EditorLanguage::English) {
        EnsureApplication();
        auto dialogs = std::make_unique<ScriptedDialogs>();
        Dialogs = dialogs.get();
        Window = std::make_unique<EditorWindow>(language, std::move(dialogs));
        Window->show();
    }
    // A copy of an example profile in the test's folder.
    std::string CopyExample(const std::string& name) const {
        const std::string path = Dir.File(name);
        std::filesystem::copy_file(std::filesystem::path(VELMAR_EXAMPLE_PROFILES_DIR) / name, path);
        return path;
    }
    template <typename T> T* Find(const char* name) const {
        T* widget = Window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Trigger(const char* action) const { Window->Action(action)->trigger(); }
};

using Times = std::vector<std::pair<int, int>>;

Times PeriodsOf(const cTimeSchedule& schedule, std::int16_t dayType) {
    Times times;
    for (const auto& period : schedule.Periods(dayType)) {
        times.emplace_back(period->m_StartMinute, period->m_StopMinute);
    }
    return times;
}

// Minute m of row r on the grid, in picture pixels.
QPoint GridPoint(int minute, int row) {
    return {30 + minute / 5, 25 * row + 10};
}

TEST(EditorWindow, EditsAProfileWithMouseBoxesMenuAndUndoAndSavesOnlyTheScheduleRecord) {
    WindowFixture f;
    const std::string path = f.CopyExample("Profile_0003.dat");
    const FileBytes before = ReadWholeFile(path);
    ASSERT_TRUE(f.Window->OpenFiles({path}));
    auto* tab = dynamic_cast<ScheduleTab*>(f.Window->CurrentTab());
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(f.Find<QLineEdit>("profileNameEdit")->text().toStdString(), "Åsa hemtjänst");
    EXPECT_EQ(f.Window->windowTitle().toStdString(), "Profile_0003.dat[*] - Velmar Editor");
    EXPECT_FALSE(f.Window->isWindowModified());

    // Drag a new period 14:00-16:00 on Wednesday.
    QWidget* picture = f.Find<QWidget>("schedulePicture");
    QTest::mousePress(picture, Qt::LeftButton, {}, GridPoint(840, 2));
    QTest::mouseMove(picture, GridPoint(960, 2));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, GridPoint(960, 2));
    EXPECT_EQ(f.Find<QLineEdit>("periodStartEdit")->text(), "14:00");
    EXPECT_TRUE(f.Window->isWindowModified());
    // Retime it through the boxes and Enter.
    f.Find<QLineEdit>("periodStartEdit")->setText("14:30");
    f.Find<QLineEdit>("periodStopEdit")->setText("1545");
    QTest::keyClick(f.Find<QLineEdit>("periodStopEdit"), Qt::Key_Return);
    EXPECT_EQ(f.Find<QLineEdit>("periodStopEdit")->text(), "15:45");
    // The menu: copy Wednesday, paste it on Thursday.
    f.Trigger("actionCopyDay");
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Down);
    f.Trigger("actionPasteDay");
    const Times pasted = PeriodsOf(tab->Editor().Schedule(), 3);
    EXPECT_NE(std::find(pasted.begin(), pasted.end(), std::make_pair(870, 945)), pasted.end());
    // Undo and redo.
    f.Trigger("actionUndo");
    EXPECT_NE(PeriodsOf(tab->Editor().Schedule(), 3), pasted);
    f.Trigger("actionRedo");
    EXPECT_EQ(PeriodsOf(tab->Editor().Schedule(), 3), pasted);

    f.Trigger("actionSave");
    EXPECT_TRUE(f.Dialogs->Errors.empty());
    EXPECT_FALSE(f.Window->isWindowModified());
    const FileBytes after = ReadWholeFile(path);
    const OpenedProfile reread = OpenProfile(path);
    EXPECT_EQ(reread.Contents.Schedule->ComposePeriodArray(), tab->Editor().Schedule().ComposePeriodArray());
    const auto start = static_cast<std::ptrdiff_t>(reread.Contents.ScheduleStart);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + start, after.begin())) << "the record stays";
    EXPECT_EQ(ReadWholeFile(BackupPathOf(path)), before) << "the previous file is kept";

    // Undo after saving marks the file changed again.
    f.Trigger("actionUndo");
    EXPECT_TRUE(f.Window->isWindowModified());
    EXPECT_EQ(f.Window->Tabs()->tabText(0).toStdString(), "Profile_0003.dat*");
}

TEST(EditorWindow, SavingOverAFileChangedOnDiskIsRefusedUnlessTheUserSaysSo) {
    WindowFixture f;
    const std::string path = f.CopyExample("Profile_0001.dat");
    ASSERT_TRUE(f.Window->OpenFiles({path}));
    QWidget* picture = f.Find<QWidget>("schedulePicture");
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Down);
    QTest::keyClick(picture, Qt::Key_Down);
    QTest::keyClick(picture, Qt::Key_Insert);

    // The server rewrote the file: its active flag changed.
    FileBytes server = ReadWholeFile(path);
    server[4] = server[4] == 0 ? 0xFF : 0;
    server[5] = server[4];
    ReplaceFile(path, server);

    f.Dialogs->ChangedAnswers = {EditorDialogs::ChangedOnDisk::Cancel};
    EXPECT_FALSE(f.Window->Save());
    EXPECT_EQ(ReadWholeFile(path), server) << "cancelled: nothing written";
    EXPECT_EQ(f.Dialogs->Asked, (std::vector<std::string>{"changed Profile_0001.dat"}));

    // Save anyway: the schedule goes into the file as it is now; the server's flag stays.
    f.Dialogs->ChangedAnswers = {EditorDialogs::ChangedOnDisk::SaveAnyway};
    EXPECT_TRUE(f.Window->Save());
    const FileBytes saved = ReadWholeFile(path);
    EXPECT_EQ(saved[4], server[4]);
    EXPECT_EQ(f.Find<QCheckBox>("profileActiveCheck")->isChecked(), server[4] != 0);

    // Reload: the file on disk replaces the user's changes.
    QTest::keyClick(picture, Qt::Key_Insert);
    QTest::keyClick(picture, Qt::Key_Delete);
    ReplaceFile(path, server);
    f.Dialogs->ChangedAnswers = {EditorDialogs::ChangedOnDisk::Reload};
    EXPECT_FALSE(f.Window->Save());
    EXPECT_EQ(ReadWholeFile(path), server);
    EXPECT_FALSE(f.Window->isWindowModified());
}

TEST(EditorWindow, TheCommandLineOpensProfilesAndCalendarsAndNamesWhatItCannotOpen) {
    WindowFixture f;
    const std::string profile = f.CopyExample("Profile_0002.dat");
    const std::string lower = f.Dir.File("profile_0009.DAT");
    std::filesystem::copy_file(profile, lower);
    WriteFileBytes(f.Dir.File("notes.txt"), {'h', 'i'});
    WriteFileBytes(f.Dir.File("year.cal"), Bytes(kCalendarFileBytes, 0));
    EXPECT_FALSE(f.Window->OpenFiles(
        {profile, lower, f.Dir.File("notes.txt"), f.Dir.File("year.cal"), f.Dir.File("missing.cal")}));
    ASSERT_EQ(f.Window->Tabs()->count(), 3);
    EXPECT_NE(dynamic_cast<ScheduleTab*>(f.Window->Tabs()->widget(1)), nullptr);
    EXPECT_NE(dynamic_cast<CalendarTab*>(f.Window->Tabs()->widget(2)), nullptr);
    ASSERT_EQ(f.Dialogs->Errors.size(), 1U) << "one message for every file that did not open";
    EXPECT_NE(f.Dialogs->Errors[0].find("notes.txt is not a calendar file"), std::string::npos);
    EXPECT_NE(f.Dialogs->Errors[0].find("missing.cal"), std::string::npos);
    // Opening a file again shows its tab.
    EXPECT_TRUE(f.Window->OpenFiles({profile}));
    EXPECT_EQ(f.Window->Tabs()->count(), 3);
}

TEST(EditorWindow, ACalendarIsCreatedPaintedByMouseAndKeyboardAndSaved) {
    WindowFixture f(EditorLanguage::Swedish);
    f.Trigger("actionNewCalendar");
    auto* tab = dynamic_cast<CalendarTab*>(f.Window->CurrentTab());
    ASSERT_NE(tab, nullptr);
    tab->ShowMonth(2026, 12); // starts on a Tuesday
    EXPECT_TRUE(f.Find<QLabel>("monthLabel")->text().endsWith(" 2026"));
    auto* combo = f.Find<QComboBox>("dayTypeCombo");
    ASSERT_EQ(combo->count(), 24);
    EXPECT_EQ(combo->itemText(0).toStdString(), "(efter veckodag)");
    EXPECT_EQ(combo->itemText(6).toStdString(), "Lördag");
    combo->setCurrentIndex(6); // code 6, Saturday

    // The mouse paints the 24th and 25th (row 3, columns 3 and 4).
    QWidget* picture = f.Find<QWidget>("calendarPicture");
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(30 + 40 * 3 + 20, 20 + 25 * 3 + 12));
    QTest::mouseMove(picture, QPoint(30 + 40 * 4 + 20, 20 + 25 * 3 + 12));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(30 + 40 * 4 + 20, 20 + 25 * 3 + 12));
    // The keyboard paints the 31st: day 1, then four weeks down and two days right.
    picture->setFocus();
    for (const auto key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                           Qt::Key_Right, Qt::Key_Right, Qt::Key_Space}) {
        QTest::keyClick(picture, key);
    }
    QTest::keyClick(picture, Qt::Key_PageDown);
    EXPECT_EQ(tab->Editor().Calendar().m_SelectedMonth, 1);
    const std::int32_t december = tab->Editor().Calendar().m_ActualMonthOffset - 31;
    for (const int day : {23, 24, 30}) {
        EXPECT_EQ(tab->Editor().Calendar().GetDayType(december + day), 6) << day + 1;
    }
    EXPECT_EQ(tab->Editor().Calendar().GetDayType(december + 25), 0);
    EXPECT_EQ(f.Window->windowTitle().toStdString(), "Untitled calendar[*] - Velmar Editor");

    f.Dialogs->FileNames = {f.Dir.File("jul.cal")};
    EXPECT_TRUE(f.Window->Save());
    const FileBytes saved = ReadWholeFile(f.Dir.File("jul.cal"));
    ASSERT_EQ(saved.size(), kCalendarFileBytes);
    EXPECT_EQ(saved[static_cast<std::size_t>(december + 30) * 2], 6);
    EXPECT_EQ(f.Window->windowTitle().toStdString(), "jul.cal[*] - Velmar Editor");
    EXPECT_FALSE(f.Window->isWindowModified());
}

// Each tab keeps its zoom; at zoom 3 the grid is three times as large, drawn
// at that size, and mouse positions reach the grid divided by three: 30
// screen pixels move an edge by 10 grid pixels, 50 minutes.
TEST(EditorWindow, EachTabKeepsItsZoomAndTheMouseWorksAtAnyZoom) {
    WindowFixture f;
    if (const QScreen* screen = f.Window->screen()) {
        EXPECT_LE(f.Window->width(), screen->availableGeometry().width());
        EXPECT_LE(f.Window->height(), screen->availableGeometry().height());
    }
    ASSERT_TRUE(f.Window->OpenFiles({f.CopyExample("Profile_0003.dat")}));
    auto* schedule = dynamic_cast<ScheduleTab*>(f.Window->CurrentTab());
    ASSERT_NE(schedule, nullptr);
    auto* picture = f.Find<PictureBox>("schedulePicture");
    EXPECT_EQ(schedule->Zoom(), 1) << "a 560-pixel window fits the grid once";
    // The hours above the grid and the pointer's time grow with the zoom.
    auto* ruler = f.Find<QWidget>("hourRuler");
    auto* pointerTime = f.Find<QLabel>("timeUnderPointerLabel");
    const auto textSize = [](const QWidget* widget) { return QFontInfo(widget->font()).pixelSize(); };
    const int plainText = textSize(schedule);
    const int plainRuler = ruler->height();
    EXPECT_EQ(textSize(ruler), plainText);
    f.Trigger("actionZoomIn");
    f.Trigger("actionZoomIn");
    ASSERT_EQ(schedule->Zoom(), 3);
    for (const QWidget* zoomed : {ruler, static_cast<QWidget*>(pointerTime)}) {
        EXPECT_NEAR(textSize(zoomed), 3 * plainText, 1) << zoomed->objectName().toStdString();
    }
    EXPECT_GT(ruler->height(), 2 * plainRuler);
    EXPECT_GE(pointerTime->minimumWidth(), pointerTime->fontMetrics().horizontalAdvance("00:00"));
    const QSize grid = picture->size() / 3;
    EXPECT_EQ(picture->Zoom(), 3);
    EXPECT_GT(grid.width(), 300);

    const auto at = [](int minute, int row) { return GridPoint(minute, row) * 3; };
    QTest::mousePress(picture, Qt::LeftButton, {}, at(840, 2));
    QTest::mouseMove(picture, at(960, 2));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, at(960, 2));
    EXPECT_EQ(f.Find<QLineEdit>("periodStartEdit")->text(), "14:00");
    EXPECT_EQ(f.Find<QLineEdit>("periodStopEdit")->text(), "16:00");
    const QPoint edge = at(960, 2);
    QTest::mousePress(picture, Qt::LeftButton, {}, edge);
    QTest::mouseMove(picture, edge + QPoint(15, 0));
    QTest::mouseMove(picture, edge + QPoint(30, 0));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(f.Find<QLineEdit>("periodStopEdit")->text(), "16:50");
    // Screen readers hear the edit through Qt's accessibility interface.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(picture);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Schedule grid");
    EXPECT_EQ(accessible->role(), QAccessible::Canvas);
    EXPECT_TRUE(
        accessible->text(QAccessible::Description).startsWith("Wednesday, 14:00 to 16:50, selected; "))
        << accessible->text(QAccessible::Description).toStdString();

    // A calendar opened beside it keeps a zoom of its own; Ctrl with the wheel zooms.
    f.Trigger("actionNewCalendar");
    auto* calendar = dynamic_cast<CalendarTab*>(f.Window->CurrentTab());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->Zoom(), 1);
    auto* month = f.Find<PictureBox>("calendarPicture");
    QWheelEvent wheel(QPointF(10, 10), month->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(month, &wheel);
    EXPECT_EQ(calendar->Zoom(), 2);
    EXPECT_EQ(month->size(), QSize(2 * 320, 2 * 180));
    EXPECT_NEAR(textSize(f.Find<QLabel>("monthLabel")), 2 * textSize(calendar), 1) << "the month's caption";
    f.Trigger("actionZoomOut");
    f.Trigger("actionZoomOut");
    EXPECT_EQ(calendar->Zoom(), 1);
    EXPECT_EQ(textSize(f.Find<QLabel>("monthLabel")), textSize(calendar));
    f.Window->Tabs()->setCurrentIndex(0);
    EXPECT_EQ(schedule->Zoom(), 3);
    f.Trigger("actionZoomIn");
    f.Trigger("actionZoomIn");
    EXPECT_EQ(schedule->Zoom(), 4);
    EXPECT_EQ(calendar->Zoom(), 1);
}

// On another screen the device pixel ratio may differ: the picture is drawn
// again at the zoom times the new ratio. Here the surface is left at a scale
// of 5 as if the last screen had had a ratio of 5.
TEST(EditorWindow, APictureIsDrawnAgainWhenTheScreenChanges) {
    WindowFixture f;
    ASSERT_TRUE(f.Window->OpenFiles({f.CopyExample("Profile_0003.dat")}));
    auto* picture = f.Find<PictureBox>("schedulePicture");
    const QImage drawn = picture->Surface().Image();
    picture->Surface().SetScale(5);
    QEvent changed(QEvent::ScreenChangeInternal);
    QApplication::sendEvent(picture, &changed);
    EXPECT_EQ(picture->Surface().Scale(), picture->devicePixelRatioF());
    EXPECT_EQ(picture->Surface().Image(), drawn);
}

TEST(EditorWindow, ClosingWithUnsavedChangesAsks) {
    WindowFixture f;
    const std::string path = f.CopyExample("Profile_0004.dat");
    ASSERT_TRUE(f.Window->OpenFiles({path}));
    QWidget* picture = f.Find<QWidget>("schedulePicture");
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Down);
    QTest::keyClick(picture, Qt::Key_Insert);
    f.Dialogs->UnsavedAnswers = {EditorDialogs::Unsaved::Cancel};
    EXPECT_FALSE(f.Window->close());
    EXPECT_EQ(f.Window->Tabs()->count(), 1);
    f.Dialogs->UnsavedAnswers = {EditorDialogs::Unsaved::Discard};
    EXPECT_TRUE(f.Window->close());
    EXPECT_EQ(f.Dialogs->Asked,
              (std::vector<std::string>{"unsaved Profile_0004.dat", "unsaved Profile_0004.dat"}));
    EXPECT_EQ(ReadWholeFile(path),
              ReadWholeFile(std::string(VELMAR_EXAMPLE_PROFILES_DIR) + "/Profile_0004.dat"));
}

TEST(EditorWindow, TheEditMenuAndThePopupFollowTheGridsMenuStates) {
    WindowFixture f;
    const std::string path = f.CopyExample("Profile_0001.dat");
    ASSERT_TRUE(f.Window->OpenFiles({path}));
    auto* tab = dynamic_cast<ScheduleTab*>(f.Window->CurrentTab());
    QWidget* picture = f.Find<QWidget>("schedulePicture");
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Down);
    // Group Monday-Friday from the Edit menu twice: whatever the profile had,
    // the second call undoes what the first did to the group.
    f.Trigger("actionGroupMonFri");
    const bool grouped = tab->Editor().Schedule().GetGrouped(0) != 0;
    tab->Editor().PressMenuOnCursorRow();
    tab->PreparePopup();
    EXPECT_EQ(tab->PopupMenu()->findChild<QAction*>("popupGroupMonFri")->isChecked(), grouped);
    EXPECT_FALSE(tab->PopupMenu()->findChild<QAction*>("popupPaste")->isEnabled());
    f.Trigger("actionGroupMonFri");
    EXPECT_NE(tab->Editor().Schedule().GetGrouped(0) != 0, grouped);
    EXPECT_FALSE(f.Window->Action("actionPaintDayType")->isEnabled()) << "a calendar command";
}

// Every tab's title, "*" marking unsaved changes.
std::vector<std::string> TabTitles(const EditorWindow& window) {
    std::vector<std::string> titles;
    titles.reserve(static_cast<std::size_t>(window.Tabs()->count()));
    for (int i = 0; i < window.Tabs()->count(); ++i) {
        titles.push_back(window.Tabs()->tabText(i).toStdString());
    }
    return titles;
}

// While it exists, opening (or reading) a file of the given name runs out of
// memory.
class MemoryRunsOut {
public:
    MemoryRunsOut(FileCall call, std::string fileName) {
        SetFileFaultInjector([call, fileName = std::move(fileName)](
                                 FileCall made, const std::string& path) -> std::error_code {
            if (made == call && std::filesystem::path(path).filename() == fileName) {
                throw std::bad_alloc();
            }
            return {};
        });
    }
    ~MemoryRunsOut() { SetFileFaultInjector(nullptr); }
    MemoryRunsOut(const MemoryRunsOut&) = delete;
    MemoryRunsOut& operator=(const MemoryRunsOut&) = delete;
};

TEST(EditorWindow, AFileThatCannotBeOpenedOrImportedIsOneMessageAndEveryTabStays) {
    WindowFixture f;
    const std::string profile = f.CopyExample("Profile_0002.dat");
    ASSERT_TRUE(f.Window->OpenFiles({profile}));
    auto* grid = f.Find<QWidget>("schedulePicture");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Insert); // unsaved
    f.Trigger("actionNewCalendar");
    const auto tabs = TabTitles(*f.Window);
    ASSERT_EQ(tabs.size(), 2U);
    auto* holidays = f.Find<QLabel>("holidaysLabel");
    const QString noHolidays = holidays->text();

    const std::string fifo = f.Dir.File("pipe.cal");
    ASSERT_TRUE(MakeFifo(fifo));
    const std::string sparse = f.Dir.File("sparse.cal"); // 2 GB of nothing, as a file system keeps it
    WriteFileBytes(sparse, {});
    std::filesystem::resize_file(sparse, std::uintmax_t{2} << 30U);
    WriteFileBytes(f.Dir.File("big.cal"), Bytes(kCalendarFileBytes, 0));
    WriteFileBytes(f.Dir.File("big.ics"), {'B', 'E'});
    struct Case {
        std::string Path;
        bool Holidays; // chosen as the holidays file, else opened
        std::string Message;
    };
    const std::vector<Case> cases = {
        {fifo, false, "File error: cannot open \"" + fifo + "\": not a regular file"},
        {"/dev/zero", false, "File error: cannot open \"/dev/zero\": not a regular file"},
        {sparse, false,
         "File error: cannot read \"" + sparse +
             "\": too large for a calendar file (2048 MiB; at most 16 MiB)"},
        {fifo, true, "File error: cannot open \"" + fifo + "\": not a regular file"},
        {"/dev/zero", true, "File error: cannot open \"/dev/zero\": not a regular file"},
        {sparse, true,
         "File error: cannot read \"" + sparse +
             "\": too large for an iCalendar file (2048 MiB; at most 64 MiB)"},
        {f.Dir.File("big.cal"), false, "cannot open " + f.Dir.File("big.cal") + ": not enough memory"},
        {f.Dir.File("big.ics"), true,
         "cannot read the holidays of " + f.Dir.File("big.ics") + ": not enough memory"},
    };
    for (const Case& c : cases) {
        f.Dialogs->Errors.clear();
        const bool memory = c.Path.find("big.") != std::string::npos;
        std::optional<MemoryRunsOut> runsOut;
        if (memory) {
            runsOut.emplace(FileCall::Open, std::filesystem::path(c.Path).filename().string());
        }
        if (c.Holidays) {
            f.Dialogs->FileNames = {c.Path};
            f.Find<QPushButton>("holidaysButton")->click();
        } else {
            EXPECT_FALSE(f.Window->OpenCalendar(c.Path));
        }
        EXPECT_EQ(f.Dialogs->Errors, std::vector<std::string>{c.Message}) << c.Path;
        EXPECT_EQ(TabTitles(*f.Window), tabs) << c.Path;
        EXPECT_EQ(holidays->text(), noHolidays);
    }

    // A save that runs out of memory leaves the file and the tab as they were.
    f.Dialogs->Errors.clear();
    f.Window->Tabs()->setCurrentIndex(0);
    const FileBytes before = ReadWholeFile(profile);
    {
        MemoryRunsOut runsOut(FileCall::Open, "Profile_0002.dat");
        EXPECT_FALSE(f.Window->Save());
    }
    ASSERT_EQ(f.Dialogs->Errors.size(), 1U);
    EXPECT_EQ(f.Dialogs->Errors[0],
              "cannot save " + profile + ": not enough memory\nThe file on disk was not changed.");
    EXPECT_EQ(ReadWholeFile(profile), before);
    EXPECT_EQ(TabTitles(*f.Window), tabs);
}

TEST(EditorWindow, AReadOnlyFileIsSavedOnlyWhenTheUserSaysSo) {
    WindowFixture f;
    const std::string path = f.CopyExample("Profile_0004.dat");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const FileBytes original = ReadWholeFile(path);
    ASSERT_TRUE(f.Window->OpenFiles({path}));
    auto* grid = f.Find<QWidget>("schedulePicture");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Insert);

    f.Dialogs->ReadOnlyAnswers = {EditorDialogs::ReadOnly::Cancel};
    EXPECT_FALSE(f.Window->Save());
    EXPECT_EQ(ReadWholeFile(path), original);
    EXPECT_TRUE(f.Window->isWindowModified());

    f.Dialogs->ReadOnlyAnswers = {EditorDialogs::ReadOnly::SaveAnyway};
    EXPECT_TRUE(f.Window->Save());
    EXPECT_NE(ReadWholeFile(path), original);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read)
        << "still read-only";

    QTest::keyClick(grid, Qt::Key_Delete);
    const std::string copy = f.Dir.File("Profile_0014.dat");
    f.Dialogs->ReadOnlyAnswers = {EditorDialogs::ReadOnly::SaveAs};
    f.Dialogs->FileNames = {copy};
    EXPECT_TRUE(f.Window->Save());
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_EQ(f.Window->Tabs()->tabText(0).toStdString(), "Profile_0014.dat");
    EXPECT_EQ(f.Dialogs->Asked,
              (std::vector<std::string>{"read-only Profile_0004.dat", "read-only Profile_0004.dat",
                                        "read-only Profile_0004.dat", "file Save as"}));
    EXPECT_TRUE(f.Dialogs->Errors.empty());
}

// The controls of `tab` in the order Tab reaches them, starting at its
// picture, once round.
std::vector<QWidget*> TabOrderOf(QWidget* tab, QWidget* picture) {
    std::vector<QWidget*> order;
    picture->setFocus(Qt::TabFocusReason);
    QWidget* current = picture;
    for (int i = 0; i < 40 && current != nullptr; ++i) {
        if (tab->isAncestorOf(current)) {
            if (!order.empty() && current == order.front()) {
                break;
            }
            order.push_back(current);
        }
        QTest::keyClick(current, Qt::Key_Tab);
        current = QApplication::focusWidget();
    }
    return order;
}

// The same controls as a reader sees them: rows from the top, each row from
// the left, controls whose middles lie within a few pixels being one row; a
// control that holds others (the picture's scroll area) before them.
std::vector<QWidget*> VisualOrderOf(QWidget* tab, std::vector<QWidget*> controls) {
    auto middle = [tab](const QWidget* widget) {
        return widget->mapTo(tab, QPoint(0, 0)) + QPoint(widget->width() / 2, widget->height() / 2);
    };
    std::ranges::sort(controls, [&](const QWidget* a, const QWidget* b) {
        if (a->isAncestorOf(b) || b->isAncestorOf(a)) {
            return a->isAncestorOf(b);
        }
        const QPoint pa = middle(a);
        const QPoint pb = middle(b);
        if (std::abs(pa.y() - pb.y()) > 4) {
            return pa.y() < pb.y();
        }
        return pa.x() < pb.x();
    });
    // Start at the picture as the walk does.
    const auto picture = std::ranges::find_if(
        controls, [](const QWidget* widget) { return dynamic_cast<const PictureBox*>(widget) != nullptr; });
    std::rotate(controls.begin(), picture, controls.end());
    return controls;
}

std::vector<std::string> NamesOf(const std::vector<QWidget*>& widgets) {
    std::vector<std::string> names;
    names.reserve(widgets.size());
    for (const QWidget* widget : widgets) {
        names.push_back(widget->objectName().isEmpty() ? std::string(widget->metaObject()->className())
                                                       : widget->objectName().toStdString());
    }
    return names;
}

// Tab goes through every control of both tabs in the order they are seen,
// top to bottom and left to right, and reaches each control once.
TEST(EditorWindow, TabFollowsTheVisualOrderInBothTabs) {
    WindowFixture f;
    f.Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.Window.get()));
    ASSERT_TRUE(f.Window->OpenFiles({f.CopyExample("Profile_0003.dat")}));
    f.Trigger("actionNewCalendar");
    for (const char* pictureName : {"schedulePicture", "calendarPicture"}) {
        SCOPED_TRACE(pictureName);
        auto* picture = f.Find<PictureBox>(pictureName);
        ASSERT_NE(picture, nullptr);
        QWidget* tab = picture->parentWidget();
        while (dynamic_cast<EditorTab*>(tab) == nullptr) {
            tab = tab->parentWidget();
        }
        f.Window->Tabs()->setCurrentWidget(tab);
        const std::vector<QWidget*> walked = TabOrderOf(tab, picture);
        std::vector<QWidget*> focusable;
        for (QWidget* widget : tab->findChildren<QWidget*>()) {
            if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) != 0 &&
                widget->focusProxy() == nullptr) {
                focusable.push_back(widget);
            }
        }
        EXPECT_EQ(walked.size(), focusable.size()) << testing::PrintToString(NamesOf(walked));
        EXPECT_EQ(NamesOf(walked), NamesOf(VisualOrderOf(tab, focusable)));
        // A stop without a text of its own is named for screen readers.
        for (const QWidget* widget : walked) {
            if (qobject_cast<const QScrollArea*>(widget) != nullptr) {
                EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(f.Window->Tabs()->accessibleName(), "Open files");
}

TEST(EditorWindow, ABackupThatCannotBeKeptDoesNotStopTheSaveAndIsReported) {
    WindowFixture f;
    const std::string path = f.CopyExample("Profile_0001.dat");
    std::filesystem::create_directory(BackupPathOf(path)); // no file can take its name
    ASSERT_TRUE(f.Window->OpenFiles({path}));
    auto* grid = f.Find<QWidget>("schedulePicture");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_TRUE(f.Window->Save());
    EXPECT_FALSE(f.Window->isWindowModified());
    EXPECT_EQ(f.Dialogs->Errors,
              std::vector<std::string>{"Saved " + path + ", but the previous file was not kept as " +
                                       BackupPathOf(path) + ": \"" + BackupPathOf(path) +
                                       "\" is not a regular file"});
}

} // namespace
} // namespace velmar::test
