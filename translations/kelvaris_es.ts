<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
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
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>La contraseña introducida es incorrecta.</translation>
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
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Turno actual</translation>
    </message>
    <message>
        <source>Current Barrirer/Pause</source>
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
        <source>Text Files (*.txt);;All Files (*)</source>
        <translation>Archivos de texto (*.txt);;Todos los archivos (*)</translation>
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
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Fecha especial;Festivo;Lunes;Martes;Miércoles;Jueves;Viernes;Sábado;Domingo;Día laborable;Fin de semana;Víspera de festivo;Día después de festivo;</translation>
    </message>
</context>
</TS>
