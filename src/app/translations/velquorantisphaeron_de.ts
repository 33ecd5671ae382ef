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
        <source>Add</source>
        <translation>Hinzufügen</translation>
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
        <source>Append_File</source>
        <translation>„%1“ ist schon vorhanden. Die Ansicht wird als neue Zeile angefügt.</translation>
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
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
        <source>Cant_Save</source>
        <translation>Die Datei konnte nicht gespeichert werden</translation>
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
        <source>Export_No_Memory</source>
        <translation>Für ein Bild von %1 × %2 Pixeln ist nicht genug Speicher frei.</translation>
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
        <source>Log_Not_Written</source>
        <translation>Das Verlaufsprotokoll „%1“ konnte nicht geschrieben werden: %2. Solange das so ist, werden verlassene Ansichten nicht protokolliert; dies wird einmal je Programmlauf gemeldet.</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Parameterdatei (mdl)</translation>
    </message>
    <message>
        <source>Name_Not_UTF8</source>
        <translation>Der Name „%1“ enthält Bytes, die kein UTF-8 sind, und dieser Dialog kann sie nicht anzeigen. Öffnen Sie die Datei über die Befehlszeile oder ziehen Sie sie auf das Bild.</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weitere</translation>
    </message>
    <message>
        <source>Not_Regular_File</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>Not_Saved</source>
        <translation>„%1“ konnte nicht gespeichert werden: %2.</translation>
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
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Replace_File</source>
        <translation>„%1“ ist schon vorhanden. Möchten Sie die Datei ersetzen?</translation>
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
        <source>Too_Large</source>
        <translation>sie ist größer als 256 MB</translation>
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
