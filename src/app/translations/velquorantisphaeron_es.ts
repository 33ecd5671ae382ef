<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Gallery</name>
    <message>
        <source>Antenna jewel at -1.77</source>
        <translation>Joya de la antena en -1.77</translation>
    </message>
    <message>
        <source>Antenna minibrot at -1.786</source>
        <translation>Minibrot de la antena en -1.786</translation>
    </message>
    <message>
        <source>Antenna side branch</source>
        <translation>Rama lateral de la antena</translation>
    </message>
    <message>
        <source>Antenna side spiral</source>
        <translation>Espiral lateral de la antena</translation>
    </message>
    <message>
        <source>Antenna spiral at -1.749</source>
        <translation>Espiral de la antena en -1.749</translation>
    </message>
    <message>
        <source>Antenna spirals at -1.75</source>
        <translation>Espirales de la antena en -1.75</translation>
    </message>
    <message>
        <source>Antenna spirals, deep</source>
        <translation>Espirales de la antena, en profundidad</translation>
    </message>
    <message>
        <source>Antenna whorl at -1.7465</source>
        <translation>Remolino de la antena en -1.7465</translation>
    </message>
    <message>
        <source>Cardioid rim, northeast</source>
        <translation>Borde de la cardioide, noreste</translation>
    </message>
    <message>
        <source>Cardioid rim, southeast</source>
        <translation>Borde de la cardioide, sureste</translation>
    </message>
    <message>
        <source>Cardioid rim, southwest</source>
        <translation>Borde de la cardioide, suroeste</translation>
    </message>
    <message>
        <source>Crown filament fork</source>
        <translation>Bifurcación del filamento de la corona</translation>
    </message>
    <message>
        <source>Crown filament, very deep</source>
        <translation>Filamento de la corona, a gran profundidad</translation>
    </message>
    <message>
        <source>Crown fork, close-up</source>
        <translation>Bifurcación de la corona, primer plano</translation>
    </message>
    <message>
        <source>Crown lace</source>
        <translation>Encaje de la corona</translation>
    </message>
    <message>
        <source>Crown of the upper bulb</source>
        <translation>Corona del bulbo superior</translation>
    </message>
    <message>
        <source>Crown spiral</source>
        <translation>Espiral de la corona</translation>
    </message>
    <message>
        <source>Cusp lightning</source>
        <translation>Relámpago de la cúspide</translation>
    </message>
    <message>
        <source>Cusp lightning, close-up</source>
        <translation>Relámpago de la cúspide, primer plano</translation>
    </message>
    <message>
        <source>Cusp of the cardioid</source>
        <translation>Cúspide de la cardioide</translation>
    </message>
    <message>
        <source>Elephant trunk</source>
        <translation>Trompa de elefante</translation>
    </message>
    <message>
        <source>Elephant valley</source>
        <translation>Valle de los elefantes</translation>
    </message>
    <message>
        <source>Left bulb, south shore</source>
        <translation>Bulbo izquierdo, orilla sur</translation>
    </message>
    <message>
        <source>Near the point i</source>
        <translation>Cerca del punto i</translation>
    </message>
    <message>
        <source>Near the tip at -1.94</source>
        <translation>Cerca de la punta en -1.94</translation>
    </message>
    <message>
        <source>Near the tip, deepest</source>
        <translation>Cerca de la punta, a máxima profundidad</translation>
    </message>
    <message>
        <source>Needle at -1.48</source>
        <translation>Aguja en -1.48</translation>
    </message>
    <message>
        <source>Needle at -1.48, deep</source>
        <translation>Aguja en -1.48, en profundidad</translation>
    </message>
    <message>
        <source>Needle at -1.629</source>
        <translation>Aguja en -1.629</translation>
    </message>
    <message>
        <source>Needle at -1.674</source>
        <translation>Aguja en -1.674</translation>
    </message>
    <message>
        <source>Needle minibrot at -1.57</source>
        <translation>Minibrot de la aguja en -1.57</translation>
    </message>
    <message>
        <source>Northwest rim, deepest</source>
        <translation>Borde noroeste, a máxima profundidad</translation>
    </message>
    <message>
        <source>Period-4 neck spiral</source>
        <translation>Espiral del cuello de período 4</translation>
    </message>
    <message>
        <source>Period-4 neck, deep</source>
        <translation>Cuello de período 4, en profundidad</translation>
    </message>
    <message>
        <source>Period-4 neck, south</source>
        <translation>Cuello de período 4, sur</translation>
    </message>
    <message>
        <source>Seahorse double spiral</source>
        <translation>Doble espiral de caballito de mar</translation>
    </message>
    <message>
        <source>Seahorse eye, south</source>
        <translation>Ojo de caballito de mar, sur</translation>
    </message>
    <message>
        <source>Seahorse neck, deep</source>
        <translation>Cuello de caballito de mar, en profundidad</translation>
    </message>
    <message>
        <source>Seahorse tail, south</source>
        <translation>Cola de caballito de mar, sur</translation>
    </message>
    <message>
        <source>Seahorse valley lace</source>
        <translation>Encaje del valle de los caballitos de mar</translation>
    </message>
    <message>
        <source>Seahorse valley, deep</source>
        <translation>Valle de los caballitos de mar, en profundidad</translation>
    </message>
    <message>
        <source>Seahorse valley, deeper</source>
        <translation>Valle de los caballitos de mar, más en profundidad</translation>
    </message>
    <message>
        <source>Seahorse valley, north</source>
        <translation>Valle de los caballitos de mar, norte</translation>
    </message>
    <message>
        <source>Seahorse valley, south</source>
        <translation>Valle de los caballitos de mar, sur</translation>
    </message>
    <message>
        <source>Southeast rim spiral</source>
        <translation>Espiral del borde sureste</translation>
    </message>
    <message>
        <source>Southern antenna, deepest</source>
        <translation>Antena sur, a máxima profundidad</translation>
    </message>
    <message>
        <source>Southern crown spiral</source>
        <translation>Espiral sur de la corona</translation>
    </message>
    <message>
        <source>Tip minibrot at -1.94</source>
        <translation>Minibrot de la punta en -1.94</translation>
    </message>
    <message>
        <source>Top antenna</source>
        <translation>Antena superior</translation>
    </message>
    <message>
        <source>Top antenna branch</source>
        <translation>Rama de la antena superior</translation>
    </message>
</context>
<context>
    <name>Localizable</name>
    <message>
        <source>Abort</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>AboutApp</source>
        <translation>&amp;Acerca de %1</translation>
    </message>
    <message>
        <source>AboutLicence</source>
        <translation>Copyright 2026 los desarrolladores de Velquorantisphaeron. Publicado bajo la licencia MIT (Expat).</translation>
    </message>
    <message>
        <source>AboutQt</source>
        <translation>Acerca de &amp;Qt</translation>
    </message>
    <message>
        <source>AboutText</source>
        <translation>Un explorador del conjunto de Mandelbrot: amplíe el conjunto, coloréelo y guarde los lugares que encuentre como archivos de parámetros o como imágenes que conservan su vista.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Alert_os_version</source>
        <translation>Este programa necesita un sistema más reciente: la clase de versión del sistema es %1 y se requiere al menos la 10.2.</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>Suavizado</translation>
    </message>
    <message>
        <source>Append_File</source>
        <translation>«%1» ya existe. La vista se le añadirá como una línea nueva.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>A&amp;trás</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>&amp;Prueba de rendimiento</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cant_Export</source>
        <translation>No se puede exportar la imagen</translation>
    </message>
    <message>
        <source>Cant_Export_Movie</source>
        <translation>No se pudo crear la película</translation>
    </message>
    <message>
        <source>Cant_Open</source>
        <translation>No se puede abrir este archivo</translation>
    </message>
    <message>
        <source>Cant_Save</source>
        <translation>No se pudo guardar el archivo</translation>
    </message>
    <message>
        <source>ClearRecent</source>
        <translation>&amp;Limpiar la lista</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>&amp;Control</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>DeepZoom</source>
        <translation>Zoom pro&amp;fundo</translation>
    </message>
    <message>
        <source>DragPicture</source>
        <translation>Arrastre desde aquí para sacar la imagen como archivo PNG (Mayús: mitad de tamaño)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>Export_No_Memory</source>
        <translation>No hay memoria suficiente para una imagen de %1 × %2 píxeles.</translation>
    </message>
    <message>
        <source>ExportMovie</source>
        <translation>Exportar &amp;película…</translation>
    </message>
    <message>
        <source>File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>FileType</source>
        <translation>Tipo de archivo:</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Ade&amp;lante</translation>
    </message>
    <message>
        <source>FullScreen</source>
        <translation>&amp;Pantalla completa</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>&amp;Galería</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>HistoryMode</source>
        <translation>&amp;Modo historial</translation>
    </message>
    <message>
        <source>InitialCoordinates</source>
        <translation>Coordenadas &amp;iniciales</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>It&amp;eraciones</translation>
    </message>
    <message>
        <source>Log_Not_Written</source>
        <translation>No se pudo escribir el registro del historial «%1»: %2. Mientras esto dure, las vistas que abandone no se registrarán; este aviso se muestra una sola vez por ejecución.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Archivo de parámetros (mdl)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>&amp;Minimizar</translation>
    </message>
    <message>
        <source>Movie_Choose</source>
        <translation>Elegir…</translation>
    </message>
    <message>
        <source>Movie_Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Movie_Failed</source>
        <translation>No se pudo crear el vídeo: %1.</translation>
    </message>
    <message>
        <source>Movie_Filter</source>
        <translation>Vídeos (*.mp4 *.webm);;Carpetas (*)</translation>
    </message>
    <message>
        <source>Movie_Frames</source>
        <translation>Fotogramas:</translation>
    </message>
    <message>
        <source>Movie_From</source>
        <translation>Desde:</translation>
    </message>
    <message>
        <source>Movie_Hint</source>
        <translation>La película se acerca hasta la vista actual. Una carpeta recibe un archivo PNG por fotograma y conserva los que ya tiene; un nombre acabado en .mp4 o .webm da un vídeo de 30 fotogramas por segundo.</translation>
    </message>
    <message>
        <source>Movie_Oldest</source>
        <translation>La vista más antigua del historial</translation>
    </message>
    <message>
        <source>Movie_Output</source>
        <translation>Guardar en:</translation>
    </message>
    <message>
        <source>Movie_Size</source>
        <translation>Tamaño:</translation>
    </message>
    <message>
        <source>Movie_Start</source>
        <translation>La vista inicial</translation>
    </message>
    <message>
        <source>Name_Not_UTF8</source>
        <translation>El nombre «%1» contiene bytes que no son UTF-8 y este panel no puede mostrarlos. Abra el archivo desde la línea de órdenes o suéltelo sobre la imagen.</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>&amp;Más lugares</translation>
    </message>
    <message>
        <source>Not_Regular_File</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>Not_Saved</source>
        <translation>No se pudo guardar «%1»: %2.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>&amp;Abrir…</translation>
    </message>
    <message>
        <source>OpenRecent</source>
        <translation>Abrir &amp;reciente</translation>
    </message>
    <message>
        <source>QuitApp</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>ReDrawing</source>
        <translation>&amp;Redibujar</translation>
    </message>
    <message>
        <source>Refer_URL</source>
        <translation>El manual de este programa está en
%1</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Replace_File</source>
        <translation>«%1» ya existe. ¿Quiere reemplazarlo?</translation>
    </message>
    <message>
        <source>ResultOfBenchmark</source>
        <translation>Resultado de la prueba de rendimiento</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>&amp;Guardar como…</translation>
    </message>
    <message>
        <source>Sequence</source>
        <translation>Secuencia &amp;%1</translation>
    </message>
    <message>
        <source>The picture is too large: its render may have at most 268435456 pixels.</source>
        <translation>La imagen es demasiado grande: su cálculo puede tener como máximo 268435456 píxeles.</translation>
    </message>
    <message>
        <source>The width and the height may be at most 32768 pixels.</source>
        <translation>El ancho y el alto pueden ser como máximo de 32768 píxeles.</translation>
    </message>
    <message>
        <source>The width and the height must be positive whole numbers.</source>
        <translation>El ancho y el alto deben ser números enteros positivos.</translation>
    </message>
    <message>
        <source>Too_Large</source>
        <translation>ocupa más de 256 MB</translation>
    </message>
    <message>
        <source>Took_seconds</source>
        <translation>La prueba de rendimiento tardó %1 segundos.</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>&amp;Ventana</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Ma&amp;ximizar</translation>
    </message>
    <message>
        <source>ZoomIn</source>
        <translation>Am&amp;pliar ×%1</translation>
    </message>
    <message>
        <source>ZoomOut</source>
        <translation>Re&amp;ducir ×%1</translation>
    </message>
</context>
</TS>
