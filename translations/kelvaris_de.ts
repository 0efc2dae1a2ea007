<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>BoardPages</name>
    <message>
        <source>Languages</source>
        <translation>Sprachen</translation>
    </message>
    <message>
        <source>Barrier: messages are deleted</source>
        <translation>Sperre: Meldungen werden gelöscht</translation>
    </message>
    <message>
        <source>Barrier: messages are held until its end</source>
        <translation>Sperre: Meldungen werden bis zu ihrem Ende zurückgehalten</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Duty schedule</source>
        <translation>Dienstplan</translation>
    </message>
    <message>
        <source>active</source>
        <translation>aktiv</translation>
    </message>
    <message>
        <source>not active</source>
        <translation>nicht aktiv</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Schicht</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Barrier/pause</source>
        <translation>Sperre/Pause</translation>
    </message>
    <message>
        <source>reachable</source>
        <translation>erreichbar</translation>
    </message>
    <message>
        <source>not reachable</source>
        <translation>nicht erreichbar</translation>
    </message>
    <message>
        <source>last answer %1</source>
        <translation>letzte Antwort %1</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Alarmserver</translation>
    </message>
    <message>
        <source>Gaps in cover within 24 hours</source>
        <translation>Lücken in der Abdeckung in den nächsten 24 Stunden</translation>
    </message>
    <message>
        <source>No group is without cover.</source>
        <translation>Keine Gruppe ist unbesetzt.</translation>
    </message>
    <message>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <source>There are no groups.</source>
        <translation>Es gibt keine Gruppen.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>On duty now</source>
        <translation>Jetzt im Dienst</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Nächster Wechsel</translation>
    </message>
    <message>
        <source>holder</source>
        <translation>Inhaber</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>niemand</translation>
    </message>
    <message>
        <source>none within a week</source>
        <translation>keiner innerhalb einer Woche</translation>
    </message>
    <message>
        <source>coming on: %1</source>
        <translation>kommt: %1</translation>
    </message>
    <message>
        <source>going off: %1</source>
        <translation>geht: %1</translation>
    </message>
    <message>
        <source>Receivers on duty now</source>
        <translation>Empfänger jetzt im Dienst</translation>
    </message>
    <message>
        <source>Nobody is on duty.</source>
        <translation>Niemand ist im Dienst.</translation>
    </message>
    <message>
        <source>until %1</source>
        <translation>bis %1</translation>
    </message>
    <message>
        <source>Who is on duty</source>
        <translation>Wer hat Dienst</translation>
    </message>
    <message>
        <source>The alarm server has not told Kelvaris its receivers and groups yet.</source>
        <translation>Der Alarmserver hat Kelvaris seine Empfänger und Gruppen noch nicht genannt.</translation>
    </message>
    <message>
        <source>Wall-screen view</source>
        <translation>Ansicht für den Wandbildschirm</translation>
    </message>
    <message>
        <source>Duty plan of %1</source>
        <translation>Dienstplan von %1</translation>
    </message>
    <message>
        <source>Week %1: %2 to %3</source>
        <translation>Woche %1: %2 bis %3</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>Wochen</translation>
    </message>
    <message>
        <source>Previous week</source>
        <translation>Vorige Woche</translation>
    </message>
    <message>
        <source>Back to the board</source>
        <translation>Zurück zur Übersicht</translation>
    </message>
    <message>
        <source>Next week</source>
        <translation>Nächste Woche</translation>
    </message>
    <message>
        <source>Calendar (iCalendar)</source>
        <translation>Kalender (iCalendar)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>On duty</source>
        <translation>Im Dienst</translation>
    </message>
    <message>
        <source>all day (no plan: always on duty)</source>
        <translation>ganztägig (kein Plan: immer im Dienst)</translation>
    </message>
    <message>
        <source>off duty</source>
        <translation>dienstfrei</translation>
    </message>
    <message>
        <source>Address too long</source>
        <translation>Adresse zu lang</translation>
    </message>
    <message>
        <source>This address is longer than any page of the board.</source>
        <translation>Diese Adresse ist länger als jede Seite der Übersicht.</translation>
    </message>
    <message>
        <source>Token needed</source>
        <translation>Token erforderlich</translation>
    </message>
    <message>
        <source>This board is shown only with its token. Ask the operators of the alarm system for the address with the token.</source>
        <translation>Diese Übersicht wird nur mit ihrem Token gezeigt. Fragen Sie die Betreiber der Alarmanlage nach der Adresse mit dem Token.</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>The board has no page at this address.</source>
        <translation>Die Übersicht hat unter dieser Adresse keine Seite.</translation>
    </message>
    <message>
        <source>The alarm server knows no receiver or group with this ID.</source>
        <translation>Der Alarmserver kennt keinen Empfänger und keine Gruppe mit dieser ID.</translation>
    </message>
    <message>
        <source>Not a date</source>
        <translation>Kein Datum</translation>
    </message>
    <message>
        <source>The week is given by a date such as 2026-12-07.</source>
        <translation>Die Woche wird durch ein Datum wie 2026-12-07 angegeben.</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Kelvaris</source>
        <translation>Über Kelvaris</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Keeps the duty schedule of an alarm and paging installation and drives its alarm server.</source>
        <translation>Verwaltet den Dienstplan einer Alarm- und Personenrufanlage und steuert deren Alarmserver.</translation>
    </message>
    <message>
        <source>Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).</source>
        <translation>Verwendet Qt %1, pugixml %2, RE2 und D-Bus (Qt D-Bus %3).</translation>
    </message>
</context>
<context>
    <name>CBarrageEntry</name>
    <message>
        <source>Barrier/Pause</source>
        <translation>Sperre/Pause</translation>
    </message>
    <message>
        <source>Type of &amp;barrier/pause:</source>
        <translation>A&amp;rt der Sperre/Pause:</translation>
    </message>
    <message>
        <source>&amp;Priority:</source>
        <translation>&amp;Priorität:</translation>
    </message>
    <message>
        <source>The priority level of the messages let through; choose one or type its number</source>
        <translation>Die Prioritätsstufe der durchgelassenen Meldungen; wählen Sie eine aus oder geben Sie ihre Nummer ein</translation>
    </message>
    <message>
        <source>With deleting the message</source>
        <translation>Mit Löschen der Meldung</translation>
    </message>
    <message>
        <source>With sending after barrier</source>
        <translation>Mit Senden nach der Sperre</translation>
    </message>
    <message>
        <source>No barrier</source>
        <translation>Keine Sperre</translation>
    </message>
    <message>
        <source>0 (Default)</source>
        <translation>0 (Standard)</translation>
    </message>
    <message>
        <source>1 (Emergency)</source>
        <translation>1 (Notfall)</translation>
    </message>
    <message>
        <source>2 (very very high)</source>
        <translation>2 (sehr sehr hoch)</translation>
    </message>
    <message>
        <source>3 (very high)</source>
        <translation>3 (sehr hoch)</translation>
    </message>
    <message>
        <source>4 (high)</source>
        <translation>4 (hoch)</translation>
    </message>
    <message>
        <source>5 (normal)</source>
        <translation>5 (normal)</translation>
    </message>
    <message>
        <source>6 (low)</source>
        <translation>6 (niedrig)</translation>
    </message>
    <message>
        <source>7 (very low)</source>
        <translation>7 (sehr niedrig)</translation>
    </message>
    <message>
        <source>8 (very very low)</source>
        <translation>8 (sehr sehr niedrig)</translation>
    </message>
</context>
<context>
    <name>CBarrageListDialog</name>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Sperren/Pausen</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Datumstyp</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Endzeit</translation>
    </message>
    <message>
        <source>Type of barrier/pause</source>
        <translation>Art der Sperre/Pause</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorität</translation>
    </message>
</context>
<context>
    <name>CDateEntryGuard</name>
    <message>
        <source>&quot;%1&quot; is not a valid date. Enter the date as %2, for example %3, or pick it from the calendar.</source>
        <translation>„%1“ ist kein gültiges Datum. Geben Sie das Datum als %2 ein, zum Beispiel %3, oder wählen Sie es im Kalender.</translation>
    </message>
</context>
<context>
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>Das eingegebene Passwort ist falsch.</translation>
    </message>
</context>
<context>
    <name>CDispDuplicateDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>ungültiger Zeitraum</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Montag;Dienstag;Mittwoch;Donnerstag;Freitag;Samstag;Sonntag</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>Jahr,Jahre,Monat,Monate,Woche,Wochen,Tag,Tage,Stunde,Stunden,Minute,Minuten,Sekunde,Sekunden</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>keine Dienstzeit</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>eine Dienstzeit</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 Dienstzeiten</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 Kopien</translation>
    </message>
    <message>
        <source>Duplicate dispatching</source>
        <translation>Dienstzeiten duplizieren</translation>
    </message>
    <message>
        <source>Time range to duplicate</source>
        <translation>Zu duplizierender Zeitraum</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Bis:</translation>
    </message>
    <message>
        <source>Duplicate to</source>
        <translation>Zielzeitraum</translation>
    </message>
    <message>
        <source>&amp;Start:</source>
        <translation>&amp;Anfang:</translation>
    </message>
    <message>
        <source>&amp;End:</source>
        <translation>&amp;Ende:</translation>
    </message>
    <message>
        <source>&amp;Copy dispatching:</source>
        <translation>Dienstzeiten &amp;kopieren:</translation>
    </message>
    <message>
        <source>&amp;Remove dispatching:</source>
        <translation>Dienstzeiten ent&amp;fernen:</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching is copied</source>
        <translation>Die Empfänger und Gruppen, deren Dienstzeiten kopiert werden</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching in the destination range is removed first</source>
        <translation>Die Empfänger und Gruppen, deren Dienstzeiten im Zielzeitraum zuvor entfernt werden</translation>
    </message>
    <message>
        <source>The dispatch plan of these receivers and groups could not be saved:
%1</source>
        <translation>Der Dienstplan dieser Empfänger und Gruppen konnte nicht gespeichert werden:
%1</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Alle auswä&amp;hlen</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>Keine aus&amp;wählen</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Keine auswählen</translation>
    </message>
    <message>
        <source>Check every entry of the list</source>
        <translation>Alle Einträge der Liste ankreuzen</translation>
    </message>
    <message>
        <source>Uncheck every entry of the list</source>
        <translation>Bei allen Einträgen der Liste das Häkchen entfernen</translation>
    </message>
</context>
<context>
    <name>CDispRemoveDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>ungültiger Zeitraum</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>Jahr,Jahre,Monat,Monate,Woche,Wochen,Tag,Tage,Stunde,Stunden,Minute,Minuten,Sekunde,Sekunden</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>keine Dienstzeit</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>eine Dienstzeit</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 Dienstzeiten</translation>
    </message>
    <message>
        <source>Remove dispatching</source>
        <translation>Dienstzeiten entfernen</translation>
    </message>
    <message>
        <source>Receiver:</source>
        <translation>Empfänger:</translation>
    </message>
    <message>
        <source>Remove from</source>
        <translation>Entfernen ab</translation>
    </message>
    <message>
        <source>Remove to</source>
        <translation>Entfernen bis</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>&amp;Past</source>
        <translation>&amp;Vergangenheit</translation>
    </message>
    <message>
        <source>&amp;Future</source>
        <translation>&amp;Zukunft</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Heute</translation>
    </message>
    <message>
        <source>From the first to the last day with dispatching</source>
        <translation>Vom ersten bis zum letzten Tag mit Dienstzeiten</translation>
    </message>
    <message>
        <source>From the first day with dispatching to yesterday</source>
        <translation>Vom ersten Tag mit Dienstzeiten bis gestern</translation>
    </message>
    <message>
        <source>From tomorrow to the last day with dispatching</source>
        <translation>Von morgen bis zum letzten Tag mit Dienstzeiten</translation>
    </message>
    <message>
        <source>Today only</source>
        <translation>Nur heute</translation>
    </message>
    <message>
        <source>The dispatch plan of %1 could not be saved.</source>
        <translation>Der Dienstplan von %1 konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>CDispatchingDlg</name>
    <message>
        <source>Plan of action</source>
        <translation>Einsatzplan</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Empfänger</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Gruppen</translation>
    </message>
    <message>
        <source>&amp;Activate takeover mode</source>
        <translation>Übernahmemodus &amp;aktivieren</translation>
    </message>
    <message>
        <source>While takeover mode is active, a member of the group is asked to take over the duty when it is due</source>
        <translation>Solange der Übernahmemodus aktiv ist, wird ein Mitglied der Gruppe bei Fälligkeit gebeten, den Dienst zu übernehmen</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Show the current week</source>
        <translation>Die aktuelle Woche anzeigen</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>The week shown</source>
        <translation>Die angezeigte Woche</translation>
    </message>
    <message>
        <source>&lt; previous schedule</source>
        <translation>&lt; vorheriger Plan</translation>
    </message>
    <message>
        <source>Show the latest week before this one that holds a plan</source>
        <translation>Die letzte Woche vor dieser anzeigen, die einen Plan enthält</translation>
    </message>
    <message>
        <source>next schedule &gt;</source>
        <translation>nächster Plan &gt;</translation>
    </message>
    <message>
        <source>Show the earliest week after this one that holds a plan</source>
        <translation>Die erste Woche nach dieser anzeigen, die einen Plan enthält</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Copy...</source>
        <translation>&amp;Kopieren...</translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation>&amp;Entfernen...</translation>
    </message>
    <message>
        <source>Remove the plan of the selected entry on a span of days</source>
        <translation>Den Plan des ausgewählten Eintrags für einen Zeitraum von Tagen entfernen</translation>
    </message>
    <message>
        <source>&amp;Duplicate...</source>
        <translation>Dupli&amp;zieren...</translation>
    </message>
    <message>
        <source>Repeat the plan of a span of days over another span</source>
        <translation>Den Plan eines Zeitraums von Tagen über einen anderen Zeitraum wiederholen</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>Show the two weeks before</source>
        <translation>Die zwei Wochen davor anzeigen</translation>
    </message>
    <message>
        <source>Show the two weeks after</source>
        <translation>Die zwei Wochen danach anzeigen</translation>
    </message>
    <message>
        <source>Show the week before</source>
        <translation>Die Woche davor anzeigen</translation>
    </message>
    <message>
        <source>Show the week after</source>
        <translation>Die Woche danach anzeigen</translation>
    </message>
    <message>
        <source>The plan of &quot;%1&quot; could not be written to its dispatch file. It applies until the program ends.</source>
        <translation>Der Plan von „%1“ konnte nicht in seine Dienstplandatei geschrieben werden. Er gilt bis zum Programmende.</translation>
    </message>
    <message>
        <source>No program could be started to show the plan. It was written to &quot;%1&quot;.</source>
        <translation>Es konnte kein Programm zum Anzeigen des Plans gestartet werden. Er wurde in „%1“ geschrieben.</translation>
    </message>
    <message>
        <source>The plan could not be written: %1.</source>
        <translation>Der Plan konnte nicht geschrieben werden: %1.</translation>
    </message>
    <message>
        <source>The alarm server no longer knows:
%1

The changes were written to their own dispatch files all the same; they apply once the alarm server lists them again.</source>
        <translation>Der Alarmserver kennt nicht mehr:
%1

Die Änderungen wurden trotzdem in die eigenen Einsatzdateien geschrieben; sie gelten, sobald der Alarmserver sie wieder führt.</translation>
    </message>
    <message>
        <source>All groups</source>
        <translation>Alle Gruppen</translation>
    </message>
    <message>
        <source>All receivers</source>
        <translation>Alle Empfänger</translation>
    </message>
    <message>
        <source>Save duty calendar</source>
        <translation>Dienstkalender speichern</translation>
    </message>
    <message>
        <source>iCalendar (*.ics)</source>
        <translation>iCalendar (*.ics)</translation>
    </message>
    <message>
        <source>The calendar could not be written to &quot;%1&quot;: %2.</source>
        <translation>Der Kalender konnte nicht in „%1“ geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, Delete unmarks.</source>
        <translation>Tastatur: Pfeiltasten bewegen, Umschalt+Pfeil erweitert, Strg+Pfeil auf/ab springt eine Stunde, Leertaste markiert, Entf hebt auf.</translation>
    </message>
    <message>
        <source>No gap in cover in the weeks shown.</source>
        <translation>Keine Lücke in der Besetzung in den gezeigten Wochen.</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Lücken in der Besetzung: %1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weitere</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>When the group is on duty by its own plan (always, without one) and fewer of its members than it needs are on duty, in the weeks shown</source>
        <translation>Wann die Gruppe nach ihrem eigenen Plan Dienst hat (ohne Plan immer) und weniger Mitglieder als nötig Dienst haben, in den gezeigten Wochen</translation>
    </message>
    <message>
        <source>All gaps...</source>
        <translation>Alle Lücken...</translation>
    </message>
    <message>
        <source>List every gap in cover in the weeks shown</source>
        <translation>Alle Lücken in der Besetzung der gezeigten Wochen auflisten</translation>
    </message>
    <message>
        <source>&amp;Members needed on duty:</source>
        <translation>Benötigte &amp;Mitglieder im Dienst:</translation>
    </message>
    <message>
        <source>Not watched</source>
        <translation>Nicht überwacht</translation>
    </message>
    <message>
        <source>How many members the coverage guard wants on duty while the group is on duty by its own plan; 0 leaves the group out of the guard</source>
        <translation>Wie viele Mitglieder die Besetzungsüberwachung im Dienst erwartet, während die Gruppe nach ihrem eigenen Plan Dienst hat; 0 nimmt die Gruppe von der Überwachung aus</translation>
    </message>
    <message>
        <source>Gaps in cover</source>
        <translation>Lücken in der Besetzung</translation>
    </message>
</context>
<context>
    <name>CEnterPasswordDlg</name>
    <message>
        <source>Please enter your password</source>
        <translation>Bitte geben Sie Ihr Passwort ein</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source>Print / export plan of action</source>
        <translation>Einsatzplan drucken / exportieren</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Mitglieder</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group:</source>
        <translation>&amp;Nur Empfänger/Gruppe:</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group: %1</source>
        <translation>&amp;Nur Empfänger/Gruppe: %1</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>The current &amp;week: %1</source>
        <translation>Die aktuelle &amp;Woche: %1</translation>
    </message>
    <message>
        <source>The current &amp;month: %1</source>
        <translation>Der aktuelle &amp;Monat: %1</translation>
    </message>
    <message>
        <source>Only the plan of the selected receiver or group</source>
        <translation>Nur der Plan des ausgewählten Empfängers oder der ausgewählten Gruppe</translation>
    </message>
    <message>
        <source>The plans of all entries of the list shown (receivers or groups)</source>
        <translation>Die Pläne aller Einträge der angezeigten Liste (Empfänger oder Gruppen)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>&amp;HTML table</source>
        <translation>&amp;HTML-Tabelle</translation>
    </message>
    <message>
        <source>&amp;iCalendar (.ics)</source>
        <translation>&amp;iCalendar (.ics)</translation>
    </message>
    <message>
        <source>One calendar event per span of duty, for calendar programs</source>
        <translation>Ein Kalendertermin je Dienstzeitraum, für Kalenderprogramme</translation>
    </message>
    <message>
        <source>&amp;All groups</source>
        <translation>&amp;Alle Gruppen</translation>
    </message>
    <message>
        <source>&amp;All receivers</source>
        <translation>&amp;Alle Empfänger</translation>
    </message>
</context>
<context>
    <name>CGeneralSettingsDialog</name>
    <message>
        <source>General Setup</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Working days</source>
        <translation>Arbeitstage</translation>
    </message>
    <message>
        <source>Mo</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tu</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>We</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Th</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fr</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sa</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Su</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Monday is a working day</source>
        <translation>Montag ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Tuesday is a working day</source>
        <translation>Dienstag ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Wednesday is a working day</source>
        <translation>Mittwoch ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Thursday is a working day</source>
        <translation>Donnerstag ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Friday is a working day</source>
        <translation>Freitag ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Saturday is a working day</source>
        <translation>Samstag ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Sunday is a working day</source>
        <translation>Sonntag ist ein Arbeitstag</translation>
    </message>
    <message>
        <source>Days that are not checked and are no holidays count as weekend days</source>
        <translation>Nicht angekreuzte Tage, die keine Feiertage sind, gelten als Wochenendtage</translation>
    </message>
    <message>
        <source>Work time</source>
        <translation>Arbeitszeit</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Bis:</translation>
    </message>
    <message>
        <source>&amp;When the window is closed:</source>
        <translation>Beim &amp;Schließen des Fensters:</translation>
    </message>
    <message>
        <source>Quit Kelvaris</source>
        <translation>Kelvaris beenden</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Fenster ausblenden</translation>
    </message>
    <message>
        <source>Minimize window</source>
        <translation>Fenster minimieren</translation>
    </message>
</context>
<context>
    <name>CHistoryDialog</name>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Holder of a group</source>
        <translation>Inhaber einer Gruppe</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Aktivierung</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Kennwortschutz</translation>
    </message>
    <message>
        <source>Takeover messages</source>
        <translation>Übernahmemeldungen</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Schichten</translation>
    </message>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Sperren/Pausen</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>Feiertage</translation>
    </message>
    <message>
        <source>Target list</source>
        <translation>Zielliste</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>Änderungsjournal</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Windowless program</source>
        <translation>Programm ohne Fenster</translation>
    </message>
    <message>
        <source>Outside Kelvaris</source>
        <translation>Außerhalb von Kelvaris</translation>
    </message>
    <message>
        <source>Takeover of duty</source>
        <translation>Dienstübernahme</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Alarmserver</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>&amp;Since:</source>
        <translation>&amp;Seit:</translation>
    </message>
    <message>
        <source>Show the changes from this day on</source>
        <translation>Die Änderungen ab diesem Tag zeigen</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Art:</translation>
    </message>
    <message>
        <source>Show only changes of this kind</source>
        <translation>Nur Änderungen dieser Art zeigen</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>Alle Arten</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Ziel:</translation>
    </message>
    <message>
        <source>Show only changes of this target</source>
        <translation>Nur Änderungen dieses Ziels zeigen</translation>
    </message>
    <message>
        <source>All targets</source>
        <translation>Alle Ziele</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message>
        <source>Through</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Was</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Warum</translation>
    </message>
    <message>
        <source>Open an entry to see its content before and after the change</source>
        <translation>Einen Eintrag öffnen, um seinen Inhalt vor und nach der Änderung zu sehen</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>&amp;Before and after...</source>
        <translation>&amp;Vorher und nachher...</translation>
    </message>
    <message>
        <source>No edit journal is kept in this data folder yet.</source>
        <translation>In diesem Datenordner wird noch kein Änderungsjournal geführt.</translation>
    </message>
    <message>
        <source>The edit journal cannot be read: %1</source>
        <translation>Das Änderungsjournal kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The newest %1 changes since that day are listed.</source>
        <translation>Die neuesten %1 Änderungen seit diesem Tag sind aufgeführt.</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) listed.</source>
        <translation>
            <numerusform>%n Änderung aufgeführt.</numerusform>
            <numerusform>%n Änderungen aufgeführt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Duty notice</source>
        <translation>Diensthinweis</translation>
    </message>
</context>
<context>
    <name>CHistoryEntryDialog</name>
    <message>
        <source>Change %1</source>
        <translation>Änderung %1</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Zeit:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Through:</source>
        <translation>Über:</translation>
    </message>
    <message>
        <source>Password typed for:</source>
        <translation>Kennwort eingegeben für:</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>Was:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Ziel:</translation>
    </message>
    <message>
        <source>Why:</source>
        <translation>Warum:</translation>
    </message>
    <message>
        <source>Lines removed</source>
        <translation>Entfernte Zeilen</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vorher</translation>
    </message>
    <message>
        <source>Lines added</source>
        <translation>Hinzugefügte Zeilen</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nachher</translation>
    </message>
</context>
<context>
    <name>CHolidayAuto</name>
    <message>
        <source>Enter the Years</source>
        <translation>Jahre eingeben</translation>
    </message>
    <message>
        <source>&amp;From year:</source>
        <translation>&amp;Von Jahr:</translation>
    </message>
    <message>
        <source>&amp;To year:</source>
        <translation>&amp;Bis Jahr:</translation>
    </message>
    <message>
        <source>Years from 1901 to 2099</source>
        <translation>Jahre von 1901 bis 2099</translation>
    </message>
</context>
<context>
    <name>CHolidayEntry</name>
    <message>
        <source>Holiday</source>
        <translation>Feiertag</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>The name shown in the holiday list</source>
        <translation>Der in der Feiertagsliste angezeigte Name</translation>
    </message>
</context>
<context>
    <name>CHolidayListDialog</name>
    <message>
        <source>Holidays</source>
        <translation>Feiertage</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>Feiertag</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automatisch</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Add a holiday</source>
        <translation>Einen Feiertag hinzufügen</translation>
    </message>
    <message>
        <source>Change the selected holiday (or double-click it)</source>
        <translation>Den ausgewählten Feiertag ändern (oder darauf doppelklicken)</translation>
    </message>
    <message>
        <source>Remove the selected holiday</source>
        <translation>Den ausgewählten Feiertag entfernen</translation>
    </message>
    <message>
        <source>Add the statutory holidays of a span of years</source>
        <translation>Die gesetzlichen Feiertage eines Zeitraums von Jahren hinzufügen</translation>
    </message>
    <message numerus="yes">
        <source>%n holiday(s) added.</source>
        <translation>
            <numerusform>%n Feiertag hinzugefügt.</numerusform>
            <numerusform>%n Feiertage hinzugefügt.</numerusform>
        </translation>
    </message>
    <message>
        <source>No holiday added: those of %1 to %2 are listed already or not known.</source>
        <translation>Kein Feiertag hinzugefügt: die von %1 bis %2 stehen schon in der Liste oder sind nicht bekannt.</translation>
    </message>
</context>
<context>
    <name>CHolidaysArray</name>
    <message>
        <source>New Year</source>
        <translation>Neujahr</translation>
    </message>
    <message>
        <source>Good Friday</source>
        <translation>Karfreitag</translation>
    </message>
    <message>
        <source>Easter Sunday</source>
        <translation>Ostersonntag</translation>
    </message>
    <message>
        <source>Easter Monday</source>
        <translation>Ostermontag</translation>
    </message>
    <message>
        <source>Labour Day</source>
        <translation>Tag der Arbeit</translation>
    </message>
    <message>
        <source>Ascension Day </source>
        <translation>Christi Himmelfahrt </translation>
    </message>
    <message>
        <source>Whitsunday</source>
        <translation>Pfingstsonntag</translation>
    </message>
    <message>
        <source>Whitmonday</source>
        <translation>Pfingstmontag</translation>
    </message>
    <message>
        <source>German Unification Day</source>
        <translation>Tag der Deutschen Einheit</translation>
    </message>
    <message>
        <source>Christmas Day</source>
        <translation>1. Weihnachtsfeiertag</translation>
    </message>
    <message>
        <source>Boxing Day</source>
        <translation>2. Weihnachtsfeiertag</translation>
    </message>
</context>
<context>
    <name>CKelvarisApp</name>
    <message>
        <source>Configuration path: </source>
        <translation>Konfigurationspfad: </translation>
    </message>
    <message>
        <source>Dispatch plans (*.tim);;All Files (*)</source>
        <translation>Dienstpläne (*.tim);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The password could not be stored in the configuration file.
It protects the program until it ends.</source>
        <translation>Das Passwort konnte nicht in der Konfigurationsdatei gespeichert werden.
Es schützt das Programm bis zu seinem Ende.</translation>
    </message>
    <message>
        <source>Kelvaris cannot answer the dispatch checks of the alarm server:
%1</source>
        <translation>Kelvaris kann die Einsatzabfragen des Alarmservers nicht beantworten:
%1</translation>
    </message>
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Aktuelle Schicht</translation>
    </message>
    <message>
        <source>Current Barrier/Pause</source>
        <translation>Aktuelle Sperre/Pause</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Logbuch</translation>
    </message>
    <message>
        <source>Plan of action</source>
        <translation>Einsatzplan</translation>
    </message>
    <message>
        <source>from:</source>
        <translation>von:</translation>
    </message>
    <message>
        <source>to:</source>
        <translation>bis:</translation>
    </message>
    <message>
        <source>Now dispatched</source>
        <translation>Jetzt im Dienst</translation>
    </message>
    <message>
        <source>The receivers and groups on duty now; double-click one to plan its duty</source>
        <translation>Die Empfänger und Gruppen, die jetzt Dienst haben; Doppelklick auf einen Eintrag plant dessen Dienst</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Deactivated</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>No barrier/pause</source>
        <translation>Keine Sperre/Pause</translation>
    </message>
    <message>
        <source>No shift</source>
        <translation>Keine Schicht</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Gestartet</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier</source>
        <translation>Sperre/Pause mit Löschen;Sperre/Pause mit Senden;Pause ohne Sperre</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Schicht</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The changes could not be saved in %1: %2

Kelvaris keeps them and tries again every 30 seconds.</source>
        <translation>Die Änderungen konnten nicht in %1 gespeichert werden: %2

Kelvaris behält sie und versucht es alle 30 Sekunden erneut.</translation>
    </message>
    <message>
        <source>Log Files (*.log);;Text Files (*.txt);;All Files (*)</source>
        <translation>Logdateien (*.log);;Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The logbook could not be saved in %1: %2</source>
        <translation>Das Logbuch konnte nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Nearest gap in cover</source>
        <translation>Nächste Lücke in der Besetzung</translation>
    </message>
    <message>
        <source>None within 24 hours</source>
        <translation>Keine innerhalb von 24 Stunden</translation>
    </message>
    <message>
        <source>Every alarm group has a member on duty for the next 24 hours</source>
        <translation>Jede Alarmgruppe hat in den nächsten 24 Stunden ein Mitglied im Dienst</translation>
    </message>
    <message>
        <source>%1: nobody on duty %2</source>
        <translation>%1: niemand im Dienst %2</translation>
    </message>
    <message>
        <source>The gaps in cover within 24 hours:</source>
        <translation>Die Lücken in der Besetzung innerhalb von 24 Stunden:</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>CLanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Choose the language of the user interface:</source>
        <translation>Wählen Sie die Sprache der Benutzeroberfläche:</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Activate	Ctrl+A</source>
        <translation>&amp;Aktivieren	Ctrl+A</translation>
    </message>
    <message>
        <source>Activate the schedule: the alarm server is told the current shift and barrier</source>
        <translation>Dienstplan aktivieren: Dem Alarmserver werden die aktuelle Schicht und Sperre mitgeteilt</translation>
    </message>
    <message>
        <source>&amp;Deactivate	Ctrl+D</source>
        <translation>&amp;Deaktivieren	Ctrl+D</translation>
    </message>
    <message>
        <source>Deactivate the schedule: no shift and no barrier apply</source>
        <translation>Dienstplan deaktivieren: Es gelten keine Schicht und keine Sperre</translation>
    </message>
    <message>
        <source>Activate a&amp;utomatically</source>
        <translation>A&amp;utomatisch aktivieren</translation>
    </message>
    <message>
        <source>Activate the schedule whenever the program starts</source>
        <translation>Dienstplan bei jedem Programmstart aktivieren</translation>
    </message>
    <message>
        <source>&amp;Save logfile...</source>
        <translation>&amp;Logbuch speichern...</translation>
    </message>
    <message>
        <source>Save the logbook in a text file</source>
        <translation>Logbuch in einer Textdatei speichern</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Programm beenden</translation>
    </message>
    <message>
        <source>&amp;General Setup...</source>
        <translation>&amp;Allgemeine Einstellungen...</translation>
    </message>
    <message>
        <source>Edit the working days, the working time and what closing the window does</source>
        <translation>Arbeitstage, Arbeitszeit und das Verhalten beim Schließen des Fensters bearbeiten</translation>
    </message>
    <message>
        <source>Takeover &amp;messages...</source>
        <translation>Übernahme&amp;meldungen...</translation>
    </message>
    <message>
        <source>Edit the texts of the takeover messages</source>
        <translation>Texte der Übernahmemeldungen bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>Sp&amp;rache...</translation>
    </message>
    <message>
        <source>Choose the language of the program</source>
        <translation>Sprache des Programms auswählen</translation>
    </message>
    <message>
        <source>&amp;Plan of action...	Ctrl+E</source>
        <translation>&amp;Einsatzplan...	Ctrl+E</translation>
    </message>
    <message>
        <source>Plan when the receivers and groups are on duty</source>
        <translation>Planen, wann die Empfänger und Gruppen Dienst haben</translation>
    </message>
    <message>
        <source>&amp;Shifts...	Ctrl+S</source>
        <translation>&amp;Schichten...	Ctrl+S</translation>
    </message>
    <message>
        <source>Edit the shifts</source>
        <translation>Schichten bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Barriers/Pauses...	Ctrl+P</source>
        <translation>Sperren/&amp;Pausen...	Ctrl+P</translation>
    </message>
    <message>
        <source>Edit the barriers and pauses</source>
        <translation>Sperren und Pausen bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Holidays...	Ctrl+F</source>
        <translation>&amp;Feiertage...	Ctrl+F</translation>
    </message>
    <message>
        <source>Edit the holidays</source>
        <translation>Feiertage bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Password...</source>
        <translation>Pass&amp;wort...</translation>
    </message>
    <message>
        <source>Set or change the password that protects the commands</source>
        <translation>Passwort festlegen oder ändern, das die Befehle schützt</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Symbolleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Statusleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>&amp;Systeminformationen...</translation>
    </message>
    <message>
        <source>Show information about the system and the configuration files</source>
        <translation>Informationen über das System und die Konfigurationsdateien anzeigen</translation>
    </message>
    <message>
        <source>&amp;About Kelvaris...</source>
        <translation>Ü&amp;ber Kelvaris...</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and copyright</source>
        <translation>Version und Copyright des Programms anzeigen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Start again from the configuration file</source>
        <translation>Neu mit der Konfigurationsdatei beginnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open a dispatch plan</source>
        <translation>Dienstplan öffnen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>&amp;Show Kelvaris</source>
        <translation>Kelvaris &amp;anzeigen</translation>
    </message>
    <message>
        <source>There is no system tray to hide the window in: it is minimized instead</source>
        <translation>Es gibt keinen Infobereich, in dem das Fenster ausgeblendet werden kann: es wird stattdessen minimiert</translation>
    </message>
    <message>
        <source>Journal not written since %1</source>
        <translation>Änderungsjournal nicht geschrieben seit %1</translation>
    </message>
    <message>
        <source>The edit journal cannot be written since %1. The changes are kept and written as soon as it can be again.</source>
        <translation>Das Änderungsjournal kann seit %1 nicht geschrieben werden. Die Änderungen werden aufbewahrt und geschrieben, sobald es wieder geht.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;Verlauf...</translation>
    </message>
    <message>
        <source>Show who changed the plans and settings, and when</source>
        <translation>Zeigen, wer die Pläne und Einstellungen wann geändert hat</translation>
    </message>
    <message>
        <source>Duty &amp;notices...</source>
        <translation>Dienst&amp;hinweise...</translation>
    </message>
    <message>
        <source>Choose when people are paged about their duty, and the texts</source>
        <translation>Festlegen, wann Personen über ihren Dienst benachrichtigt werden, und die Texte</translation>
    </message>
</context>
<context>
    <name>CNoticeSettingsDialog</name>
    <message>
        <source>Duty Notices</source>
        <translation>Diensthinweise</translation>
    </message>
    <message>
        <source>&amp;Remind before a duty begins:</source>
        <translation>&amp;Erinnern vor Dienstbeginn:</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>no reminders</source>
        <translation>keine Erinnerungen</translation>
    </message>
    <message>
        <source>Each person is paged this long before a duty of theirs begins</source>
        <translation>Jede Person wird so lange vor Beginn ihres Dienstes benachrichtigt</translation>
    </message>
    <message>
        <source>Tell &amp;changes of the duty within:</source>
        <translation>Dienst&amp;änderungen melden innerhalb von:</translation>
    </message>
    <message>
        <source> h</source>
        <translation> h</translation>
    </message>
    <message>
        <source>no change notices</source>
        <translation>keine Änderungshinweise</translation>
    </message>
    <message>
        <source>An edit that adds, removes or moves a duty within this time is paged to the person</source>
        <translation>Eine Änderung, die innerhalb dieser Zeit einen Dienst hinzufügt, entfernt oder verschiebt, wird der Person gemeldet</translation>
    </message>
    <message>
        <source>After a stop, &amp;send notices late by up to:</source>
        <translation>Nach einem Halt Hinweise &amp;senden, wenn höchstens so spät:</translation>
    </message>
    <message>
        <source>A notice whose moment passed while Kelvaris was stopped is dropped when it is later</source>
        <translation>Ein Hinweis, dessen Zeitpunkt verstrich, während Kelvaris angehalten war, wird bei größerer Verspätung verworfen</translation>
    </message>
    <message>
        <source>&amp;Daily summary at</source>
        <translation>&amp;Tägliche Übersicht um</translation>
    </message>
    <message>
        <source>Who is on duty today in each group, and the day&apos;s gaps in cover</source>
        <translation>Wer heute in jeder Gruppe Dienst hat, und die Lücken des Tages in der Besetzung</translation>
    </message>
    <message>
        <source>Summary &amp;to (target IDs, separated by &quot;;&quot;):</source>
        <translation>Übersicht a&amp;n (Ziel-IDs, durch &quot;;&quot; getrennt):</translation>
    </message>
    <message>
        <source>Re&amp;minder text:</source>
        <translation>Erinnerungste&amp;xt:</translation>
    </message>
    <message>
        <source>&amp;Holder text:</source>
        <translation>&amp;Inhabertext:</translation>
    </message>
    <message>
        <source>S&amp;ummary text:</source>
        <translation>Ü&amp;bersichtstext:</translation>
    </message>
    <message>
        <source>Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</source>
        <translation>Platzhalter: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</translation>
    </message>
    <message>
        <source>Chan&amp;ge text:</source>
        <translation>Än&amp;derungstext:</translation>
    </message>
    <message>
        <source>Time of the daily summary</source>
        <translation>Uhrzeit der täglichen Übersicht</translation>
    </message>
    <message>
        <source>Texts of the notices</source>
        <translation>Texte der Hinweise</translation>
    </message>
</context>
<context>
    <name>CPlanExport</name>
    <message>
        <source>All Groups</source>
        <translation>Alle Gruppen</translation>
    </message>
    <message>
        <source>All Receiver</source>
        <translation>Alle Empfänger</translation>
    </message>
    <message>
        <source>January;February;March;April;May;June;July;August;September;October;November;December</source>
        <translation>Januar;Februar;März;April;Mai;Juni;Juli;August;September;Oktober;November;Dezember</translation>
    </message>
</context>
<context>
    <name>CPlannerAccessible</name>
    <message>
        <source>no duty</source>
        <translation>kein Dienst</translation>
    </message>
</context>
<context>
    <name>CPlannerWidget</name>
    <message>
        <source>Mark duty with the mouse: click a quarter hour or drag over several; held past the top or bottom edge, the grid scrolls on.</source>
        <translation>Dienst mit der Maus markieren: eine Viertelstunde anklicken oder über mehrere ziehen; über den oberen oder unteren Rand hinaus gehalten, rollt das Raster weiter.</translation>
    </message>
    <message>
        <source>With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection (or unmarks it when the current cell is marked).</source>
        <translation>Mit der Tastatur: die Pfeiltasten bewegen, Umschalt+Pfeiltasten erweitern die Auswahl, Bild auf/Bild ab blättern um eine Seite, Pos1/Ende springen zur ersten/letzten Viertelstunde, die Leertaste markiert die Auswahl (oder hebt die Markierung auf, wenn die aktuelle Zelle markiert ist).</translation>
    </message>
    <message>
        <source>Double click or Enter on a member&apos;s cell opens that receiver.</source>
        <translation>Doppelklick oder Eingabetaste auf der Zelle eines Mitglieds öffnet diesen Teilnehmer.</translation>
    </message>
    <message>
        <source>Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection.</source>
        <translation>Strg+Pfeil nach oben/unten springt um eine Stunde, Entf hebt die Markierung der Auswahl auf.</translation>
    </message>
</context>
<context>
    <name>CPrivateFolder</name>
    <message>
        <source>the folder &quot;%1&quot; cannot be created: %2</source>
        <translation>der Ordner „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be used: %2</source>
        <translation>der Ordner „%1“ kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link, not a folder</source>
        <translation>„%1“ ist eine Verknüpfung, kein Ordner</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>„%1“ ist kein Ordner</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; belongs to another user</source>
        <translation>der Ordner „%1“ gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; can be written by other users</source>
        <translation>in den Ordner „%1“ können andere Benutzer schreiben</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be written: %2</source>
        <translation>die Datei „%1“ kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>CScheduleEntry</name>
    <message>
        <source>&amp;Identification:</source>
        <translation>&amp;Bezeichnung:</translation>
    </message>
    <message>
        <source>&amp;Date type:</source>
        <translation>&amp;Datumstyp:</translation>
    </message>
    <message>
        <source>D&amp;ate:</source>
        <translation>D&amp;atum:</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>&amp;Startzeit:</translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation>&amp;Endzeit:</translation>
    </message>
    <message>
        <source>The first second of the time window</source>
        <translation>Die erste Sekunde des Zeitfensters</translation>
    </message>
    <message>
        <source>The last second of the time window; it must be later than the start time</source>
        <translation>Die letzte Sekunde des Zeitfensters; sie muss nach der Startzeit liegen</translation>
    </message>
</context>
<context>
    <name>CScheduleListDialog</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Add a new entry</source>
        <translation>Einen neuen Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>Edit the selected entry (or double-click it)</source>
        <translation>Den ausgewählten Eintrag bearbeiten (oder darauf doppelklicken)</translation>
    </message>
    <message>
        <source>Remove the selected entry</source>
        <translation>Den ausgewählten Eintrag entfernen</translation>
    </message>
</context>
<context>
    <name>CSetupPasswordDlg</name>
    <message>
        <source>The password and the confirmed password do not match.
Please type them again.</source>
        <translation>Das Passwort und das bestätigte Passwort stimmen nicht überein.
Bitte geben Sie beide erneut ein.</translation>
    </message>
    <message>
        <source>Password Setup</source>
        <translation>Passwort einrichten</translation>
    </message>
    <message>
        <source>&amp;Enter Password:</source>
        <translation>&amp;Passwort eingeben:</translation>
    </message>
    <message>
        <source>&amp;Confirm Password:</source>
        <translation>Passwort &amp;bestätigen:</translation>
    </message>
    <message>
        <source>&amp;Setups</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>(All functions in the Setup menu)</source>
        <translation>(Alle Funktionen im Menü Einstellungen)</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>Be&amp;dienung</translation>
    </message>
    <message>
        <source>(All functions in the File menu)</source>
        <translation>(Alle Funktionen im Menü Datei)</translation>
    </message>
    <message>
        <source>E&amp;xit the program</source>
        <translation>Pro&amp;gramm beenden</translation>
    </message>
    <message>
        <source>An empty password removes the password protection</source>
        <translation>Ein leeres Passwort hebt den Passwortschutz auf</translation>
    </message>
</context>
<context>
    <name>CShiftEntry</name>
    <message>
        <source>No Shift</source>
        <translation>Keine Schicht</translation>
    </message>
    <message>
        <source>W%1</source>
        <extracomment>A calendar week in the rotation&apos;s start week list: W1 is week 1.</extracomment>
        <translation>KW%1</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Schicht</translation>
    </message>
    <message>
        <source>Shift &amp;no.:</source>
        <translation>Schicht-&amp;Nr.:</translation>
    </message>
    <message>
        <source>&amp;Weekly rotation starting in week:</source>
        <translation>&amp;Wöchentliche Rotation ab Woche:</translation>
    </message>
    <message>
        <source>&amp;Cycle:</source>
        <translation>&amp;Zyklus:</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>Wochen</translation>
    </message>
    <message>
        <source>The shift number told to the alarm server; choose one or type it. &quot;No Shift&quot; means that no shift is on duty</source>
        <translation>Die dem Alarmserver mitgeteilte Schichtnummer; wählen Sie eine aus oder geben Sie sie ein. „Keine Schicht“ bedeutet, dass keine Schicht Dienst hat</translation>
    </message>
    <message>
        <source>The shift number advances by one each calendar week through the cycle; only for a weekday, working day or weekend shift with a number</source>
        <translation>Die Schichtnummer steigt mit jeder Kalenderwoche um eins und durchläuft den Zyklus; nur für eine Wochentags-, Arbeitstags- oder Wochenendschicht mit Nummer</translation>
    </message>
    <message>
        <source>The number of weeks of the rotation; choose one or type it</source>
        <translation>Die Anzahl der Wochen der Rotation; wählen Sie eine aus oder geben Sie sie ein</translation>
    </message>
</context>
<context>
    <name>CShiftListDialog</name>
    <message>
        <source>Identification</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Datumstyp</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Endzeit</translation>
    </message>
    <message>
        <source>Shift no.</source>
        <translation>Schicht-Nr.</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Schichten</translation>
    </message>
</context>
<context>
    <name>CSystemInfoDialog</name>
    <message>
        <source>System information</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy the system information to the clipboard</source>
        <translation>Systeminformationen in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Operating system: %1</source>
        <translation>Betriebssystem: %1</translation>
    </message>
    <message>
        <source>Kernel: %1 %2</source>
        <translation>Kernel: %1 %2</translation>
    </message>
    <message>
        <source>Qt version: %1</source>
        <translation>Qt-Version: %1</translation>
    </message>
    <message>
        <source>Locale: %1</source>
        <translation>Gebietsschema: %1</translation>
    </message>
</context>
<context>
    <name>CTakeoverMode</name>
    <message>
        <source>Please confirm the takeover of duty for {{GROUP}}</source>
        <translation>Bitte bestätigen Sie die Dienstübernahme für {{GROUP}}</translation>
    </message>
    <message>
        <source>The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}</source>
        <translation>Die Dienstübernahme für {{GROUP}} wurde von {{NEXT}} bestätigt</translation>
    </message>
    <message>
        <source>Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}</source>
        <translation>Achtung! - Der Dienst für {{GROUP}} wurde von {{NEXT}} nicht übernommen</translation>
    </message>
</context>
<context>
    <name>CTakeoverTextsDlg</name>
    <message>
        <source>Messages used for takeover mode</source>
        <translation>Meldungen für den Übernahmemodus</translation>
    </message>
    <message>
        <source>&amp;Request for takeover:</source>
        <translation>Übernahme&amp;anfrage:</translation>
    </message>
    <message>
        <source>&amp;Confirmation of takeover:</source>
        <translation>Übernahme&amp;bestätigung:</translation>
    </message>
    <message>
        <source>&amp;No response:</source>
        <translation>&amp;Keine Antwort:</translation>
    </message>
    <message>
        <source>Sent to the next user, asking to take over the duty</source>
        <translation>Wird an den nächsten Benutzer gesendet, mit der Bitte, den Dienst zu übernehmen</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one has taken over</source>
        <translation>Wird an den bisherigen Benutzer gesendet, wenn der nächste den Dienst übernommen hat</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one did not answer in time</source>
        <translation>Wird an den bisherigen Benutzer gesendet, wenn der nächste nicht rechtzeitig geantwortet hat</translation>
    </message>
    <message>
        <source>Placeholders</source>
        <translation>Platzhalter</translation>
    </message>
    <message>
        <source>{{GROUP}}	Name of the alarm group</source>
        <translation>{{GROUP}}	Name der Alarmgruppe</translation>
    </message>
    <message>
        <source>{{CURRENT}}	Name of the previous user</source>
        <translation>{{CURRENT}}	Name des bisherigen Benutzers</translation>
    </message>
    <message>
        <source>{{NEXT}}	User name for takeover</source>
        <translation>{{NEXT}}	Benutzername für die Übernahme</translation>
    </message>
</context>
<context>
    <name>CTimePlanner</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Montag;Dienstag;Mittwoch;Donnerstag;Freitag;Samstag;Sonntag</translation>
    </message>
    <message>
        <source>previous;Holiday;after</source>
        <translation>Vortag;Feiertag;Folgetag</translation>
    </message>
    <message>
        <source>Week %1:  %2 - %3</source>
        <translation>KW %1:  %2 - %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>What a row of the planner stands for, read by screen readers: &quot;10:00 to 10:15&quot;.</extracomment>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Nobody in the group is on duty</source>
        <translation>Niemand in der Gruppe hat Dienst</translation>
    </message>
    <message>
        <source>Last changed by %1 on %2</source>
        <translation>Zuletzt geändert von %1 am %2</translation>
    </message>
</context>
<context>
    <name>CTypedEntry</name>
    <message>
        <source>&quot;%1&quot; is not understood; %2 is kept.</source>
        <translation>„%1“ ist nicht verständlich; %2 bleibt.</translation>
    </message>
</context>
<context>
    <name>CWarningForwarder</name>
    <message>
        <source> (%1 more left out)</source>
        <translation> (%1 weitere ausgelassen)</translation>
    </message>
</context>
<context>
    <name>Coverage</name>
    <message>
        <source>Nobody in %1 is on duty %2</source>
        <translation>Niemand in %1 hat Dienst %2</translation>
    </message>
</context>
<context>
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Sonderdatum;Feiertag;Montag;Dienstag;Mittwoch;Donnerstag;Freitag;Samstag;Sonntag;Arbeitstag;Wochenende;Tag vor Feiertag;Tag nach Feiertag;</translation>
    </message>
</context>
<context>
    <name>DutyCalendar</name>
    <message>
        <source>%1 (group)</source>
        <translation>%1 (Gruppe)</translation>
    </message>
    <message>
        <source>Number: %1</source>
        <translation>Nummer: %1</translation>
    </message>
    <message>
        <source>Members: %1</source>
        <translation>Mitglieder: %1</translation>
    </message>
    <message>
        <source>Holder when written: %1</source>
        <translation>Inhaber beim Schreiben: %1</translation>
    </message>
</context>
<context>
    <name>DutyNotices</name>
    <message>
        <source>Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}</source>
        <translation>Erinnerung: Dienst für {{GROUP}} ab {{DATE}} {{START}} bis {{END}}</translation>
    </message>
    <message>
        <source>Your duty changed: {{CHANGES}}</source>
        <translation>Ihr Dienst hat sich geändert: {{CHANGES}}</translation>
    </message>
    <message>
        <source>You now hold {{GROUP}}</source>
        <translation>Sie haben jetzt den Dienst für {{GROUP}}</translation>
    </message>
    <message>
        <source>On duty {{DATE}}: {{SUMMARY}}</source>
        <translation>Im Dienst am {{DATE}}: {{SUMMARY}}</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>niemand</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Lücken in der Besetzung: %1</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent; it is tried again: %2</source>
        <translation>Hinweis an %1 konnte nicht gesendet werden; er wird erneut versucht: %2</translation>
    </message>
    <message>
        <source>Notice sent to %1: %2</source>
        <translation>Hinweis an %1 gesendet: %2</translation>
    </message>
    <message>
        <source>added</source>
        <translation>hinzugefügt</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
    <message>
        <source>Notice to %1 dropped, %2 minutes late: %3</source>
        <translation>Hinweis an %1 verworfen, %2 Minuten zu spät: %3</translation>
    </message>
    <message>
        <source>Notice to %1 held by the barrier/pause: %2</source>
        <translation>Hinweis an %1 durch die Sperre/Pause zurückgehalten: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the duty began during the barrier/pause: %2</source>
        <translation>Hinweis an %1 verworfen: der Dienst begann während der Sperre/Pause: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the alarm server does not list it: %2</source>
        <translation>Hinweis an %1 verworfen: der Alarmserver führt ihn nicht: %2</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent after %2 tries: %3</source>
        <translation>Hinweis an %1 konnte nach %2 Versuchen nicht gesendet werden: %3</translation>
    </message>
</context>
</TS>
