#pragma once

// Date services of the desktop: the system locale's month names and first day
// of the week, today's local date, and the colours of the application palette.

#include "platform/DateServices.h"

#include <QDate>
#include <QLocale>
#include <optional>

namespace velmar {

class QtDateServices : public IDateServices {
public:
    // The system locale and today's date; the colours of the application palette
    // (Qt's default palette when there is no application object).
    QtDateServices();
    // A given locale, and optionally a pinned "today", for tools and tests.
    explicit QtDateServices(const QLocale& locale, std::optional<QDate> today = std::nullopt);

    CivilDate Today() const override;
    // The locale's stand-alone full month name (the caption has no day beside it);
    // InvalidArgumentError for a month outside 1..12.
    std::string MonthName(int Month) const override;
    // ISO 8601 week numbers where the locale's week begins on Monday; otherwise
    // weeks begin on the locale's first day and the week holding 1 January is week 1.
    int WeekNumber(std::int64_t DayOffset) const override;
    Colour GrayTextColour() const override { return m_GrayText; }
    Colour ButtonTextColour() const override { return m_ButtonText; }

    // The locale's first day of the week, 0 = Monday .. 6 = Sunday.
    int FirstDayOfWeek() const;

private:
    QLocale m_Locale;
    std::optional<QDate> m_Today;
    Colour m_GrayText;
    Colour m_ButtonText;
};

} // namespace velmar
