<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>FileChooser</name>
    <message>
        <source>Supply Filename</source>
        <translation>Dateinamen angeben</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle Dateien</translation>
    </message>
</context>
<context>
    <name>ReportForm</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>%1 Report Form</source>
        <translation>Berichtsformular von %1</translation>
    </message>
</context>
<context>
    <name>ZuVexal</name>
    <message>
        <source>Version %1.%2</source>
        <translation>Fassung %1.%2</translation>
    </message>
    <message>
        <source>Set as your app path<byte value="xd"/>
with code for run-time usage.</source>
        <translation>Den Anwendungspfad im Code setzen,
damit er zur Laufzeit gilt.</translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::AboutDialog</name>
    <message>
        <source>Quorvane Vexal ActiveX Control</source>
        <translation>Quorvane-Vexal-ActiveX-Steuerelement</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::AdvancedWindow</name>
    <message>
        <source>Advanced settings for report customization</source>
        <translation>Erweiterte Einstellungen für den Bericht</translation>
    </message>
    <message>
        <source>Include Notes</source>
        <translation>Notizen aufnehmen</translation>
    </message>
    <message>
        <source>Report on</source>
        <translation>Summen über</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::ChooserWindow</name>
    <message>
        <source>Verify that the file exists</source>
        <translation>Prüfen, ob die Datei existiert</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Annehmen</translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::PropertyPageDialog</name>
    <message>
        <source>ZuVexalProps</source>
        <translation>ZuVexal-Eigenschaften</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiviert</translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation>Intervall:</translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::ReportWindow</name>
    <message>
        <source>Records of the page</source>
        <translation>Datensätze der Seite</translation>
    </message>
    <message>
        <source>&amp;Generate</source>
        <translation>&amp;Erzeugen</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
</context>
</TS>
