<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>显示详细信息...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>隐藏详细信息...</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>是(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>否(&amp;N)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>vt350-cli</name>
    <message>
        <source>vt350-cli: %1: not a .vtd, .csv or table file (.xlsx, .ods, .xls, .tsv, .txt)
</source>
        <translation>vt350-cli: %1：不是 .vtd、.csv 或表格文件（.xlsx、.ods、.xls、.tsv、.txt）
</translation>
    </message>
    <message>
        <source>vt350-cli: %1
</source>
        <translation>vt350-cli: %1
</translation>
    </message>
    <message>
        <source>usage: vt350-cli convert IN OUT.vtd [table options]
</source>
        <translation>用法：vt350-cli convert IN OUT.vtd [表格选项]
</translation>
    </message>
    <message>
        <source>vt350-cli: --split takes a table file (.xlsx, .ods, .xls, .csv, .tsv, .txt)
</source>
        <translation>vt350-cli: --split 只用于表格文件（.xlsx、.ods、.xls、.csv、.tsv、.txt）
</translation>
    </message>
    <message>
        <source>vt350-cli: %1 already exists; --force replaces it
</source>
        <translation>vt350-cli: %1 已存在；加 --force 可替换它
</translation>
    </message>
    <message>
        <source>vt350-cli: %1 already exist; --force replaces them
</source>
        <translation>vt350-cli: %1 已存在；加 --force 可替换它们
</translation>
    </message>
    <message>
        <source>vt350-cli: --force goes with --split
</source>
        <translation>vt350-cli: --force 须与 --split 一起使用
</translation>
    </message>
    <message>
        <source>show takes no --split</source>
        <translation>show 不接受 --split</translation>
    </message>
    <message>
        <source>usage: vt350-cli show IN [--labels] [--json]
</source>
        <translation>用法：vt350-cli show IN [--labels] [--json]
</translation>
    </message>
    <message>
        <source>vt350-cli: %1: nothing to show: no checked page has text
</source>
        <translation>vt350-cli: %1：没有可显示的内容：勾选的页都没有文字
</translation>
    </message>
    <message>
        <source>vt350-cli: %1: there is no label %2; the labels are 0 to %3
</source>
        <translation>vt350-cli: %1：没有第 %2 个标记；标记编号为 0 到 %3
</translation>
    </message>
    <message>
        <source>vt350-cli: the strip is %1 pixels long; draw at most %2 at a time with --from and --width
</source>
        <translation>vt350-cli: 标记条长 %1 像素；请用 --from 和 --width 每次最多画 %2 像素
</translation>
    </message>
    <message>
        <source>vt350-cli: %1: could not write the image
</source>
        <translation>vt350-cli: %1：无法写入图片
</translation>
    </message>
    <message>
        <source>usage: vt350-cli preview IN -o OUT.png [--from LABEL] [--width PX]
</source>
        <translation>用法：vt350-cli preview IN -o OUT.png [--from LABEL] [--width PX]
</translation>
    </message>
    <message>
        <source>vt350-cli: the shipped fonts could not be loaded
</source>
        <translation>vt350-cli: 无法加载程序自带的字体
</translation>
    </message>
    <message>
        <source>usage: vt350-cli COMMAND [ARGS]

Label jobs for the Vt350 tube printer, without a window.

commands:
  --help    show this text
</source>
        <translation>用法：vt350-cli COMMAND [ARGS]

无窗口处理 Vt350 线号打印机的打印任务。

命令：
  --help    显示本说明
</translation>
    </message>
    <message>
        <source>vt350-cli: unknown command &apos;%1&apos; (see --help)
</source>
        <translation>vt350-cli: 未知命令 &apos;%1&apos;（见 --help）
</translation>
    </message>
    <message>
        <source>usage: vt350-cli ports
</source>
        <translation>用法：vt350-cli ports
</translation>
    </message>
    <message>
        <source>usage: vt350-cli print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]
</source>
        <translation>用法：vt350-cli print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]
</translation>
    </message>
    <message>
        <source>vt350-cli: --from-page takes a page number from 1, not &apos;%1&apos;
</source>
        <translation>vt350-cli: --from-page 需要从 1 起的页号，而不是 &apos;%1&apos;
</translation>
    </message>
    <message>
        <source>vt350-cli: --port takes 1 to 99, not &apos;%1&apos;
</source>
        <translation>vt350-cli: --port 需要 1 到 99，而不是 &apos;%1&apos;
</translation>
    </message>
    <message>
        <source>vt350-cli: --from-page %1, but the job has %2 pages
</source>
        <translation>vt350-cli: --from-page %1，但任务只有 %2 页
</translation>
    </message>
    <message>
        <source>vt350-cli: the last print of this job stopped before page %1 of %2; going on from there
</source>
        <translation>vt350-cli: 上次打印此任务停在第 %1 页之前（共 %2 页）；从那里继续
</translation>
    </message>
    <message>
        <source>vt350-cli: the last print of this job stopped before page %1 of %2; printing every page (--resume goes on from there)
</source>
        <translation>vt350-cli: 上次打印此任务停在第 %1 页之前（共 %2 页）；现在打印全部页（--resume 从那里继续）
</translation>
    </message>
    <message>
        <source>trying port %1 (%2)
</source>
        <translation>正在尝试端口 %1（%2）
</translation>
    </message>
    <message>
        <source>vt350-cli: the print job ended before every page was sent
</source>
        <translation>vt350-cli: 打印任务在所有页发送完之前结束了
</translation>
    </message>
    <message>
        <source>vt350-cli: it stopped before page %1 of %2; --from-page %1 goes on from there
</source>
        <translation>vt350-cli: 停在第 %1 页之前（共 %2 页）；--from-page %1 可从那里继续
</translation>
    </message>
    <message>
        <source>vt350-cli: the stop is kept for this job; --resume goes on from there as well
</source>
        <translation>vt350-cli: 已为此任务记下停止位置；--resume 也可从那里继续
</translation>
    </message>
    <message>
        <source>usage: vt350-cli frame IN [--firmware TEXT] [-o FILE]
</source>
        <translation>用法：vt350-cli frame IN [--firmware TEXT] [-o FILE]
</translation>
    </message>
    <message>
        <source>vt350-cli: unknown firmware &apos;%1&apos; (FV1.000.01 to FV1.000.04)
</source>
        <translation>vt350-cli: 未知固件 &apos;%1&apos;（FV1.000.01 到 FV1.000.04）
</translation>
    </message>
    <message>
        <source>vt350-cli: cannot write %1: %2
</source>
        <translation>vt350-cli: 无法写入 %1：%2
</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 需要一个值</translation>
    </message>
    <message>
        <source>--separator takes &apos;,&apos;, &apos;;&apos; or &apos;tab&apos;, not &apos;%1&apos;</source>
        <translation>--separator 只接受 &apos;,&apos;、&apos;;&apos; 或 &apos;tab&apos;，而不是 &apos;%1&apos;</translation>
    </message>
    <message>
        <source> [answered No]</source>
        <translation> [已回答“否”]</translation>
    </message>
    <message>
        <source>Press Enter to continue (Ctrl+C stops).
</source>
        <translation>按 Enter 继续（Ctrl+C 停止）。
</translation>
    </message>
    <message>
        <source>pages sent: %1 of %2
</source>
        <translation>已发送页：%1 / %2
</translation>
    </message>
    <message>
        <source>  show IN --labels [--json]
            every label the job prints, in order: checked pages with text,
            repeats and numbered runs written out; one label a line, a tab
            between the two lines of a two-line label, marks as above.
            With --json an array of objects {page, line1, line2}.
  preview IN -o OUT.png [--from LABEL] [--width PX]
            draw the label strip as the window shows it, at 96 pixels per
            inch: the whole strip, or PX pixels of it from label number
            LABEL on (counted from 0 as show --labels lists them).
</source>
        <translation>  show IN --labels [--json]
            按顺序列出任务打印的每个标记：勾选且有文字的页，重复和序号
            逐一展开；每行一个标记，双行标记的两行之间用制表符，标记写法同上。
            加 --json 时输出对象数组 {page, line1, line2}。
  preview IN -o OUT.png [--from LABEL] [--width PX]
            按窗口中的样子画出标记条，每英寸 96 像素：整条，或从第 LABEL
            个标记起的 PX 像素（从 0 数起，同 show --labels 的顺序）。
</translation>
    </message>
    <message>
        <source>  ports     list the serial devices with their port numbers and whether a
            printer answers on each (a device path in VT350_DEVICE or in the
            key Device of ConSet.InI replaces the system&apos;s list)
  print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]
            print IN (.vtd or .csv, loaded as convert loads it) with the same
            exchange as the window. Without --device or --port the printer&apos;s
            port is searched as at the window&apos;s start. Firmware that does not
            continue by itself waits for Enter between segments, or goes on
            at once with --continue. Progress and messages on stderr; exit 0
            only when every page went out.
  frame IN [--firmware TEXT] [-o FILE]
            write the data frames the printer would receive for IN, segment
            after segment, as raw bytes to FILE or stdout (firmware default
            FV1.000.04).
</source>
        <translation>  ports     列出串口设备及其端口号，以及每个端口上是否有打印机应答
            （VT350_DEVICE 或 ConSet.InI 的 Device 键中的设备路径代替系统的列表）
  print IN [--device PATH | --port N] [--continue] [--from-page K | --resume]
            用与窗口相同的通信打印 IN（.vtd 或 .csv，读取方式同 convert）。
            不给 --device 或 --port 时，像窗口启动时那样查找打印机端口。
            不会自动继续的固件在各段之间等待按 Enter，加 --continue 则立即继续。
            进度和消息输出到 stderr；所有页都发出后退出码才为 0。
  frame IN [--firmware TEXT] [-o FILE]
            把打印机收到的 IN 的数据帧逐段以原始字节写到 FILE 或 stdout
            （固件默认 FV1.000.04）。
</translation>
    </message>
    <message>
        <source>  convert IN OUT.vtd
            start from a new job (one empty page, start-up settings), open IN
            when it ends in .vtd or import it when it ends in .csv, then save
            the job as OUT (&quot;.vtd&quot; is appended when OUT does not end in it;
            an existing OUT is replaced, an existing file of the completed
            name is left alone). Messages go to stderr, one per line. Exit 0
            when OUT was written.
  show IN [--json] [table options]
            read IN (.vtd or .csv, as convert does) and print one line per
            page, fields separated by tabs:
              page, 1st line, 2nd line, repeat, font size, frame, direction,
              zoom, length code, lengthDots, line1Dots, line2Dots, printCount
            Lengths are those Save would write (in printer dots, 12 per mm).
            With --json the same fields as a JSON array of objects; pages of a
            table also with the sheet rows they came from (&quot;rows&quot;) and, with
            --ends each, the end they mark (&quot;end&quot;: near, far, or both when
            merged from either).
            Marks in the text are written as:
              {sup} {sub}        superscript, subscript mark
              {n:0-999} {n:000-999} {n:A-Z} {n:a-z}   serial number
              {sym:NN}           electrical symbol NN (01..77)
              {xHH}              a control character, {{ a literal &apos;{&apos;
</source>
        <translation>  convert IN OUT.vtd
            从新任务开始（一张空页，启动时的设置），IN 以 .vtd 结尾时打开它，
            以 .csv 结尾时导入它，然后把任务保存为 OUT（OUT 不以 .vtd 结尾时
            补上 &quot;.vtd&quot;；已有的 OUT 会被替换，补全后的文件名若已存在则不动）。
            消息输出到 stderr，每条一行。写入 OUT 后退出码为 0。
  show IN [--json] [表格选项]
            读取 IN（.vtd 或 .csv，同 convert），每页输出一行，字段以制表符分隔：
              page, 1st line, 2nd line, repeat, font size, frame, direction,
              zoom, length code, lengthDots, line1Dots, line2Dots, printCount
            长度为保存时写入的值（打印机点数，每 mm 12 点）。
            加 --json 时以 JSON 对象数组输出相同字段；来自表格的页还带有
            它所来自的工作表行（&quot;rows&quot;），用了 --ends each 时还带有
            它所标记的一端（&quot;end&quot;：near 近端、far 远端，两端合并时为 both）。
            文字中的标记写作：
              {sup} {sub}        上标、下标标记
              {n:0-999} {n:000-999} {n:A-Z} {n:a-z}   序号
              {sym:NN}           电气符号 NN（01..77）
              {xHH}              控制字符，{{ 表示字符 &apos;{&apos;
</translation>
    </message>
    <message>
        <source>  table files: convert and show also read .xlsx, .ods and .xls workbooks
  and .tsv/.txt (or, with any of these options, .csv) delimited text:
    --sheet NAME|N   the sheet by name or by number from 1 (default 1)
    --header         the first row holds column names
    --line1 T --line2 T --repeat T
                     a column by letter (A) or header name (Source), or a
                     template such as {Source}-{Pin}; defaults A, B, C; an
                     empty repeat means 1
    --ends one|each  one mark per row (default), or one for each end of
                     the wire, the far end&apos;s from --far-line1 T,
                     --far-line2 T and --far-repeat T (defaults B, A, and
                     the repeat)
    --order wire|end both ends of a row together (default), or all near
                     ends, then all far ends
    --merge          pages of the same two lines become one, their
                     repeats added (over 100: pages of 100 and the rest)
    --sort sheet|natural
                     the sheet&apos;s order (default), or -X1:2 before -X1:10,
                     text in the order of the system&apos;s language
    --profile NAME   the choice saved under NAME (in the window or with
                     --save-profile); options given here change it
    --save-profile NAME
                     keep this choice under NAME for later runs
    --separator C    &apos;,&apos;, &apos;;&apos; or &apos;tab&apos; (default: found from the first lines)
    --split          (convert) write OUT-1.vtd, OUT-2.vtd, ... with at most
                     200 pages each instead of leaving rows out; refused,
                     naming them, when any of those files exist
    --force          (with --split) replace those files
</source>
        <translation>  表格文件：convert 和 show 也能读取 .xlsx、.ods、.xls 工作簿
  以及 .tsv/.txt（用了下列任一选项时也包括 .csv）分隔文本：
    --sheet NAME|N   按名称或从 1 起的序号选工作表（默认 1）
    --header         第一行是列名
    --line1 T --line2 T --repeat T
                     按字母（A）或列名（Source）指定列，或用模板，
                     如 {Source}-{Pin}；默认 A、B、C；重复为空表示 1
    --ends one|each  每行一个标记（默认），或线的每一端各一个；远端取自
                     --far-line1 T、--far-line2 T 和 --far-repeat T
                     （默认 B、A，以及与近端相同的重复）
    --order wire|end 同一行的两端相邻（默认），或先全部近端、再全部远端
    --merge          两行文字相同的页合并为一页，重复数相加
                     （超过 100 时分为若干个 100 页和余下的一页）
    --sort sheet|natural
                     按工作表顺序（默认），或自然顺序：-X1:2 在 -X1:10 之前，
                     文字按系统语言的排序
    --profile NAME   使用以 NAME 保存的选择（在窗口中或用 --save-profile
                     保存）；此处给出的选项会改变它
    --save-profile NAME
                     把这次的选择以 NAME 保存，供以后使用
    --separator C    &apos;,&apos;、&apos;;&apos; 或 &apos;tab&apos;（默认：从前几行判断）
    --split          （convert）写出 OUT-1.vtd、OUT-2.vtd ……，每个最多
                     200 页，而不舍弃多出的行；若其中有文件已存在，
                     则列出它们并拒绝
    --force          （与 --split 一起）替换这些文件
</translation>
    </message>
    <message>
        <source>%1 takes %2, not &apos;%3&apos;</source>
        <translation>%1 只接受 %2，而不是 &apos;%3&apos;</translation>
    </message>
    <message>
        <source>there is no import profile &quot;%1&quot; (in %2)</source>
        <translation>没有名为 &quot;%1&quot; 的导入方案（在 %2 中）</translation>
    </message>
    <message>
        <source>--save-profile needs a name</source>
        <translation>--save-profile 需要一个名称</translation>
    </message>
    <message>
        <source>the import profile cannot be saved: %1</source>
        <translation>无法保存导入方案：%1</translation>
    </message>
</context>
<context>
    <name>vt::AboutDialog</name>
    <message>
        <source>Veltra Tube Printer</source>
        <translation>Veltra 线号打印机</translation>
    </message>
    <message>
        <source>Version 1.21</source>
        <translation>版本 1.21</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>vt::AtomicWrite</name>
    <message>
        <source>the new file could not be completed.</source>
        <translation>新文件无法写完。</translation>
    </message>
</context>
<context>
    <name>vt::CellCommit</name>
    <message>
        <source>Font size is too big, not suitable for double line, please choose 1-3 fonts!</source>
        <translation>字号太大，不适合双行，请选择 1-3 号字！</translation>
    </message>
    <message>
        <source>Repetition should be in [1-%1] , setting  is  invalid!</source>
        <translation>重复次数应在 [1-%1] 之间，设置无效！</translation>
    </message>
    <message>
        <source>Input is over length!</source>
        <translation>输入超长！</translation>
    </message>
</context>
<context>
    <name>vt::ClipboardCommands</name>
    <message>
        <source>Row %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>the clipboard</source>
        <translation>剪贴板</translation>
    </message>
    <message>
        <source>pasted</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>%1 pasted pages were refused as typed: Input is over length!</source>
        <translation>%1 个粘贴的页按输入规则被拒绝：输入超长！</translation>
    </message>
</context>
<context>
    <name>vt::CodePage</name>
    <message>
        <source>%1: %2 cannot be printed</source>
        <translation>%1：%2 无法打印</translation>
    </message>
</context>
<context>
    <name>vt::CsvImport</name>
    <message>
        <source>Line %1: %2 bytes, over %3 with the separator</source>
        <translation>第 %1 行：%2 字节，连同分隔符超过 %3</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>Line %1: beyond the %2-page limit</source>
        <translation>第 %1 行：超出 %2 页的上限</translation>
    </message>
    <message>
        <source>... and %1 more lines</source>
        <translation>……另有 %1 行</translation>
    </message>
</context>
<context>
    <name>vt::DocumentCommands</name>
    <message>
        <source>Excel file(*.csv)</source>
        <translation>Excel 文件(*.csv)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 已存在。
要替换它吗？</translation>
    </message>
    <message>
        <source>Can not save file %1:
%2
An earlier file of this name is unchanged.</source>
        <translation>无法保存文件 %1：
%2
同名的原有文件未被改动。</translation>
    </message>
    <message>
        <source>Can not open file %1:
%2</source>
        <translation>无法打开文件 %1：
%2</translation>
    </message>
    <message>
        <source>Delete the current content?</source>
        <translation>删除当前内容吗？</translation>
    </message>
    <message>
        <source>A job holds at most %1 pages: %2 page of %3 was left out.</source>
        <translation>一个任务最多 %1 页：%3 中有 %2 页未载入。</translation>
    </message>
    <message>
        <source>A job holds at most %1 pages: %2 pages of %3 were left out.</source>
        <translation>一个任务最多 %1 页：%3 中有 %2 页未载入。</translation>
    </message>
    <message>
        <source>Please confirm that the input file have saved as .CSV file.</source>
        <translation>请确认输入文件已保存为 .CSV 文件。</translation>
    </message>
    <message>
        <source>Have %d Pages exceeds the limits,Page length is %d.</source>
        <translation>有 %d 页超出限制，页长为 %d。</translation>
    </message>
    <message>
        <source>1 line holds characters that cannot be printed; it was not imported.</source>
        <translation>有 1 行含有无法打印的字符，未导入。</translation>
    </message>
    <message>
        <source>%1 lines hold characters that cannot be printed; they were not imported.</source>
        <translation>有 %1 行含有无法打印的字符，未导入。</translation>
    </message>
    <message>
        <source>Can not open file!</source>
        <translation>无法打开文件！</translation>
    </message>
    <message>
        <source>Importing data,Please wait...</source>
        <translation>正在导入数据，请稍候……</translation>
    </message>
    <message>
        <source>%1 holds no line that can become a page; the job is unchanged.</source>
        <translation>%1 中没有可以成为页的行；任务未改动。</translation>
    </message>
    <message>
        <source>Get the MaxPage!
%1 more lines of %2 were not imported.</source>
        <translation>已达最大页数！
%2 中另有 %1 行未导入。</translation>
    </message>
</context>
<context>
    <name>vt::DocumentFile</name>
    <message>
        <source>the file is too short for a document header.</source>
        <translation>文件太短，不足一个文档头。</translation>
    </message>
    <message>
        <source>the file announces %1 pages.</source>
        <translation>文件声明有 %1 页。</translation>
    </message>
    <message>
        <source>the file ends inside page %1 of the %2 it announces.</source>
        <translation>文件在声明的 %2 页中的第 %1 页内就结束了。</translation>
    </message>
    <message>
        <source>page %1 has %2 bytes of text, more than %3.</source>
        <translation>第 %1 页的文字有 %2 字节，超过 %3。</translation>
    </message>
</context>
<context>
    <name>vt::ImportProfiles</name>
    <message>
        <source>%1 at byte %2</source>
        <translation>%1，位于第 %2 字节</translation>
    </message>
    <message>
        <source>it has no &quot;profiles&quot; list</source>
        <translation>其中没有 &quot;profiles&quot; 列表</translation>
    </message>
</context>
<context>
    <name>vt::ImportTableDialog</name>
    <message>
        <source>Import Table - %1</source>
        <translation>导入表格 - %1</translation>
    </message>
    <message>
        <source>&amp;Sheet:</source>
        <translation>工作表(&amp;S)：</translation>
    </message>
    <message>
        <source>&amp;First row holds column names</source>
        <translation>第一行是列名(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;1st line:</source>
        <translation>第一行(&amp;1)：</translation>
    </message>
    <message>
        <source>&amp;2nd line:</source>
        <translation>第二行(&amp;2)：</translation>
    </message>
    <message>
        <source>&amp;Repeat:</source>
        <translation>重复(&amp;R)：</translation>
    </message>
    <message>
        <source>A column by its letter or name, or a template such as {Source}-{Pin}; an empty repeat means 1.</source>
        <translation>填列的字母或列名，或模板，如 {Source}-{Pin}；重复为空表示 1。</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>行</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>页</translation>
    </message>
    <message>
        <source>1st Line</source>
        <translation>第一行</translation>
    </message>
    <message>
        <source>2nd Line</source>
        <translation>第二行</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>重复</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Split the rows into jobs of at most %1 pages (NAME-1.vtd, NAME-2.vtd, ...)</source>
        <translation>把各行拆成每个最多 %1 页的任务（NAME-1.vtd、NAME-2.vtd ……）</translation>
    </message>
    <message>
        <source>The rows give %1 pages; a job holds %2.
Split them into %3 jobs of at most %2 pages (No imports the first %2)?</source>
        <translation>这些行共 %1 页；一个任务最多 %2 页。
拆成 %3 个任务，每个最多 %2 页吗？（选“否”只导入前 %2 页）</translation>
    </message>
    <message>
        <source>Reading %1 ...</source>
        <translation>正在读取 %1 ……</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>已拒绝</translation>
    </message>
    <message>
        <source>near</source>
        <translation>近端</translation>
    </message>
    <message>
        <source>far</source>
        <translation>远端</translation>
    </message>
    <message>
        <source>both</source>
        <translation>两端</translation>
    </message>
    <message>
        <source>Pro&amp;file:</source>
        <translation>导入方案(&amp;F)：</translation>
    </message>
    <message>
        <source>Sa&amp;ve Profile...</source>
        <translation>保存方案(&amp;V)...</translation>
    </message>
    <message>
        <source>one</source>
        <translation>一个</translation>
    </message>
    <message>
        <source>one for each end</source>
        <translation>每端一个</translation>
    </message>
    <message>
        <source>&amp;Marks per row:</source>
        <translation>每行标记(&amp;M)：</translation>
    </message>
    <message>
        <source>Far end 1s&amp;t line:</source>
        <translation>远端第一行(&amp;T)：</translation>
    </message>
    <message>
        <source>Far end 2n&amp;d line:</source>
        <translation>远端第二行(&amp;D)：</translation>
    </message>
    <message>
        <source>Far end r&amp;epeat:</source>
        <translation>远端重复(&amp;E)：</translation>
    </message>
    <message>
        <source>by wire</source>
        <translation>按线</translation>
    </message>
    <message>
        <source>by end</source>
        <translation>按端</translation>
    </message>
    <message>
        <source>&amp;Order:</source>
        <translation>顺序(&amp;O)：</translation>
    </message>
    <message>
        <source>Mer&amp;ge identical marks</source>
        <translation>合并相同的标记(&amp;G)</translation>
    </message>
    <message>
        <source>as in the sheet</source>
        <translation>按工作表顺序</translation>
    </message>
    <message>
        <source>natural</source>
        <translation>自然顺序</translation>
    </message>
    <message>
        <source>Sort mar&amp;ks:</source>
        <translation>标记排序(&amp;K)：</translation>
    </message>
    <message>
        <source>Save Profile</source>
        <translation>保存方案</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>（无）</translation>
    </message>
    <message>
        <source>(none: %1)</source>
        <translation>（无：%1）</translation>
    </message>
    <message>
        <source>%1 (missing: %2)</source>
        <translation>%1（缺少：%2）</translation>
    </message>
    <message>
        <source>Keep this choice under the name:</source>
        <translation>将此选择保存为以下名称：</translation>
    </message>
    <message>
        <source>The profile cannot be saved: %1</source>
        <translation>无法保存方案：%1</translation>
    </message>
    <message>
        <source>End</source>
        <translation>端</translation>
    </message>
    <message>
        <source>From Rows</source>
        <translation>来自行</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 行</translation>
    </message>
    <message>
        <source>... %1 more</source>
        <translation>……另有 %1 行</translation>
    </message>
    <message>
        <source>Rows %1</source>
        <translation>第 %1 行</translation>
    </message>
</context>
<context>
    <name>vt::LabelStripView</name>
    <message>
        <source>Label strip</source>
        <translation>标记条</translation>
    </message>
</context>
<context>
    <name>vt::MainWindow</name>
    <message>
        <source>Vt350 Tube Printer_P1.03</source>
        <translation>Vt350 线号打印机_P1.03</translation>
    </message>
    <message>
        <source>Looking for the printer on port %1 (%2)...</source>
        <translation>正在端口 %1（%2）上查找打印机……</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>About KetraTest(&amp;A)...</source>
        <translation>关于 KetraTest(&amp;A)...</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>命令</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Supscript</source>
        <translation>上标</translation>
    </message>
    <message>
        <source>Subscript</source>
        <translation>下标</translation>
    </message>
    <message>
        <source>PrintView</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>File Information</source>
        <translation>文件信息</translation>
    </message>
    <message>
        <source>Tube</source>
        <translation>套管</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>标签</translation>
    </message>
    <message>
        <source>Heat Shrink Tube</source>
        <translation>热缩管</translation>
    </message>
    <message>
        <source>Nil</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Half-cut</source>
        <translation>半切</translation>
    </message>
    <message>
        <source>Cutting Line</source>
        <translation>切割线</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>居中</translation>
    </message>
    <message>
        <source>Left Alignment</source>
        <translation>左对齐</translation>
    </message>
    <message>
        <source>Material:</source>
        <translation>材料：</translation>
    </message>
    <message>
        <source>Material Parameter:</source>
        <translation>材料规格：</translation>
    </message>
    <message>
        <source>Cut Setting:</source>
        <translation>切割设置：</translation>
    </message>
    <message>
        <source>Spacing:</source>
        <translation>间距：</translation>
    </message>
    <message>
        <source>Arrange:</source>
        <translation>排列：</translation>
    </message>
    <message>
        <source>Density:</source>
        <translation>浓度：</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>份数：</translation>
    </message>
    <message>
        <source>Type Set</source>
        <translation>设置范围</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>当前页</translation>
    </message>
    <message>
        <source>Following Page</source>
        <translation>后续页</translation>
    </message>
    <message>
        <source>Page Information</source>
        <translation>页信息</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>长度</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Specify</source>
        <translation>指定</translation>
    </message>
    <message>
        <source>Specified length in mm</source>
        <translation>指定长度（mm）</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Set length</source>
        <translation>设置长度</translation>
    </message>
    <message>
        <source>Set repeat</source>
        <translation>设置重复</translation>
    </message>
    <message>
        <source>Repeat:</source>
        <translation>重复：</translation>
    </message>
    <message>
        <source>Font Size:</source>
        <translation>字号：</translation>
    </message>
    <message>
        <source>Auto Size</source>
        <translation>自动字号</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>缩放：</translation>
    </message>
    <message>
        <source>Frame:</source>
        <translation>边框：</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>边框</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>下划线</translation>
    </message>
    <message>
        <source>Direction:</source>
        <translation>方向：</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>横向</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>纵向</translation>
    </message>
    <message>
        <source>Set Number</source>
        <translation>设置序号</translation>
    </message>
    <message>
        <source>Choice Font</source>
        <translation>选择字体</translation>
    </message>
    <message>
        <source>Local Font</source>
        <translation>打印机字体</translation>
    </message>
    <message>
        <source>Computer Font</source>
        <translation>电脑字体</translation>
    </message>
    <message>
        <source>Computer font</source>
        <translation>电脑字体</translation>
    </message>
    <message>
        <source>Vt350 tube marks</source>
        <translation>Vt350 套管线号</translation>
    </message>
    <message>
        <source>Label strip</source>
        <translation>标记条</translation>
    </message>
    <message>
        <source>A print job is in progress. Please wait until it has finished.</source>
        <translation>正在打印。请等打印结束。</translation>
    </message>
    <message>
        <source>The printer is being looked for. Please wait a moment.</source>
        <translation>正在查找打印机。请稍候。</translation>
    </message>
    <message>
        <source>%1 is neither a document (.vtd) nor a text file to import (.csv).</source>
        <translation>%1 既不是文档（.vtd），也不是可导入的文本文件（.csv）。</translation>
    </message>
    <message>
        <source>The pages have been changed since they were last saved.
Save them before %1?</source>
        <extracomment>%1 is &quot;closing&quot; or an action such as &quot;opening FILE&quot;.</extracomment>
        <translation>页在上次保存后已更改。
%1前先保存吗？</translation>
    </message>
    <message>
        <source>closing</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>The pages of %1 were not saved when the program last ended (%2). Restore them?<byte value="xd"/>No deletes them; Cancel keeps them for the next start.</source>
        <translation>程序上次结束时（%2），%1 的页没有保存。要恢复吗？<byte value="xd"/>选“否”将删除它们；选“取消”则留到下次启动。</translation>
    </message>
    <message>
        <source>The unsaved pages cannot be kept in case the program ends unexpectedly (%1). Save the job to keep them.</source>
        <translation>未保存的页无法留存以防程序意外结束（%1）。请保存任务以保留它们。</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>最近打开(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>opening %1</source>
        <translation>打开 %1 </translation>
    </message>
    <message>
        <source>Tables (*.xlsx *.ods *.xls *.csv *.tsv *.txt);;Excel (*.xlsx *.xls);;OpenDocument (*.ods);;Text (*.csv *.tsv *.txt)</source>
        <translation>表格 (*.xlsx *.ods *.xls *.csv *.tsv *.txt);;Excel (*.xlsx *.xls);;OpenDocument (*.ods);;文本 (*.csv *.tsv *.txt)</translation>
    </message>
    <message>
        <source>Import &amp;Table...</source>
        <translation>导入表格(&amp;T)...</translation>
    </message>
    <message>
        <source>importing %1</source>
        <translation>导入 %1 </translation>
    </message>
</context>
<context>
    <name>vt::MarkText</name>
    <message>
        <source>superscript</source>
        <translation>上标</translation>
    </message>
    <message>
        <source>subscript</source>
        <translation>下标</translation>
    </message>
    <message>
        <source>serial number 0 to 999</source>
        <translation>序号 0 到 999</translation>
    </message>
    <message>
        <source>serial number 000 to 999</source>
        <translation>序号 000 到 999</translation>
    </message>
    <message>
        <source>serial letter A to Z</source>
        <translation>字母序号 A 到 Z</translation>
    </message>
    <message>
        <source>serial letter a to z</source>
        <translation>字母序号 a 到 z</translation>
    </message>
    <message>
        <source>symbol %1</source>
        <translation>符号 %1</translation>
    </message>
</context>
<context>
    <name>vt::Message</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>vt::NumberDialog</name>
    <message>
        <source>Set Number</source>
        <translation>设置序号</translation>
    </message>
    <message>
        <source>Select Numbering Types</source>
        <translation>选择序号类型</translation>
    </message>
    <message>
        <source>Serial number:            0-999</source>
        <translation>序号：            0-999</translation>
    </message>
    <message>
        <source>Format serial number:000-999</source>
        <translation>定宽序号：000-999</translation>
    </message>
    <message>
        <source>Uppercase serial number: A-Z</source>
        <translation>大写字母序号：A-Z</translation>
    </message>
    <message>
        <source>Lowercase serial number: a-z</source>
        <translation>小写字母序号：a-z</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>OK(&amp;O)</source>
        <translation>确定(&amp;O)</translation>
    </message>
    <message>
        <source>Cancel(&amp;C)</source>
        <translation>取消(&amp;C)</translation>
    </message>
    <message>
        <source>Please input start number!</source>
        <translation>请输入起始号！</translation>
    </message>
    <message>
        <source>Please input end number!</source>
        <translation>请输入结束号！</translation>
    </message>
</context>
<context>
    <name>vt::PageCommands</name>
    <message>
        <source>Get the MaxPage!</source>
        <translation>已达最大页数！</translation>
    </message>
</context>
<context>
    <name>vt::PageTable</name>
    <message>
        <source>Pages</source>
        <translation>页</translation>
    </message>
    <message>
        <source>Page columns</source>
        <translation>页的列</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>单元格</translation>
    </message>
</context>
<context>
    <name>vt::PageTableModel</name>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>边框</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>下划线</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>横向</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>纵向</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>页</translation>
    </message>
    <message>
        <source>1st Line</source>
        <translation>第一行</translation>
    </message>
    <message>
        <source>2nd Line</source>
        <translation>第二行</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>重复</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>字号</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>printed</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>not printed</source>
        <translation>不打印</translation>
    </message>
    <message>
        <source>current page</source>
        <translation>当前页</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>全部打印</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>当前</translation>
    </message>
</context>
<context>
    <name>vt::PrintJob</name>
    <message>
        <source>Currently printing to %1 segment. When the printing is finished, <byte value="xd"/>it will continue to print automatically</source>
        <translation>本段正在打印到第 %1 页。打印完后，<byte value="xd"/>将自动继续打印</translation>
    </message>
    <message>
        <source>Currently printing to %1 segment. When the printing is finished,<byte value="xd"/>please select &quot;Continue&quot; again</source>
        <translation>本段正在打印到第 %1 页。打印完后，<byte value="xd"/>请再按“继续”</translation>
    </message>
    <message>
        <source>Currently printing to %1 segment. When the printing is finished, <byte value="xd"/>please select &quot;Continue&quot; again</source>
        <translation>本段正在打印到第 %1 页。打印完后，<byte value="xd"/>请再按“继续”</translation>
    </message>
    <message>
        <source>All print contents have been transmitted, please wait for the print to finish</source>
        <translation>打印内容已全部发送，请等待打印结束</translation>
    </message>
    <message>
        <source>Printer is not connect to the PC. Please Checked,then Print Again!</source>
        <translation>打印机没有连接到电脑。请检查后重新打印！</translation>
    </message>
    <message>
        <source>Transmitting next print data</source>
        <translation>正在发送下一段打印数据</translation>
    </message>
    <message>
        <source>Unsuccessfully to open the serial port,<byte value="xd"/>make sure that the printer has the correct connect to the PC!</source>
        <translation>打开串口失败，<byte value="xd"/>请确认打印机已正确连接到电脑！</translation>
    </message>
    <message>
        <source>The connection to the printer was lost (%1).<byte value="xd"/>The print job has been stopped.</source>
        <translation>与打印机的连接已断开（%1）。<byte value="xd"/>打印任务已停止。</translation>
    </message>
    <message>
        <source>Ribbon is unavailing, Please replace a good one and try again</source>
        <translation>色带不可用，请换上好的色带后重试</translation>
    </message>
    <message>
        <source>Open the serial port error!</source>
        <translation>打开串口出错！</translation>
    </message>
    <message>
        <source>Print data is being processed...</source>
        <translation>正在处理打印数据……</translation>
    </message>
    <message>
        <source>Reading the printer status...</source>
        <translation>正在读取打印机状态……</translation>
    </message>
    <message>
        <source>PC is busy now!</source>
        <translation>电脑正忙！</translation>
    </message>
    <message>
        <source>Transmitting print data...</source>
        <translation>正在发送打印数据……</translation>
    </message>
    <message>
        <source>No Print Contents!</source>
        <translation>没有打印内容！</translation>
    </message>
    <message>
        <source>The print data could not be sent to the printer (%1).<byte value="xd"/>The print job has been stopped.</source>
        <translation>打印数据无法发送到打印机（%1）。<byte value="xd"/>打印任务已停止。</translation>
    </message>
</context>
<context>
    <name>vt::PrintResume</name>
    <message>
        <source>The last print of this job stopped before page %1 of %2. Continue from page %1? (No prints all pages)</source>
        <translation>此任务上次打印停在第 %1 页之前（共 %2 页）。从第 %1 页继续吗？（选“否”打印全部页）</translation>
    </message>
</context>
<context>
    <name>vt::ProgressView</name>
    <message>
        <source>about %1 s left</source>
        <translation>约剩 %1 秒</translation>
    </message>
    <message>
        <source>about %1 min %2 s left</source>
        <translation>约剩 %1 分 %2 秒</translation>
    </message>
</context>
<context>
    <name>vt::ProgressWindow</name>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Print data is being processed...</source>
        <translation>正在处理打印数据……</translation>
    </message>
</context>
<context>
    <name>vt::RefusalDetails</name>
    <message>
        <source>Page %1, %2 line: %3 mm too long for its length of %4 mm</source>
        <translation>第 %1 页%2：比页长 %4 mm 长了 %3 mm</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>第二行</translation>
    </message>
    <message>
        <source>1st</source>
        <translation>第一行</translation>
    </message>
    <message>
        <source>Page %1: %2</source>
        <translation>第 %1 页：%2</translation>
    </message>
</context>
<context>
    <name>vt::RunLock</name>
    <message>
        <source>held by a running program</source>
        <translation>被正在运行的程序占用</translation>
    </message>
    <message>
        <source>the lock file keeps changing</source>
        <translation>锁文件一直在变化</translation>
    </message>
</context>
<context>
    <name>vt::SerialConfig</name>
    <message>
        <source>The serial port %1 cannot be opened: permission denied.</source>
        <translation>无法打开串口 %1：没有权限。</translation>
    </message>
    <message>
        <source><byte value="xd"/>Add your user to the group &quot;%1&quot; that owns it (sudo usermod -aG %1 $USER), then log out and log in again.</source>
        <translation><byte value="xd"/>请把你的用户加入拥有它的用户组“%1”（sudo usermod -aG %1 $USER），然后注销并重新登录。</translation>
    </message>
</context>
<context>
    <name>vt::SettingRules</name>
    <message>
        <source>two lines</source>
        <translation>双行</translation>
    </message>
    <message>
        <source>The material not suitable for double-line, have %d  pages set double！</source>
        <translation>该材料不适合双行，有 %d 页设为双行！</translation>
    </message>
    <message>
        <source>Copies should be in [1-%d] , setting  is  invalid!</source>
        <translation>份数应在 [1-%d] 之间，设置无效！</translation>
    </message>
    <message>
        <source>automatic font size</source>
        <translation>自动字号</translation>
    </message>
    <message>
        <source>Have %d page is automatic font size, can&apos;t set auto length, Setting is invalid!</source>
        <translation>有 %d 页为自动字号，不能设为自动长度，设置无效！</translation>
    </message>
    <message>
        <source>Segment Lenth should be in (6-%d)!</source>
        <translation>段长应在 (6-%d) 之间！</translation>
    </message>
    <message>
        <source>Have %d page exceeds the limits of length, Setting is invalid!</source>
        <translation>有 %d 页超出长度限制，设置无效！</translation>
    </message>
    <message>
        <source>Repetition should be in (1-%d)!</source>
        <translation>重复次数应在 (1-%d) 之间！</translation>
    </message>
    <message>
        <source>automatic length</source>
        <translation>自动长度</translation>
    </message>
    <message>
        <source>font size above %1 for this medium</source>
        <translation>字号超过此材料允许的 %1</translation>
    </message>
    <message>
        <source>Have %d page set automatic length, can not set automatic font size! <byte value="xd"/>
</source>
        <translation>有 %d 页设为自动长度，不能设为自动字号！<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Have %d page exceeds the limits of length, select the other font size! <byte value="xd"/>
</source>
        <translation>有 %d 页超出长度限制，请选择其他字号！<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Have %d page&apos;s font size exceeds the limits of selected medium size, please select other font size!<byte value="xd"/>
</source>
        <translation>有 %d 页的字号超出所选材料规格的限制，请选择其他字号！<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Have %d page&apos;s font size not suitable for the double lines ,please select other font size<byte value="xd"/>
</source>
        <translation>有 %d 页的字号不适合双行，请选择其他字号<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Have %d page exceeds the limits of length, select the other font size !<byte value="xd"/>
</source>
        <translation>有 %d 页超出长度限制，请选择其他字号！<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Have %d page exceeds the limits of length.<byte value="xd"/>
 It is invalid to set the direction,<byte value="xd"/>
 please reset it.</source>
        <translation>有 %d 页超出长度限制。<byte value="xd"/>
 方向设置无效，<byte value="xd"/>
 请重新设置。</translation>
    </message>
</context>
<context>
    <name>vt::TableCommands</name>
    <message>
        <source>Can not import %1: %2; the job is unchanged.</source>
        <translation>无法导入 %1：%2；任务未改动。</translation>
    </message>
    <message>
        <source>it holds no row that can become a page</source>
        <translation>其中没有可以成为页的行</translation>
    </message>
    <message>
        <source>sheet &quot;%1&quot; holds no row that can become a page</source>
        <translation>工作表“%1”中没有可以成为页的行</translation>
    </message>
    <message>
        <source>%1 files of this split already exist in %2: %3.
Do you want to replace them?</source>
        <translation>%2 中已有此次拆分的 %1 个文件：%3。
要替换它们吗？</translation>
    </message>
    <message>
        <source>Can not save file %1.</source>
        <translation>无法保存文件 %1。</translation>
    </message>
</context>
<context>
    <name>vt::TableImport</name>
    <message>
        <source>there is no column &quot;%1&quot; (text around columns goes in a template, such as {A}-{B})</source>
        <translation>没有“%1”列（列前后的文字请写成模板，如 {A}-{B}）</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has a &quot;{&quot; without its &quot;}&quot; (a brace itself is written {{)</source>
        <translation>“%1”中有“{”却没有对应的“}”（花括号本身写作 {{）</translation>
    </message>
    <message>
        <source>there is no column &quot;%1&quot;</source>
        <translation>没有“%1”列</translation>
    </message>
    <message>
        <source>it has no sheet &quot;%1&quot;</source>
        <translation>其中没有工作表“%1”</translation>
    </message>
    <message>
        <source>it has no sheet %1</source>
        <translation>其中没有第 %1 个工作表</translation>
    </message>
    <message>
        <source>the reading was stopped</source>
        <translation>读取已停止</translation>
    </message>
    <message>
        <source>... and %1 more rows</source>
        <translation>……另有 %1 行</translation>
    </message>
    <message>
        <source>%1 bytes, over %2</source>
        <translation>%1 字节，超过 %2</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>空</translation>
    </message>
    <message>
        <source>beyond the %1-page limit</source>
        <translation>超出 %1 页的上限</translation>
    </message>
    <message>
        <source>%1 rows: %2 pages</source>
        <translation>%1 行：%2 页</translation>
    </message>
    <message>
        <source>%1 rows: %2 page</source>
        <translation>%1 行：%2 页</translation>
    </message>
    <message>
        <source>%1 row: %2 pages</source>
        <translation>%1 行：%2 页</translation>
    </message>
    <message>
        <source>%1 row: %2 page</source>
        <translation>%1 行：%2 页</translation>
    </message>
    <message>
        <source>, %1 refused</source>
        <translation>，%1 行被拒绝</translation>
    </message>
    <message>
        <source>, %1 beyond the %2-page limit</source>
        <translation>，%1 行超出 %2 页的上限</translation>
    </message>
    <message>
        <source>imported</source>
        <extracomment>What was done to the rows, as in &quot;3 rows of wires.xlsx were not imported&quot;.</extracomment>
        <translation>导入</translation>
    </message>
    <message>
        <source>%1 over %2 bytes</source>
        <translation>%1 行超过 %2 字节</translation>
    </message>
    <message>
        <source>%1 empty</source>
        <translation>%1 行为空</translation>
    </message>
    <message>
        <source>%1 with characters that cannot be printed</source>
        <translation>%1 行含有无法打印的字符</translation>
    </message>
    <message>
        <source>%1 beyond the %2-page limit</source>
        <translation>%1 行超出 %2 页的上限</translation>
    </message>
    <message>
        <source>%1 row of %2 was not %3: %4.</source>
        <translation>%2 中有 %1 行未%3：%4。</translation>
    </message>
    <message>
        <source>%1 rows of %2 were not %3: %4.</source>
        <translation>%2 中有 %1 行未%3：%4。</translation>
    </message>
    <message>
        <source>the far end&apos;s fields: %1</source>
        <translation>远端的字段：%1</translation>
    </message>
    <message>
        <source>Row %1, near end</source>
        <translation>第 %1 行，近端</translation>
    </message>
    <message>
        <source>Row %1, far end</source>
        <translation>第 %1 行，远端</translation>
    </message>
    <message>
        <source>Row %1, both ends</source>
        <translation>第 %1 行，两端</translation>
    </message>
    <message>
        <source>Row %1</source>
        <translation>第 %1 行</translation>
    </message>
    <message>
        <source>%1: %2 bytes, over %3 with the separator</source>
        <translation>%1：%2 字节，连分隔符超过 %3</translation>
    </message>
    <message>
        <source>%1: empty</source>
        <translation>%1：空</translation>
    </message>
    <message>
        <source>%1: beyond the %2-page limit</source>
        <translation>%1：超出 %2 页上限</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>near end: %1</source>
        <translation>近端：%1</translation>
    </message>
    <message>
        <source>far end: %1</source>
        <translation>远端：%1</translation>
    </message>
</context>
<context>
    <name>vt::TablePreview</name>
    <message>
        <source>the sheet was not kept</source>
        <translation>工作表未保留</translation>
    </message>
    <message>
        <source>reading it needs more memory than there is (refused)</source>
        <translation>读取它需要的内存超过现有内存（已拒绝）</translation>
    </message>
</context>
<context>
    <name>vt::TableReader</name>
    <message>
        <source>it can not be read</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>a text file has one sheet only</source>
        <translation>文本文件只有一个工作表</translation>
    </message>
    <message>
        <source>it is not an Excel workbook (.xlsx)</source>
        <translation>它不是 Excel 工作簿（.xlsx）</translation>
    </message>
    <message>
        <source>it is not an OpenDocument spreadsheet (.ods)</source>
        <translation>它不是 OpenDocument 电子表格（.ods）</translation>
    </message>
    <message>
        <source>it is not an Excel 97-2003 workbook (.xls)</source>
        <translation>它不是 Excel 97-2003 工作簿（.xls）</translation>
    </message>
    <message>
        <source>it is a workbook or an archive, not text</source>
        <translation>它是工作簿或压缩包，不是文本</translation>
    </message>
    <message>
        <source>it is not a table file (.xlsx, .ods, .xls, .csv, .tsv, .txt)</source>
        <translation>它不是表格文件（.xlsx、.ods、.xls、.csv、.tsv、.txt）</translation>
    </message>
    <message>
        <source>the workbook is damaged or cut short</source>
        <translation>工作簿已损坏或不完整</translation>
    </message>
    <message>
        <source>the workbook is encrypted (protected by a password)</source>
        <translation>工作簿已加密（有密码保护）</translation>
    </message>
    <message>
        <source>its XML declares entities, which no workbook needs (refused)</source>
        <translation>其中的 XML 声明了实体，工作簿不需要这些（已拒绝）</translation>
    </message>
    <message>
        <source>its parts would unpack to more than %1 MB (refused)</source>
        <translation>其内容解压后将超过 %1 MB（已拒绝）</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>无法读取（%1）</translation>
    </message>
    <message>
        <source>it is an Excel 5.0/95 workbook, which this program cannot read; open it in a spreadsheet program and save it as .xlsx</source>
        <translation>它是本程序无法读取的 Excel 5.0/95 工作簿；请在电子表格程序中打开并另存为 .xlsx</translation>
    </message>
    <message>
        <source>it is an Excel 97-2003 workbook that keeps its sheets under the name &quot;%1&quot;, which this program cannot read; open it in a spreadsheet program and save it as .xlsx</source>
        <translation>它是把工作表存放在“%1”名下的 Excel 97-2003 工作簿，本程序无法读取；请在电子表格程序中打开并另存为 .xlsx</translation>
    </message>
    <message>
        <source>it is not an Excel 97-2003 workbook (.xls) but a document of another kind</source>
        <translation>它不是 Excel 97-2003 工作簿（.xls），而是其他类型的文档</translation>
    </message>
    <message>
        <source>a temporary copy could not be written</source>
        <translation>无法写入临时副本</translation>
    </message>
    <message>
        <source>the .xls reader %1 did not start</source>
        <translation>.xls 读取程序 %1 没有启动</translation>
    </message>
    <message>
        <source>the .xls reader wrote what is not a record</source>
        <translation>.xls 读取程序输出了无效的记录</translation>
    </message>
    <message>
        <source>the .xls reader failed on it</source>
        <translation>.xls 读取程序读取失败</translation>
    </message>
    <message>
        <source>reading it took too long</source>
        <translation>读取时间过长</translation>
    </message>
    <message>
        <source>the .xls reader wrote a bad row</source>
        <translation>.xls 读取程序输出了错误的行</translation>
    </message>
    <message>
        <source>the .xls reader wrote a bad cell</source>
        <translation>.xls 读取程序输出了错误的单元格</translation>
    </message>
</context>
<context>
    <name>vt::TextLimit</name>
    <message>
        <source>Pages %1 hold characters that cannot be printed: %2. They would be saved as &quot;?&quot;.
Save anyway?</source>
        <translation>第 %1 页含有无法打印的字符：%2。这些字符将保存为“?”。
仍要保存吗？</translation>
    </message>
    <message>
        <source>Page %1 holds characters that cannot be printed: %2. They would be saved as &quot;?&quot;.
Save anyway?</source>
        <translation>第 %1 页含有无法打印的字符：%2。这些字符将保存为“?”。
仍要保存吗？</translation>
    </message>
    <message>
        <source>Pages %1 hold characters that cannot be printed: %2. They would be printed as &quot;?&quot;.
Print anyway?</source>
        <translation>第 %1 页含有无法打印的字符：%2。这些字符将打印为“?”。
仍要打印吗？</translation>
    </message>
    <message>
        <source>Page %1 holds characters that cannot be printed: %2. They would be printed as &quot;?&quot;.
Print anyway?</source>
        <translation>第 %1 页含有无法打印的字符：%2。这些字符将打印为“?”。
仍要打印吗？</translation>
    </message>
    <message>
        <source>The texts of pages %1 are longer than %2 bytes: only their first %2 bytes would be saved.
Save anyway?</source>
        <translation>第 %1 页的文字超过 %2 字节：只会保存前 %2 字节。
仍要保存吗？</translation>
    </message>
    <message>
        <source>The text of page %1 is longer than %2 bytes: only its first %2 bytes would be saved.
Save anyway?</source>
        <translation>第 %1 页的文字超过 %2 字节：只会保存前 %2 字节。
仍要保存吗？</translation>
    </message>
    <message>
        <source>The texts of pages %1 are longer than %2 bytes: only their first %2 bytes would be printed.
Print anyway?</source>
        <translation>第 %1 页的文字超过 %2 字节：只会打印前 %2 字节。
仍要打印吗？</translation>
    </message>
    <message>
        <source>The text of page %1 is longer than %2 bytes: only its first %2 bytes would be printed.
Print anyway?</source>
        <translation>第 %1 页的文字超过 %2 字节：只会打印前 %2 字节。
仍要打印吗？</translation>
    </message>
</context>
</TS>
