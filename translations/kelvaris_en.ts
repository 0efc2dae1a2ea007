<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>BoardPages</name>
    <message>
        <source>Languages</source>
        <translation>Languages</translation>
    </message>
    <message>
        <source>Barrier: messages are deleted</source>
        <translation>Barrier: messages are deleted</translation>
    </message>
    <message>
        <source>Barrier: messages are held until its end</source>
        <translation>Barrier: messages are held until its end</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Duty schedule</source>
        <translation>Duty schedule</translation>
    </message>
    <message>
        <source>active</source>
        <translation>active</translation>
    </message>
    <message>
        <source>not active</source>
        <translation>not active</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Barrier/pause</source>
        <translation>Barrier/pause</translation>
    </message>
    <message>
        <source>reachable</source>
        <translation>reachable</translation>
    </message>
    <message>
        <source>not reachable</source>
        <translation>not reachable</translation>
    </message>
    <message>
        <source>last answer %1</source>
        <translation>last answer %1</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Alarm server</translation>
    </message>
    <message>
        <source>Gaps in cover within 24 hours</source>
        <translation>Gaps in cover within 24 hours</translation>
    </message>
    <message>
        <source>No group is without cover.</source>
        <translation>No group is without cover.</translation>
    </message>
    <message>
        <source>now</source>
        <translation>now</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>There are no groups.</source>
        <translation>There are no groups.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>On duty now</source>
        <translation>On duty now</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Next change</translation>
    </message>
    <message>
        <source>holder</source>
        <translation>holder</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>nobody</translation>
    </message>
    <message>
        <source>none within a week</source>
        <translation>none within a week</translation>
    </message>
    <message>
        <source>coming on: %1</source>
        <translation>coming on: %1</translation>
    </message>
    <message>
        <source>going off: %1</source>
        <translation>going off: %1</translation>
    </message>
    <message>
        <source>Receivers on duty now</source>
        <translation>Receivers on duty now</translation>
    </message>
    <message>
        <source>Nobody is on duty.</source>
        <translation>Nobody is on duty.</translation>
    </message>
    <message>
        <source>until %1</source>
        <translation>until %1</translation>
    </message>
    <message>
        <source>Who is on duty</source>
        <translation>Who is on duty</translation>
    </message>
    <message>
        <source>The alarm server has not told Kelvaris its receivers and groups yet.</source>
        <translation>The alarm server has not told Kelvaris its receivers and groups yet.</translation>
    </message>
    <message>
        <source>Wall-screen view</source>
        <translation>Wall-screen view</translation>
    </message>
    <message>
        <source>Duty plan of %1</source>
        <translation>Duty plan of %1</translation>
    </message>
    <message>
        <source>Week %1: %2 to %3</source>
        <translation>Week %1: %2 to %3</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>Weeks</translation>
    </message>
    <message>
        <source>Previous week</source>
        <translation>Previous week</translation>
    </message>
    <message>
        <source>Back to the board</source>
        <translation>Back to the board</translation>
    </message>
    <message>
        <source>Next week</source>
        <translation>Next week</translation>
    </message>
    <message>
        <source>Calendar (iCalendar)</source>
        <translation>Calendar (iCalendar)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>On duty</source>
        <translation>On duty</translation>
    </message>
    <message>
        <source>all day (no plan: always on duty)</source>
        <translation>all day (no plan: always on duty)</translation>
    </message>
    <message>
        <source>off duty</source>
        <translation>off duty</translation>
    </message>
    <message>
        <source>Address too long</source>
        <translation>Address too long</translation>
    </message>
    <message>
        <source>This address is longer than any page of the board.</source>
        <translation>This address is longer than any page of the board.</translation>
    </message>
    <message>
        <source>Token needed</source>
        <translation>Token needed</translation>
    </message>
    <message>
        <source>This board is shown only with its token. Ask the operators of the alarm system for the address with the token.</source>
        <translation>This board is shown only with its token. Ask the operators of the alarm system for the address with the token.</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Not found</translation>
    </message>
    <message>
        <source>The board has no page at this address.</source>
        <translation>The board has no page at this address.</translation>
    </message>
    <message>
        <source>The alarm server knows no receiver or group with this ID.</source>
        <translation>The alarm server knows no receiver or group with this ID.</translation>
    </message>
    <message>
        <source>Not a date</source>
        <translation>Not a date</translation>
    </message>
    <message>
        <source>The week is given by a date such as 2026-12-07.</source>
        <translation>The week is given by a date such as 2026-12-07.</translation>
    </message>
</context>
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
    <name>CBarrageEntry</name>
    <message>
        <source>Barrier/Pause</source>
        <translation>Barrier/Pause</translation>
    </message>
    <message>
        <source>Type of &amp;barrier/pause:</source>
        <translation>Type of &amp;barrier/pause:</translation>
    </message>
    <message>
        <source>&amp;Priority:</source>
        <translation>&amp;Priority:</translation>
    </message>
    <message>
        <source>The priority level of the messages let through; choose one or type its number</source>
        <translation>The priority level of the messages let through; choose one or type its number</translation>
    </message>
    <message>
        <source>With deleting the message</source>
        <translation>With deleting the message</translation>
    </message>
    <message>
        <source>With sending after barrier</source>
        <translation>With sending after barrier</translation>
    </message>
    <message>
        <source>No barrier</source>
        <translation>No barrier</translation>
    </message>
    <message>
        <source>0 (Default)</source>
        <translation>0 (Default)</translation>
    </message>
    <message>
        <source>1 (Emergency)</source>
        <translation>1 (Emergency)</translation>
    </message>
    <message>
        <source>2 (very very high)</source>
        <translation>2 (very very high)</translation>
    </message>
    <message>
        <source>3 (very high)</source>
        <translation>3 (very high)</translation>
    </message>
    <message>
        <source>4 (high)</source>
        <translation>4 (high)</translation>
    </message>
    <message>
        <source>5 (normal)</source>
        <translation>5 (normal)</translation>
    </message>
    <message>
        <source>6 (low)</source>
        <translation>6 (low)</translation>
    </message>
    <message>
        <source>7 (very low)</source>
        <translation>7 (very low)</translation>
    </message>
    <message>
        <source>8 (very very low)</source>
        <translation>8 (very very low)</translation>
    </message>
</context>
<context>
    <name>CBarrageListDialog</name>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Barriers/Pauses</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Date type</translation>
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
        <source>End time</source>
        <translation>End time</translation>
    </message>
    <message>
        <source>Type of barrier/pause</source>
        <translation>Type of barrier/pause</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priority</translation>
    </message>
</context>
<context>
    <name>CDateEntryGuard</name>
    <message>
        <source>&quot;%1&quot; is not a valid date. Enter the date as %2, for example %3, or pick it from the calendar.</source>
        <translation>&quot;%1&quot; is not a valid date. Enter the date as %2, for example %3, or pick it from the calendar.</translation>
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
    <name>CDispDuplicateDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>invalid time interval</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>no dispatching</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>one dispatching</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 dispatches</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 copies</translation>
    </message>
    <message>
        <source>Duplicate dispatching</source>
        <translation>Duplicate dispatching</translation>
    </message>
    <message>
        <source>Time range to duplicate</source>
        <translation>Time range to duplicate</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>Duplicate to</source>
        <translation>Duplicate to</translation>
    </message>
    <message>
        <source>&amp;Start:</source>
        <translation>&amp;Start:</translation>
    </message>
    <message>
        <source>&amp;End:</source>
        <translation>&amp;End:</translation>
    </message>
    <message>
        <source>&amp;Copy dispatching:</source>
        <translation>&amp;Copy dispatching:</translation>
    </message>
    <message>
        <source>&amp;Remove dispatching:</source>
        <translation>&amp;Remove dispatching:</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching is copied</source>
        <translation>The receivers and groups whose dispatching is copied</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching in the destination range is removed first</source>
        <translation>The receivers and groups whose dispatching in the destination range is removed first</translation>
    </message>
    <message>
        <source>The dispatch plan of these receivers and groups could not be saved:
%1</source>
        <translation>The dispatch plan of these receivers and groups could not be saved:
%1</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>Select &amp;none</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Select none</translation>
    </message>
    <message>
        <source>Check every entry of the list</source>
        <translation>Check every entry of the list</translation>
    </message>
    <message>
        <source>Uncheck every entry of the list</source>
        <translation>Uncheck every entry of the list</translation>
    </message>
</context>
<context>
    <name>CDispRemoveDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>invalid time interval</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>no dispatching</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>one dispatching</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 dispatches</translation>
    </message>
    <message>
        <source>Remove dispatching</source>
        <translation>Remove dispatching</translation>
    </message>
    <message>
        <source>Receiver:</source>
        <translation>Receiver:</translation>
    </message>
    <message>
        <source>Remove from</source>
        <translation>Remove from</translation>
    </message>
    <message>
        <source>Remove to</source>
        <translation>Remove to</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;All</translation>
    </message>
    <message>
        <source>&amp;Past</source>
        <translation>&amp;Past</translation>
    </message>
    <message>
        <source>&amp;Future</source>
        <translation>&amp;Future</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Today</translation>
    </message>
    <message>
        <source>From the first to the last day with dispatching</source>
        <translation>From the first to the last day with dispatching</translation>
    </message>
    <message>
        <source>From the first day with dispatching to yesterday</source>
        <translation>From the first day with dispatching to yesterday</translation>
    </message>
    <message>
        <source>From tomorrow to the last day with dispatching</source>
        <translation>From tomorrow to the last day with dispatching</translation>
    </message>
    <message>
        <source>Today only</source>
        <translation>Today only</translation>
    </message>
    <message>
        <source>The dispatch plan of %1 could not be saved.</source>
        <translation>The dispatch plan of %1 could not be saved.</translation>
    </message>
</context>
<context>
    <name>CDispatchingDlg</name>
    <message>
        <source>Plan of action</source>
        <translation>Plan of action</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Receiver</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>&amp;Activate takeover mode</source>
        <translation>&amp;Activate takeover mode</translation>
    </message>
    <message>
        <source>While takeover mode is active, a member of the group is asked to take over the duty when it is due</source>
        <translation>While takeover mode is active, a member of the group is asked to take over the duty when it is due</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Show the current week</source>
        <translation>Show the current week</translation>
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
        <translation>The week shown</translation>
    </message>
    <message>
        <source>&lt; previous schedule</source>
        <translation>&lt; previous schedule</translation>
    </message>
    <message>
        <source>Show the latest week before this one that holds a plan</source>
        <translation>Show the latest week before this one that holds a plan</translation>
    </message>
    <message>
        <source>next schedule &gt;</source>
        <translation>next schedule &gt;</translation>
    </message>
    <message>
        <source>Show the earliest week after this one that holds a plan</source>
        <translation>Show the earliest week after this one that holds a plan</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>&amp;Copy...</source>
        <translation>&amp;Copy...</translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation>&amp;Remove...</translation>
    </message>
    <message>
        <source>Remove the plan of the selected entry on a span of days</source>
        <translation>Remove the plan of the selected entry on a span of days</translation>
    </message>
    <message>
        <source>&amp;Duplicate...</source>
        <translation>&amp;Duplicate...</translation>
    </message>
    <message>
        <source>Repeat the plan of a span of days over another span</source>
        <translation>Repeat the plan of a span of days over another span</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>Show the two weeks before</source>
        <translation>Show the two weeks before</translation>
    </message>
    <message>
        <source>Show the two weeks after</source>
        <translation>Show the two weeks after</translation>
    </message>
    <message>
        <source>Show the week before</source>
        <translation>Show the week before</translation>
    </message>
    <message>
        <source>Show the week after</source>
        <translation>Show the week after</translation>
    </message>
    <message>
        <source>The plan of &quot;%1&quot; could not be written to its dispatch file. It applies until the program ends.</source>
        <translation>The plan of &quot;%1&quot; could not be written to its dispatch file. It applies until the program ends.</translation>
    </message>
    <message>
        <source>No program could be started to show the plan. It was written to &quot;%1&quot;.</source>
        <translation>No program could be started to show the plan. It was written to &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The plan could not be written: %1.</source>
        <translation>The plan could not be written: %1.</translation>
    </message>
    <message>
        <source>The alarm server no longer knows:
%1

The changes were written to their own dispatch files all the same; they apply once the alarm server lists them again.</source>
        <translation>The alarm server no longer knows:
%1

The changes were written to their own dispatch files all the same; they apply once the alarm server lists them again.</translation>
    </message>
    <message>
        <source>All groups</source>
        <translation>All groups</translation>
    </message>
    <message>
        <source>All receivers</source>
        <translation>All receivers</translation>
    </message>
    <message>
        <source>Save duty calendar</source>
        <translation>Save duty calendar</translation>
    </message>
    <message>
        <source>iCalendar (*.ics)</source>
        <translation>iCalendar (*.ics)</translation>
    </message>
    <message>
        <source>The calendar could not be written to &quot;%1&quot;: %2.</source>
        <translation>The calendar could not be written to &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, Delete unmarks.</source>
        <translation>Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, Delete unmarks.</translation>
    </message>
    <message>
        <source>No gap in cover in the weeks shown.</source>
        <translation>No gap in cover in the weeks shown.</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Gaps in cover: %1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>When the group is on duty by its own plan (always, without one) and fewer of its members than it needs are on duty, in the weeks shown</source>
        <translation>When the group is on duty by its own plan (always, without one) and fewer of its members than it needs are on duty, in the weeks shown</translation>
    </message>
    <message>
        <source>All gaps...</source>
        <translation>All gaps...</translation>
    </message>
    <message>
        <source>List every gap in cover in the weeks shown</source>
        <translation>List every gap in cover in the weeks shown</translation>
    </message>
    <message>
        <source>&amp;Members needed on duty:</source>
        <translation>&amp;Members needed on duty:</translation>
    </message>
    <message>
        <source>Not watched</source>
        <translation>Not watched</translation>
    </message>
    <message>
        <source>How many members the coverage guard wants on duty while the group is on duty by its own plan; 0 leaves the group out of the guard</source>
        <translation>How many members the coverage guard wants on duty while the group is on duty by its own plan; 0 leaves the group out of the guard</translation>
    </message>
    <message>
        <source>Gaps in cover</source>
        <translation>Gaps in cover</translation>
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
    <name>CExportDlg</name>
    <message>
        <source>Print / export plan of action</source>
        <translation>Print / export plan of action</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group:</source>
        <translation>&amp;Only receiver/group:</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group: %1</source>
        <translation>&amp;Only receiver/group: %1</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>The current &amp;week: %1</source>
        <translation>The current &amp;week: %1</translation>
    </message>
    <message>
        <source>The current &amp;month: %1</source>
        <translation>The current &amp;month: %1</translation>
    </message>
    <message>
        <source>Only the plan of the selected receiver or group</source>
        <translation>Only the plan of the selected receiver or group</translation>
    </message>
    <message>
        <source>The plans of all entries of the list shown (receivers or groups)</source>
        <translation>The plans of all entries of the list shown (receivers or groups)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>&amp;HTML table</source>
        <translation>&amp;HTML table</translation>
    </message>
    <message>
        <source>&amp;iCalendar (.ics)</source>
        <translation>&amp;iCalendar (.ics)</translation>
    </message>
    <message>
        <source>One calendar event per span of duty, for calendar programs</source>
        <translation>One calendar event per span of duty, for calendar programs</translation>
    </message>
    <message>
        <source>&amp;All groups</source>
        <translation>&amp;All groups</translation>
    </message>
    <message>
        <source>&amp;All receivers</source>
        <translation>&amp;All receivers</translation>
    </message>
</context>
<context>
    <name>CGeneralSettingsDialog</name>
    <message>
        <source>General Setup</source>
        <translation>General Setup</translation>
    </message>
    <message>
        <source>Working days</source>
        <translation>Working days</translation>
    </message>
    <message>
        <source>Mo</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tu</source>
        <translation>Tu</translation>
    </message>
    <message>
        <source>We</source>
        <translation>We</translation>
    </message>
    <message>
        <source>Th</source>
        <translation>Th</translation>
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
        <translation>Su</translation>
    </message>
    <message>
        <source>Monday is a working day</source>
        <translation>Monday is a working day</translation>
    </message>
    <message>
        <source>Tuesday is a working day</source>
        <translation>Tuesday is a working day</translation>
    </message>
    <message>
        <source>Wednesday is a working day</source>
        <translation>Wednesday is a working day</translation>
    </message>
    <message>
        <source>Thursday is a working day</source>
        <translation>Thursday is a working day</translation>
    </message>
    <message>
        <source>Friday is a working day</source>
        <translation>Friday is a working day</translation>
    </message>
    <message>
        <source>Saturday is a working day</source>
        <translation>Saturday is a working day</translation>
    </message>
    <message>
        <source>Sunday is a working day</source>
        <translation>Sunday is a working day</translation>
    </message>
    <message>
        <source>Days that are not checked and are no holidays count as weekend days</source>
        <translation>Days that are not checked and are no holidays count as weekend days</translation>
    </message>
    <message>
        <source>Work time</source>
        <translation>Work time</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>&amp;When the window is closed:</source>
        <translation>&amp;When the window is closed:</translation>
    </message>
    <message>
        <source>Quit Kelvaris</source>
        <translation>Quit Kelvaris</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Hide window</translation>
    </message>
    <message>
        <source>Minimize window</source>
        <translation>Minimize window</translation>
    </message>
</context>
<context>
    <name>CHistoryDialog</name>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Schedule</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Holder of a group</source>
        <translation>Holder of a group</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Activation</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Password protection</translation>
    </message>
    <message>
        <source>Takeover messages</source>
        <translation>Takeover messages</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Shifts</translation>
    </message>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Barriers/Pauses</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>Holidays</translation>
    </message>
    <message>
        <source>Target list</source>
        <translation>Target list</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>Windowless program</source>
        <translation>Windowless program</translation>
    </message>
    <message>
        <source>Outside Kelvaris</source>
        <translation>Outside Kelvaris</translation>
    </message>
    <message>
        <source>Takeover of duty</source>
        <translation>Takeover of duty</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Alarm server</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>&amp;Since:</source>
        <translation>&amp;Since:</translation>
    </message>
    <message>
        <source>Show the changes from this day on</source>
        <translation>Show the changes from this day on</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Kind:</translation>
    </message>
    <message>
        <source>Show only changes of this kind</source>
        <translation>Show only changes of this kind</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>All kinds</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Target:</translation>
    </message>
    <message>
        <source>Show only changes of this target</source>
        <translation>Show only changes of this target</translation>
    </message>
    <message>
        <source>All targets</source>
        <translation>All targets</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Through</source>
        <translation>Through</translation>
    </message>
    <message>
        <source>What</source>
        <translation>What</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Why</translation>
    </message>
    <message>
        <source>Open an entry to see its content before and after the change</source>
        <translation>Open an entry to see its content before and after the change</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Changes</translation>
    </message>
    <message>
        <source>&amp;Before and after...</source>
        <translation>&amp;Before and after...</translation>
    </message>
    <message>
        <source>No edit journal is kept in this data folder yet.</source>
        <translation>No edit journal is kept in this data folder yet.</translation>
    </message>
    <message>
        <source>The edit journal cannot be read: %1</source>
        <translation>The edit journal cannot be read: %1</translation>
    </message>
    <message>
        <source>The newest %1 changes since that day are listed.</source>
        <translation>The newest %1 changes since that day are listed.</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) listed.</source>
        <translation>
            <numerusform>%n change listed.</numerusform>
            <numerusform>%n changes listed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Duty notice</source>
        <translation>Duty notice</translation>
    </message>
</context>
<context>
    <name>CHistoryEntryDialog</name>
    <message>
        <source>Change %1</source>
        <translation>Change %1</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Through:</source>
        <translation>Through:</translation>
    </message>
    <message>
        <source>Password typed for:</source>
        <translation>Password typed for:</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>What:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Target:</translation>
    </message>
    <message>
        <source>Why:</source>
        <translation>Why:</translation>
    </message>
    <message>
        <source>Lines removed</source>
        <translation>Lines removed</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>Lines added</source>
        <translation>Lines added</translation>
    </message>
    <message>
        <source>After</source>
        <translation>After</translation>
    </message>
</context>
<context>
    <name>CHolidayAuto</name>
    <message>
        <source>Enter the Years</source>
        <translation>Enter the Years</translation>
    </message>
    <message>
        <source>&amp;From year:</source>
        <translation>&amp;From year:</translation>
    </message>
    <message>
        <source>&amp;To year:</source>
        <translation>&amp;To year:</translation>
    </message>
    <message>
        <source>Years from 1901 to 2099</source>
        <translation>Years from 1901 to 2099</translation>
    </message>
</context>
<context>
    <name>CHolidayEntry</name>
    <message>
        <source>Holiday</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Date:</translation>
    </message>
    <message>
        <source>The name shown in the holiday list</source>
        <translation>The name shown in the holiday list</translation>
    </message>
</context>
<context>
    <name>CHolidayListDialog</name>
    <message>
        <source>Holidays</source>
        <translation>Holidays</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>Au&amp;tomatic</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Add a holiday</source>
        <translation>Add a holiday</translation>
    </message>
    <message>
        <source>Change the selected holiday (or double-click it)</source>
        <translation>Change the selected holiday (or double-click it)</translation>
    </message>
    <message>
        <source>Remove the selected holiday</source>
        <translation>Remove the selected holiday</translation>
    </message>
    <message>
        <source>Add the statutory holidays of a span of years</source>
        <translation>Add the statutory holidays of a span of years</translation>
    </message>
    <message numerus="yes">
        <source>%n holiday(s) added.</source>
        <translation>
            <numerusform>%n holiday added.</numerusform>
            <numerusform>%n holidays added.</numerusform>
        </translation>
    </message>
    <message>
        <source>No holiday added: those of %1 to %2 are listed already or not known.</source>
        <translation>No holiday added: those of %1 to %2 are listed already or not known.</translation>
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
    <message>
        <source>The password could not be stored in the configuration file.
It protects the program until it ends.</source>
        <translation>The password could not be stored in the configuration file.
It protects the program until it ends.</translation>
    </message>
    <message>
        <source>Kelvaris cannot answer the dispatch checks of the alarm server:
%1</source>
        <translation>Kelvaris cannot answer the dispatch checks of the alarm server:
%1</translation>
    </message>
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Current Shift</translation>
    </message>
    <message>
        <source>Current Barrier/Pause</source>
        <translation>Current Barrier/Pause</translation>
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
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The changes could not be saved in %1: %2

Kelvaris keeps them and tries again every 30 seconds.</source>
        <translation>The changes could not be saved in %1: %2

Kelvaris keeps them and tries again every 30 seconds.</translation>
    </message>
    <message>
        <source>Log Files (*.log);;Text Files (*.txt);;All Files (*)</source>
        <translation>Log Files (*.log);;Text Files (*.txt);;All Files (*)</translation>
    </message>
    <message>
        <source>The logbook could not be saved in %1: %2</source>
        <translation>The logbook could not be saved in %1: %2</translation>
    </message>
    <message>
        <source>Nearest gap in cover</source>
        <translation>Nearest gap in cover</translation>
    </message>
    <message>
        <source>None within 24 hours</source>
        <translation>None within 24 hours</translation>
    </message>
    <message>
        <source>Every alarm group has a member on duty for the next 24 hours</source>
        <translation>Every alarm group has a member on duty for the next 24 hours</translation>
    </message>
    <message>
        <source>%1: nobody on duty %2</source>
        <translation>%1: nobody on duty %2</translation>
    </message>
    <message>
        <source>The gaps in cover within 24 hours:</source>
        <translation>The gaps in cover within 24 hours:</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Notice</translation>
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
        <translation>Pass&amp;word...</translation>
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
    <message>
        <source>There is no system tray to hide the window in: it is minimized instead</source>
        <translation>There is no system tray to hide the window in: it is minimized instead</translation>
    </message>
    <message>
        <source>Journal not written since %1</source>
        <translation>Journal not written since %1</translation>
    </message>
    <message>
        <source>The edit journal cannot be written since %1. The changes are kept and written as soon as it can be again.</source>
        <translation>The edit journal cannot be written since %1. The changes are kept and written as soon as it can be again.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>H&amp;istory...</translation>
    </message>
    <message>
        <source>Show who changed the plans and settings, and when</source>
        <translation>Show who changed the plans and settings, and when</translation>
    </message>
    <message>
        <source>Duty &amp;notices...</source>
        <translation>Duty &amp;notices...</translation>
    </message>
    <message>
        <source>Choose when people are paged about their duty, and the texts</source>
        <translation>Choose when people are paged about their duty, and the texts</translation>
    </message>
</context>
<context>
    <name>CNoticeSettingsDialog</name>
    <message>
        <source>Duty Notices</source>
        <translation>Duty Notices</translation>
    </message>
    <message>
        <source>&amp;Remind before a duty begins:</source>
        <translation>&amp;Remind before a duty begins:</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>no reminders</source>
        <translation>no reminders</translation>
    </message>
    <message>
        <source>Each person is paged this long before a duty of theirs begins</source>
        <translation>Each person is paged this long before a duty of theirs begins</translation>
    </message>
    <message>
        <source>Tell &amp;changes of the duty within:</source>
        <translation>Tell &amp;changes of the duty within:</translation>
    </message>
    <message>
        <source> h</source>
        <translation> h</translation>
    </message>
    <message>
        <source>no change notices</source>
        <translation>no change notices</translation>
    </message>
    <message>
        <source>An edit that adds, removes or moves a duty within this time is paged to the person</source>
        <translation>An edit that adds, removes or moves a duty within this time is paged to the person</translation>
    </message>
    <message>
        <source>After a stop, &amp;send notices late by up to:</source>
        <translation>After a stop, &amp;send notices late by up to:</translation>
    </message>
    <message>
        <source>A notice whose moment passed while Kelvaris was stopped is dropped when it is later</source>
        <translation>A notice whose moment passed while Kelvaris was stopped is dropped when it is later</translation>
    </message>
    <message>
        <source>&amp;Daily summary at</source>
        <translation>&amp;Daily summary at</translation>
    </message>
    <message>
        <source>Who is on duty today in each group, and the day&apos;s gaps in cover</source>
        <translation>Who is on duty today in each group, and the day&apos;s gaps in cover</translation>
    </message>
    <message>
        <source>Summary &amp;to (target IDs, separated by &quot;;&quot;):</source>
        <translation>Summary &amp;to (target IDs, separated by &quot;;&quot;):</translation>
    </message>
    <message>
        <source>Re&amp;minder text:</source>
        <translation>Re&amp;minder text:</translation>
    </message>
    <message>
        <source>&amp;Holder text:</source>
        <translation>&amp;Holder text:</translation>
    </message>
    <message>
        <source>S&amp;ummary text:</source>
        <translation>S&amp;ummary text:</translation>
    </message>
    <message>
        <source>Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</source>
        <translation>Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</translation>
    </message>
    <message>
        <source>Chan&amp;ge text:</source>
        <translation>Chan&amp;ge text:</translation>
    </message>
    <message>
        <source>Time of the daily summary</source>
        <translation>Time of the daily summary</translation>
    </message>
    <message>
        <source>Texts of the notices</source>
        <translation>Texts of the notices</translation>
    </message>
</context>
<context>
    <name>CPlanExport</name>
    <message>
        <source>All Groups</source>
        <translation>All Groups</translation>
    </message>
    <message>
        <source>All Receiver</source>
        <translation>All Receiver</translation>
    </message>
    <message>
        <source>January;February;March;April;May;June;July;August;September;October;November;December</source>
        <translation>January;February;March;April;May;June;July;August;September;October;November;December</translation>
    </message>
</context>
<context>
    <name>CPlannerAccessible</name>
    <message>
        <source>no duty</source>
        <translation>no duty</translation>
    </message>
</context>
<context>
    <name>CPlannerWidget</name>
    <message>
        <source>Mark duty with the mouse: click a quarter hour or drag over several; held past the top or bottom edge, the grid scrolls on.</source>
        <translation>Mark duty with the mouse: click a quarter hour or drag over several; held past the top or bottom edge, the grid scrolls on.</translation>
    </message>
    <message>
        <source>With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection (or unmarks it when the current cell is marked).</source>
        <translation>With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection (or unmarks it when the current cell is marked).</translation>
    </message>
    <message>
        <source>Double click or Enter on a member&apos;s cell opens that receiver.</source>
        <translation>Double click or Enter on a member&apos;s cell opens that receiver.</translation>
    </message>
    <message>
        <source>Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection.</source>
        <translation>Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection.</translation>
    </message>
</context>
<context>
    <name>CPrivateFolder</name>
    <message>
        <source>the folder &quot;%1&quot; cannot be created: %2</source>
        <translation>the folder &quot;%1&quot; cannot be created: %2</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be used: %2</source>
        <translation>the folder &quot;%1&quot; cannot be used: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link, not a folder</source>
        <translation>&quot;%1&quot; is a link, not a folder</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>&quot;%1&quot; is not a folder</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; belongs to another user</source>
        <translation>the folder &quot;%1&quot; belongs to another user</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; can be written by other users</source>
        <translation>the folder &quot;%1&quot; can be written by other users</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be written: %2</source>
        <translation>the file &quot;%1&quot; cannot be written: %2</translation>
    </message>
</context>
<context>
    <name>CScheduleEntry</name>
    <message>
        <source>&amp;Identification:</source>
        <translation>&amp;Identification:</translation>
    </message>
    <message>
        <source>&amp;Date type:</source>
        <translation>&amp;Date type:</translation>
    </message>
    <message>
        <source>D&amp;ate:</source>
        <translation>D&amp;ate:</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>&amp;Start time:</translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation>&amp;End time:</translation>
    </message>
    <message>
        <source>The first second of the time window</source>
        <translation>The first second of the time window</translation>
    </message>
    <message>
        <source>The last second of the time window; it must be later than the start time</source>
        <translation>The last second of the time window; it must be later than the start time</translation>
    </message>
</context>
<context>
    <name>CScheduleListDialog</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Add a new entry</source>
        <translation>Add a new entry</translation>
    </message>
    <message>
        <source>Edit the selected entry (or double-click it)</source>
        <translation>Edit the selected entry (or double-click it)</translation>
    </message>
    <message>
        <source>Remove the selected entry</source>
        <translation>Remove the selected entry</translation>
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
    <name>CShiftEntry</name>
    <message>
        <source>No Shift</source>
        <translation>No Shift</translation>
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
        <translation>Shift &amp;no.:</translation>
    </message>
    <message>
        <source>&amp;Weekly rotation starting in week:</source>
        <translation>&amp;Weekly rotation starting in week:</translation>
    </message>
    <message>
        <source>&amp;Cycle:</source>
        <translation>&amp;Cycle:</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>weeks</translation>
    </message>
    <message>
        <source>The shift number told to the alarm server; choose one or type it. &quot;No Shift&quot; means that no shift is on duty</source>
        <translation>The shift number told to the alarm server; choose one or type it. &quot;No Shift&quot; means that no shift is on duty</translation>
    </message>
    <message>
        <source>The shift number advances by one each calendar week through the cycle; only for a weekday, working day or weekend shift with a number</source>
        <translation>The shift number advances by one each calendar week through the cycle; only for a weekday, working day or weekend shift with a number</translation>
    </message>
    <message>
        <source>The number of weeks of the rotation; choose one or type it</source>
        <translation>The number of weeks of the rotation; choose one or type it</translation>
    </message>
</context>
<context>
    <name>CShiftListDialog</name>
    <message>
        <source>Identification</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Date type</translation>
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
        <source>End time</source>
        <translation>End time</translation>
    </message>
    <message>
        <source>Shift no.</source>
        <translation>Shift no.</translation>
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
    <name>CTakeoverTextsDlg</name>
    <message>
        <source>Messages used for takeover mode</source>
        <translation>Messages used for takeover mode</translation>
    </message>
    <message>
        <source>&amp;Request for takeover:</source>
        <translation>&amp;Request for takeover:</translation>
    </message>
    <message>
        <source>&amp;Confirmation of takeover:</source>
        <translation>&amp;Confirmation of takeover:</translation>
    </message>
    <message>
        <source>&amp;No response:</source>
        <translation>&amp;No response:</translation>
    </message>
    <message>
        <source>Sent to the next user, asking to take over the duty</source>
        <translation>Sent to the next user, asking to take over the duty</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one has taken over</source>
        <translation>Sent to the previous user when the next one has taken over</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one did not answer in time</source>
        <translation>Sent to the previous user when the next one did not answer in time</translation>
    </message>
    <message>
        <source>Placeholders</source>
        <translation>Placeholders</translation>
    </message>
    <message>
        <source>{{GROUP}}	Name of the alarm group</source>
        <translation>{{GROUP}}	Name of the alarm group</translation>
    </message>
    <message>
        <source>{{CURRENT}}	Name of the previous user</source>
        <translation>{{CURRENT}}	Name of the previous user</translation>
    </message>
    <message>
        <source>{{NEXT}}	User name for takeover</source>
        <translation>{{NEXT}}	User name for takeover</translation>
    </message>
</context>
<context>
    <name>CTimePlanner</name>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</translation>
    </message>
    <message>
        <source>previous;Holiday;after</source>
        <translation>previous;Holiday;after</translation>
    </message>
    <message>
        <source>Week %1:  %2 - %3</source>
        <translation>Week %1:  %2 - %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>What a row of the planner stands for, read by screen readers: &quot;10:00 to 10:15&quot;.</extracomment>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>Nobody in the group is on duty</source>
        <translation>Nobody in the group is on duty</translation>
    </message>
    <message>
        <source>Last changed by %1 on %2</source>
        <translation>Last changed by %1 on %2</translation>
    </message>
</context>
<context>
    <name>CTypedEntry</name>
    <message>
        <source>&quot;%1&quot; is not understood; %2 is kept.</source>
        <translation>&quot;%1&quot; is not understood; %2 is kept.</translation>
    </message>
</context>
<context>
    <name>CWarningForwarder</name>
    <message>
        <source> (%1 more left out)</source>
        <translation> (%1 more left out)</translation>
    </message>
</context>
<context>
    <name>Coverage</name>
    <message>
        <source>Nobody in %1 is on duty %2</source>
        <translation>Nobody in %1 is on duty %2</translation>
    </message>
</context>
<context>
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</translation>
    </message>
</context>
<context>
    <name>DutyCalendar</name>
    <message>
        <source>%1 (group)</source>
        <translation>%1 (group)</translation>
    </message>
    <message>
        <source>Number: %1</source>
        <translation>Number: %1</translation>
    </message>
    <message>
        <source>Members: %1</source>
        <translation>Members: %1</translation>
    </message>
    <message>
        <source>Holder when written: %1</source>
        <translation>Holder when written: %1</translation>
    </message>
</context>
<context>
    <name>DutyNotices</name>
    <message>
        <source>Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}</source>
        <translation>Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}</translation>
    </message>
    <message>
        <source>Your duty changed: {{CHANGES}}</source>
        <translation>Your duty changed: {{CHANGES}}</translation>
    </message>
    <message>
        <source>You now hold {{GROUP}}</source>
        <translation>You now hold {{GROUP}}</translation>
    </message>
    <message>
        <source>On duty {{DATE}}: {{SUMMARY}}</source>
        <translation>On duty {{DATE}}: {{SUMMARY}}</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>nobody</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Gaps in cover: %1</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent; it is tried again: %2</source>
        <translation>Notice to %1 could not be sent; it is tried again: %2</translation>
    </message>
    <message>
        <source>Notice sent to %1: %2</source>
        <translation>Notice sent to %1: %2</translation>
    </message>
    <message>
        <source>added</source>
        <translation>added</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>removed</translation>
    </message>
    <message>
        <source>Notice to %1 dropped, %2 minutes late: %3</source>
        <translation>Notice to %1 dropped, %2 minutes late: %3</translation>
    </message>
    <message>
        <source>Notice to %1 held by the barrier/pause: %2</source>
        <translation>Notice to %1 held by the barrier/pause: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the duty began during the barrier/pause: %2</source>
        <translation>Notice to %1 dropped: the duty began during the barrier/pause: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the alarm server does not list it: %2</source>
        <translation>Notice to %1 dropped: the alarm server does not list it: %2</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent after %2 tries: %3</source>
        <translation>Notice to %1 could not be sent after %2 tries: %3</translation>
    </message>
</context>
</TS>
