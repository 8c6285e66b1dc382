// cCalendar
