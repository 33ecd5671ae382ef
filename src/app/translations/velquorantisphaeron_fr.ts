<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Gallery</name>
    <message>
        <source>Antenna jewel at -1.77</source>
        <translation>Joyau de l’antenne à -1.77</translation>
    </message>
    <message>
        <source>Antenna minibrot at -1.786</source>
        <translation>Minibrot de l’antenne à -1.786</translation>
    </message>
    <message>
        <source>Antenna side branch</source>
        <translation>Branche latérale de l’antenne</translation>
    </message>
    <message>
        <source>Antenna side spiral</source>
        <translation>Spirale latérale de l’antenne</translation>
    </message>
    <message>
        <source>Antenna spiral at -1.749</source>
        <translation>Spirale de l’antenne à -1.749</translation>
    </message>
    <message>
        <source>Antenna spirals at -1.75</source>
        <translation>Spirales de l’antenne à -1.75</translation>
    </message>
    <message>
        <source>Antenna spirals, deep</source>
        <translation>Spirales de l’antenne, en profondeur</translation>
    </message>
    <message>
        <source>Antenna whorl at -1.7465</source>
        <translation>Tourbillon de l’antenne à -1.7465</translation>
    </message>
    <message>
        <source>Cardioid rim, northeast</source>
        <translation>Bord de la cardioïde, nord-est</translation>
    </message>
    <message>
        <source>Cardioid rim, southeast</source>
        <translation>Bord de la cardioïde, sud-est</translation>
    </message>
    <message>
        <source>Cardioid rim, southwest</source>
        <translation>Bord de la cardioïde, sud-ouest</translation>
    </message>
    <message>
        <source>Crown filament fork</source>
        <translation>Fourche du filament de la couronne</translation>
    </message>
    <message>
        <source>Crown filament, very deep</source>
        <translation>Filament de la couronne, très en profondeur</translation>
    </message>
    <message>
        <source>Crown fork, close-up</source>
        <translation>Fourche de la couronne, gros plan</translation>
    </message>
    <message>
        <source>Crown lace</source>
        <translation>Dentelle de la couronne</translation>
    </message>
    <message>
        <source>Crown of the upper bulb</source>
        <translation>Couronne du bulbe supérieur</translation>
    </message>
    <message>
        <source>Crown spiral</source>
        <translation>Spirale de la couronne</translation>
    </message>
    <message>
        <source>Cusp lightning</source>
        <translation>Éclair de la pointe de la cardioïde</translation>
    </message>
    <message>
        <source>Cusp lightning, close-up</source>
        <translation>Éclair de la pointe de la cardioïde, gros plan</translation>
    </message>
    <message>
        <source>Cusp of the cardioid</source>
        <translation>Pointe de la cardioïde</translation>
    </message>
    <message>
        <source>Elephant trunk</source>
        <translation>Trompe d’éléphant</translation>
    </message>
    <message>
        <source>Elephant valley</source>
        <translation>Vallée des éléphants</translation>
    </message>
    <message>
        <source>Left bulb, south shore</source>
        <translation>Bulbe gauche, rive sud</translation>
    </message>
    <message>
        <source>Near the point i</source>
        <translation>Près du point i</translation>
    </message>
    <message>
        <source>Near the tip at -1.94</source>
        <translation>Près de l’extrémité à -1.94</translation>
    </message>
    <message>
        <source>Near the tip, deepest</source>
        <translation>Près de l’extrémité, au plus profond</translation>
    </message>
    <message>
        <source>Needle at -1.48</source>
        <translation>Aiguille à -1.48</translation>
    </message>
    <message>
        <source>Needle at -1.48, deep</source>
        <translation>Aiguille à -1.48, en profondeur</translation>
    </message>
    <message>
        <source>Needle at -1.629</source>
        <translation>Aiguille à -1.629</translation>
    </message>
    <message>
        <source>Needle at -1.674</source>
        <translation>Aiguille à -1.674</translation>
    </message>
    <message>
        <source>Needle minibrot at -1.57</source>
        <translation>Minibrot de l’aiguille à -1.57</translation>
    </message>
    <message>
        <source>Northwest rim, deepest</source>
        <translation>Bord nord-ouest, au plus profond</translation>
    </message>
    <message>
        <source>Period-4 neck spiral</source>
        <translation>Spirale du col de période 4</translation>
    </message>
    <message>
        <source>Period-4 neck, deep</source>
        <translation>Col de période 4, en profondeur</translation>
    </message>
    <message>
        <source>Period-4 neck, south</source>
        <translation>Col de période 4, sud</translation>
    </message>
    <message>
        <source>Seahorse double spiral</source>
        <translation>Double spirale d’hippocampe</translation>
    </message>
    <message>
        <source>Seahorse eye, south</source>
        <translation>Œil d’hippocampe, sud</translation>
    </message>
    <message>
        <source>Seahorse neck, deep</source>
        <translation>Cou d’hippocampe, en profondeur</translation>
    </message>
    <message>
        <source>Seahorse tail, south</source>
        <translation>Queue d’hippocampe, sud</translation>
    </message>
    <message>
        <source>Seahorse valley lace</source>
        <translation>Dentelle de la vallée des hippocampes</translation>
    </message>
    <message>
        <source>Seahorse valley, deep</source>
        <translation>Vallée des hippocampes, en profondeur</translation>
    </message>
    <message>
        <source>Seahorse valley, deeper</source>
        <translation>Vallée des hippocampes, plus en profondeur</translation>
    </message>
    <message>
        <source>Seahorse valley, north</source>
        <translation>Vallée des hippocampes, nord</translation>
    </message>
    <message>
        <source>Seahorse valley, south</source>
        <translation>Vallée des hippocampes, sud</translation>
    </message>
    <message>
        <source>Southeast rim spiral</source>
        <translation>Spirale du bord sud-est</translation>
    </message>
    <message>
        <source>Southern antenna, deepest</source>
        <translation>Antenne sud, au plus profond</translation>
    </message>
    <message>
        <source>Southern crown spiral</source>
        <translation>Spirale sud de la couronne</translation>
    </message>
    <message>
        <source>Tip minibrot at -1.94</source>
        <translation>Minibrot de l’extrémité à -1.94</translation>
    </message>
    <message>
        <source>Top antenna</source>
        <translation>Antenne supérieure</translation>
    </message>
    <message>
        <source>Top antenna branch</source>
        <translation>Branche de l’antenne supérieure</translation>
    </message>
</context>
<context>
    <name>Localizable</name>
    <message>
        <source>Abort</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>AboutApp</source>
        <translation>À &amp;propos de %1</translation>
    </message>
    <message>
        <source>AboutLicence</source>
        <translation>Copyright 2026 les développeurs de Velquorantisphaeron. Publié sous la licence MIT (Expat).</translation>
    </message>
    <message>
        <source>AboutQt</source>
        <translation>À propos de &amp;Qt</translation>
    </message>
    <message>
        <source>AboutText</source>
        <translation>Un explorateur de l’ensemble de Mandelbrot : zoomez dans l’ensemble, mettez-le en couleurs et conservez les lieux que vous trouvez sous forme de fichiers de paramètres ou d’images qui gardent leur vue.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Alert_os_version</source>
        <translation>Ce programme nécessite un système plus récent : la classe de version de l’hôte est %1, et la version 10.2 au moins est requise.</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>Anticrénelage</translation>
    </message>
    <message>
        <source>Append_File</source>
        <translation>« %1 » existe déjà. La vue y sera ajoutée sous forme d’une nouvelle ligne.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>&amp;Précédent</translation>
    </message>
    <message>
        <source>Benchmark</source>
        <translation>&amp;Banc d’essai</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Cant_Export</source>
        <translation>L’image ne peut pas être exportée</translation>
    </message>
    <message>
        <source>Cant_Export_Movie</source>
        <translation>Le film n’a pas pu être créé</translation>
    </message>
    <message>
        <source>Cant_Open</source>
        <translation>Ce fichier ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>Cant_Save</source>
        <translation>Le fichier n’a pas pu être enregistré</translation>
    </message>
    <message>
        <source>ClearRecent</source>
        <translation>&amp;Vider la liste</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>&amp;Contrôle</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>DeepZoom</source>
        <translation>Zoom pro&amp;fond</translation>
    </message>
    <message>
        <source>DragPicture</source>
        <translation>Faites glisser d’ici pour emporter l’image en fichier PNG (Maj : demi-taille)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>Export_No_Memory</source>
        <translation>La mémoire est insuffisante pour une image de %1 × %2 pixels.</translation>
    </message>
    <message>
        <source>ExportMovie</source>
        <translation>Exporter un &amp;film…</translation>
    </message>
    <message>
        <source>File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>FileType</source>
        <translation>Type de fichier :</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>&amp;Suivant</translation>
    </message>
    <message>
        <source>FullScreen</source>
        <translation>&amp;Plein écran</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>&amp;Galerie</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>HistoryMode</source>
        <translation>Mode &amp;historique</translation>
    </message>
    <message>
        <source>InitialCoordinates</source>
        <translation>Coordonnées &amp;initiales</translation>
    </message>
    <message>
        <source>Iteration</source>
        <translation>I&amp;térations</translation>
    </message>
    <message>
        <source>Log_Not_Written</source>
        <translation>Le journal de l’historique « %1 » n’a pas pu être écrit : %2. Tant que cela dure, les vues que vous quittez ne sont pas journalisées ; ce message n’apparaît qu’une fois par exécution.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>&amp;Manuel</translation>
    </message>
    <message>
        <source>MDL</source>
        <translation>Fichier de paramètres (mdl)</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>&amp;Réduire</translation>
    </message>
    <message>
        <source>Movie_Choose</source>
        <translation>Choisir…</translation>
    </message>
    <message>
        <source>Movie_Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Movie_Failed</source>
        <translation>La vidéo n’a pas pu être créée : %1.</translation>
    </message>
    <message>
        <source>Movie_Filter</source>
        <translation>Vidéos (*.mp4 *.webm);;Dossiers (*)</translation>
    </message>
    <message>
        <source>Movie_Frames</source>
        <translation>Images :</translation>
    </message>
    <message>
        <source>Movie_From</source>
        <translation>Depuis :</translation>
    </message>
    <message>
        <source>Movie_Hint</source>
        <translation>Le film zoome jusqu’à la vue actuelle. Un dossier reçoit un fichier PNG par image, et les images qui s’y trouvent déjà sont gardées ; un nom finissant par .mp4 ou .webm donne une vidéo à 30 images par seconde.</translation>
    </message>
    <message>
        <source>Movie_Oldest</source>
        <translation>La vue la plus ancienne de l’historique</translation>
    </message>
    <message>
        <source>Movie_Output</source>
        <translation>Enregistrer dans :</translation>
    </message>
    <message>
        <source>Movie_Size</source>
        <translation>Taille :</translation>
    </message>
    <message>
        <source>Movie_Start</source>
        <translation>La vue de départ</translation>
    </message>
    <message>
        <source>Name_Not_UTF8</source>
        <translation>Le nom « %1 » contient des octets qui ne sont pas en UTF-8, et ce panneau ne peut pas les afficher. Ouvrez plutôt le fichier depuis la ligne de commande ou déposez-le sur l’image.</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>&amp;Suite</translation>
    </message>
    <message>
        <source>Not_Regular_File</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Not_Saved</source>
        <translation>« %1 » n’a pas pu être enregistré : %2.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>&amp;Ouvrir…</translation>
    </message>
    <message>
        <source>OpenRecent</source>
        <translation>&amp;Récemment ouverts</translation>
    </message>
    <message>
        <source>QuitApp</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>ReDrawing</source>
        <translation>&amp;Redessiner</translation>
    </message>
    <message>
        <source>Refer_URL</source>
        <translation>Le manuel de ce programme se trouve à l’adresse
%1</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Replace_File</source>
        <translation>« %1 » existe déjà. Voulez-vous le remplacer ?</translation>
    </message>
    <message>
        <source>ResultOfBenchmark</source>
        <translation>Résultat du banc d’essai</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Lancer</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>&amp;Enregistrer sous…</translation>
    </message>
    <message>
        <source>Sequence</source>
        <translation>Séquence &amp;%1</translation>
    </message>
    <message>
        <source>The picture is too large: its render may have at most 268435456 pixels.</source>
        <translation>L’image est trop grande : son calcul peut compter au plus 268435456 pixels.</translation>
    </message>
    <message>
        <source>The width and the height may be at most 32768 pixels.</source>
        <translation>La largeur et la hauteur ne peuvent dépasser 32768 pixels.</translation>
    </message>
    <message>
        <source>The width and the height must be positive whole numbers.</source>
        <translation>La largeur et la hauteur doivent être des nombres entiers positifs.</translation>
    </message>
    <message>
        <source>Too_Large</source>
        <translation>il dépasse 256 Mo</translation>
    </message>
    <message>
        <source>Took_seconds</source>
        <translation>Le banc d’essai a duré %1 secondes.</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fe&amp;nêtre</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>&amp;Maximiser</translation>
    </message>
    <message>
        <source>ZoomIn</source>
        <translation>Zoom &amp;avant ×%1</translation>
    </message>
    <message>
        <source>ZoomOut</source>
        <translation>&amp;Zoom arrière ×%1</translation>
    </message>
</context>
</TS>
