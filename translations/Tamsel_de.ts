<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>API_Base</name>
    <message>
        <source>System Error</source>
        <translation>Systemfehler</translation>
    </message>
    <message>
        <source>Orvak Pelmora is not installed. To be able to use Orvak Tamsel, first install Orvak Pelmora on your PC.</source>
        <translation>Orvak Pelmora ist nicht installiert. Um Orvak Tamsel verwenden zu können, installieren Sie zuerst Orvak Pelmora auf Ihrem PC.</translation>
    </message>
    <message>
        <source>An unknown error occurred. 

See the log file for more information.</source>
        <translation>Ein unbekannter Fehler ist aufgetreten. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
    <message>
        <source>The connected phone is not responding. To continue, reconnect the phone to the PC.</source>
        <translation>Das angeschlossene Telefon antwortet nicht. Um fortzufahren, verbinden Sie das Telefon erneut mit dem PC.</translation>
    </message>
    <message>
        <source>To continue, accept the operation on your phone</source>
        <translation>Um fortzufahren, bestätigen Sie den Vorgang auf Ihrem Telefon</translation>
    </message>
    <message>
        <source>Another Orvak Pelmora application is performing a task and reserves the connection. Please wait, and try again after a while. 

See the log file for more information.</source>
        <translation>Eine andere Orvak-Pelmora-Anwendung führt gerade eine Aufgabe aus und belegt die Verbindung. Bitte warten Sie und versuchen Sie es später erneut. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
    <message>
        <source>The available memory on the PC is low. To free memory, close some of the running applications. 

See the log file for more information.</source>
        <translation>Der verfügbare Arbeitsspeicher des PCs ist knapp. Schließen Sie einige laufende Anwendungen, um Speicher freizugeben. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
    <message>
        <source>The phone memory is full. To be able to transfer files to the phone, first remove some files from the phone memory.</source>
        <translation>Der Telefonspeicher ist voll. Um Dateien auf das Telefon übertragen zu können, entfernen Sie zuerst einige Dateien aus dem Telefonspeicher.</translation>
    </message>
    <message>
        <source>An error occurred during conversion, and the selected file 

%1

could not be converted. 

See the log file for more information.</source>
        <translation>Bei der Umwandlung ist ein Fehler aufgetreten, und die ausgewählte Datei 

%1

konnte nicht umgewandelt werden. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
    <message>
        <source>The selected file cannot be opened (for playback), as it is being used by another application. To open the file, first close all the applications using it.</source>
        <translation>Die ausgewählte Datei kann nicht (zur Wiedergabe) geöffnet werden, da sie von einer anderen Anwendung verwendet wird. Um die Datei zu öffnen, schließen Sie zuerst alle Anwendungen, die sie verwenden.</translation>
    </message>
    <message>
        <source>The selected file cannot be opened, as audio or video codecs required are missing. To be able to open the file, first install the required codecs. 

See the log file for more information.</source>
        <translation>Die ausgewählte Datei kann nicht geöffnet werden, da benötigte Audio- oder Video-Codecs fehlen. Um die Datei öffnen zu können, installieren Sie zuerst die benötigten Codecs. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
    <message>
        <source>Everything ok</source>
        <translation>Alles in Ordnung</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>The connected device does not support this operation. Please contact &lt;a href=&quot;https://www.orvak.example/care&quot;&gt;Orvak Care&lt;/a&gt; to solve this problem.</source>
        <translation>Das angeschlossene Gerät unterstützt diesen Vorgang nicht. Bitte wenden Sie sich an &lt;a href=&quot;https://www.orvak.example/care&quot;&gt;Orvak Care&lt;/a&gt;, um dieses Problem zu lösen.</translation>
    </message>
    <message>
        <source>The operation was rejected by the connected phone. To solve this problem, refer to the phone manual or contact &lt;a href=&quot;https://www.orvak.example/care&quot;&gt;Orvak Care&lt;/a&gt;. 

See the log file for more information.</source>
        <translation>Der Vorgang wurde vom angeschlossenen Telefon abgelehnt. Um dieses Problem zu lösen, lesen Sie im Handbuch des Telefons nach oder wenden Sie sich an &lt;a href=&quot;https://www.orvak.example/care&quot;&gt;Orvak Care&lt;/a&gt;. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
    <message>
        <source>The copy was cancelled. Nothing was changed on the phone or on the PC.</source>
        <translation>Das Kopieren wurde abgebrochen. Auf dem Telefon und auf dem PC wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The file name contains characters that cannot be used on the phone, such as &lt; &gt; : &quot; / \ | ? *. Rename the file and try again.</source>
        <translation>Der Dateiname enthält Zeichen, die auf dem Telefon nicht verwendet werden können, zum Beispiel &lt; &gt; : &quot; / \ | ? *. Benennen Sie die Datei um und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>A file with the same name is already there, and it was left as it is. Rename or remove that file, then try again.</source>
        <translation>Dort gibt es bereits eine Datei mit demselben Namen; sie wurde nicht verändert. Benennen Sie diese Datei um oder entfernen Sie sie und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The file could not be found. It may have been moved, renamed or deleted.</source>
        <translation>Die Datei wurde nicht gefunden. Möglicherweise wurde sie verschoben, umbenannt oder gelöscht.</translation>
    </message>
    <message>
        <source>The folder is not on the phone. If it is on a memory card, check that the card is in the phone.</source>
        <translation>Der Ordner ist nicht auf dem Telefon. Wenn er sich auf einer Speicherkarte befindet, prüfen Sie, ob die Karte im Telefon steckt.</translation>
    </message>
    <message>
        <source>The folder name contains characters that cannot be used on the phone, such as &lt; &gt; : &quot; / \ | ? *. Choose another folder and try again.</source>
        <translation>Der Ordnername enthält Zeichen, die auf dem Telefon nicht verwendet werden können, zum Beispiel &lt; &gt; : &quot; / \ | ? *. Wählen Sie einen anderen Ordner und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The folder could not be found. It may have been moved, renamed or deleted.</source>
        <translation>Der Ordner wurde nicht gefunden. Möglicherweise wurde er verschoben, umbenannt oder gelöscht.</translation>
    </message>
    <message>
        <source>The phone has no folder for videos on the selected memory, and it cannot be created there. If that memory is a memory card, check that the card is in the phone; otherwise choose another memory in the settings.</source>
        <translation>Auf dem ausgewählten Speicher des Telefons gibt es keinen Ordner für Videos, und er kann dort nicht angelegt werden. Wenn dieser Speicher eine Speicherkarte ist, prüfen Sie, ob die Karte im Telefon steckt; wählen Sie andernfalls in den Einstellungen einen anderen Speicher.</translation>
    </message>
</context>
<context>
    <name>C1stDialog</name>
    <message>
        <source>Welcome to Orvak Tamsel</source>
        <translation>Willkommen bei Orvak Tamsel</translation>
    </message>
    <message>
        <source>Choose where your converted videos are kept and where to look for videos.</source>
        <translation>Wählen Sie, wo Ihre umgewandelten Videos aufbewahrt werden und wo nach Videos gesucht wird.</translation>
    </message>
    <message>
        <source>My collection folder:</source>
        <translation>Ordner „Meine Sammlung“:</translation>
    </message>
    <message>
        <source>Scan folder:</source>
        <translation>Suchordner:</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertigstellen</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Orvak Tamsel</source>
        <translation>Über Orvak Tamsel</translation>
    </message>
    <message>
        <source>version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Orvak Tamsel is free software: you can redistribute it and change it under the terms of the GNU General Public License, version 2 or (at your option) any later version. It comes with no warranty.

It uses FFmpeg, built with libx264 and distributed under the GNU General Public License, and Qt, under the GNU Lesser General Public License version 3. Its font is Open Sans, under the Apache License 2.0.</source>
        <translation>Orvak Tamsel ist freie Software: Sie können sie unter den Bedingungen der GNU General Public License, Version 2 oder (nach Ihrer Wahl) jeder späteren Version, weitergeben und verändern. Sie wird ohne jede Gewährleistung bereitgestellt.

Sie verwendet FFmpeg, erstellt mit libx264 und verbreitet unter der GNU General Public License, sowie Qt unter der GNU Lesser General Public License Version 3. Die Schrift ist Open Sans unter der Apache License 2.0.</translation>
    </message>
</context>
<context>
    <name>CDialog</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>CDirDialog</name>
    <message>
        <source>Select folder from list and click OK</source>
        <translation>Wählen Sie einen Ordner aus der Liste und klicken Sie auf OK</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>New folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>A folder named &quot;%1&quot; already exists here. Rename it, or choose another folder first.</source>
        <translation>Hier gibt es bereits einen Ordner namens „%1“. Benennen Sie ihn um oder wählen Sie zuerst einen anderen Ordner.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be created in %2.</source>
        <translation>Der Ordner „%1“ konnte in %2 nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>CDownloadItem</name>
    <message>
        <source>The downloaded file cannot be moved to My collection.</source>
        <translation>Die heruntergeladene Datei kann nicht nach „Meine Sammlung“ verschoben werden.</translation>
    </message>
    <message>
        <source>The file cannot be downloaded. Please, try again.</source>
        <translation>Die Datei kann nicht heruntergeladen werden. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The network connection is lost. Please, try to download the file again when the connection is available.</source>
        <translation>Die Netzwerkverbindung ist unterbrochen. Bitte laden Sie die Datei erneut herunter, sobald die Verbindung wieder besteht.</translation>
    </message>
    <message>
        <source>The file does not exist on the requested server.</source>
        <translation>Die Datei ist auf dem angefragten Server nicht vorhanden.</translation>
    </message>
    <message>
        <source>Download Error</source>
        <translation>Downloadfehler</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Pending...</source>
        <translation>Wartend...</translation>
    </message>
    <message>
        <source>Downloading...</source>
        <translation>Wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Completed.</source>
        <translation>Abgeschlossen.</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Canceled</source>
        <translation>Abgebrochen</translation>
    </message>
</context>
<context>
    <name>CDownloadQuestion</name>
    <message>
        <source>Orvak Tamsel</source>
        <translation>Orvak Tamsel</translation>
    </message>
    <message>
        <source>Do you want to copy &apos;%1&apos; directly to the phone also?</source>
        <translation>Möchten Sie „%1“ auch direkt auf das Telefon kopieren?</translation>
    </message>
    <message>
        <source>Remember my choice</source>
        <translation>Meine Auswahl merken</translation>
    </message>
    <message>
        <source>You can change your decision from downloads settings.</source>
        <translation>Sie können Ihre Entscheidung in den Download-Einstellungen ändern.</translation>
    </message>
</context>
<context>
    <name>CMessageDialog</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorieren</translation>
    </message>
</context>
<context>
    <name>CPlayerPanel</name>
    <message>
        <source>Playback position</source>
        <translation>Wiedergabeposition</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Ton aus</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Ton ein</translation>
    </message>
</context>
<context>
    <name>CTaskItem</name>
    <message>
        <source>Pending...</source>
        <translation>Wartend...</translation>
    </message>
    <message>
        <source>Converting...</source>
        <translation>Wird umgewandelt...</translation>
    </message>
    <message>
        <source>Copying...</source>
        <translation>Wird kopiert...</translation>
    </message>
    <message>
        <source>Deleting...</source>
        <translation>Wird gelöscht...</translation>
    </message>
    <message>
        <source>Copying done</source>
        <translation>Kopieren abgeschlossen</translation>
    </message>
    <message>
        <source>Conversion done</source>
        <translation>Umwandlung abgeschlossen</translation>
    </message>
    <message>
        <source>Completed.</source>
        <translation>Beendet.</translation>
    </message>
    <message>
        <source>Deletion Successful</source>
        <translation>Löschen erfolgreich</translation>
    </message>
    <message>
        <source>Copy Failed</source>
        <translation>Kopieren fehlgeschlagen</translation>
    </message>
    <message>
        <source>Deletion Failed</source>
        <translation>Löschen fehlgeschlagen</translation>
    </message>
    <message>
        <source>Conversion Failed</source>
        <translation>Umwandlung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>CToolTip</name>
    <message>
        <source>Tooltip</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>CVideoTransferWindow</name>
    <message>
        <source>No ongoing tasks.</source>
        <translation>Keine laufenden Aufgaben.</translation>
    </message>
    <message>
        <source>Opened: %1</source>
        <translation>Geöffnet: %1</translation>
    </message>
</context>
<context>
    <name>DesktopEntry</name>
    <message>
        <source>Get videos onto your phone</source>
        <translation>Bringt Videos auf Ihr Telefon</translation>
    </message>
</context>
<context>
    <name>Formats</name>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 B</source>
        <translation>%1 B</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
</context>
<context>
    <name>HelpMessages</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>The help pages of Orvak Tamsel are not installed. They are looked for in the folder &quot;HELP&quot; beside the program.</source>
        <translation>Die Hilfeseiten von Orvak Tamsel sind nicht installiert. Sie werden im Ordner „HELP“ neben dem Programm gesucht.</translation>
    </message>
    <message>
        <source>The help page %1 could not be opened. No program to show web pages was found on this computer.</source>
        <translation>Die Hilfeseite %1 konnte nicht geöffnet werden. Auf diesem Computer wurde kein Programm zum Anzeigen von Webseiten gefunden.</translation>
    </message>
</context>
<context>
    <name>MyCollectionView</name>
    <message>
        <source>Storage</source>
        <translation>Speicherort</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>No skin file found. Application not started.</source>
        <translation>Keine Designdatei gefunden. Die Anwendung wurde nicht gestartet.</translation>
    </message>
</context>
</TS>
