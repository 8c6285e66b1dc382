#include "app/QtDesktopServices.h"

#include "app/Autostart.h"
#include "app/ProgramOptions.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "common/Version.h"
#include "platform/qt/QtNotifier.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTime>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <sstream>

namespace velmar {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace

std::string LocaleClockText(const QLocale& locale, const QTime& time) {
    // The zone fields ("t") are dropped, quoted literals ('h') kept.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && c == u't') {
            continue;
        }
        withoutZone += c;
    }
    withoutZone.replace(QStringLiteral("()"), QString());
    return locale.toString(time, withoutZone.simplified()).toStdString();
}

QString FindEditor(const QString& executableFolder) {
    const QString name = QStringLiteral("velmar-editor");
    const QString found = QStandardPaths::findExecutable(
        name, {executableFolder, QDir(executableFolder).filePath(QStringLiteral("../editor"))});
    return found.isEmpty() ? QStandardPaths::findExecutable(name) : found;
}

QtDesktopServices::QtDesktopServices(std::string programFolder, QWidget& parent, QtNotifier& notifier,
                                     std::function<void()> quit)
    : m_ProgramFolder(std::move(programFolder)), m_Parent(parent), m_Notifier(notifier),
      m_Quit(std::move(quit)), m_Editor(FindEditor(QCoreApplication::applicationDirPath())) {}

void QtDesktopServices::StartEditor(const std::string& profileFile) {
    if (m_Editor.isEmpty()) {
        throw FileError("velmar-editor is not installed");
    }
    if (!QProcess::startDetached(m_Editor, {Text(profileFile)})) {
        throw FileError("cannot start " + Utf8(m_Editor));
    }
}

std::optional<std::size_t> QtDesktopServices::AskForProfile(const std::vector<std::string>& names) {
    QStringList items;
    for (const auto& name : names) {
        items << Text(name);
    }
    bool chosen = false;
    const QString item = QInputDialog::getItem(&m_Parent, QObject::tr("Edit schedule"),
                                               QObject::tr("Profile:"), items, 0, false, &chosen);
    if (!chosen) {
        return std::nullopt;
    }
    const auto index = items.indexOf(item);
    return index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index));
}

void QtDesktopServices::OpenFolder(const std::string& folder) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(Text(folder)))) {
        throw FileError("the desktop has no program that opens the folder " + folder);
    }
}

bool QtDesktopServices::StartsAtLogin() const {
    std::error_code error;
    return std::filesystem::is_regular_file(AutostartFolder(SystemEnvironment) / kDesktopEntryFileName,
                                            error);
}

void QtDesktopServices::SetStartAtLogin(bool on, const std::string& dataFolder, bool notify) {
    std::vector<std::string> arguments = {"/PATH:" + dataFolder};
    if (notify) {
        arguments.emplace_back(kNotifyOption);
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status =
        detail::RunAutostart(on ? "on" : "off", m_ProgramFolder, on ? arguments : std::vector<std::string>{},
                             out, err, SystemEnvironment);
    if (status != 0) {
        throw FileError(err.str());
    }
}

void QtDesktopServices::ShowAbout(const std::string& dataFolder) {
    QMessageBox::about(&m_Parent, QObject::tr("About Velmar Active Profiles"),
                       QObject::tr("Velmar Active Profiles %1\n\nWatches the alarm profiles of the data "
                                   "folder\n%2\n\nBuilt with Qt %3.")
                           .arg(Text(kVersion), Text(dataFolder), QString::fromLatin1(qVersion())));
}

void QtDesktopServices::Notify(const std::string& title, const std::string& body) {
    m_Notifier.Show(Text(title), Text(body));
}

void QtDesktopServices::ShowError(const std::string& text) {
    QMessageBox::warning(&m_Parent, QStringLiteral("Velmar Active Profiles"), Text(text));
}

std::string QtMonitorWords::Updated(std::string_view clock, int profiles) const {
    return Utf8(QObject::tr("Updated %1 \u00B7 %n profile(s)", nullptr, profiles).arg(Text(clock)));
}
std::string QtMonitorWords::Title() const {
    return Utf8(QObject::tr("Profiles changed"));
}
std::string QtMonitorWords::TurnedActive(std::string_view names) const {
    return Utf8(QObject::tr("Active now: %1").arg(Text(names)));
}
std::string QtMonitorWords::TurnedInactive(std::string_view names) const {
    return Utf8(QObject::tr("Inactive now: %1").arg(Text(names)));
}
std::string QtMonitorWords::Appeared(std::string_view names) const {
    return Utf8(QObject::tr("New: %1").arg(Text(names)));
}
std::string QtMonitorWords::Disappeared(std::string_view names) const {
    return Utf8(QObject::tr("Gone: %1").arg(Text(names)));
}
std::string QtMonitorWords::ProblemAppeared(std::string_view problem) const {
    return Utf8(QObject::tr("Problem: %1").arg(Text(problem)));
}
std::string QtMonitorWords::ProblemsMended() const {
    return Utf8(QObject::tr("All problems mended"));
}
std::string QtMonitorWords::NamesAndMore(std::string_view names, std::size_t more) const {
    return Utf8(QObject::tr("%1 and %n more", nullptr, static_cast<int>(more)).arg(Text(names)));
}

std::string QtMonitorWords::Problem(const LoadProblem& problem) const {
    const QString file = Text(problem.File);
    const QString reason = Text(problem.Reason);
    switch (problem.Kind) {
    case LoadProblemKind::FolderMissing:
        return Utf8(QObject::tr("Profiles folder not found: %1").arg(file));
    case LoadProblemKind::FolderNotAFolder:
        return Utf8(QObject::tr("Profiles folder is not a folder: %1").arg(file));
    case LoadProblemKind::FolderUnreadable:
        return Utf8(QObject::tr("Profiles folder cannot be listed (%1): %2").arg(reason, file));
    case LoadProblemKind::FileUnreadable:
    case LoadProblemKind::NotAFile:
        break;
    case LoadProblemKind::FileVanished:
        return Utf8(QObject::tr("%1: gone before it could be read").arg(file));
    case LoadProblemKind::WrongVersion:
        return Utf8(QObject::tr("%1: format version %2, not %3")
                        .arg(file, reason, QString::number(kProfileFormatVersion)));
    case LoadProblemKind::TooShort:
        return Utf8(QObject::tr("%1: too short to hold a format version").arg(file));
    case LoadProblemKind::BeyondSlots:
        return Utf8(QObject::tr("%1: beyond the %2 slots").arg(file, QString::number(kMaxProfiles)));
    }
    return ProblemWords::Problem(problem); // the file and the system's reason
}

std::string QtMonitorWords::More(LoadProblemKind kind, std::size_t count) const {
    const int n = static_cast<int>(count);
    switch (kind) {
    case LoadProblemKind::FileUnreadable:
        return Utf8(QObject::tr("%n more file(s) that could not be read", nullptr, n));
    case LoadProblemKind::FileVanished:
        return Utf8(QObject::tr("%n more file(s) gone before they could be read", nullptr, n));
    case LoadProblemKind::NotAFile:
        return Utf8(
            QObject::tr("%n more entry(ies) named like profiles that are no regular files", nullptr, n));
    case LoadProblemKind::WrongVersion:
        return Utf8(QObject::tr("%n more file(s) of another format version", nullptr, n));
    case LoadProblemKind::TooShort:
        return Utf8(QObject::tr("%n more file(s) too short to hold a format version", nullptr, n));
    case LoadProblemKind::BeyondSlots:
        return Utf8(QObject::tr("%n more file(s) beyond the %1 slots", nullptr, n)
                        .arg(QString::number(kMaxProfiles)));
    default:
        return Utf8(QObject::tr("%n more problem(s) with the Profiles folder", nullptr, n));
    }
}

} // namespace velmar
