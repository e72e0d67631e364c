<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
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
