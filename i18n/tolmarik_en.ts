<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>app</name>
    <message>
        <source>О программе: </source>
        <translation>About: </translation>
    </message>
    <message>
        <source>Версия: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Компания: </source>
        <translation>Company: </translation>
    </message>
    <message>
        <source>Автор: </source>
        <translation>Author: </translation>
    </message>
    <message>
        <source>--port: нужно имя порта или путь</source>
        <translation>--port wants a port name or path</translation>
    </message>
    <message>
        <source>--transcript: нужно имя файла</source>
        <translation>--transcript wants a file name</translation>
    </message>
    <message>
        <source>неизвестный параметр %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>открыть можно только один файл, указаны %1 и %2</source>
        <translation>one file at a time, got %1 and %2</translation>
    </message>
    <message>
        <source>%1 не файл настроек (.bcf) и не полёт (.igc, .gpx)</source>
        <translation>%1 is no settings file (.bcf) or flight (.igc, .gpx)</translation>
    </message>
    <message>
        <source>Использование: %1 [--port ПОРТ] [ФАЙЛ]
Настраивает GPS-приборы Tolmarik для полётов: считывает и записывает их
настройки, показывает статистику полёта, скачивает треки, обновляет прошивку.

ФАЙЛ: файл настроек (.bcf), который откроется, как из меню «Файл», или
полёт (.igc, .gpx), который попадёт в журнал и откроется там.

Параметры:
  -h, --help       Показать эту справку и выйти.
  -v, --version    Показать версию и выйти.
  --port ПОРТ      Взять ПОРТ в этот раз, не запоминая его
                   (имя, например ttyUSB0, или путь, например /dev/pts/3).
  --transcript ФАЙЛ  Дописывать в ФАЙЛ каждый байт, посланный прибору
                   и полученный от него, со временем (для сообщения об ошибке).

Параметры библиотеки Qt (например -platform, -style) передаются ей.
</source>
        <translation>Usage: %1 [--port PORT] [FILE]
Configures Tolmarik GPS flight instruments: reads and writes their settings,
shows flight statistics, downloads tracks, updates the firmware.

FILE: a settings file (.bcf) to open as the File menu opens one, or a
flight (.igc, .gpx) to take into the logbook and show there.

Options:
  -h, --help       Show this help and exit.
  -v, --version    Show the version and exit.
  --port PORT      Use PORT for this run without storing it
                   (a name such as ttyUSB0 or a path such as /dev/pts/3).
  --transcript FILE  Append every byte sent to and received from the
                   instrument, with times, to FILE (for a bug report).

Options of the Qt toolkit (e.g. -platform, -style) are passed on to it.
</translation>
    </message>
    <message>
        <source>%1: %2; см. --help</source>
        <translation>%1: %2; see --help</translation>
    </message>
    <message>
        <source>Полет записан в журнал полётов</source>
        <translation>Flight recorded in the logbook</translation>
    </message>
    <message>
        <source>Этот полет уже есть в журнале полётов</source>
        <translation>This flight is already in the logbook</translation>
    </message>
    <message>
        <source>Файл конфигурации прибора (*.bcf)</source>
        <translation>Instrument configuration file (*.bcf)</translation>
    </message>
    <message>
        <source>Настройки по умолчанию загружены только в окно; в прибор они попадут по кнопке &quot;Записать&quot;</source>
        <translation>Default settings are loaded into the window only; they reach the instrument with the &quot;Write&quot; button</translation>
    </message>
    <message>
        <source>Идет обмен с прибором. Выйти из программы, не дожидаясь его конца?</source>
        <translation>Talking to the instrument. Quit without waiting for it to finish?</translation>
    </message>
    <message>
        <source>Последовательный порт</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>Дополнительный порт</source>
        <translation>Extra port</translation>
    </message>
</context>
<context>
    <name>app::TFormPilot</name>
    <message>
        <source>Пилот</source>
        <translation>Pilot</translation>
    </message>
    <message>
        <source>Имя пилота:</source>
        <translation>Pilot name:</translation>
    </message>
    <message>
        <source>Модель крыла:</source>
        <translation>Glider model:</translation>
    </message>
    <message>
        <source>Номер крыла:</source>
        <translation>Glider ID:</translation>
    </message>
    <message>
        <source>Соревновательный номер:</source>
        <translation>Competition ID:</translation>
    </message>
    <message>
        <source>Записывается в каждый новый файл IGC (русские буквы - латиницей) и в журнал.</source>
        <translation>Written into every new IGC file (Cyrillic letters in Latin) and into the logbook.</translation>
    </message>
</context>
<context>
    <name>app::TMainForm</name>
    <message>
        <source>Начало работы: 
- присоедините устройство
- выберите порт,
- нажмите кнопку &quot;Считать&quot;</source>
        <translation>Getting started: 
- connect the instrument
- choose the port,
- press the &quot;Read&quot; button</translation>
    </message>
    <message>
        <source>Считать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Записать</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Сброс по умолчанию</source>
        <translation>Reset to defaults</translation>
    </message>
    <message>
        <source>Открыть...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Открыть настройки из файла</source>
        <translation>Open settings from a file</translation>
    </message>
    <message>
        <source>С&amp;охранить как...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>Сохранить конфигурацию</source>
        <translation>Save the configuration</translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Закрыть программу</source>
        <translation>Close the program</translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Обновить прошивку</source>
        <translation>Update firmware</translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Прибор</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>Выберите действие с приборами</source>
        <translation>Choose an action with the instruments</translation>
    </message>
    <message>
        <source>Журнал</source>
        <translation>Logbook</translation>
    </message>
    <message>
        <source>Пилот...</source>
        <translation>Pilot...</translation>
    </message>
    <message>
        <source>П&amp;омощь</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Язык сменится при следующем запуске программы</source>
        <translation>The language changes the next time the program starts</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Сброс</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Сброс настроек прибора по умолчанию</source>
        <translation>Reset the instrument settings to defaults</translation>
    </message>
    <message>
        <source>Подключенный прибор:
%1,
данным программатором не поддерживается</source>
        <translation>The connected instrument:
%1,
is not supported by this program</translation>
    </message>
    <message>
        <source>Ошибка </source>
        <translation>Error </translation>
    </message>
    <message>
        <source>Файл открыт: </source>
        <translation>File opened: </translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message>
        <source>Ответ: да (--yes)</source>
        <translation>Answer: yes (--yes)</translation>
    </message>
    <message>
        <source>Некому ответить: стандартный ввод не терминал. Чтобы подтвердить изменение, добавьте --yes</source>
        <translation>Nobody to answer: the standard input is not a terminal. To confirm the change, add --yes</translation>
    </message>
    <message>
        <source>[да/нет]: </source>
        <translation>[yes/no]: </translation>
    </message>
    <message>
        <source>Часовой пояс: целое число часов от %1 до +%2 (например 3, -5, +14).</source>
        <translation>The time zone is a whole number of hours from %1 to +%2 (e.g. 3, -5, +14).</translation>
    </message>
    <message>
        <source>Настройки прибора не сохранены: %1. Чтобы обновить прошивку без их копии, добавьте --no-backup</source>
        <translation>The instrument settings were not saved: %1. To update the firmware without a copy of them, add --no-backup</translation>
    </message>
    <message>
        <source>Вернуть сохраненные настройки: tolmarik-cli %1 write %2</source>
        <translation>To restore the saved settings: tolmarik-cli %1 write %2</translation>
    </message>
    <message>
        <source>Не порт: %1</source>
        <translation>Not a port: %1</translation>
    </message>
    <message>
        <source>Не удалось открыть файл протокола обмена %1: %2</source>
        <translation>Could not open the transcript file %1: %2</translation>
    </message>
    <message>
        <source>Последовательные порты не найдены</source>
        <translation>No serial ports found</translation>
    </message>
    <message>
        <source>адаптер</source>
        <translation>adapter</translation>
    </message>
    <message>
        <source>Нет портов с адаптером прибора</source>
        <translation>No port with an instrument adapter</translation>
    </message>
    <message>
        <source>Прибор найден на порту %1</source>
        <translation>Instrument found on port %1</translation>
    </message>
    <message>
        <source>Прибор не найден ни на одном порту</source>
        <translation>No instrument found on any port</translation>
    </message>
    <message>
        <source>Модель: %1 (%2)</source>
        <translation>Model: %1 (%2)</translation>
    </message>
    <message>
        <source>Настройки:</source>
        <translation>Settings:</translation>
    </message>
    <message>
        <source>Модель: %1</source>
        <translation>Model: %1</translation>
    </message>
    <message>
        <source>Версия: %1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>сект.</source>
        <translation>sect.</translation>
    </message>
    <message>
        <source>стр.</source>
        <translation>pg.</translation>
    </message>
    <message>
        <source>Не удалось построить рисунок</source>
        <translation>Could not draw the picture</translation>
    </message>
    <message>
        <source>См. --help.</source>
        <translation>See --help.</translation>
    </message>
    <message>
        <source>Полет №%1, сектор %2 (%3 из %4)</source>
        <translation>Flight #%1, sector %2 (%3 of %4)</translation>
    </message>
    <message>
        <source>--flight: нужно число от 0 до 65535.</source>
        <translation>--flight wants a number from 0 to 65535.</translation>
    </message>
    <message>
        <source>%1 сект.</source>
        <translation>%1 sect.</translation>
    </message>
    <message>
        <source>№	Дата	Старт	Сектор	Секторов	Длительность	В журнале</source>
        <translation>#	Date	Start	Sector	Sectors	Duration	In logbook</translation>
    </message>
    <message>
        <source>Полета №%1 нет в памяти прибора</source>
        <translation>Flight #%1 is not in the instrument&apos;s memory</translation>
    </message>
    <message>
        <source>Дата &quot;%1&quot;: нужна в виде ГГГГ-ММ-ДД</source>
        <translation>Date &quot;%1&quot;: wanted as YYYY-MM-DD</translation>
    </message>
    <message>
        <source>Время взлёта &quot;%1&quot;: нужно в виде ЧЧ:ММ</source>
        <translation>Take-off time &quot;%1&quot;: wanted as HH:MM</translation>
    </message>
    <message>
        <source>Время полёта &quot;%1&quot;: нужно в виде Ч:ММ</source>
        <translation>Flight time &quot;%1&quot;: wanted as H:MM</translation>
    </message>
    <message>
        <source>%1	%2	%3 ч	%4 км</source>
        <translation>%1	%2	%3 h	%4 km</translation>
    </message>
    <message>
        <source>№	Дата	Взлёт	Время	Высота, м	Трек, км	Место	Крыло	XContest, б</source>
        <translation>#	Date	Take-off	Time	Altitude, m	Track, km	Site	Glider	XContest, pts</translation>
    </message>
    <message>
        <source>Радиус места взлёта: %1 м</source>
        <translation>Take-off site radius: %1 m</translation>
    </message>
    <message>
        <source>Всего</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Добавлено: %1, уже в журнале: %2, не прочитано: %3, пропущено: %4</source>
        <translation>Added: %1, already in the logbook: %2, unreadable: %3, skipped: %4</translation>
    </message>
    <message>
        <source>Оценено полётов: %1</source>
        <translation>Flights scored: %1</translation>
    </message>
    <message>
        <source>Файл трека: %1</source>
        <translation>Track file: %1</translation>
    </message>
    <message>
        <source>Нечего отменять</source>
        <translation>Nothing to undo</translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>Не удалось вывести результат на стандартный вывод: %1</source>
        <translation>Could not write the result to the standard output: %1</translation>
    </message>
    <message>
        <source>Протокол обмена записан не полностью, файл &quot;%1&quot;: %2</source>
        <translation>The transcript was not written in full, file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Размер рисунка: от %1x%2 до %3x%4</source>
        <translation>Picture size: from %1x%2 to %3x%4</translation>
    </message>
    <message>
        <source>Неверное число аргументов команды %1.</source>
        <translation>Wrong number of arguments for %1.</translation>
    </message>
    <message>
        <source>Не указана команда.</source>
        <translation>No command given.</translation>
    </message>
    <message>
        <source>Номер страницы: число от 0 до %1.</source>
        <translation>The page is a number from 0 to %1.</translation>
    </message>
    <message>
        <source>Пустое имя файла.</source>
        <translation>The file name is empty.</translation>
    </message>
    <message>
        <source>Неизвестная команда или неверное число аргументов.</source>
        <translation>Unknown command or wrong number of arguments.</translation>
    </message>
    <message>
        <source>Правила: одно из %1.</source>
        <translation>Rules are one of: %1.</translation>
    </message>
    <message>
        <source>Предел времени: секунды, 0 или больше.</source>
        <translation>The time limit is seconds, 0 or more.</translation>
    </message>
    <message>
        <source>Полёт %1 из %2</source>
        <translation>Flight %1 of %2</translation>
    </message>
    <message>
        <source>Наибольшая высота %1 м (%2)</source>
        <translation>Highest altitude %1 m (%2)</translation>
    </message>
    <message>
        <source>  PORT flights [--rescan]       все полёты в памяти прибора, новые первыми:
                                номер, дата, старт, первый сектор, секторов,
                                оценка длительности, есть ли в журнале
  PORT download --flight N|--all-new [--pages] [--dir DIR] [--no-igc] [--rescan]
                                скачать полёт N или все полёты, которых нет
                                в журнале, каждый в свои файлы и в журнал
</source>
        <translation>  PORT flights [--rescan]       every flight in the instrument&apos;s memory, newest
                                first: number, date, start, first sector, sectors,
                                estimated duration, in the logbook or not
  PORT download --flight N|--all-new [--pages] [--dir DIR] [--no-igc] [--rescan]
                                download flight N, or every flight the logbook
                                lacks, each into its files and the logbook
</translation>
    </message>
    <message>
        <source>download: полёт с номером N в памяти прибора (все его части, если его делит сектор другого полёта).</source>
        <translation>download: the flight numbered N in the instrument&apos;s memory (every part of it, when another flight&apos;s sector splits it).</translation>
    </message>
    <message>
        <source>download: все полёты в памяти, которых нет в журнале.</source>
        <translation>download: every flight in memory that the logbook does not hold.</translation>
    </message>
    <message>
        <source>flights, download: прочитать память снова, даже если она не изменилась.</source>
        <translation>flights, download: read the memory again even when it has not changed.</translation>
    </message>
    <message>
        <source>Взять полёт перед последним.</source>
        <translation>Use the flight before the last one.</translation>
    </message>
    <message>
        <source>Скачивать по страницам, а не по секторам.</source>
        <translation>Download page by page instead of by sector.</translation>
    </message>
    <message>
        <source>Папка для файлов трека (по умолчанию текущая).</source>
        <translation>Folder for the track files (default: current).</translation>
    </message>
    <message>
        <source>Не записывать файл IGC.</source>
        <translation>Do not write the IGC file.</translation>
    </message>
    <message>
        <source>Если скачивание остановилось до конца трека, всё равно записать прочитанное (код завершения остаётся кодом ошибки).</source>
        <translation>When a download stops before the end of the track, still write what was read (the exit status stays that of the failure).</translation>
    </message>
    <message>
        <source>Размер рисунка (по умолчанию %1x%2).</source>
        <translation>Picture size (default: %1x%2).</translation>
    </message>
    <message>
        <source>Дописывать в FILE каждый посланный и полученный байт со временем.</source>
        <translation>Append every byte sent and received, with times, to FILE.</translation>
    </message>
    <message>
        <source>Папка для настроек, сохраняемых перед обновлением прошивки (по умолчанию %1).</source>
        <translation>Folder for the settings kept before a firmware update (default: %1).</translation>
    </message>
    <message>
        <source>Обновить прошивку, даже если настройки не удаётся сначала сохранить.</source>
        <translation>Update the firmware even when the settings cannot be kept first.</translation>
    </message>
    <message>
        <source>Ответить &quot;да&quot; на вопрос перед изменением в приборе (write, set-timezone, firmware); без него для вопроса нужен терминал.</source>
        <translation>Answer yes to the question before a change to the instrument (write, set-timezone, firmware); without it the question needs a terminal.</translation>
    </message>
    <message>
        <source>Коды завершения:
</source>
        <translation>Exit statuses:
</translation>
    </message>
    <message>
        <source>Работает с одним прибором на последовательном порту.

Команды:
  PORT identify                 модель, версия прошивки и настройки
  PORT stats [--previous]       статистика последнего (или предыдущего) полёта
  PORT download [--previous] [--pages] [--dir DIR] [--no-igc] [--keep-partial]
                                скачать этот полёт в Track&lt;N&gt;.gpx/.enx/.igc
  PORT page N                   вывести страницу памяти N
</source>
        <translation>Talks to one instrument on a serial port.

Commands:
  PORT identify                 model, firmware version and settings
  PORT stats [--previous]       statistics of the last (or previous) flight
  PORT download [--previous] [--pages] [--dir DIR] [--no-igc] [--keep-partial]
                                download that flight into Track&lt;N&gt;.gpx/.enx/.igc
  PORT page N                   dump memory page N
</translation>
    </message>
    <message>
        <source>  PORT save FILE.bcf            сохранить настройки прибора в файл
  PORT write FILE.bcf [--yes]   записать в прибор настройки из файла
  PORT set-timezone H [--yes]   задать часовой пояс, целые часы от -12 до +14
  PORT firmware FILE.enc [--backup-dir DIR] [--no-backup] [--yes]
                                сохранить настройки, обновить прошивку
  bcf FILE.bcf                  показать файл конфигурации
  plot FILE OUT.png [--size WxH]
                                нарисовать полёт из файла IGC или GPX
  kml FILE OUT.kml              полёт из файла IGC или GPX для Google Earth
  logbook list|totals           журнал пилота: полёты (местное время места
                                взлёта; --utc: UTC), итоги
  logbook totals --by year|month|site|glider
                                итоги с разбивкой по одному признаку
  logbook records               самый долгий, дальний, лучший по баллам, высокий
                                полёт и лучший набор высоты
  logbook sites                 места взлёта с их полётами и часами
  logbook site-radius [METRES]  радиус одного места (запоминается; 500 сначала)
  logbook find TEXT             полёты, чьи место, крыло, заметки или пилот
                                упоминают TEXT
  logbook import PATH...        добавить файлы IGC и GPX (папки целиком)
  logbook export-csv FILE|-     все полёты в CSV (&quot;-&quot;: стандартный вывод)
  logbook show N                сведения о полёте N (номера идут по датам)
  logbook add --date YYYY-MM-DD --takeoff HH:MM --duration H:MM
        [--site S] [--glider G] [--notes T]   полёт без трека
  logbook rescore               оценить полёты, ещё не оценённые
  logbook merge N M             полёт M - это полёт N с другого прибора
  logbook unmerge M             снова считать полёт M отдельно
  logbook edit N [--site S] [--glider G] [--notes T] [--date D]
        [--takeoff HH:MM] [--yes]   изменить полёт N (--yes: переименовать
                                и соседние полёты, не спрашивая)
  logbook undo                  отменить последнее изменение
  logbook backup FILE           журнал и его файлы треков в одном файле
  logbook restore FILE          журнал, восстановленный из копии
</source>
        <translation>  PORT save FILE.bcf            save the instrument&apos;s settings to a file
  PORT write FILE.bcf [--yes]   write a configuration file&apos;s settings
  PORT set-timezone H [--yes]   set the time zone, whole hours from -12 to +14
  PORT firmware FILE.enc [--backup-dir DIR] [--no-backup] [--yes]
                                keep the settings, update the firmware
  bcf FILE.bcf                  show a configuration file
  plot FILE OUT.png [--size WxH]
                                draw the flight in an IGC or GPX file
  kml FILE OUT.kml              the flight in an IGC or GPX file for Google Earth
  logbook list|totals           the pilot&apos;s logbook: flights (local time of
                                the take-off place; --utc: UTC), totals
  logbook totals --by year|month|site|glider
                                totals split one way
  logbook records               the longest, farthest, best-scored, highest
                                flight and the best climb
  logbook sites                 take-off sites with their flights and hours
  logbook site-radius [METRES]  the radius of one site (kept; default 500)
  logbook find TEXT             the flights whose site, glider, notes or pilot
                                mention TEXT
  logbook import PATH...        add IGC and GPX files (folders recursively)
  logbook export-csv FILE|-     every flight as CSV (&quot;-&quot;: standard output)
  logbook show N                the facts of flight N (numbers follow dates)
  logbook add --date YYYY-MM-DD --takeoff HH:MM --duration H:MM
        [--site S] [--glider G] [--notes T]   a flight without a track
  logbook rescore               score the flights not scored yet
  logbook merge N M             flight M is flight N from another recorder
  logbook unmerge M             count flight M on its own again
  logbook edit N [--site S] [--glider G] [--notes T] [--date D]
        [--takeoff HH:MM] [--yes]   change flight N (--yes: name the
                                flights nearby too without asking)
  logbook undo                  take back the latest change
  logbook backup FILE           the logbook and its track files in one file
  logbook restore FILE          the logbook brought back from a backup
</translation>
    </message>
    <message>
        <source>  ports                         список последовательных портов: порт, описание,
                                USB vendor:product id, метка адаптера

PORT - имя, например ttyUSB0, путь, например /dev/pts/3, или &quot;auto&quot;:
первый порт известного адаптера USB-COM, где отвечает прибор.
Порты, которых система не перечисляет (например, псевдотерминалы), можно
добавить путями через &quot;:&quot; в переменной окружения TOLMARIK_EXTRA_PORTS;
&quot;auto&quot; пробует их после адаптеров.

write, set-timezone и firmware сначала показывают, что изменится, и
спрашивают в терминале; --yes отвечает за сценарии. В прибор модели, которой
программа не знает, ничего не записывается.

</source>
        <translation>  ports                         list the serial ports: port, description,
                                USB vendor:product id, adapter mark

PORT is a name such as ttyUSB0 or a path such as /dev/pts/3, or &quot;auto&quot;:
the first port of a known USB-serial adapter where an instrument answers.
Ports the system does not list (e.g. pseudo-terminals) can be added, as
paths separated by &quot;:&quot;, in the environment variable TOLMARIK_EXTRA_PORTS;
&quot;auto&quot; tries them after the adapters.

write, set-timezone and firmware first show what will change and ask on the
terminal; --yes answers for scripts. Nothing is written to an instrument of
a model this program does not know.

</translation>
    </message>
    <message>
        <source>См. выше.</source>
        <translation>See above.</translation>
    </message>
    <message>
        <source>  score FILE [--rules RULES] [--json] [--time-limit S]
                                лучшая оценка полёта по маршруту (поиск
                                останавливается через %1 с, если --time-limit
                                не велит иначе)
  analyse FILE [--score]        термики, переходы, набор и снижение полёта
                                (а с --score и его оценка)
</source>
        <translation>  score FILE [--rules RULES] [--json] [--time-limit S]
                                the flight&apos;s best cross-country score (the search
                                stops after %1 s unless --time-limit says otherwise)
  analyse FILE [--score]        the flight&apos;s thermals, glides, climb and sink
                                (and with --score its score as well)
</translation>
    </message>
    <message>
        <source>Правила оценки: %1 (xcontest, если не указаны).</source>
        <translation>Scoring rules: %1 (xcontest unless told).</translation>
    </message>
    <message>
        <source>Вывести оценку в JSON.</source>
        <translation>Print the score as JSON.</translation>
    </message>
    <message>
        <source>Остановить поиск оценки через S секунд (по умолчанию %1) с лучшей найденной и наибольшей возможной оценкой; 0: до доказательства.</source>
        <translation>Stop the score&apos;s search after S seconds (default %1) with the best found so far and the most any solution could score; 0: until proven.</translation>
    </message>
    <message>
        <source>С analyse: оценить и полёт.</source>
        <translation>With analyse: score the flight as well.</translation>
    </message>
    <message>
        <source>%1	%2	№ %3	%4</source>
        <translation>%1	%2	No. %3	%4</translation>
    </message>
</context>
<context>
    <name>device</name>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation>Could not open file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл &quot;%1&quot;: %2</source>
        <translation>Could not read file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation>Could not write file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>это не обычный файл (канал, устройство или сокет)</source>
        <translation>it is not a regular file (a pipe, device or socket)</translation>
    </message>
    <message>
        <source>это символическая ссылка на несуществующий файл</source>
        <translation>it is a symbolic link to a file that does not exist</translation>
    </message>
    <message>
        <source>это символическая ссылка на другую ссылку</source>
        <translation>it is a symbolic link to another link</translation>
    </message>
    <message>
        <source>это символическая ссылка, которая или чей файл принадлежит другому пользователю</source>
        <translation>it is a symbolic link that, or whose file, belongs to another user</translation>
    </message>
    <message>
        <source>файл защищен от записи</source>
        <translation>the file is write-protected</translation>
    </message>
    <message>
        <source>.прежний</source>
        <translation>.previous</translation>
    </message>
    <message>
        <source>прежний файл &quot;%1&quot; сохранён как &quot;%2&quot;</source>
        <translation>the previous file &quot;%1&quot; was kept as &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Невозможно открыть порт</source>
        <translation>Cannot open the port</translation>
    </message>
    <message>
        <source>Нет связи с прибором</source>
        <translation>No link with the instrument</translation>
    </message>
    <message>
        <source>Нет связи, проверьте соединения или номер порта</source>
        <translation>No link, check the connections or the port number</translation>
    </message>
    <message>
        <source>Устройство не отвечает</source>
        <translation>The instrument does not answer</translation>
    </message>
    <message>
        <source>Читать по сектору</source>
        <translation>Read by sector</translation>
    </message>
    <message>
        <source>Открыть папку</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>Связь с прибором потеряна</source>
        <translation>Link with the instrument lost</translation>
    </message>
    <message>
        <source>Данные прибора считаны</source>
        <translation>Instrument data read</translation>
    </message>
    <message>
        <source>Данные записаны</source>
        <translation>Data written</translation>
    </message>
    <message>
        <source>Данный прибор не поддерживается программатором</source>
        <translation>This instrument is not supported by the program</translation>
    </message>
    <message>
        <source>Прошивка обновлена</source>
        <translation>Firmware updated</translation>
    </message>
    <message>
        <source>Обновление прошивки прервано. В приборе может остаться неполная прошивка, и он может не работать как обычно. Не отключайте прибор и повторите обновление тем же файлом прошивки.</source>
        <translation>The firmware update was interrupted. The instrument may hold incomplete firmware and may not work as usual. Do not disconnect the instrument; repeat the update with the same firmware file.</translation>
    </message>
    <message>
        <source>Прошивка не для этого приюбора!!!</source>
        <translation>The firmware is not for this instrument!!!</translation>
    </message>
    <message>
        <source>Файл сохранен: </source>
        <translation>File saved: </translation>
    </message>
    <message>
        <source>неизвестная модель %1</source>
        <translation>unknown model %1</translation>
    </message>
    <message>
        <source>неизвестная модель (прибор ее не назвал)</source>
        <translation>unknown model (the instrument did not name it)</translation>
    </message>
    <message>
        <source>%1, только чтение</source>
        <translation>%1, read only</translation>
    </message>
    <message>
        <source>Запись запрещена: %1. Программа не знает настроек этого прибора, ничего не записано</source>
        <translation>Writing refused: %1. The program does not know this instrument&apos;s settings; nothing was written</translation>
    </message>
    <message>
        <source>Программа не знает этот прибор (%1). Прошивка может ему не подойти, и прибор перестанет работать.
Все равно обновить прошивку?</source>
        <translation>The program does not know this instrument (%1). The firmware may not suit it, and the instrument may stop working.
Update the firmware anyway?</translation>
    </message>
    <message>
        <source>Нет папки: %1</source>
        <translation>No folder: %1</translation>
    </message>
    <message>
        <source>Нет папки: %1 (%2)</source>
        <translation>No folder: %1 (%2)</translation>
    </message>
    <message>
        <source>Не удалось создать папку &quot;%1&quot;</source>
        <translation>Could not create the folder &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Журнал полётов</source>
        <translation>Flight logbook</translation>
    </message>
    <message>
        <source>Журнал полётов не включён в эту сборку программы</source>
        <translation>The flight logbook is not built into this version of the program</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; слишком велик для трека</source>
        <translation>The file &quot;%1&quot; is too large for a track</translation>
    </message>
    <message>
        <source>В файле &quot;%1&quot; нет точек трека</source>
        <translation>The file &quot;%1&quot; has no track points</translation>
    </message>
</context>
<context>
    <name>firmware</name>
    <message>
        <source>Файл прошивки пуст: передавать прибору нечего</source>
        <translation>The firmware file is empty: nothing to send to the instrument</translation>
    </message>
    <message>
        <source>Файл не найден</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Образ прошивки не помещается в буфер передачи</source>
        <translation>The firmware image does not fit the transfer buffer</translation>
    </message>
    <message>
        <source>Файл прошивки поврежден: блоки не заканчиваются вместе с образом</source>
        <translation>The firmware file is damaged: its blocks do not end with the image</translation>
    </message>
    <message>
        <source>Обновление прошивки</source>
        <translation>Firmware update</translation>
    </message>
    <message>
        <source>Прошивка прибора</source>
        <translation>Instrument firmware</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Идет обновление прошивки. Если выйти сейчас, прибор может остаться без работающей прошивки.
Все равно выйти?</source>
        <translation>The firmware is being updated. If you quit now, the instrument may be left without working firmware.
Quit anyway?</translation>
    </message>
    <message>
        <source>Файл прошивок (*.enc)</source>
        <translation>Firmware file (*.enc)</translation>
    </message>
</context>
<context>
    <name>firmware::TFormUpdateFW</name>
    <message>
        <source>Обновление прошивки прибора</source>
        <translation>Instrument firmware update</translation>
    </message>
    <message>
        <source>Выбрать файл...</source>
        <translation>Choose file...</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Выберите файл</source>
        <translation>Choose a file</translation>
    </message>
</context>
<context>
    <name>flow</name>
    <message>
        <source>Настройки не записаны: они для прибора %1, а подключен %2</source>
        <translation>Settings not written: they are for the instrument %1, but %2 is connected</translation>
    </message>
    <message>
        <source>Запись не подтверждена: прибор вернул другие настройки</source>
        <translation>Write not confirmed: the instrument returned other settings</translation>
    </message>
    <message>
        <source>Прибор: модель и версия прошивки неизвестны (%1)</source>
        <translation>Instrument: model and firmware version unknown (%1)</translation>
    </message>
    <message>
        <source>Прибор: %1, версия прошивки %2</source>
        <translation>Instrument: %1, firmware version %2</translation>
    </message>
    <message>
        <source>Файл прошивки: %1 (%2 байт)</source>
        <translation>Firmware file: %1 (%2 bytes)</translation>
    </message>
    <message>
        <source>Не отключайте прибор и не закрывайте программу до конца обновления: прибор может остаться без работающей прошивки.</source>
        <translation>Do not disconnect the instrument or close the program until the update ends: the instrument may be left without working firmware.</translation>
    </message>
    <message>
        <source>Обновить прошивку?</source>
        <translation>Update the firmware?</translation>
    </message>
    <message>
        <source>Настройки прибора сохранены: %1</source>
        <translation>Instrument settings saved: %1</translation>
    </message>
    <message>
        <source>прибор не ответил на запрос модели</source>
        <translation>the instrument did not answer the model request</translation>
    </message>
    <message>
        <source>Настройки прибора не сохранены: %1.
Обновить прошивку без копии настроек?</source>
        <translation>Instrument settings not saved: %1.
Update the firmware without a copy of the settings?</translation>
    </message>
    <message>
        <source>неизвестна</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Версия прошивки: была %1, стала %2</source>
        <translation>Firmware version: was %1, now %2</translation>
    </message>
    <message>
        <source>Записать в прибор настройки, сохраненные перед обновлением?
%1</source>
        <translation>Write the settings saved before the update back to the instrument?
%1</translation>
    </message>
    <message>
        <source>без даты</source>
        <translation>no date</translation>
    </message>
    <message>
        <source>Полётов в памяти: %1, новых: %2</source>
        <translation>Flights in memory: %1, new: %2</translation>
    </message>
    <message>
        <source>Новых полётов нет: все полёты из памяти прибора уже в журнале полётов</source>
        <translation>No new flights: every flight in the instrument&apos;s memory is already in the logbook</translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>да</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Поиск полётов прерван</source>
        <translation>Flight search interrupted</translation>
    </message>
    <message>
        <source>Поиск полётов прерван: прочитано секторов %1 из %2</source>
        <translation>Flight search interrupted: %1 of %2 sectors read</translation>
    </message>
    <message>
        <source>Скачано полётов: %1</source>
        <translation>Flights downloaded: %1</translation>
    </message>
    <message>
        <source>Скачано полётов: %1 из %2, остановлено</source>
        <translation>Flights downloaded: %1 of %2, stopped</translation>
    </message>
    <message>
        <source>Порт занят: идет другая операция с прибором</source>
        <translation>Port busy: another operation with the instrument is running</translation>
    </message>
    <message>
        <source>Прибор не поддерживается</source>
        <translation>Instrument not supported</translation>
    </message>
    <message>
        <source>Ошибка конфигурации</source>
        <translation>Configuration error</translation>
    </message>
    <message>
        <source>У этого полета нет трека</source>
        <translation>This flight has no track</translation>
    </message>
    <message>
        <source>В приборе уже эти настройки: записывать нечего</source>
        <translation>The instrument already has these settings: nothing to write</translation>
    </message>
    <message>
        <source>Изменение не подтверждено: в приборе ничего не изменено</source>
        <translation>Change not confirmed: nothing was changed in the instrument</translation>
    </message>
    <message>
        <source>Настройки в приборе изменились после вопроса: ничего не записано</source>
        <translation>The instrument&apos;s settings changed after the question: nothing was written</translation>
    </message>
    <message>
        <source>Порт открыт...</source>
        <translation>Port open...</translation>
    </message>
    <message>
        <source>успех</source>
        <translation>success</translation>
    </message>
    <message>
        <source>другая ошибка (например, у полёта нет трека)</source>
        <translation>other failure (e.g. the flight has no track)</translation>
    </message>
    <message>
        <source>ошибка вызова: неизвестная команда или параметр, неверный аргумент</source>
        <translation>usage error: unknown command or option, bad argument</translation>
    </message>
    <message>
        <source>порт не открывается</source>
        <translation>the port cannot be opened</translation>
    </message>
    <message>
        <source>нет связи: прибор не отвечает или его ответ искажён</source>
        <translation>no link: the instrument does not answer or its reply is garbled</translation>
    </message>
    <message>
        <source>прибор отказал в запросе</source>
        <translation>the instrument refused the request</translation>
    </message>
    <message>
        <source>плохой входной файл: нет его, повреждён или для модели, которой программа не знает</source>
        <translation>bad input file: missing, damaged, or for a model this program lacks</translation>
    </message>
    <message>
        <source>выходной файл не записан или не прошёл проверку</source>
        <translation>an output file could not be written or failed its check</translation>
    </message>
    <message>
        <source>настройки для другой модели, чем у прибора; ничего не записано</source>
        <translation>the settings are for another model than the instrument&apos;s; none written</translation>
    </message>
    <message>
        <source>настройки, считанные после записи, отличаются от записанных</source>
        <translation>the settings read back after a write differ from those written</translation>
    </message>
    <message>
        <source>стандартный вывод или протокол обмена записан не полностью</source>
        <translation>the standard output or the transcript could not be written in full</translation>
    </message>
    <message>
        <source>журнал полётов недоступен: повреждён, от более новой версии или не включён в сборку</source>
        <translation>the logbook cannot be used: damaged, from a newer version, or not built in</translation>
    </message>
    <message>
        <source>изменение в приборе не подтверждено (ответ &quot;нет&quot; или некого спросить и нет --yes); ничего не изменено</source>
        <translation>a change to the instrument was not confirmed (answered no, or no terminal to ask and no --yes); nothing was changed</translation>
    </message>
    <message>
        <source>модель прибора неизвестна программе: он только считывается, в него ничего не пишется</source>
        <translation>the instrument&apos;s model is unknown to this program: it is read, never written to</translation>
    </message>
    <message>
        <source>настройки прибора изменились, пока программа ждала ответа; ничего не записано</source>
        <translation>the instrument&apos;s settings changed while the question was open; nothing was written</translation>
    </message>
</context>
<context>
    <name>logbook</name>
    <message>
        <source>%1 м</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>%1 м/с</source>
        <translation>%1 m/s</translation>
    </message>
    <message>
        <source>тот же полёт, что № %1</source>
        <translation>same flight as No. %1</translation>
    </message>
    <message>
        <source>по прибору</source>
        <translation>from the instrument</translation>
    </message>
    <message>
        <source>из файла IGC (HFTZN)</source>
        <translation>from the IGC file (HFTZN)</translation>
    </message>
    <message>
        <source>по долготе места взлёта</source>
        <translation>from the takeoff longitude</translation>
    </message>
    <message>
        <source>по другому полёту с этого места</source>
        <translation>from another flight at this site</translation>
    </message>
    <message>
        <source>по часам компьютера</source>
        <translation>from the computer clock</translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>без трека</source>
        <translation>no track</translation>
    </message>
    <message>
        <source>Радиус места взлёта: от %1 до %2 м</source>
        <translation>Takeoff site radius: %1 to %2 m</translation>
    </message>
    <message>
        <source>Назвать место &quot;%1&quot; и у этих полётов в пределах %2 м от взлёта (%3)?</source>
        <translation>Also name the site &quot;%1&quot; for these flights within %2 m of the takeoff (%3)?</translation>
    </message>
    <message>
        <source>  № %1  %2  %3</source>
        <translation>  No. %1  %2  %3</translation>
    </message>
    <message>
        <source>(место не названо)</source>
        <translation>(site not named)</translation>
    </message>
    <message>
        <source>№ %1</source>
        <translation>No. %1</translation>
    </message>
    <message>
        <source>Дата: %1</source>
        <translation>Date: %1</translation>
    </message>
    <message>
        <source>Взлёт: %1</source>
        <translation>Takeoff: %1</translation>
    </message>
    <message>
        <source>Посадка: %1</source>
        <translation>Landing: %1</translation>
    </message>
    <message>
        <source>Часовой пояс: %1, %2</source>
        <translation>Time zone: %1, %2</translation>
    </message>
    <message>
        <source>Время полёта: %1</source>
        <translation>Flight time: %1</translation>
    </message>
    <message>
        <source>не названо</source>
        <translation>not named</translation>
    </message>
    <message>
        <source>Место взлёта: %1</source>
        <translation>Takeoff site: %1</translation>
    </message>
    <message>
        <source>Трек: %1</source>
        <translation>Track: %1</translation>
    </message>
    <message>
        <source>Место взлёта: %1 (%2, %3), %4</source>
        <translation>Takeoff site: %1 (%2, %3), %4</translation>
    </message>
    <message>
        <source>Посадка: %1, %2, %3</source>
        <translation>Landing: %1, %2, %3</translation>
    </message>
    <message>
        <source>Высота (%1)</source>
        <translation>Altitude (%1)</translation>
    </message>
    <message>
        <source>Высота</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>: наибольшая %1, наименьшая %2</source>
        <translation>: highest %1, lowest %2</translation>
    </message>
    <message>
        <source>Набор: %1 за 1 с, %2 за 10 с</source>
        <translation>Climb: %1 over 1 s, %2 over 10 s</translation>
    </message>
    <message>
        <source>Снижение: %1 за 1 с, %2 за 10 с</source>
        <translation>Sink: %1 over 1 s, %2 over 10 s</translation>
    </message>
    <message numerus="yes">
        <source>Трек: %1 км, по прямой %2 км, %n точек</source>
        <translation>
            <numerusform>Track: %1 km, straight %2 km, %n point</numerusform>
            <numerusform>Track: %1 km, straight %2 km, %n points</numerusform>
        </translation>
    </message>
    <message>
        <source>Пилот: %1</source>
        <translation>Pilot: %1</translation>
    </message>
    <message>
        <source>Крыло: %1</source>
        <translation>Glider: %1</translation>
    </message>
    <message>
        <source>Прибор: %1%2</source>
        <translation>Instrument: %1%2</translation>
    </message>
    <message>
        <source>, прошивка %1</source>
        <translation>, firmware %1</translation>
    </message>
    <message>
        <source>Заметки: %1</source>
        <translation>Notes: %1</translation>
    </message>
    <message>
        <source>С другого прибора: %1</source>
        <translation>From another instrument: %1</translation>
    </message>
    <message>
        <source>полёт</source>
        <translation>flight</translation>
    </message>
    <message>
        <source>полёта</source>
        <translation>flights</translation>
    </message>
    <message>
        <source>полётов</source>
        <translation>flights</translation>
    </message>
    <message numerus="yes">
        <source>%n полётов</source>
        <translation>
            <numerusform>%n flight</numerusform>
            <numerusform>%n flights</numerusform>
        </translation>
    </message>
    <message>
        <source>Полёта %1 нет в журнале</source>
        <translation>Flight %1 is not in the logbook</translation>
    </message>
    <message>
        <source>В скачанном полёте нет точек со временем</source>
        <translation>The downloaded flight has no points with a time</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: в треке нет точек со временем</source>
        <translation>File &quot;%1&quot;: the track has no points with a time</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; пропущен: по имени это не трек IGC или GPX</source>
        <translation>File &quot;%1&quot; skipped: its name is not that of an IGC or GPX track</translation>
    </message>
    <message>
        <source>По годам</source>
        <translation>By year</translation>
    </message>
    <message>
        <source>По месяцам</source>
        <translation>By month</translation>
    </message>
    <message>
        <source>По местам</source>
        <translation>By site</translation>
    </message>
    <message>
        <source>По крыльям</source>
        <translation>By glider</translation>
    </message>
    <message>
        <source>(крыло не указано)</source>
        <translation>(glider not given)</translation>
    </message>
    <message>
        <source>Самый долгий полёт</source>
        <translation>Longest flight</translation>
    </message>
    <message>
        <source> ч</source>
        <translation> h</translation>
    </message>
    <message>
        <source>Дальше всего от взлёта до посадки</source>
        <translation>Farthest from takeoff to landing</translation>
    </message>
    <message>
        <source> км</source>
        <translation> km</translation>
    </message>
    <message>
        <source>Лучшая оценка XContest</source>
        <translation>Best XContest score</translation>
    </message>
    <message>
        <source>Самая большая высота</source>
        <translation>Highest altitude</translation>
    </message>
    <message>
        <source>Лучший набор за 10 с</source>
        <translation>Best climb over 10 s</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Взлёт</source>
        <translation>Takeoff</translation>
    </message>
    <message>
        <source>Посадка</source>
        <translation>Landing</translation>
    </message>
    <message>
        <source>Взлёт UTC</source>
        <translation>Takeoff UTC</translation>
    </message>
    <message>
        <source>Посадка UTC</source>
        <translation>Landing UTC</translation>
    </message>
    <message>
        <source>Место</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Наибольшая высота, м</source>
        <translation>Highest altitude, m</translation>
    </message>
    <message>
        <source>Наименьшая высота, м</source>
        <translation>Lowest altitude, m</translation>
    </message>
    <message>
        <source>Длина трека, км</source>
        <translation>Track length, km</translation>
    </message>
    <message>
        <source>Взлёт - посадка, км</source>
        <translation>Takeoff - landing, km</translation>
    </message>
    <message>
        <source>Набор 10 с, м/с</source>
        <translation>Climb 10 s, m/s</translation>
    </message>
    <message>
        <source>Снижение 10 с, м/с</source>
        <translation>Sink 10 s, m/s</translation>
    </message>
    <message>
        <source>Точек</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Крыло</source>
        <translation>Glider</translation>
    </message>
    <message>
        <source>Пилот</source>
        <translation>Pilot</translation>
    </message>
    <message>
        <source>Прибор</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>Заметки</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Широта взлёта</source>
        <translation>Takeoff latitude</translation>
    </message>
    <message>
        <source>Долгота взлёта</source>
        <translation>Takeoff longitude</translation>
    </message>
    <message>
        <source>XContest, б</source>
        <translation>XContest, pts</translation>
    </message>
    <message>
        <source>Вид полёта</source>
        <translation>Flight type</translation>
    </message>
    <message>
        <source>Пояс</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>Пояс определён</source>
        <translation>Zone source</translation>
    </message>
    <message>
        <source>Трек</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>У полёта нет файла трека</source>
        <translation>The flight has no track file</translation>
    </message>
    <message>
        <source>Неверная дата или время взлёта</source>
        <translation>Invalid takeoff date or time</translation>
    </message>
    <message>
        <source>Время полёта: от 0:01 до %1</source>
        <translation>Flight time: from 0:01 to %1</translation>
    </message>
    <message>
        <source>Отменено удаление полёта № %1</source>
        <translation>Undone: deleting flight No. %1</translation>
    </message>
    <message>
        <source>Отменено добавление полёта № %1</source>
        <translation>Undone: adding flight No. %1</translation>
    </message>
    <message>
        <source>Отменено изменение полёта № %1</source>
        <translation>Undone: changing flight No. %1</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не является целой резервной копией журнала (%2); журнал не изменён</source>
        <translation>File &quot;%1&quot; is not a whole logbook backup (%2); the logbook is unchanged</translation>
    </message>
    <message>
        <source>файл слишком велик</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>нет заголовка резервной копии</source>
        <translation>no backup header</translation>
    </message>
    <message>
        <source>записана более новой версией программы</source>
        <translation>written by a newer version of the program</translation>
    </message>
    <message>
        <source>контрольная сумма не сходится</source>
        <translation>the checksum does not match</translation>
    </message>
    <message>
        <source>запись обрывается</source>
        <translation>a record is cut short</translation>
    </message>
    <message>
        <source>недопустимое имя &quot;%1&quot;</source>
        <translation>invalid name &quot;%1&quot;</translation>
    </message>
    <message>
        <source>имя &quot;%1&quot; дважды</source>
        <translation>name &quot;%1&quot; twice</translation>
    </message>
    <message>
        <source>нет базы журнала</source>
        <translation>no logbook database</translation>
    </message>
    <message>
        <source>база журнала не читается</source>
        <translation>the logbook database cannot be read</translation>
    </message>
    <message>
        <source>база журнала повреждена</source>
        <translation>the logbook database is damaged</translation>
    </message>
    <message>
        <source>Полётов: %1, файлов треков: %2</source>
        <translation>Flights: %1, track files: %2</translation>
    </message>
    <message>
        <source>Журнал восстановлен из &quot;%1&quot;. %2</source>
        <translation>Logbook restored from &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>%1 не скопирован: %2</source>
        <translation>%1 not copied: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; не переименован в &quot;%2&quot;; журнал не изменён</source>
        <translation>&quot;%1&quot; not renamed to &quot;%2&quot;; the logbook is unchanged</translation>
    </message>
    <message>
        <source>Журнал полётов &quot;%1&quot;</source>
        <translation>Flight logbook &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 недоступен: %2</source>
        <translation>%1 is unavailable: %2</translation>
    </message>
    <message>
        <source>журнал занят другой программой, попробуйте позже (%1)</source>
        <translation>the logbook is in use by another program, try again later (%1)</translation>
    </message>
    <message>
        <source>нет права записи в журнал (%1)</source>
        <translation>no permission to write to the logbook (%1)</translation>
    </message>
    <message>
        <source>ссылка ведёт к отсутствующему файлу &quot;%1&quot;</source>
        <translation>the link points to a missing file &quot;%1&quot;</translation>
    </message>
    <message>
        <source>это не файл</source>
        <translation>this is not a file</translation>
    </message>
    <message>
        <source>нет права записи в папку &quot;%1&quot;</source>
        <translation>no permission to write to the folder &quot;%1&quot;</translation>
    </message>
    <message>
        <source>не удалось создать папку &quot;%1&quot;</source>
        <translation>could not create the folder &quot;%1&quot;</translation>
    </message>
    <message>
        <source>нет права чтения файла</source>
        <translation>no permission to read the file</translation>
    </message>
    <message>
        <source>файл только для чтения</source>
        <translation>the file is read-only</translation>
    </message>
    <message>
        <source>файл &quot;%1&quot; остался только для чтения; удалите его, когда журнал не открыт ни одной программой</source>
        <translation>the file &quot;%1&quot; was left read-only; delete it when no program has the logbook open</translation>
    </message>
    <message>
        <source>нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)</source>
        <translation>no SQLite driver for Qt (package libqt6sql6-sqlite)</translation>
    </message>
    <message>
        <source>файл повреждён или не является журналом (%1)</source>
        <translation>the file is damaged or is not a logbook (%1)</translation>
    </message>
    <message>
        <source>файл записан более новой версией программы</source>
        <translation>the file was written by a newer version of the program</translation>
    </message>
    <message>
        <source>файл повреждён (%1)</source>
        <translation>the file is damaged (%1)</translation>
    </message>
    <message>
        <source>резервная копия перед обновлением не сохранена: %1</source>
        <translation>the backup before the upgrade was not saved: %1</translation>
    </message>
</context>
<context>
    <name>logbook::TLogbookModel</name>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Взлёт</source>
        <translation>Takeoff</translation>
    </message>
    <message>
        <source>Место</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Высота, м</source>
        <translation>Altitude, m</translation>
    </message>
    <message>
        <source>Трек, км</source>
        <translation>Track, km</translation>
    </message>
    <message>
        <source>XContest, б</source>
        <translation>XContest, pts</translation>
    </message>
    <message>
        <source>Крыло</source>
        <translation>Glider</translation>
    </message>
</context>
<context>
    <name>logbook::TLogbookWindow</name>
    <message>
        <source>Резервные копии журнала (*.backup);;Все файлы (*)</source>
        <translation>Logbook backups (*.backup);;All files (*)</translation>
    </message>
    <message>
        <source>Дата:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Место взлёта:</source>
        <translation>Takeoff site:</translation>
    </message>
    <message>
        <source>Крыло:</source>
        <translation>Glider:</translation>
    </message>
    <message>
        <source>Заметки:</source>
        <translation>Notes:</translation>
    </message>
    <message>
        <source>Выберите полёт в списке</source>
        <translation>Choose a flight in the list</translation>
    </message>
    <message>
        <source>%1, %2 ч, %3 км</source>
        <translation>%1, %2 h, %3 km</translation>
    </message>
    <message>
        <source>место, крыло, заметки, пилот</source>
        <translation>site, glider, notes, pilot</translation>
    </message>
    <message>
        <source>Год:</source>
        <translation>Year:</translation>
    </message>
    <message>
        <source>Найти:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>С:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>по:</source>
        <translation>to:</translation>
    </message>
    <message>
        <source>Импорт файлов...</source>
        <translation>Import files...</translation>
    </message>
    <message>
        <source>Импорт папки...</source>
        <translation>Import folder...</translation>
    </message>
    <message>
        <source>Сохранить CSV...</source>
        <translation>Save CSV...</translation>
    </message>
    <message>
        <source>Сохранить KML...</source>
        <translation>Save KML...</translation>
    </message>
    <message>
        <source>Объединить</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>Два выбранных полёта — один полёт с двух приборов: считать его один раз</source>
        <translation>The two chosen flights are one flight from two instruments: count it once</translation>
    </message>
    <message>
        <source>Разделить</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>Считать выбранный полёт отдельным полётом</source>
        <translation>Count the chosen flight as a flight of its own</translation>
    </message>
    <message>
        <source>Резервная копия...</source>
        <translation>Backup...</translation>
    </message>
    <message>
        <source>Журнал и его файлы треков в одном файле</source>
        <translation>The logbook and its track files in one file</translation>
    </message>
    <message>
        <source>Восстановить...</source>
        <translation>Restore...</translation>
    </message>
    <message>
        <source>Заменить журнал резервной копией</source>
        <translation>Replace the logbook with a backup</translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Добавить...</source>
        <translation>Add...</translation>
    </message>
    <message>
        <source>Добавить полёт без трека</source>
        <translation>Add a flight without a track</translation>
    </message>
    <message>
        <source>Изменить...</source>
        <translation>Edit...</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Отменить последнее изменение или удаление (Ctrl+Z)</source>
        <translation>Undo the last change or deletion (Ctrl+Z)</translation>
    </message>
    <message>
        <source>Ещё</source>
        <translation>More</translation>
    </message>
    <message>
        <source>Отменить импорт</source>
        <translation>Cancel import</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Выбрано: </source>
        <translation>Chosen: </translation>
    </message>
    <message>
        <source>Всего: </source>
        <translation>Total: </translation>
    </message>
    <message>
        <source>Рекорды:</source>
        <translation>Records:</translation>
    </message>
    <message>
        <source>  %1: %2 (№ %3, %4)</source>
        <translation>  %1: %2 (No. %3, %4)</translation>
    </message>
    <message>
        <source>У полёта нет трека</source>
        <translation>The flight has no track</translation>
    </message>
    <message>
        <source>Добавлено полётов: %1, уже были в журнале: %2, не прочитано: %3, пропущено: %4</source>
        <translation>Flights added: %1, already in the logbook: %2, not read: %3, skipped: %4</translation>
    </message>
    <message>
        <source>Импорт отменён.</source>
        <translation>Import cancelled.</translation>
    </message>
    <message>
        <source>Треки (*.igc *.IGC *.gpx *.GPX);;Все файлы (*)</source>
        <translation>Tracks (*.igc *.IGC *.gpx *.GPX);;All files (*)</translation>
    </message>
    <message>
        <source>Полёт %1</source>
        <translation>Flight %1</translation>
    </message>
    <message>
        <source>Взлёт, %1:</source>
        <translation>Takeoff, %1:</translation>
    </message>
    <message>
        <source>Полёт без трека</source>
        <translation>Flight without a track</translation>
    </message>
    <message>
        <source>Взлёт (местное время):</source>
        <translation>Takeoff (local time):</translation>
    </message>
    <message>
        <source>Время полёта:</source>
        <translation>Flight time:</translation>
    </message>
    <message>
        <source>Удалить из журнала полёт %1 %2? Файлы трека останутся на диске.</source>
        <translation>Delete the flight %1 %2 from the logbook? The track files stay on disk.</translation>
    </message>
    <message>
        <source>Заменить журнал полётов резервной копией &quot;%1&quot;? Нынешний журнал будет сохранён в папке &quot;%2&quot;.</source>
        <translation>Replace the flight logbook with the backup &quot;%1&quot;? The current logbook will be kept in the folder &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>models</name>
    <message>
        <source>Часовой пояс: </source>
        <translation>Time zone: </translation>
    </message>
    <message>
        <source>вне пределов от %1 до %2</source>
        <translation>outside the range %1 to %2</translation>
    </message>
    <message>
        <source>Настройки не записаны: часовой пояс %1 %2</source>
        <translation>Settings not written: time zone %1 %2</translation>
    </message>
    <message>
        <source>По умолчанию</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Неизвестное устройство</source>
        <translation>Unknown instrument</translation>
    </message>
    <message>
        <source>Часовой пояс: %1 → %2</source>
        <translation>Time zone: %1 → %2</translation>
    </message>
    <message>
        <source>Байт %1: %2 → %3</source>
        <translation>Byte %1: %2 → %3</translation>
    </message>
    <message>
        <source>...и еще байт: %1</source>
        <translation>...and more bytes: %1</translation>
    </message>
    <message>
        <source>В приборе %1 изменятся настройки (байт: %2):</source>
        <translation>The settings of the instrument %1 will change (bytes: %2):</translation>
    </message>
    <message>
        <source>Записать эти изменения в прибор?</source>
        <translation>Write these changes to the instrument?</translation>
    </message>
    <message>
        <source>Файл поврежден</source>
        <translation>The file is damaged</translation>
    </message>
    <message>
        <source>Версия файла не поддерживается</source>
        <translation>The file version is not supported</translation>
    </message>
</context>
<context>
    <name>models::TDeviceForm</name>
    <message>
        <source>Трек</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>Часовой пояс прибора в целых часах; в прибор он попадет по кнопке &quot;Записать&quot;</source>
        <translation>The instrument&apos;s time zone in whole hours; it reaches the instrument with the &quot;Write&quot; button</translation>
    </message>
    <message>
        <source>Блок настроек прибора:</source>
        <translation>Instrument settings block:</translation>
    </message>
    <message>
        <source>Основные настройки</source>
        <translation>Main settings</translation>
    </message>
    <message>
        <source>Прибор: </source>
        <translation>Instrument: </translation>
    </message>
    <message>
        <source> версия </source>
        <translation> version </translation>
    </message>
    <message>
        <source>Запись настроек</source>
        <translation>Writing the settings</translation>
    </message>
    <message>
        <source>Прибор по усмолчанию</source>
        <translation>Default instrument</translation>
    </message>
</context>
<context>
    <name>scoring</name>
    <message>
        <source>свободный полёт</source>
        <translation>free flight</translation>
    </message>
    <message>
        <source>треугольник</source>
        <translation>triangle</translation>
    </message>
    <message>
        <source>треугольник FAI</source>
        <translation>FAI triangle</translation>
    </message>
    <message>
        <source>замкнутый треугольник</source>
        <translation>closed triangle</translation>
    </message>
    <message>
        <source>замкнутый треугольник FAI</source>
        <translation>closed FAI triangle</translation>
    </message>
    <message>
        <source>дистанция через 3 точки</source>
        <translation>distance via 3 points</translation>
    </message>
    <message>
        <source>плоский треугольник</source>
        <translation>flat triangle</translation>
    </message>
    <message>
        <source>туда и обратно от %1 км</source>
        <translation>out and return from %1 km</translation>
    </message>
    <message>
        <source>плоский треугольник от %1 км</source>
        <translation>flat triangle from %1 km</translation>
    </message>
    <message>
        <source>треугольник FAI от %1 км</source>
        <translation>FAI triangle from %1 km</translation>
    </message>
    <message>
        <source>полёт через 3 точки</source>
        <translation>flight via 3 points</translation>
    </message>
    <message>
        <source>  %1 %2  %3 %4  (точка %5)</source>
        <translation>  %1 %2  %3 %4  (point %5)</translation>
    </message>
    <message>
        <source>%1: нет оценки (мало точек)</source>
        <translation>%1: no score (too few points)</translation>
    </message>
    <message>
        <source>%1: %2 б, %3</source>
        <translation>%1: %2 pts, %3</translation>
    </message>
    <message>
        <source> (поиск прерван; возможно до %1 б)</source>
        <translation> (search stopped; possibly up to %1 pts)</translation>
    </message>
    <message>
        <source>  Дистанция %1 км × %2</source>
        <translation>  Distance %1 km × %2</translation>
    </message>
    <message>
        <source>  Плечи, км: %1</source>
        <translation>  Legs, km: %1</translation>
    </message>
    <message>
        <source>  Замыкание %1 км</source>
        <translation>  Closing %1 km</translation>
    </message>
    <message>
        <source>Начало</source>
        <translation>Begin</translation>
    </message>
    <message>
        <source>ППМ %1</source>
        <translation>TP %1</translation>
    </message>
    <message>
        <source>Старт</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Финиш</source>
        <translation>Finish</translation>
    </message>
    <message>
        <source>Конец</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Подъёмы и переходы: в треке нет времени или высоты</source>
        <translation>Climbs and glides: the track has no time or altitude</translation>
    </message>
    <message>
        <source>Полёт %1, в термиках %2 (%3 %)</source>
        <translation>Flight %1, in thermals %2 (%3 %)</translation>
    </message>
    <message>
        <source>Наибольший подъём %1 м/с за 1 с, %2 м/с за 10 с</source>
        <translation>Best climb %1 m/s over 1 s, %2 m/s over 10 s</translation>
    </message>
    <message>
        <source>Наибольшее снижение %1 м/с за 1 с, %2 м/с за 10 с</source>
        <translation>Worst sink %1 m/s over 1 s, %2 m/s over 10 s</translation>
    </message>
    <message>
        <source>Термики: %1</source>
        <translation>Thermals: %1</translation>
    </message>
    <message>
        <source>  %1–%2  набор %3 м, в среднем %4 м/с</source>
        <translation>  %1–%2  gain %3 m, average %4 m/s</translation>
    </message>
    <message>
        <source>Переходы: %1</source>
        <translation>Glides: %1</translation>
    </message>
    <message>
        <source>  %1–%2  %3 км, %4 км/ч, качество %5</source>
        <translation>  %1–%2  %3 km, %4 km/h, glide ratio %5</translation>
    </message>
    <message>
        <source>,</source>
        <comment>decimal separator</comment>
        <translation>.</translation>
    </message>
</context>
<context>
    <name>serial</name>
    <message>
        <source>Нет прав на порт: добавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) и войдите в систему заново</source>
        <translation>No permission for the port: add the user to the dialout group (sudo usermod -aG dialout $USER) and log in again</translation>
    </message>
    <message>
        <source>Порт занят другой программой: закройте её (терминал, другой конфигуратор) и повторите</source>
        <translation>The port is busy with another program: close it (a terminal, another configurator) and try again</translation>
    </message>
    <message>
        <source>Устройство не найдено: проверьте кабель, переподключите прибор и выберите порт заново</source>
        <translation>Device not found: check the cable, reconnect the instrument and choose the port again</translation>
    </message>
    <message>
        <source>Это не последовательный порт: выберите порт прибора</source>
        <translation>This is not a serial port: choose the instrument&apos;s port</translation>
    </message>
    <message>
        <source>ошибка %1</source>
        <translation>error %1</translation>
    </message>
    <message>
        <source>Порт занят программой brltty (для брайлевских дисплеев): если она не нужна, удалите её (sudo apt remove brltty) и переподключите прибор</source>
        <translation>The port is taken by brltty (for braille displays): if you do not need it, remove it (sudo apt remove brltty) and reconnect the instrument</translation>
    </message>
    <message>
        <source>Порт занят службой ModemManager: установите пакет tolmarikprog (его правило udev велит службе не трогать адаптер) или остановите её (sudo systemctl stop ModemManager) и повторите</source>
        <translation>The port is taken by the ModemManager service: install the tolmarikprog package (its udev rule tells the service to leave the adapter alone) or stop the service (sudo systemctl stop ModemManager) and try again</translation>
    </message>
    <message>
        <source>не обычный файл</source>
        <translation>not a regular file</translation>
    </message>
</context>
<context>
    <name>track</name>
    <message>
        <source>Файл &quot;%1&quot;: точки трека не по порядку времени, и не у всех есть время: порядок полёта не восстановить</source>
        <translation>File &quot;%1&quot;: the track points are out of time order and not all have a time: the order of the flight cannot be restored</translation>
    </message>
    <message>
        <source>барометрическая</source>
        <translation>barometric</translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>Отброшено невозможных точек: %1</source>
        <translation>Impossible points left out: %1</translation>
    </message>
    <message>
        <source>Полёт</source>
        <translation>Flight</translation>
    </message>
    <message>
        <source> (точек: %1)</source>
        <translation> (points: %1)</translation>
    </message>
    <message>
        <source>Трек (вид сверху)</source>
        <translation>Track (from above)</translation>
    </message>
    <message>
        <source>Нет точек</source>
        <translation>No points</translation>
    </message>
    <message>
        <source>км</source>
        <translation>km</translation>
    </message>
    <message>
        <source>м</source>
        <translation>m</translation>
    </message>
    <message>
        <source>На восток от старта, %1</source>
        <translation>East of start, %1</translation>
    </message>
    <message>
        <source>На север от старта, %1</source>
        <translation>North of start, %1</translation>
    </message>
    <message>
        <source>Старт</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Обрыв</source>
        <translation>Cut off</translation>
    </message>
    <message>
        <source>Посадка</source>
        <translation>Landing</translation>
    </message>
    <message>
        <source> км</source>
        <translation> km</translation>
    </message>
    <message>
        <source> м</source>
        <translation> m</translation>
    </message>
    <message>
        <source>С</source>
        <translation>N</translation>
    </message>
    <message>
        <source>Барограмма</source>
        <translation>Barogram</translation>
    </message>
    <message>
        <source>Нет данных о высоте</source>
        <translation>No altitude data</translation>
    </message>
    <message>
        <source>Время, UTC</source>
        <translation>Time, UTC</translation>
    </message>
    <message>
        <source>Номер точки</source>
        <translation>Point number</translation>
    </message>
    <message>
        <source>Высота, м</source>
        <translation>Altitude, m</translation>
    </message>
    <message>
        <source>Макс. %1 м</source>
        <translation>Max %1 m</translation>
    </message>
    <message>
        <source>Полет №%1</source>
        <translation>Flight No. %1</translation>
    </message>
    <message>
        <source>Полет %1.%2.%3 %4:%5</source>
        <translation>Flight %1.%2.%3 %4:%5</translation>
    </message>
    <message numerus="yes">
        <source>Продолжительноость %n минут</source>
        <translation>
            <numerusform>Duration %n minute</numerusform>
            <numerusform>Duration %n minutes</numerusform>
        </translation>
    </message>
    <message>
        <source>Максимальные значения:</source>
        <translation>Maximum values:</translation>
    </message>
    <message>
        <source>Высота %1 м</source>
        <translation>Altitude %1 m</translation>
    </message>
    <message>
        <source>Верт.скорость вверх %1 м/c</source>
        <translation>Climb rate %1 m/s</translation>
    </message>
    <message>
        <source>Верт.скорость вниз %1 м/c</source>
        <translation>Sink rate %1 m/s</translation>
    </message>
    <message>
        <source>Cкорость %1 км/ч</source>
        <translation>Speed %1 km/h</translation>
    </message>
    <message>
        <source>Удаление от базы %1 км</source>
        <translation>Distance from base %1 km</translation>
    </message>
    <message>
        <source>Расстояние  %1 км</source>
        <translation>Distance  %1 km</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не является файлом GPX</source>
        <translation>File &quot;%1&quot; is not a GPX file</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не прочитан как IGC: %2</source>
        <translation>File &quot;%1&quot; could not be read as IGC: %2</translation>
    </message>
    <message>
        <source>в нём нет записей IGC</source>
        <translation>it has no IGC records</translation>
    </message>
    <message>
        <source>в нём нет ни одной точки трека (B)</source>
        <translation>it has no track points (B)</translation>
    </message>
    <message>
        <source>в нём нет даты полёта (HFDTE)</source>
        <translation>it has no flight date (HFDTE)</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Взлёт (UTC)</source>
        <translation>Takeoff (UTC)</translation>
    </message>
    <message>
        <source>Посадка (UTC)</source>
        <translation>Landing (UTC)</translation>
    </message>
    <message>
        <source>Продолжительность</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Наибольшая высота</source>
        <translation>Highest altitude</translation>
    </message>
    <message>
        <source>%1 м</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>Длина трека</source>
        <translation>Track length</translation>
    </message>
    <message>
        <source>%1 км</source>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>Взлёт - посадка</source>
        <translation>Takeoff - landing</translation>
    </message>
    <message>
        <source> (линия)</source>
        <translation> (line)</translation>
    </message>
    <message>
        <source>Взлёт</source>
        <translation>Takeoff</translation>
    </message>
    <message>
        <source>Трек прочитан не до конца: %1 %2, GPS %3, ENG %4. %5</source>
        <translation>Track not read to the end: %1 %2, GPS %3, ENG %4. %5</translation>
    </message>
    <message>
        <source>сект.</source>
        <translation>sect.</translation>
    </message>
    <message>
        <source>стр.</source>
        <translation>page</translation>
    </message>
    <message>
        <source>Прочитанное в файлы не записано</source>
        <translation>What was read is not written to files</translation>
    </message>
    <message>
        <source>Прочитанное записано в отдельные файлы</source>
        <translation>What was read is written to separate files</translation>
    </message>
    <message>
        <source>Всего GPS %1</source>
        <translation>Total GPS %1</translation>
    </message>
    <message>
        <source>Всего ENG %1</source>
        <translation>Total ENG %1</translation>
    </message>
    <message>
        <source>___ Файлы созданы ____</source>
        <translation>___ Files created ____</translation>
    </message>
    <message>
        <source>В файле &quot;%1&quot; полётов: %2; взят первый</source>
        <translation>File &quot;%1&quot; holds %2 flights; the first is taken</translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не является треком IGC или GPX</source>
        <translation>File &quot;%1&quot; is not an IGC or GPX track</translation>
    </message>
</context>
<context>
    <name>track::TFlightListWindow</name>
    <message>
        <source>Полёты в памяти прибора</source>
        <translation>Flights in the instrument memory</translation>
    </message>
    <message>
        <source>Обновить список</source>
        <translation>Refresh list</translation>
    </message>
    <message>
        <source>Прочитать заголовки всех секторов памяти заново</source>
        <translation>Read the headers of all memory sectors again</translation>
    </message>
    <message>
        <source>№</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Старт</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Сектор</source>
        <translation>Sector</translation>
    </message>
    <message>
        <source>Секторов</source>
        <translation>Sectors</translation>
    </message>
    <message>
        <source>Длительность</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>В журнале</source>
        <translation>In logbook</translation>
    </message>
    <message>
        <source>Скачать отмеченные</source>
        <translation>Download checked</translation>
    </message>
    <message>
        <source>Скачать все новые</source>
        <translation>Download all new</translation>
    </message>
    <message>
        <source>Скачать все полёты, которых нет в журнале полётов</source>
        <translation>Download all flights not in the flight logbook</translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Поиск полётов в памяти прибора...</source>
        <translation>Looking for flights in the instrument memory...</translation>
    </message>
    <message>
        <source> (память не изменилась)</source>
        <translation> (memory unchanged)</translation>
    </message>
    <message>
        <source>Отметьте полёты, которые нужно скачать</source>
        <translation>Check the flights to download</translation>
    </message>
    <message>
        <source>Останавливается...</source>
        <translation>Stopping...</translation>
    </message>
    <message>
        <source>Скачивается полет №%1 (%2 из %3)</source>
        <translation>Downloading flight No. %1 (%2 of %3)</translation>
    </message>
</context>
<context>
    <name>track::TFlightPlotView</name>
    <message>
        <source>Здесь будет рисунок полета после скачивания трека</source>
        <translation>The flight picture appears here once the track is downloaded</translation>
    </message>
</context>
<context>
    <name>track::TTrackPage</name>
    <message>
        <source>Последний</source>
        <translation>Latest</translation>
    </message>
    <message>
        <source>Предыдущий</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Скачать</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Номер страницы</source>
        <translation>Page number</translation>
    </message>
    <message>
        <source>Считать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Сохранить прочитанное</source>
        <translation>Save what was read</translation>
    </message>
    <message>
        <source>Папка...</source>
        <translation>Folder...</translation>
    </message>
    <message>
        <source>Выбрать папку для файлов трека</source>
        <translation>Choose the folder for track files</translation>
    </message>
    <message>
        <source>Все полёты...</source>
        <translation>All flights...</translation>
    </message>
    <message>
        <source>Все полёты в памяти прибора: скачать любой из них или все новые</source>
        <translation>All flights in the instrument memory: download any of them or all new ones</translation>
    </message>
    <message>
        <source>Файлы трека:</source>
        <translation>Track files:</translation>
    </message>
    <message>
        <source>Не удалось открыть папку %1</source>
        <translation>Could not open the folder %1</translation>
    </message>
</context>
</TS>
