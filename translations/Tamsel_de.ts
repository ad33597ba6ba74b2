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
