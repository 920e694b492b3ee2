<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>TMStatusText</name>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln file</numerusform>
            <numerusform>%Ln files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s)</source>
        <translation>
            <numerusform>%Ln folder</numerusform>
            <numerusform>%Ln folders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s) could not be read</source>
        <translation>
            <numerusform>%Ln folder could not be read</numerusform>
            <numerusform>%Ln folders could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries</source>
        <translation>
            <numerusform>%Ln entry</numerusform>
            <numerusform>%Ln entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Stopped: %Ln folder(s) not scanned — </source>
        <translation>
            <numerusform>Stopped: %Ln folder not scanned — </numerusform>
            <numerusform>Stopped: %Ln folders not scanned — </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <comment>after in</comment>
        <translation>
            <numerusform>%Ln file</numerusform>
            <numerusform>%Ln files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln folder(s)</source>
        <comment>after in</comment>
        <translation>
            <numerusform>%Ln folder</numerusform>
            <numerusform>%Ln folders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln excluded</source>
        <translation>
            <numerusform>%Ln excluded</numerusform>
            <numerusform>%Ln excluded</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s) without a length: their size on disk stands in</source>
        <translation>
            <numerusform>%Ln file without a length: their size on disk stands in</numerusform>
            <numerusform>%Ln files without a length: their size on disk stands in</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln file(s) without a size on disk: their length stands in</source>
        <translation>
            <numerusform>%Ln file without a size on disk: their length stands in</numerusform>
            <numerusform>%Ln files without a size on disk: their length stands in</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items selected: %1 (%2 bytes)</source>
        <translation>
            <numerusform>%Ln items selected: %1 (%2 bytes)</numerusform>
            <numerusform>%Ln items selected: %1 (%2 bytes)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; following changes in %Ln folder(s)</source>
        <translation>
            <numerusform>; following changes in %Ln folder</numerusform>
            <numerusform>; following changes in %Ln folders</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; %Ln folder(s) not read yet (dotted)</source>
        <translation>
            <numerusform>; %Ln folder not read yet (dotted)</numerusform>
            <numerusform>; %Ln folders not read yet (dotted)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tilemora::TMFindBar</name>
    <message numerus="yes">
        <source>%Ln match(es), %1</source>
        <translation>
            <numerusform>%Ln match, %1</numerusform>
            <numerusform>%Ln matches, %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>; the pattern was too costly for %Ln name(s), counted as not matching</source>
        <translation>
            <numerusform>; the pattern was too costly for %Ln name, counted as not matching</numerusform>
            <numerusform>; the pattern was too costly for %Ln names, counted as not matching</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln match(es) in the saved scan, %1 of them read: %2</source>
        <translation>
            <numerusform>%Ln match in the saved scan, %1 of them read: %2</numerusform>
            <numerusform>%Ln matches in the saved scan, %1 of them read: %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tilemora::TMMainWindow</name>
    <message numerus="yes">
        <source>%n saved scan(s)</source>
        <translation>
            <numerusform>%n saved scan</numerusform>
            <numerusform>%n saved scans</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tilemora::TMTrashQuestionBox</name>
    <message numerus="yes">
        <source>%Ln file(s)</source>
        <translation>
            <numerusform>%Ln file</numerusform>
            <numerusform>%Ln files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %Ln items (%1, %2) to the trash?</source>
        <translation>
            <numerusform>Move %Ln items (%1, %2) to the trash?</numerusform>
            <numerusform>Move %Ln items (%1, %2) to the trash?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tilemora::TMUnreadableFoldersDialog</name>
    <message numerus="yes">
        <source>%Ln folder(s) could not be read; they count as empty:</source>
        <translation>
            <numerusform>%Ln folder could not be read; they count as empty:</numerusform>
            <numerusform>%Ln folders could not be read; they count as empty:</numerusform>
        </translation>
    </message>
</context>
</TS>
