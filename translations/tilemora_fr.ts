<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>QObject</name>
    <message>
        <source>No terminal was found: set the TERMINAL environment variable to one.</source>
        <translation>Aucun terminal n&apos;a été trouvé : indiquez-en un dans la variable d&apos;environnement TERMINAL.</translation>
    </message>
    <message>
        <source>%1 could not be started.</source>
        <translation>%1 n&apos;a pas pu être lancé.</translation>
    </message>
</context>
<context>
    <name>TMAgeStepText</name>
    <message>
        <source>Today</source>
        <translation>Aujourd&apos;hui</translation>
    </message>
    <message>
        <source>This week</source>
        <translation>Cette semaine</translation>
    </message>
    <message>
        <source>This month</source>
        <translation>Ce mois-ci</translation>
    </message>
    <message>
        <source>Six months</source>
        <translation>Six mois</translation>
    </message>
    <message>
        <source>This year</source>
        <translation>Cette année</translation>
    </message>
    <message>
        <source>Two years</source>
        <translation>Deux ans</translation>
    </message>
    <message>
        <source>Five years</source>
        <translation>Cinq ans</translation>
    </message>
    <message>
        <source>Older</source>
        <translation>Plus ancien</translation>
    </message>
    <message>
        <source>No date</source>
        <translation>Sans date</translation>
    </message>
</context>
<context>
    <name>TMCoreText</name>
    <message>
        <source>Free space</source>
        <translation>Espace libre</translation>
    </message>
    <message>
        <source>Unscanned space</source>
        <translation>Espace non analysé</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>octets</translation>
    </message>
    <message>
        <source>B</source>
        <translation>o</translation>
    </message>
    <message>
        <source>Drop a folder here
or choose File ▸ Open…</source>
        <translation>Déposez un dossier ici
ou choisissez Fichier ▸ Ouvrir…</translation>
    </message>
</context>
<context>
    <name>TMFileCategoryText</name>
    <message>
        <source>Images</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Vidéo</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Documents</translation>
    </message>
    <message>
        <source>Archives and packages</source>
        <translation>Archives et paquets</translation>
    </message>
    <message>
        <source>Source code</source>
        <translation>Code source</translation>
    </message>
    <message>
        <source>Programs and libraries</source>
        <translation>Programmes et bibliothèques</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autres</translation>
    </message>
</context>
<context>
    <name>TMMapAccessibleText</name>
    <message>
        <source>in %1</source>
        <translation>dans %1</translation>
    </message>
    <message>
        <source>%1, in %2</source>
        <translation>%1, dans %2</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>Treemap of %1: each file a rectangle as large as its size</source>
        <translation>Carte proportionnelle de %1 : chaque fichier est un rectangle dont l&apos;aire est sa taille</translation>
    </message>
</context>
<context>
    <name>TMRowTexts</name>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
</context>
<context>
    <name>TMSavedScanFilters</name>
    <message>
        <source>Saved scans (*.json *.json.zst *.json.gz *.zst *.gz *.ncdu)</source>
        <translation>Analyses enregistrées (*.json *.json.zst *.json.gz *.zst *.gz *.ncdu)</translation>
    </message>
</context>
<context>
    <name>TMStatusText</name>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln fichier</numerusform>
            <numerusform>%Ln fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s)</source>
        <translation>
            <numerusform>%Ln dossier</numerusform>
            <numerusform>%Ln dossiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s) could not be read</source>
        <translation>
            <numerusform>%Ln dossier n&apos;a pas pu être lu</numerusform>
            <numerusform>%Ln dossiers n&apos;ont pas pu être lus</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries</source>
        <translation>
            <numerusform>%Ln entrée</numerusform>
            <numerusform>%Ln entrées</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 et %2</translation>
    </message>
    <message>
        <source>“%1”: %2 (%3 bytes)</source>
        <translation>« %1 » : %2 (%3 octets)</translation>
    </message>
    <message>
        <source>, %1 % of the total</source>
        <translation>, %1 % du total</translation>
    </message>
    <message>
        <source>at an unknown date</source>
        <translation>à une date inconnue</translation>
    </message>
    <message>
        <source>%1 (%2 bytes) in %3, imported: scanned %4</source>
        <translation>%1 (%2 octets) dans %3, importé : analysé %4</translation>
    </message>
    <message>
        <source>Scanning… %1, %2, %3 s</source>
        <translation>Analyse… %1, %2, %3 s</translation>
    </message>
    <message>
        <source>%1 (%2 bytes) in %3, scanned in %4 s</source>
        <translation>%1 (%2 octets) dans %3, analysé en %4 s</translation>
    </message>
    <message>
        <source> — volume: %1 used, %2 free, %3 not reached</source>
        <translation> — volume : %1 utilisés, %2 libres, %3 non atteints</translation>
    </message>
    <message numerus="yes">
        <source>Stopped: %Ln folder(s) not scanned — </source>
        <translation>
            <numerusform>Arrêté : %Ln dossier non analysé — </numerusform>
            <numerusform>Arrêté : %Ln dossiers non analysés — </numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2 bytes, partial) in %3, stopped after %4 s</source>
        <translation>%1 (%2 octets, partiel) dans %3, arrêté après %4 s</translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <comment>after in</comment>
        <translation>
            <numerusform>%Ln fichier</numerusform>
            <numerusform>%Ln fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s)</source>
        <comment>after in</comment>
        <translation>
            <numerusform>%Ln dossier</numerusform>
            <numerusform>%Ln dossiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln excluded</source>
        <translation>
            <numerusform>%Ln exclu</numerusform>
            <numerusform>%Ln exclus</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s) without a length: their size on disk stands in</source>
        <translation>
            <numerusform>%Ln fichier sans longueur : sa taille sur le disque la remplace</numerusform>
            <numerusform>%Ln fichiers sans longueur : leur taille sur le disque la remplace</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s) without a size on disk: their length stands in</source>
        <translation>
            <numerusform>%Ln fichier sans taille sur le disque : sa longueur la remplace</numerusform>
            <numerusform>%Ln fichiers sans taille sur le disque : leur longueur la remplace</numerusform>
        </translation>
    </message>
    <message>
        <source>apparent sizes</source>
        <translation>tailles apparentes</translation>
    </message>
    <message numerus="yes">
        <source>%Ln items selected: %1 (%2 bytes)</source>
        <translation>
            <numerusform>%Ln élément sélectionné : %1 (%2 octets)</numerusform>
            <numerusform>%Ln éléments sélectionnés : %1 (%2 octets)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2 bytes) in %3, scanned as administrator (read-only)</source>
        <translation>%1 (%2 octets) dans %3, analysé en tant qu’administrateur (lecture seule)</translation>
    </message>
    <message>
        <source>Scanning as administrator… %1, %2, %3 s</source>
        <translation>Analyse en tant qu’administrateur… %1, %2, %3 s</translation>
    </message>
    <message numerus="yes">
        <source>; following changes in %Ln folder(s)</source>
        <translation>
            <numerusform>; modifications suivies dans %Ln dossier</numerusform>
            <numerusform>; modifications suivies dans %Ln dossiers</numerusform>
        </translation>
    </message>
    <message>
        <source>; following changes in %1 of %2 folders (the system&apos;s watches ran out)</source>
        <translation>; modifications suivies dans %1 dossiers sur %2 (les surveillances du système sont épuisées)</translation>
    </message>
    <message numerus="yes">
        <source>; %Ln folder(s) not read yet (dotted)</source>
        <translation>
            <numerusform>; %Ln dossier pas encore lu (en pointillés)</numerusform>
            <numerusform>; %Ln dossiers pas encore lus (en pointillés)</numerusform>
        </translation>
    </message>
    <message>
        <source>Reading… %1, %2, %3 s</source>
        <translation>Lecture… %1, %2, %3 s</translation>
    </message>
</context>
<context>
    <name>tilemora::TMChangesModel</name>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Grew</source>
        <translation>Agrandi</translation>
    </message>
    <message>
        <source>Shrank</source>
        <translation>Réduit</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>Supprimé</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>Inchangé</translation>
    </message>
    <message>
        <source>%1 (no longer there)</source>
        <translation>%1 (n&apos;existe plus)</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Variation</translation>
    </message>
    <message>
        <source>Was</source>
        <translation>Avant</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Maintenant</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Nature</translation>
    </message>
</context>
<context>
    <name>tilemora::TMColoursFeature</name>
    <message>
        <source>Folder &amp;Depth</source>
        <translation>&amp;Profondeur du dossier</translation>
    </message>
    <message>
        <source>File &amp;Type</source>
        <translation>&amp;Type de fichier</translation>
    </message>
    <message>
        <source>&amp;Age</source>
        <translation>Â&amp;ge</translation>
    </message>
    <message>
        <source>&amp;Changes since the Saved Scan</source>
        <translation>&amp;Changements depuis l&apos;analyse enregistrée</translation>
    </message>
    <message>
        <source>File &amp;Types</source>
        <translation>&amp;Types de fichiers</translation>
    </message>
    <message>
        <source>The shown folder&apos;s files by type and extension</source>
        <translation>Les fichiers du dossier affiché par type et par extension</translation>
    </message>
    <message>
        <source>&amp;Colour By</source>
        <translation>&amp;Couleurs selon</translation>
    </message>
    <message>
        <source>%1 %2 %</source>
        <translation>%1 %2 %</translation>
    </message>
    <message>
        <source>This scan has no dates</source>
        <translation>Cette analyse ne contient pas de dates</translation>
    </message>
    <message>
        <source>New: %1</source>
        <translation>Nouveaux : %1</translation>
    </message>
    <message>
        <source>Grew: %1</source>
        <translation>Agrandis : %1</translation>
    </message>
    <message>
        <source>Shrank: %1</source>
        <translation>Réduits : %1</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>Inchangé</translation>
    </message>
    <message>
        <source>Removed: %1 (no tile)</source>
        <translation>Supprimés : %1 (sans tuile)</translation>
    </message>
    <message>
        <source>Stronger: a larger change, up to %1</source>
        <translation>Plus foncé : un plus grand changement, jusqu&apos;à %1</translation>
    </message>
</context>
<context>
    <name>tilemora::TMCompareFeature</name>
    <message>
        <source>standard input</source>
        <translation>entrée standard</translation>
    </message>
    <message>
        <source>&amp;Save Scan…</source>
        <translation>&amp;Enregistrer l&apos;analyse…</translation>
    </message>
    <message>
        <source>Writes the shown scan to a file, to compare with or to look at elsewhere</source>
        <translation>Écrit l&apos;analyse affichée dans un fichier, pour la comparer ou la consulter ailleurs</translation>
    </message>
    <message>
        <source>Co&amp;mpare with Saved Scan…</source>
        <translation>Co&amp;mparer avec une analyse enregistrée…</translation>
    </message>
    <message>
        <source>Colours the map by what changed since a saved scan of the same folder</source>
        <translation>Colore la carte selon ce qui a changé depuis une analyse enregistrée du même dossier</translation>
    </message>
    <message>
        <source>Compare &amp;With</source>
        <translation>Comparer a&amp;vec</translation>
    </message>
    <message>
        <source>Unchanged since the saved scan</source>
        <translation>Inchangé depuis l&apos;analyse enregistrée</translation>
    </message>
    <message>
        <source>New since the saved scan</source>
        <translation>Nouveau depuis l&apos;analyse enregistrée</translation>
    </message>
    <message>
        <source>Was %1, now %2 (%3)</source>
        <translation>Avant %1, maintenant %2 (%3)</translation>
    </message>
    <message>
        <source>Save Scan</source>
        <translation>Enregistrer l&apos;analyse</translation>
    </message>
    <message>
        <source>Compressed scans (*.json.zst);;Scans compressed with gzip (*.json.gz);;Uncompressed scans (*.json);;Scans in ncdu&apos;s binary format, read a folder at a time (*.ncdu)</source>
        <translation>Analyses compressées (*.json.zst);;Analyses compressées avec gzip (*.json.gz);;Analyses non compressées (*.json);;Analyses au format binaire de ncdu, lues dossier par dossier (*.ncdu)</translation>
    </message>
    <message>
        <source>Saving the scan to %1…</source>
        <translation>Enregistrement de l&apos;analyse dans %1…</translation>
    </message>
    <message>
        <source>Saved the scan to %1</source>
        <translation>Analyse enregistrée dans %1</translation>
    </message>
    <message>
        <source>Cannot save the scan to %1: %2</source>
        <translation>Impossible d&apos;enregistrer l&apos;analyse dans %1 : %2</translation>
    </message>
    <message>
        <source>The scan is not kept in the history: %1</source>
        <translation>L&apos;analyse n&apos;est pas conservée dans l&apos;historique : %1</translation>
    </message>
    <message>
        <source>Compare with Saved Scan</source>
        <translation>Comparer avec une analyse enregistrée</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>Lecture de %1…</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>No earlier scans of this folder</source>
        <translation>Aucune analyse antérieure de ce dossier</translation>
    </message>
    <message>
        <source>No history: keep one in the Preferences</source>
        <translation>Pas d&apos;historique : activez-le dans les Préférences</translation>
    </message>
    <message>
        <source>%1 since %2</source>
        <translation>%1 depuis le %2</translation>
    </message>
    <message>
        <source>%1 since the saved scan</source>
        <translation>%1 depuis l&apos;analyse enregistrée</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFileList</name>
    <message>
        <source>Items</source>
        <translation>Éléments</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Colonnes</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Modifié</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFileTypesWindow</name>
    <message>
        <source>File Types</source>
        <translation>Types de fichiers</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>Files in “%1”</source>
        <translation>Fichiers dans « %1 »</translation>
    </message>
    <message>
        <source>(no extension)</source>
        <translation>(sans extension)</translation>
    </message>
    <message>
        <source>Counting the files in “%1”… %2 %</source>
        <translation>Décompte des fichiers dans « %1 »… %2 %</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFindBar</name>
    <message>
        <source>Find a name (* and ? for any characters)</source>
        <translation>Rechercher un nom (* et ? pour n&apos;importe quels caractères)</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Résultat précédent (Maj+F3)</translation>
    </message>
    <message>
        <source>Next match (Enter, F3)</source>
        <translation>Résultat suivant (Entrée, F3)</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Fermer (Échap)</translation>
    </message>
    <message>
        <source>Invalid pattern: %1</source>
        <translation>Motif non valable : %1</translation>
    </message>
    <message numerus="yes">
        <source>%Ln match(es), %1</source>
        <translation>
            <numerusform>%Ln résultat, %1</numerusform>
            <numerusform>%Ln résultats, %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Correspondance précédente</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Correspondance suivante</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Expression régulière</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Recherche…</translation>
    </message>
    <message numerus="yes">
        <source>; the pattern was too costly for %Ln name(s), counted as not matching</source>
        <translation>
            <numerusform>; motif trop coûteux pour %Ln nom, compté comme sans correspondance</numerusform>
            <numerusform>; motif trop coûteux pour %Ln noms, comptés comme sans correspondance</numerusform>
        </translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message numerus="yes">
        <source>%Ln match(es) in the saved scan, %1 of them read: %2</source>
        <translation>
            <numerusform>%Ln résultat dans l’analyse enregistrée, dont %1 lu : %2</numerusform>
            <numerusform>%Ln résultats dans l’analyse enregistrée, dont %1 lus : %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tilemora::TMFindFeature</name>
    <message>
        <source>&amp;Find…</source>
        <translation>&amp;Rechercher…</translation>
    </message>
</context>
<context>
    <name>tilemora::TMLargestFilesModel</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
</context>
<context>
    <name>tilemora::TMListFeature</name>
    <message>
        <source>Show &amp;List</source>
        <translation>Afficher la &amp;liste</translation>
    </message>
    <message>
        <source>Lar&amp;gest Files</source>
        <translation>Plus gros &amp;fichiers</translation>
    </message>
    <message>
        <source>The largest files anywhere in the shown folder, in the list</source>
        <translation>Les plus gros fichiers où qu&apos;ils soient dans le dossier affiché, dans la liste</translation>
    </message>
    <message>
        <source>C&amp;hanges</source>
        <translation>C&amp;hangements</translation>
    </message>
    <message>
        <source>The largest changes since the saved scan, in the list</source>
        <translation>Les plus grands changements depuis l&apos;analyse enregistrée, dans la liste</translation>
    </message>
</context>
<context>
    <name>tilemora::TMMainWindow</name>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Nouvelle fenêtre</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>&amp;Ouvrir…</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>Ouvrir un dossier &amp;récent</translation>
    </message>
    <message>
        <source>&amp;Import Scan…</source>
        <translation>&amp;Importer une analyse…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Preferences…</source>
        <translation>&amp;Préférences…</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>&amp;About Tilemora</source>
        <translation>À &amp;propos de Tilemora</translation>
    </message>
    <message>
        <source>“%1” was moved to the trash.</source>
        <translation>« %1 » a été mis à la corbeille.</translation>
    </message>
    <message>
        <source>No Recent Folders</source>
        <translation>Aucun dossier récent</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Effacer la liste</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir un dossier</translation>
    </message>
    <message>
        <source>Import Scan</source>
        <translation>Importer une analyse</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>entrée standard</translation>
    </message>
    <message numerus="yes">
        <source>%n saved scan(s)</source>
        <translation>
            <numerusform>%n analyse enregistrée</numerusform>
            <numerusform>%n analyses enregistrées</numerusform>
        </translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>Lecture de %1…</translation>
    </message>
    <message>
        <source>Cannot import %1: %2</source>
        <translation>Impossible d&apos;importer %1 : %2</translation>
    </message>
    <message>
        <source>imported</source>
        <translation>importé</translation>
    </message>
    <message>
        <source>Click for the whole list.</source>
        <translation>Cliquez pour la liste complète.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Waiting for the work on this scan to stop…</source>
        <translation>Attente de l’arrêt du travail sur cette analyse…</translation>
    </message>
    <message>
        <source>More menus</source>
        <translation>Autres menus</translation>
    </message>
    <message>
        <source>Scan as A&amp;dministrator…</source>
        <translation>Analyser en tant qu’a&amp;dministrateur…</translation>
    </message>
    <message>
        <source>Scan as Administrator</source>
        <translation>Analyser en tant qu’administrateur</translation>
    </message>
    <message>
        <source>Cannot scan %1 as administrator: %2</source>
        <translation>Impossible d’analyser %1 en tant qu’administrateur : %2</translation>
    </message>
    <message>
        <source>tilemora-scan is not installed beside tilemora</source>
        <translation>tilemora-scan n’est pas installé à côté de tilemora</translation>
    </message>
    <message>
        <source>Scan as &amp;Administrator…</source>
        <translation>Analyser en tant qu’&amp;administrateur…</translation>
    </message>
</context>
<context>
    <name>tilemora::TMMapCommands</name>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;avant</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom a&amp;rrière</translation>
    </message>
    <message>
        <source>&amp;Narrow</source>
        <translation>&amp;Entrer</translation>
    </message>
    <message>
        <source>Go &amp;Up</source>
        <translation>Re&amp;monter</translation>
    </message>
    <message>
        <source>&amp;Reveal in File Manager</source>
        <translation>Afficher dans le &amp;gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>Move to &amp;Trash</source>
        <translation>Mettre à la corbe&amp;ille</translation>
    </message>
    <message>
        <source>Select &amp;First Item</source>
        <translation>Sélectionner le &amp;premier élément</translation>
    </message>
    <message>
        <source>R&amp;escan</source>
        <translation>Ré&amp;analyser</translation>
    </message>
    <message>
        <source>Show Free &amp;Space</source>
        <translation>Afficher l&apos;espace li&amp;bre</translation>
    </message>
    <message>
        <source>A volume&apos;s free space and the space the scan did not reach, beside its folder</source>
        <translation>L&apos;espace libre d&apos;un volume et l&apos;espace que l&apos;analyse n&apos;a pas atteint, à côté de son dossier</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Autres commandes</translation>
    </message>
    <message>
        <source>On &amp;Disk</source>
        <translation>Sur le &amp;disque</translation>
    </message>
    <message>
        <source>&amp;Apparent</source>
        <translation>&amp;Apparente</translation>
    </message>
    <message>
        <source>The space files take on disk, in whole blocks</source>
        <translation>La place que les fichiers occupent sur le disque, en blocs entiers</translation>
    </message>
    <message>
        <source>The files&apos; length: what they hold, sparse files at their full length</source>
        <translation>La longueur des fichiers : ce qu&apos;ils contiennent, les fichiers creux à leur pleine longueur</translation>
    </message>
    <message>
        <source>Si&amp;ze</source>
        <translation>Ta&amp;ille</translation>
    </message>
    <message>
        <source>Scanned as administrator: its items are not moved from here</source>
        <translation>Analysé en tant qu’administrateur : ses éléments ne sont pas déplacés d’ici</translation>
    </message>
    <message>
        <source>Follo&amp;w Changes</source>
        <translation>Sui&amp;vre les modifications</translation>
    </message>
    <message>
        <source>Keeps the map of a finished scan true while files change on disk</source>
        <translation>Garde la carte d’une analyse terminée à jour pendant que les fichiers changent sur le disque</translation>
    </message>
</context>
<context>
    <name>tilemora::TMMapPane</name>
    <message>
        <source>“%1” cannot be shown in a file manager.</source>
        <translation>« %1 » ne peut pas être affiché dans un gestionnaire de fichiers.</translation>
    </message>
    <message>
        <source>No file manager answered, and no application opens its folder.</source>
        <translation>Aucun gestionnaire de fichiers n&apos;a répondu, et aucune application n&apos;ouvre son dossier.</translation>
    </message>
    <message>
        <source>“%1” could not be moved to the trash.</source>
        <translation>« %1 » n&apos;a pas pu être mis à la corbeille.</translation>
    </message>
</context>
<context>
    <name>tilemora::TMPathBar</name>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
</context>
<context>
    <name>tilemora::TMPreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>1 KB = 1,024 bytes: KB, MB, GB</source>
        <translation>1 Ko = 1 024 octets : Ko, Mo, Go</translation>
    </message>
    <message>
        <source>1 KiB = 1,024 bytes: KiB, MiB, GiB</source>
        <translation>1 Kio = 1 024 octets : Kio, Mio, Gio</translation>
    </message>
    <message>
        <source>1 kB = 1,000 bytes: kB, MB, GB</source>
        <translation>1 ko = 1 000 octets : ko, Mo, Go</translation>
    </message>
    <message>
        <source>Counted at every link</source>
        <translation>Comptés à chaque lien</translation>
    </message>
    <message>
        <source>Counted once, as du counts them</source>
        <translation>Comptés une fois, comme du les compte</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>Ignorés</translation>
    </message>
    <message>
        <source>Scanned too</source>
        <translation>Analysés aussi</translation>
    </message>
    <message>
        <source>One per processor</source>
        <translation>Un par processeur</translation>
    </message>
    <message>
        <source>More threads scan a fast disk sooner; the map is the same. One may suit a spinning disk better.</source>
        <translation>Plus de fils d&apos;exécution analysent plus vite un disque rapide ; la carte est la même. Un seul peut mieux convenir à un disque dur à plateaux.</translation>
    </message>
    <message>
        <source>Ask before moving an item to the trash</source>
        <translation>Demander avant de mettre un élément à la corbeille</translation>
    </message>
    <message>
        <source>The scanned folder itself is always asked about.</source>
        <translation>Pour le dossier analysé lui-même, la question est toujours posée.</translation>
    </message>
    <message>
        <source>Keep every completed scan to compare with later</source>
        <translation>Conserver chaque analyse terminée pour la comparer plus tard</translation>
    </message>
    <message>
        <source>The last %1 scans of each folder, at most 1 GB in all, readable by you alone, in %2</source>
        <translation>Les %1 dernières analyses de chaque dossier, 1 Go au plus en tout, lisibles par vous seul, dans %2</translation>
    </message>
    <message>
        <source>&amp;Sizes:</source>
        <translation>&amp;Tailles :</translation>
    </message>
    <message>
        <source>&amp;Hard-linked files:</source>
        <translation>Fichiers à liens &amp;physiques :</translation>
    </message>
    <message>
        <source>&amp;Folders mounted inside:</source>
        <translation>&amp;Dossiers montés à l&apos;intérieur :</translation>
    </message>
    <message>
        <source>Scan &amp;threads:</source>
        <translation>&amp;Fils d&apos;analyse :</translation>
    </message>
    <message>
        <source>Trash:</source>
        <translation>Corbeille :</translation>
    </message>
    <message>
        <source>History:</source>
        <translation>Historique :</translation>
    </message>
    <message>
        <source>One pattern a line: *.o, node_modules, /build, src/*/cache</source>
        <translation>Un motif par ligne : *.o, node_modules, /build, src/*/cache</translation>
    </message>
    <message>
        <source>Shell patterns. One without a “/” is matched against every name; one with a “/” against the path below the scanned folder. What they match is neither scanned nor counted.</source>
        <translation>Motifs du shell. Un motif sans « / » est comparé à chaque nom ; un motif avec « / » au chemin sous le dossier analysé. Ce qu&apos;ils désignent n&apos;est ni analysé ni compté.</translation>
    </message>
    <message>
        <source>Skip folders tagged as caches (CACHEDIR.TAG)</source>
        <translation>Ignorer les dossiers marqués comme caches (CACHEDIR.TAG)</translation>
    </message>
    <message>
        <source>Skip other file systems’ virtual folders (/proc, /sys, /dev)</source>
        <translation>Ignorer les dossiers virtuels des autres systèmes de fichiers (/proc, /sys, /dev)</translation>
    </message>
    <message>
        <source>They are met only when folders mounted inside are scanned too.</source>
        <translation>On ne les rencontre que si les dossiers montés à l&apos;intérieur sont aussi analysés.</translation>
    </message>
    <message>
        <source>&amp;Exclude:</source>
        <translation>&amp;Exclure :</translation>
    </message>
    <message>
        <source>Line %1, “%2”: %3</source>
        <translation>Ligne %1, « %2 » : %3</translation>
    </message>
</context>
<context>
    <name>tilemora::TMSelectionCommands</name>
    <message>
        <source>Open &amp;Item</source>
        <translation>&amp;Ouvrir l&apos;élément</translation>
    </message>
    <message>
        <source>Open Ter&amp;minal Here</source>
        <translation>Ouvrir un &amp;terminal ici</translation>
    </message>
    <message>
        <source>Open Terminal Here</source>
        <translation>Ouvrir un terminal ici</translation>
    </message>
    <message>
        <source>&amp;Copy Path</source>
        <translation>&amp;Copier le chemin</translation>
    </message>
    <message>
        <source>Scanned as administrator: no terminal is opened in what you may not read</source>
        <translation>Analysé en tant qu’administrateur : aucun terminal n’est ouvert là où vous ne pouvez pas lire</translation>
    </message>
</context>
<context>
    <name>tilemora::TMStartPage</name>
    <message>
        <source>Place</source>
        <translation>Emplacement</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Périphérique</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Utilisé</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Places to scan</source>
        <translation>Emplacements à analyser</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Colonnes</translation>
    </message>
    <message>
        <source>Disks</source>
        <translation>Disques</translation>
    </message>
    <message>
        <source>%1 (%2 %)</source>
        <translation>%1 (%2 %)</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Dossier personnel</translation>
    </message>
    <message>
        <source>Recent folders</source>
        <translation>Dossiers récents</translation>
    </message>
</context>
<context>
    <name>tilemora::TMTrashQuestionBox</name>
    <message>
        <source>Move “%1” (%2) to the trash?</source>
        <translation>Mettre « %1 » (%2) à la corbeille ?</translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln fichier</numerusform>
            <numerusform>%Ln fichiers</numerusform>
        </translation>
    </message>
    <message>
        <source>Move “%1” (%2, %3) to the trash?</source>
        <translation>Mettre « %1 » (%2, %3) à la corbeille ?</translation>
    </message>
    <message>
        <source>This is the whole scanned folder. You can restore it from the trash.</source>
        <translation>C&apos;est le dossier analysé tout entier. Vous pouvez le restaurer depuis la corbeille.</translation>
    </message>
    <message>
        <source>You can restore it from the trash.</source>
        <translation>Vous pouvez le restaurer depuis la corbeille.</translation>
    </message>
    <message>
        <source>&amp;Move to Trash</source>
        <translation>&amp;Mettre à la corbeille</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Ne plus demander</translation>
    </message>
    <message numerus="yes">
        <source>Move %Ln items (%1, %2) to the trash?</source>
        <translation>
            <numerusform>Mettre %Ln élément (%1, %2) à la corbeille ?</numerusform>
            <numerusform>Mettre %Ln éléments (%1, %2) à la corbeille ?</numerusform>
        </translation>
    </message>
    <message>
        <source>You can restore them from the trash.</source>
        <translation>Vous pouvez les restaurer depuis la corbeille.</translation>
    </message>
</context>
<context>
    <name>tilemora::TMTreeMapWidget</name>
    <message>
        <source>Could not be read: %1</source>
        <translation>N&apos;a pas pu être lu : %1</translation>
    </message>
    <message>
        <source>Holds folders that could not be read</source>
        <translation>Contient des dossiers qui n&apos;ont pas pu être lus</translation>
    </message>
    <message>
        <source>Not scanned to the end: the scan was stopped</source>
        <translation>Pas analysé jusqu’au bout : l’analyse a été arrêtée</translation>
    </message>
</context>
<context>
    <name>tilemora::TMUnreadableFoldersDialog</name>
    <message>
        <source>Folders That Could Not Be Read</source>
        <translation>Dossiers qui n&apos;ont pas pu être lus</translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s) could not be read; they count as empty:</source>
        <translation>
            <numerusform>%Ln dossier n&apos;a pas pu être lu ; il compte comme vide :</numerusform>
            <numerusform>%Ln dossiers n&apos;ont pas pu être lus ; ils comptent comme vides :</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>Scan as &amp;Administrator…</source>
        <translation>Analyser en tant qu’&amp;administrateur…</translation>
    </message>
</context>
<context>
    <name>tilemora::TilemoraAppDelegate</name>
    <message>
        <source>Open Folder</source>
        <translation>Ouvrir un dossier</translation>
    </message>
    <message>
        <source>About Tilemora</source>
        <translation>À propos de Tilemora</translation>
    </message>
    <message>
        <source>Shows how the space of a folder or a disk is used, as a treemap.</source>
        <translation>Montre comment l&apos;espace d&apos;un dossier ou d&apos;un disque est utilisé, sous forme de carte proportionnelle.</translation>
    </message>
</context>
</TS>
