<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>Abort</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>AboutApp</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Alert_os_version</source>
        <translation>This program needs a newer system: the host's version class is %1, and at least 10.2 is required.</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>Antialiasing</translation>
    </message>
    <message>
        <source>Append_File</source>
        <translation>“%1” already exists. The view will be added to it as a new line.</translation>
    </message>
    <message>
        <source>AppHelp</source>
        <translation>%1 Help</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>Benchmark</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Cant_Export</source>
        <translation>The picture cannot be exported</translation>
    </message>
    <message>
        <source>Cant_Open</source>
        <translation>This file cannot be opened</translation>
    </message>
    <message>
        <source>Cant_Save</source>
        <translation>The file could not be saved</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Export_No_Memory</source>
        <translation>There is not enough memory for a picture of %1 x %2 pixels.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>FileType</source>
        <translation>File type:</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Gallery</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>G</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>HideApp</source>
        <translation>Hide %1</translation>
    </message>
    <message>
        <source>HideOthers</source>
        <translation>Hide Others</translation>
    </message>
    <message>
        <source>HistoryMode</source>
        <translation>History Mode</translation>
    </message>
    <message>
        <source>InitialCoordinates</source>
        <translation>Initial Coordinates</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>Iteration</translation>
    </message>
    <message>
        <source>Log_Not_Written</source>
        <translation>The history log “%1” could not be written: %2. Views you leave are not logged while this lasts; this is reported once per run.</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Parameter file (mdl)</translation>
    </message>
    <message>
        <source>Name_Not_UTF8</source>
        <translation>The name “%1” holds bytes that are not UTF-8, and this panel cannot show them. Open the file from the command line or drop it on the picture instead.</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Not_Regular_File</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>Not_Saved</source>
        <translation>“%1” could not be saved: %2.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>PageSetup</source>
        <translation>Page Setup…</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>QuitApp</source>
        <translation>Quit %1</translation>
    </message>
    <message>
        <source>ReDrawing</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>Refer_URL</source>
        <translation>The manual of this program is at
%1</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Replace_File</source>
        <translation>“%1” already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>ResultOfBenchmark</source>
        <translation>Benchmark result</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>ShowAll</source>
        <translation>Show All</translation>
    </message>
    <message>
        <source>Too_Large</source>
        <translation>it is larger than 256 MB</translation>
    </message>
    <message>
        <source>Took_seconds</source>
        <translation>The benchmark took %1 seconds.</translation>
    </message>
    <message>
        <source>ZoomIn</source>
        <translation>Zoom In ×%1</translation>
    </message>
    <message>
        <source>ZoomOut</source>
        <translation>Zoom Out ×%1</translation>
    </message>
</context>
</TS>
