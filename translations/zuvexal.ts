<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" sourcelanguage="en">
<context>
    <name>AdvancedSetForm</name>
    <message>
        <source>%1 may not contain %2, nor start or end with a piece of it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>Supply Filename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Executables</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Libraries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Movie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As (Htm or Asp file)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a Jpeg or Gif or Png image to use as Signature in Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a Jpeg or Gif or Png image to use as Logo in Report</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportForm</name>
    <message>
        <source>A report is currently being generated<byte value="xd"/>
please try again in a few seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many fields!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Report Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview Records</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZuVexal</name>
    <message>
        <source>Version %1.%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set as your app path<byte value="xd"/>
with code for run-time usage.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::AboutDialog</name>
    <message>
        <source>Quorvane Vexal ActiveX Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A powerful OCX functioning as a Timer, File Dialogbox, Hyperlinker and real-time Database Reporter.
A Qt component for Linux hosts; free to use in your applications.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::AdvancedWindow</name>
    <message>
        <source>Advanced settings for report customization</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes to include in report on top of first page or at bottom of last page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark the Fields to Sum in report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>select a font</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project ABC, Ref 123</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>© myCompanyName</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>http://www.fictitious-company.example</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sales@fictitious-company.example</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Header</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Footer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>press F3 to launch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On &amp;Top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At &amp;Buttom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Logo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Signature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>image file like company logo for first page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>image file for your signature or photograph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;All Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Current Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::ChooserWindow</name>
    <message>
        <source>meaningful filename?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verify that the file exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview selected picture or press Delete to clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert file into</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>insert picture or a non-graphic to reset</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::PropertyPageDialog</name>
    <message>
        <source>ZuVexalProps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DoTimer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DeveloperCompany can be set at design time only; it names the organisation in the report window caption.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MaxRecsPerPage:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Developer Company:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::ReportWindow</name>
    <message>
        <source>You may resize column headers to view well</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Records of the page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Available fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fields to output in report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark or select those for report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You may rearrange fields order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fields in the report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--&gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>send to output list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;&lt;--</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remove from output list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/\</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move selected item up in output list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>\/</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move selected item down in output list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pre&amp;vious</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>page of records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Advanced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set more preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Generate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>select table color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>check to insert date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in &amp;Web Browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send to &amp;Printer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet file will be generated in your Reports sub-folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save As</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Append to an existing report only if you must</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total_Pages  |   Elapsed_Seconds  |  Current_Page_Generated  |  Delete_on_Cancel | Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>delete generated report pages on abort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>abort reporting</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zuvexal::ui::ZuVexalWidget</name>
    <message>
        <source> Zu</source>
        <extracomment>The control&apos;s mark while it has the input focus.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
