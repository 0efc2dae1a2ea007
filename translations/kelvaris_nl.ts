<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl">
<context>
    <name>BoardPages</name>
    <message>
        <source>Languages</source>
        <translation>Talen</translation>
    </message>
    <message>
        <source>Barrier: messages are deleted</source>
        <translation>Blokkade: meldingen worden verwijderd</translation>
    </message>
    <message>
        <source>Barrier: messages are held until its end</source>
        <translation>Blokkade: meldingen worden tot het einde vastgehouden</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pauze</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Toestand</translation>
    </message>
    <message>
        <source>Duty schedule</source>
        <translation>Dienstrooster</translation>
    </message>
    <message>
        <source>active</source>
        <translation>actief</translation>
    </message>
    <message>
        <source>not active</source>
        <translation>niet actief</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Dienst</translation>
    </message>
    <message>
        <source>none</source>
        <translation>geen</translation>
    </message>
    <message>
        <source>Barrier/pause</source>
        <translation>Blokkade/pauze</translation>
    </message>
    <message>
        <source>reachable</source>
        <translation>bereikbaar</translation>
    </message>
    <message>
        <source>not reachable</source>
        <translation>niet bereikbaar</translation>
    </message>
    <message>
        <source>last answer %1</source>
        <translation>laatste antwoord %1</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Alarmserver</translation>
    </message>
    <message>
        <source>Gaps in cover within 24 hours</source>
        <translation>Gaten in de bezetting binnen 24 uur</translation>
    </message>
    <message>
        <source>No group is without cover.</source>
        <translation>Geen groep is onbezet.</translation>
    </message>
    <message>
        <source>now</source>
        <translation>nu</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groepen</translation>
    </message>
    <message>
        <source>There are no groups.</source>
        <translation>Er zijn geen groepen.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Groep</translation>
    </message>
    <message>
        <source>On duty now</source>
        <translation>Nu in dienst</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Volgende wissel</translation>
    </message>
    <message>
        <source>holder</source>
        <translation>houder</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>niemand</translation>
    </message>
    <message>
        <source>none within a week</source>
        <translation>geen binnen een week</translation>
    </message>
    <message>
        <source>coming on: %1</source>
        <translation>komt: %1</translation>
    </message>
    <message>
        <source>going off: %1</source>
        <translation>gaat: %1</translation>
    </message>
    <message>
        <source>Receivers on duty now</source>
        <translation>Ontvangers nu in dienst</translation>
    </message>
    <message>
        <source>Nobody is on duty.</source>
        <translation>Niemand is in dienst.</translation>
    </message>
    <message>
        <source>until %1</source>
        <translation>tot %1</translation>
    </message>
    <message>
        <source>Who is on duty</source>
        <translation>Wie heeft dienst</translation>
    </message>
    <message>
        <source>The alarm server has not told Kelvaris its receivers and groups yet.</source>
        <translation>De alarmserver heeft Kelvaris zijn ontvangers en groepen nog niet doorgegeven.</translation>
    </message>
    <message>
        <source>Wall-screen view</source>
        <translation>Weergave voor het wandscherm</translation>
    </message>
    <message>
        <source>Duty plan of %1</source>
        <translation>Dienstrooster van %1</translation>
    </message>
    <message>
        <source>Week %1: %2 to %3</source>
        <translation>Week %1: %2 tot %3</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>Weken</translation>
    </message>
    <message>
        <source>Previous week</source>
        <translation>Vorige week</translation>
    </message>
    <message>
        <source>Back to the board</source>
        <translation>Terug naar het overzicht</translation>
    </message>
    <message>
        <source>Next week</source>
        <translation>Volgende week</translation>
    </message>
    <message>
        <source>Calendar (iCalendar)</source>
        <translation>Agenda (iCalendar)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Dag</translation>
    </message>
    <message>
        <source>On duty</source>
        <translation>In dienst</translation>
    </message>
    <message>
        <source>all day (no plan: always on duty)</source>
        <translation>de hele dag (geen rooster: altijd in dienst)</translation>
    </message>
    <message>
        <source>off duty</source>
        <translation>vrij</translation>
    </message>
    <message>
        <source>Address too long</source>
        <translation>Adres te lang</translation>
    </message>
    <message>
        <source>This address is longer than any page of the board.</source>
        <translation>Dit adres is langer dan elke pagina van het overzicht.</translation>
    </message>
    <message>
        <source>Token needed</source>
        <translation>Token vereist</translation>
    </message>
    <message>
        <source>This board is shown only with its token. Ask the operators of the alarm system for the address with the token.</source>
        <translation>Dit overzicht wordt alleen met zijn token getoond. Vraag de beheerders van het alarmsysteem om het adres met het token.</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Niet gevonden</translation>
    </message>
    <message>
        <source>The board has no page at this address.</source>
        <translation>Het overzicht heeft op dit adres geen pagina.</translation>
    </message>
    <message>
        <source>The alarm server knows no receiver or group with this ID.</source>
        <translation>De alarmserver kent geen ontvanger of groep met deze ID.</translation>
    </message>
    <message>
        <source>Not a date</source>
        <translation>Geen datum</translation>
    </message>
    <message>
        <source>The week is given by a date such as 2026-12-07.</source>
        <translation>De week wordt aangegeven met een datum zoals 2026-12-07.</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Kelvaris</source>
        <translation>Over Kelvaris</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versie %1</translation>
    </message>
    <message>
        <source>Keeps the duty schedule of an alarm and paging installation and drives its alarm server.</source>
        <translation>Beheert het dienstrooster van een alarmerings- en personenoproepinstallatie en stuurt de alarmserver ervan aan.</translation>
    </message>
    <message>
        <source>Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).</source>
        <translation>Gebruikt Qt %1, pugixml %2, RE2 en D-Bus (Qt D-Bus %3).</translation>
    </message>
</context>
<context>
    <name>CBarrageEntry</name>
    <message>
        <source>Barrier/Pause</source>
        <translation>Blokkering/pauze</translation>
    </message>
    <message>
        <source>Type of &amp;barrier/pause:</source>
        <translation>&amp;Type blokkering/pauze:</translation>
    </message>
    <message>
        <source>&amp;Priority:</source>
        <translation>&amp;Prioriteit:</translation>
    </message>
    <message>
        <source>The priority level of the messages let through; choose one or type its number</source>
        <translation>Het prioriteitsniveau van de berichten die worden doorgelaten; kies er een of typ het nummer</translation>
    </message>
    <message>
        <source>With deleting the message</source>
        <translation>Met verwijderen van het bericht</translation>
    </message>
    <message>
        <source>With sending after barrier</source>
        <translation>Met verzenden na de blokkering</translation>
    </message>
    <message>
        <source>No barrier</source>
        <translation>Geen blokkering</translation>
    </message>
    <message>
        <source>0 (Default)</source>
        <translation>0 (Standaard)</translation>
    </message>
    <message>
        <source>1 (Emergency)</source>
        <translation>1 (Noodgeval)</translation>
    </message>
    <message>
        <source>2 (very very high)</source>
        <translation>2 (zeer zeer hoog)</translation>
    </message>
    <message>
        <source>3 (very high)</source>
        <translation>3 (zeer hoog)</translation>
    </message>
    <message>
        <source>4 (high)</source>
        <translation>4 (hoog)</translation>
    </message>
    <message>
        <source>5 (normal)</source>
        <translation>5 (normaal)</translation>
    </message>
    <message>
        <source>6 (low)</source>
        <translation>6 (laag)</translation>
    </message>
    <message>
        <source>7 (very low)</source>
        <translation>7 (zeer laag)</translation>
    </message>
    <message>
        <source>8 (very very low)</source>
        <translation>8 (zeer zeer laag)</translation>
    </message>
</context>
<context>
    <name>CBarrageListDialog</name>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Blokkeringen/pauzes</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Identificatie</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Datumtype</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Begintijd</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Eindtijd</translation>
    </message>
    <message>
        <source>Type of barrier/pause</source>
        <translation>Type blokkering/pauze</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Prioriteit</translation>
    </message>
</context>
<context>
    <name>CDateEntryGuard</name>
    <message>
        <source>&quot;%1&quot; is not a valid date. Enter the date as %2, for example %3, or pick it from the calendar.</source>
        <translation>&quot;%1&quot; is geen geldige datum. Voer de datum in als %2, bijvoorbeeld %3, of kies deze in de kalender.</translation>
    </message>
</context>
<context>
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>Het ingevoerde wachtwoord is onjuist.</translation>
    </message>
</context>
<context>
    <name>CDispDuplicateDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>ongeldige periode</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Maandag;Dinsdag;Woensdag;Donderdag;Vrijdag;Zaterdag;Zondag</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>jaar,jaar,maand,maanden,week,weken,dag,dagen,uur,uur,minuut,minuten,seconde,seconden</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>geen inzet</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>één inzet</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 inzetten</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 kopieën</translation>
    </message>
    <message>
        <source>Duplicate dispatching</source>
        <translation>Inzet dupliceren</translation>
    </message>
    <message>
        <source>Time range to duplicate</source>
        <translation>Te dupliceren periode</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Van:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Tot en met:</translation>
    </message>
    <message>
        <source>Duplicate to</source>
        <translation>Dupliceren naar</translation>
    </message>
    <message>
        <source>&amp;Start:</source>
        <translation>&amp;Begin:</translation>
    </message>
    <message>
        <source>&amp;End:</source>
        <translation>&amp;Einde:</translation>
    </message>
    <message>
        <source>&amp;Copy dispatching:</source>
        <translation>Inzet &amp;kopiëren:</translation>
    </message>
    <message>
        <source>&amp;Remove dispatching:</source>
        <translation>Inzet ve&amp;rwijderen:</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching is copied</source>
        <translation>De ontvangers en groepen waarvan de inzet wordt gekopieerd</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching in the destination range is removed first</source>
        <translation>De ontvangers en groepen waarvan de inzet in de doelperiode eerst wordt verwijderd</translation>
    </message>
    <message>
        <source>The dispatch plan of these receivers and groups could not be saved:
%1</source>
        <translation>Het inzetplan van deze ontvangers en groepen kon niet worden opgeslagen:
%1</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Alles selecteren</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>&amp;Niets selecteren</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alles selecteren</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Niets selecteren</translation>
    </message>
    <message>
        <source>Check every entry of the list</source>
        <translation>Alle items van de lijst aanvinken</translation>
    </message>
    <message>
        <source>Uncheck every entry of the list</source>
        <translation>Alle items van de lijst uitvinken</translation>
    </message>
</context>
<context>
    <name>CDispRemoveDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>ongeldige periode</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>jaar,jaar,maand,maanden,week,weken,dag,dagen,uur,uur,minuut,minuten,seconde,seconden</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>geen inzet</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>één inzet</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 inzetten</translation>
    </message>
    <message>
        <source>Remove dispatching</source>
        <translation>Inzet verwijderen</translation>
    </message>
    <message>
        <source>Receiver:</source>
        <translation>Ontvanger:</translation>
    </message>
    <message>
        <source>Remove from</source>
        <translation>Verwijderen vanaf</translation>
    </message>
    <message>
        <source>Remove to</source>
        <translation>Verwijderen tot en met</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alles</translation>
    </message>
    <message>
        <source>&amp;Past</source>
        <translation>&amp;Verleden</translation>
    </message>
    <message>
        <source>&amp;Future</source>
        <translation>&amp;Toekomst</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>Van&amp;daag</translation>
    </message>
    <message>
        <source>From the first to the last day with dispatching</source>
        <translation>Van de eerste tot en met de laatste dag met inzet</translation>
    </message>
    <message>
        <source>From the first day with dispatching to yesterday</source>
        <translation>Van de eerste dag met inzet tot en met gisteren</translation>
    </message>
    <message>
        <source>From tomorrow to the last day with dispatching</source>
        <translation>Van morgen tot en met de laatste dag met inzet</translation>
    </message>
    <message>
        <source>Today only</source>
        <translation>Alleen vandaag</translation>
    </message>
    <message>
        <source>The dispatch plan of %1 could not be saved.</source>
        <translation>Het inzetplan van %1 kon niet worden opgeslagen.</translation>
    </message>
</context>
<context>
    <name>CDispatchingDlg</name>
    <message>
        <source>Plan of action</source>
        <translation>Inzetplan</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Ontvangers</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groepen</translation>
    </message>
    <message>
        <source>&amp;Activate takeover mode</source>
        <translation>&amp;Overnamemodus activeren</translation>
    </message>
    <message>
        <source>While takeover mode is active, a member of the group is asked to take over the duty when it is due</source>
        <translation>Zolang de overnamemodus actief is, wordt een lid van de groep gevraagd de dienst over te nemen zodra die ingaat</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Vandaag</translation>
    </message>
    <message>
        <source>Show the current week</source>
        <translation>De huidige week weergeven</translation>
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
        <translation>De weergegeven week</translation>
    </message>
    <message>
        <source>&lt; previous schedule</source>
        <translation>&lt; vorige planning</translation>
    </message>
    <message>
        <source>Show the latest week before this one that holds a plan</source>
        <translation>De dichtstbijzijnde eerdere week met een plan weergeven</translation>
    </message>
    <message>
        <source>next schedule &gt;</source>
        <translation>volgende planning &gt;</translation>
    </message>
    <message>
        <source>Show the earliest week after this one that holds a plan</source>
        <translation>De dichtstbijzijnde latere week met een plan weergeven</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>&amp;Copy...</source>
        <translation>&amp;Kopiëren...</translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation>&amp;Verwijderen...</translation>
    </message>
    <message>
        <source>Remove the plan of the selected entry on a span of days</source>
        <translation>Het plan van het geselecteerde item voor een reeks dagen verwijderen</translation>
    </message>
    <message>
        <source>&amp;Duplicate...</source>
        <translation>&amp;Dupliceren...</translation>
    </message>
    <message>
        <source>Repeat the plan of a span of days over another span</source>
        <translation>Het plan van een reeks dagen over een andere reeks herhalen</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Afdrukken...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exporteren...</translation>
    </message>
    <message>
        <source>Show the two weeks before</source>
        <translation>De twee voorgaande weken weergeven</translation>
    </message>
    <message>
        <source>Show the two weeks after</source>
        <translation>De twee volgende weken weergeven</translation>
    </message>
    <message>
        <source>Show the week before</source>
        <translation>De vorige week weergeven</translation>
    </message>
    <message>
        <source>Show the week after</source>
        <translation>De volgende week weergeven</translation>
    </message>
    <message>
        <source>The plan of &quot;%1&quot; could not be written to its dispatch file. It applies until the program ends.</source>
        <translation>Het plan van &quot;%1&quot; kon niet naar het bijbehorende inzetbestand worden geschreven. Het geldt totdat het programma wordt afgesloten.</translation>
    </message>
    <message>
        <source>No program could be started to show the plan. It was written to &quot;%1&quot;.</source>
        <translation>Er kon geen programma worden gestart om het plan weer te geven. Het is opgeslagen in &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The plan could not be written: %1.</source>
        <translation>Het plan kon niet worden opgeslagen: %1.</translation>
    </message>
    <message>
        <source>The alarm server no longer knows:
%1

The changes were written to their own dispatch files all the same; they apply once the alarm server lists them again.</source>
        <translation>De alarmserver kent niet meer:
%1

De wijzigingen zijn toch in hun eigen inzetbestanden geschreven; ze gelden zodra de alarmserver ze weer vermeldt.</translation>
    </message>
    <message>
        <source>All groups</source>
        <translation>Alle groepen</translation>
    </message>
    <message>
        <source>All receivers</source>
        <translation>Alle ontvangers</translation>
    </message>
    <message>
        <source>Save duty calendar</source>
        <translation>Dienstagenda opslaan</translation>
    </message>
    <message>
        <source>iCalendar (*.ics)</source>
        <translation>iCalendar (*.ics)</translation>
    </message>
    <message>
        <source>The calendar could not be written to &quot;%1&quot;: %2.</source>
        <translation>De agenda kon niet naar &quot;%1&quot; worden geschreven: %2.</translation>
    </message>
    <message>
        <source>Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, Delete unmarks.</source>
        <translation>Toetsenbord: pijltjestoetsen verplaatsen, Shift+pijl breidt uit, Ctrl+Omhoog/Omlaag springt een uur, Spatie markeert, Delete maakt ongedaan.</translation>
    </message>
    <message>
        <source>No gap in cover in the weeks shown.</source>
        <translation>Geen gat in de bezetting in de getoonde weken.</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Gaten in de bezetting: %1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>en nog %n</numerusform>
            <numerusform>en nog %n</numerusform>
        </translation>
    </message>
    <message>
        <source>When the group is on duty by its own plan (always, without one) and fewer of its members than it needs are on duty, in the weeks shown</source>
        <translation>Wanneer de groep volgens het eigen plan dienst heeft (zonder plan altijd) en minder leden dan nodig dienst hebben, in de getoonde weken</translation>
    </message>
    <message>
        <source>All gaps...</source>
        <translation>Alle gaten...</translation>
    </message>
    <message>
        <source>List every gap in cover in the weeks shown</source>
        <translation>Alle gaten in de bezetting van de getoonde weken tonen</translation>
    </message>
    <message>
        <source>&amp;Members needed on duty:</source>
        <translation>Benodigde &amp;leden in dienst:</translation>
    </message>
    <message>
        <source>Not watched</source>
        <translation>Niet bewaakt</translation>
    </message>
    <message>
        <source>How many members the coverage guard wants on duty while the group is on duty by its own plan; 0 leaves the group out of the guard</source>
        <translation>Hoeveel leden de bezettingsbewaking in dienst verwacht terwijl de groep volgens het eigen plan dienst heeft; 0 sluit de groep uit van de bewaking</translation>
    </message>
    <message>
        <source>Gaps in cover</source>
        <translation>Gaten in de bezetting</translation>
    </message>
</context>
<context>
    <name>CEnterPasswordDlg</name>
    <message>
        <source>Please enter your password</source>
        <translation>Voer uw wachtwoord in</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Wachtwoord:</translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source>Print / export plan of action</source>
        <translation>Inzetplan afdrukken / exporteren</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Leden</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group:</source>
        <translation>Alleen &amp;ontvanger/groep:</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group: %1</source>
        <translation>Alleen &amp;ontvanger/groep: %1</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Periode</translation>
    </message>
    <message>
        <source>The current &amp;week: %1</source>
        <translation>De huidige &amp;week: %1</translation>
    </message>
    <message>
        <source>The current &amp;month: %1</source>
        <translation>De huidige &amp;maand: %1</translation>
    </message>
    <message>
        <source>Only the plan of the selected receiver or group</source>
        <translation>Alleen het plan van de geselecteerde ontvanger of groep</translation>
    </message>
    <message>
        <source>The plans of all entries of the list shown (receivers or groups)</source>
        <translation>De plannen van alle items in de weergegeven lijst (ontvangers of groepen)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formaat</translation>
    </message>
    <message>
        <source>&amp;HTML table</source>
        <translation>&amp;HTML-tabel</translation>
    </message>
    <message>
        <source>&amp;iCalendar (.ics)</source>
        <translation>&amp;iCalendar (.ics)</translation>
    </message>
    <message>
        <source>One calendar event per span of duty, for calendar programs</source>
        <translation>Eén agenda-afspraak per dienstperiode, voor agendaprogramma&apos;s</translation>
    </message>
    <message>
        <source>&amp;All groups</source>
        <translation>&amp;Alle groepen</translation>
    </message>
    <message>
        <source>&amp;All receivers</source>
        <translation>&amp;Alle ontvangers</translation>
    </message>
</context>
<context>
    <name>CGeneralSettingsDialog</name>
    <message>
        <source>General Setup</source>
        <translation>Algemene instellingen</translation>
    </message>
    <message>
        <source>Working days</source>
        <translation>Werkdagen</translation>
    </message>
    <message>
        <source>Mo</source>
        <translation>Ma</translation>
    </message>
    <message>
        <source>Tu</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>We</source>
        <translation>Wo</translation>
    </message>
    <message>
        <source>Th</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fr</source>
        <translation>Vr</translation>
    </message>
    <message>
        <source>Sa</source>
        <translation>Za</translation>
    </message>
    <message>
        <source>Su</source>
        <translation>Zo</translation>
    </message>
    <message>
        <source>Monday is a working day</source>
        <translation>Maandag is een werkdag</translation>
    </message>
    <message>
        <source>Tuesday is a working day</source>
        <translation>Dinsdag is een werkdag</translation>
    </message>
    <message>
        <source>Wednesday is a working day</source>
        <translation>Woensdag is een werkdag</translation>
    </message>
    <message>
        <source>Thursday is a working day</source>
        <translation>Donderdag is een werkdag</translation>
    </message>
    <message>
        <source>Friday is a working day</source>
        <translation>Vrijdag is een werkdag</translation>
    </message>
    <message>
        <source>Saturday is a working day</source>
        <translation>Zaterdag is een werkdag</translation>
    </message>
    <message>
        <source>Sunday is a working day</source>
        <translation>Zondag is een werkdag</translation>
    </message>
    <message>
        <source>Days that are not checked and are no holidays count as weekend days</source>
        <translation>Dagen die niet zijn aangevinkt en geen feestdag zijn, gelden als weekenddagen</translation>
    </message>
    <message>
        <source>Work time</source>
        <translation>Werktijd</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Van:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Tot:</translation>
    </message>
    <message>
        <source>&amp;When the window is closed:</source>
        <translation>&amp;Bij het sluiten van het venster:</translation>
    </message>
    <message>
        <source>Quit Kelvaris</source>
        <translation>Kelvaris afsluiten</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Venster verbergen</translation>
    </message>
    <message>
        <source>Minimize window</source>
        <translation>Venster minimaliseren</translation>
    </message>
</context>
<context>
    <name>CHistoryDialog</name>
    <message>
        <source>Configuration</source>
        <translation>Configuratie</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Planning</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Holder of a group</source>
        <translation>Houder van een groep</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Activering</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Wachtwoordbeveiliging</translation>
    </message>
    <message>
        <source>Takeover messages</source>
        <translation>Overnameberichten</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Shifts</translation>
    </message>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Blokkeringen/pauzes</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>Feestdagen</translation>
    </message>
    <message>
        <source>Target list</source>
        <translation>Doellijst</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>Wijzigingsjournaal</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Venster</translation>
    </message>
    <message>
        <source>Windowless program</source>
        <translation>Programma zonder venster</translation>
    </message>
    <message>
        <source>Outside Kelvaris</source>
        <translation>Buiten Kelvaris</translation>
    </message>
    <message>
        <source>Takeover of duty</source>
        <translation>Dienstovername</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Alarmserver</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Geschiedenis</translation>
    </message>
    <message>
        <source>&amp;Since:</source>
        <translation>&amp;Vanaf:</translation>
    </message>
    <message>
        <source>Show the changes from this day on</source>
        <translation>De wijzigingen vanaf deze dag tonen</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Soort:</translation>
    </message>
    <message>
        <source>Show only changes of this kind</source>
        <translation>Alleen wijzigingen van deze soort tonen</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>Alle soorten</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Doel:</translation>
    </message>
    <message>
        <source>Show only changes of this target</source>
        <translation>Alleen wijzigingen van dit doel tonen</translation>
    </message>
    <message>
        <source>All targets</source>
        <translation>Alle doelen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tijd</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Gebruiker</translation>
    </message>
    <message>
        <source>Through</source>
        <translation>Via</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Wat</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Doel</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Waarom</translation>
    </message>
    <message>
        <source>Open an entry to see its content before and after the change</source>
        <translation>Open een regel om de inhoud voor en na de wijziging te zien</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Wijzigingen</translation>
    </message>
    <message>
        <source>&amp;Before and after...</source>
        <translation>Voor en &amp;na...</translation>
    </message>
    <message>
        <source>No edit journal is kept in this data folder yet.</source>
        <translation>In deze gegevensmap wordt nog geen wijzigingsjournaal bijgehouden.</translation>
    </message>
    <message>
        <source>The edit journal cannot be read: %1</source>
        <translation>Het wijzigingsjournaal kan niet worden gelezen: %1</translation>
    </message>
    <message>
        <source>The newest %1 changes since that day are listed.</source>
        <translation>De nieuwste %1 wijzigingen sinds die dag worden getoond.</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) listed.</source>
        <translation>
            <numerusform>%n wijziging getoond.</numerusform>
            <numerusform>%n wijzigingen getoond.</numerusform>
        </translation>
    </message>
    <message>
        <source>Duty notice</source>
        <translation>Dienstbericht</translation>
    </message>
</context>
<context>
    <name>CHistoryEntryDialog</name>
    <message>
        <source>Change %1</source>
        <translation>Wijziging %1</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Tijd:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Gebruiker:</translation>
    </message>
    <message>
        <source>Through:</source>
        <translation>Via:</translation>
    </message>
    <message>
        <source>Password typed for:</source>
        <translation>Wachtwoord ingevoerd voor:</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>Wat:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Doel:</translation>
    </message>
    <message>
        <source>Why:</source>
        <translation>Waarom:</translation>
    </message>
    <message>
        <source>Lines removed</source>
        <translation>Verwijderde regels</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Voor</translation>
    </message>
    <message>
        <source>Lines added</source>
        <translation>Toegevoegde regels</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Na</translation>
    </message>
</context>
<context>
    <name>CHolidayAuto</name>
    <message>
        <source>Enter the Years</source>
        <translation>Jaren invoeren</translation>
    </message>
    <message>
        <source>&amp;From year:</source>
        <translation>&amp;Vanaf jaar:</translation>
    </message>
    <message>
        <source>&amp;To year:</source>
        <translation>&amp;Tot en met jaar:</translation>
    </message>
    <message>
        <source>Years from 1901 to 2099</source>
        <translation>Jaren van 1901 tot en met 2099</translation>
    </message>
</context>
<context>
    <name>CHolidayEntry</name>
    <message>
        <source>Holiday</source>
        <translation>Feestdag</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Naam:</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message>
        <source>The name shown in the holiday list</source>
        <translation>De naam die in de lijst met feestdagen wordt weergegeven</translation>
    </message>
</context>
<context>
    <name>CHolidayListDialog</name>
    <message>
        <source>Holidays</source>
        <translation>Feestdagen</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>Feestdag</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Toevoegen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bewerken</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Verwijderen</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automatisch</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Add a holiday</source>
        <translation>Een feestdag toevoegen</translation>
    </message>
    <message>
        <source>Change the selected holiday (or double-click it)</source>
        <translation>De geselecteerde feestdag wijzigen (of dubbelklik erop)</translation>
    </message>
    <message>
        <source>Remove the selected holiday</source>
        <translation>De geselecteerde feestdag verwijderen</translation>
    </message>
    <message>
        <source>Add the statutory holidays of a span of years</source>
        <translation>De wettelijke feestdagen van een reeks jaren toevoegen</translation>
    </message>
    <message numerus="yes">
        <source>%n holiday(s) added.</source>
        <translation>
            <numerusform>%n feestdag toegevoegd.</numerusform>
            <numerusform>%n feestdagen toegevoegd.</numerusform>
        </translation>
    </message>
    <message>
        <source>No holiday added: those of %1 to %2 are listed already or not known.</source>
        <translation>Geen feestdag toegevoegd: die van %1 tot %2 staan al in de lijst of zijn niet bekend.</translation>
    </message>
</context>
<context>
    <name>CHolidaysArray</name>
    <message>
        <source>New Year</source>
        <translation>Nieuwjaar</translation>
    </message>
    <message>
        <source>Good Friday</source>
        <translation>Goede Vrijdag</translation>
    </message>
    <message>
        <source>Easter Sunday</source>
        <translation>Eerste paasdag</translation>
    </message>
    <message>
        <source>Easter Monday</source>
        <translation>Tweede paasdag</translation>
    </message>
    <message>
        <source>Labour Day</source>
        <translation>Dag van de Arbeid</translation>
    </message>
    <message>
        <source>Ascension Day </source>
        <translation>Hemelvaartsdag </translation>
    </message>
    <message>
        <source>Whitsunday</source>
        <translation>Eerste pinksterdag</translation>
    </message>
    <message>
        <source>Whitmonday</source>
        <translation>Tweede pinksterdag</translation>
    </message>
    <message>
        <source>German Unification Day</source>
        <translation>Dag van de Duitse Eenheid</translation>
    </message>
    <message>
        <source>Christmas Day</source>
        <translation>Eerste kerstdag</translation>
    </message>
    <message>
        <source>Boxing Day</source>
        <translation>Tweede kerstdag</translation>
    </message>
</context>
<context>
    <name>CKelvarisApp</name>
    <message>
        <source>Configuration path: </source>
        <translation>Configuratiepad: </translation>
    </message>
    <message>
        <source>Dispatch plans (*.tim);;All Files (*)</source>
        <translation>Inzetplannen (*.tim);;Alle bestanden (*)</translation>
    </message>
    <message>
        <source>The password could not be stored in the configuration file.
It protects the program until it ends.</source>
        <translation>Het wachtwoord kon niet in het configuratiebestand worden opgeslagen.
Het beschermt het programma totdat het wordt afgesloten.</translation>
    </message>
    <message>
        <source>Kelvaris cannot answer the dispatch checks of the alarm server:
%1</source>
        <translation>Kelvaris kan de inzetcontroles van de alarmserver niet beantwoorden:
%1</translation>
    </message>
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Huidige shift</translation>
    </message>
    <message>
        <source>Current Barrier/Pause</source>
        <translation>Huidige blokkering/pauze</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Logboek</translation>
    </message>
    <message>
        <source>Plan of action</source>
        <translation>Inzetplan</translation>
    </message>
    <message>
        <source>from:</source>
        <translation>van:</translation>
    </message>
    <message>
        <source>to:</source>
        <translation>tot:</translation>
    </message>
    <message>
        <source>Now dispatched</source>
        <translation>Nu ingezet</translation>
    </message>
    <message>
        <source>The receivers and groups on duty now; double-click one to plan its duty</source>
        <translation>De ontvangers en groepen die nu dienst hebben; dubbelklik op een item om de dienst ervan te plannen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Begintijd</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Gebeurtenis</translation>
    </message>
    <message>
        <source>Deactivated</source>
        <translation>Gedeactiveerd</translation>
    </message>
    <message>
        <source>No barrier/pause</source>
        <translation>Geen blokkering/pauze</translation>
    </message>
    <message>
        <source>No shift</source>
        <translation>Geen shift</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Gestart</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Geactiveerd</translation>
    </message>
    <message>
        <source>Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier</source>
        <translation>Blokkering/pauze met verwijderen;Blokkering/pauze met verzenden;Pauze zonder blokkering</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Waarschuwing</translation>
    </message>
    <message>
        <source>The changes could not be saved in %1: %2

Kelvaris keeps them and tries again every 30 seconds.</source>
        <translation>De wijzigingen konden niet worden opgeslagen in %1: %2

Kelvaris bewaart ze en probeert het elke 30 seconden opnieuw.</translation>
    </message>
    <message>
        <source>Log Files (*.log);;Text Files (*.txt);;All Files (*)</source>
        <translation>Logbestanden (*.log);;Tekstbestanden (*.txt);;Alle bestanden (*)</translation>
    </message>
    <message>
        <source>The logbook could not be saved in %1: %2</source>
        <translation>Het logboek kon niet worden opgeslagen in %1: %2</translation>
    </message>
    <message>
        <source>Nearest gap in cover</source>
        <translation>Eerstvolgend gat in de bezetting</translation>
    </message>
    <message>
        <source>None within 24 hours</source>
        <translation>Geen binnen 24 uur</translation>
    </message>
    <message>
        <source>Every alarm group has a member on duty for the next 24 hours</source>
        <translation>Elke alarmgroep heeft de komende 24 uur een lid in dienst</translation>
    </message>
    <message>
        <source>%1: nobody on duty %2</source>
        <translation>%1: niemand in dienst %2</translation>
    </message>
    <message>
        <source>The gaps in cover within 24 hours:</source>
        <translation>De gaten in de bezetting binnen 24 uur:</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Bericht</translation>
    </message>
</context>
<context>
    <name>CLanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Taal</translation>
    </message>
    <message>
        <source>Choose the language of the user interface:</source>
        <translation>Kies de taal van de gebruikersinterface:</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Activate	Ctrl+A</source>
        <translation>&amp;Activeren	Ctrl+A</translation>
    </message>
    <message>
        <source>Activate the schedule: the alarm server is told the current shift and barrier</source>
        <translation>Het rooster activeren: de huidige shift en blokkering worden aan de alarmserver doorgegeven</translation>
    </message>
    <message>
        <source>&amp;Deactivate	Ctrl+D</source>
        <translation>&amp;Deactiveren	Ctrl+D</translation>
    </message>
    <message>
        <source>Deactivate the schedule: no shift and no barrier apply</source>
        <translation>Het rooster deactiveren: er geldt geen shift en geen blokkering</translation>
    </message>
    <message>
        <source>Activate a&amp;utomatically</source>
        <translation>A&amp;utomatisch activeren</translation>
    </message>
    <message>
        <source>Activate the schedule whenever the program starts</source>
        <translation>Het rooster activeren telkens wanneer het programma start</translation>
    </message>
    <message>
        <source>&amp;Save logfile...</source>
        <translation>Logboek &amp;opslaan...</translation>
    </message>
    <message>
        <source>Save the logbook in a text file</source>
        <translation>Het logboek in een tekstbestand opslaan</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>Afs&amp;luiten</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Het programma afsluiten</translation>
    </message>
    <message>
        <source>&amp;General Setup...</source>
        <translation>&amp;Algemene instellingen...</translation>
    </message>
    <message>
        <source>Edit the working days, the working time and what closing the window does</source>
        <translation>De werkdagen, de werktijd en het gedrag bij het sluiten van het venster bewerken</translation>
    </message>
    <message>
        <source>Takeover &amp;messages...</source>
        <translation>Over&amp;nameberichten...</translation>
    </message>
    <message>
        <source>Edit the texts of the takeover messages</source>
        <translation>De teksten van de overnameberichten bewerken</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>&amp;Taal...</translation>
    </message>
    <message>
        <source>Choose the language of the program</source>
        <translation>De taal van het programma kiezen</translation>
    </message>
    <message>
        <source>&amp;Plan of action...	Ctrl+E</source>
        <translation>&amp;Inzetplan...	Ctrl+E</translation>
    </message>
    <message>
        <source>Plan when the receivers and groups are on duty</source>
        <translation>Plannen wanneer de ontvangers en groepen dienst hebben</translation>
    </message>
    <message>
        <source>&amp;Shifts...	Ctrl+S</source>
        <translation>&amp;Shifts...	Ctrl+S</translation>
    </message>
    <message>
        <source>Edit the shifts</source>
        <translation>De shifts bewerken</translation>
    </message>
    <message>
        <source>&amp;Barriers/Pauses...	Ctrl+P</source>
        <translation>&amp;Blokkeringen/pauzes...	Ctrl+P</translation>
    </message>
    <message>
        <source>Edit the barriers and pauses</source>
        <translation>De blokkeringen en pauzes bewerken</translation>
    </message>
    <message>
        <source>&amp;Holidays...	Ctrl+F</source>
        <translation>&amp;Feestdagen...	Ctrl+F</translation>
    </message>
    <message>
        <source>Edit the holidays</source>
        <translation>De feestdagen bewerken</translation>
    </message>
    <message>
        <source>&amp;Password...</source>
        <translation>&amp;Wachtwoord...</translation>
    </message>
    <message>
        <source>Set or change the password that protects the commands</source>
        <translation>Het wachtwoord instellen of wijzigen dat de opdrachten beveiligt</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkbalk</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>De werkbalk weergeven of verbergen</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>&amp;Statusbalk</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>De statusbalk weergeven of verbergen</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>&amp;Systeeminformatie...</translation>
    </message>
    <message>
        <source>Show information about the system and the configuration files</source>
        <translation>Informatie over het systeem en de configuratiebestanden weergeven</translation>
    </message>
    <message>
        <source>&amp;About Kelvaris...</source>
        <translation>&amp;Over Kelvaris...</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and copyright</source>
        <translation>De versie en het copyright van het programma weergeven</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nieuw</translation>
    </message>
    <message>
        <source>Start again from the configuration file</source>
        <translation>Opnieuw beginnen vanuit het configuratiebestand</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Openen</translation>
    </message>
    <message>
        <source>Open a dispatch plan</source>
        <translation>Een inzetplan openen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Bestand</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Instellingen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>Beel&amp;d</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkbalk</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Gereed</translation>
    </message>
    <message>
        <source>&amp;Show Kelvaris</source>
        <translation>Kelvaris &amp;tonen</translation>
    </message>
    <message>
        <source>There is no system tray to hide the window in: it is minimized instead</source>
        <translation>Er is geen systeemvak om het venster in te verbergen: het wordt in plaats daarvan geminimaliseerd</translation>
    </message>
    <message>
        <source>Journal not written since %1</source>
        <translation>Wijzigingsjournaal niet geschreven sinds %1</translation>
    </message>
    <message>
        <source>The edit journal cannot be written since %1. The changes are kept and written as soon as it can be again.</source>
        <translation>Het wijzigingsjournaal kan sinds %1 niet worden geschreven. De wijzigingen worden bewaard en geschreven zodra het weer kan.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;Geschiedenis...</translation>
    </message>
    <message>
        <source>Show who changed the plans and settings, and when</source>
        <translation>Tonen wie de plannen en instellingen heeft gewijzigd, en wanneer</translation>
    </message>
    <message>
        <source>Duty &amp;notices...</source>
        <translation>&amp;Dienstberichten...</translation>
    </message>
    <message>
        <source>Choose when people are paged about their duty, and the texts</source>
        <translation>Kiezen wanneer personen over hun dienst worden opgeroepen, en de teksten</translation>
    </message>
</context>
<context>
    <name>CNoticeSettingsDialog</name>
    <message>
        <source>Duty Notices</source>
        <translation>Dienstberichten</translation>
    </message>
    <message>
        <source>&amp;Remind before a duty begins:</source>
        <translation>&amp;Herinneren vóór het begin van een dienst:</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>no reminders</source>
        <translation>geen herinneringen</translation>
    </message>
    <message>
        <source>Each person is paged this long before a duty of theirs begins</source>
        <translation>Iedere persoon wordt zo lang voor het begin van zijn dienst opgeroepen</translation>
    </message>
    <message>
        <source>Tell &amp;changes of the duty within:</source>
        <translation>Wij&amp;zigingen van de dienst melden binnen:</translation>
    </message>
    <message>
        <source> h</source>
        <translation> u</translation>
    </message>
    <message>
        <source>no change notices</source>
        <translation>geen wijzigingsberichten</translation>
    </message>
    <message>
        <source>An edit that adds, removes or moves a duty within this time is paged to the person</source>
        <translation>Een wijziging die binnen deze tijd een dienst toevoegt, verwijdert of verschuift, wordt aan de persoon gemeld</translation>
    </message>
    <message>
        <source>After a stop, &amp;send notices late by up to:</source>
        <translation>Na een stop berichten &amp;verzenden tot maximaal zo laat:</translation>
    </message>
    <message>
        <source>A notice whose moment passed while Kelvaris was stopped is dropped when it is later</source>
        <translation>Een bericht waarvan het moment verstreek terwijl Kelvaris gestopt was, vervalt als het later is</translation>
    </message>
    <message>
        <source>&amp;Daily summary at</source>
        <translation>&amp;Dagelijks overzicht om</translation>
    </message>
    <message>
        <source>Who is on duty today in each group, and the day&apos;s gaps in cover</source>
        <translation>Wie er vandaag in elke groep dienst heeft, en de gaten in de bezetting van die dag</translation>
    </message>
    <message>
        <source>Summary &amp;to (target IDs, separated by &quot;;&quot;):</source>
        <translation>Overzicht &amp;naar (doel-ID&apos;s, gescheiden door &quot;;&quot;):</translation>
    </message>
    <message>
        <source>Re&amp;minder text:</source>
        <translation>Herinnerings&amp;tekst:</translation>
    </message>
    <message>
        <source>&amp;Holder text:</source>
        <translation>H&amp;oudertekst:</translation>
    </message>
    <message>
        <source>S&amp;ummary text:</source>
        <translation>Overzichtst&amp;ekst:</translation>
    </message>
    <message>
        <source>Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</source>
        <translation>Plaatshouders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</translation>
    </message>
    <message>
        <source>Chan&amp;ge text:</source>
        <translation>W&amp;ijzigingstekst:</translation>
    </message>
    <message>
        <source>Time of the daily summary</source>
        <translation>Tijd van het dagelijkse overzicht</translation>
    </message>
    <message>
        <source>Texts of the notices</source>
        <translation>Teksten van de berichten</translation>
    </message>
</context>
<context>
    <name>CPlanExport</name>
    <message>
        <source>All Groups</source>
        <translation>Alle groepen</translation>
    </message>
    <message>
        <source>All Receiver</source>
        <translation>Alle ontvangers</translation>
    </message>
    <message>
        <source>January;February;March;April;May;June;July;August;September;October;November;December</source>
        <translation>januari;februari;maart;april;mei;juni;juli;augustus;september;oktober;november;december</translation>
    </message>
</context>
<context>
    <name>CPlannerAccessible</name>
    <message>
        <source>no duty</source>
        <translation>geen dienst</translation>
    </message>
</context>
<context>
    <name>CPlannerWidget</name>
    <message>
        <source>Mark duty with the mouse: click a quarter hour or drag over several; held past the top or bottom edge, the grid scrolls on.</source>
        <translation>Dienst met de muis markeren: klik op een kwartier of sleep over meerdere; voorbij de boven- of onderrand vastgehouden, schuift het raster verder.</translation>
    </message>
    <message>
        <source>With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection (or unmarks it when the current cell is marked).</source>
        <translation>Met het toetsenbord: de pijltoetsen verplaatsen, Shift+pijltoetsen breiden de selectie uit, Page Up/Page Down verplaatsen een pagina, Home/End gaan naar het eerste/laatste kwartier, Spatie markeert de selectie (of heft de markering op als de huidige cel gemarkeerd is).</translation>
    </message>
    <message>
        <source>Double click or Enter on a member&apos;s cell opens that receiver.</source>
        <translation>Dubbelklikken of Enter op de cel van een lid opent die ontvanger.</translation>
    </message>
    <message>
        <source>Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection.</source>
        <translation>Ctrl+Omhoog/Ctrl+Omlaag gaat een uur verder, Delete maakt de markering van de selectie ongedaan.</translation>
    </message>
</context>
<context>
    <name>CPrivateFolder</name>
    <message>
        <source>the folder &quot;%1&quot; cannot be created: %2</source>
        <translation>de map &quot;%1&quot; kan niet worden aangemaakt: %2</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be used: %2</source>
        <translation>de map &quot;%1&quot; kan niet worden gebruikt: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link, not a folder</source>
        <translation>&quot;%1&quot; is een koppeling, geen map</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>&quot;%1&quot; is geen map</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; belongs to another user</source>
        <translation>de map &quot;%1&quot; is van een andere gebruiker</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; can be written by other users</source>
        <translation>andere gebruikers kunnen in de map &quot;%1&quot; schrijven</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be written: %2</source>
        <translation>het bestand &quot;%1&quot; kan niet worden geschreven: %2</translation>
    </message>
</context>
<context>
    <name>CScheduleEntry</name>
    <message>
        <source>&amp;Identification:</source>
        <translation>&amp;Identificatie:</translation>
    </message>
    <message>
        <source>&amp;Date type:</source>
        <translation>&amp;Datumtype:</translation>
    </message>
    <message>
        <source>D&amp;ate:</source>
        <translation>D&amp;atum:</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>&amp;Begintijd:</translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation>&amp;Eindtijd:</translation>
    </message>
    <message>
        <source>The first second of the time window</source>
        <translation>De eerste seconde van het tijdvenster</translation>
    </message>
    <message>
        <source>The last second of the time window; it must be later than the start time</source>
        <translation>De laatste seconde van het tijdvenster; deze moet later liggen dan de begintijd</translation>
    </message>
</context>
<context>
    <name>CScheduleListDialog</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Toevoegen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bewerken</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Verwijderen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Add a new entry</source>
        <translation>Een nieuw item toevoegen</translation>
    </message>
    <message>
        <source>Edit the selected entry (or double-click it)</source>
        <translation>Het geselecteerde item bewerken (of dubbelklik erop)</translation>
    </message>
    <message>
        <source>Remove the selected entry</source>
        <translation>Het geselecteerde item verwijderen</translation>
    </message>
</context>
<context>
    <name>CSetupPasswordDlg</name>
    <message>
        <source>The password and the confirmed password do not match.
Please type them again.</source>
        <translation>Het wachtwoord en het bevestigde wachtwoord komen niet overeen.
Voer ze opnieuw in.</translation>
    </message>
    <message>
        <source>Password Setup</source>
        <translation>Wachtwoord instellen</translation>
    </message>
    <message>
        <source>&amp;Enter Password:</source>
        <translation>&amp;Wachtwoord invoeren:</translation>
    </message>
    <message>
        <source>&amp;Confirm Password:</source>
        <translation>Wachtwoord be&amp;vestigen:</translation>
    </message>
    <message>
        <source>&amp;Setups</source>
        <translation>&amp;Instellingen</translation>
    </message>
    <message>
        <source>(All functions in the Setup menu)</source>
        <translation>(Alle functies in het menu Instellingen)</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>&amp;Bediening</translation>
    </message>
    <message>
        <source>(All functions in the File menu)</source>
        <translation>(Alle functies in het menu Bestand)</translation>
    </message>
    <message>
        <source>E&amp;xit the program</source>
        <translation>Programma &amp;afsluiten</translation>
    </message>
    <message>
        <source>An empty password removes the password protection</source>
        <translation>Een leeg wachtwoord heft de wachtwoordbeveiliging op</translation>
    </message>
</context>
<context>
    <name>CShiftEntry</name>
    <message>
        <source>No Shift</source>
        <translation>Geen shift</translation>
    </message>
    <message>
        <source>W%1</source>
        <extracomment>A calendar week in the rotation&apos;s start week list: W1 is week 1.</extracomment>
        <translation>W%1</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Shift &amp;no.:</source>
        <translation>Shift&amp;nummer:</translation>
    </message>
    <message>
        <source>&amp;Weekly rotation starting in week:</source>
        <translation>&amp;Wekelijkse rotatie vanaf week:</translation>
    </message>
    <message>
        <source>&amp;Cycle:</source>
        <translation>&amp;Cyclus:</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>weken</translation>
    </message>
    <message>
        <source>The shift number told to the alarm server; choose one or type it. &quot;No Shift&quot; means that no shift is on duty</source>
        <translation>Het shiftnummer dat aan de alarmserver wordt doorgegeven; kies er een of typ het. &quot;Geen shift&quot; betekent dat er geen shift dienst heeft</translation>
    </message>
    <message>
        <source>The shift number advances by one each calendar week through the cycle; only for a weekday, working day or weekend shift with a number</source>
        <translation>Het shiftnummer gaat elke kalenderweek één stap verder door de cyclus; alleen voor een weekdag-, werkdag- of weekendshift met een nummer</translation>
    </message>
    <message>
        <source>The number of weeks of the rotation; choose one or type it</source>
        <translation>Het aantal weken van de rotatie; kies er een of typ het</translation>
    </message>
</context>
<context>
    <name>CShiftListDialog</name>
    <message>
        <source>Identification</source>
        <translation>Identificatie</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Datumtype</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Begintijd</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Eindtijd</translation>
    </message>
    <message>
        <source>Shift no.</source>
        <translation>Shiftnr.</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Shifts</translation>
    </message>
</context>
<context>
    <name>CSystemInfoDialog</name>
    <message>
        <source>System information</source>
        <translation>Systeeminformatie</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopiëren</translation>
    </message>
    <message>
        <source>Copy the system information to the clipboard</source>
        <translation>De systeeminformatie naar het klembord kopiëren</translation>
    </message>
    <message>
        <source>Operating system: %1</source>
        <translation>Besturingssysteem: %1</translation>
    </message>
    <message>
        <source>Kernel: %1 %2</source>
        <translation>Kernel: %1 %2</translation>
    </message>
    <message>
        <source>Qt version: %1</source>
        <translation>Qt-versie: %1</translation>
    </message>
    <message>
        <source>Locale: %1</source>
        <translation>Landinstelling: %1</translation>
    </message>
</context>
<context>
    <name>CTakeoverMode</name>
    <message>
        <source>Please confirm the takeover of duty for {{GROUP}}</source>
        <translation>Bevestig de overname van de dienst voor {{GROUP}}</translation>
    </message>
    <message>
        <source>The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}</source>
        <translation>De overname van de dienst voor {{GROUP}} is bevestigd door {{NEXT}}</translation>
    </message>
    <message>
        <source>Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}</source>
        <translation>Let op! - De dienst voor {{GROUP}} is niet aanvaard door {{NEXT}}</translation>
    </message>
</context>
<context>
    <name>CTakeoverTextsDlg</name>
    <message>
        <source>Messages used for takeover mode</source>
        <translation>Berichten voor de overnamemodus</translation>
    </message>
    <message>
        <source>&amp;Request for takeover:</source>
        <translation>&amp;Verzoek om overname:</translation>
    </message>
    <message>
        <source>&amp;Confirmation of takeover:</source>
        <translation>&amp;Bevestiging van overname:</translation>
    </message>
    <message>
        <source>&amp;No response:</source>
        <translation>&amp;Geen reactie:</translation>
    </message>
    <message>
        <source>Sent to the next user, asking to take over the duty</source>
        <translation>Wordt naar de volgende gebruiker verzonden met het verzoek de dienst over te nemen</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one has taken over</source>
        <translation>Wordt naar de vorige gebruiker verzonden wanneer de volgende de dienst heeft overgenomen</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one did not answer in time</source>
        <translation>Wordt naar de vorige gebruiker verzonden wanneer de volgende niet op tijd heeft gereageerd</translation>
    </message>
    <message>
        <source>Placeholders</source>
        <translation>Plaatsaanduidingen</translation>
    </message>
    <message>
        <source>{{GROUP}}	Name of the alarm group</source>
        <translation>{{GROUP}}	Naam van de alarmgroep</translation>
    </message>
    <message>
        <source>{{CURRENT}}	Name of the previous user</source>
        <translation>{{CURRENT}}	Naam van de vorige gebruiker</translation>
    </message>
    <message>
        <source>{{NEXT}}	User name for takeover</source>
        <translation>{{NEXT}}	Naam van de gebruiker die de dienst overneemt</translation>
    </message>
</context>
<context>
    <name>CTimePlanner</name>
    <message>
        <source>Time</source>
        <translation>Tijd</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Maandag;Dinsdag;Woensdag;Donderdag;Vrijdag;Zaterdag;Zondag</translation>
    </message>
    <message>
        <source>previous;Holiday;after</source>
        <translation>ervoor;Feestdag;erna</translation>
    </message>
    <message>
        <source>Week %1:  %2 - %3</source>
        <translation>Week %1:  %2 - %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>What a row of the planner stands for, read by screen readers: &quot;10:00 to 10:15&quot;.</extracomment>
        <translation>%1 tot %2</translation>
    </message>
    <message>
        <source>Nobody in the group is on duty</source>
        <translation>Niemand in de groep heeft dienst</translation>
    </message>
    <message>
        <source>Last changed by %1 on %2</source>
        <translation>Laatst gewijzigd door %1 op %2</translation>
    </message>
</context>
<context>
    <name>CTypedEntry</name>
    <message>
        <source>&quot;%1&quot; is not understood; %2 is kept.</source>
        <translation>&quot;%1&quot; wordt niet begrepen; %2 blijft.</translation>
    </message>
</context>
<context>
    <name>CWarningForwarder</name>
    <message>
        <source> (%1 more left out)</source>
        <translation> (%1 meer weggelaten)</translation>
    </message>
</context>
<context>
    <name>Coverage</name>
    <message>
        <source>Nobody in %1 is on duty %2</source>
        <translation>Niemand in %1 heeft dienst %2</translation>
    </message>
</context>
<context>
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Speciale datum;Feestdag;Maandag;Dinsdag;Woensdag;Donderdag;Vrijdag;Zaterdag;Zondag;Werkdag;Weekend;Dag voor feestdag;Dag na feestdag;</translation>
    </message>
</context>
<context>
    <name>DutyCalendar</name>
    <message>
        <source>%1 (group)</source>
        <translation>%1 (groep)</translation>
    </message>
    <message>
        <source>Number: %1</source>
        <translation>Nummer: %1</translation>
    </message>
    <message>
        <source>Members: %1</source>
        <translation>Leden: %1</translation>
    </message>
    <message>
        <source>Holder when written: %1</source>
        <translation>Houder bij het schrijven: %1</translation>
    </message>
</context>
<context>
    <name>DutyNotices</name>
    <message>
        <source>Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}</source>
        <translation>Herinnering: dienst voor {{GROUP}} van {{DATE}} {{START}} tot {{END}}</translation>
    </message>
    <message>
        <source>Your duty changed: {{CHANGES}}</source>
        <translation>Uw dienst is gewijzigd: {{CHANGES}}</translation>
    </message>
    <message>
        <source>You now hold {{GROUP}}</source>
        <translation>U hebt nu de dienst voor {{GROUP}}</translation>
    </message>
    <message>
        <source>On duty {{DATE}}: {{SUMMARY}}</source>
        <translation>Dienst op {{DATE}}: {{SUMMARY}}</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>niemand</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Gaten in de bezetting: %1</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent; it is tried again: %2</source>
        <translation>Bericht aan %1 kon niet worden verzonden; het wordt opnieuw geprobeerd: %2</translation>
    </message>
    <message>
        <source>Notice sent to %1: %2</source>
        <translation>Bericht verzonden aan %1: %2</translation>
    </message>
    <message>
        <source>added</source>
        <translation>toegevoegd</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>verwijderd</translation>
    </message>
    <message>
        <source>Notice to %1 dropped, %2 minutes late: %3</source>
        <translation>Bericht aan %1 vervallen, %2 minuten te laat: %3</translation>
    </message>
    <message>
        <source>Notice to %1 held by the barrier/pause: %2</source>
        <translation>Bericht aan %1 tegengehouden door de blokkering/pauze: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the duty began during the barrier/pause: %2</source>
        <translation>Bericht aan %1 vervallen: de dienst begon tijdens de blokkering/pauze: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the alarm server does not list it: %2</source>
        <translation>Bericht aan %1 vervallen: de alarmserver kent hem niet: %2</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent after %2 tries: %3</source>
        <translation>Bericht aan %1 kon na %2 pogingen niet worden verzonden: %3</translation>
    </message>
</context>
</TS>
