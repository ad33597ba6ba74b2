<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
    <name>Startup</name>
    <message>
        <source>No skin file found. Application not started.</source>
        <translation>Keine Designdatei gefunden. Die Anwendung wurde nicht gestartet.</translation>
    </message>
</context>
</TS>
