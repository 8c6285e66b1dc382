<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>QObject</name>
    <message numerus="yes">
        <source>Updated %1 · %n profile(s)</source>
        <translation>
            <numerusform>Updated %1 · %n profile</numerusform>
            <numerusform>Updated %1 · %n profiles</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 and %n more</numerusform>
            <numerusform>%1 and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmar::CalendarTab</name>
    <message numerus="yes">
        <source>%n holiday date(s) from %1</source>
        <translation>
            <numerusform>%n holiday date from %1</numerusform>
            <numerusform>%n holiday dates from %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n later event(s) with dates already labelled</source>
        <translation>
            <numerusform>; %n later event with dates already labelled</numerusform>
            <numerusform>; %n later events with dates already labelled</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n timed, cancelled or undated event(s) skipped</source>
        <translation>
            <numerusform>; %n timed, cancelled or undated event skipped</numerusform>
            <numerusform>; %n timed, cancelled or undated events skipped</numerusform>
        </translation>
    </message>
</context>
</TS>
