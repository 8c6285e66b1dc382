<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE">
<context>
    <name>QObject</name>
    <message>
        <source>File changed on disk</source>
        <translation>Filen har ändrats på disken</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened. Saving now would overwrite those changes.</source>
        <translation>%1 har ändrats av ett annat program sedan den öppnades. Att spara nu skulle skriva över de ändringarna.</translation>
    </message>
    <message>
        <source>&amp;Reload from disk</source>
        <translation>&amp;Läs in från disken igen</translation>
    </message>
    <message>
        <source>&amp;Save anyway</source>
        <translation>&amp;Spara ändå</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Osparade ändringar</translation>
    </message>
    <message>
        <source>%1 has changes that are not saved.</source>
        <translation>%1 har ändringar som inte är sparade.</translation>
    </message>
    <message>
        <source>Velmar Editor</source>
        <translation>Velmar Editor</translation>
    </message>
    <message>
        <source>Read-only file</source>
        <translation>Skrivskyddad fil</translation>
    </message>
    <message>
        <source>%1 is read-only.</source>
        <translation>%1 är skrivskyddad.</translation>
    </message>
    <message>
        <source>Save &amp;anyway</source>
        <translation>Spara &amp;ändå</translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation>Spara s&amp;om...</translation>
    </message>
    <message>
        <source>Edit schedule</source>
        <translation>Redigera tidsschema</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>Profil:</translation>
    </message>
    <message>
        <source>About Velmar Active Profiles</source>
        <translation>Om Velmar Active Profiles</translation>
    </message>
    <message>
        <source>Velmar Active Profiles %1

Watches the alarm profiles of the data folder
%2

Built with Qt %3.</source>
        <translation>Velmar Active Profiles %1

Bevakar larmprofilerna i datamappen
%2

Byggt med Qt %3.</translation>
    </message>
    <message numerus="yes">
        <source>Updated %1 · %n profile(s)</source>
        <translation>
            <numerusform>Uppdaterad %1 · %n profil</numerusform>
            <numerusform>Uppdaterad %1 · %n profiler</numerusform>
        </translation>
    </message>
    <message>
        <source>Profiles changed</source>
        <translation>Profiler ändrade</translation>
    </message>
    <message>
        <source>Active now: %1</source>
        <translation>Aktiva nu: %1</translation>
    </message>
    <message>
        <source>Inactive now: %1</source>
        <translation>Inaktiva nu: %1</translation>
    </message>
    <message>
        <source>New: %1</source>
        <translation>Nya: %1</translation>
    </message>
    <message>
        <source>Gone: %1</source>
        <translation>Borta: %1</translation>
    </message>
    <message>
        <source>Problem: %1</source>
        <translation>Problem: %1</translation>
    </message>
    <message>
        <source>All problems mended</source>
        <translation>Alla problem åtgärdade</translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 och %n till</numerusform>
            <numerusform>%1 och %n till</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Show profiles</source>
        <translation>&amp;Visa profiler</translation>
    </message>
    <message>
        <source>&amp;Edit schedule…</source>
        <translation>&amp;Redigera tidsschema…</translation>
    </message>
    <message>
        <source>Open data &amp;folder</source>
        <translation>Öppna data&amp;mappen</translation>
    </message>
    <message>
        <source>Start at &amp;login</source>
        <translation>Starta vid &amp;inloggning</translation>
    </message>
    <message>
        <source>&amp;Notify on changes</source>
        <translation>&amp;Meddela ändringar</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Om</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Avsluta</translation>
    </message>
    <message>
        <source>&amp;Hide profiles</source>
        <translation>&amp;Dölj profiler</translation>
    </message>
    <message>
        <source>velmar-editor is not installed beside the program or on the search path</source>
        <translation>velmar-editor är inte installerat bredvid programmet eller i sökvägen</translation>
    </message>
    <message>
        <source>&amp;Profiles</source>
        <translation>&amp;Profiler</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Profiles folder not found: %1</source>
        <translation>Profilmappen finns inte: %1</translation>
    </message>
    <message>
        <source>Profiles folder is not a folder: %1</source>
        <translation>Profilmappen är inte en mapp: %1</translation>
    </message>
    <message>
        <source>Profiles folder cannot be listed (%1): %2</source>
        <translation>Profilmappen kan inte listas (%1): %2</translation>
    </message>
    <message>
        <source>%1: gone before it could be read</source>
        <translation>%1: försvann innan den kunde läsas</translation>
    </message>
    <message>
        <source>%1: format version %2, not %3</source>
        <translation>%1: formatversion %2, inte %3</translation>
    </message>
    <message>
        <source>%1: too short to hold a format version</source>
        <translation>%1: för kort för en formatversion</translation>
    </message>
    <message>
        <source>%1: beyond the %2 slots</source>
        <translation>%1: utanför de %2 platserna</translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) that could not be read</source>
        <translation>
            <numerusform>%n fil till som inte kunde läsas</numerusform>
            <numerusform>%n filer till som inte kunde läsas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) gone before they could be read</source>
        <translation>
            <numerusform>%n fil till som försvann innan den kunde läsas</numerusform>
            <numerusform>%n filer till som försvann innan de kunde läsas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more entry(ies) named like profiles that are no regular files</source>
        <translation>
            <numerusform>%n post till som heter som en profil men inte är en vanlig fil</numerusform>
            <numerusform>%n poster till som heter som profiler men inte är vanliga filer</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) of another format version</source>
        <translation>
            <numerusform>%n fil till med en annan formatversion</numerusform>
            <numerusform>%n filer till med en annan formatversion</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) too short to hold a format version</source>
        <translation>
            <numerusform>%n fil till som är för kort för en formatversion</numerusform>
            <numerusform>%n filer till som är för korta för en formatversion</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more file(s) beyond the %1 slots</source>
        <translation>
            <numerusform>%n fil till utanför de %1 platserna</numerusform>
            <numerusform>%n filer till utanför de %1 platserna</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more problem(s) with the Profiles folder</source>
        <translation>
            <numerusform>%n problem till med profilmappen</numerusform>
            <numerusform>%n problem till med profilmappen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmar::CalendarTab</name>
    <message>
        <source>Previous year (Shift+PageUp)</source>
        <translation>Föregående år (Skift+PageUp)</translation>
    </message>
    <message>
        <source>Previous month (PageUp)</source>
        <translation>Föregående månad (PageUp)</translation>
    </message>
    <message>
        <source>Next month (PageDown)</source>
        <translation>Nästa månad (PageDown)</translation>
    </message>
    <message>
        <source>Next year (Shift+PageDown)</source>
        <translation>Nästa år (Skift+PageDown)</translation>
    </message>
    <message>
        <source>Calendar month</source>
        <translation>Kalendermånad</translation>
    </message>
    <message>
        <source>Arrow keys move between dates, Space paints the selected day type, PageUp and PageDown change the month</source>
        <translation>Piltangenterna flyttar mellan datumen, mellanslag målar den valda dagtypen, PageUp och PageDown byter månad</translation>
    </message>
    <message>
        <source>&amp;Day type:</source>
        <translation>&amp;Dagtyp:</translation>
    </message>
    <message>
        <source>&amp;Time axis</source>
        <translation>&amp;Tidsaxel</translation>
    </message>
    <message>
        <source>&amp;Profile...</source>
        <translation>&amp;Profil...</translation>
    </message>
    <message>
        <source>no profile</source>
        <translation>ingen profil</translation>
    </message>
    <message>
        <source>&amp;Holidays...</source>
        <translation>&amp;Helgdagar...</translation>
    </message>
    <message>
        <source>no holidays</source>
        <translation>inga helgdagar</translation>
    </message>
    <message numerus="yes">
        <source>%n holiday date(s) from %1</source>
        <translation>
            <numerusform>%n helgdag från %1</numerusform>
            <numerusform>%n helgdagar från %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Untitled calendar</source>
        <translation>Namnlös kalender</translation>
    </message>
    <message numerus="yes">
        <source>; %n later event(s) with dates already labelled</source>
        <translation>
            <numerusform>; %n senare händelse med redan märkta datum</numerusform>
            <numerusform>; %n senare händelser med redan märkta datum</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %n timed, cancelled or undated event(s) skipped</source>
        <translation>
            <numerusform>; %n tidsatt, inställd eller odaterad händelse hoppades över</numerusform>
            <numerusform>; %n tidsatta, inställda eller odaterade händelser hoppades över</numerusform>
        </translation>
    </message>
    <message>
        <source>Calendar month scroll area</source>
        <translation>Kalendermånadens rullningsyta</translation>
    </message>
</context>
<context>
    <name>velmar::EditorWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Arkiv</translation>
    </message>
    <message>
        <source>&amp;New calendar</source>
        <translation>&amp;Ny kalender</translation>
    </message>
    <message>
        <source>&amp;Open profile...</source>
        <translation>Ö&amp;ppna profil...</translation>
    </message>
    <message>
        <source>Open profile</source>
        <translation>Öppna profil</translation>
    </message>
    <message>
        <source>Open &amp;calendar...</source>
        <translation>Öppna &amp;kalender...</translation>
    </message>
    <message>
        <source>Ctrl+Shift+O</source>
        <translation>Ctrl+Shift+O</translation>
    </message>
    <message>
        <source>Open calendar</source>
        <translation>Öppna kalender</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Spara</translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation>Spara s&amp;om...</translation>
    </message>
    <message>
        <source>&amp;Revert</source>
        <translation>Åte&amp;rställ</translation>
    </message>
    <message>
        <source>&amp;Export to iCalendar...</source>
        <translation>&amp;Exportera till iCalendar...</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>S&amp;täng</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Avsluta</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Redigera</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Ångra</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Gör om</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z</source>
        <translation>Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>&amp;Add period 08:00-17:00	Ins</source>
        <translation>&amp;Lägg till period 08:00-17:00	Ins</translation>
    </message>
    <message>
        <source>Delete &amp;period	Del</source>
        <translation>Ta bort &amp;period	Del</translation>
    </message>
    <message>
        <source>&amp;Delete day</source>
        <translation>Ta bort &amp;dag</translation>
    </message>
    <message>
        <source>&amp;Fill 00:00-24:00</source>
        <translation>&amp;Fyll 00:00-24:00</translation>
    </message>
    <message>
        <source>&amp;Copy day</source>
        <translation>&amp;Kopiera dag</translation>
    </message>
    <message>
        <source>Pa&amp;ste day</source>
        <translation>Klistra &amp;in dag</translation>
    </message>
    <message>
        <source>&amp;Group</source>
        <translation>Gr&amp;uppera</translation>
    </message>
    <message>
        <source>Group &amp;Monday-Friday</source>
        <translation>Gruppera &amp;måndag-fredag</translation>
    </message>
    <message>
        <source>D&amp;efault (Monday-Friday 07:00-16:00)</source>
        <translation>&amp;Standard (måndag-fredag 07:00-16:00)</translation>
    </message>
    <message>
        <source>&amp;Paint day type on the date	Space</source>
        <translation>&amp;Måla dagtypen på datumet	Mellanslag</translation>
    </message>
    <message>
        <source>Pre&amp;vious month	PgUp</source>
        <translation>F&amp;öregående månad	PgUp</translation>
    </message>
    <message>
        <source>Ne&amp;xt month	PgDown</source>
        <translation>&amp;Nästa månad	PgDown</translation>
    </message>
    <message>
        <source>Profile to show</source>
        <translation>Profil att visa</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>Helgdagar</translation>
    </message>
    <message>
        <source>Save as</source>
        <translation>Spara som</translation>
    </message>
    <message>
        <source>Export to iCalendar</source>
        <translation>Exportera till iCalendar</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Visa</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>Zooma &amp;in</translation>
    </message>
    <message>
        <source>Ctrl+=</source>
        <translation>Ctrl+=</translation>
    </message>
    <message>
        <source>Zoom &amp;out</source>
        <translation>Zooma &amp;ut</translation>
    </message>
    <message>
        <source>&amp;Fit to the window</source>
        <translation>&amp;Anpassa till fönstret</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>Open files</source>
        <translation>Öppna filer</translation>
    </message>
</context>
<context>
    <name>velmar::QtReportList</name>
    <message>
        <source>active</source>
        <translation>aktiv</translation>
    </message>
    <message>
        <source>inactive</source>
        <translation>inaktiv</translation>
    </message>
</context>
<context>
    <name>velmar::ScheduleTab</name>
    <message>
        <source>Active now (set by the alarm server)</source>
        <translation>Aktiv nu (sätts av larmservern)</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>Profil:</translation>
    </message>
    <message>
        <source>Schedule grid</source>
        <translation>Schemarutnät</translation>
    </message>
    <message>
        <source>Up and Down choose a day, Left and Right a period edge, Shift with Left or Right moves the edge by five minutes, Insert adds 08:00-17:00, Delete removes the period, the Menu key opens the menu</source>
        <translation>Upp och ned väljer en dag, vänster och höger en periodkant, Skift med vänster eller höger flyttar kanten fem minuter, Insert lägger till 08:00-17:00, Delete tar bort perioden, menytangenten öppnar menyn</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ver&amp;kställ</translation>
    </message>
    <message>
        <source>S&amp;tart:</source>
        <translation>S&amp;tart:</translation>
    </message>
    <message>
        <source>St&amp;op:</source>
        <translation>St&amp;opp:</translation>
    </message>
    <message>
        <source>Pointer:</source>
        <translation>Pekare:</translation>
    </message>
    <message>
        <source>Day-type &amp;names</source>
        <translation>Dagtyps&amp;namn</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Ta bort</translation>
    </message>
    <message>
        <source>&amp;Fill 00:00-24:00</source>
        <translation>&amp;Fyll 00:00-24:00</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopiera</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Klistra &amp;in</translation>
    </message>
    <message>
        <source>&amp;Group</source>
        <translation>&amp;Gruppera</translation>
    </message>
    <message>
        <source>Group &amp;Monday-Friday</source>
        <translation>Gruppera &amp;måndag-fredag</translation>
    </message>
    <message>
        <source>D&amp;efault</source>
        <translation>&amp;Standard</translation>
    </message>
    <message>
        <source>Schedule grid scroll area</source>
        <translation>Schemarutnätets rullningsyta</translation>
    </message>
</context>
</TS>
