<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="ru">
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
