<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>No terminal was found: set the TERMINAL environment variable to one.</source>
        <translation>Es wurde kein Terminal gefunden: Legen Sie eines in der Umgebungsvariablen TERMINAL fest.</translation>
    </message>
    <message>
        <source>%1 could not be started.</source>
        <translation>%1 konnte nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>TMAgeStepText</name>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>This week</source>
        <translation>Diese Woche</translation>
    </message>
    <message>
        <source>This month</source>
        <translation>Dieser Monat</translation>
    </message>
    <message>
        <source>Six months</source>
        <translation>Sechs Monate</translation>
    </message>
    <message>
        <source>This year</source>
        <translation>Dieses Jahr</translation>
    </message>
    <message>
        <source>Two years</source>
        <translation>Zwei Jahre</translation>
    </message>
    <message>
        <source>Five years</source>
        <translation>Fünf Jahre</translation>
    </message>
    <message>
        <source>Older</source>
        <translation>Älter</translation>
    </message>
    <message>
        <source>No date</source>
        <translation>Kein Datum</translation>
    </message>
</context>
<context>
    <name>TMCoreText</name>
    <message>
        <source>Free space</source>
        <translation>Freier Speicher</translation>
    </message>
    <message>
        <source>Unscanned space</source>
        <translation>Nicht gescannter Platz</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>Drop a folder here
or choose File ▸ Open…</source>
        <translation>Einen Ordner hierher ziehen
oder Datei ▸ Öffnen … wählen</translation>
    </message>
</context>
<context>
    <name>TMFileCategoryText</name>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>Archives and packages</source>
        <translation>Archive und Pakete</translation>
    </message>
    <message>
        <source>Source code</source>
        <translation>Quelltext</translation>
    </message>
    <message>
        <source>Programs and libraries</source>
        <translation>Programme und Bibliotheken</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
</context>
<context>
    <name>TMMapAccessibleText</name>
    <message>
        <source>in %1</source>
        <translation>in %1</translation>
    </message>
    <message>
        <source>%1, in %2</source>
        <translation>%1, in %2</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Treemap of %1: each file a rectangle as large as its size</source>
        <translation>Treemap von %1: jede Datei ein Rechteck, dessen Fläche ihrer Größe entspricht</translation>
    </message>
</context>
<context>
    <name>TMRowTexts</name>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
</context>
<context>
    <name>TMSavedScanFilters</name>
    <message>
        <source>Saved scans (*.json *.json.zst *.json.gz *.zst *.gz *.ncdu)</source>
        <translation>Gespeicherte Scans (*.json *.json.zst *.json.gz *.zst *.gz *.ncdu)</translation>
    </message>
</context>
<context>
    <name>TMStatusText</name>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln Datei</numerusform>
            <numerusform>%Ln Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s)</source>
        <translation>
            <numerusform>%Ln Ordner</numerusform>
            <numerusform>%Ln Ordner</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s) could not be read</source>
        <translation>
            <numerusform>%Ln Ordner konnte nicht gelesen werden</numerusform>
            <numerusform>%Ln Ordner konnten nicht gelesen werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries</source>
        <translation>
            <numerusform>%Ln Eintrag</numerusform>
            <numerusform>%Ln Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>“%1”: %2 (%3 bytes)</source>
        <translation>„%1“: %2 (%3 Bytes)</translation>
    </message>
    <message>
        <source>, %1 % of the total</source>
        <translation>, %1 % des Ganzen</translation>
    </message>
    <message>
        <source>at an unknown date</source>
        <translation>zu einem unbekannten Zeitpunkt</translation>
    </message>
    <message>
        <source>%1 (%2 bytes) in %3, imported: scanned %4</source>
        <translation>%1 (%2 Bytes) in %3, importiert: gescannt %4</translation>
    </message>
    <message>
        <source>Scanning… %1, %2, %3 s</source>
        <translation>Scannen … %1, %2, %3 s</translation>
    </message>
    <message>
        <source>%1 (%2 bytes) in %3, scanned in %4 s</source>
        <translation>%1 (%2 Bytes) in %3, gescannt in %4 s</translation>
    </message>
    <message>
        <source> — volume: %1 used, %2 free, %3 not reached</source>
        <translation> — Datenträger: %1 belegt, %2 frei, %3 nicht erreicht</translation>
    </message>
    <message numerus="yes">
        <source>Stopped: %Ln folder(s) not scanned — </source>
        <translation>
            <numerusform>Angehalten: %Ln Ordner nicht durchsucht — </numerusform>
            <numerusform>Angehalten: %Ln Ordner nicht durchsucht — </numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2 bytes, partial) in %3, stopped after %4 s</source>
        <translation>%1 (%2 Bytes, unvollständig) in %3, angehalten nach %4 s</translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <comment>after in</comment>
        <translation>
            <numerusform>%Ln Datei</numerusform>
            <numerusform>%Ln Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s)</source>
        <comment>after in</comment>
        <translation>
            <numerusform>%Ln Ordner</numerusform>
            <numerusform>%Ln Ordnern</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln excluded</source>
        <translation>
            <numerusform>%Ln ausgeschlossen</numerusform>
            <numerusform>%Ln ausgeschlossen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s) without a length: their size on disk stands in</source>
        <translation>
            <numerusform>%Ln Datei ohne Länge: ihre belegte Größe steht dafür</numerusform>
            <numerusform>%Ln Dateien ohne Länge: ihre belegte Größe steht dafür</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s) without a size on disk: their length stands in</source>
        <translation>
            <numerusform>%Ln Datei ohne belegte Größe: ihre Länge steht dafür</numerusform>
            <numerusform>%Ln Dateien ohne belegte Größe: ihre Länge steht dafür</numerusform>
        </translation>
    </message>
    <message>
        <source>apparent sizes</source>
        <translation>scheinbare Größen</translation>
    </message>
    <message numerus="yes">
        <source>%Ln items selected: %1 (%2 bytes)</source>
        <translation>
            <numerusform>%Ln Element ausgewählt: %1 (%2 Bytes)</numerusform>
            <numerusform>%Ln Elemente ausgewählt: %1 (%2 Bytes)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2 bytes) in %3, scanned as administrator (read-only)</source>
        <translation>%1 (%2 Bytes) in %3, als Administrator gescannt (nur lesbar)</translation>
    </message>
    <message>
        <source>Scanning as administrator… %1, %2, %3 s</source>
        <translation>Scan als Administrator … %1, %2, %3 s</translation>
    </message>
    <message numerus="yes">
        <source>; following changes in %Ln folder(s)</source>
        <translation>
            <numerusform>; Änderungen werden in %Ln Ordner verfolgt</numerusform>
            <numerusform>; Änderungen werden in %Ln Ordnern verfolgt</numerusform>
        </translation>
    </message>
    <message>
        <source>; following changes in %1 of %2 folders (the system&apos;s watches ran out)</source>
        <translation>; Änderungen werden in %1 von %2 Ordnern verfolgt (die Überwachungen des Systems sind erschöpft)</translation>
    </message>
    <message numerus="yes">
        <source>; %Ln folder(s) not read yet (dotted)</source>
        <translation>
            <numerusform>; %Ln Ordner noch nicht gelesen (gepunktet)</numerusform>
            <numerusform>; %Ln Ordner noch nicht gelesen (gepunktet)</numerusform>
        </translation>
    </message>
    <message>
        <source>Reading… %1, %2, %3 s</source>
        <translation>Lesen … %1, %2, %3 s</translation>
    </message>
</context>
<context>
    <name>tilemora::TMChangesModel</name>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Grew</source>
        <translation>Gewachsen</translation>
    </message>
    <message>
        <source>Shrank</source>
        <translation>Geschrumpft</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>Entfernt</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>Unverändert</translation>
    </message>
    <message>
        <source>%1 (no longer there)</source>
        <translation>%1 (nicht mehr vorhanden)</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <source>Was</source>
        <translation>Vorher</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Art</translation>
    </message>
</context>
<context>
    <name>tilemora::TMColoursFeature</name>
    <message>
        <source>Folder &amp;Depth</source>
        <translation>Ordner&amp;tiefe</translation>
    </message>
    <message>
        <source>File &amp;Type</source>
        <translation>&amp;Dateityp</translation>
    </message>
    <message>
        <source>&amp;Age</source>
        <translation>&amp;Alter</translation>
    </message>
    <message>
        <source>&amp;Changes since the Saved Scan</source>
        <translation>Ä&amp;nderungen seit dem gespeicherten Scan</translation>
    </message>
    <message>
        <source>File &amp;Types</source>
        <translation>Datei&amp;typen</translation>
    </message>
    <message>
        <source>The shown folder&apos;s files by type and extension</source>
        <translation>Die Dateien des gezeigten Ordners nach Typ und Endung</translation>
    </message>
    <message>
        <source>&amp;Colour By</source>
        <translation>Fä&amp;rben nach</translation>
    </message>
    <message>
        <source>%1 %2 %</source>
        <translation>%1 %2 %</translation>
    </message>
    <message>
        <source>This scan has no dates</source>
        <translation>Dieser Scan enthält keine Datumsangaben</translation>
    </message>
    <message>
        <source>New: %1</source>
        <translation>Neu: %1</translation>
    </message>
    <message>
        <source>Grew: %1</source>
        <translation>Gewachsen: %1</translation>
    </message>
    <message>
        <source>Shrank: %1</source>
        <translation>Geschrumpft: %1</translation>
    </message>
    <message>
        <source>Unchanged</source>
        <translation>Unverändert</translation>
    </message>
    <message>
        <source>Removed: %1 (no tile)</source>
        <translation>Entfernt: %1 (ohne Kachel)</translation>
    </message>
    <message>
        <source>Stronger: a larger change, up to %1</source>
        <translation>Kräftiger: eine größere Änderung, bis zu %1</translation>
    </message>
</context>
<context>
    <name>tilemora::TMCompareFeature</name>
    <message>
        <source>standard input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message>
        <source>&amp;Save Scan…</source>
        <translation>Scan &amp;speichern …</translation>
    </message>
    <message>
        <source>Writes the shown scan to a file, to compare with or to look at elsewhere</source>
        <translation>Schreibt den gezeigten Scan in eine Datei, zum späteren Vergleich oder zum Ansehen an anderer Stelle</translation>
    </message>
    <message>
        <source>Co&amp;mpare with Saved Scan…</source>
        <translation>Mit gespeichertem Scan &amp;vergleichen …</translation>
    </message>
    <message>
        <source>Colours the map by what changed since a saved scan of the same folder</source>
        <translation>Färbt die Karte danach, was sich seit einem gespeicherten Scan desselben Ordners geändert hat</translation>
    </message>
    <message>
        <source>Compare &amp;With</source>
        <translation>Vergleichen &amp;mit</translation>
    </message>
    <message>
        <source>Unchanged since the saved scan</source>
        <translation>Unverändert seit dem gespeicherten Scan</translation>
    </message>
    <message>
        <source>New since the saved scan</source>
        <translation>Neu seit dem gespeicherten Scan</translation>
    </message>
    <message>
        <source>Was %1, now %2 (%3)</source>
        <translation>Vorher %1, jetzt %2 (%3)</translation>
    </message>
    <message>
        <source>Save Scan</source>
        <translation>Scan speichern</translation>
    </message>
    <message>
        <source>Compressed scans (*.json.zst);;Scans compressed with gzip (*.json.gz);;Uncompressed scans (*.json);;Scans in ncdu&apos;s binary format, read a folder at a time (*.ncdu)</source>
        <translation>Komprimierte Scans (*.json.zst);;Mit gzip komprimierte Scans (*.json.gz);;Unkomprimierte Scans (*.json);;Scans im Binärformat von ncdu, ordnerweise gelesen (*.ncdu)</translation>
    </message>
    <message>
        <source>Saving the scan to %1…</source>
        <translation>Der Scan wird in %1 gespeichert …</translation>
    </message>
    <message>
        <source>Saved the scan to %1</source>
        <translation>Der Scan wurde in %1 gespeichert</translation>
    </message>
    <message>
        <source>Cannot save the scan to %1: %2</source>
        <translation>Der Scan kann nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>The scan is not kept in the history: %1</source>
        <translation>Der Scan wird nicht im Verlauf aufbewahrt: %1</translation>
    </message>
    <message>
        <source>Compare with Saved Scan</source>
        <translation>Mit gespeichertem Scan vergleichen</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>%1 wird gelesen …</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>No earlier scans of this folder</source>
        <translation>Keine früheren Scans dieses Ordners</translation>
    </message>
    <message>
        <source>No history: keep one in the Preferences</source>
        <translation>Kein Verlauf: in den Einstellungen einschalten</translation>
    </message>
    <message>
        <source>%1 since %2</source>
        <translation>%1 seit %2</translation>
    </message>
    <message>
        <source>%1 since the saved scan</source>
        <translation>%1 seit dem gespeicherten Scan</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFileList</name>
    <message>
        <source>Items</source>
        <translation>Elemente</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFileListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Anteil</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFileTypesWindow</name>
    <message>
        <source>File Types</source>
        <translation>Dateitypen</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Anteil</translation>
    </message>
    <message>
        <source>Files in “%1”</source>
        <translation>Dateien in „%1“</translation>
    </message>
    <message>
        <source>(no extension)</source>
        <translation>(keine Endung)</translation>
    </message>
    <message>
        <source>Counting the files in “%1”… %2 %</source>
        <translation>Dateien in „%1“ werden gezählt… %2 %</translation>
    </message>
</context>
<context>
    <name>tilemora::TMFindBar</name>
    <message>
        <source>Find a name (* and ? for any characters)</source>
        <translation>Einen Namen suchen (* und ? für beliebige Zeichen)</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Vorheriger Treffer (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Next match (Enter, F3)</source>
        <translation>Nächster Treffer (Eingabe, F3)</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Invalid pattern: %1</source>
        <translation>Ungültiges Muster: %1</translation>
    </message>
    <message numerus="yes">
        <source>%Ln match(es), %1</source>
        <translation>
            <numerusform>%Ln Treffer, %1</numerusform>
            <numerusform>%Ln Treffer, %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Previous match</source>
        <translation>Vorheriger Treffer</translation>
    </message>
    <message>
        <source>Next match</source>
        <translation>Nächster Treffer</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Regulärer Ausdruck</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Suche läuft…</translation>
    </message>
    <message numerus="yes">
        <source>; the pattern was too costly for %Ln name(s), counted as not matching</source>
        <translation>
            <numerusform>; das Muster war für %Ln Namen zu aufwendig, als kein Treffer gezählt</numerusform>
            <numerusform>; das Muster war für %Ln Namen zu aufwendig, als keine Treffer gezählt</numerusform>
        </translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message numerus="yes">
        <source>%Ln match(es) in the saved scan, %1 of them read: %2</source>
        <translation>
            <numerusform>%Ln Treffer im gespeicherten Scan, davon %1 gelesen: %2</numerusform>
            <numerusform>%Ln Treffer im gespeicherten Scan, davon %1 gelesen: %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tilemora::TMFindFeature</name>
    <message>
        <source>&amp;Find…</source>
        <translation>&amp;Suchen …</translation>
    </message>
</context>
<context>
    <name>tilemora::TMLargestFilesModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Anteil</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
</context>
<context>
    <name>tilemora::TMListFeature</name>
    <message>
        <source>Show &amp;List</source>
        <translation>&amp;Liste zeigen</translation>
    </message>
    <message>
        <source>Lar&amp;gest Files</source>
        <translation>Größte Date&amp;ien</translation>
    </message>
    <message>
        <source>The largest files anywhere in the shown folder, in the list</source>
        <translation>Die größten Dateien irgendwo im gezeigten Ordner, in der Liste</translation>
    </message>
    <message>
        <source>C&amp;hanges</source>
        <translation>Ä&amp;nderungen</translation>
    </message>
    <message>
        <source>The largest changes since the saved scan, in the list</source>
        <translation>Die größten Änderungen seit dem gespeicherten Scan, in der Liste</translation>
    </message>
</context>
<context>
    <name>tilemora::TMMainWindow</name>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Neues Fenster</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen …</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>&amp;Import Scan…</source>
        <translation>Scan &amp;importieren …</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Preferences…</source>
        <translation>&amp;Einstellungen …</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Tilemora</source>
        <translation>&amp;Über Tilemora</translation>
    </message>
    <message>
        <source>“%1” was moved to the trash.</source>
        <translation>„%1“ wurde in den Papierkorb verschoben.</translation>
    </message>
    <message>
        <source>No Recent Folders</source>
        <translation>Keine zuletzt geöffneten Ordner</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Import Scan</source>
        <translation>Scan importieren</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message numerus="yes">
        <source>%n saved scan(s)</source>
        <translation>
            <numerusform>%n gespeicherter Scan</numerusform>
            <numerusform>%n gespeicherte Scans</numerusform>
        </translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>%1 wird gelesen …</translation>
    </message>
    <message>
        <source>Cannot import %1: %2</source>
        <translation>%1 kann nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>imported</source>
        <translation>importiert</translation>
    </message>
    <message>
        <source>Click for the whole list.</source>
        <translation>Für die ganze Liste klicken.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Waiting for the work on this scan to stop…</source>
        <translation>Es wird gewartet, bis die Arbeit an diesem Scan endet …</translation>
    </message>
    <message>
        <source>More menus</source>
        <translation>Weitere Menüs</translation>
    </message>
    <message>
        <source>Scan as A&amp;dministrator…</source>
        <translation>Als A&amp;dministrator scannen …</translation>
    </message>
    <message>
        <source>Scan as Administrator</source>
        <translation>Als Administrator scannen</translation>
    </message>
    <message>
        <source>Cannot scan %1 as administrator: %2</source>
        <translation>%1 kann nicht als Administrator gescannt werden: %2</translation>
    </message>
    <message>
        <source>tilemora-scan is not installed beside tilemora</source>
        <translation>tilemora-scan ist nicht neben tilemora installiert</translation>
    </message>
    <message>
        <source>Scan as &amp;Administrator…</source>
        <translation>Als &amp;Administrator scannen …</translation>
    </message>
</context>
<context>
    <name>tilemora::TMMapCommands</name>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Narrow</source>
        <translation>&amp;Hineingehen</translation>
    </message>
    <message>
        <source>Go &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Reveal in File Manager</source>
        <translation>In der &amp;Dateiverwaltung zeigen</translation>
    </message>
    <message>
        <source>Move to &amp;Trash</source>
        <translation>In den &amp;Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Select &amp;First Item</source>
        <translation>&amp;Erstes Element auswählen</translation>
    </message>
    <message>
        <source>R&amp;escan</source>
        <translation>&amp;Erneut scannen</translation>
    </message>
    <message>
        <source>Show Free &amp;Space</source>
        <translation>&amp;Freien Speicher zeigen</translation>
    </message>
    <message>
        <source>A volume&apos;s free space and the space the scan did not reach, beside its folder</source>
        <translation>Den freien Speicher eines Datenträgers und den Platz, den der Scan nicht erreicht hat, neben seinem Ordner</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Weitere Befehle</translation>
    </message>
    <message>
        <source>On &amp;Disk</source>
        <translation>Auf dem &amp;Datenträger</translation>
    </message>
    <message>
        <source>&amp;Apparent</source>
        <translation>&amp;Scheinbar</translation>
    </message>
    <message>
        <source>The space files take on disk, in whole blocks</source>
        <translation>Der Platz, den Dateien auf dem Datenträger belegen, in ganzen Blöcken</translation>
    </message>
    <message>
        <source>The files&apos; length: what they hold, sparse files at their full length</source>
        <translation>Die Länge der Dateien: was sie enthalten, Dateien mit Lücken in voller Länge</translation>
    </message>
    <message>
        <source>Si&amp;ze</source>
        <translation>Größen&amp;maß</translation>
    </message>
    <message>
        <source>Scanned as administrator: its items are not moved from here</source>
        <translation>Als Administrator gescannt: Seine Objekte werden nicht von hier aus verschoben</translation>
    </message>
    <message>
        <source>Follo&amp;w Changes</source>
        <translation>Änderungen &amp;verfolgen</translation>
    </message>
    <message>
        <source>Keeps the map of a finished scan true while files change on disk</source>
        <translation>Hält die Karte eines fertigen Scans aktuell, während sich Dateien auf der Festplatte ändern</translation>
    </message>
</context>
<context>
    <name>tilemora::TMMapPane</name>
    <message>
        <source>“%1” cannot be shown in a file manager.</source>
        <translation>„%1“ kann nicht in einer Dateiverwaltung gezeigt werden.</translation>
    </message>
    <message>
        <source>No file manager answered, and no application opens its folder.</source>
        <translation>Keine Dateiverwaltung hat geantwortet, und keine Anwendung öffnet den Ordner.</translation>
    </message>
    <message>
        <source>“%1” could not be moved to the trash.</source>
        <translation>„%1“ konnte nicht in den Papierkorb verschoben werden.</translation>
    </message>
</context>
<context>
    <name>tilemora::TMPathBar</name>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
</context>
<context>
    <name>tilemora::TMPreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>1 KB = 1,024 bytes: KB, MB, GB</source>
        <translation>1 KB = 1.024 Bytes: KB, MB, GB</translation>
    </message>
    <message>
        <source>1 KiB = 1,024 bytes: KiB, MiB, GiB</source>
        <translation>1 KiB = 1.024 Bytes: KiB, MiB, GiB</translation>
    </message>
    <message>
        <source>1 kB = 1,000 bytes: kB, MB, GB</source>
        <translation>1 kB = 1.000 Bytes: kB, MB, GB</translation>
    </message>
    <message>
        <source>Counted at every link</source>
        <translation>Bei jeder Verknüpfung gezählt</translation>
    </message>
    <message>
        <source>Counted once, as du counts them</source>
        <translation>Einmal gezählt, wie du sie zählt</translation>
    </message>
    <message>
        <source>Skipped</source>
        <translation>Übersprungen</translation>
    </message>
    <message>
        <source>Scanned too</source>
        <translation>Mitgescannt</translation>
    </message>
    <message>
        <source>One per processor</source>
        <translation>Einer pro Prozessor</translation>
    </message>
    <message>
        <source>More threads scan a fast disk sooner; the map is the same. One may suit a spinning disk better.</source>
        <translation>Mehr Threads scannen eine schnelle Platte früher; die Karte bleibt gleich. Für eine Festplatte mit drehenden Scheiben kann einer besser sein.</translation>
    </message>
    <message>
        <source>Ask before moving an item to the trash</source>
        <translation>Vor dem Verschieben in den Papierkorb nachfragen</translation>
    </message>
    <message>
        <source>The scanned folder itself is always asked about.</source>
        <translation>Beim gescannten Ordner selbst wird immer nachgefragt.</translation>
    </message>
    <message>
        <source>Keep every completed scan to compare with later</source>
        <translation>Jeden vollständigen Scan zum späteren Vergleich aufbewahren</translation>
    </message>
    <message>
        <source>The last %1 scans of each folder, at most 1 GB in all, readable by you alone, in %2</source>
        <translation>Die letzten %1 Scans jedes Ordners, insgesamt höchstens 1 GB, nur für Sie lesbar, in %2</translation>
    </message>
    <message>
        <source>&amp;Sizes:</source>
        <translation>&amp;Größen:</translation>
    </message>
    <message>
        <source>&amp;Hard-linked files:</source>
        <translation>&amp;Harte Verknüpfungen:</translation>
    </message>
    <message>
        <source>&amp;Folders mounted inside:</source>
        <translation>&amp;Darin eingehängte Ordner:</translation>
    </message>
    <message>
        <source>Scan &amp;threads:</source>
        <translation>Scan-&amp;Threads:</translation>
    </message>
    <message>
        <source>Trash:</source>
        <translation>Papierkorb:</translation>
    </message>
    <message>
        <source>History:</source>
        <translation>Verlauf:</translation>
    </message>
    <message>
        <source>One pattern a line: *.o, node_modules, /build, src/*/cache</source>
        <translation>Ein Muster je Zeile: *.o, node_modules, /build, src/*/cache</translation>
    </message>
    <message>
        <source>Shell patterns. One without a “/” is matched against every name; one with a “/” against the path below the scanned folder. What they match is neither scanned nor counted.</source>
        <translation>Shell-Muster. Eines ohne „/“ wird mit jedem Namen verglichen, eines mit „/“ mit dem Pfad unterhalb des gescannten Ordners. Was sie treffen, wird weder gescannt noch gezählt.</translation>
    </message>
    <message>
        <source>Skip folders tagged as caches (CACHEDIR.TAG)</source>
        <translation>Als Cache markierte Ordner überspringen (CACHEDIR.TAG)</translation>
    </message>
    <message>
        <source>Skip other file systems’ virtual folders (/proc, /sys, /dev)</source>
        <translation>Virtuelle Ordner anderer Dateisysteme überspringen (/proc, /sys, /dev)</translation>
    </message>
    <message>
        <source>They are met only when folders mounted inside are scanned too.</source>
        <translation>Sie kommen nur vor, wenn darin eingehängte Ordner mitgescannt werden.</translation>
    </message>
    <message>
        <source>&amp;Exclude:</source>
        <translation>&amp;Ausschließen:</translation>
    </message>
    <message>
        <source>Line %1, “%2”: %3</source>
        <translation>Zeile %1, „%2“: %3</translation>
    </message>
</context>
<context>
    <name>tilemora::TMSelectionCommands</name>
    <message>
        <source>Open &amp;Item</source>
        <translation>Element ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open Ter&amp;minal Here</source>
        <translation>&amp;Terminal hier öffnen</translation>
    </message>
    <message>
        <source>Open Terminal Here</source>
        <translation>Terminal hier öffnen</translation>
    </message>
    <message>
        <source>&amp;Copy Path</source>
        <translation>Pfad &amp;kopieren</translation>
    </message>
    <message>
        <source>Scanned as administrator: no terminal is opened in what you may not read</source>
        <translation>Als Administrator gescannt: Kein Terminal wird dort geöffnet, wo Sie nicht lesen dürfen</translation>
    </message>
</context>
<context>
    <name>tilemora::TMStartPage</name>
    <message>
        <source>Place</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Used</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Places to scan</source>
        <translation>Orte zum Scannen</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Disks</source>
        <translation>Datenträger</translation>
    </message>
    <message>
        <source>%1 (%2 %)</source>
        <translation>%1 (%2 %)</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>Recent folders</source>
        <translation>Zuletzt geöffnete Ordner</translation>
    </message>
</context>
<context>
    <name>tilemora::TMTrashQuestionBox</name>
    <message>
        <source>Move “%1” (%2) to the trash?</source>
        <translation>„%1“ (%2) in den Papierkorb verschieben?</translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln Datei</numerusform>
            <numerusform>%Ln Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Move “%1” (%2, %3) to the trash?</source>
        <translation>„%1“ (%2, %3) in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <source>This is the whole scanned folder. You can restore it from the trash.</source>
        <translation>Das ist der ganze gescannte Ordner. Sie können ihn aus dem Papierkorb wiederherstellen.</translation>
    </message>
    <message>
        <source>You can restore it from the trash.</source>
        <translation>Sie können es aus dem Papierkorb wiederherstellen.</translation>
    </message>
    <message>
        <source>&amp;Move to Trash</source>
        <translation>In den &amp;Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Nicht mehr nachfragen</translation>
    </message>
    <message numerus="yes">
        <source>Move %Ln items (%1, %2) to the trash?</source>
        <translation>
            <numerusform>%Ln Element (%1, %2) in den Papierkorb verschieben?</numerusform>
            <numerusform>%Ln Elemente (%1, %2) in den Papierkorb verschieben?</numerusform>
        </translation>
    </message>
    <message>
        <source>You can restore them from the trash.</source>
        <translation>Sie können sie aus dem Papierkorb wiederherstellen.</translation>
    </message>
</context>
<context>
    <name>tilemora::TMTreeMapWidget</name>
    <message>
        <source>Could not be read: %1</source>
        <translation>Konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Holds folders that could not be read</source>
        <translation>Enthält Ordner, die nicht gelesen werden konnten</translation>
    </message>
    <message>
        <source>Not scanned to the end: the scan was stopped</source>
        <translation>Nicht zu Ende durchsucht: die Suche wurde angehalten</translation>
    </message>
</context>
<context>
    <name>tilemora::TMUnreadableFoldersDialog</name>
    <message>
        <source>Folders That Could Not Be Read</source>
        <translation>Ordner, die nicht gelesen werden konnten</translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s) could not be read; they count as empty:</source>
        <translation>
            <numerusform>%Ln Ordner konnte nicht gelesen werden; er zählt als leer:</numerusform>
            <numerusform>%Ln Ordner konnten nicht gelesen werden; sie zählen als leer:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>Scan as &amp;Administrator…</source>
        <translation>Als &amp;Administrator scannen …</translation>
    </message>
</context>
<context>
    <name>tilemora::TilemoraAppDelegate</name>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>About Tilemora</source>
        <translation>Über Tilemora</translation>
    </message>
    <message>
        <source>Shows how the space of a folder or a disk is used, as a treemap.</source>
        <translation>Zeigt als Treemap, wie der Platz eines Ordners oder einer Platte belegt ist.</translation>
    </message>
</context>
</TS>
