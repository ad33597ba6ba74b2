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
        <source>Another program on the PC is using the phone, for example a file manager showing the phone&apos;s files. Close that program or its window for the phone, then try again.</source>
        <translation>Ein anderes Programm auf dem PC verwendet das Telefon, zum Beispiel ein Dateimanager, der die Dateien des Telefons anzeigt. Schließen Sie dieses Programm oder sein Fenster für das Telefon und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The phone does not share its files with the PC. Unlock the phone, open its notification about USB and choose &quot;File transfer&quot;, then try again.</source>
        <translation>Das Telefon gibt seine Dateien nicht für den PC frei. Entsperren Sie das Telefon, öffnen Sie seine Benachrichtigung zu USB, wählen Sie „Dateiübertragung“ und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The phone is locked. Unlock the phone and try again. If its files still cannot be reached, choose &quot;File transfer&quot; in the phone&apos;s USB notification.</source>
        <translation>Das Telefon ist gesperrt. Entsperren Sie das Telefon und versuchen Sie es erneut. Sind seine Dateien dann noch nicht erreichbar, wählen Sie in der USB-Benachrichtigung des Telefons „Dateiübertragung“.</translation>
    </message>
    <message>
        <source>The file is 4 GB or larger, and the selected memory cannot hold files that large (memory cards often cannot). Choose the phone memory in the settings and try again.</source>
        <translation>Die Datei ist 4 GB groß oder größer, und der gewählte Speicher kann so große Dateien nicht aufnehmen (Speicherkarten können das oft nicht). Wählen Sie in den Einstellungen den Telefonspeicher und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The phone has no folder for videos on the selected memory, and it cannot be created there. If that memory is a memory card, check that the card is in the phone; otherwise choose another memory in the settings.</source>
        <translation>Auf dem ausgewählten Speicher des Telefons gibt es keinen Ordner für Videos, und er kann dort nicht angelegt werden. Wenn dieser Speicher eine Speicherkarte ist, prüfen Sie, ob die Karte im Telefon steckt; wählen Sie andernfalls in den Einstellungen einen anderen Speicher.</translation>
    </message>
    <message>
        <source>The selected file 

%1

ends before its full length: it is damaged or was not copied completely, and could not be converted. 

See the log file for more information.</source>
        <translation>Die ausgewählte Datei 

%1

endet vor ihrer vollen Länge: Sie ist beschädigt oder wurde nicht vollständig kopiert und konnte nicht umgewandelt werden. 

Weitere Informationen finden Sie in der Protokolldatei.</translation>
    </message>
</context>
<context>
    <name>AdvancedPage</name>
    <message>
        <source>Orvak Tamsel advanced conversion options.</source>
        <translation>Erweiterte Umwandlungsoptionen von Orvak Tamsel.</translation>
    </message>
    <message>
        <source>High quality (.mp4)</source>
        <translation>Hohe Qualität (.mp4)</translation>
    </message>
    <message>
        <source>Frames per second:</source>
        <translation>Bilder pro Sekunde:</translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation>Bitrate</translation>
    </message>
    <message>
        <source>Video bitrate</source>
        <translation>Video-Bitrate</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>Audio:</source>
        <translation>Ton:</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Audio bitrate</source>
        <translation>Audio-Bitrate</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Medium quality (.mp4)</source>
        <translation>Mittlere Qualität (.mp4)</translation>
    </message>
    <message>
        <source>Low quality (.mp4)</source>
        <translation>Niedrige Qualität (.mp4)</translation>
    </message>
</context>
<context>
    <name>AssociationsPage</name>
    <message>
        <source>Use Orvak Tamsel for viewing the following video files.</source>
        <translation>Orvak Tamsel zum Ansehen der folgenden Videodateien verwenden.</translation>
    </message>
</context>
<context>
    <name>C1stDialog</name>
    <message>
        <source>My collection folder:</source>
        <translation>Ordner „Meine Sammlung“:</translation>
    </message>
    <message>
        <source>This wizard helps you to choose the folders to scan and store converted videos. After you have completed the wizard, the program will automatically scan the chosen folder for video files. You can then start using the Orvak Tamsel. &lt;br&gt;&lt;br&gt;Connect your mobile phone to the PC and press Next to continue.</source>
        <translation>Dieser Assistent hilft Ihnen, die Ordner zu wählen, die nach Videos durchsucht werden und in denen umgewandelte Videos gespeichert werden. Nach Abschluss des Assistenten durchsucht das Programm den gewählten Ordner automatisch nach Videodateien. Danach können Sie Orvak Tamsel verwenden. &lt;br&gt;&lt;br&gt;Schließen Sie Ihr Mobiltelefon an den PC an und klicken Sie auf Weiter.</translation>
    </message>
    <message>
        <source>Step: 1 / 2</source>
        <translation>Schritt: 1 / 2</translation>
    </message>
    <message>
        <source>First you need to select a folder where the converted videos will be stored on the PC. Then, choose another folder where the program will scan for existing video files. You can use the default folders or select another folder by pressing the Browse icon. &lt;br&gt;&lt;br&gt;Note: These folders can be changed later under Settings. &lt;br&gt;&lt;br&gt;Select the folders and press Next to continue. This will start the scanning.</source>
        <translation>Wählen Sie zuerst einen Ordner, in dem die umgewandelten Videos auf dem PC gespeichert werden. Wählen Sie dann einen weiteren Ordner, in dem das Programm nach vorhandenen Videodateien sucht. Sie können die vorgeschlagenen Ordner verwenden oder mit dem Symbol „Durchsuchen“ einen anderen Ordner wählen. &lt;br&gt;&lt;br&gt;Hinweis: Die Ordner können Sie später unter Einstellungen ändern. &lt;br&gt;&lt;br&gt;Wählen Sie die Ordner und klicken Sie auf Weiter. Danach beginnt die Suche.</translation>
    </message>
    <message>
        <source>Step: 2 / 2</source>
        <translation>Schritt: 2 / 2</translation>
    </message>
    <message>
        <source>Scanning root folder:</source>
        <translation>Stammordner für die Suche:</translation>
    </message>
    <message>
        <source>My Collection Folder</source>
        <translation>Ordner „Meine Sammlung“</translation>
    </message>
    <message>
        <source>Scan Folder</source>
        <translation>Suchordner</translation>
    </message>
</context>
<context>
    <name>C1stDialogClass</name>
    <message>
        <source>Welcome to Orvak Tamsel</source>
        <translation>Willkommen bei Orvak Tamsel</translation>
    </message>
    <message>
        <source>This wizard helps you to choose the folders to scan and store converted videos. After you have completed the wizard, the program will automatically scan the chosen folder for video files.</source>
        <translation>Dieser Assistent hilft Ihnen, die Ordner zu wählen, die nach Videos durchsucht werden und in denen umgewandelte Videos gespeichert werden. Nach Abschluss des Assistenten durchsucht das Programm den gewählten Ordner automatisch nach Videodateien.</translation>
    </message>
    <message>
        <source>Connect your mobile phone to the PC and press Next to continue.</source>
        <translation>Schließen Sie Ihr Mobiltelefon an den PC an und klicken Sie auf Weiter.</translation>
    </message>
    <message>
        <source>Choose your folders</source>
        <translation>Wählen Sie Ihre Ordner</translation>
    </message>
    <message>
        <source>Converted videos are stored in the My collection folder. The program looks for videos in the scanning root folder and in the folders below it. You can change both folders later under Settings.</source>
        <translation>Umgewandelte Videos werden im Ordner „Meine Sammlung“ gespeichert. Das Programm sucht Videos im Stammordner für die Suche und in den Ordnern darunter. Beide Ordner können Sie später unter Einstellungen ändern.</translation>
    </message>
    <message>
        <source>My collection folder:</source>
        <translation>Ordner „Meine Sammlung“:</translation>
    </message>
    <message>
        <source>My collection folder</source>
        <translation>Ordner „Meine Sammlung“</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Scanning root folder:</source>
        <translation>Stammordner für die Suche:</translation>
    </message>
    <message>
        <source>Scanning root folder</source>
        <translation>Stammordner für die Suche</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
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
    <name>CContextSwitcher</name>
    <message>
        <source>My collection</source>
        <translation>Meine Sammlung</translation>
    </message>
    <message>
        <source>Scan results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Copy to Phone</source>
        <translation>Auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>Convert to My Collection Folder</source>
        <translation>In den Sammlungsordner umwandeln</translation>
    </message>
    <message>
        <source>Convert &amp; Copy to Phone</source>
        <translation>Umwandeln und auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>Copy to My Collection Folder</source>
        <translation>In den Sammlungsordner kopieren</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>File %1 does not exist.</source>
        <translation>Die Datei %1 ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>Phone Memory</source>
        <translation>Telefonspeicher</translation>
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
    <name>CScanThread</name>
    <message>
        <source>The scan results cannot be saved. Check that the folder %1 can be written.</source>
        <translation>Die Suchergebnisse können nicht gespeichert werden. Prüfen Sie, ob in den Ordner %1 geschrieben werden kann.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be scanned: its path is longer than the system allows. The previous scan results are kept.</source>
        <translation>Der Ordner %1 kann nicht durchsucht werden: Sein Pfad ist länger, als das System erlaubt. Die bisherigen Suchergebnisse bleiben erhalten.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read, so it was not scanned. The previous scan results are kept.</source>
        <translation>Der Ordner %1 kann nicht gelesen werden und wurde daher nicht durchsucht. Die bisherigen Suchergebnisse bleiben erhalten.</translation>
    </message>
    <message>
        <source>The My collection folder %1 cannot be read, so the lengths of its videos were not measured.</source>
        <translation>Der Ordner „Meine Sammlung“ %1 kann nicht gelesen werden, daher wurde die Länge seiner Videos nicht gemessen.</translation>
    </message>
</context>
<context>
    <name>CSettingsDialog</name>
    <message>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Orvak Tamsel cannot open asx playlists.</source>
        <translation>Orvak Tamsel kann keine asx-Wiedergabelisten öffnen.</translation>
    </message>
    <message>
        <source>Choosing a higher quality gives the video files better picture and sound. 
The default setting is chosen by the phone. 

Save settings by pressing Save Configuration.</source>
        <translation>Eine höhere Qualität gibt den Videodateien besseres Bild und besseren Ton. 
Die Voreinstellung wird vom Telefon bestimmt. 

Speichern Sie die Einstellungen mit „Einstellungen speichern“.</translation>
    </message>
    <message>
        <source>Select the folders for storing and scanning video files on the PC. You can use the default folders or select another folder by pressing the Browse icon. 

Save settings by pressing Save Configuration.</source>
        <translation>Wählen Sie die Ordner zum Speichern und Durchsuchen von Videodateien auf dem PC. Sie können die vorgeschlagenen Ordner verwenden oder mit dem Symbol „Durchsuchen“ einen anderen Ordner wählen. 

Speichern Sie die Einstellungen mit „Einstellungen speichern“.</translation>
    </message>
    <message>
        <source>Select the memory destination and source for the converted video files on the phone. This will be stored under 
C:\Data\Videos on the device or D:\Videos on the memory card. 

The window will only display a memory card, if there is one available in the phone. 
Save settings by pressing Save Configuration.</source>
        <translation>Wählen Sie den Speicher des Telefons für die umgewandelten Videodateien. Sie werden unter 
C:\Data\Videos im Gerät oder D:\Videos auf der Speicherkarte abgelegt. 

Eine Speicherkarte wird nur angezeigt, wenn das Telefon eine hat. 
Speichern Sie die Einstellungen mit „Einstellungen speichern“.</translation>
    </message>
    <message>
        <source>If you wish to make Orvak Tamsel your default media player for the filetype, select it and press Save Configuration.</source>
        <translation>Wenn Orvak Tamsel der Standardplayer für einen Dateityp werden soll, wählen Sie ihn aus und klicken Sie auf „Einstellungen speichern“.</translation>
    </message>
    <message>
        <source>If you wish the downloaded video files to be copied directly to the connected phone, select the checkbox. 
The downloaded and converted files are located in the My collection folder.

Save settings by clicking Save Configuration.</source>
        <translation>Wenn heruntergeladene Videodateien direkt auf das angeschlossene Telefon kopiert werden sollen, setzen Sie das Häkchen. 
Die heruntergeladenen und umgewandelten Dateien liegen im Ordner „Meine Sammlung“.

Speichern Sie die Einstellungen mit „Einstellungen speichern“.</translation>
    </message>
    <message>
        <source>Choose the frame rate, the bit rates, the largest frame size and the sound of each conversion quality. Reset gives a quality the values the program comes with. 

Save settings by pressing Save Configuration.</source>
        <translation>Wählen Sie für jede Umwandlungsqualität die Bildrate, die Bitraten, die größte Bildgröße und den Ton. „Zurücksetzen“ gibt einer Qualität die Werte zurück, mit denen das Programm ausgeliefert wird. 

Speichern Sie die Einstellungen mit „Einstellungen speichern“.</translation>
    </message>
    <message>
        <source>Scanning root folder:</source>
        <translation>Stammordner für die Suche:</translation>
    </message>
    <message>
        <source>My collection folder:</source>
        <translation>Ordner „Meine Sammlung“:</translation>
    </message>
    <message>
        <source>My Collection Folder</source>
        <translation>Ordner „Meine Sammlung“</translation>
    </message>
    <message>
        <source>Scan Folder</source>
        <translation>Suchordner</translation>
    </message>
    <message>
        <source>Phone Memory</source>
        <translation>Telefonspeicher</translation>
    </message>
    <message>
        <source>Memory Card (MMC)</source>
        <translation>Speicherkarte (MMC)</translation>
    </message>
    <message>
        <source>Memory Card 1 (MMC)</source>
        <translation>Speicherkarte 1 (MMC)</translation>
    </message>
    <message>
        <source>Memory Card 2 (MMC)</source>
        <translation>Speicherkarte 2 (MMC)</translation>
    </message>
</context>
<context>
    <name>CSettingsDialogClass</name>
    <message>
        <source>Orvak Tamsel Settings</source>
        <translation>Einstellungen von Orvak Tamsel</translation>
    </message>
    <message>
        <source>Conversion Type</source>
        <translation>Umwandlung</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Associations</source>
        <translation>Dateitypen</translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Advanced Settings</source>
        <translation>Erweiterte Einstellungen</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Save Configuration</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Cancel Configuration</source>
        <translation>Einstellungen verwerfen</translation>
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
        <source>Converting %1</source>
        <translation>%1 wird umgewandelt</translation>
    </message>
    <message>
        <source>Copying %1</source>
        <translation>%1 wird kopiert</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Are you sure you wish to cancel all downloads and exit?</source>
        <translation>Möchten Sie wirklich alle Downloads abbrechen und das Programm beenden?</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximise</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>More menus</source>
        <translation>Weitere Menüs</translation>
    </message>
    <message>
        <source>Orvak Tamsel</source>
        <translation>Orvak Tamsel</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe ändern</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>Scanning Stopped.</source>
        <translation>Suche angehalten.</translation>
    </message>
    <message>
        <source>Do you wish to recover previous scan results?</source>
        <translation>Möchten Sie die vorherigen Suchergebnisse wiederherstellen?</translation>
    </message>
    <message>
        <source>Scanning Completed.</source>
        <translation>Suche abgeschlossen.</translation>
    </message>
    <message>
        <source>Copying files to My collection will automatically convert videos to an optimized size for your mobile phone.</source>
        <translation>Beim Kopieren in Meine Sammlung werden Videos automatisch in eine für Ihr Mobiltelefon optimierte Größe umgewandelt.</translation>
    </message>
    <message>
        <source>Do not show this again.</source>
        <translation>Nicht mehr anzeigen.</translation>
    </message>
    <message>
        <source>Have you already connected your mobile phone to Orvak Tamsel? Orvak Tamsel can convert videos to correct format, if it knows the target phone.</source>
        <translation>Haben Sie Ihr Mobiltelefon bereits mit Orvak Tamsel verbunden? Orvak Tamsel kann Videos in das richtige Format umwandeln, wenn es das Zieltelefon kennt.</translation>
    </message>
    <message>
        <source>%1 File(s) not added to Tasks, already being processed or has failed.</source>
        <translation>%1 Datei(en) nicht zu den Aufgaben hinzugefügt: bereits in Bearbeitung oder fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Cancel Tasks</source>
        <translation>Aufgaben abbrechen</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel all tasks?</source>
        <translation>Möchten Sie wirklich alle Aufgaben abbrechen?</translation>
    </message>
    <message>
        <source>Cancel Task(s)</source>
        <translation>Aufgabe(n) abbrechen</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel selected task(s)?</source>
        <translation>Möchten Sie die ausgewählten Aufgaben wirklich abbrechen?</translation>
    </message>
    <message>
        <source>Cancel all downloads</source>
        <translation>Alle Downloads abbrechen</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel all downloads?</source>
        <translation>Möchten Sie wirklich alle Downloads abbrechen?</translation>
    </message>
    <message>
        <source>Cancel selected download(s)</source>
        <translation>Ausgewählte Downloads abbrechen</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel selected download(s)?</source>
        <translation>Möchten Sie die ausgewählten Downloads wirklich abbrechen?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The web page %1 cannot be opened: no web browser was found.</source>
        <translation>Die Webseite %1 kann nicht geöffnet werden: Es wurde kein Webbrowser gefunden.</translation>
    </message>
</context>
<context>
    <name>CWizardDlg</name>
    <message>
        <source>Please type in a valid folder.</source>
        <translation>Bitte geben Sie einen gültigen Ordner ein.</translation>
    </message>
</context>
<context>
    <name>ConversionPage</name>
    <message>
        <source>Select the quality and usage for converted video files. Lower quality means smaller file sizes.</source>
        <translation>Wählen Sie die Qualität und den Verwendungszweck umgewandelter Videodateien. Eine niedrigere Qualität ergibt kleinere Dateien.</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>High quality (.mp4)</source>
        <translation>Hohe Qualität (.mp4)</translation>
    </message>
    <message>
        <source>Ideal for playback on the PC as well as on high memory capacity phones.</source>
        <translation>Ideal für die Wiedergabe auf dem PC und auf Telefonen mit viel Speicher.</translation>
    </message>
    <message>
        <source>Medium quality (.mp4)</source>
        <translation>Mittlere Qualität (.mp4)</translation>
    </message>
    <message>
        <source>For playback on average memory capacity handset devices.</source>
        <translation>Für die Wiedergabe auf Telefonen mit durchschnittlich viel Speicher.</translation>
    </message>
    <message>
        <source>Low quality (.mp4)</source>
        <translation>Niedrige Qualität (.mp4)</translation>
    </message>
    <message>
        <source>For playback on low memory capacity handsets.</source>
        <translation>Für die Wiedergabe auf Telefonen mit wenig Speicher.</translation>
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
    <name>DownloadView</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Cancel all downloads</source>
        <translation>Alle Downloads abbrechen</translation>
    </message>
    <message>
        <source>Cancel selected download(s)</source>
        <translation>Ausgewählte Downloads abbrechen</translation>
    </message>
</context>
<context>
    <name>DownloadsPage</name>
    <message>
        <source>I want that Tamsel copies downloaded files directly to the phone also.</source>
        <translation>Tamsel soll heruntergeladene Dateien auch direkt auf das Telefon kopieren.</translation>
    </message>
    <message>
        <source>Note that Tamsel converts downloaded files automatically to the format which suit the phone only if necessary. You can change the format from conversion type settings.</source>
        <translation>Tamsel wandelt heruntergeladene Dateien nur bei Bedarf automatisch in ein Format um, das zum Telefon passt. Das Format können Sie in den Einstellungen zur Umwandlung ändern.</translation>
    </message>
</context>
<context>
    <name>FoldersPage</name>
    <message>
        <source>Scanning root folder</source>
        <translation>Stammordner für die Suche</translation>
    </message>
    <message>
        <source>Select the root folder to scan for video files.</source>
        <translation>Wählen Sie den Stammordner, der nach Videodateien durchsucht wird.</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>My Collection Folder</source>
        <translation>Ordner „Meine Sammlung“</translation>
    </message>
    <message>
        <source>Orvak Tamsel uses this folder to store video files. Note that the files &lt;br&gt;in this folder may be converted for mobile phones</source>
        <translation>Orvak Tamsel speichert Videodateien in diesem Ordner. Beachten Sie, dass die Dateien &lt;br&gt;in diesem Ordner für Mobiltelefone umgewandelt sein können.</translation>
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
    <name>LumoTreeView</name>
    <message>
        <source>Small|Medium|Big</source>
        <translation>Klein|Mittel|Groß</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Kurz</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Lang</translation>
    </message>
    <message>
        <source>Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday|Today|Yesterday|Older Than|One Week|Two Weeks|One Month|Older|Newer</source>
        <translation>Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag|Sonntag|Heute|Gestern|Älter als|eine Woche|zwei Wochen|ein Monat|Älter|Neuer</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source>PC only</source>
        <translation>Nur auf dem PC</translation>
    </message>
    <message>
        <source>Phone only</source>
        <translation>Nur auf dem Telefon</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beide</translation>
    </message>
    <message>
        <source>%1 Files selected</source>
        <translation>%1 Dateien ausgewählt</translation>
    </message>
</context>
<context>
    <name>MemoryPage</name>
    <message>
        <source>Select the memory source Orvak Tamsel should use.</source>
        <translation>Wählen Sie den Speicher, den Orvak Tamsel verwenden soll.</translation>
    </message>
</context>
<context>
    <name>MyCollectionView</name>
    <message>
        <source>Storage</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Sort by Stored on PC only</source>
        <translation>Zuerst nur auf dem PC gespeicherte</translation>
    </message>
    <message>
        <source>Sort by Stored on Phone only</source>
        <translation>Zuerst nur auf dem Telefon gespeicherte</translation>
    </message>
    <message>
        <source>Sort by Stored on Both</source>
        <translation>Zuerst auf beiden gespeicherte</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;?</source>
        <translation>Möchten Sie „%1“ wirklich löschen?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Are you sure you want to overwrite the existing file</source>
        <translation>Möchten Sie die vorhandene Datei wirklich überschreiben?</translation>
    </message>
    <message>
        <source>Copy &apos;%1&apos; to My Collection Folder and Play?</source>
        <translation>„%1“ in den Ordner „Meine Sammlung“ kopieren und abspielen?</translation>
    </message>
</context>
<context>
    <name>ScanView</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>No skin file found. Application not started.</source>
        <translation>Keine Designdatei gefunden. Die Anwendung wurde nicht gestartet.</translation>
    </message>
</context>
<context>
    <name>StorageBtns</name>
    <message>
        <source>Copy new version to My collection</source>
        <translation>Neue Version in „Meine Sammlung“ kopieren</translation>
    </message>
    <message>
        <source>Remove from My collection</source>
        <translation>Aus „Meine Sammlung“ entfernen</translation>
    </message>
    <message>
        <source>Copy to My collection</source>
        <translation>In „Meine Sammlung“ kopieren</translation>
    </message>
    <message>
        <source>Copy new version to phone</source>
        <translation>Neue Version auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>Remove from phone</source>
        <translation>Vom Telefon entfernen</translation>
    </message>
    <message>
        <source>Copy to Phone</source>
        <translation>Auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>No Phone Connected</source>
        <translation>Kein Telefon verbunden</translation>
    </message>
</context>
<context>
    <name>TaskView</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Cancel selected task(s)</source>
        <translation>Ausgewählte Aufgaben abbrechen</translation>
    </message>
    <message>
        <source>Cancel all tasks</source>
        <translation>Alle Aufgaben abbrechen</translation>
    </message>
</context>
<context>
    <name>VideoTransferClass</name>
    <message>
        <source>Select phone</source>
        <translation>Telefon wählen</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Memory</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Available memory</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Selection size</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>My collection</source>
        <translation>Meine Sammlung</translation>
    </message>
    <message>
        <source>Scan results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message>
        <source>Scanning status</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Task status</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Single View</source>
        <translation>Einzelansicht</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Listenansicht</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Start Scan</source>
        <translation>Suche starten</translation>
    </message>
    <message>
        <source>Stop Scan</source>
        <translation>Suche anhalten</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Copy to My Collection Folder</source>
        <translation>In den Sammlungsordner kopieren</translation>
    </message>
    <message>
        <source>Copy to Phone</source>
        <translation>Auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>Cancel all tasks</source>
        <translation>Alle Aufgaben abbrechen</translation>
    </message>
    <message>
        <source>Clear completed downloads</source>
        <translation>Fertige Downloads entfernen</translation>
    </message>
    <message>
        <source>Cancel all downloads</source>
        <translation>Alle Downloads abbrechen</translation>
    </message>
    <message>
        <source>Go to Website</source>
        <translation>Zur Website</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Go to</source>
        <translation>Gehe zu</translation>
    </message>
    <message>
        <source>Arrange by</source>
        <translation>Ordnen nach</translation>
    </message>
    <message>
        <source>Storage by</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Extras</translation>
    </message>
    <message>
        <source>Copy to phone</source>
        <translation>Auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>Copy to PC</source>
        <translation>Auf den PC kopieren</translation>
    </message>
    <message>
        <source>Remove from phone</source>
        <translation>Vom Telefon entfernen</translation>
    </message>
    <message>
        <source>Remove from PC</source>
        <translation>Vom PC entfernen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancel all</source>
        <translation>Alle abbrechen</translation>
    </message>
    <message>
        <source>Convert and Copy  to phone</source>
        <translation>Umwandeln und auf das Telefon kopieren</translation>
    </message>
    <message>
        <source>Convert and Copy to PC</source>
        <translation>Umwandeln und auf den PC kopieren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Clear Completed</source>
        <translation>Fertige entfernen</translation>
    </message>
    <message>
        <source>Single view</source>
        <translation>Einzelansicht</translation>
    </message>
    <message>
        <source>List view</source>
        <translation>Listenansicht</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>PC</source>
        <translation>PC</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beide</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Lenght</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Volume up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Volume down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Help topics</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>About Orvak Tamsel</source>
        <translation>Über Orvak Tamsel</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
</context>
</TS>
