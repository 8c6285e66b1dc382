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
    <message numerus="yes">
        <source>%n more file(s) that could not be read</source>
        <translation>
            <numerusform>%n more file that could not be read</numerusform>
            <numerusform>%n more files that could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) gone before they could be read</source>
        <translation>
            <numerusform>%n more file gone before it could be read</numerusform>
            <numerusform>%n more files gone before they could be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more entry(ies) named like profiles that are no regular files</source>
        <translation>
            <numerusform>%n more entry named like a profile that is no regular file</numerusform>
            <numerusform>%n more entries named like profiles that are no regular files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) of another format version</source>
        <translation>
            <numerusform>%n more file of another format version</numerusform>
            <numerusform>%n more files of another format version</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) too short to hold a format version</source>
        <translation>
            <numerusform>%n more file too short to hold a format version</numerusform>
            <numerusform>%n more files too short to hold a format version</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) beyond the %1 slots</source>
        <translation>
            <numerusform>%n more file beyond the %1 slots</numerusform>
            <numerusform>%n more files beyond the %1 slots</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more problem(s) with the Profiles folder</source>
        <translation>
            <numerusform>%n more problem with the Profiles folder</numerusform>
            <numerusform>%n more problems with the Profiles folder</numerusform>
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
