<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>velmar::CalendarTab</name>
    <message numerus="yes">
        <source>%n holiday date(s) from %1</source>
        <translation>
            <numerusform>%n holiday date from %1</numerusform>
            <numerusform>%n holiday dates from %1</numerusform>
        </translation>
    </message>
</context>
</TS>
