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
</TS>
