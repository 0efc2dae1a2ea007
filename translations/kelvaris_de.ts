<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
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
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>Das eingegebene Passwort ist falsch.</translation>
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
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Aktuelle Schicht</translation>
    </message>
    <message>
        <source>Current Barrirer/Pause</source>
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
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
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
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Sonderdatum;Feiertag;Montag;Dienstag;Mittwoch;Donnerstag;Freitag;Samstag;Sonntag;Arbeitstag;Wochenende;Tag vor Feiertag;Tag nach Feiertag;</translation>
    </message>
</context>
</TS>
