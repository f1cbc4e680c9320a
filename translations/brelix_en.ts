<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Brelix  &#x3000;バージョン&#x3000;</source>
        <translation>Brelix    version </translation>
    </message>
    <message>
        <source>著作権：</source>
        <translation>Copyright: </translation>
    </message>
    <message>
        <source>連絡先：</source>
        <translation>Contact:   </translation>
    </message>
    <message>
        <source>ＨＰ&#x3000;：</source>
        <translation>Web:       </translation>
    </message>
    <message>
        <source>Brelix バージョン情報</source>
        <translation>About Brelix</translation>
    </message>
</context>
<context>
    <name>CellColourDialog</name>
    <message>
        <source>設定</source>
        <comment>title</comment>
        <translation>Settings</translation>
    </message>
    <message>
        <source>設定</source>
        <comment>button</comment>
        <translation>&amp;Set</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>比較背景色</source>
        <translation>Difference colour</translation>
    </message>
</context>
<context>
    <name>CellsCommand</name>
    <message>
        <source>Usage: brelix-cli cells FILE [--formulas] [--password PW]
</source>
        <translation>Usage: brelix-cli cells FILE [--formulas] [--password PW]
</translation>
    </message>
    <message>
        <source>List the worksheets of a workbook and the texts of their cells</source>
        <translation>List the worksheets of a workbook and the texts of their cells</translation>
    </message>
    <message>
        <source>
Lists every worksheet of FILE and the texts of its non-empty cells.

For each worksheet, in workbook order, a header line
  #sheet&lt;TAB&gt;N&lt;TAB&gt;NAME&lt;TAB&gt;visible|hidden&lt;TAB&gt;LAST ROW&lt;TAB&gt;LAST COLUMN[&lt;TAB&gt;protected]
where LAST ROW and LAST COLUMN are the bottom-right corner of the used area (1 1 for an
empty sheet), then one line per cell of the used area whose text is not empty, row by row:
  ADDRESS&lt;TAB&gt;TEXT
TEXT is the cell&apos;s text by value, as the comparison and the search read it (numbers in
general form, dates as yyyy/mm/dd, TRUE/FALSE, errors as shown), or with --formulas its
formula (&quot;=SUM(A1:A3)&quot;; a constant gives its value). Backslash, tab, CR and LF in texts
and names are written \\, \t, \r and \n.

A protected sheet is marked &quot;protected&quot;. Its extent cannot be read: LAST ROW and LAST
COLUMN are &quot;-&quot; and no cells follow. --password PW is tried on every protected sheet; where
it fits, the extent and the cells follow as for any sheet. A wrong password is reported on
stderr and the sheet is listed as without a password.

</source>
        <translation>
Lists every worksheet of FILE and the texts of its non-empty cells.

For each worksheet, in workbook order, a header line
  #sheet&lt;TAB&gt;N&lt;TAB&gt;NAME&lt;TAB&gt;visible|hidden&lt;TAB&gt;LAST ROW&lt;TAB&gt;LAST COLUMN[&lt;TAB&gt;protected]
where LAST ROW and LAST COLUMN are the bottom-right corner of the used area (1 1 for an
empty sheet), then one line per cell of the used area whose text is not empty, row by row:
  ADDRESS&lt;TAB&gt;TEXT
TEXT is the cell&apos;s text by value, as the comparison and the search read it (numbers in
general form, dates as yyyy/mm/dd, TRUE/FALSE, errors as shown), or with --formulas its
formula (&quot;=SUM(A1:A3)&quot;; a constant gives its value). Backslash, tab, CR and LF in texts
and names are written \\, \t, \r and \n.

A protected sheet is marked &quot;protected&quot;. Its extent cannot be read: LAST ROW and LAST
COLUMN are &quot;-&quot; and no cells follow. --password PW is tried on every protected sheet; where
it fits, the extent and the cells follow as for any sheet. A wrong password is reported on
stderr and the sheet is listed as without a password.

</translation>
    </message>
    <message>
        <source>
Exit status: 0 when the workbook was listed, 1 when the spreadsheet application failed,
2 for a usage error or a file that cannot be opened.
</source>
        <translation>
Exit status: 0 when the workbook was listed, 1 when the spreadsheet application failed,
2 for a usage error or a file that cannot be opened.
</translation>
    </message>
    <message>
        <source>formula texts instead of values</source>
        <translation>formula texts instead of values</translation>
    </message>
    <message>
        <source>the password of protected sheets</source>
        <translation>the password of protected sheets</translation>
    </message>
    <message>
        <source>no FILE given</source>
        <translation>no FILE given</translation>
    </message>
    <message>
        <source>one FILE only</source>
        <translation>one FILE only</translation>
    </message>
    <message>
        <source>brelix-cli: cannot open %1: %2
</source>
        <translation>brelix-cli: cannot open %1: %2
</translation>
    </message>
    <message>
        <source>brelix-cli: wrong password for sheet %1 (%2)
</source>
        <translation>brelix-cli: wrong password for sheet %1 (%2)
</translation>
    </message>
</context>
<context>
    <name>ChangeHistory</name>
    <message>
        <source>変更履歴作成中</source>
        <translation>Making the change history</translation>
    </message>
    <message>
        <source>ファイル2のセル</source>
        <translation>File 2 cell</translation>
    </message>
    <message>
        <source>変更の種類</source>
        <translation>Kind of change</translation>
    </message>
    <message>
        <source>非表示のシートがありました。非表示シートは比較していません。</source>
        <translation>There were hidden sheets. Hidden sheets were not compared.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎて、全て比較できませんでした。</source>
        <translation>The files are too large to compare in full.</translation>
    </message>
</context>
<context>
    <name>CliApplication</name>
    <message>
        <source>Usage: brelix-cli COMMAND [ARGUMENTS]
       brelix-cli COMMAND --help

Runs the jobs of Brelix without windows, in a private LibreOffice instance.

Commands:
</source>
        <translation>Usage: brelix-cli COMMAND [ARGUMENTS]
       brelix-cli COMMAND --help

Runs the jobs of Brelix without windows, in a private LibreOffice instance.

Commands:
</translation>
    </message>
    <message>
        <source>this help; &apos;brelix-cli COMMAND --help&apos; shows the help of a command</source>
        <translation>this help; &apos;brelix-cli COMMAND --help&apos; shows the help of a command</translation>
    </message>
    <message>
        <source>
Files: the template Brelix_Format.xls, the outputs Brelix.xls and Brelix.grp and the
settings Brelix.ini lie in the program&apos;s folder: BRELIX_HOME when it is set; else the
folder of brelix-cli when you may write to it (a copy of its own, the build folder); else
Brelix under your data directory (~/.local/share/Brelix), made on the first start and
filled from the installed folder.

Environment:
  BRELIX_HOME      the program&apos;s folder
  BRELIX_LANG      ja or en: the language of the messages; else the locale&apos;s (Japanese
                   for a Japanese locale, C or POSIX, English for any other)
  BRELIX_PDF_DIR   a folder: print into PDF files there instead of on the printer
  XDG_DATA_HOME    your data directory (default ~/.local/share)

See also brelix-cli(1) and the manual Brelix.html in the program&apos;s folder.
</source>
        <translation>
Files: the template Brelix_Format.xls, the outputs Brelix.xls and Brelix.grp and the
settings Brelix.ini lie in the program&apos;s folder: BRELIX_HOME when it is set; else the
folder of brelix-cli when you may write to it (a copy of its own, the build folder); else
Brelix under your data directory (~/.local/share/Brelix), made on the first start and
filled from the installed folder.

Environment:
  BRELIX_HOME      the program&apos;s folder
  BRELIX_LANG      ja or en: the language of the messages; else the locale&apos;s (Japanese
                   for a Japanese locale, C or POSIX, English for any other)
  BRELIX_PDF_DIR   a folder: print into PDF files there instead of on the printer
  XDG_DATA_HOME    your data directory (default ~/.local/share)

See also brelix-cli(1), and the manual Brelix_en.html (English) and Brelix.html (Japanese)
in the program&apos;s folder.
</translation>
    </message>
    <message>
        <source>brelix-cli: unknown command &apos;%1&apos;

</source>
        <translation>brelix-cli: unknown command &apos;%1&apos;

</translation>
    </message>
</context>
<context>
    <name>CliCommand</name>
    <message>
        <source>this help</source>
        <translation>this help</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is a folder, not a workbook</source>
        <translation>&apos;%1&apos; is a folder, not a workbook</translation>
    </message>
    <message>
        <source>offices that %1 at once, 1 to %2 (default: as many as the machine has
cores, at most %2); the output is that of one office</source>
        <translation>offices that %1 at once, 1 to %2 (default: as many as the machine has
cores, at most %2); the output is that of one office</translation>
    </message>
    <message>
        <source>--jobs is a number from 1 to %1, not &apos;%2&apos;</source>
        <translation>--jobs is a number from 1 to %1, not &apos;%2&apos;</translation>
    </message>
</context>
<context>
    <name>CliText</name>
    <message>
        <source>Options:
</source>
        <translation>Options:
</translation>
    </message>
</context>
<context>
    <name>CompareOptionsDialog</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>比較の設定</source>
        <translation>Comparison settings</translation>
    </message>
    <message>
        <source>例: A または A,C</source>
        <translation>e.g. A or A,C</translation>
    </message>
    <message>
        <source>シートを名前で対応付ける</source>
        <translation>Pair sheets by name</translation>
    </message>
    <message>
        <source>対応付け</source>
        <translation>Pairing</translation>
    </message>
    <message>
        <source>キー列：</source>
        <translation>Key columns:</translation>
    </message>
    <message>
        <source>キー列の値が同じ行どうしを比較します。
空欄なら行の位置で対応付けます。</source>
        <translation>Rows with the same key values are compared.
Blank pairs rows by their position.</translation>
    </message>
    <message>
        <source>大文字・小文字を区別しない</source>
        <translation>Ignore case</translation>
    </message>
    <message>
        <source>全角・半角を区別しない</source>
        <translation>Ignore full and half width</translation>
    </message>
    <message>
        <source>前後の空白を無視する</source>
        <translation>Ignore blanks at start and end</translation>
    </message>
    <message>
        <source>例: 0.01</source>
        <translation>e.g. 0.01</translation>
    </message>
    <message>
        <source>例: D または D,F</source>
        <translation>e.g. D or D,F</translation>
    </message>
    <message>
        <source>同じとみなす条件</source>
        <translation>Equal when</translation>
    </message>
    <message>
        <source>数値の許容誤差：</source>
        <translation>Number tolerance:</translation>
    </message>
    <message>
        <source>比較しない列：</source>
        <translation>Columns not compared:</translation>
    </message>
    <message>
        <source>キー列には、列の文字を 5 列まで、コンマで区切って入力して下さい。
例: A または A,C
空欄なら行の位置で対応付けます。</source>
        <translation>Key columns: up to 5 column letters, separated by commas.
e.g. A or A,C
Blank pairs rows by their position.</translation>
    </message>
    <message>
        <source>数値の許容誤差には、0 以上の数を入力して下さい。
例: 0.01
空欄なら誤差を認めません。</source>
        <translation>Number tolerance: a number of 0 or more.
e.g. 0.01
Blank allows no difference.</translation>
    </message>
    <message>
        <source>比較しない列には、列の文字をコンマで区切って入力して下さい。
例: D または D,F
空欄なら全ての列を比較します。</source>
        <translation>Columns not compared: column letters, separated by commas.
e.g. D or D,F
Blank compares every column.</translation>
    </message>
</context>
<context>
    <name>CompareScreen</name>
    <message>
        <source>比較開始</source>
        <translation>&amp;Compare</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>ファイルを指定</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>ドラッグ＆ドロップでも指定できます</source>
        <translation>Files can also be dropped here</translation>
    </message>
    <message>
        <source>オプションを指定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>差分個所の背景色変更</source>
        <translation>Colour differing cells</translation>
    </message>
    <message>
        <source>比較シート指定</source>
        <translation>Sheets</translation>
    </message>
    <message>
        <source>～</source>
        <translation>to</translation>
    </message>
    <message>
        <source>ブランクで全て指定</source>
        <translation>Blank for all sheets</translation>
    </message>
    <message>
        <source>表示形式</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>通常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>左右に並べる</source>
        <translation>Side by side</translation>
    </message>
    <message>
        <source>上下に並べる</source>
        <translation>One above another</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙを指定してください</source>
        <translation>Choose a file</translation>
    </message>
    <message>
        <source>Excelファイル(*.xls);;Csvファイル&#x3000;(*.csv);;全てのファイル(*.*)</source>
        <translation>Workbooks (*.xls);;CSV files (*.csv);;All files (*.*)</translation>
    </message>
</context>
<context>
    <name>DiffBudget</name>
    <message>
        <source>以下のシートまで比較が完了しました</source>
        <translation>Compared up to the sheet below</translation>
    </message>
    <message>
        <source>シートNo=%1  /  シート名=%2</source>
        <translation>Sheet No=%1  /  Sheet name=%2</translation>
    </message>
    <message>
        <source>以下のシートの途中まで比較が完了しました</source>
        <translation>Compared part of the sheet below</translation>
    </message>
</context>
<context>
    <name>DiffCommand</name>
    <message>
        <source>pair rows by the texts of these columns (up to five letters: A or A,C)
rather than by place: the n-th row with a key in FILE1 pairs with the
n-th row with that key in FILE2, so that sorted or moved rows give no
record; rows of one file only are row-deleted or row-inserted; with
--align, columns are matched by content and rows by key</source>
        <translation>pair rows by the texts of these columns (up to five letters: A or A,C)
rather than by place: the n-th row with a key in FILE1 pairs with the
n-th row with that key in FILE2, so that sorted or moved rows give no
record; rows of one file only are row-deleted or row-inserted; with
--align, columns are matched by content and rows by key</translation>
    </message>
    <message>
        <source>pair sheets by name rather than by position; a sheet of one workbook
only gives one sheet-deleted or sheet-inserted record, and differing
sheet counts are compared (with --from or --to, only FILE1&apos;s sheets
of the range take part and no sheet-inserted record is given)</source>
        <translation>pair sheets by name rather than by position; a sheet of one workbook
only gives one sheet-deleted or sheet-inserted record, and differing
sheet counts are compared (with --from or --to, only FILE1&apos;s sheets
of the range take part and no sheet-inserted record is given)</translation>
    </message>
    <message>
        <source>letters equal whatever their case (also full-width letters)</source>
        <translation>letters equal whatever their case (also full-width letters)</translation>
    </message>
    <message>
        <source>texts compared as Unicode NFKC folds them: full-width letters, digits
and signs, the ideographic space, half-width katakana</source>
        <translation>texts compared as Unicode NFKC folds them: full-width letters, digits
and signs, the ideographic space, half-width katakana</translation>
    </message>
    <message>
        <source>blanks at the start and end of a text do not count (space, tab,
ideographic space, line breaks)</source>
        <translation>blanks at the start and end of a text do not count (space, tab,
ideographic space, line breaks)</translation>
    </message>
    <message>
        <source>two texts that both read as decimal numbers are equal when they differ
by at most X</source>
        <translation>two texts that both read as decimal numbers are equal when they differ
by at most X</translation>
    </message>
    <message>
        <source>these columns of FILE1 (letters: D or D,F) are not compared and give no
record; records always show the texts as they are in the cells</source>
        <translation>these columns of FILE1 (letters: D or D,F) are not compared and give no
record; records always show the texts as they are in the cells</translation>
    </message>
    <message>
        <source>--key takes up to five column letters such as A or A,C, not &apos;%1&apos;</source>
        <translation>--key takes up to five column letters such as A or A,C, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--ignore-columns takes column letters such as D or D,F, not &apos;%1&apos;</source>
        <translation>--ignore-columns takes column letters such as D or D,F, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--tolerance takes a decimal number of 0 or more, not &apos;%1&apos;</source>
        <translation>--tolerance takes a decimal number of 0 or more, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Compare two workbooks cell by cell and list the differing cells</source>
        <translation>Compare two workbooks cell by cell and list the differing cells</translation>
    </message>
    <message>
        <source>compare formula texts instead of values</source>
        <translation>compare formula texts instead of values</translation>
    </message>
    <message>
        <source>the first sheet to compare (1 when absent or below 1)</source>
        <translation>the first sheet to compare (1 when absent or below 1)</translation>
    </message>
    <message>
        <source>the last sheet to compare (the last sheet when absent or below 1)</source>
        <translation>the last sheet to compare (the last sheet when absent or below 1)</translation>
    </message>
    <message>
        <source>leave the differing cells of the workbooks uncoloured; without --show,
which leaves them open to be seen, they are not coloured anyway, but
their colouring counts against the work budget as in the window</source>
        <translation>leave the differing cells of the workbooks uncoloured; without --show,
which leaves them open to be seen, they are not coloured anyway, but
their colouring counts against the work budget as in the window</translation>
    </message>
    <message>
        <source>the windows: 0 both workbooks side by side above the change history
(default), 1 all side by side, 2 all one above the other</source>
        <translation>the windows: 0 both workbooks side by side above the change history
(default), 1 all side by side, 2 all one above the other</translation>
    </message>
    <message>
        <source>match rows and columns by their content before comparing cells, so
that inserted and deleted rows and columns show as such rather than as
changes of every cell after them; the change history gains the columns
of the second address and the kind</source>
        <translation>match rows and columns by their content before comparing cells, so
that inserted and deleted rows and columns show as such rather than as
changes of every cell after them; the change history gains the columns
of the second address and the kind</translation>
    </message>
    <message>
        <source>compare every cell of every sheet, past the work budget; records
past the 65536 rows of a change-history sheet go on in further sheets</source>
        <translation>compare every cell of every sheet, past the work budget; records
past the 65536 rows of a change-history sheet go on in further sheets</translation>
    </message>
    <message>
        <source>hand the office over visible when the comparison finishes, with both
workbooks and the change history open; without it the office ends</source>
        <translation>hand the office over visible when the comparison finishes, with both
workbooks and the change history open; without it the office ends</translation>
    </message>
    <message>
        <source>two files to compare, FILE1 and FILE2</source>
        <translation>two files to compare, FILE1 and FILE2</translation>
    </message>
    <message>
        <source>--layout is 0, 1 or 2, not &apos;%1&apos;</source>
        <translation>--layout is 0, 1 or 2, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Usage: brelix-cli diff FILE1 FILE2 [--formulas] [--from N] [--to N] [--no-color]
                       [--layout 0|1|2] [--align] [--key COLUMNS] [--by-name]
                       [--ignore-case] [--ignore-width] [--ignore-blanks]
                       [--tolerance X] [--ignore-columns COLUMNS]
                       [--no-limit] [--password PW] [--show]
       brelix-cli diff DIR1 DIR2 [the same options] [--jobs N]
</source>
        <translation>Usage: brelix-cli diff FILE1 FILE2 [--formulas] [--from N] [--to N] [--no-color]
                       [--layout 0|1|2] [--align] [--key COLUMNS] [--by-name]
                       [--ignore-case] [--ignore-width] [--ignore-blanks]
                       [--tolerance X] [--ignore-columns COLUMNS]
                       [--no-limit] [--password PW] [--show]
       brelix-cli diff DIR1 DIR2 [the same options] [--jobs N]
</translation>
    </message>
    <message>
        <source>
Compares FILE1 and FILE2 sheet by sheet, as the compare button does: same checks, same
work budget, same endings. The differing cells are listed in the change history Brelix.xls,
made from Brelix_Format.xls in the program&apos;s folder (see &apos;brelix-cli --help&apos;) and saved
there, and coloured in both workbooks while the office shows them; FILE1 and FILE2 are
never written.

With two folders, DIR1 and DIR2, every workbook under them at any depth (.xls, .xlsx, .ods
and .csv; hidden files and linked folders are left out) is compared with the workbook of the
same relative path under the other folder, with the same options, in several offices at
once (--jobs), which give what one office gives. Each file gives one line on stdout, in the
order of their paths:
  PATH&lt;TAB&gt;same | changed N | added | removed | failed: REASON
and the line of a changed file is followed by its records, each led by PATH&lt;TAB&gt;. A file
that fails (damaged, say) fails alone; the notes of a file compared (hidden sheets, a
comparison cut short) go to stderr as &quot;brelix-cli diff: PATH: NOTE&quot;. Brelix.xls then opens
with a summary sheet listing every file with its status and number of differences, and
holds the records of all files, each with its file; --show leaves only it open. A folder
and a file, the same folder twice or a folder inside the other are refused.

Each differing cell is one line on stdout, in the order found:
  SEQ&lt;TAB&gt;SHEET NAME&lt;TAB&gt;SHEET NUMBER&lt;TAB&gt;ADDRESS&lt;TAB&gt;FIRST TEXT&lt;TAB&gt;SECOND TEXT
With --align, --key or --by-name, each record is one line with both addresses and its kind:
  SEQ&lt;TAB&gt;SHEET NAME&lt;TAB&gt;SHEET NUMBER&lt;TAB&gt;FIRST ADDRESS&lt;TAB&gt;SECOND ADDRESS&lt;TAB&gt;FIRST TEXT
  &lt;TAB&gt;SECOND TEXT&lt;TAB&gt;KIND
KIND is changed, row-inserted, row-deleted, column-inserted, column-deleted, sheet-inserted
or sheet-deleted; an inserted cell has no first address or text, a deleted one no second
address or text, and an inserted or deleted sheet neither address nor text (an inserted
sheet carries its name and number in FILE2).
Backslash, tab, CR and LF in names and texts are written \\, \t, \r and \n.

Every message of the run goes to stderr as &quot;TITLE: TEXT&quot;, an unexpected failure as its
whole error report, then one line with its reason (a file that is no workbook, say). While
stderr is a terminal, one line there shows the progress.
Ctrl+C stops the comparison as the cancel button does; a second Ctrl+C ends the program.

</source>
        <translation>
Compares FILE1 and FILE2 sheet by sheet, as the compare button does: same checks, same
work budget, same endings. The differing cells are listed in the change history Brelix.xls,
made from Brelix_Format.xls in the program&apos;s folder (see &apos;brelix-cli --help&apos;) and saved
there, and coloured in both workbooks while the office shows them; FILE1 and FILE2 are
never written.

With two folders, DIR1 and DIR2, every workbook under them at any depth (.xls, .xlsx, .ods
and .csv; hidden files and linked folders are left out) is compared with the workbook of the
same relative path under the other folder, with the same options, in several offices at
once (--jobs), which give what one office gives. Each file gives one line on stdout, in the
order of their paths:
  PATH&lt;TAB&gt;same | changed N | added | removed | failed: REASON
and the line of a changed file is followed by its records, each led by PATH&lt;TAB&gt;. A file
that fails (damaged, say) fails alone; the notes of a file compared (hidden sheets, a
comparison cut short) go to stderr as &quot;brelix-cli diff: PATH: NOTE&quot;. Brelix.xls then opens
with a summary sheet listing every file with its status and number of differences, and
holds the records of all files, each with its file; --show leaves only it open. A folder
and a file, the same folder twice or a folder inside the other are refused.

Each differing cell is one line on stdout, in the order found:
  SEQ&lt;TAB&gt;SHEET NAME&lt;TAB&gt;SHEET NUMBER&lt;TAB&gt;ADDRESS&lt;TAB&gt;FIRST TEXT&lt;TAB&gt;SECOND TEXT
With --align, --key or --by-name, each record is one line with both addresses and its kind:
  SEQ&lt;TAB&gt;SHEET NAME&lt;TAB&gt;SHEET NUMBER&lt;TAB&gt;FIRST ADDRESS&lt;TAB&gt;SECOND ADDRESS&lt;TAB&gt;FIRST TEXT
  &lt;TAB&gt;SECOND TEXT&lt;TAB&gt;KIND
KIND is changed, row-inserted, row-deleted, column-inserted, column-deleted, sheet-inserted
or sheet-deleted; an inserted cell has no first address or text, a deleted one no second
address or text, and an inserted or deleted sheet neither address nor text (an inserted
sheet carries its name and number in FILE2).
Backslash, tab, CR and LF in names and texts are written \\, \t, \r and \n.

Every message of the run goes to stderr as &quot;TITLE: TEXT&quot;, an unexpected failure as its
whole error report, then one line with its reason (a file that is no workbook, say). While
stderr is a terminal, one line there shows the progress.
Ctrl+C stops the comparison as the cancel button does; a second Ctrl+C ends the program.

</translation>
    </message>
    <message>
        <source>
Exit status: 0 when no difference was found, 1 when differences were found (also when the
workbooks were too large to compare in full), 2 when the comparison was refused, stopped
or failed, or for a usage error.
For two folders: 0 when every file is the same, 1 when any differs or was added or
removed, 2 when any failed (the others are still compared) or as above.
</source>
        <translation>
Exit status: 0 when no difference was found, 1 when differences were found (also when the
workbooks were too large to compare in full), 2 when the comparison was refused, stopped
or failed, or for a usage error.
For two folders: 0 when every file is the same, 1 when any differs or was added or
removed, 2 when any failed (the others are still compared) or as above.
</translation>
    </message>
    <message>
        <source>compare the files of two folders</source>
        <translation>compare the files of two folders</translation>
    </message>
</context>
<context>
    <name>DiffRecord</name>
    <message>
        <source>行挿入</source>
        <translation>Row inserted</translation>
    </message>
    <message>
        <source>行削除</source>
        <translation>Row deleted</translation>
    </message>
    <message>
        <source>列挿入</source>
        <translation>Column inserted</translation>
    </message>
    <message>
        <source>列削除</source>
        <translation>Column deleted</translation>
    </message>
    <message>
        <source>シート挿入</source>
        <translation>Sheet inserted</translation>
    </message>
    <message>
        <source>シート削除</source>
        <translation>Sheet deleted</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Changed</translation>
    </message>
</context>
<context>
    <name>DiffRules</name>
    <message>
        <source>実行不可能</source>
        <translation>Cannot run</translation>
    </message>
    <message>
        <source>実行中止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>対象ファイルを選択して下さい</source>
        <translation>Select the files first</translation>
    </message>
    <message>
        <source>指定エラー</source>
        <translation>Nothing selected</translation>
    </message>
    <message>
        <source>同一ファイル名は比較できません</source>
        <translation>Files with the same name cannot be compared</translation>
    </message>
    <message>
        <source>どちらかのファイル名を変更してから、比較を実行して下さい</source>
        <translation>Rename one of the files, then compare again</translation>
    </message>
</context>
<context>
    <name>DiffRun</name>
    <message>
        <source>ｄｉｆｆを中止しました</source>
        <translation>Comparison stopped</translation>
    </message>
    <message>
        <source>指定シートの設定が異常です</source>
        <translation>The sheet range is not valid</translation>
    </message>
    <message>
        <source>指定シートエラー</source>
        <translation>Sheet range error</translation>
    </message>
    <message>
        <source>%1 を作成できません</source>
        <translation>Cannot create %1</translation>
    </message>
    <message>
        <source>実行不可能</source>
        <translation>Cannot run</translation>
    </message>
    <message>
        <source>比較中-%1/%2:%3</source>
        <translation>Comparing %1/%2:%3</translation>
    </message>
    <message>
        <source>ファイルが大きすぎて、ぜんぜん比較できませんでした</source>
        <translation>The files are too large: nothing could be compared</translation>
    </message>
    <message>
        <source>比較中止</source>
        <translation>Comparison stopped</translation>
    </message>
    <message>
        <source>ファイルが大きすぎて、全て比較できませんでした</source>
        <translation>The files are too large to compare in full</translation>
    </message>
    <message>
        <source>ユーザ中止要求</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>シートが不一致です</source>
        <translation>The sheets do not match</translation>
    </message>
    <message>
        <source>シート数不一致</source>
        <translation>Sheet counts differ</translation>
    </message>
    <message>
        <source>比較開始シートが全シート数より大きいです</source>
        <translation>The first sheet to compare is past the last sheet</translation>
    </message>
    <message>
        <source>Sheet のパスワードエラーです</source>
        <translation>Wrong sheet password</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Brelix.html（プログラムと同じフォルダのヘルプ）</source>
        <translation>Brelix.html (the help in the program&apos;s folder)</translation>
    </message>
    <message>
        <source>シートNo= %1 , %2行 , %3列</source>
        <translation>Sheet No= %1 , %2 rows , %3 columns</translation>
    </message>
    <message>
        <source>予期せぬエラーが発生してしまいました</source>
        <translation>An unexpected error occurred</translation>
    </message>
    <message>
        <source>何でエラーになるのか調査したいので、</source>
        <translation>To help find out what caused it,</translation>
    </message>
    <message>
        <source>ソフト作者に以下の内容をメール送信してもらえるとありがたいです。</source>
        <translation>please mail the following to the author.</translation>
    </message>
    <message>
        <source>メールの件名： Brelix エラー報告</source>
        <translation>Subject: Brelix error report</translation>
    </message>
    <message>
        <source>メールの宛先： </source>
        <translation>To: </translation>
    </message>
    <message>
        <source>＜＜メールの内容＞＞</source>
        <translation>&lt;&lt;Contents of the mail&gt;&gt;</translation>
    </message>
    <message>
        <source>１．このエラー内容をコピーしメールに貼り付ける</source>
        <translation>1. This error report, copied into the mail</translation>
    </message>
    <message>
        <source>２．エラー内容の &lt;7:エラー発生場所&gt; に何があるかの説明</source>
        <translation>2. What is at &lt;7:Error location&gt; of the report:</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;セルの式、値、書式など。</source>
        <translation>   the cell&apos;s formula, value, format and so on.</translation>
    </message>
    <message>
        <source>３．動作環境： </source>
        <translation>3. System: </translation>
    </message>
    <message>
        <source>４．再現の有無と再現方法</source>
        <translation>4. Whether and how the error happens again</translation>
    </message>
    <message>
        <source>＜＜エラー詳細内容＞＞</source>
        <translation>&lt;&lt;Error details&gt;&gt;</translation>
    </message>
    <message>
        <source>&lt;1:バージョン&gt;</source>
        <translation>&lt;1:Version&gt;</translation>
    </message>
    <message>
        <source>&lt;2:トラップ番号&gt;</source>
        <translation>&lt;2:Trap number&gt;</translation>
    </message>
    <message>
        <source>&lt;3:エラー番号&gt;</source>
        <translation>&lt;3:Error number&gt;</translation>
    </message>
    <message>
        <source>&lt;4:エラー内容&gt;</source>
        <translation>&lt;4:Error text&gt;</translation>
    </message>
    <message>
        <source>&lt;5:処理回数&gt;</source>
        <translation>&lt;5:Work done&gt;</translation>
    </message>
    <message>
        <source>%1回</source>
        <translation>%1 times</translation>
    </message>
    <message>
        <source>&lt;6:ファイルのMAX情報&gt;</source>
        <translation>&lt;6:Largest extent&gt;</translation>
    </message>
    <message>
        <source>&lt;7:エラー発生場所&gt;</source>
        <translation>&lt;7:Error location&gt;</translation>
    </message>
    <message>
        <source>&lt;8:ファイル名&gt;</source>
        <translation>&lt;8:File names&gt;</translation>
    </message>
    <message>
        <source>&lt;9:フルパス&gt;</source>
        <translation>&lt;9:Full paths&gt;</translation>
    </message>
</context>
<context>
    <name>ErrorReportDialog</name>
    <message>
        <source>予期せぬエラー</source>
        <translation>Unexpected error</translation>
    </message>
</context>
<context>
    <name>FolderFileList</name>
    <message>
        <source>ディレクトリ選択</source>
        <translation>Choose folder</translation>
    </message>
    <message>
        <source>名&#x3000;&#x3000;前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>更新日時</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>ﾌｫﾙﾀﾞを指定して下さい。</source>
        <translation>Choose a folder.</translation>
    </message>
</context>
<context>
    <name>FolderHistory</name>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>差分数</source>
        <translation>Differences</translation>
    </message>
    <message>
        <source>備考</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>一致</source>
        <translation>Same</translation>
    </message>
    <message>
        <source>変更あり</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Removed</translation>
    </message>
    <message>
        <source>比較失敗</source>
        <translation>Not compared</translation>
    </message>
    <message>
        <source>フォルダ1: </source>
        <translation>Folder 1: </translation>
    </message>
    <message>
        <source>フォルダ2: </source>
        <translation>Folder 2: </translation>
    </message>
    <message>
        <source>一覧&#x3000;</source>
        <translation>Summary </translation>
    </message>
</context>
<context>
    <name>FolderPairing</name>
    <message>
        <source>フォルダとファイルは比較できません</source>
        <translation>A folder and a file cannot be compared</translation>
    </message>
    <message>
        <source>２つのファイルか、２つのフォルダを指定して下さい</source>
        <translation>Choose two files or two folders</translation>
    </message>
    <message>
        <source>同じフォルダ、または一方の中にあるフォルダは比較できません</source>
        <translation>A folder cannot be compared with itself or a folder inside it</translation>
    </message>
    <message>
        <source>別々のフォルダを指定して下さい</source>
        <translation>Choose two separate folders</translation>
    </message>
    <message>
        <source>フォルダを読めません</source>
        <translation>Cannot read the folder</translation>
    </message>
</context>
<context>
    <name>GrepCommand</name>
    <message>
        <source>Search a text in the cell values of workbooks and list every cell that holds it</source>
        <translation>Search a text in the cell values of workbooks and list every cell that holds it</translation>
    </message>
    <message>
        <source>
Exit status: 0 when hits were found, 1 when none were found, 2 when the search was refused,
stopped or failed, or for a usage error.
</source>
        <translation>
Exit status: 0 when hits were found, 1 when none were found, 2 when the search was refused,
stopped or failed, or for a usage error.
</translation>
    </message>
    <message>
        <source>letter case counts (abc does not find ABC)</source>
        <translation>letter case counts (abc does not find ABC)</translation>
    </message>
    <message>
        <source>search every cell of every workbook, however large; hits past the
65536 rows of a results sheet go on in further sheets</source>
        <translation>search every cell of every workbook, however large; hits past the
65536 rows of a results sheet go on in further sheets</translation>
    </message>
    <message>
        <source>hand the office over visible at the end, with the results and every
workbook that has hits open; without it the office ends</source>
        <translation>hand the office over visible at the end, with the results and every
workbook that has hits open; without it the office ends</translation>
    </message>
    <message>
        <source>a text to search and at least one file</source>
        <translation>a text to search and at least one file</translation>
    </message>
    <message>
        <source>two files named &apos;%1&apos;: search them one at a time</source>
        <translation>two files named &apos;%1&apos;: search them one at a time</translation>
    </message>
    <message>
        <source>Usage: brelix-cli grep TEXT FILE... [--case] [--no-limit] [--jobs N] [--password PW]
                       [--show]
</source>
        <translation>Usage: brelix-cli grep TEXT FILE... [--case] [--no-limit] [--jobs N] [--password PW]
                       [--show]
</translation>
    </message>
    <message>
        <source>
Searches TEXT in the value of every cell of every worksheet of the FILEs, in the order
given, as the search button does for the selected files: same checks, same cell limit
(16382 cells per workbook), same endings. Blanks around TEXT are not searched. Formulas
are not searched, only the values they show. The hits are listed in the results workbook
Brelix.xls, made from Brelix_Format.xls in the program&apos;s folder (BRELIX_HOME when set,
else the folder of brelix-cli) and saved there; the FILEs are never written.

Each hit is one line on stdout, in the order found, as the hit file Brelix.grp holds it:
  NUMBER,FILE NAME,SHEET NAME,SHEET NUMBER,ADDRESS,CELL TEXT
A field holding a comma, a double quote or a line break is written between double quotes,
its double quotes doubled. Without --case the cell texts are upper-cased, as searched.

Every message of the run goes to stderr as &quot;TITLE: TEXT&quot;; a file that cannot be opened is
skipped and named at the end. While stderr is a terminal, one line there shows the
progress. Ctrl+C stops the search as the cancel button does.

Several offices search at once, each its own files (see --jobs); the hits, their numbers,
the results, the messages and the progress are those of one office searching the files in
turn. A file that ends or hangs its office is skipped alone and named at the end.

</source>
        <translation>
Searches TEXT in the value of every cell of every worksheet of the FILEs, in the order
given, as the search button does for the selected files: same checks, same cell limit
(16382 cells per workbook), same endings. Blanks around TEXT are not searched. Formulas
are not searched, only the values they show. The hits are listed in the results workbook
Brelix.xls, made from Brelix_Format.xls in the program&apos;s folder (BRELIX_HOME when set,
else the folder of brelix-cli) and saved there; the FILEs are never written.

Each hit is one line on stdout, in the order found, as the hit file Brelix.grp holds it:
  NUMBER,FILE NAME,SHEET NAME,SHEET NUMBER,ADDRESS,CELL TEXT
A field holding a comma, a double quote or a line break is written between double quotes,
its double quotes doubled. Without --case the cell texts are upper-cased, as searched.

Every message of the run goes to stderr as &quot;TITLE: TEXT&quot;; a file that cannot be opened is
skipped and named at the end. While stderr is a terminal, one line there shows the
progress. Ctrl+C stops the search as the cancel button does.

Several offices search at once, each its own files (see --jobs); the hits, their numbers,
the results, the messages and the progress are those of one office searching the files in
turn. A file that ends or hangs its office is skipped alone and named at the end.

</translation>
    </message>
    <message>
        <source>search</source>
        <translation>search</translation>
    </message>
</context>
<context>
    <name>JobOffice</name>
    <message>
        <source>Brelix が開いた LibreOffice を閉じてから実行して下さい</source>
        <translation>Close the LibreOffice that Brelix opened, then try again</translation>
    </message>
    <message>
        <source>LibreOffice起動中</source>
        <comment>open already</comment>
        <translation>LibreOffice is open</translation>
    </message>
    <message>
        <source>LibreOffice起動中</source>
        <comment>starting</comment>
        <translation>Starting LibreOffice</translation>
    </message>
</context>
<context>
    <name>LibreOfficeHostFactory</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>比較</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>連続印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>ｵﾌﾟｼｮﾝ</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>About</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>LibreOffice を待機させる</source>
        <translation>Keep LibreOffice ready</translation>
    </message>
    <message>
        <source>全てのセルを比較・検索する</source>
        <translation>Compare and search every cell</translation>
    </message>
    <message>
        <source>比較対象</source>
        <translation>Compare by</translation>
    </message>
    <message>
        <source>値&#x3000;を比較する</source>
        <translation>Compare values</translation>
    </message>
    <message>
        <source>式&#x3000;を比較する</source>
        <translation>Compare formulas</translation>
    </message>
    <message>
        <source>ﾂｰﾙﾊﾞｰの行数</source>
        <translation>Toolbar rows</translation>
    </message>
    <message>
        <source>%1 行</source>
        <translation>%1 rows</translation>
    </message>
    <message>
        <source>比較背景色</source>
        <translation>Difference colour</translation>
    </message>
    <message>
        <source>行・列を対応付けて比較</source>
        <translation>Match rows and columns</translation>
    </message>
    <message>
        <source>比較の設定...</source>
        <translation>Comparison settings...</translation>
    </message>
    <message>
        <source>ヘルプ無し</source>
        <translation>No help</translation>
    </message>
    <message>
        <source>ヘルプファイルがありません</source>
        <translation>The help file is missing</translation>
    </message>
    <message>
        <source>同時に使う LibreOffice の数</source>
        <translation>LibreOffice instances at once</translation>
    </message>
    <message>
        <source>CPU のコア数 (最大 %1)</source>
        <translation>CPU cores (at most %1)</translation>
    </message>
</context>
<context>
    <name>OfficeCommand</name>
    <message>
        <source>Usage: brelix-cli office start [--idle-minutes N] [--foreground] | stop | status
</source>
        <translation>Usage: brelix-cli office start [--idle-minutes N] [--foreground] | stop | status
</translation>
    </message>
    <message>
        <source>Keep an office ready in the background for the commands</source>
        <translation>Keep an office ready in the background for the commands</translation>
    </message>
    <message>
        <source>
start keeps two idle offices ready in a background process, for this user and program
folder. cells, grep and print take one when it is idle instead of starting their own, which
saves most of their time; diff without --show takes both and loads its two workbooks side by
side. Each command still has offices of its own, with nothing of an earlier command in
them, and ends them or hands them over (--show) as always. Two commands never share one:
when none is idle, a command starts its own. Once a command that took one has ended, the
background process starts the next. It ends itself, with its idle offices, after N minutes
without a command (15 by default).

stop ends the background process and its idle offices. status says whether it runs, its
process id, and the process ids and memory of the idle offices.

</source>
        <translation>
start keeps two idle offices ready in a background process, for this user and program
folder. cells, grep and print take one when it is idle instead of starting their own, which
saves most of their time; diff without --show takes both and loads its two workbooks side by
side. Each command still has offices of its own, with nothing of an earlier command in
them, and ends them or hands them over (--show) as always. Two commands never share one:
when none is idle, a command starts its own. Once a command that took one has ended, the
background process starts the next. It ends itself, with its idle offices, after N minutes
without a command (15 by default).

stop ends the background process and its idle offices. status says whether it runs, its
process id, and the process ids and memory of the idle offices.

</translation>
    </message>
    <message>
        <source>
Exit status: 0 when started, stopped or running, 1 when no office could be kept ready or
none runs, 2 for a usage error.
</source>
        <translation>
Exit status: 0 when started, stopped or running, 1 when no office could be kept ready or
none runs, 2 for a usage error.
</translation>
    </message>
    <message>
        <source>minutes without a command before the background process ends</source>
        <translation>minutes without a command before the background process ends</translation>
    </message>
    <message>
        <source>keep the office from this process instead of a background one,
until stopped or idle (for a service manager)</source>
        <translation>keep the office from this process instead of a background one,
until stopped or idle (for a service manager)</translation>
    </message>
    <message>
        <source>one of start, stop and status</source>
        <translation>one of start, stop and status</translation>
    </message>
    <message>
        <source>--idle-minutes takes 1 to 1440</source>
        <translation>--idle-minutes takes 1 to 1440</translation>
    </message>
    <message>
        <source>only start takes options</source>
        <translation>only start takes options</translation>
    </message>
    <message>
        <source>not running
</source>
        <translation>not running
</translation>
    </message>
    <message>
        <source>unknown action &apos;%1&apos;</source>
        <translation>unknown action &apos;%1&apos;</translation>
    </message>
    <message>
        <source>already running: process %1
</source>
        <translation>already running: process %1
</translation>
    </message>
    <message>
        <source>started: process %1, ready office process %2
</source>
        <translation>started: process %1, ready office process %2
</translation>
    </message>
    <message>
        <source>brelix-cli office: no office could be kept ready
</source>
        <translation>brelix-cli office: no office could be kept ready
</translation>
    </message>
    <message>
        <source>running: process %1</source>
        <translation>running: process %1</translation>
    </message>
    <message>
        <source>, ready office process %1</source>
        <translation>, ready office process %1</translation>
    </message>
    <message>
        <source>, no office idle just now</source>
        <translation>, no office idle just now</translation>
    </message>
    <message>
        <source>, memory %1 MiB</source>
        <translation>, memory %1 MiB</translation>
    </message>
</context>
<context>
    <name>OfficeJobCommand</name>
    <message>
        <source>the password of protected sheets, given to every prompt; without it a
protected sheet stops the %1</source>
        <translation>the password of protected sheets, given to every prompt; without it a
protected sheet stops the %1</translation>
    </message>
</context>
<context>
    <name>OpenManual</name>
    <message>
        <source>Brelix.html</source>
        <translation>Brelix_en.html</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>ﾌｧｲﾙ名&#x3000;： </source>
        <translation>File:     </translation>
    </message>
    <message>
        <source>ﾊﾟｽﾜｰﾄﾞ ：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>シートのパスワードを入力して下さい</source>
        <translation>Enter the sheet password</translation>
    </message>
</context>
<context>
    <name>PrintCommand</name>
    <message>
        <source>Print workbooks in one go, whole or their first sheet or page</source>
        <translation>Print workbooks in one go, whole or their first sheet or page</translation>
    </message>
    <message>
        <source>
Exit status: 0 when every file printed, 1 when some file could not be opened or printed,
2 when the run was declined, refused (an office handed over by an earlier run is still open)
or stopped with Ctrl+C, or for a usage error.
</source>
        <translation>
Exit status: 0 when every file printed, 1 when some file could not be opened or printed,
2 when the run was declined, refused (an office handed over by an earlier run is still open)
or stopped with Ctrl+C, or for a usage error.
</translation>
    </message>
    <message>
        <source>what to print of each workbook (required)</source>
        <translation>what to print of each workbook (required)</translation>
    </message>
    <message>
        <source>print to PDF files in the folder DIR, which must exist</source>
        <translation>print to PDF files in the folder DIR, which must exist</translation>
    </message>
    <message>
        <source>print without asking</source>
        <translation>print without asking</translation>
    </message>
    <message>
        <source>at least one file to print</source>
        <translation>at least one file to print</translation>
    </message>
    <message>
        <source>--scope is required</source>
        <translation>--scope is required</translation>
    </message>
    <message>
        <source>--scope is 0, 1, 2 or 3, not &apos;%1&apos;</source>
        <translation>--scope is 0, 1, 2 or 3, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--pdf names no folder: &apos;%1&apos;</source>
        <translation>--pdf names no folder: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Usage: brelix-cli print FILE... --scope 0|1|2|3 [--pdf DIR] [--jobs N] [--yes]
</source>
        <translation>Usage: brelix-cli print FILE... --scope 0|1|2|3 [--pdf DIR] [--jobs N] [--yes]
</translation>
    </message>
    <message>
        <source>
Prints each FILE in turn, as the print button does with the selected files: private
offices for the run, each workbook opened, printed with the scope and closed unsaved.
The files are never written.

Scopes:
  0  every sheet, every page (one print job per workbook)
  1  the first sheet, every page
  2  the first page of every sheet (one print job per sheet)
  3  the first page of the first sheet

Every print goes to the default printer, or with --pdf (or BRELIX_PDF_DIR) to a new PDF
file in that folder: WORKBOOK.pdf for scope 0, WORKBOOK-SHEET.pdf for the others, with
&quot; (2)&quot;, &quot; (3)&quot;, ... added rather than writing over a file that is there.

Several offices open the workbooks at once (see --jobs); each workbook is printed once
those before it have printed, so the print jobs go out in the order of the FILEs.

Before anything starts the run asks &quot;%1&quot; on stderr and reads the answer from stdin:
&quot;y&quot; or &quot;yes&quot; prints, anything else (or no input) stops. The run&apos;s messages go to stderr as
&quot;TITLE: TEXT&quot;; the completion message names every file that did not print, and a line
&quot;brelix-cli print: FILE: REASON&quot; follows for each. While stderr is a terminal, one line there
shows the progress. Ctrl+C stops the run after the workbook being printed; a second Ctrl+C
ends the program.

</source>
        <translation>
Prints each FILE in turn, as the print button does with the selected files: private
offices for the run, each workbook opened, printed with the scope and closed unsaved.
The files are never written.

Scopes:
  0  every sheet, every page (one print job per workbook)
  1  the first sheet, every page
  2  the first page of every sheet (one print job per sheet)
  3  the first page of the first sheet

Every print goes to the default printer, or with --pdf (or BRELIX_PDF_DIR) to a new PDF
file in that folder: WORKBOOK.pdf for scope 0, WORKBOOK-SHEET.pdf for the others, with
&quot; (2)&quot;, &quot; (3)&quot;, ... added rather than writing over a file that is there.

Several offices open the workbooks at once (see --jobs); each workbook is printed once
those before it have printed, so the print jobs go out in the order of the FILEs.

Before anything starts the run asks &quot;%1&quot; on stderr and reads the answer from stdin:
&quot;y&quot; or &quot;yes&quot; prints, anything else (or no input) stops. The run&apos;s messages go to stderr as
&quot;TITLE: TEXT&quot;; the completion message names every file that did not print, and a line
&quot;brelix-cli print: FILE: REASON&quot; follows for each. While stderr is a terminal, one line there
shows the progress. Ctrl+C stops the run after the workbook being printed; a second Ctrl+C
ends the program.

</translation>
    </message>
    <message>
        <source>open and print</source>
        <translation>open and print</translation>
    </message>
</context>
<context>
    <name>PrintRun</name>
    <message>
        <source>対象ファイルを選択して下さい</source>
        <translation>Select the files first</translation>
    </message>
    <message>
        <source>選択無し</source>
        <translation>Nothing selected</translation>
    </message>
    <message>
        <source>最終確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>連続印刷中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>印刷が完了しました</source>
        <translation>Printing finished</translation>
    </message>
    <message>
        <source>印刷できなかったファイル：</source>
        <translation>Files not printed:</translation>
    </message>
    <message>
        <source>印刷完了通知</source>
        <translation>Printing finished</translation>
    </message>
</context>
<context>
    <name>PrintScope</name>
    <message>
        <source>全シート、全ページを印刷しますが、宜しいですか？</source>
        <translation>Print every page of every sheet?</translation>
    </message>
    <message>
        <source>１シート、全ページを印刷しますが、宜しいですか？</source>
        <translation>Print every page of the first sheet?</translation>
    </message>
    <message>
        <source>全シート、１ページを印刷しますが、宜しいですか？</source>
        <translation>Print the first page of every sheet?</translation>
    </message>
    <message>
        <source>１シート、１ページを印刷しますが、宜しいですか？</source>
        <translation>Print the first page of the first sheet?</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>フォルダ %1 を作成できません</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>フォルダ %1 が他のユーザーからも使えるため、LibreOffice を起動できません</source>
        <translation>Cannot start LibreOffice: other users can use the folder %1</translation>
    </message>
</context>
<context>
    <name>ProgramFolderSetup</name>
    <message>
        <source>フォルダ準備エラー</source>
        <translation>Folder setup error</translation>
    </message>
    <message>
        <source>設定 (Brelix.ini) と結果 (Brelix.xls, Brelix.grp) は保存されません。</source>
        <translation>Settings (Brelix.ini) and results (Brelix.xls, Brelix.grp) will not be saved.</translation>
    </message>
    <message>
        <source>個人用フォルダを作成できません。</source>
        <translation>Cannot create the per-user folder.</translation>
    </message>
    <message>
        <source>プログラムのフォルダに書き込めません。</source>
        <translation>Cannot write to the program&apos;s folder.</translation>
    </message>
    <message>
        <source>個人用フォルダに書き込めません。</source>
        <translation>Cannot write to the per-user folder.</translation>
    </message>
    <message>
        <source>Brelix_Format.xls がインストール先にありません。</source>
        <translation>Brelix_Format.xls is missing from the installation.</translation>
    </message>
    <message>
        <source>比較と検索はできません。Brelix を入れ直して下さい。</source>
        <translation>Compare and search will not work. Reinstall Brelix.</translation>
    </message>
    <message>
        <source>Brelix.html がインストール先にありません。</source>
        <translation>Brelix.html is missing from the installation.</translation>
    </message>
    <message>
        <source>ヘルプは表示できません。</source>
        <translation>The help cannot be shown.</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>LibreOffice起動中</source>
        <translation>Starting LibreOffice</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ResultsWorkbook</name>
    <message>
        <source>%1 がありません</source>
        <translation>%1 is missing</translation>
    </message>
    <message>
        <source>%1 が壊れています</source>
        <translation>%1 is damaged</translation>
    </message>
    <message>
        <source>シート名</source>
        <translation>Sheet name</translation>
    </message>
    <message>
        <source>シートNo</source>
        <translation>Sheet No</translation>
    </message>
    <message>
        <source>セル</source>
        <translation>Cell</translation>
    </message>
    <message>
        <source>ファイル1</source>
        <translation>File 1</translation>
    </message>
    <message>
        <source>ファイル2</source>
        <translation>File 2</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>セルの値</source>
        <translation>Cell value</translation>
    </message>
</context>
<context>
    <name>SearchPrintScreen</name>
    <message>
        <source>終了</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>検索文字：</source>
        <translation>Search for:</translation>
    </message>
    <message>
        <source>大小区別</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>検索時に大文字／小文字を区別する</source>
        <translation>Tell upper and lower case apart when searching</translation>
    </message>
    <message>
        <source>検索は値について行います式での検索は行いません。</source>
        <translation>The search looks at values, not formulas.</translation>
    </message>
    <message>
        <source>検索開始</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>ファイルを選択して「印刷開始」を選択して下さい</source>
        <translation>Select the files, then press &quot;Print&quot;</translation>
    </message>
    <message>
        <source>全シート全ページ</source>
        <translation>All sheets, all pages</translation>
    </message>
    <message>
        <source>全シートの全ページを印刷</source>
        <translation>Print every page of every sheet</translation>
    </message>
    <message>
        <source>１シート全ページ</source>
        <translation>First sheet, all pages</translation>
    </message>
    <message>
        <source>１枚目のシートの全ページを印刷</source>
        <translation>Print every page of the first sheet</translation>
    </message>
    <message>
        <source>全シート１ページ</source>
        <translation>All sheets, first page</translation>
    </message>
    <message>
        <source>全シートの１ページのみを印刷</source>
        <translation>Print only the first page of every sheet</translation>
    </message>
    <message>
        <source>１シート１ページ</source>
        <translation>First sheet, first page</translation>
    </message>
    <message>
        <source>１枚目のシートの１ページのみを印刷</source>
        <translation>Print only the first page of the first sheet</translation>
    </message>
    <message>
        <source>印刷開始</source>
        <translation>&amp;Print</translation>
    </message>
</context>
<context>
    <name>SearchResults</name>
    <message>
        <source>検索結果作成中</source>
        <translation>Making the search results</translation>
    </message>
    <message>
        <source>ファイルが大きすぎて、全て検索できませんでした。</source>
        <translation>The files are too large to search in full.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎて、全て検索できませんでした</source>
        <translation>The files are too large to search in full</translation>
    </message>
    <message>
        <source>比較中止</source>
        <translation>Search stopped</translation>
    </message>
    <message>
        <source>検索結果を作成できませんでした</source>
        <translation>Could not make the search results</translation>
    </message>
    <message>
        <source>見つかった箇所は %1 にあります</source>
        <translation>The hits are in %1</translation>
    </message>
    <message>
        <source>検索結果作成不可</source>
        <translation>No search results</translation>
    </message>
</context>
<context>
    <name>SearchRun</name>
    <message>
        <source>検索を中止しました</source>
        <translation>Search stopped</translation>
    </message>
    <message>
        <source>ユーザ中止要求</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>検索文字を入れてよ</source>
        <translation>Enter a text to search for</translation>
    </message>
    <message>
        <source>検索中止</source>
        <translation>Search stopped</translation>
    </message>
    <message>
        <source>対象ファイルを選択して下さい</source>
        <translation>Select the files first</translation>
    </message>
    <message>
        <source>選択無し</source>
        <translation>Nothing selected</translation>
    </message>
    <message>
        <source>実行不可能</source>
        <translation>Cannot run</translation>
    </message>
    <message>
        <source>%1 を作成できません</source>
        <translation>Cannot create %1</translation>
    </message>
    <message>
        <source>以下のシートまでは検索できました</source>
        <translation>Searched up to the sheet below</translation>
    </message>
    <message>
        <source>シートNo=%1  /  シート名=%2</source>
        <translation>Sheet No=%1  /  Sheet name=%2</translation>
    </message>
    <message>
        <source>検索中-F=%1/%2:%3:S=%4/%5</source>
        <translation>Searching F=%1/%2:%3:S=%4/%5</translation>
    </message>
    <message>
        <source>Sheet のパスワードエラーです</source>
        <translation>Wrong sheet password</translation>
    </message>
    <message>
        <source>次のファイルは開けないか読めないため、検索できませんでした</source>
        <translation>These files could not be opened or read, so they were not searched</translation>
    </message>
    <message>
        <source>検索できないファイル</source>
        <translation>Files not searched</translation>
    </message>
</context>
<context>
    <name>TerminalRunUi</name>
    <message>
        <source>brelix-cli: %1 has a protected sheet; its password is given with --password
</source>
        <translation>brelix-cli: %1 has a protected sheet; its password is given with --password
</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>２重起動で～す</source>
        <translation>Brelix is already running</translation>
    </message>
</context>
</TS>
