<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>BoardPages</name>
    <message>
        <source>Languages</source>
        <translation>Idiomas</translation>
    </message>
    <message>
        <source>Barrier: messages are deleted</source>
        <translation>Bloqueo: los mensajes se eliminan</translation>
    </message>
    <message>
        <source>Barrier: messages are held until its end</source>
        <translation>Bloqueo: los mensajes se retienen hasta su fin</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Duty schedule</source>
        <translation>Plan de guardias</translation>
    </message>
    <message>
        <source>active</source>
        <translation>activo</translation>
    </message>
    <message>
        <source>not active</source>
        <translation>inactivo</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Turno</translation>
    </message>
    <message>
        <source>none</source>
        <translation>ninguno</translation>
    </message>
    <message>
        <source>Barrier/pause</source>
        <translation>Bloqueo/pausa</translation>
    </message>
    <message>
        <source>reachable</source>
        <translation>accesible</translation>
    </message>
    <message>
        <source>not reachable</source>
        <translation>no accesible</translation>
    </message>
    <message>
        <source>last answer %1</source>
        <translation>última respuesta %1</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Servidor de alarmas</translation>
    </message>
    <message>
        <source>Gaps in cover within 24 hours</source>
        <translation>Huecos de cobertura en las próximas 24 horas</translation>
    </message>
    <message>
        <source>No group is without cover.</source>
        <translation>Ningún grupo está sin cobertura.</translation>
    </message>
    <message>
        <source>now</source>
        <translation>ahora</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Grupos</translation>
    </message>
    <message>
        <source>There are no groups.</source>
        <translation>No hay grupos.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <source>On duty now</source>
        <translation>De guardia ahora</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Próximo cambio</translation>
    </message>
    <message>
        <source>holder</source>
        <translation>titular</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>nadie</translation>
    </message>
    <message>
        <source>none within a week</source>
        <translation>ninguno en una semana</translation>
    </message>
    <message>
        <source>coming on: %1</source>
        <translation>entra: %1</translation>
    </message>
    <message>
        <source>going off: %1</source>
        <translation>sale: %1</translation>
    </message>
    <message>
        <source>Receivers on duty now</source>
        <translation>Receptores de guardia ahora</translation>
    </message>
    <message>
        <source>Nobody is on duty.</source>
        <translation>Nadie está de guardia.</translation>
    </message>
    <message>
        <source>until %1</source>
        <translation>hasta %1</translation>
    </message>
    <message>
        <source>Who is on duty</source>
        <translation>Quién está de guardia</translation>
    </message>
    <message>
        <source>The alarm server has not told Kelvaris its receivers and groups yet.</source>
        <translation>El servidor de alarmas aún no ha comunicado a Kelvaris sus receptores y grupos.</translation>
    </message>
    <message>
        <source>Wall-screen view</source>
        <translation>Vista para pantalla de pared</translation>
    </message>
    <message>
        <source>Duty plan of %1</source>
        <translation>Plan de guardias de %1</translation>
    </message>
    <message>
        <source>Week %1: %2 to %3</source>
        <translation>Semana %1: del %2 al %3</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>Semanas</translation>
    </message>
    <message>
        <source>Previous week</source>
        <translation>Semana anterior</translation>
    </message>
    <message>
        <source>Back to the board</source>
        <translation>Volver al panel</translation>
    </message>
    <message>
        <source>Next week</source>
        <translation>Semana siguiente</translation>
    </message>
    <message>
        <source>Calendar (iCalendar)</source>
        <translation>Calendario (iCalendar)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Día</translation>
    </message>
    <message>
        <source>On duty</source>
        <translation>De guardia</translation>
    </message>
    <message>
        <source>all day (no plan: always on duty)</source>
        <translation>todo el día (sin plan: siempre de guardia)</translation>
    </message>
    <message>
        <source>off duty</source>
        <translation>libre</translation>
    </message>
    <message>
        <source>Address too long</source>
        <translation>Dirección demasiado larga</translation>
    </message>
    <message>
        <source>This address is longer than any page of the board.</source>
        <translation>Esta dirección es más larga que cualquier página del panel.</translation>
    </message>
    <message>
        <source>Token needed</source>
        <translation>Se necesita un token</translation>
    </message>
    <message>
        <source>This board is shown only with its token. Ask the operators of the alarm system for the address with the token.</source>
        <translation>Este panel solo se muestra con su token. Pida la dirección con el token a los operadores del sistema de alarmas.</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>No encontrado</translation>
    </message>
    <message>
        <source>The board has no page at this address.</source>
        <translation>El panel no tiene ninguna página en esta dirección.</translation>
    </message>
    <message>
        <source>The alarm server knows no receiver or group with this ID.</source>
        <translation>El servidor de alarmas no conoce ningún receptor ni grupo con este ID.</translation>
    </message>
    <message>
        <source>Not a date</source>
        <translation>No es una fecha</translation>
    </message>
    <message>
        <source>The week is given by a date such as 2026-12-07.</source>
        <translation>La semana se indica con una fecha como 2026-12-07.</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Kelvaris</source>
        <translation>Acerca de Kelvaris</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
    <message>
        <source>Keeps the duty schedule of an alarm and paging installation and drives its alarm server.</source>
        <translation>Lleva el calendario de guardias de una instalación de alarma y radiobúsqueda y controla su servidor de alarmas.</translation>
    </message>
    <message>
        <source>Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).</source>
        <translation>Usa Qt %1, pugixml %2, RE2 y D-Bus (Qt D-Bus %3).</translation>
    </message>
</context>
<context>
    <name>CBarrageEntry</name>
    <message>
        <source>Barrier/Pause</source>
        <translation>Barrera/pausa</translation>
    </message>
    <message>
        <source>Type of &amp;barrier/pause:</source>
        <translation>Tipo de &amp;barrera/pausa:</translation>
    </message>
    <message>
        <source>&amp;Priority:</source>
        <translation>&amp;Prioridad:</translation>
    </message>
    <message>
        <source>The priority level of the messages let through; choose one or type its number</source>
        <translation>El nivel de prioridad de los mensajes que se dejan pasar; elija uno o escriba su número</translation>
    </message>
    <message>
        <source>With deleting the message</source>
        <translation>Con borrado del mensaje</translation>
    </message>
    <message>
        <source>With sending after barrier</source>
        <translation>Con envío tras la barrera</translation>
    </message>
    <message>
        <source>No barrier</source>
        <translation>Sin barrera</translation>
    </message>
    <message>
        <source>0 (Default)</source>
        <translation>0 (Predeterminada)</translation>
    </message>
    <message>
        <source>1 (Emergency)</source>
        <translation>1 (Emergencia)</translation>
    </message>
    <message>
        <source>2 (very very high)</source>
        <translation>2 (muy muy alta)</translation>
    </message>
    <message>
        <source>3 (very high)</source>
        <translation>3 (muy alta)</translation>
    </message>
    <message>
        <source>4 (high)</source>
        <translation>4 (alta)</translation>
    </message>
    <message>
        <source>5 (normal)</source>
        <translation>5 (normal)</translation>
    </message>
    <message>
        <source>6 (low)</source>
        <translation>6 (baja)</translation>
    </message>
    <message>
        <source>7 (very low)</source>
        <translation>7 (muy baja)</translation>
    </message>
    <message>
        <source>8 (very very low)</source>
        <translation>8 (muy muy baja)</translation>
    </message>
</context>
<context>
    <name>CBarrageListDialog</name>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Barreras/pausas</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Identificación</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Tipo de fecha</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Hora de inicio</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Hora de fin</translation>
    </message>
    <message>
        <source>Type of barrier/pause</source>
        <translation>Tipo de barrera/pausa</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Prioridad</translation>
    </message>
</context>
<context>
    <name>CDateEntryGuard</name>
    <message>
        <source>&quot;%1&quot; is not a valid date. Enter the date as %2, for example %3, or pick it from the calendar.</source>
        <translation>«%1» no es una fecha válida. Introduzca la fecha como %2, por ejemplo %3, o elíjala en el calendario.</translation>
    </message>
</context>
<context>
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>La contraseña introducida es incorrecta.</translation>
    </message>
</context>
<context>
    <name>CDispDuplicateDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>intervalo de tiempo no válido</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Lunes;Martes;Miércoles;Jueves;Viernes;Sábado;Domingo</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>año,años,mes,meses,semana,semanas,día,días,hora,horas,minuto,minutos,segundo,segundos</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>ninguna guardia</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>una guardia</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 guardias</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 copias</translation>
    </message>
    <message>
        <source>Duplicate dispatching</source>
        <translation>Duplicar guardias</translation>
    </message>
    <message>
        <source>Time range to duplicate</source>
        <translation>Intervalo de tiempo a duplicar</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Desde:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Hasta:</translation>
    </message>
    <message>
        <source>Duplicate to</source>
        <translation>Duplicar en</translation>
    </message>
    <message>
        <source>&amp;Start:</source>
        <translation>&amp;Inicio:</translation>
    </message>
    <message>
        <source>&amp;End:</source>
        <translation>&amp;Fin:</translation>
    </message>
    <message>
        <source>&amp;Copy dispatching:</source>
        <translation>&amp;Copiar guardias:</translation>
    </message>
    <message>
        <source>&amp;Remove dispatching:</source>
        <translation>&amp;Eliminar guardias:</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching is copied</source>
        <translation>Los receptores y grupos cuya guardia se copia</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching in the destination range is removed first</source>
        <translation>Los receptores y grupos cuya guardia en el intervalo de destino se elimina primero</translation>
    </message>
    <message>
        <source>The dispatch plan of these receivers and groups could not be saved:
%1</source>
        <translation>No se ha podido guardar el plan de guardia de estos receptores y grupos:
%1</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>Seleccionar &amp;todo</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>Seleccionar &amp;ninguno</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Seleccionar todo</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Seleccionar ninguno</translation>
    </message>
    <message>
        <source>Check every entry of the list</source>
        <translation>Marcar todas las entradas de la lista</translation>
    </message>
    <message>
        <source>Uncheck every entry of the list</source>
        <translation>Desmarcar todas las entradas de la lista</translation>
    </message>
</context>
<context>
    <name>CDispRemoveDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>intervalo de tiempo no válido</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>año,años,mes,meses,semana,semanas,día,días,hora,horas,minuto,minutos,segundo,segundos</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>ninguna guardia</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>una guardia</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 guardias</translation>
    </message>
    <message>
        <source>Remove dispatching</source>
        <translation>Eliminar guardias</translation>
    </message>
    <message>
        <source>Receiver:</source>
        <translation>Receptor:</translation>
    </message>
    <message>
        <source>Remove from</source>
        <translation>Eliminar desde</translation>
    </message>
    <message>
        <source>Remove to</source>
        <translation>Eliminar hasta</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Todo</translation>
    </message>
    <message>
        <source>&amp;Past</source>
        <translation>&amp;Pasado</translation>
    </message>
    <message>
        <source>&amp;Future</source>
        <translation>&amp;Futuro</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Hoy</translation>
    </message>
    <message>
        <source>From the first to the last day with dispatching</source>
        <translation>Desde el primer hasta el último día con guardia</translation>
    </message>
    <message>
        <source>From the first day with dispatching to yesterday</source>
        <translation>Desde el primer día con guardia hasta ayer</translation>
    </message>
    <message>
        <source>From tomorrow to the last day with dispatching</source>
        <translation>Desde mañana hasta el último día con guardia</translation>
    </message>
    <message>
        <source>Today only</source>
        <translation>Solo hoy</translation>
    </message>
    <message>
        <source>The dispatch plan of %1 could not be saved.</source>
        <translation>No se ha podido guardar el plan de guardia de %1.</translation>
    </message>
</context>
<context>
    <name>CDispatchingDlg</name>
    <message>
        <source>Plan of action</source>
        <translation>Plan de actuación</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Receptores</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Grupos</translation>
    </message>
    <message>
        <source>&amp;Activate takeover mode</source>
        <translation>&amp;Activar el modo de traspaso</translation>
    </message>
    <message>
        <source>While takeover mode is active, a member of the group is asked to take over the duty when it is due</source>
        <translation>Mientras el modo de traspaso está activo, se pide a un miembro del grupo que asuma la guardia cuando le corresponda</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <source>Show the current week</source>
        <translation>Mostrar la semana actual</translation>
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
        <translation>La semana mostrada</translation>
    </message>
    <message>
        <source>&lt; previous schedule</source>
        <translation>&lt; plan anterior</translation>
    </message>
    <message>
        <source>Show the latest week before this one that holds a plan</source>
        <translation>Mostrar la última semana anterior a esta que contiene un plan</translation>
    </message>
    <message>
        <source>next schedule &gt;</source>
        <translation>plan siguiente &gt;</translation>
    </message>
    <message>
        <source>Show the earliest week after this one that holds a plan</source>
        <translation>Mostrar la primera semana posterior a esta que contiene un plan</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>&amp;Copy...</source>
        <translation>&amp;Copiar...</translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation>E&amp;liminar...</translation>
    </message>
    <message>
        <source>Remove the plan of the selected entry on a span of days</source>
        <translation>Eliminar el plan de la entrada seleccionada en un intervalo de días</translation>
    </message>
    <message>
        <source>&amp;Duplicate...</source>
        <translation>&amp;Duplicar...</translation>
    </message>
    <message>
        <source>Repeat the plan of a span of days over another span</source>
        <translation>Repetir el plan de un intervalo de días en otro intervalo</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportar...</translation>
    </message>
    <message>
        <source>Show the two weeks before</source>
        <translation>Mostrar las dos semanas anteriores</translation>
    </message>
    <message>
        <source>Show the two weeks after</source>
        <translation>Mostrar las dos semanas siguientes</translation>
    </message>
    <message>
        <source>Show the week before</source>
        <translation>Mostrar la semana anterior</translation>
    </message>
    <message>
        <source>Show the week after</source>
        <translation>Mostrar la semana siguiente</translation>
    </message>
    <message>
        <source>The plan of &quot;%1&quot; could not be written to its dispatch file. It applies until the program ends.</source>
        <translation>No se ha podido escribir el plan de &quot;%1&quot; en su archivo de plan de guardia. Se aplica hasta que finalice el programa.</translation>
    </message>
    <message>
        <source>No program could be started to show the plan. It was written to &quot;%1&quot;.</source>
        <translation>No se ha podido iniciar ningún programa para mostrar el plan. Se ha escrito en &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The plan could not be written: %1.</source>
        <translation>No se ha podido escribir el plan: %1.</translation>
    </message>
    <message>
        <source>The alarm server no longer knows:
%1

The changes were written to their own dispatch files all the same; they apply once the alarm server lists them again.</source>
        <translation>El servidor de alarmas ya no conoce:
%1

Los cambios se han escrito de todos modos en sus propios archivos de planificación; se aplican en cuanto el servidor de alarmas vuelva a listarlos.</translation>
    </message>
    <message>
        <source>All groups</source>
        <translation>Todos los grupos</translation>
    </message>
    <message>
        <source>All receivers</source>
        <translation>Todos los receptores</translation>
    </message>
    <message>
        <source>Save duty calendar</source>
        <translation>Guardar calendario de servicio</translation>
    </message>
    <message>
        <source>iCalendar (*.ics)</source>
        <translation>iCalendar (*.ics)</translation>
    </message>
    <message>
        <source>The calendar could not be written to &quot;%1&quot;: %2.</source>
        <translation>No se pudo escribir el calendario en &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, Delete unmarks.</source>
        <translation>Teclado: las flechas mueven, Mayús+flecha amplía, Ctrl+Arriba/Abajo salta una hora, Espacio marca, Supr desmarca.</translation>
    </message>
    <message>
        <source>No gap in cover in the weeks shown.</source>
        <translation>Ninguna laguna de cobertura en las semanas mostradas.</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Lagunas de cobertura: %1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>y %n más</numerusform>
            <numerusform>y %n más</numerusform>
        </translation>
    </message>
    <message>
        <source>When the group is on duty by its own plan (always, without one) and fewer of its members than it needs are on duty, in the weeks shown</source>
        <translation>Cuando el grupo está de servicio según su propio plan (siempre, sin plan) y hay de servicio menos miembros de los necesarios, en las semanas mostradas</translation>
    </message>
    <message>
        <source>All gaps...</source>
        <translation>Todos los huecos...</translation>
    </message>
    <message>
        <source>List every gap in cover in the weeks shown</source>
        <translation>Listar todos los huecos de cobertura de las semanas mostradas</translation>
    </message>
    <message>
        <source>&amp;Members needed on duty:</source>
        <translation>&amp;Miembros necesarios de servicio:</translation>
    </message>
    <message>
        <source>Not watched</source>
        <translation>Sin vigilar</translation>
    </message>
    <message>
        <source>How many members the coverage guard wants on duty while the group is on duty by its own plan; 0 leaves the group out of the guard</source>
        <translation>Cuántos miembros espera de servicio la vigilancia de cobertura mientras el grupo está de servicio según su propio plan; 0 excluye al grupo de la vigilancia</translation>
    </message>
    <message>
        <source>Gaps in cover</source>
        <translation>Huecos de cobertura</translation>
    </message>
</context>
<context>
    <name>CEnterPasswordDlg</name>
    <message>
        <source>Please enter your password</source>
        <translation>Introduzca su contraseña</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Contraseña:</translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source>Print / export plan of action</source>
        <translation>Imprimir / exportar plan de actuación</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Miembros</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group:</source>
        <translation>Solo el &amp;receptor/grupo:</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group: %1</source>
        <translation>Solo el &amp;receptor/grupo: %1</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Periodo</translation>
    </message>
    <message>
        <source>The current &amp;week: %1</source>
        <translation>La &amp;semana actual: %1</translation>
    </message>
    <message>
        <source>The current &amp;month: %1</source>
        <translation>El &amp;mes actual: %1</translation>
    </message>
    <message>
        <source>Only the plan of the selected receiver or group</source>
        <translation>Solo el plan del receptor o grupo seleccionado</translation>
    </message>
    <message>
        <source>The plans of all entries of the list shown (receivers or groups)</source>
        <translation>Los planes de todas las entradas de la lista mostrada (receptores o grupos)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>&amp;HTML table</source>
        <translation>Tabla &amp;HTML</translation>
    </message>
    <message>
        <source>&amp;iCalendar (.ics)</source>
        <translation>&amp;iCalendar (.ics)</translation>
    </message>
    <message>
        <source>One calendar event per span of duty, for calendar programs</source>
        <translation>Un evento de calendario por cada periodo de servicio, para programas de calendario</translation>
    </message>
    <message>
        <source>&amp;All groups</source>
        <translation>&amp;Todos los grupos</translation>
    </message>
    <message>
        <source>&amp;All receivers</source>
        <translation>&amp;Todos los receptores</translation>
    </message>
</context>
<context>
    <name>CGeneralSettingsDialog</name>
    <message>
        <source>General Setup</source>
        <translation>Configuración general</translation>
    </message>
    <message>
        <source>Working days</source>
        <translation>Días laborables</translation>
    </message>
    <message>
        <source>Mo</source>
        <translation>Lu</translation>
    </message>
    <message>
        <source>Tu</source>
        <translation>Ma</translation>
    </message>
    <message>
        <source>We</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Th</source>
        <translation>Ju</translation>
    </message>
    <message>
        <source>Fr</source>
        <translation>Vi</translation>
    </message>
    <message>
        <source>Sa</source>
        <translation>Sá</translation>
    </message>
    <message>
        <source>Su</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Monday is a working day</source>
        <translation>El lunes es día laborable</translation>
    </message>
    <message>
        <source>Tuesday is a working day</source>
        <translation>El martes es día laborable</translation>
    </message>
    <message>
        <source>Wednesday is a working day</source>
        <translation>El miércoles es día laborable</translation>
    </message>
    <message>
        <source>Thursday is a working day</source>
        <translation>El jueves es día laborable</translation>
    </message>
    <message>
        <source>Friday is a working day</source>
        <translation>El viernes es día laborable</translation>
    </message>
    <message>
        <source>Saturday is a working day</source>
        <translation>El sábado es día laborable</translation>
    </message>
    <message>
        <source>Sunday is a working day</source>
        <translation>El domingo es día laborable</translation>
    </message>
    <message>
        <source>Days that are not checked and are no holidays count as weekend days</source>
        <translation>Los días no marcados que no son festivos cuentan como días de fin de semana</translation>
    </message>
    <message>
        <source>Work time</source>
        <translation>Horario laboral</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Desde:</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Hasta:</translation>
    </message>
    <message>
        <source>&amp;When the window is closed:</source>
        <translation>&amp;Al cerrar la ventana:</translation>
    </message>
    <message>
        <source>Quit Kelvaris</source>
        <translation>Salir de Kelvaris</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Ocultar la ventana</translation>
    </message>
    <message>
        <source>Minimize window</source>
        <translation>Minimizar la ventana</translation>
    </message>
</context>
<context>
    <name>CHistoryDialog</name>
    <message>
        <source>Configuration</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Planificación</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Holder of a group</source>
        <translation>Titular de un grupo</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Activación</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Protección por contraseña</translation>
    </message>
    <message>
        <source>Takeover messages</source>
        <translation>Mensajes de traspaso</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Turnos</translation>
    </message>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Barreras/Pausas</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>Festivos</translation>
    </message>
    <message>
        <source>Target list</source>
        <translation>Lista de destinos</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>Historial de cambios</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Ventana</translation>
    </message>
    <message>
        <source>Windowless program</source>
        <translation>Programa sin ventana</translation>
    </message>
    <message>
        <source>Outside Kelvaris</source>
        <translation>Fuera de Kelvaris</translation>
    </message>
    <message>
        <source>Takeover of duty</source>
        <translation>Traspaso de servicio</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Servidor de alarmas</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historial</translation>
    </message>
    <message>
        <source>&amp;Since:</source>
        <translation>&amp;Desde:</translation>
    </message>
    <message>
        <source>Show the changes from this day on</source>
        <translation>Mostrar los cambios a partir de este día</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Tipo:</translation>
    </message>
    <message>
        <source>Show only changes of this kind</source>
        <translation>Mostrar solo los cambios de este tipo</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>Todos los tipos</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>Desti&amp;no:</translation>
    </message>
    <message>
        <source>Show only changes of this target</source>
        <translation>Mostrar solo los cambios de este destino</translation>
    </message>
    <message>
        <source>All targets</source>
        <translation>Todos los destinos</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Usuario</translation>
    </message>
    <message>
        <source>Through</source>
        <translation>Mediante</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Qué</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Destino</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Por qué</translation>
    </message>
    <message>
        <source>Open an entry to see its content before and after the change</source>
        <translation>Abrir una entrada para ver su contenido antes y después del cambio</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Cambios</translation>
    </message>
    <message>
        <source>&amp;Before and after...</source>
        <translation>&amp;Antes y después...</translation>
    </message>
    <message>
        <source>No edit journal is kept in this data folder yet.</source>
        <translation>En esta carpeta de datos aún no se lleva un historial de cambios.</translation>
    </message>
    <message>
        <source>The edit journal cannot be read: %1</source>
        <translation>No se puede leer el historial de cambios: %1</translation>
    </message>
    <message>
        <source>The newest %1 changes since that day are listed.</source>
        <translation>Se muestran los %1 cambios más recientes desde ese día.</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) listed.</source>
        <translation>
            <numerusform>%n cambio mostrado.</numerusform>
            <numerusform>%n cambios mostrados.</numerusform>
        </translation>
    </message>
    <message>
        <source>Duty notice</source>
        <translation>Aviso de servicio</translation>
    </message>
</context>
<context>
    <name>CHistoryEntryDialog</name>
    <message>
        <source>Change %1</source>
        <translation>Cambio %1</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Hora:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Usuario:</translation>
    </message>
    <message>
        <source>Through:</source>
        <translation>Mediante:</translation>
    </message>
    <message>
        <source>Password typed for:</source>
        <translation>Contraseña introducida para:</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>Qué:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Destino:</translation>
    </message>
    <message>
        <source>Why:</source>
        <translation>Por qué:</translation>
    </message>
    <message>
        <source>Lines removed</source>
        <translation>Líneas eliminadas</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Antes</translation>
    </message>
    <message>
        <source>Lines added</source>
        <translation>Líneas añadidas</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Después</translation>
    </message>
</context>
<context>
    <name>CHolidayAuto</name>
    <message>
        <source>Enter the Years</source>
        <translation>Introduzca los años</translation>
    </message>
    <message>
        <source>&amp;From year:</source>
        <translation>&amp;Desde el año:</translation>
    </message>
    <message>
        <source>&amp;To year:</source>
        <translation>&amp;Hasta el año:</translation>
    </message>
    <message>
        <source>Years from 1901 to 2099</source>
        <translation>Años de 1901 a 2099</translation>
    </message>
</context>
<context>
    <name>CHolidayEntry</name>
    <message>
        <source>Holiday</source>
        <translation>Festivo</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nombre:</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Fecha:</translation>
    </message>
    <message>
        <source>The name shown in the holiday list</source>
        <translation>El nombre que aparece en la lista de festivos</translation>
    </message>
</context>
<context>
    <name>CHolidayListDialog</name>
    <message>
        <source>Holidays</source>
        <translation>Festivos</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>Festivo</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>E&amp;liminar</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>A&amp;utomático</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Add a holiday</source>
        <translation>Añadir un festivo</translation>
    </message>
    <message>
        <source>Change the selected holiday (or double-click it)</source>
        <translation>Cambiar el festivo seleccionado (o hacer doble clic en él)</translation>
    </message>
    <message>
        <source>Remove the selected holiday</source>
        <translation>Eliminar el festivo seleccionado</translation>
    </message>
    <message>
        <source>Add the statutory holidays of a span of years</source>
        <translation>Añadir los festivos oficiales de un intervalo de años</translation>
    </message>
    <message numerus="yes">
        <source>%n holiday(s) added.</source>
        <translation>
            <numerusform>%n festivo añadido.</numerusform>
            <numerusform>%n festivos añadidos.</numerusform>
        </translation>
    </message>
    <message>
        <source>No holiday added: those of %1 to %2 are listed already or not known.</source>
        <translation>No se ha añadido ningún festivo: los de %1 a %2 ya están en la lista o no se conocen.</translation>
    </message>
</context>
<context>
    <name>CHolidaysArray</name>
    <message>
        <source>New Year</source>
        <translation>Año Nuevo</translation>
    </message>
    <message>
        <source>Good Friday</source>
        <translation>Viernes Santo</translation>
    </message>
    <message>
        <source>Easter Sunday</source>
        <translation>Domingo de Resurrección</translation>
    </message>
    <message>
        <source>Easter Monday</source>
        <translation>Lunes de Pascua</translation>
    </message>
    <message>
        <source>Labour Day</source>
        <translation>Día del Trabajo</translation>
    </message>
    <message>
        <source>Ascension Day </source>
        <translation>Día de la Ascensión </translation>
    </message>
    <message>
        <source>Whitsunday</source>
        <translation>Domingo de Pentecostés</translation>
    </message>
    <message>
        <source>Whitmonday</source>
        <translation>Lunes de Pentecostés</translation>
    </message>
    <message>
        <source>German Unification Day</source>
        <translation>Día de la Unidad Alemana</translation>
    </message>
    <message>
        <source>Christmas Day</source>
        <translation>Día de Navidad</translation>
    </message>
    <message>
        <source>Boxing Day</source>
        <translation>San Esteban</translation>
    </message>
</context>
<context>
    <name>CKelvarisApp</name>
    <message>
        <source>Configuration path: </source>
        <translation>Ruta de configuración: </translation>
    </message>
    <message>
        <source>Dispatch plans (*.tim);;All Files (*)</source>
        <translation>Planes de guardia (*.tim);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>The password could not be stored in the configuration file.
It protects the program until it ends.</source>
        <translation>No se pudo guardar la contraseña en el archivo de configuración.
Protege el programa hasta que se cierre.</translation>
    </message>
    <message>
        <source>Kelvaris cannot answer the dispatch checks of the alarm server:
%1</source>
        <translation>Kelvaris no puede responder a las consultas de planificación del servidor de alarmas:
%1</translation>
    </message>
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Turno actual</translation>
    </message>
    <message>
        <source>Current Barrier/Pause</source>
        <translation>Barrera/pausa actual</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>Plan of action</source>
        <translation>Plan de actuación</translation>
    </message>
    <message>
        <source>from:</source>
        <translation>desde:</translation>
    </message>
    <message>
        <source>to:</source>
        <translation>hasta:</translation>
    </message>
    <message>
        <source>Now dispatched</source>
        <translation>De guardia ahora</translation>
    </message>
    <message>
        <source>The receivers and groups on duty now; double-click one to plan its duty</source>
        <translation>Los receptores y grupos que están de guardia ahora; haga doble clic en uno para planificar su guardia</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Hora de inicio</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>Deactivated</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>No barrier/pause</source>
        <translation>Sin barrera/pausa</translation>
    </message>
    <message>
        <source>No shift</source>
        <translation>Sin turno</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Iniciado</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Activado</translation>
    </message>
    <message>
        <source>Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier</source>
        <translation>Barrera/pausa con borrado;Barrera/pausa con envío;Pausa sin barrera</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Turno</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Advertencia</translation>
    </message>
    <message>
        <source>The changes could not be saved in %1: %2

Kelvaris keeps them and tries again every 30 seconds.</source>
        <translation>No se pudieron guardar los cambios en %1: %2

Kelvaris los conserva y lo vuelve a intentar cada 30 segundos.</translation>
    </message>
    <message>
        <source>Log Files (*.log);;Text Files (*.txt);;All Files (*)</source>
        <translation>Archivos de registro (*.log);;Archivos de texto (*.txt);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>The logbook could not be saved in %1: %2</source>
        <translation>No se pudo guardar el libro de registro en %1: %2</translation>
    </message>
    <message>
        <source>Nearest gap in cover</source>
        <translation>Próxima laguna de cobertura</translation>
    </message>
    <message>
        <source>None within 24 hours</source>
        <translation>Ninguna en las próximas 24 horas</translation>
    </message>
    <message>
        <source>Every alarm group has a member on duty for the next 24 hours</source>
        <translation>Cada grupo de alarma tiene un miembro de servicio durante las próximas 24 horas</translation>
    </message>
    <message>
        <source>%1: nobody on duty %2</source>
        <translation>%1: nadie de servicio %2</translation>
    </message>
    <message>
        <source>The gaps in cover within 24 hours:</source>
        <translation>Las lagunas de cobertura en las próximas 24 horas:</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Aviso</translation>
    </message>
</context>
<context>
    <name>CLanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Choose the language of the user interface:</source>
        <translation>Elija el idioma de la interfaz de usuario:</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Activate	Ctrl+A</source>
        <translation>&amp;Activar	Ctrl+A</translation>
    </message>
    <message>
        <source>Activate the schedule: the alarm server is told the current shift and barrier</source>
        <translation>Activar el calendario: se comunican al servidor de alarmas el turno y la barrera actuales</translation>
    </message>
    <message>
        <source>&amp;Deactivate	Ctrl+D</source>
        <translation>&amp;Desactivar	Ctrl+D</translation>
    </message>
    <message>
        <source>Deactivate the schedule: no shift and no barrier apply</source>
        <translation>Desactivar el calendario: no se aplica ningún turno ni ninguna barrera</translation>
    </message>
    <message>
        <source>Activate a&amp;utomatically</source>
        <translation>Activar a&amp;utomáticamente</translation>
    </message>
    <message>
        <source>Activate the schedule whenever the program starts</source>
        <translation>Activar el calendario cada vez que se inicia el programa</translation>
    </message>
    <message>
        <source>&amp;Save logfile...</source>
        <translation>&amp;Guardar archivo de registro...</translation>
    </message>
    <message>
        <source>Save the logbook in a text file</source>
        <translation>Guardar el registro en un archivo de texto</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Salir del programa</translation>
    </message>
    <message>
        <source>&amp;General Setup...</source>
        <translation>Configuración &amp;general...</translation>
    </message>
    <message>
        <source>Edit the working days, the working time and what closing the window does</source>
        <translation>Editar los días laborables, el horario laboral y lo que ocurre al cerrar la ventana</translation>
    </message>
    <message>
        <source>Takeover &amp;messages...</source>
        <translation>&amp;Mensajes de traspaso...</translation>
    </message>
    <message>
        <source>Edit the texts of the takeover messages</source>
        <translation>Editar los textos de los mensajes de traspaso de guardia</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>&amp;Idioma...</translation>
    </message>
    <message>
        <source>Choose the language of the program</source>
        <translation>Elegir el idioma del programa</translation>
    </message>
    <message>
        <source>&amp;Plan of action...	Ctrl+E</source>
        <translation>&amp;Plan de actuación...	Ctrl+E</translation>
    </message>
    <message>
        <source>Plan when the receivers and groups are on duty</source>
        <translation>Planificar cuándo están de guardia los receptores y los grupos</translation>
    </message>
    <message>
        <source>&amp;Shifts...	Ctrl+S</source>
        <translation>&amp;Turnos...	Ctrl+S</translation>
    </message>
    <message>
        <source>Edit the shifts</source>
        <translation>Editar los turnos</translation>
    </message>
    <message>
        <source>&amp;Barriers/Pauses...	Ctrl+P</source>
        <translation>&amp;Barreras/Pausas...	Ctrl+P</translation>
    </message>
    <message>
        <source>Edit the barriers and pauses</source>
        <translation>Editar las barreras y pausas</translation>
    </message>
    <message>
        <source>&amp;Holidays...	Ctrl+F</source>
        <translation>&amp;Festivos...	Ctrl+F</translation>
    </message>
    <message>
        <source>Edit the holidays</source>
        <translation>Editar los festivos</translation>
    </message>
    <message>
        <source>&amp;Password...</source>
        <translation>C&amp;ontraseña...</translation>
    </message>
    <message>
        <source>Set or change the password that protects the commands</source>
        <translation>Establecer o cambiar la contraseña que protege los comandos</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barra de herramientas</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Mostrar u ocultar la barra de herramientas</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>Barra de &amp;estado</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Mostrar u ocultar la barra de estado</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>&amp;Información del sistema...</translation>
    </message>
    <message>
        <source>Show information about the system and the configuration files</source>
        <translation>Mostrar información sobre el sistema y los archivos de configuración</translation>
    </message>
    <message>
        <source>&amp;About Kelvaris...</source>
        <translation>&amp;Acerca de Kelvaris...</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and copyright</source>
        <translation>Mostrar la versión y los derechos de autor del programa</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Start again from the configuration file</source>
        <translation>Empezar de nuevo desde el archivo de configuración</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open a dispatch plan</source>
        <translation>Abrir un plan de guardia</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Configuración</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barra de herramientas</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>&amp;Show Kelvaris</source>
        <translation>&amp;Mostrar Kelvaris</translation>
    </message>
    <message>
        <source>There is no system tray to hide the window in: it is minimized instead</source>
        <translation>No hay bandeja del sistema en la que ocultar la ventana: se minimiza en su lugar</translation>
    </message>
    <message>
        <source>Journal not written since %1</source>
        <translation>Historial de cambios sin escribir desde %1</translation>
    </message>
    <message>
        <source>The edit journal cannot be written since %1. The changes are kept and written as soon as it can be again.</source>
        <translation>El historial de cambios no se puede escribir desde %1. Los cambios se conservan y se escriben en cuanto sea posible.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;Historial...</translation>
    </message>
    <message>
        <source>Show who changed the plans and settings, and when</source>
        <translation>Mostrar quién cambió los planes y los ajustes, y cuándo</translation>
    </message>
    <message>
        <source>Duty &amp;notices...</source>
        <translation>Avisos de &amp;servicio...</translation>
    </message>
    <message>
        <source>Choose when people are paged about their duty, and the texts</source>
        <translation>Elegir cuándo se avisa a las personas de su servicio, y los textos</translation>
    </message>
</context>
<context>
    <name>CNoticeSettingsDialog</name>
    <message>
        <source>Duty Notices</source>
        <translation>Avisos de servicio</translation>
    </message>
    <message>
        <source>&amp;Remind before a duty begins:</source>
        <translation>&amp;Recordar antes del inicio de un servicio:</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>no reminders</source>
        <translation>sin recordatorios</translation>
    </message>
    <message>
        <source>Each person is paged this long before a duty of theirs begins</source>
        <translation>Cada persona recibe el aviso este tiempo antes de que empiece su servicio</translation>
    </message>
    <message>
        <source>Tell &amp;changes of the duty within:</source>
        <translation>Avisar de ca&amp;mbios del servicio dentro de:</translation>
    </message>
    <message>
        <source> h</source>
        <translation> h</translation>
    </message>
    <message>
        <source>no change notices</source>
        <translation>sin avisos de cambios</translation>
    </message>
    <message>
        <source>An edit that adds, removes or moves a duty within this time is paged to the person</source>
        <translation>Un cambio que añade, elimina o mueve un servicio dentro de este plazo se avisa a la persona</translation>
    </message>
    <message>
        <source>After a stop, &amp;send notices late by up to:</source>
        <translation>Tras una parada, &amp;enviar avisos con un retraso de hasta:</translation>
    </message>
    <message>
        <source>A notice whose moment passed while Kelvaris was stopped is dropped when it is later</source>
        <translation>Un aviso cuyo momento pasó mientras Kelvaris estaba detenido se descarta si llega más tarde</translation>
    </message>
    <message>
        <source>&amp;Daily summary at</source>
        <translation>Resumen &amp;diario a las</translation>
    </message>
    <message>
        <source>Who is on duty today in each group, and the day&apos;s gaps in cover</source>
        <translation>Quién está de servicio hoy en cada grupo, y los huecos de cobertura del día</translation>
    </message>
    <message>
        <source>Summary &amp;to (target IDs, separated by &quot;;&quot;):</source>
        <translation>Resumen &amp;para (ID de destinos, separados por &quot;;&quot;):</translation>
    </message>
    <message>
        <source>Re&amp;minder text:</source>
        <translation>Texto del recorda&amp;torio:</translation>
    </message>
    <message>
        <source>&amp;Holder text:</source>
        <translation>Texto del t&amp;itular:</translation>
    </message>
    <message>
        <source>S&amp;ummary text:</source>
        <translation>Texto del res&amp;umen:</translation>
    </message>
    <message>
        <source>Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</source>
        <translation>Marcadores: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</translation>
    </message>
    <message>
        <source>Chan&amp;ge text:</source>
        <translation>Texto del cam&amp;bio:</translation>
    </message>
    <message>
        <source>Time of the daily summary</source>
        <translation>Hora del resumen diario</translation>
    </message>
    <message>
        <source>Texts of the notices</source>
        <translation>Textos de los avisos</translation>
    </message>
</context>
<context>
    <name>CPlanExport</name>
    <message>
        <source>All Groups</source>
        <translation>Todos los grupos</translation>
    </message>
    <message>
        <source>All Receiver</source>
        <translation>Todos los receptores</translation>
    </message>
    <message>
        <source>January;February;March;April;May;June;July;August;September;October;November;December</source>
        <translation>Enero;Febrero;Marzo;Abril;Mayo;Junio;Julio;Agosto;Septiembre;Octubre;Noviembre;Diciembre</translation>
    </message>
</context>
<context>
    <name>CPlannerAccessible</name>
    <message>
        <source>no duty</source>
        <translation>sin guardia</translation>
    </message>
</context>
<context>
    <name>CPlannerWidget</name>
    <message>
        <source>Mark duty with the mouse: click a quarter hour or drag over several; held past the top or bottom edge, the grid scrolls on.</source>
        <translation>Marque el servicio con el ratón: haga clic en un cuarto de hora o arrastre sobre varios; si se mantiene más allá del borde superior o inferior, la cuadrícula sigue desplazándose.</translation>
    </message>
    <message>
        <source>With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection (or unmarks it when the current cell is marked).</source>
        <translation>Con el teclado: las teclas de flecha mueven, Mayús+flechas amplían la selección, Re Pág/Av Pág mueven una página, Inicio/Fin van al primer/último cuarto de hora, Espacio marca la selección (o la desmarca si la celda actual está marcada).</translation>
    </message>
    <message>
        <source>Double click or Enter on a member&apos;s cell opens that receiver.</source>
        <translation>Un doble clic o Intro en la celda de un miembro abre ese receptor.</translation>
    </message>
    <message>
        <source>Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection.</source>
        <translation>Ctrl+Arriba/Ctrl+Abajo mueve una hora, Supr desmarca la selección.</translation>
    </message>
</context>
<context>
    <name>CPrivateFolder</name>
    <message>
        <source>the folder &quot;%1&quot; cannot be created: %2</source>
        <translation>no se puede crear la carpeta &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be used: %2</source>
        <translation>no se puede usar la carpeta &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link, not a folder</source>
        <translation>&quot;%1&quot; es un enlace, no una carpeta</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>&quot;%1&quot; no es una carpeta</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; belongs to another user</source>
        <translation>la carpeta &quot;%1&quot; pertenece a otro usuario</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; can be written by other users</source>
        <translation>otros usuarios pueden escribir en la carpeta &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be written: %2</source>
        <translation>no se puede escribir el archivo &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>CScheduleEntry</name>
    <message>
        <source>&amp;Identification:</source>
        <translation>&amp;Identificación:</translation>
    </message>
    <message>
        <source>&amp;Date type:</source>
        <translation>&amp;Tipo de fecha:</translation>
    </message>
    <message>
        <source>D&amp;ate:</source>
        <translation>F&amp;echa:</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>&amp;Hora de inicio:</translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation>Hora de &amp;fin:</translation>
    </message>
    <message>
        <source>The first second of the time window</source>
        <translation>El primer segundo del intervalo de tiempo</translation>
    </message>
    <message>
        <source>The last second of the time window; it must be later than the start time</source>
        <translation>El último segundo del intervalo de tiempo; debe ser posterior a la hora de inicio</translation>
    </message>
</context>
<context>
    <name>CScheduleListDialog</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>E&amp;liminar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Add a new entry</source>
        <translation>Añadir una entrada nueva</translation>
    </message>
    <message>
        <source>Edit the selected entry (or double-click it)</source>
        <translation>Editar la entrada seleccionada (o hacer doble clic en ella)</translation>
    </message>
    <message>
        <source>Remove the selected entry</source>
        <translation>Eliminar la entrada seleccionada</translation>
    </message>
</context>
<context>
    <name>CSetupPasswordDlg</name>
    <message>
        <source>The password and the confirmed password do not match.
Please type them again.</source>
        <translation>La contraseña y la contraseña confirmada no coinciden.
Vuelva a escribirlas.</translation>
    </message>
    <message>
        <source>Password Setup</source>
        <translation>Configuración de la contraseña</translation>
    </message>
    <message>
        <source>&amp;Enter Password:</source>
        <translation>&amp;Introducir contraseña:</translation>
    </message>
    <message>
        <source>&amp;Confirm Password:</source>
        <translation>&amp;Confirmar contraseña:</translation>
    </message>
    <message>
        <source>&amp;Setups</source>
        <translation>Con&amp;figuración</translation>
    </message>
    <message>
        <source>(All functions in the Setup menu)</source>
        <translation>(Todas las funciones del menú Configuración)</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>&amp;Operación</translation>
    </message>
    <message>
        <source>(All functions in the File menu)</source>
        <translation>(Todas las funciones del menú Archivo)</translation>
    </message>
    <message>
        <source>E&amp;xit the program</source>
        <translation>&amp;Salir del programa</translation>
    </message>
    <message>
        <source>An empty password removes the password protection</source>
        <translation>Una contraseña vacía elimina la protección por contraseña</translation>
    </message>
</context>
<context>
    <name>CShiftEntry</name>
    <message>
        <source>No Shift</source>
        <translation>Sin turno</translation>
    </message>
    <message>
        <source>W%1</source>
        <extracomment>A calendar week in the rotation&apos;s start week list: W1 is week 1.</extracomment>
        <translation>S%1</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Turno</translation>
    </message>
    <message>
        <source>Shift &amp;no.:</source>
        <translation>&amp;N.º de turno:</translation>
    </message>
    <message>
        <source>&amp;Weekly rotation starting in week:</source>
        <translation>&amp;Rotación semanal a partir de la semana:</translation>
    </message>
    <message>
        <source>&amp;Cycle:</source>
        <translation>&amp;Ciclo:</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>semanas</translation>
    </message>
    <message>
        <source>The shift number told to the alarm server; choose one or type it. &quot;No Shift&quot; means that no shift is on duty</source>
        <translation>El número de turno que se comunica al servidor de alarmas; elija uno o escríbalo. &quot;Sin turno&quot; significa que no hay ningún turno de guardia</translation>
    </message>
    <message>
        <source>The shift number advances by one each calendar week through the cycle; only for a weekday, working day or weekend shift with a number</source>
        <translation>El número de turno avanza en uno cada semana natural a lo largo del ciclo; solo para un turno de día de la semana, de día laborable o de fin de semana con número</translation>
    </message>
    <message>
        <source>The number of weeks of the rotation; choose one or type it</source>
        <translation>El número de semanas de la rotación; elija uno o escríbalo</translation>
    </message>
</context>
<context>
    <name>CShiftListDialog</name>
    <message>
        <source>Identification</source>
        <translation>Identificación</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Tipo de fecha</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Hora de inicio</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Hora de fin</translation>
    </message>
    <message>
        <source>Shift no.</source>
        <translation>N.º de turno</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Turnos</translation>
    </message>
</context>
<context>
    <name>CSystemInfoDialog</name>
    <message>
        <source>System information</source>
        <translation>Información del sistema</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>Copy the system information to the clipboard</source>
        <translation>Copiar la información del sistema al portapapeles</translation>
    </message>
    <message>
        <source>Operating system: %1</source>
        <translation>Sistema operativo: %1</translation>
    </message>
    <message>
        <source>Kernel: %1 %2</source>
        <translation>Núcleo: %1 %2</translation>
    </message>
    <message>
        <source>Qt version: %1</source>
        <translation>Versión de Qt: %1</translation>
    </message>
    <message>
        <source>Locale: %1</source>
        <translation>Configuración regional: %1</translation>
    </message>
</context>
<context>
    <name>CTakeoverMode</name>
    <message>
        <source>Please confirm the takeover of duty for {{GROUP}}</source>
        <translation>Confirme el traspaso de guardia para {{GROUP}}</translation>
    </message>
    <message>
        <source>The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}</source>
        <translation>El traspaso de guardia para {{GROUP}} fue confirmado por {{NEXT}}</translation>
    </message>
    <message>
        <source>Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}</source>
        <translation>¡Atención! - La guardia para {{GROUP}} no fue aceptada por {{NEXT}}</translation>
    </message>
</context>
<context>
    <name>CTakeoverTextsDlg</name>
    <message>
        <source>Messages used for takeover mode</source>
        <translation>Mensajes del modo de traspaso de guardia</translation>
    </message>
    <message>
        <source>&amp;Request for takeover:</source>
        <translation>&amp;Solicitud de traspaso:</translation>
    </message>
    <message>
        <source>&amp;Confirmation of takeover:</source>
        <translation>&amp;Confirmación de traspaso:</translation>
    </message>
    <message>
        <source>&amp;No response:</source>
        <translation>Sin &amp;respuesta:</translation>
    </message>
    <message>
        <source>Sent to the next user, asking to take over the duty</source>
        <translation>Se envía al usuario siguiente para pedirle que asuma la guardia</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one has taken over</source>
        <translation>Se envía al usuario anterior cuando el siguiente ha asumido la guardia</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one did not answer in time</source>
        <translation>Se envía al usuario anterior cuando el siguiente no ha respondido a tiempo</translation>
    </message>
    <message>
        <source>Placeholders</source>
        <translation>Marcadores de posición</translation>
    </message>
    <message>
        <source>{{GROUP}}	Name of the alarm group</source>
        <translation>{{GROUP}}	Nombre del grupo de alarma</translation>
    </message>
    <message>
        <source>{{CURRENT}}	Name of the previous user</source>
        <translation>{{CURRENT}}	Nombre del usuario anterior</translation>
    </message>
    <message>
        <source>{{NEXT}}	User name for takeover</source>
        <translation>{{NEXT}}	Nombre del usuario que asume la guardia</translation>
    </message>
</context>
<context>
    <name>CTimePlanner</name>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Lunes;Martes;Miércoles;Jueves;Viernes;Sábado;Domingo</translation>
    </message>
    <message>
        <source>previous;Holiday;after</source>
        <translation>anterior;Festivo;posterior</translation>
    </message>
    <message>
        <source>Week %1:  %2 - %3</source>
        <translation>Semana %1:  %2 - %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>What a row of the planner stands for, read by screen readers: &quot;10:00 to 10:15&quot;.</extracomment>
        <translation>%1 a %2</translation>
    </message>
    <message>
        <source>Nobody in the group is on duty</source>
        <translation>Nadie del grupo está de servicio</translation>
    </message>
    <message>
        <source>Last changed by %1 on %2</source>
        <translation>Último cambio por %1 el %2</translation>
    </message>
</context>
<context>
    <name>CTypedEntry</name>
    <message>
        <source>&quot;%1&quot; is not understood; %2 is kept.</source>
        <translation>«%1» no se entiende; se mantiene %2.</translation>
    </message>
</context>
<context>
    <name>CWarningForwarder</name>
    <message>
        <source> (%1 more left out)</source>
        <translation> (%1 más omitidos)</translation>
    </message>
</context>
<context>
    <name>Coverage</name>
    <message>
        <source>Nobody in %1 is on duty %2</source>
        <translation>Nadie en %1 está de servicio %2</translation>
    </message>
</context>
<context>
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Fecha especial;Festivo;Lunes;Martes;Miércoles;Jueves;Viernes;Sábado;Domingo;Día laborable;Fin de semana;Víspera de festivo;Día después de festivo;</translation>
    </message>
</context>
<context>
    <name>DutyCalendar</name>
    <message>
        <source>%1 (group)</source>
        <translation>%1 (grupo)</translation>
    </message>
    <message>
        <source>Number: %1</source>
        <translation>Número: %1</translation>
    </message>
    <message>
        <source>Members: %1</source>
        <translation>Miembros: %1</translation>
    </message>
    <message>
        <source>Holder when written: %1</source>
        <translation>Titular al escribir: %1</translation>
    </message>
</context>
<context>
    <name>DutyNotices</name>
    <message>
        <source>Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}</source>
        <translation>Recordatorio: servicio para {{GROUP}} desde {{DATE}} {{START}} hasta {{END}}</translation>
    </message>
    <message>
        <source>Your duty changed: {{CHANGES}}</source>
        <translation>Su servicio ha cambiado: {{CHANGES}}</translation>
    </message>
    <message>
        <source>You now hold {{GROUP}}</source>
        <translation>Ahora tiene el servicio de {{GROUP}}</translation>
    </message>
    <message>
        <source>On duty {{DATE}}: {{SUMMARY}}</source>
        <translation>De servicio el {{DATE}}: {{SUMMARY}}</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>nadie</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Huecos en la cobertura: %1</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent; it is tried again: %2</source>
        <translation>No se pudo enviar el aviso a %1; se vuelve a intentar: %2</translation>
    </message>
    <message>
        <source>Notice sent to %1: %2</source>
        <translation>Aviso enviado a %1: %2</translation>
    </message>
    <message>
        <source>added</source>
        <translation>añadido</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>eliminado</translation>
    </message>
    <message>
        <source>Notice to %1 dropped, %2 minutes late: %3</source>
        <translation>Aviso a %1 descartado, %2 minutos tarde: %3</translation>
    </message>
    <message>
        <source>Notice to %1 held by the barrier/pause: %2</source>
        <translation>Aviso a %1 retenido por la barrera/pausa: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the duty began during the barrier/pause: %2</source>
        <translation>Aviso a %1 descartado: el servicio comenzó durante la barrera/pausa: %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the alarm server does not list it: %2</source>
        <translation>Aviso a %1 descartado: el servidor de alarmas no lo conoce: %2</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent after %2 tries: %3</source>
        <translation>El aviso a %1 no se pudo enviar tras %2 intentos: %3</translation>
    </message>
</context>
</TS>
