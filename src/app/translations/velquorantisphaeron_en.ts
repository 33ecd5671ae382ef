<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Gallery</name>
    <message>
        <source>Antenna jewel at -1.77</source>
        <translation>Antenna jewel at -1.77</translation>
    </message>
    <message>
        <source>Antenna minibrot at -1.786</source>
        <translation>Antenna minibrot at -1.786</translation>
    </message>
    <message>
        <source>Antenna side branch</source>
        <translation>Antenna side branch</translation>
    </message>
    <message>
        <source>Antenna side spiral</source>
        <translation>Antenna side spiral</translation>
    </message>
    <message>
        <source>Antenna spiral at -1.749</source>
        <translation>Antenna spiral at -1.749</translation>
    </message>
    <message>
        <source>Antenna spirals at -1.75</source>
        <translation>Antenna spirals at -1.75</translation>
    </message>
    <message>
        <source>Antenna spirals, deep</source>
        <translation>Antenna spirals, deep</translation>
    </message>
    <message>
        <source>Antenna whorl at -1.7465</source>
        <translation>Antenna whorl at -1.7465</translation>
    </message>
    <message>
        <source>Cardioid rim, northeast</source>
        <translation>Cardioid rim, northeast</translation>
    </message>
    <message>
        <source>Cardioid rim, southeast</source>
        <translation>Cardioid rim, southeast</translation>
    </message>
    <message>
        <source>Cardioid rim, southwest</source>
        <translation>Cardioid rim, southwest</translation>
    </message>
    <message>
        <source>Crown filament fork</source>
        <translation>Crown filament fork</translation>
    </message>
    <message>
        <source>Crown filament, very deep</source>
        <translation>Crown filament, very deep</translation>
    </message>
    <message>
        <source>Crown fork, close-up</source>
        <translation>Crown fork, close-up</translation>
    </message>
    <message>
        <source>Crown lace</source>
        <translation>Crown lace</translation>
    </message>
    <message>
        <source>Crown of the upper bulb</source>
        <translation>Crown of the upper bulb</translation>
    </message>
    <message>
        <source>Crown spiral</source>
        <translation>Crown spiral</translation>
    </message>
    <message>
        <source>Cusp lightning</source>
        <translation>Cusp lightning</translation>
    </message>
    <message>
        <source>Cusp lightning, close-up</source>
        <translation>Cusp lightning, close-up</translation>
    </message>
    <message>
        <source>Cusp of the cardioid</source>
        <translation>Cusp of the cardioid</translation>
    </message>
    <message>
        <source>Elephant trunk</source>
        <translation>Elephant trunk</translation>
    </message>
    <message>
        <source>Elephant valley</source>
        <translation>Elephant valley</translation>
    </message>
    <message>
        <source>Left bulb, south shore</source>
        <translation>Left bulb, south shore</translation>
    </message>
    <message>
        <source>Near the point i</source>
        <translation>Near the point i</translation>
    </message>
    <message>
        <source>Near the tip at -1.94</source>
        <translation>Near the tip at -1.94</translation>
    </message>
    <message>
        <source>Near the tip, deepest</source>
        <translation>Near the tip, deepest</translation>
    </message>
    <message>
        <source>Needle at -1.48</source>
        <translation>Needle at -1.48</translation>
    </message>
    <message>
        <source>Needle at -1.48, deep</source>
        <translation>Needle at -1.48, deep</translation>
    </message>
    <message>
        <source>Needle at -1.629</source>
        <translation>Needle at -1.629</translation>
    </message>
    <message>
        <source>Needle at -1.674</source>
        <translation>Needle at -1.674</translation>
    </message>
    <message>
        <source>Needle minibrot at -1.57</source>
        <translation>Needle minibrot at -1.57</translation>
    </message>
    <message>
        <source>Northwest rim, deepest</source>
        <translation>Northwest rim, deepest</translation>
    </message>
    <message>
        <source>Period-4 neck spiral</source>
        <translation>Period-4 neck spiral</translation>
    </message>
    <message>
        <source>Period-4 neck, deep</source>
        <translation>Period-4 neck, deep</translation>
    </message>
    <message>
        <source>Period-4 neck, south</source>
        <translation>Period-4 neck, south</translation>
    </message>
    <message>
        <source>Seahorse double spiral</source>
        <translation>Seahorse double spiral</translation>
    </message>
    <message>
        <source>Seahorse eye, south</source>
        <translation>Seahorse eye, south</translation>
    </message>
    <message>
        <source>Seahorse neck, deep</source>
        <translation>Seahorse neck, deep</translation>
    </message>
    <message>
        <source>Seahorse tail, south</source>
        <translation>Seahorse tail, south</translation>
    </message>
    <message>
        <source>Seahorse valley lace</source>
        <translation>Seahorse valley lace</translation>
    </message>
    <message>
        <source>Seahorse valley, deep</source>
        <translation>Seahorse valley, deep</translation>
    </message>
    <message>
        <source>Seahorse valley, deeper</source>
        <translation>Seahorse valley, deeper</translation>
    </message>
    <message>
        <source>Seahorse valley, north</source>
        <translation>Seahorse valley, north</translation>
    </message>
    <message>
        <source>Seahorse valley, south</source>
        <translation>Seahorse valley, south</translation>
    </message>
    <message>
        <source>Southeast rim spiral</source>
        <translation>Southeast rim spiral</translation>
    </message>
    <message>
        <source>Southern antenna, deepest</source>
        <translation>Southern antenna, deepest</translation>
    </message>
    <message>
        <source>Southern crown spiral</source>
        <translation>Southern crown spiral</translation>
    </message>
    <message>
        <source>Tip minibrot at -1.94</source>
        <translation>Tip minibrot at -1.94</translation>
    </message>
    <message>
        <source>Top antenna</source>
        <translation>Top antenna</translation>
    </message>
    <message>
        <source>Top antenna branch</source>
        <translation>Top antenna branch</translation>
    </message>
</context>
<context>
    <name>Localizable</name>
    <message>
        <source>Abort</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>AboutApp</source>
        <translation>&amp;About %1</translation>
    </message>
    <message>
        <source>AboutLicence</source>
        <translation>Copyright 2026 The Velquorantisphaeron developers. Released under the MIT (Expat) licence.</translation>
    </message>
    <message>
        <source>AboutQt</source>
        <translation>About &amp;Qt</translation>
    </message>
    <message>
        <source>AboutText</source>
        <translation>A Mandelbrot-set explorer: zoom into the set, colour it, and keep the places you find as parameter files or as pictures that carry their view.</translation>
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
        <source>Back</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>&amp;Benchmark</translation>
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
        <source>Cant_Export_Movie</source>
        <translation>The movie could not be made</translation>
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
        <source>ClearRecent</source>
        <translation>&amp;Clear List</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>&amp;Control</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>DeepZoom</source>
        <translation>&amp;Deep Zoom</translation>
    </message>
    <message>
        <source>DragPicture</source>
        <translation>Drag from here to take the picture out as a PNG file (Shift: half size)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Export_No_Memory</source>
        <translation>There is not enough memory for a picture of %1 x %2 pixels.</translation>
    </message>
    <message>
        <source>ExportMovie</source>
        <translation>Export &amp;Movie…</translation>
    </message>
    <message>
        <source>File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>FileType</source>
        <translation>File type:</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>&amp;Forward</translation>
    </message>
    <message>
        <source>FullScreen</source>
        <translation>&amp;Full Screen</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>&amp;Gallery</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>G</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>HistoryMode</source>
        <translation>&amp;History Mode</translation>
    </message>
    <message>
        <source>InitialCoordinates</source>
        <translation>&amp;Initial Coordinates</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>I&amp;teration</translation>
    </message>
    <message>
        <source>Log_Not_Written</source>
        <translation>The history log “%1” could not be written: %2. Views you leave are not logged while this lasts; this is reported once per run.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Parameter file (mdl)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>&amp;Minimize</translation>
    </message>
    <message>
        <source>Movie_Choose</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>Movie_Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Movie_Failed</source>
        <translation>The video could not be made: %1.</translation>
    </message>
    <message>
        <source>Movie_Filter</source>
        <translation>Videos (*.mp4 *.webm);;Folders (*)</translation>
    </message>
    <message>
        <source>Movie_Frames</source>
        <translation>Frames:</translation>
    </message>
    <message>
        <source>Movie_From</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>Movie_Hint</source>
        <translation>The movie zooms to the current view. A folder gets one PNG file per frame, and frames already in it are kept; a name ending in .mp4 or .webm gets a video at 30 frames a second.</translation>
    </message>
    <message>
        <source>Movie_Oldest</source>
        <translation>The oldest view in the history</translation>
    </message>
    <message>
        <source>Movie_Output</source>
        <translation>Save to:</translation>
    </message>
    <message>
        <source>Movie_Size</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Movie_Start</source>
        <translation>The start view</translation>
    </message>
    <message>
        <source>Name_Not_UTF8</source>
        <translation>The name “%1” holds bytes that are not UTF-8, and this panel cannot show them. Open the file from the command line or drop it on the picture instead.</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>&amp;Next</translation>
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
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>OpenRecent</source>
        <translation>Open &amp;Recent</translation>
    </message>
    <message>
        <source>QuitApp</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>ReDrawing</source>
        <translation>&amp;Redraw</translation>
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
        <translation>&amp;Save…</translation>
    </message>
    <message>
        <source>Sequence</source>
        <translation>Sequence &amp;%1</translation>
    </message>
    <message>
        <source>The picture is too large: its render may have at most 268435456 pixels.</source>
        <translation>The picture is too large: its render may have at most 268435456 pixels.</translation>
    </message>
    <message>
        <source>The width and the height may be at most 32768 pixels.</source>
        <translation>The width and the height may be at most 32768 pixels.</translation>
    </message>
    <message>
        <source>The width and the height must be positive whole numbers.</source>
        <translation>The width and the height must be positive whole numbers.</translation>
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
        <source>Window</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>ZoomIn</source>
        <translation>Zoom &amp;In ×%1</translation>
    </message>
    <message>
        <source>ZoomOut</source>
        <translation>Zoom &amp;Out ×%1</translation>
    </message>
</context>
</TS>
