#include "platform/qt/QtDateServices.h"

#include "common/Errors.h"

#include <QGuiApplication>
#include <QPalette>

namespace velmar {

namespace {

Colour ColourOf(const QColor& colour) {
    return Rgb(colour.red(), colour.green(), colour.blue());
}

QPalette ApplicationPalette() {
    // QGuiApplication::palette() needs the application object; without one the
    // default palette stands in.
    return QGuiApplication::instance() != nullptr ? QGuiApplication::palette() : QPalette();
}

} // namespace

QtDateServices::QtDateServices() : QtDateServices(QLocale::system()) {}

QtDateServices::QtDateServices(const QLocale& locale, std::optional<QDate> today)
    : m_Locale(locale), m_Today(today) {
    const QPalette palette = ApplicationPalette();
    m_GrayText = ColourOf(palette.color(QPalette::Disabled, QPalette::Text));
    m_ButtonText = ColourOf(palette.color(QPalette::Active, QPalette::ButtonText));
}

CivilDate QtDateServices::Today() const {
    const QDate today = m_Today.value_or(QDate::currentDate());
    return CivilDate{today.year(), today.month(), today.day()};
}

std::string QtDateServices::MonthName(int Month) const {
    if (Month < 1 || Month > 12) {
        throw InvalidArgumentError("month " + std::to_string(Month) + " outside 1..12");
    }
    return m_Locale.standaloneMonthName(Month, QLocale::LongFormat).toStdString();
}

int QtDateServices::FirstDayOfWeek() const {
    // Qt counts Monday = 1 .. Sunday = 7.
    return static_cast<int>(m_Locale.firstDayOfWeek()) - 1;
}

int QtDateServices::WeekNumber(std::int64_t DayOffset) const {
    const int first = FirstDayOfWeek();
    return WeekNumberOf(DayOffset, first, first == 0 ? FirstWeekRule::FirstFourDays : FirstWeekRule::Jan1);
}

} // namespace velmar
