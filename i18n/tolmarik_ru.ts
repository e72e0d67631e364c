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
</TS>
