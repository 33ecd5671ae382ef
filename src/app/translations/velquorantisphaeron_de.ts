<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Gallery</name>
    <message>
        <source>Antenna jewel at -1.77</source>
        <translation>Antennenjuwel bei -1.77</translation>
    </message>
    <message>
        <source>Antenna minibrot at -1.786</source>
        <translation>Antennen-Minibrot bei -1.786</translation>
    </message>
    <message>
        <source>Antenna side branch</source>
        <translation>Seitenzweig der Antenne</translation>
    </message>
    <message>
        <source>Antenna side spiral</source>
        <translation>Seitenspirale der Antenne</translation>
    </message>
    <message>
        <source>Antenna spiral at -1.749</source>
        <translation>Antennenspirale bei -1.749</translation>
    </message>
    <message>
        <source>Antenna spirals at -1.75</source>
        <translation>Antennenspiralen bei -1.75</translation>
    </message>
    <message>
        <source>Antenna spirals, deep</source>
        <translation>Antennenspiralen, tief</translation>
    </message>
    <message>
        <source>Antenna whorl at -1.7465</source>
        <translation>Antennenwirbel bei -1.7465</translation>
    </message>
    <message>
        <source>Cardioid rim, northeast</source>
        <translation>Kardioidenrand, Nordost</translation>
    </message>
    <message>
        <source>Cardioid rim, southeast</source>
        <translation>Kardioidenrand, Südost</translation>
    </message>
    <message>
        <source>Cardioid rim, southwest</source>
        <translation>Kardioidenrand, Südwest</translation>
    </message>
    <message>
        <source>Crown filament fork</source>
        <translation>Gabelung des Kronenfilaments</translation>
    </message>
    <message>
        <source>Crown filament, very deep</source>
        <translation>Kronenfilament, sehr tief</translation>
    </message>
    <message>
        <source>Crown fork, close-up</source>
        <translation>Kronengabelung, Nahaufnahme</translation>
    </message>
    <message>
        <source>Crown lace</source>
        <translation>Kronenfiligran</translation>
    </message>
    <message>
        <source>Crown of the upper bulb</source>
        <translation>Krone der oberen Knospe</translation>
    </message>
    <message>
        <source>Crown spiral</source>
        <translation>Kronenspirale</translation>
    </message>
    <message>
        <source>Cusp lightning</source>
        <translation>Blitz an der Kardioidenspitze</translation>
    </message>
    <message>
        <source>Cusp lightning, close-up</source>
        <translation>Blitz an der Kardioidenspitze, Nahaufnahme</translation>
    </message>
    <message>
        <source>Cusp of the cardioid</source>
        <translation>Spitze der Kardioide</translation>
    </message>
    <message>
        <source>Elephant trunk</source>
        <translation>Elefantenrüssel</translation>
    </message>
    <message>
        <source>Elephant valley</source>
        <translation>Elefantental</translation>
    </message>
    <message>
        <source>Left bulb, south shore</source>
        <translation>Linke Knospe, Südufer</translation>
    </message>
    <message>
        <source>Near the point i</source>
        <translation>Nahe dem Punkt i</translation>
    </message>
    <message>
        <source>Near the tip at -1.94</source>
        <translation>Nahe der Spitze bei -1.94</translation>
    </message>
    <message>
        <source>Near the tip, deepest</source>
        <translation>Nahe der Spitze, am tiefsten</translation>
    </message>
    <message>
        <source>Needle at -1.48</source>
        <translation>Nadel bei -1.48</translation>
    </message>
    <message>
        <source>Needle at -1.48, deep</source>
        <translation>Nadel bei -1.48, tief</translation>
    </message>
    <message>
        <source>Needle at -1.629</source>
        <translation>Nadel bei -1.629</translation>
    </message>
    <message>
        <source>Needle at -1.674</source>
        <translation>Nadel bei -1.674</translation>
    </message>
    <message>
        <source>Needle minibrot at -1.57</source>
        <translation>Nadel-Minibrot bei -1.57</translation>
    </message>
    <message>
        <source>Northwest rim, deepest</source>
        <translation>Nordwestrand, am tiefsten</translation>
    </message>
    <message>
        <source>Period-4 neck spiral</source>
        <translation>Spirale am Periode-4-Hals</translation>
    </message>
    <message>
        <source>Period-4 neck, deep</source>
        <translation>Periode-4-Hals, tief</translation>
    </message>
    <message>
        <source>Period-4 neck, south</source>
        <translation>Periode-4-Hals, Süd</translation>
    </message>
    <message>
        <source>Seahorse double spiral</source>
        <translation>Seepferdchen-Doppelspirale</translation>
    </message>
    <message>
        <source>Seahorse eye, south</source>
        <translation>Seepferdchenauge, Süd</translation>
    </message>
    <message>
        <source>Seahorse neck, deep</source>
        <translation>Seepferdchenhals, tief</translation>
    </message>
    <message>
        <source>Seahorse tail, south</source>
        <translation>Seepferdchenschwanz, Süd</translation>
    </message>
    <message>
        <source>Seahorse valley lace</source>
        <translation>Filigran im Seepferdchental</translation>
    </message>
    <message>
        <source>Seahorse valley, deep</source>
        <translation>Seepferdchental, tief</translation>
    </message>
    <message>
        <source>Seahorse valley, deeper</source>
        <translation>Seepferdchental, tiefer</translation>
    </message>
    <message>
        <source>Seahorse valley, north</source>
        <translation>Seepferdchental, Nord</translation>
    </message>
    <message>
        <source>Seahorse valley, south</source>
        <translation>Seepferdchental, Süd</translation>
    </message>
    <message>
        <source>Southeast rim spiral</source>
        <translation>Spirale am Südostrand</translation>
    </message>
    <message>
        <source>Southern antenna, deepest</source>
        <translation>Südliche Antenne, am tiefsten</translation>
    </message>
    <message>
        <source>Southern crown spiral</source>
        <translation>Südliche Kronenspirale</translation>
    </message>
    <message>
        <source>Tip minibrot at -1.94</source>
        <translation>Minibrot an der Spitze bei -1.94</translation>
    </message>
    <message>
        <source>Top antenna</source>
        <translation>Obere Antenne</translation>
    </message>
    <message>
        <source>Top antenna branch</source>
        <translation>Zweig der oberen Antenne</translation>
    </message>
</context>
<context>
    <name>Localizable</name>
    <message>
        <source>Abort</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>AboutApp</source>
        <translation>Ü&amp;ber %1</translation>
    </message>
    <message>
        <source>AboutLicence</source>
        <translation>Copyright 2026 die Entwickler von Velquorantisphaeron. Veröffentlicht unter der MIT-Lizenz (Expat).</translation>
    </message>
    <message>
        <source>AboutQt</source>
        <translation>Über &amp;Qt</translation>
    </message>
    <message>
        <source>AboutText</source>
        <translation>Ein Erkunder der Mandelbrot-Menge: Zoomen Sie in die Menge hinein, färben Sie sie ein und bewahren Sie die gefundenen Orte als Parameterdateien oder als Bilder auf, die ihre Ansicht mitführen.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Alert_os_version</source>
        <translation>Dieses Programm benötigt ein neueres System: Die Versionsklasse des Systems ist %1, erforderlich ist mindestens 10.2.</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>Kantenglättung</translation>
    </message>
    <message>
        <source>Append_File</source>
        <translation>„%1“ ist bereits vorhanden. Die Ansicht wird als neue Zeile daran angefügt.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>&amp;Leistungstest</translation>
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
        <source>Cant_Export_Movie</source>
        <translation>Der Film konnte nicht erstellt werden</translation>
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
        <source>ClearRecent</source>
        <translation>&amp;Liste leeren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>&amp;Steuerung</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>DeepZoom</source>
        <translation>&amp;Tiefenzoom</translation>
    </message>
    <message>
        <source>DragPicture</source>
        <translation>Von hier ziehen, um das Bild als PNG-Datei herauszuziehen (Umschalt: halbe Größe)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Export_No_Memory</source>
        <translation>Für ein Bild von %1 × %2 Pixeln ist nicht genug Speicher vorhanden.</translation>
    </message>
    <message>
        <source>ExportMovie</source>
        <translation>&amp;Film exportieren …</translation>
    </message>
    <message>
        <source>File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>FileType</source>
        <translation>Dateityp:</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>FullScreen</source>
        <translation>&amp;Vollbild</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>&amp;Galerie</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>G</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>HistoryMode</source>
        <translation>Verlauf &amp;protokollieren</translation>
    </message>
    <message>
        <source>InitialCoordinates</source>
        <translation>&amp;Anfangskoordinaten</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>&amp;Iterationen</translation>
    </message>
    <message>
        <source>Log_Not_Written</source>
        <translation>Das Verlaufsprotokoll „%1“ konnte nicht geschrieben werden: %2. Solange das so bleibt, werden verlassene Ansichten nicht protokolliert; diese Meldung erscheint nur einmal je Programmlauf.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>&amp;Handbuch</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Parameterdatei (mdl)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>&amp;Minimieren</translation>
    </message>
    <message>
        <source>Movie_Choose</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>Movie_Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Movie_Failed</source>
        <translation>Das Video konnte nicht erstellt werden: %1.</translation>
    </message>
    <message>
        <source>Movie_Filter</source>
        <translation>Videos (*.mp4 *.webm);;Ordner (*)</translation>
    </message>
    <message>
        <source>Movie_Frames</source>
        <translation>Bilder:</translation>
    </message>
    <message>
        <source>Movie_From</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>Movie_Hint</source>
        <translation>Der Film zoomt bis zum aktuellen Ausschnitt. Ein Ordner erhält eine PNG-Datei je Bild, vorhandene Bilder darin bleiben erhalten; ein Name auf .mp4 oder .webm ergibt ein Video mit 30 Bildern pro Sekunde.</translation>
    </message>
    <message>
        <source>Movie_Oldest</source>
        <translation>Der älteste Ausschnitt im Verlauf</translation>
    </message>
    <message>
        <source>Movie_Output</source>
        <translation>Sichern in:</translation>
    </message>
    <message>
        <source>Movie_Size</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Movie_Start</source>
        <translation>Der Startausschnitt</translation>
    </message>
    <message>
        <source>Name_Not_UTF8</source>
        <translation>Der Name „%1“ enthält Bytes, die kein UTF-8 sind, und dieser Dialog kann sie nicht anzeigen. Öffnen Sie die Datei stattdessen über die Befehlszeile oder ziehen Sie sie auf das Bild.</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>&amp;Weitere</translation>
    </message>
    <message>
        <source>Not_Regular_File</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>Not_Saved</source>
        <translation>„%1“ konnte nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>&amp;Öffnen …</translation>
    </message>
    <message>
        <source>OpenRecent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>QuitApp</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>ReDrawing</source>
        <translation>&amp;Neu zeichnen</translation>
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
        <translation>„%1“ ist bereits vorhanden. Möchten Sie die Datei ersetzen?</translation>
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
        <translation>&amp;Speichern unter …</translation>
    </message>
    <message>
        <source>Sequence</source>
        <translation>Sequenz &amp;%1</translation>
    </message>
    <message>
        <source>The picture is too large: its render may have at most 268435456 pixels.</source>
        <translation>Das Bild ist zu groß: Es darf höchstens mit 268435456 Pixeln berechnet werden.</translation>
    </message>
    <message>
        <source>The width and the height may be at most 32768 pixels.</source>
        <translation>Breite und Höhe dürfen höchstens 32768 Pixel betragen.</translation>
    </message>
    <message>
        <source>The width and the height must be positive whole numbers.</source>
        <translation>Breite und Höhe müssen positive ganze Zahlen sein.</translation>
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
        <source>Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Ma&amp;ximieren</translation>
    </message>
    <message>
        <source>ZoomIn</source>
        <translation>Ver&amp;größern ×%1</translation>
    </message>
    <message>
        <source>ZoomOut</source>
        <translation>Verk&amp;leinern ×%1</translation>
    </message>
</context>
</TS>
