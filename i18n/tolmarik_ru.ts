<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="ru">
<context>
    <name>app</name>
    <message>
        <source>О программе: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Версия: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Компания: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Автор: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port: нужно имя порта или путь</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--transcript: нужно имя файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестный параметр %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>открыть можно только один файл, указаны %1 и %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 не файл настроек (.bcf) и не полёт (.igc, .gpx)</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2; см. --help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полет записан в журнал полётов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Этот полет уже есть в журнале полётов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл конфигурации прибора (*.bcf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки по умолчанию загружены только в окно; в прибор они попадут по кнопке &quot;Записать&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Идет обмен с прибором. Выйти из программы, не дожидаясь его конца?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Последовательный порт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дополнительный порт</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::TFormPilot</name>
    <message>
        <source>Пилот</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Имя пилота:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Модель крыла:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Номер крыла:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Соревновательный номер:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Записывается в каждый новый файл IGC (русские буквы - латиницей) и в журнал.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>app::TMainForm</name>
    <message>
        <source>Начало работы: 
- присоедините устройство
- выберите порт,
- нажмите кнопку &quot;Считать&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Считать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Записать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сброс по умолчанию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть настройки из файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>С&amp;охранить как...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить конфигурацию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В&amp;ыход</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Закрыть программу</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>О программе...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновить прошивку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выберите действие с приборами</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Журнал</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пилот...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>П&amp;омощь</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Язык</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Язык сменится при следующем запуске программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выход</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сброс</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сброс настроек прибора по умолчанию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Подключенный прибор:
%1,
данным программатором не поддерживается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ошибка </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл открыт: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message>
        <source>Ответ: да (--yes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Некому ответить: стандартный ввод не терминал. Чтобы подтвердить изменение, добавьте --yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[да/нет]: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Часовой пояс: целое число часов от %1 до +%2 (например 3, -5, +14).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки прибора не сохранены: %1. Чтобы обновить прошивку без их копии, добавьте --no-backup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вернуть сохраненные настройки: tolmarik-cli %1 write %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не порт: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось открыть файл протокола обмена %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Последовательные порты не найдены</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>адаптер</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет портов с адаптером прибора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор найден на порту %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор не найден ни на одном порту</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Модель: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Модель: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Версия: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>сект.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>стр.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось построить рисунок</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>См. --help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полет №%1, сектор %2 (%3 из %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--flight: нужно число от 0 до 65535.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 сект.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№	Дата	Старт	Сектор	Секторов	Длительность	В журнале</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полета №%1 нет в памяти прибора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата &quot;%1&quot;: нужна в виде ГГГГ-ММ-ДД</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время взлёта &quot;%1&quot;: нужно в виде ЧЧ:ММ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время полёта &quot;%1&quot;: нужно в виде Ч:ММ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1	%2	%3 ч	%4 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№	Дата	Взлёт	Время	Высота, м	Трек, км	Место	Крыло	XContest, б</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Радиус места взлёта: %1 м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Всего</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавлено: %1, уже в журнале: %2, не прочитано: %3, пропущено: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Оценено полётов: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл трека: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нечего отменять</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка записи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось вывести результат на стандартный вывод: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Протокол обмена записан не полностью, файл &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Размер рисунка: от %1x%2 до %3x%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Неверное число аргументов команды %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не указана команда.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Номер страницы: число от 0 до %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пустое имя файла.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Неизвестная команда или неверное число аргументов.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Правила: одно из %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Предел времени: секунды, 0 или больше.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полёт %1 из %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Наибольшая высота %1 м (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  PORT flights [--rescan]       все полёты в памяти прибора, новые первыми:
                                номер, дата, старт, первый сектор, секторов,
                                оценка длительности, есть ли в журнале
  PORT download --flight N|--all-new [--pages] [--dir DIR] [--no-igc] [--rescan]
                                скачать полёт N или все полёты, которых нет
                                в журнале, каждый в свои файлы и в журнал
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>download: полёт с номером N в памяти прибора (все его части, если его делит сектор другого полёта).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>download: все полёты в памяти, которых нет в журнале.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>flights, download: прочитать память снова, даже если она не изменилась.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взять полёт перед последним.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачивать по страницам, а не по секторам.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Папка для файлов трека (по умолчанию текущая).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не записывать файл IGC.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Если скачивание остановилось до конца трека, всё равно записать прочитанное (код завершения остаётся кодом ошибки).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Размер рисунка (по умолчанию %1x%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дописывать в FILE каждый посланный и полученный байт со временем.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Папка для настроек, сохраняемых перед обновлением прошивки (по умолчанию %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновить прошивку, даже если настройки не удаётся сначала сохранить.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ответить &quot;да&quot; на вопрос перед изменением в приборе (write, set-timezone, firmware); без него для вопроса нужен терминал.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Коды завершения:
</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>См. выше.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  score FILE [--rules RULES] [--json] [--time-limit S]
                                лучшая оценка полёта по маршруту (поиск
                                останавливается через %1 с, если --time-limit
                                не велит иначе)
  analyse FILE [--score]        термики, переходы, набор и снижение полёта
                                (а с --score и его оценка)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Правила оценки: %1 (xcontest, если не указаны).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вывести оценку в JSON.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Остановить поиск оценки через S секунд (по умолчанию %1) с лучшей найденной и наибольшей возможной оценкой; 0: до доказательства.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>С analyse: оценить и полёт.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1	%2	№ %3	%4</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>device</name>
    <message>
        <source>Не удалось открыть файл &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось прочитать файл &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось записать файл &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это папка, а не файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это не обычный файл (канал, устройство или сокет)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это символическая ссылка на несуществующий файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это символическая ссылка на другую ссылку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это символическая ссылка, которая или чей файл принадлежит другому пользователю</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл защищен от записи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.прежний</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>прежний файл &quot;%1&quot; сохранён как &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Невозможно открыть порт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет связи с прибором</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет связи, проверьте соединения или номер порта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Устройство не отвечает</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Читать по сектору</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Открыть папку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Связь с прибором потеряна</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Данные прибора считаны</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Данные записаны</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Данный прибор не поддерживается программатором</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прошивка обновлена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновление прошивки прервано. В приборе может остаться неполная прошивка, и он может не работать как обычно. Не отключайте прибор и повторите обновление тем же файлом прошивки.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прошивка не для этого приюбора!!!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл сохранен: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестная модель %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестная модель (прибор ее не назвал)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, только чтение</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись запрещена: %1. Программа не знает настроек этого прибора, ничего не записано</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Программа не знает этот прибор (%1). Прошивка может ему не подойти, и прибор перестанет работать.
Все равно обновить прошивку?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет папки: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет папки: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось создать папку &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Журнал полётов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Журнал полётов не включён в эту сборку программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; слишком велик для трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В файле &quot;%1&quot; нет точек трека</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>firmware</name>
    <message>
        <source>Файл прошивки пуст: передавать прибору нечего</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл не найден</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Образ прошивки не помещается в буфер передачи</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл прошивки поврежден: блоки не заканчиваются вместе с образом</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновление прошивки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прошивка прибора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Идет обновление прошивки. Если выйти сейчас, прибор может остаться без работающей прошивки.
Все равно выйти?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл прошивок (*.enc)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>firmware::TFormUpdateFW</name>
    <message>
        <source>Обновление прошивки прибора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выбрать файл...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выход</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выберите файл</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>flow</name>
    <message>
        <source>Настройки не записаны: они для прибора %1, а подключен %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись не подтверждена: прибор вернул другие настройки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор: модель и версия прошивки неизвестны (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор: %1, версия прошивки %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл прошивки: %1 (%2 байт)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не отключайте прибор и не закрывайте программу до конца обновления: прибор может остаться без работающей прошивки.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновить прошивку?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки прибора сохранены: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>прибор не ответил на запрос модели</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки прибора не сохранены: %1.
Обновить прошивку без копии настроек?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестна</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Версия прошивки: была %1, стала %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Записать в прибор настройки, сохраненные перед обновлением?
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>без даты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полётов в памяти: %1, новых: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Новых полётов нет: все полёты из памяти прибора уже в журнале полётов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>да</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поиск полётов прерван</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поиск полётов прерван: прочитано секторов %1 из %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачано полётов: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачано полётов: %1 из %2, остановлено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт занят: идет другая операция с прибором</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор не поддерживается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ошибка конфигурации</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>У этого полета нет трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В приборе уже эти настройки: записывать нечего</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Изменение не подтверждено: в приборе ничего не изменено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки в приборе изменились после вопроса: ничего не записано</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт открыт...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>успех</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>другая ошибка (например, у полёта нет трека)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка вызова: неизвестная команда или параметр, неверный аргумент</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>порт не открывается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет связи: прибор не отвечает или его ответ искажён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>прибор отказал в запросе</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>плохой входной файл: нет его, повреждён или для модели, которой программа не знает</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>выходной файл не записан или не прошёл проверку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>настройки для другой модели, чем у прибора; ничего не записано</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>настройки, считанные после записи, отличаются от записанных</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>стандартный вывод или протокол обмена записан не полностью</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>журнал полётов недоступен: повреждён, от более новой версии или не включён в сборку</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>изменение в приборе не подтверждено (ответ &quot;нет&quot; или некого спросить и нет --yes); ничего не изменено</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>модель прибора неизвестна программе: он только считывается, в него ничего не пишется</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>настройки прибора изменились, пока программа ждала ответа; ничего не записано</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>logbook</name>
    <message>
        <source>%1 м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 м/с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>тот же полёт, что № %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по прибору</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>из файла IGC (HFTZN)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по долготе места взлёта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по другому полёту с этого места</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по часам компьютера</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>неизвестно</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>без трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Радиус места взлёта: от %1 до %2 м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Назвать место &quot;%1&quot; и у этих полётов в пределах %2 м от взлёта (%3)?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  № %1  %2  %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(место не названо)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Посадка: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Часовой пояс: %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время полёта: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не названо</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Место взлёта: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Трек: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Место взлёта: %1 (%2, %3), %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Посадка: %1, %2, %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: наибольшая %1, наименьшая %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Набор: %1 за 1 с, %2 за 10 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Снижение: %1 за 1 с, %2 за 10 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Трек: %1 км, по прямой %2 км, %n точек</source>
        <translation>
            <numerusform>Трек: %1 км, по прямой %2 км, %n точек</numerusform>
            <numerusform>Трек: %1 км, по прямой %2 км, %n точек</numerusform>
            <numerusform>Трек: %1 км, по прямой %2 км, %n точек</numerusform>
        </translation>
    </message>
    <message>
        <source>Пилот: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Крыло: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор: %1%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, прошивка %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заметки: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>С другого прибора: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>полёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>полёта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>полётов</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n полётов</source>
        <translation>
            <numerusform>%n полёт</numerusform>
            <numerusform>%n полёта</numerusform>
            <numerusform>%n полётов</numerusform>
        </translation>
    </message>
    <message>
        <source>Полёта %1 нет в журнале</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В скачанном полёте нет точек со временем</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot;: в треке нет точек со временем</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; пропущен: по имени это не трек IGC или GPX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По годам</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По месяцам</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По местам</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По крыльям</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(крыло не указано)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Самый долгий полёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дальше всего от взлёта до посадки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Лучшая оценка XContest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Самая большая высота</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Лучший набор за 10 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Посадка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Посадка UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Место</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Наибольшая высота, м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Наименьшая высота, м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длина трека, км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт - посадка, км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Набор 10 с, м/с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Снижение 10 с, м/с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Точек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Крыло</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пилот</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заметки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Широта взлёта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Долгота взлёта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XContest, б</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Вид полёта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пояс</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Пояс определён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Трек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>У полёта нет файла трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Неверная дата или время взлёта</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время полёта: от 0:01 до %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отменено удаление полёта № %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отменено добавление полёта № %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отменено изменение полёта № %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не является целой резервной копией журнала (%2); журнал не изменён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл слишком велик</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет заголовка резервной копии</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>записана более новой версией программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>контрольная сумма не сходится</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>запись обрывается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>недопустимое имя &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>имя &quot;%1&quot; дважды</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет базы журнала</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>база журнала не читается</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>база журнала повреждена</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полётов: %1, файлов треков: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Журнал восстановлен из &quot;%1&quot;. %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 не скопирован: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; не переименован в &quot;%2&quot;; журнал не изменён</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Журнал полётов &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 недоступен: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>журнал занят другой программой, попробуйте позже (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет права записи в журнал (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ссылка ведёт к отсутствующему файлу &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>это не файл</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет права записи в папку &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не удалось создать папку &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет права чтения файла</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл только для чтения</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл &quot;%1&quot; остался только для чтения; удалите его, когда журнал не открыт ни одной программой</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл повреждён или не является журналом (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл записан более новой версией программы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>файл повреждён (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>резервная копия перед обновлением не сохранена: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>logbook::TLogbookModel</name>
    <message>
        <source>№</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Место</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота, м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Трек, км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>XContest, б</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Крыло</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>logbook::TLogbookWindow</name>
    <message>
        <source>Резервные копии журнала (*.backup);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Место взлёта:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Крыло:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заметки:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выберите полёт в списке</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2 ч, %3 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>место, крыло, заметки, пилот</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Год:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Найти:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>С:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>по:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт файлов...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт папки...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить KML...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Объединить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Два выбранных полёта — один полёт с двух приборов: считать его один раз</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Разделить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Считать выбранный полёт отдельным полётом</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Резервная копия...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Журнал и его файлы треков в одном файле</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Восстановить...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заменить журнал резервной копией</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавить полёт без трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Изменить...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отменить последнее изменение или удаление (Ctrl+Z)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ещё</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отменить импорт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Все</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выбрано: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Всего: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Рекорды:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1: %2 (№ %3, %4)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>У полёта нет трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Добавлено полётов: %1, уже были в журнале: %2, не прочитано: %3, пропущено: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Импорт отменён.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Треки (*.igc *.IGC *.gpx *.GPX);;Все файлы (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полёт %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт, %1:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полёт без трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт (местное время):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время полёта:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удалить из журнала полёт %1 %2? Файлы трека останутся на диске.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Заменить журнал полётов резервной копией &quot;%1&quot;? Нынешний журнал будет сохранён в папке &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>models</name>
    <message>
        <source>Часовой пояс: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>вне пределов от %1 до %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Настройки не записаны: часовой пояс %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>По умолчанию</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Неизвестное устройство</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Часовой пояс: %1 → %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Байт %1: %2 → %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...и еще байт: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В приборе %1 изменятся настройки (байт: %2):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Записать эти изменения в прибор?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл поврежден</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Версия файла не поддерживается</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>models::TDeviceForm</name>
    <message>
        <source>Трек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Часовой пояс прибора в целых часах; в прибор он попадет по кнопке &quot;Записать&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Блок настроек прибора:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Основные настройки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> версия </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Запись настроек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прибор по усмолчанию</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>scoring</name>
    <message>
        <source>свободный полёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>треугольник</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>треугольник FAI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>замкнутый треугольник</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>замкнутый треугольник FAI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>дистанция через 3 точки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>плоский треугольник</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>туда и обратно от %1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>плоский треугольник от %1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>треугольник FAI от %1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>полёт через 3 точки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 %2  %3 %4  (точка %5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: нет оценки (мало точек)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 б, %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (поиск прерван; возможно до %1 б)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Дистанция %1 км × %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Плечи, км: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Замыкание %1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Начало</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ППМ %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Старт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Финиш</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Конец</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Подъёмы и переходы: в треке нет времени или высоты</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полёт %1, в термиках %2 (%3 %)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Наибольший подъём %1 м/с за 1 с, %2 м/с за 10 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Наибольшее снижение %1 м/с за 1 с, %2 м/с за 10 с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Термики: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1–%2  набор %3 м, в среднем %4 м/с</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Переходы: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1–%2  %3 км, %4 км/ч, качество %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>,</source>
        <comment>decimal separator</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>serial</name>
    <message>
        <source>Нет прав на порт: добавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) и войдите в систему заново</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт занят другой программой: закройте её (терминал, другой конфигуратор) и повторите</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Устройство не найдено: проверьте кабель, переподключите прибор и выберите порт заново</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Это не последовательный порт: выберите порт прибора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ошибка %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт занят программой brltty (для брайлевских дисплеев): если она не нужна, удалите её (sudo apt remove brltty) и переподключите прибор</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Порт занят службой ModemManager: установите пакет tolmarikprog (его правило udev велит службе не трогать адаптер) или остановите её (sudo systemctl stop ModemManager) и повторите</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>не обычный файл</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>track</name>
    <message>
        <source>Файл &quot;%1&quot;: точки трека не по порядку времени, и не у всех есть время: порядок полёта не восстановить</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>барометрическая</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>нет данных</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отброшено невозможных точек: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (точек: %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Трек (вид сверху)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет точек</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>На восток от старта, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>На север от старта, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Старт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обрыв</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Посадка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>С</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Барограмма</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Нет данных о высоте</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Время, UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Номер точки</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота, м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Макс. %1 м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полет №%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Полет %1.%2.%3 %4:%5</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Продолжительноость %n минут</source>
        <translation>
            <numerusform>Продолжительноость %n минут</numerusform>
            <numerusform>Продолжительноость %n минут</numerusform>
            <numerusform>Продолжительноость %n минут</numerusform>
        </translation>
    </message>
    <message>
        <source>Максимальные значения:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Высота %1 м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Верт.скорость вверх %1 м/c</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Верт.скорость вниз %1 м/c</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cкорость %1 км/ч</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Удаление от базы %1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Расстояние  %1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не является файлом GPX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не прочитан как IGC: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в нём нет записей IGC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в нём нет ни одной точки трека (B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>в нём нет даты полёта (HFDTE)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт (UTC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Посадка (UTC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Продолжительность</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Наибольшая высота</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 м</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длина трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 км</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт - посадка</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (линия)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Взлёт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Трек прочитан не до конца: %1 %2, GPS %3, ENG %4. %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>сект.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>стр.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прочитанное в файлы не записано</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прочитанное записано в отдельные файлы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Всего GPS %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Всего ENG %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>___ Файлы созданы ____</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В файле &quot;%1&quot; полётов: %2; взят первый</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файл &quot;%1&quot; не является треком IGC или GPX</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>track::TFlightListWindow</name>
    <message>
        <source>Полёты в памяти прибора</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Обновить список</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прочитать заголовки всех секторов памяти заново</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>№</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Дата</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Старт</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сектор</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Секторов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Длительность</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>В журнале</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачать отмеченные</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачать все новые</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачать все полёты, которых нет в журнале полётов</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Прервать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Поиск полётов в памяти прибора...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (память не изменилась)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Отметьте полёты, которые нужно скачать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Останавливается...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачивается полет №%1 (%2 из %3)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>track::TFlightPlotView</name>
    <message>
        <source>Здесь будет рисунок полета после скачивания трека</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>track::TTrackPage</name>
    <message>
        <source>Последний</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Предыдущий</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Скачать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Номер страницы</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Считать</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Сохранить прочитанное</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Папка...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Выбрать папку для файлов трека</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Все полёты...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Все полёты в памяти прибора: скачать любой из них или все новые</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Файлы трека:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Не удалось открыть папку %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
