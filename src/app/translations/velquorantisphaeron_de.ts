<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Localizable</name>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>AboutApp</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Alert_os_version</source>
        <translation>Dieses Programm braucht ein neueres System: die Versionsklasse des Systems ist %1, nötig ist mindestens 10.2.</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>Kantenglättung</translation>
    </message>
    <message>
        <source>AppHelp</source>
        <translation>%1-Hilfe</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>Leistungstest</translation>
    </message>
    <message>
        <source>Cant_Export</source>
        <translation>Das Bild kann nicht exportiert werden</translation>
    </message>
    <message>
        <source>Cant_Open</source>
        <translation>Diese Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Ablage</translation>
    </message>
    <message>
        <source>FileType</source>
        <translation>Dateityp:</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>G</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>HideApp</source>
        <translation>%1 ausblenden</translation>
    </message>
    <message>
        <source>HideOthers</source>
        <translation>Andere ausblenden</translation>
    </message>
    <message>
        <source>HistoryMode</source>
        <translation>Verlauf protokollieren</translation>
    </message>
    <message>
        <source>InitialCoordinates</source>
        <translation>Anfangskoordinaten</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>Iterationen</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Parameterdatei (mdl)</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weitere</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen …</translation>
    </message>
    <message>
        <source>PageSetup</source>
        <translation>Papierformat …</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einsetzen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken …</translation>
    </message>
    <message>
        <source>QuitApp</source>
        <translation>%1 beenden</translation>
    </message>
    <message>
        <source>ReDrawing</source>
        <translation>Neu zeichnen</translation>
    </message>
    <message>
        <source>Refer_URL</source>
        <translation>Das Handbuch dieses Programms finden Sie unter
%1</translation>
    </message>
    <message>
        <source>ResultOfBenchmark</source>
        <translation>Ergebnis des Leistungstests</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sichern …</translation>
    </message>
    <message>
        <source>ShowAll</source>
        <translation>Alle einblenden</translation>
    </message>
    <message>
        <source>Took_seconds</source>
        <translation>Der Leistungstest dauerte %1 Sekunden.</translation>
    </message>
    <message>
        <source>ZoomIn</source>
        <translation>Vergrößern ×%1</translation>
    </message>
    <message>
        <source>ZoomOut</source>
        <translation>Verkleinern ×%1</translation>
    </message>
</context>
</TS>
