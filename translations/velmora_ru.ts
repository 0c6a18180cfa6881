<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Velmora Version 2.0</source>
        <translation>Velmora, версия 2.0</translation>
    </message>
    <message>
        <source>This program is protected by copyright. Copying it or passing it on, in whole or in part, without the owner&apos;s written permission is forbidden and will be prosecuted under civil and criminal law.</source>
        <translation>Программа охраняется авторским правом. Её копирование и передача, целиком или частично, без письменного разрешения владельца запрещены и преследуются по закону.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>DataWindow</name>
    <message>
        <source>Data</source>
        <translation>Данные</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Save data as...</source>
        <translation>Сохранить данные как...</translation>
    </message>
    <message>
        <source>Save data as</source>
        <translation>Сохранить данные как</translation>
    </message>
    <message>
        <source>Print data</source>
        <translation>Печать данных</translation>
    </message>
    <message>
        <source>Clear data</source>
        <translation>Очистить данные</translation>
    </message>
    <message>
        <source>Clear default file data</source>
        <translation>Очистить файл истории</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Результаты</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Испытуемый</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>CMF</source>
        <translation>CMF</translation>
    </message>
    <message>
        <source>Reliability</source>
        <translation>Надёжность</translation>
    </message>
    <message>
        <source>No data!</source>
        <translation>Нет данных!</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Will be stored as &quot;%1&quot;</source>
        <translation>Будет сохранено как «%1»</translation>
    </message>
</context>
<context>
    <name>DynamicsPlot</name>
    <message>
        <source>Dinamics DCH </source>
        <translation>Динамика нажатий </translation>
    </message>
</context>
<context>
    <name>Evaluation</name>
    <message>
        <source>Normal</source>
        <translation>Норма</translation>
    </message>
    <message>
        <source>Abnormal</source>
        <translation>Отклонение</translation>
    </message>
    <message>
        <source>Reliable</source>
        <translation>Надёжно</translation>
    </message>
    <message>
        <source>Unreliable</source>
        <translation>Ненадёжно</translation>
    </message>
</context>
<context>
    <name>GraphDecoration</name>
    <message>
        <source>Graph scale</source>
        <translation>Шкала графика</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Velmora Help</source>
        <translation>Справка Velmora</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Содержание</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Velmora Help - %1</source>
        <translation>Справка Velmora - %1</translation>
    </message>
</context>
<context>
    <name>HistoryExport</name>
    <message>
        <source>CSV for spreadsheets and statistics (*.csv)</source>
        <translation>CSV для электронных таблиц и статистики (*.csv)</translation>
    </message>
    <message>
        <source>File saved!</source>
        <translation>Файл сохранён!</translation>
    </message>
</context>
<context>
    <name>HistoryFileOperations</name>
    <message>
        <source>(Old History Files *.dat</source>
        <translation>(Старые файлы истории *.dat</translation>
    </message>
    <message>
        <source>Batch Files Restest.*</source>
        <translation>Резервные копии Restest.*</translation>
    </message>
    <message>
        <source>History open!</source>
        <translation>История открыта!</translation>
    </message>
    <message>
        <source>Data saved!</source>
        <translation>Данные сохранены!</translation>
    </message>
    <message>
        <source>Permission denied. Data not saved!</source>
        <translation>Доступ запрещён. Данные не сохранены!</translation>
    </message>
    <message>
        <source>Do you really want to delete the history?</source>
        <translation>Вы действительно хотите удалить историю?</translation>
    </message>
    <message>
        <source>Data delete</source>
        <translation>Удаление данных</translation>
    </message>
    <message>
        <source>Default file data clear!</source>
        <translation>Файл истории очищен!</translation>
    </message>
    <message>
        <source>Error! No data or bakup file already exists.</source>
        <translation>Ошибка! Нет данных, или резервная копия уже существует.</translation>
    </message>
</context>
<context>
    <name>HistoryList</name>
    <message>
        <source>Error file data! Clear data.</source>
        <translation>Ошибка в файле данных! Очистите данные.</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>Error. No data!</source>
        <translation>Ошибка. Данные не сохранены!</translation>
    </message>
</context>
<context>
    <name>KeyPressExport</name>
    <message>
        <source>CSV for spreadsheets and statistics (*.csv)</source>
        <translation>CSV для электронных таблиц и статистики (*.csv)</translation>
    </message>
    <message>
        <source>No key presses are kept for this history.</source>
        <translation>Для этой истории нажатия клавиш не сохранены.</translation>
    </message>
    <message>
        <source>The key presses kept for this history cannot be read.</source>
        <translation>Нажатия, сохранённые для этой истории, не удаётся прочитать.</translation>
    </message>
    <message>
        <source>The file of key presses is damaged: the presses after the damage are not exported.</source>
        <translation>Файл нажатий повреждён: нажатия после повреждения не экспортированы.</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Open old data(for viewing only)</source>
        <translation>&amp;Открыть старые данные (только для просмотра)</translation>
    </message>
    <message>
        <source>&amp;Save data as...</source>
        <translation>&amp;Сохранить данные как...</translation>
    </message>
    <message>
        <source>&amp;Export text file</source>
        <translation>&amp;Экспорт в текстовый файл</translation>
    </message>
    <message>
        <source>Export &amp;key presses...</source>
        <translation>Экспорт &amp;нажатий клавиш...</translation>
    </message>
    <message>
        <source>&amp;Clear default file data</source>
        <translation>О&amp;чистить файл истории</translation>
    </message>
    <message>
        <source>&amp;Print data</source>
        <translation>&amp;Печать данных</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Тест</translation>
    </message>
    <message>
        <source>&amp;Results</source>
        <translation>&amp;Результаты</translation>
    </message>
    <message>
        <source>&amp;Data</source>
        <translation>&amp;Данные</translation>
    </message>
    <message>
        <source>Tr&amp;end</source>
        <translation>Тр&amp;енд</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Содержание</translation>
    </message>
    <message>
        <source>About Velmora</source>
        <translation>О программе Velmora</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>О &amp;Qt</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>О Qt</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Папка</translation>
    </message>
</context>
<context>
    <name>QMdiSubWindow</name>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Размер</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
</context>
<context>
    <name>ResultReport</name>
    <message>
        <source>Interval</source>
        <translation>Интервал</translation>
    </message>
    <message>
        <source>Key presses</source>
        <translation>Число нажатий</translation>
    </message>
    <message>
        <source>Mean gap, ms</source>
        <translation>Средний промежуток, мс</translation>
    </message>
    <message>
        <source>SD of gaps, ms</source>
        <translation>СКО промежутков, мс</translation>
    </message>
    <message>
        <source>Psychomotor test of the maximal key-pressing rate</source>
        <translation>Психомоторный тест максимальной частоты нажатий</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Key presses in each interval of about 5 seconds</source>
        <translation>Число нажатий в каждом интервале (около 5 секунд)</translation>
    </message>
    <message>
        <source>Evaluation</source>
        <translation>Оценка</translation>
    </message>
    <message>
        <source>CMF</source>
        <translation>CMF</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Результаты</translation>
    </message>
    <message>
        <source>Reliability</source>
        <translation>Надёжность</translation>
    </message>
    <message>
        <source>CMF is the fall of the key presses from the first interval to the last, in per cent of the first (-1 for any rise); Results is Normal for a CMF of 10 or less and Abnormal above it; Reliability is Unreliable when the first interval has fewer than 30 presses or the rate rose, and Reliable otherwise.</source>
        <translation>CMF — снижение числа нажатий от первого интервала к последнему в процентах от первого (-1 при любом росте); Результаты — «Норма» при CMF 10 и меньше и «Отклонение» при большем; Надёжность — «Ненадёжно», если в первом интервале меньше 30 нажатий или частота выросла, иначе «Надёжно».</translation>
    </message>
    <message>
        <source>Dynamics</source>
        <translation>Динамика</translation>
    </message>
    <message>
        <source>Printed on %1</source>
        <translation>Напечатано %1</translation>
    </message>
    <message>
        <source>Test result</source>
        <translation>Результат теста</translation>
    </message>
</context>
<context>
    <name>ResultsWindow</name>
    <message>
        <source>Results</source>
        <translation>Результаты</translation>
    </message>
    <message>
        <source>Print result...</source>
        <translation>Печать результата...</translation>
    </message>
    <message>
        <source>Dynamics graph</source>
        <translation>График динамики</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>There are no data!</source>
        <translation>Нет данных!</translation>
    </message>
    <message>
        <source>Reliability</source>
        <translation>Надёжность</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Counts %1, %2, %3, %4; CMF %5</source>
        <translation>Число нажатий %1, %2, %3, %4; CMF %5</translation>
    </message>
</context>
<context>
    <name>SaveOutcome</name>
    <message>
        <source>Permission denied. Data not saved!</source>
        <translation>Доступ запрещён. Данные не сохранены!</translation>
    </message>
    <message>
        <source>The disk is full or cannot be written. Data not saved!</source>
        <translation>Диск заполнен или недоступен для записи. Данные не сохранены!</translation>
    </message>
</context>
<context>
    <name>TestRun</name>
    <message>
        <source>Enter name of tested please!</source>
        <translation>Введите фамилию и имя испытуемого!</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Ввод</translation>
    </message>
</context>
<context>
    <name>TestWindow</name>
    <message>
        <source>Test complete</source>
        <translation>Тест завершён</translation>
    </message>
    <message>
        <source>Test stopped</source>
        <translation>Тест остановлен</translation>
    </message>
    <message>
        <source>Rate diagram</source>
        <translation>Диаграмма частоты</translation>
    </message>
    <message>
        <source>Rises with every key released and sinks between them; keep it in the green area above the middle.</source>
        <translation>Поднимается с каждой отпущенной клавишей и опускается между нажатиями; держите её в зелёной области выше середины.</translation>
    </message>
    <message>
        <source>Press &quot;Esc&quot; for stop test!</source>
        <translation>«Esc» — остановить тест!</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Старт</translation>
    </message>
    <message>
        <source>Next &gt;&gt;</source>
        <translation>Далее &gt;&gt;</translation>
    </message>
    <message>
        <source>With the maximal frequency press any key on the keyboard (behind exception {Esc} and {Enter}) while there is a display of the diagram. Try to keep the diagram in green area.</source>
        <translation>С максимальной частотой нажимайте любую клавишу (кроме {Esc} и {Enter}), пока на экране диаграмма. Старайтесь удерживать диаграмму в зелёной области.</translation>
    </message>
    <message>
        <source>:/art/test.png</source>
        <comment>the picture&apos;s path; its subtitle drawn in this language</comment>
        <translation>:/art/test-ru.png</translation>
    </message>
</context>
<context>
    <name>TrendTable</name>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>c1</source>
        <translation>c1</translation>
    </message>
    <message>
        <source>c2</source>
        <translation>c2</translation>
    </message>
    <message>
        <source>c3</source>
        <translation>c3</translation>
    </message>
    <message>
        <source>c4</source>
        <translation>c4</translation>
    </message>
    <message>
        <source>CMF</source>
        <translation>CMF</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Результаты</translation>
    </message>
    <message>
        <source>Reliability</source>
        <translation>Надёжность</translation>
    </message>
</context>
<context>
    <name>TrendWindow</name>
    <message>
        <source>Trend</source>
        <translation>Тренд</translation>
    </message>
    <message>
        <source>Trend chart</source>
        <translation>График тренда</translation>
    </message>
    <message>
        <source>Tests</source>
        <translation>Тесты</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Столбцы</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Строки</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Выбрать все</translation>
    </message>
    <message>
        <source>CMF, %</source>
        <translation>CMF, %</translation>
    </message>
    <message>
        <source>c1</source>
        <translation>c1</translation>
    </message>
    <message>
        <source>c1 line</source>
        <translation>Линия c1</translation>
    </message>
    <message>
        <source>Abnormal above 10</source>
        <translation>Отклонение выше 10</translation>
    </message>
    <message>
        <source>CMF</source>
        <translation>CMF</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Норма</translation>
    </message>
    <message>
        <source>Abnormal</source>
        <translation>Отклонение</translation>
    </message>
    <message>
        <source>Normal, unreliable</source>
        <translation>Норма, ненадёжно</translation>
    </message>
    <message>
        <source>Abnormal, unreliable</source>
        <translation>Отклонение, ненадёжно</translation>
    </message>
    <message>
        <source>%1: no tests in this history.</source>
        <translation>%1: в этой истории тестов нет.</translation>
    </message>
    <message>
        <source>%1: one test, on %2. A trend shows from the second test on.</source>
        <translation>%1: один тест, %2. Тренд виден со второго теста.</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n tests on %2.</source>
        <translation>
            <numerusform>%1: %n тест за %2.</numerusform>
            <numerusform>%1: %n теста за %2.</numerusform>
            <numerusform>%1: %n тестов за %2.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %n tests from %2 to %3.</source>
        <translation>
            <numerusform>%1: %n тест с %2 по %3.</numerusform>
            <numerusform>%1: %n теста с %2 по %3.</numerusform>
            <numerusform>%1: %n тестов с %2 по %3.</numerusform>
        </translation>
    </message>
    <message>
        <source> The history is damaged: only the tests before the damage are shown.</source>
        <translation> История повреждена: показаны только тесты до повреждения.</translation>
    </message>
    <message>
        <source>%1 %2
c1-c4: %3, %4, %5, %6
CMF %7
%8, %9</source>
        <translation>%1 %2
c1-c4: %3, %4, %5, %6
CMF %7
%8, %9</translation>
    </message>
</context>
</TS>
