<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>BoardPages</name>
    <message>
        <source>Languages</source>
        <translation>Langues</translation>
    </message>
    <message>
        <source>Barrier: messages are deleted</source>
        <translation>Blocage : les messages sont supprimés</translation>
    </message>
    <message>
        <source>Barrier: messages are held until its end</source>
        <translation>Blocage : les messages sont retenus jusqu&apos;à sa fin</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>State</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Duty schedule</source>
        <translation>Planning de service</translation>
    </message>
    <message>
        <source>active</source>
        <translation>actif</translation>
    </message>
    <message>
        <source>not active</source>
        <translation>inactif</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Équipe</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucun</translation>
    </message>
    <message>
        <source>Barrier/pause</source>
        <translation>Blocage/pause</translation>
    </message>
    <message>
        <source>reachable</source>
        <translation>joignable</translation>
    </message>
    <message>
        <source>not reachable</source>
        <translation>injoignable</translation>
    </message>
    <message>
        <source>last answer %1</source>
        <translation>dernière réponse %1</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Serveur d&apos;alarme</translation>
    </message>
    <message>
        <source>Gaps in cover within 24 hours</source>
        <translation>Trous de couverture dans les 24 heures</translation>
    </message>
    <message>
        <source>No group is without cover.</source>
        <translation>Aucun groupe n&apos;est sans couverture.</translation>
    </message>
    <message>
        <source>now</source>
        <translation>maintenant</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groupes</translation>
    </message>
    <message>
        <source>There are no groups.</source>
        <translation>Il n&apos;y a aucun groupe.</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <source>On duty now</source>
        <translation>De service maintenant</translation>
    </message>
    <message>
        <source>Next change</source>
        <translation>Prochain changement</translation>
    </message>
    <message>
        <source>holder</source>
        <translation>titulaire</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>personne</translation>
    </message>
    <message>
        <source>none within a week</source>
        <translation>aucun d&apos;ici une semaine</translation>
    </message>
    <message>
        <source>coming on: %1</source>
        <translation>arrive : %1</translation>
    </message>
    <message>
        <source>going off: %1</source>
        <translation>part : %1</translation>
    </message>
    <message>
        <source>Receivers on duty now</source>
        <translation>Destinataires de service maintenant</translation>
    </message>
    <message>
        <source>Nobody is on duty.</source>
        <translation>Personne n&apos;est de service.</translation>
    </message>
    <message>
        <source>until %1</source>
        <translation>jusqu&apos;à %1</translation>
    </message>
    <message>
        <source>Who is on duty</source>
        <translation>Qui est de service</translation>
    </message>
    <message>
        <source>The alarm server has not told Kelvaris its receivers and groups yet.</source>
        <translation>Le serveur d&apos;alarme n&apos;a pas encore communiqué ses destinataires et groupes à Kelvaris.</translation>
    </message>
    <message>
        <source>Wall-screen view</source>
        <translation>Affichage pour écran mural</translation>
    </message>
    <message>
        <source>Duty plan of %1</source>
        <translation>Planning de service de %1</translation>
    </message>
    <message>
        <source>Week %1: %2 to %3</source>
        <translation>Semaine %1 : du %2 au %3</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>Semaines</translation>
    </message>
    <message>
        <source>Previous week</source>
        <translation>Semaine précédente</translation>
    </message>
    <message>
        <source>Back to the board</source>
        <translation>Retour au tableau</translation>
    </message>
    <message>
        <source>Next week</source>
        <translation>Semaine suivante</translation>
    </message>
    <message>
        <source>Calendar (iCalendar)</source>
        <translation>Calendrier (iCalendar)</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Jour</translation>
    </message>
    <message>
        <source>On duty</source>
        <translation>De service</translation>
    </message>
    <message>
        <source>all day (no plan: always on duty)</source>
        <translation>toute la journée (sans planning : toujours de service)</translation>
    </message>
    <message>
        <source>off duty</source>
        <translation>hors service</translation>
    </message>
    <message>
        <source>Address too long</source>
        <translation>Adresse trop longue</translation>
    </message>
    <message>
        <source>This address is longer than any page of the board.</source>
        <translation>Cette adresse est plus longue que toute page du tableau.</translation>
    </message>
    <message>
        <source>Token needed</source>
        <translation>Jeton requis</translation>
    </message>
    <message>
        <source>This board is shown only with its token. Ask the operators of the alarm system for the address with the token.</source>
        <translation>Ce tableau ne s&apos;affiche qu&apos;avec son jeton. Demandez l&apos;adresse avec le jeton aux exploitants du système d&apos;alarme.</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
    <message>
        <source>The board has no page at this address.</source>
        <translation>Le tableau n&apos;a pas de page à cette adresse.</translation>
    </message>
    <message>
        <source>The alarm server knows no receiver or group with this ID.</source>
        <translation>Le serveur d&apos;alarme ne connaît aucun destinataire ni groupe avec cet identifiant.</translation>
    </message>
    <message>
        <source>Not a date</source>
        <translation>Pas une date</translation>
    </message>
    <message>
        <source>The week is given by a date such as 2026-12-07.</source>
        <translation>La semaine est donnée par une date telle que 2026-12-07.</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Kelvaris</source>
        <translation>À propos de Kelvaris</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Keeps the duty schedule of an alarm and paging installation and drives its alarm server.</source>
        <translation>Gère le planning de service d&apos;une installation d&apos;alarme et de radiomessagerie et pilote son serveur d&apos;alarme.</translation>
    </message>
    <message>
        <source>Uses Qt %1, pugixml %2, RE2 and D-Bus (Qt D-Bus %3).</source>
        <translation>Utilise Qt %1, pugixml %2, RE2 et D-Bus (Qt D-Bus %3).</translation>
    </message>
</context>
<context>
    <name>CBarrageEntry</name>
    <message>
        <source>Barrier/Pause</source>
        <translation>Blocage/Pause</translation>
    </message>
    <message>
        <source>Type of &amp;barrier/pause:</source>
        <translation>Type de &amp;blocage/pause :</translation>
    </message>
    <message>
        <source>&amp;Priority:</source>
        <translation>&amp;Priorité :</translation>
    </message>
    <message>
        <source>The priority level of the messages let through; choose one or type its number</source>
        <translation>Le niveau de priorité des messages qui passent ; choisissez-en un ou saisissez son numéro</translation>
    </message>
    <message>
        <source>With deleting the message</source>
        <translation>Avec suppression du message</translation>
    </message>
    <message>
        <source>With sending after barrier</source>
        <translation>Avec envoi après le blocage</translation>
    </message>
    <message>
        <source>No barrier</source>
        <translation>Sans blocage</translation>
    </message>
    <message>
        <source>0 (Default)</source>
        <translation>0 (par défaut)</translation>
    </message>
    <message>
        <source>1 (Emergency)</source>
        <translation>1 (urgence)</translation>
    </message>
    <message>
        <source>2 (very very high)</source>
        <translation>2 (très très haute)</translation>
    </message>
    <message>
        <source>3 (very high)</source>
        <translation>3 (très haute)</translation>
    </message>
    <message>
        <source>4 (high)</source>
        <translation>4 (haute)</translation>
    </message>
    <message>
        <source>5 (normal)</source>
        <translation>5 (normale)</translation>
    </message>
    <message>
        <source>6 (low)</source>
        <translation>6 (basse)</translation>
    </message>
    <message>
        <source>7 (very low)</source>
        <translation>7 (très basse)</translation>
    </message>
    <message>
        <source>8 (very very low)</source>
        <translation>8 (très très basse)</translation>
    </message>
</context>
<context>
    <name>CBarrageListDialog</name>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Blocages/Pauses</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Date type</source>
        <translation>Type de date</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Heure de début</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Heure de fin</translation>
    </message>
    <message>
        <source>Type of barrier/pause</source>
        <translation>Type de blocage/pause</translation>
    </message>
    <message>
        <source>Priority</source>
        <translation>Priorité</translation>
    </message>
</context>
<context>
    <name>CDateEntryGuard</name>
    <message>
        <source>&quot;%1&quot; is not a valid date. Enter the date as %2, for example %3, or pick it from the calendar.</source>
        <translation>« %1 » n&apos;est pas une date valide. Saisissez la date sous la forme %2, par exemple %3, ou choisissez-la dans le calendrier.</translation>
    </message>
</context>
<context>
    <name>CDialogPasswordPrompt</name>
    <message>
        <source>The password you typed is incorrect.</source>
        <translation>Le mot de passe saisi est incorrect.</translation>
    </message>
</context>
<context>
    <name>CDispDuplicateDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>intervalle de temps non valide</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Lundi;Mardi;Mercredi;Jeudi;Vendredi;Samedi;Dimanche</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>an,ans,mois,mois,semaine,semaines,jour,jours,heure,heures,minute,minutes,seconde,secondes</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>aucune période de service</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>une période de service</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 périodes de service</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 copies</translation>
    </message>
    <message>
        <source>Duplicate dispatching</source>
        <translation>Dupliquer les périodes de service</translation>
    </message>
    <message>
        <source>Time range to duplicate</source>
        <translation>Plage à dupliquer</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Début :</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Fin :</translation>
    </message>
    <message>
        <source>Duplicate to</source>
        <translation>Dupliquer vers</translation>
    </message>
    <message>
        <source>&amp;Start:</source>
        <translation>Dé&amp;but :</translation>
    </message>
    <message>
        <source>&amp;End:</source>
        <translation>F&amp;in :</translation>
    </message>
    <message>
        <source>&amp;Copy dispatching:</source>
        <translation>&amp;Copier les périodes de service de :</translation>
    </message>
    <message>
        <source>&amp;Remove dispatching:</source>
        <translation>&amp;Supprimer les périodes de service de :</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching is copied</source>
        <translation>Les récepteurs et groupes dont les périodes de service sont copiées</translation>
    </message>
    <message>
        <source>The receivers and groups whose dispatching in the destination range is removed first</source>
        <translation>Les récepteurs et groupes dont les périodes de service dans la plage de destination sont d&apos;abord supprimées</translation>
    </message>
    <message>
        <source>The dispatch plan of these receivers and groups could not be saved:
%1</source>
        <translation>Le plan de service de ces récepteurs et groupes n&apos;a pas pu être enregistré :
%1</translation>
    </message>
    <message>
        <source>Select &amp;all</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>Select &amp;none</source>
        <translation>&amp;Aucune sélection</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Tout sélectionner</translation>
    </message>
    <message>
        <source>Select none</source>
        <translation>Aucune sélection</translation>
    </message>
    <message>
        <source>Check every entry of the list</source>
        <translation>Cocher toutes les entrées de la liste</translation>
    </message>
    <message>
        <source>Uncheck every entry of the list</source>
        <translation>Décocher toutes les entrées de la liste</translation>
    </message>
</context>
<context>
    <name>CDispRemoveDlg</name>
    <message>
        <source>invalid time interval</source>
        <translation>intervalle de temps non valide</translation>
    </message>
    <message>
        <source>year,years,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds</source>
        <translation>an,ans,mois,mois,semaine,semaines,jour,jours,heure,heures,minute,minutes,seconde,secondes</translation>
    </message>
    <message>
        <source>no dispatching</source>
        <translation>aucune période de service</translation>
    </message>
    <message>
        <source>one dispatching</source>
        <translation>une période de service</translation>
    </message>
    <message>
        <source>%1 dispatches</source>
        <translation>%1 périodes de service</translation>
    </message>
    <message>
        <source>Remove dispatching</source>
        <translation>Supprimer les périodes de service</translation>
    </message>
    <message>
        <source>Receiver:</source>
        <translation>Récepteur :</translation>
    </message>
    <message>
        <source>Remove from</source>
        <translation>Supprimer à partir du</translation>
    </message>
    <message>
        <source>Remove to</source>
        <translation>Supprimer jusqu&apos;au</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Tout</translation>
    </message>
    <message>
        <source>&amp;Past</source>
        <translation>&amp;Passé</translation>
    </message>
    <message>
        <source>&amp;Future</source>
        <translation>&amp;Futur</translation>
    </message>
    <message>
        <source>&amp;Today</source>
        <translation>&amp;Aujourd&apos;hui</translation>
    </message>
    <message>
        <source>From the first to the last day with dispatching</source>
        <translation>Du premier au dernier jour avec des périodes de service</translation>
    </message>
    <message>
        <source>From the first day with dispatching to yesterday</source>
        <translation>Du premier jour avec des périodes de service jusqu&apos;à hier</translation>
    </message>
    <message>
        <source>From tomorrow to the last day with dispatching</source>
        <translation>De demain au dernier jour avec des périodes de service</translation>
    </message>
    <message>
        <source>Today only</source>
        <translation>Aujourd&apos;hui uniquement</translation>
    </message>
    <message>
        <source>The dispatch plan of %1 could not be saved.</source>
        <translation>Le plan de service de %1 n&apos;a pas pu être enregistré.</translation>
    </message>
</context>
<context>
    <name>CDispatchingDlg</name>
    <message>
        <source>Plan of action</source>
        <translation>Plan d&apos;action</translation>
    </message>
    <message>
        <source>Receiver</source>
        <translation>Récepteurs</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Groupes</translation>
    </message>
    <message>
        <source>&amp;Activate takeover mode</source>
        <translation>&amp;Activer le mode de prise de service</translation>
    </message>
    <message>
        <source>While takeover mode is active, a member of the group is asked to take over the duty when it is due</source>
        <translation>Tant que le mode de prise de service est actif, il est demandé à un membre du groupe de prendre le service au moment prévu</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Aujourd&apos;hui</translation>
    </message>
    <message>
        <source>Show the current week</source>
        <translation>Afficher la semaine en cours</translation>
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
        <translation>La semaine affichée</translation>
    </message>
    <message>
        <source>&lt; previous schedule</source>
        <translation>&lt; planning précédent</translation>
    </message>
    <message>
        <source>Show the latest week before this one that holds a plan</source>
        <translation>Afficher la dernière semaine avant celle-ci qui contient un plan</translation>
    </message>
    <message>
        <source>next schedule &gt;</source>
        <translation>planning suivant &gt;</translation>
    </message>
    <message>
        <source>Show the earliest week after this one that holds a plan</source>
        <translation>Afficher la première semaine après celle-ci qui contient un plan</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>&amp;Copy...</source>
        <translation>&amp;Copier...</translation>
    </message>
    <message>
        <source>&amp;Remove...</source>
        <translation>&amp;Supprimer...</translation>
    </message>
    <message>
        <source>Remove the plan of the selected entry on a span of days</source>
        <translation>Supprimer le plan de l&apos;entrée sélectionnée sur une plage de jours</translation>
    </message>
    <message>
        <source>&amp;Duplicate...</source>
        <translation>&amp;Dupliquer...</translation>
    </message>
    <message>
        <source>Repeat the plan of a span of days over another span</source>
        <translation>Répéter le plan d&apos;une plage de jours sur une autre plage</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exporter...</translation>
    </message>
    <message>
        <source>Show the two weeks before</source>
        <translation>Afficher les deux semaines précédentes</translation>
    </message>
    <message>
        <source>Show the two weeks after</source>
        <translation>Afficher les deux semaines suivantes</translation>
    </message>
    <message>
        <source>Show the week before</source>
        <translation>Afficher la semaine précédente</translation>
    </message>
    <message>
        <source>Show the week after</source>
        <translation>Afficher la semaine suivante</translation>
    </message>
    <message>
        <source>The plan of &quot;%1&quot; could not be written to its dispatch file. It applies until the program ends.</source>
        <translation>Le plan de « %1 » n&apos;a pas pu être écrit dans son fichier de service. Il s&apos;applique jusqu&apos;à la fin du programme.</translation>
    </message>
    <message>
        <source>No program could be started to show the plan. It was written to &quot;%1&quot;.</source>
        <translation>Aucun programme n&apos;a pu être lancé pour afficher le plan. Il a été écrit dans « %1 ».</translation>
    </message>
    <message>
        <source>The plan could not be written: %1.</source>
        <translation>Le plan n&apos;a pas pu être écrit : %1.</translation>
    </message>
    <message>
        <source>The alarm server no longer knows:
%1

The changes were written to their own dispatch files all the same; they apply once the alarm server lists them again.</source>
        <translation>Le serveur d&apos;alarme ne connaît plus :
%1

Les modifications ont tout de même été écrites dans leurs propres fichiers de planification ; elles s&apos;appliquent dès que le serveur d&apos;alarme les liste à nouveau.</translation>
    </message>
    <message>
        <source>All groups</source>
        <translation>Tous les groupes</translation>
    </message>
    <message>
        <source>All receivers</source>
        <translation>Tous les récepteurs</translation>
    </message>
    <message>
        <source>Save duty calendar</source>
        <translation>Enregistrer l&apos;agenda de service</translation>
    </message>
    <message>
        <source>iCalendar (*.ics)</source>
        <translation>iCalendar (*.ics)</translation>
    </message>
    <message>
        <source>The calendar could not be written to &quot;%1&quot;: %2.</source>
        <translation>Impossible d&apos;écrire l&apos;agenda dans « %1 » : %2.</translation>
    </message>
    <message>
        <source>Keyboard: arrows move, Shift+arrows extend, Ctrl+Up/Down move an hour, Space marks, Delete unmarks.</source>
        <translation>Clavier : les flèches déplacent, Maj+flèche étend, Ctrl+Haut/Bas saute d&apos;une heure, Espace marque, Suppr démarque.</translation>
    </message>
    <message>
        <source>No gap in cover in the weeks shown.</source>
        <translation>Aucune lacune de couverture dans les semaines affichées.</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Lacunes de couverture : %1</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>When the group is on duty by its own plan (always, without one) and fewer of its members than it needs are on duty, in the weeks shown</source>
        <translation>Quand le groupe est de service selon son propre plan (toujours, sans plan) et que moins de membres que nécessaire sont de service, dans les semaines affichées</translation>
    </message>
    <message>
        <source>All gaps...</source>
        <translation>Tous les trous...</translation>
    </message>
    <message>
        <source>List every gap in cover in the weeks shown</source>
        <translation>Lister tous les trous de couverture des semaines affichées</translation>
    </message>
    <message>
        <source>&amp;Members needed on duty:</source>
        <translation>&amp;Membres requis de service :</translation>
    </message>
    <message>
        <source>Not watched</source>
        <translation>Non surveillé</translation>
    </message>
    <message>
        <source>How many members the coverage guard wants on duty while the group is on duty by its own plan; 0 leaves the group out of the guard</source>
        <translation>Combien de membres la surveillance de couverture attend de service pendant que le groupe est de service selon son propre plan ; 0 exclut le groupe de la surveillance</translation>
    </message>
    <message>
        <source>Gaps in cover</source>
        <translation>Trous de couverture</translation>
    </message>
</context>
<context>
    <name>CEnterPasswordDlg</name>
    <message>
        <source>Please enter your password</source>
        <translation>Veuillez saisir votre mot de passe</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Mot de passe :</translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source>Print / export plan of action</source>
        <translation>Imprimer / exporter le plan d&apos;action</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Membres</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group:</source>
        <translation>&amp;Uniquement le récepteur/groupe :</translation>
    </message>
    <message>
        <source>&amp;Only receiver/group: %1</source>
        <translation>&amp;Uniquement le récepteur/groupe : %1</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Période</translation>
    </message>
    <message>
        <source>The current &amp;week: %1</source>
        <translation>La &amp;semaine en cours : %1</translation>
    </message>
    <message>
        <source>The current &amp;month: %1</source>
        <translation>Le &amp;mois en cours : %1</translation>
    </message>
    <message>
        <source>Only the plan of the selected receiver or group</source>
        <translation>Uniquement le plan du récepteur ou du groupe sélectionné</translation>
    </message>
    <message>
        <source>The plans of all entries of the list shown (receivers or groups)</source>
        <translation>Les plans de toutes les entrées de la liste affichée (récepteurs ou groupes)</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>&amp;HTML table</source>
        <translation>Tableau &amp;HTML</translation>
    </message>
    <message>
        <source>&amp;iCalendar (.ics)</source>
        <translation>&amp;iCalendar (.ics)</translation>
    </message>
    <message>
        <source>One calendar event per span of duty, for calendar programs</source>
        <translation>Un événement d&apos;agenda par période de service, pour les logiciels d&apos;agenda</translation>
    </message>
    <message>
        <source>&amp;All groups</source>
        <translation>&amp;Tous les groupes</translation>
    </message>
    <message>
        <source>&amp;All receivers</source>
        <translation>&amp;Tous les récepteurs</translation>
    </message>
</context>
<context>
    <name>CGeneralSettingsDialog</name>
    <message>
        <source>General Setup</source>
        <translation>Configuration générale</translation>
    </message>
    <message>
        <source>Working days</source>
        <translation>Jours ouvrés</translation>
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
        <translation>Me</translation>
    </message>
    <message>
        <source>Th</source>
        <translation>Je</translation>
    </message>
    <message>
        <source>Fr</source>
        <translation>Ve</translation>
    </message>
    <message>
        <source>Sa</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>Su</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>Monday is a working day</source>
        <translation>Le lundi est un jour ouvré</translation>
    </message>
    <message>
        <source>Tuesday is a working day</source>
        <translation>Le mardi est un jour ouvré</translation>
    </message>
    <message>
        <source>Wednesday is a working day</source>
        <translation>Le mercredi est un jour ouvré</translation>
    </message>
    <message>
        <source>Thursday is a working day</source>
        <translation>Le jeudi est un jour ouvré</translation>
    </message>
    <message>
        <source>Friday is a working day</source>
        <translation>Le vendredi est un jour ouvré</translation>
    </message>
    <message>
        <source>Saturday is a working day</source>
        <translation>Le samedi est un jour ouvré</translation>
    </message>
    <message>
        <source>Sunday is a working day</source>
        <translation>Le dimanche est un jour ouvré</translation>
    </message>
    <message>
        <source>Days that are not checked and are no holidays count as weekend days</source>
        <translation>Les jours non cochés qui ne sont pas fériés comptent comme jours de week-end</translation>
    </message>
    <message>
        <source>Work time</source>
        <translation>Heures de travail</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Début :</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>&amp;Fin :</translation>
    </message>
    <message>
        <source>&amp;When the window is closed:</source>
        <translation>&amp;Lors de la fermeture de la fenêtre :</translation>
    </message>
    <message>
        <source>Quit Kelvaris</source>
        <translation>Quitter Kelvaris</translation>
    </message>
    <message>
        <source>Hide window</source>
        <translation>Masquer la fenêtre</translation>
    </message>
    <message>
        <source>Minimize window</source>
        <translation>Réduire la fenêtre</translation>
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
        <translation>Planning</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Holder of a group</source>
        <translation>Titulaire d&apos;un groupe</translation>
    </message>
    <message>
        <source>Activation</source>
        <translation>Activation</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Protection par mot de passe</translation>
    </message>
    <message>
        <source>Takeover messages</source>
        <translation>Messages de prise de service</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Équipes</translation>
    </message>
    <message>
        <source>Barriers/Pauses</source>
        <translation>Blocages/Pauses</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>Jours fériés</translation>
    </message>
    <message>
        <source>Target list</source>
        <translation>Liste des cibles</translation>
    </message>
    <message>
        <source>Journal</source>
        <translation>Historique des modifications</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenêtre</translation>
    </message>
    <message>
        <source>Windowless program</source>
        <translation>Programme sans fenêtre</translation>
    </message>
    <message>
        <source>Outside Kelvaris</source>
        <translation>Hors de Kelvaris</translation>
    </message>
    <message>
        <source>Takeover of duty</source>
        <translation>Prise de service</translation>
    </message>
    <message>
        <source>Alarm server</source>
        <translation>Serveur d&apos;alarme</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historique</translation>
    </message>
    <message>
        <source>&amp;Since:</source>
        <translation>&amp;Depuis :</translation>
    </message>
    <message>
        <source>Show the changes from this day on</source>
        <translation>Afficher les modifications à partir de ce jour</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>&amp;Type :</translation>
    </message>
    <message>
        <source>Show only changes of this kind</source>
        <translation>Afficher uniquement les modifications de ce type</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>Tous les types</translation>
    </message>
    <message>
        <source>&amp;Target:</source>
        <translation>&amp;Cible :</translation>
    </message>
    <message>
        <source>Show only changes of this target</source>
        <translation>Afficher uniquement les modifications de cette cible</translation>
    </message>
    <message>
        <source>All targets</source>
        <translation>Toutes les cibles</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Utilisateur</translation>
    </message>
    <message>
        <source>Through</source>
        <translation>Par</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Quoi</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Cible</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Pourquoi</translation>
    </message>
    <message>
        <source>Open an entry to see its content before and after the change</source>
        <translation>Ouvrir une entrée pour voir son contenu avant et après la modification</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Modifications</translation>
    </message>
    <message>
        <source>&amp;Before and after...</source>
        <translation>&amp;Avant et après...</translation>
    </message>
    <message>
        <source>No edit journal is kept in this data folder yet.</source>
        <translation>Aucun historique des modifications n&apos;est encore tenu dans ce dossier de données.</translation>
    </message>
    <message>
        <source>The edit journal cannot be read: %1</source>
        <translation>L&apos;historique des modifications ne peut pas être lu : %1</translation>
    </message>
    <message>
        <source>The newest %1 changes since that day are listed.</source>
        <translation>Les %1 modifications les plus récentes depuis ce jour sont affichées.</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) listed.</source>
        <translation>
            <numerusform>%n modification affichée.</numerusform>
            <numerusform>%n modifications affichées.</numerusform>
        </translation>
    </message>
    <message>
        <source>Duty notice</source>
        <translation>Avis de service</translation>
    </message>
</context>
<context>
    <name>CHistoryEntryDialog</name>
    <message>
        <source>Change %1</source>
        <translation>Modification %1</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Heure :</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Utilisateur :</translation>
    </message>
    <message>
        <source>Through:</source>
        <translation>Par :</translation>
    </message>
    <message>
        <source>Password typed for:</source>
        <translation>Mot de passe saisi pour :</translation>
    </message>
    <message>
        <source>What:</source>
        <translation>Quoi :</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Cible :</translation>
    </message>
    <message>
        <source>Why:</source>
        <translation>Pourquoi :</translation>
    </message>
    <message>
        <source>Lines removed</source>
        <translation>Lignes supprimées</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Avant</translation>
    </message>
    <message>
        <source>Lines added</source>
        <translation>Lignes ajoutées</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Après</translation>
    </message>
</context>
<context>
    <name>CHolidayAuto</name>
    <message>
        <source>Enter the Years</source>
        <translation>Saisir les années</translation>
    </message>
    <message>
        <source>&amp;From year:</source>
        <translation>&amp;Année de début :</translation>
    </message>
    <message>
        <source>&amp;To year:</source>
        <translation>Année de &amp;fin :</translation>
    </message>
    <message>
        <source>Years from 1901 to 2099</source>
        <translation>Années de 1901 à 2099</translation>
    </message>
</context>
<context>
    <name>CHolidayEntry</name>
    <message>
        <source>Holiday</source>
        <translation>Jour férié</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nom :</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>&amp;Date :</translation>
    </message>
    <message>
        <source>The name shown in the holiday list</source>
        <translation>Le nom affiché dans la liste des jours fériés</translation>
    </message>
</context>
<context>
    <name>CHolidayListDialog</name>
    <message>
        <source>Holidays</source>
        <translation>Jours fériés</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>Jour férié</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>A&amp;utomatique</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Add a holiday</source>
        <translation>Ajouter un jour férié</translation>
    </message>
    <message>
        <source>Change the selected holiday (or double-click it)</source>
        <translation>Modifier le jour férié sélectionné (ou double-cliquez dessus)</translation>
    </message>
    <message>
        <source>Remove the selected holiday</source>
        <translation>Supprimer le jour férié sélectionné</translation>
    </message>
    <message>
        <source>Add the statutory holidays of a span of years</source>
        <translation>Ajouter les jours fériés légaux d&apos;une plage d&apos;années</translation>
    </message>
    <message numerus="yes">
        <source>%n holiday(s) added.</source>
        <translation>
            <numerusform>%n jour férié ajouté.</numerusform>
            <numerusform>%n jours fériés ajoutés.</numerusform>
        </translation>
    </message>
    <message>
        <source>No holiday added: those of %1 to %2 are listed already or not known.</source>
        <translation>Aucun jour férié ajouté : ceux de %1 à %2 sont déjà dans la liste ou ne sont pas connus.</translation>
    </message>
</context>
<context>
    <name>CHolidaysArray</name>
    <message>
        <source>New Year</source>
        <translation>Jour de l&apos;An</translation>
    </message>
    <message>
        <source>Good Friday</source>
        <translation>Vendredi saint</translation>
    </message>
    <message>
        <source>Easter Sunday</source>
        <translation>Dimanche de Pâques</translation>
    </message>
    <message>
        <source>Easter Monday</source>
        <translation>Lundi de Pâques</translation>
    </message>
    <message>
        <source>Labour Day</source>
        <translation>Fête du Travail</translation>
    </message>
    <message>
        <source>Ascension Day </source>
        <translation>Ascension </translation>
    </message>
    <message>
        <source>Whitsunday</source>
        <translation>Dimanche de Pentecôte</translation>
    </message>
    <message>
        <source>Whitmonday</source>
        <translation>Lundi de Pentecôte</translation>
    </message>
    <message>
        <source>German Unification Day</source>
        <translation>Jour de l&apos;Unité allemande</translation>
    </message>
    <message>
        <source>Christmas Day</source>
        <translation>Noël</translation>
    </message>
    <message>
        <source>Boxing Day</source>
        <translation>Lendemain de Noël</translation>
    </message>
</context>
<context>
    <name>CKelvarisApp</name>
    <message>
        <source>Configuration path: </source>
        <translation>Chemin de configuration : </translation>
    </message>
    <message>
        <source>Dispatch plans (*.tim);;All Files (*)</source>
        <translation>Plans de service (*.tim);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>The password could not be stored in the configuration file.
It protects the program until it ends.</source>
        <translation>Le mot de passe n&apos;a pas pu être enregistré dans le fichier de configuration.
Il protège le programme jusqu&apos;à sa fermeture.</translation>
    </message>
    <message>
        <source>Kelvaris cannot answer the dispatch checks of the alarm server:
%1</source>
        <translation>Kelvaris ne peut pas répondre aux vérifications de planification du serveur d&apos;alarme :
%1</translation>
    </message>
</context>
<context>
    <name>CKelvarisView</name>
    <message>
        <source>Current Shift</source>
        <translation>Équipe en cours</translation>
    </message>
    <message>
        <source>Current Barrier/Pause</source>
        <translation>Blocage/pause en cours</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Plan of action</source>
        <translation>Plan d&apos;action</translation>
    </message>
    <message>
        <source>from:</source>
        <translation>Début :</translation>
    </message>
    <message>
        <source>to:</source>
        <translation>Fin :</translation>
    </message>
    <message>
        <source>Now dispatched</source>
        <translation>Actuellement de service</translation>
    </message>
    <message>
        <source>The receivers and groups on duty now; double-click one to plan its duty</source>
        <translation>Les récepteurs et groupes actuellement de service ; double-cliquez sur l&apos;un d&apos;eux pour planifier son service</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Heure de début</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <source>Deactivated</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>No barrier/pause</source>
        <translation>Aucun blocage/pause</translation>
    </message>
    <message>
        <source>No shift</source>
        <translation>Aucune équipe</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Démarré</translation>
    </message>
    <message>
        <source>Activated</source>
        <translation>Activé</translation>
    </message>
    <message>
        <source>Barrier/Pause with deleting;Barrier/Pause with sending;Pause without barrier</source>
        <translation>Blocage/pause avec suppression;Blocage/pause avec envoi;Pause sans blocage</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Équipe</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>The changes could not be saved in %1: %2

Kelvaris keeps them and tries again every 30 seconds.</source>
        <translation>Les modifications n&apos;ont pas pu être enregistrées dans %1 : %2

Kelvaris les conserve et réessaie toutes les 30 secondes.</translation>
    </message>
    <message>
        <source>Log Files (*.log);;Text Files (*.txt);;All Files (*)</source>
        <translation>Fichiers journaux (*.log);;Fichiers texte (*.txt);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>The logbook could not be saved in %1: %2</source>
        <translation>Le journal n&apos;a pas pu être enregistré dans %1 : %2</translation>
    </message>
    <message>
        <source>Nearest gap in cover</source>
        <translation>Prochaine lacune de couverture</translation>
    </message>
    <message>
        <source>None within 24 hours</source>
        <translation>Aucune dans les 24 heures</translation>
    </message>
    <message>
        <source>Every alarm group has a member on duty for the next 24 hours</source>
        <translation>Chaque groupe d&apos;alarme a un membre de service pendant les 24 prochaines heures</translation>
    </message>
    <message>
        <source>%1: nobody on duty %2</source>
        <translation>%1 : personne de service %2</translation>
    </message>
    <message>
        <source>The gaps in cover within 24 hours:</source>
        <translation>Les lacunes de couverture dans les 24 heures :</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Avis</translation>
    </message>
</context>
<context>
    <name>CLanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Choose the language of the user interface:</source>
        <translation>Choisissez la langue de l&apos;interface utilisateur :</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Activate	Ctrl+A</source>
        <translation>&amp;Activer	Ctrl+A</translation>
    </message>
    <message>
        <source>Activate the schedule: the alarm server is told the current shift and barrier</source>
        <translation>Activer le planning : le serveur d&apos;alarme reçoit l&apos;équipe et le blocage en cours</translation>
    </message>
    <message>
        <source>&amp;Deactivate	Ctrl+D</source>
        <translation>&amp;Désactiver	Ctrl+D</translation>
    </message>
    <message>
        <source>Deactivate the schedule: no shift and no barrier apply</source>
        <translation>Désactiver le planning : aucune équipe et aucun blocage ne s&apos;appliquent</translation>
    </message>
    <message>
        <source>Activate a&amp;utomatically</source>
        <translation>Activer a&amp;utomatiquement</translation>
    </message>
    <message>
        <source>Activate the schedule whenever the program starts</source>
        <translation>Activer le planning à chaque démarrage du programme</translation>
    </message>
    <message>
        <source>&amp;Save logfile...</source>
        <translation>&amp;Enregistrer le journal...</translation>
    </message>
    <message>
        <source>Save the logbook in a text file</source>
        <translation>Enregistrer le journal dans un fichier texte</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation>Quitter le programme</translation>
    </message>
    <message>
        <source>&amp;General Setup...</source>
        <translation>Configuration &amp;générale...</translation>
    </message>
    <message>
        <source>Edit the working days, the working time and what closing the window does</source>
        <translation>Modifier les jours ouvrés, les heures de travail et l&apos;effet de la fermeture de la fenêtre</translation>
    </message>
    <message>
        <source>Takeover &amp;messages...</source>
        <translation>&amp;Messages de prise de service...</translation>
    </message>
    <message>
        <source>Edit the texts of the takeover messages</source>
        <translation>Modifier les textes des messages de prise de service</translation>
    </message>
    <message>
        <source>&amp;Language...</source>
        <translation>&amp;Langue...</translation>
    </message>
    <message>
        <source>Choose the language of the program</source>
        <translation>Choisir la langue du programme</translation>
    </message>
    <message>
        <source>&amp;Plan of action...	Ctrl+E</source>
        <translation>&amp;Plan d&apos;action...	Ctrl+E</translation>
    </message>
    <message>
        <source>Plan when the receivers and groups are on duty</source>
        <translation>Planifier quand les récepteurs et les groupes sont de service</translation>
    </message>
    <message>
        <source>&amp;Shifts...	Ctrl+S</source>
        <translation>É&amp;quipes...	Ctrl+S</translation>
    </message>
    <message>
        <source>Edit the shifts</source>
        <translation>Modifier les équipes</translation>
    </message>
    <message>
        <source>&amp;Barriers/Pauses...	Ctrl+P</source>
        <translation>&amp;Blocages/Pauses...	Ctrl+P</translation>
    </message>
    <message>
        <source>Edit the barriers and pauses</source>
        <translation>Modifier les blocages et les pauses</translation>
    </message>
    <message>
        <source>&amp;Holidays...	Ctrl+F</source>
        <translation>&amp;Jours fériés...	Ctrl+F</translation>
    </message>
    <message>
        <source>Edit the holidays</source>
        <translation>Modifier les jours fériés</translation>
    </message>
    <message>
        <source>&amp;Password...</source>
        <translation>Mot de pa&amp;sse...</translation>
    </message>
    <message>
        <source>Set or change the password that protects the commands</source>
        <translation>Définir ou modifier le mot de passe qui protège les commandes</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barre d&apos;outils</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Afficher ou masquer la barre d&apos;outils</translation>
    </message>
    <message>
        <source>&amp;Statusbar</source>
        <translation>Barre d&apos;é&amp;tat</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Afficher ou masquer la barre d&apos;état</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>&amp;Informations système...</translation>
    </message>
    <message>
        <source>Show information about the system and the configuration files</source>
        <translation>Afficher des informations sur le système et les fichiers de configuration</translation>
    </message>
    <message>
        <source>&amp;About Kelvaris...</source>
        <translation>À &amp;propos de Kelvaris...</translation>
    </message>
    <message>
        <source>Show the program&apos;s version and copyright</source>
        <translation>Afficher la version et le copyright du programme</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Start again from the configuration file</source>
        <translation>Repartir du fichier de configuration</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Open a dispatch plan</source>
        <translation>Ouvrir un plan de service</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Setup</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barre d&apos;outils</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>&amp;Show Kelvaris</source>
        <translation>&amp;Afficher Kelvaris</translation>
    </message>
    <message>
        <source>There is no system tray to hide the window in: it is minimized instead</source>
        <translation>Aucune zone de notification où masquer la fenêtre : elle est réduite à la place</translation>
    </message>
    <message>
        <source>Journal not written since %1</source>
        <translation>Historique des modifications non écrit depuis %1</translation>
    </message>
    <message>
        <source>The edit journal cannot be written since %1. The changes are kept and written as soon as it can be again.</source>
        <translation>L&apos;historique des modifications ne peut plus être écrit depuis %1. Les modifications sont conservées et écrites dès que possible.</translation>
    </message>
    <message>
        <source>H&amp;istory...</source>
        <translation>&amp;Historique...</translation>
    </message>
    <message>
        <source>Show who changed the plans and settings, and when</source>
        <translation>Afficher qui a modifié les plans et les paramètres, et quand</translation>
    </message>
    <message>
        <source>Duty &amp;notices...</source>
        <translation>&amp;Avis de service...</translation>
    </message>
    <message>
        <source>Choose when people are paged about their duty, and the texts</source>
        <translation>Choisir quand les personnes sont averties de leur service, et les textes</translation>
    </message>
</context>
<context>
    <name>CNoticeSettingsDialog</name>
    <message>
        <source>Duty Notices</source>
        <translation>Avis de service</translation>
    </message>
    <message>
        <source>&amp;Remind before a duty begins:</source>
        <translation>&amp;Rappel avant le début d&apos;un service :</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>no reminders</source>
        <translation>aucun rappel</translation>
    </message>
    <message>
        <source>Each person is paged this long before a duty of theirs begins</source>
        <translation>Chaque personne est avertie autant de temps avant le début de son service</translation>
    </message>
    <message>
        <source>Tell &amp;changes of the duty within:</source>
        <translation>Signaler les &amp;changements du service dans les :</translation>
    </message>
    <message>
        <source> h</source>
        <translation> h</translation>
    </message>
    <message>
        <source>no change notices</source>
        <translation>aucun avis de changement</translation>
    </message>
    <message>
        <source>An edit that adds, removes or moves a duty within this time is paged to the person</source>
        <translation>Une modification qui ajoute, supprime ou déplace un service dans ce délai est signalée à la personne</translation>
    </message>
    <message>
        <source>After a stop, &amp;send notices late by up to:</source>
        <translation>Après un arrêt, en&amp;voyer les avis en retard d&apos;au plus :</translation>
    </message>
    <message>
        <source>A notice whose moment passed while Kelvaris was stopped is dropped when it is later</source>
        <translation>Un avis dont le moment est passé pendant l&apos;arrêt de Kelvaris est abandonné s&apos;il est plus en retard</translation>
    </message>
    <message>
        <source>&amp;Daily summary at</source>
        <translation>Résumé &amp;quotidien à</translation>
    </message>
    <message>
        <source>Who is on duty today in each group, and the day&apos;s gaps in cover</source>
        <translation>Qui est de service aujourd&apos;hui dans chaque groupe, et les trous de couverture du jour</translation>
    </message>
    <message>
        <source>Summary &amp;to (target IDs, separated by &quot;;&quot;):</source>
        <translation>Résumé &amp;pour (ID des cibles, séparés par « ; ») :</translation>
    </message>
    <message>
        <source>Re&amp;minder text:</source>
        <translation>Te&amp;xte du rappel :</translation>
    </message>
    <message>
        <source>&amp;Holder text:</source>
        <translation>Texte du &amp;titulaire :</translation>
    </message>
    <message>
        <source>S&amp;ummary text:</source>
        <translation>Texte du rés&amp;umé :</translation>
    </message>
    <message>
        <source>Placeholders: {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</source>
        <translation>Marques : {{PERSON}}, {{GROUP}}, {{DATE}}, {{START}}, {{END}}, {{CHANGES}}, {{SUMMARY}}</translation>
    </message>
    <message>
        <source>Chan&amp;ge text:</source>
        <translation>Texte du c&amp;hangement :</translation>
    </message>
    <message>
        <source>Time of the daily summary</source>
        <translation>Heure du résumé quotidien</translation>
    </message>
    <message>
        <source>Texts of the notices</source>
        <translation>Textes des avis</translation>
    </message>
</context>
<context>
    <name>CPlanExport</name>
    <message>
        <source>All Groups</source>
        <translation>Tous les groupes</translation>
    </message>
    <message>
        <source>All Receiver</source>
        <translation>Tous les récepteurs</translation>
    </message>
    <message>
        <source>January;February;March;April;May;June;July;August;September;October;November;December</source>
        <translation>janvier;février;mars;avril;mai;juin;juillet;août;septembre;octobre;novembre;décembre</translation>
    </message>
</context>
<context>
    <name>CPlannerAccessible</name>
    <message>
        <source>no duty</source>
        <translation>pas de permanence</translation>
    </message>
</context>
<context>
    <name>CPlannerWidget</name>
    <message>
        <source>Mark duty with the mouse: click a quarter hour or drag over several; held past the top or bottom edge, the grid scrolls on.</source>
        <translation>Marquer le service à la souris : cliquez sur un quart d&apos;heure ou faites glisser sur plusieurs ; maintenu au-delà du bord supérieur ou inférieur, la grille continue de défiler.</translation>
    </message>
    <message>
        <source>With the keyboard: the arrow keys move, Shift+arrow keys extend the selection, Page Up/Page Down move by a page, Home/End go to the first/last quarter hour, Space marks the selection (or unmarks it when the current cell is marked).</source>
        <translation>Au clavier : les touches fléchées déplacent, Maj+flèches étendent la sélection, Page préc./Page suiv. déplacent d&apos;une page, Début/Fin vont au premier/dernier quart d&apos;heure, Espace marque la sélection (ou la démarque si la cellule courante est marquée).</translation>
    </message>
    <message>
        <source>Double click or Enter on a member&apos;s cell opens that receiver.</source>
        <translation>Un double-clic ou Entrée sur la cellule d&apos;un membre ouvre ce destinataire.</translation>
    </message>
    <message>
        <source>Ctrl+Up/Ctrl+Down move by an hour, Delete unmarks the selection.</source>
        <translation>Ctrl+Haut/Ctrl+Bas déplace d&apos;une heure, Suppr démarque la sélection.</translation>
    </message>
</context>
<context>
    <name>CPrivateFolder</name>
    <message>
        <source>the folder &quot;%1&quot; cannot be created: %2</source>
        <translation>le dossier « %1 » ne peut pas être créé : %2</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be used: %2</source>
        <translation>le dossier « %1 » ne peut pas être utilisé : %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link, not a folder</source>
        <translation>« %1 » est un lien, pas un dossier</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>« %1 » n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; belongs to another user</source>
        <translation>le dossier « %1 » appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; can be written by other users</source>
        <translation>le dossier « %1 » est modifiable par d&apos;autres utilisateurs</translation>
    </message>
    <message>
        <source>the file &quot;%1&quot; cannot be written: %2</source>
        <translation>le fichier « %1 » ne peut pas être écrit : %2</translation>
    </message>
</context>
<context>
    <name>CScheduleEntry</name>
    <message>
        <source>&amp;Identification:</source>
        <translation>&amp;Identification :</translation>
    </message>
    <message>
        <source>&amp;Date type:</source>
        <translation>&amp;Type de date :</translation>
    </message>
    <message>
        <source>D&amp;ate:</source>
        <translation>D&amp;ate :</translation>
    </message>
    <message>
        <source>&amp;Start time:</source>
        <translation>Heure de &amp;début :</translation>
    </message>
    <message>
        <source>&amp;End time:</source>
        <translation>Heure de &amp;fin :</translation>
    </message>
    <message>
        <source>The first second of the time window</source>
        <translation>La première seconde de la plage horaire</translation>
    </message>
    <message>
        <source>The last second of the time window; it must be later than the start time</source>
        <translation>La dernière seconde de la plage horaire ; elle doit être postérieure à l&apos;heure de début</translation>
    </message>
</context>
<context>
    <name>CScheduleListDialog</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Ajouter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Modifier</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Add a new entry</source>
        <translation>Ajouter une nouvelle entrée</translation>
    </message>
    <message>
        <source>Edit the selected entry (or double-click it)</source>
        <translation>Modifier l&apos;entrée sélectionnée (ou double-cliquez dessus)</translation>
    </message>
    <message>
        <source>Remove the selected entry</source>
        <translation>Supprimer l&apos;entrée sélectionnée</translation>
    </message>
</context>
<context>
    <name>CSetupPasswordDlg</name>
    <message>
        <source>The password and the confirmed password do not match.
Please type them again.</source>
        <translation>Le mot de passe et sa confirmation ne correspondent pas.
Veuillez les saisir à nouveau.</translation>
    </message>
    <message>
        <source>Password Setup</source>
        <translation>Configuration du mot de passe</translation>
    </message>
    <message>
        <source>&amp;Enter Password:</source>
        <translation>&amp;Saisir le mot de passe :</translation>
    </message>
    <message>
        <source>&amp;Confirm Password:</source>
        <translation>Con&amp;firmer le mot de passe :</translation>
    </message>
    <message>
        <source>&amp;Setups</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>(All functions in the Setup menu)</source>
        <translation>(Toutes les fonctions du menu Configuration)</translation>
    </message>
    <message>
        <source>&amp;Operation</source>
        <translation>&amp;Exploitation</translation>
    </message>
    <message>
        <source>(All functions in the File menu)</source>
        <translation>(Toutes les fonctions du menu Fichier)</translation>
    </message>
    <message>
        <source>E&amp;xit the program</source>
        <translation>&amp;Quitter le programme</translation>
    </message>
    <message>
        <source>An empty password removes the password protection</source>
        <translation>Un mot de passe vide supprime la protection par mot de passe</translation>
    </message>
</context>
<context>
    <name>CShiftEntry</name>
    <message>
        <source>No Shift</source>
        <translation>Aucune équipe</translation>
    </message>
    <message>
        <source>W%1</source>
        <extracomment>A calendar week in the rotation&apos;s start week list: W1 is week 1.</extracomment>
        <translation>S%1</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Équipe</translation>
    </message>
    <message>
        <source>Shift &amp;no.:</source>
        <translation>&amp;N° d&apos;équipe :</translation>
    </message>
    <message>
        <source>&amp;Weekly rotation starting in week:</source>
        <translation>&amp;Rotation hebdomadaire à partir de la semaine :</translation>
    </message>
    <message>
        <source>&amp;Cycle:</source>
        <translation>&amp;Cycle :</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>semaines</translation>
    </message>
    <message>
        <source>The shift number told to the alarm server; choose one or type it. &quot;No Shift&quot; means that no shift is on duty</source>
        <translation>Le numéro d&apos;équipe transmis au serveur d&apos;alarme ; choisissez-en un ou saisissez-le. « Aucune équipe » signifie qu&apos;aucune équipe n&apos;est de service</translation>
    </message>
    <message>
        <source>The shift number advances by one each calendar week through the cycle; only for a weekday, working day or weekend shift with a number</source>
        <translation>Le numéro d&apos;équipe avance d&apos;une unité chaque semaine calendaire au fil du cycle ; uniquement pour une équipe numérotée d&apos;un jour de la semaine, d&apos;un jour ouvré ou du week-end</translation>
    </message>
    <message>
        <source>The number of weeks of the rotation; choose one or type it</source>
        <translation>Le nombre de semaines de la rotation ; choisissez-en un ou saisissez-le</translation>
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
        <translation>Type de date</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Heure de début</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Heure de fin</translation>
    </message>
    <message>
        <source>Shift no.</source>
        <translation>N° d&apos;équipe</translation>
    </message>
    <message>
        <source>Shifts</source>
        <translation>Équipes</translation>
    </message>
</context>
<context>
    <name>CSystemInfoDialog</name>
    <message>
        <source>System information</source>
        <translation>Informations système</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Copy the system information to the clipboard</source>
        <translation>Copier les informations système dans le presse-papiers</translation>
    </message>
    <message>
        <source>Operating system: %1</source>
        <translation>Système d&apos;exploitation : %1</translation>
    </message>
    <message>
        <source>Kernel: %1 %2</source>
        <translation>Noyau : %1 %2</translation>
    </message>
    <message>
        <source>Qt version: %1</source>
        <translation>Version de Qt : %1</translation>
    </message>
    <message>
        <source>Locale: %1</source>
        <translation>Paramètres régionaux : %1</translation>
    </message>
</context>
<context>
    <name>CTakeoverMode</name>
    <message>
        <source>Please confirm the takeover of duty for {{GROUP}}</source>
        <translation>Veuillez confirmer la prise de service pour {{GROUP}}</translation>
    </message>
    <message>
        <source>The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}</source>
        <translation>La prise de service pour {{GROUP}} a été confirmée par {{NEXT}}</translation>
    </message>
    <message>
        <source>Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}</source>
        <translation>Attention ! - Le service pour {{GROUP}} n&apos;a pas été accepté par {{NEXT}}</translation>
    </message>
</context>
<context>
    <name>CTakeoverTextsDlg</name>
    <message>
        <source>Messages used for takeover mode</source>
        <translation>Messages du mode de prise de service</translation>
    </message>
    <message>
        <source>&amp;Request for takeover:</source>
        <translation>&amp;Demande de prise de service :</translation>
    </message>
    <message>
        <source>&amp;Confirmation of takeover:</source>
        <translation>&amp;Confirmation de prise de service :</translation>
    </message>
    <message>
        <source>&amp;No response:</source>
        <translation>&amp;Absence de réponse :</translation>
    </message>
    <message>
        <source>Sent to the next user, asking to take over the duty</source>
        <translation>Envoyé à l&apos;utilisateur suivant pour lui demander de prendre le service</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one has taken over</source>
        <translation>Envoyé à l&apos;utilisateur précédent lorsque le suivant a pris le service</translation>
    </message>
    <message>
        <source>Sent to the previous user when the next one did not answer in time</source>
        <translation>Envoyé à l&apos;utilisateur précédent lorsque le suivant n&apos;a pas répondu à temps</translation>
    </message>
    <message>
        <source>Placeholders</source>
        <translation>Variables</translation>
    </message>
    <message>
        <source>{{GROUP}}	Name of the alarm group</source>
        <translation>{{GROUP}}	Nom du groupe d&apos;alarme</translation>
    </message>
    <message>
        <source>{{CURRENT}}	Name of the previous user</source>
        <translation>{{CURRENT}}	Nom de l&apos;utilisateur précédent</translation>
    </message>
    <message>
        <source>{{NEXT}}	User name for takeover</source>
        <translation>{{NEXT}}	Nom de l&apos;utilisateur qui prend le service</translation>
    </message>
</context>
<context>
    <name>CTimePlanner</name>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday</source>
        <translation>Lundi;Mardi;Mercredi;Jeudi;Vendredi;Samedi;Dimanche</translation>
    </message>
    <message>
        <source>previous;Holiday;after</source>
        <translation>veille;Férié;lendemain</translation>
    </message>
    <message>
        <source>Week %1:  %2 - %3</source>
        <translation>Semaine %1 :  %2 - %3</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <extracomment>What a row of the planner stands for, read by screen readers: &quot;10:00 to 10:15&quot;.</extracomment>
        <translation>%1 à %2</translation>
    </message>
    <message>
        <source>Nobody in the group is on duty</source>
        <translation>Personne du groupe n&apos;est de service</translation>
    </message>
    <message>
        <source>Last changed by %1 on %2</source>
        <translation>Dernière modification par %1 le %2</translation>
    </message>
</context>
<context>
    <name>CTypedEntry</name>
    <message>
        <source>&quot;%1&quot; is not understood; %2 is kept.</source>
        <translation>« %1 » n’est pas compris ; %2 est conservé.</translation>
    </message>
</context>
<context>
    <name>CWarningForwarder</name>
    <message>
        <source> (%1 more left out)</source>
        <translation> (%1 autres omis)</translation>
    </message>
</context>
<context>
    <name>Coverage</name>
    <message>
        <source>Nobody in %1 is on duty %2</source>
        <translation>Personne dans %1 n’est de service %2</translation>
    </message>
</context>
<context>
    <name>DateType</name>
    <message>
        <source>Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;Weekend;Day before holiday;Day after Holiday;</source>
        <translation>Date spéciale;Jour férié;Lundi;Mardi;Mercredi;Jeudi;Vendredi;Samedi;Dimanche;Jour ouvré;Week-end;Veille de jour férié;Lendemain de jour férié;</translation>
    </message>
</context>
<context>
    <name>DutyCalendar</name>
    <message>
        <source>%1 (group)</source>
        <translation>%1 (groupe)</translation>
    </message>
    <message>
        <source>Number: %1</source>
        <translation>Numéro : %1</translation>
    </message>
    <message>
        <source>Members: %1</source>
        <translation>Membres : %1</translation>
    </message>
    <message>
        <source>Holder when written: %1</source>
        <translation>Titulaire à l’écriture : %1</translation>
    </message>
</context>
<context>
    <name>DutyNotices</name>
    <message>
        <source>Reminder: duty for {{GROUP}} from {{DATE}} {{START}} to {{END}}</source>
        <translation>Rappel : service pour {{GROUP}} du {{DATE}} {{START}} à {{END}}</translation>
    </message>
    <message>
        <source>Your duty changed: {{CHANGES}}</source>
        <translation>Votre service a changé : {{CHANGES}}</translation>
    </message>
    <message>
        <source>You now hold {{GROUP}}</source>
        <translation>Vous êtes maintenant de service pour {{GROUP}}</translation>
    </message>
    <message>
        <source>On duty {{DATE}}: {{SUMMARY}}</source>
        <translation>De service le {{DATE}} : {{SUMMARY}}</translation>
    </message>
    <message>
        <source>nobody</source>
        <translation>personne</translation>
    </message>
    <message>
        <source>Gaps in cover: %1</source>
        <translation>Trous dans la couverture : %1</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent; it is tried again: %2</source>
        <translation>L&apos;avis à %1 n&apos;a pas pu être envoyé ; nouvel essai : %2</translation>
    </message>
    <message>
        <source>Notice sent to %1: %2</source>
        <translation>Avis envoyé à %1 : %2</translation>
    </message>
    <message>
        <source>added</source>
        <translation>ajouté</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>supprimé</translation>
    </message>
    <message>
        <source>Notice to %1 dropped, %2 minutes late: %3</source>
        <translation>Avis à %1 abandonné, %2 minutes de retard : %3</translation>
    </message>
    <message>
        <source>Notice to %1 held by the barrier/pause: %2</source>
        <translation>Avis à %1 retenu par le blocage/la pause : %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the duty began during the barrier/pause: %2</source>
        <translation>Avis à %1 abandonné : le service a commencé pendant le blocage/la pause : %2</translation>
    </message>
    <message>
        <source>Notice to %1 dropped: the alarm server does not list it: %2</source>
        <translation>Avis à %1 abandonné : le serveur d&apos;alarme ne le connaît pas : %2</translation>
    </message>
    <message>
        <source>Notice to %1 could not be sent after %2 tries: %3</source>
        <translation>L&apos;avis à %1 n&apos;a pas pu être envoyé après %2 essais : %3</translation>
    </message>
</context>
</TS>
