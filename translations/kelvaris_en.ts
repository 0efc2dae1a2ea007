<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Kelvaris</source>
        <translation>About Kelvaris</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Keeps the duty schedule of an alarm and paging installation and drives its alarm server.</source>
        <translation>Keeps the duty schedule of an alarm and paging installation and drives its alarm server.</translation>
    </message>
    <message>
        <source>Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).</source>
        <translation>Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).</translation>
    </message>
</context>
<context>
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>The password you typed is incorrect.</translation>
    </message>
</context>
<context>
    <name>CEnterPasswordDlg</name>
    <message>
        <source>Please enter your password</source>
        <translation>Please enter your password</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Password:</translation>
    </message>
</context>
<context>
    <name>CHolidaysArray</name>
    <message>
        <source>New Year</source>
        <translation>New Year</translation>
    </message>
    <message>
        <source>Good Friday</source>
        <translation>Good Friday</translation>
    </message>
    <message>
        <source>Easter Sunday</source>
        <translation>Easter Sunday</translation>
    </message>
    <message>
        <source>Easter Monday</source>
        <translation>Easter Monday</translation>
    </message>
    <message>
        <source>Labour Day</source>
        <translation>Labour Day</translation>
    </message>
    <message>
        <source>Ascension Day </source>
        <translation>Ascension Day </translation>
    </message>
    <message>
        <source>Whitsunday</source>
        <translation>Whitsunday</translation>
    </message>
    <message>
        <source>Whitmonday</source>
        <translation>Whitmonday</translation>
    </message>
    <message>
        <source>German Unification Day</source>
        <translation>German Unification Day</translation>
    </message>
    <message>
        <source>Christmas Day</source>
        <translation>Christmas Day</translation>
    </message>
    <message>
        <source>Boxing Day</source>
        <translation>Boxing Day</translation>
    </message>
</context>
<context>
    <name>CKelvarisApp</name>
    <message>
        <source>Configuration path: </source>
        <translation>Configuration path: </translation>
    </message>
    <message>
        <source>Dispatch plans (*.tim);;All Files (*)</source>
        <translation>Dispatch plans (*.tim);;All Files (*)</translation>
    </message>
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Current Shift</translation>
    </message>
    <message>
        <source>Current Barrirer/Pause</source>
        <translation>Current Barrirer/Pause</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Logbook</translation>
    </message>
    <message>
        <source>Plan of action</source>
        <translation>Plan of action</translation>
    </message>
    <message>
        <source>from:</source>
        <translation>from:</translation>
    </message>
    <message>
        <source>to:</source>
        <translation>to:</translation>
    </message>
    <message>
        <source>Now dispatched</source>
        <translation>Now dispatched</translation>
    </message>
    <message>
        <source>The receivers and groups on duty now; double-click one to plan its duty</source>
        <translation>The receivers and groups on duty now; double-click one to plan its duty</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation>Text Files (*.txt);;All Files (*)</translation>
    </message>
    <message>
        <source>Deactivated</source>
        <translation>Deactivated</translation>
    </message>
    <message>
        <source>No barrier/pause</source>
        <translation>No barrier/pause</translation>
    </message>
    <message>
        <source>No shift</source>
        <translation>No shift</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Started</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Activated</translation>
    </message>
    <message>
        <source>Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier</source>
        <translation>Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
</context>
<context>
    <name>CLanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Choose the language of the user interface:</source>
        <translation>Choose the language of the user interface:</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Activate	Ctrl+A</source>
        <translation>&amp;Activate	Ctrl+A</translation>
    </message>
    <message>
        <source>Activate the schedule: the alarm server is told the current shift and barrier</source>
        <translation>Activate the schedule: the alarm server is told the current shift and barrier</translation>
    </message>
    <message>
        <source>&amp;Deactivate	Ctrl+D</source>
        <translation>&amp;Deactivate	Ctrl+D</translation>
    </message>
    <message>
        <source>Deactivate the schedule: no shift and no barrier apply</source>
        <translation>Deactivate the schedule: no shift and no barrier apply</translation>
    </message>
    <message>
        <source>Activate a&amp;utomatically</source>
        <translation>Activate a&amp;utomatically</translation>
    </message>
    <message>
        <source>Activate the schedule whenever the program starts</source>
        <translation>Activate the schedule whenever the program starts</translation>
    </message>
    <message>
        <source>&amp;Save logfile...</source>
        <translation>&amp;Save logfile...</translation>
    </message>
    <message>
        <source>Save the logbook in a text file</source>
        <translation>Save the logbook in a text file</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Quit the program</translation>
    </message>
    <message>
        <source>&amp;General Setup...</source>
        <translation>&amp;General Setup...</translation>
    </message>
    <message>
        <source>Edit the working days, the working time and what closing the window does</source>
        <translation>Edit the working days, the working time and what closing the window does</translation>
    </message>
    <message>
        <source>Takeover &amp;messages...</source>
        <translation>Takeover &amp;messages...</translation>
    </message>
    <message>
        <source>Edit the texts of the takeover messages</source>
        <translation>Edit the texts of the takeover messages</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>&amp;Language...</translation>
    </message>
    <message>
        <source>Choose the language of the program</source>
        <translation>Choose the language of the program</translation>
    </message>
    <message>
        <source>&amp;Plan of action...	Ctrl+E</source>
        <translation>&amp;Plan of action...	Ctrl+E</translation>
    </message>
    <message>
        <source>Plan when the receivers and groups are on duty</source>
        <translation>Plan when the receivers and groups are on duty</translation>
    </message>
    <message>
        <source>&amp;Shifts...	Ctrl+S</source>
        <translation>&amp;Shifts...	Ctrl+S</translation>
    </message>
    <message>
        <source>Edit the shifts</source>
        <translation>Edit the shifts</translation>
    </message>
    <message>
        <source>&amp;Barriers/Pauses...	Ctrl+P</source>
        <translation>&amp;Barriers/Pauses...	Ctrl+P</translation>
    </message>
    <message>
        <source>Edit the barriers and pauses</source>
        <translation>Edit the barriers and pauses</translation>
    </message>
    <message>
        <source>&amp;Holidays...	Ctrl+F</source>
        <translation>&amp;Holidays...	Ctrl+F</translation>
    </message>
    <message>
        <source>Edit the holidays</source>
        <translation>Edit the holidays</translation>
    </message>
    <message>
        <source>&amp;Password...</source>
        <translation>&amp;Password...</translation>
    </message>
    <message>
        <source>Set or change the password that protects the commands</source>
        <translation>Set or change the password that protects the commands</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Show or hide the toolbar</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>&amp;Statusbar</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Show or hide the status bar</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>&amp;System information...</translation>
    </message>
    <message>
        <source>Show information about the system and the configuration files</source>
        <translation>Show information about the system and the configuration files</translation>
    </message>
    <message>
        <source>&amp;About Kelvaris...</source>
        <translation>&amp;About Kelvaris...</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and copyright</source>
        <translation>Show the program&apos;s version and copyright</translation>
    </message>
    <message>
        <source>New</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Start again from the configuration file</source>
        <translation>Start again from the configuration file</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Open a dispatch plan</source>
        <translation>Open a dispatch plan</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Setup</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>&amp;Show Kelvaris</source>
        <translation>&amp;Show Kelvaris</translation>
    </message>
</context>
<context>
    <name>CSetupPasswordDlg</name>
    <message>
        <source>The password and the confirmed password do not match.
Please type them again.</source>
        <translation>The password and the confirmed password do not match.
Please type them again.</translation>
    </message>
    <message>
        <source>Password Setup</source>
        <translation>Password Setup</translation>
    </message>
    <message>
        <source>&amp;Enter Password:</source>
        <translation>&amp;Enter Password:</translation>
    </message>
    <message>
        <source>&amp;Confirm Password:</source>
        <translation>&amp;Confirm Password:</translation>
    </message>
    <message>
        <source>&amp;Setups</source>
        <translation>&amp;Setups</translation>
    </message>
    <message>
        <source>(All functions in the Setup menu)</source>
        <translation>(All functions in the Setup menu)</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>&amp;Operation</translation>
    </message>
    <message>
        <source>(All functions in the File menu)</source>
        <translation>(All functions in the File menu)</translation>
    </message>
    <message>
        <source>E&amp;xit the program</source>
        <translation>E&amp;xit the program</translation>
    </message>
    <message>
        <source>An empty password removes the password protection</source>
        <translation>An empty password removes the password protection</translation>
    </message>
</context>
<context>
    <name>CSystemInfoDialog</name>
    <message>
        <source>System information</source>
        <translation>System information</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Copy the system information to the clipboard</source>
        <translation>Copy the system information to the clipboard</translation>
    </message>
    <message>
        <source>Operating system: %1</source>
        <translation>Operating system: %1</translation>
    </message>
    <message>
        <source>Kernel: %1 %2</source>
        <translation>Kernel: %1 %2</translation>
    </message>
    <message>
        <source>Qt version: %1</source>
        <translation>Qt version: %1</translation>
    </message>
    <message>
        <source>Locale: %1</source>
        <translation>Locale: %1</translation>
    </message>
</context>
<context>
    <name>CTakeoverMode</name>
    <message>
        <source>Please confirm the takeover of duty for {{GROUP}}</source>
        <translation>Please confirm the takeover of duty for {{GROUP}}</translation>
    </message>
    <message>
        <source>The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}</source>
        <translation>The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}</translation>
    </message>
    <message>
        <source>Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}</source>
        <translation>Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}</translation>
    </message>
</context>
<context>
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</translation>
    </message>
</context>
</TS>
