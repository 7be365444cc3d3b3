"""The documents of the sample disc: a small car repair manual in Windows-1251 HTML, its
pictures, the thesaurus, the contents trees and the loose files beside the store."""
import html
import os
import shutil

import pictures

# Chapters in reading order: (prefix, heading, [(file, title, body)]).
CHAPTERS = []


def chapter(prefix, heading):
    CHAPTERS.append((prefix, heading, []))


def doc(name, title, *parts, charset=True):
    CHAPTERS[-1][2].append((name, title, "\n".join(parts), charset))


def p(text):
    return "<p>%s</p>" % text


def h2(text, anchor=None):
    return '<h2><a name="%s"></a>%s</h2>' % (anchor, text) if anchor else "<h2>%s</h2>" % text


def ul(*items, ordered=False):
    tag = "ol" if ordered else "ul"
    return "<%s>\n%s\n</%s>" % (tag, "\n".join("<li>%s</li>" % i for i in items), tag)


def table(head, *rows):
    out = ['<table border="1" cellpadding="4" cellspacing="0">',
           "<tr>%s</tr>" % "".join("<th>%s</th>" % h for h in head)]
    out += ["<tr>%s</tr>" % "".join("<td>%s</td>" % c for c in row) for row in rows]
    return "\n".join(out + ["</table>"])


def img(src, alt, big=None, width=None):
    size = ' width="%d"' % width if width else ""
    tag = '<img src="%s" alt="%s" border="0"%s>' % (src, alt, size)
    if big:
        tag = '<a href="%s" target="_blank">%s</a><br><small>Щёлкните по рисунку, чтобы увеличить.</small>' % (big, tag)
    return '<p class="pic">%s</p>' % tag


def note(text):
    return '<table class="note" cellpadding="6"><tr><td><img src="images/vnimanie.gif" alt="Внимание"></td><td>%s</td></tr></table>' % text


chapter("dv", "Двигатель")
doc("dv_obzor.htm", "Двигатель: общие сведения",
    p("На автомобиль устанавливается четырёхцилиндровый рядный бензиновый двигатель рабочим объёмом 1,6 л "
      "с распределённым впрыском топлива и жидкостным охлаждением."),
    img("images/dvigatel.png", "Двигатель, вид спереди", "images/dvigatel_big.jpg"),
    h2("Основные данные"),
    table(["Параметр", "Значение"], ["Число цилиндров", "4"], ["Диаметр цилиндра", "82 мм"],
          ["Ход поршня", "75,6 мм"], ["Степень сжатия", "9,8"], ["Мощность", "66 кВт при 5200 об/мин"],
          ["Порядок работы цилиндров", "1-3-4-2"]),
    p("Прежде чем приступать к работам, прочитайте раздел <a href=\"dv_maslo.htm\">о моторном масле</a> "
      "и раздел <a href=\"to_intervaly.htm\">об интервалах обслуживания</a>."))
doc("dv_maslo.htm", "Моторное масло: проверка и замена",
    p("Содержание: <a href=\"#proverka\">проверка уровня</a> · <a href=\"#zamena\">замена масла</a> · "
      "<a href=\"#obem\">заправочные объёмы</a>."),
    h2("Проверка уровня", "proverka"),
    ul("Поставьте автомобиль на ровную площадку и заглушите двигатель.", "Подождите 3–5 минут, пока масло стечёт в картер.",
       "Выньте щуп, протрите его чистой ветошью и вставьте на место.",
       "Снова выньте щуп: уровень должен находиться между метками MIN и MAX.", ordered=True),
    note("Не доливайте масло выше метки MAX: излишек выдавливается через сальники и попадает в катализатор."),
    h2("Замена масла", "zamena"),
    p("Масло меняют на прогретом двигателе, одновременно с масляным фильтром. Отверните пробку сливного отверстия "
      "ключом на 17, слейте масло в подставленную ёмкость, замените уплотнительное кольцо пробки."),
    ul("Снимите старый фильтр съёмником.", "Смажьте кольцо нового фильтра чистым маслом.",
       "Заверните фильтр от руки до касания, затем ещё на 3/4 оборота.", "Залейте масло через горловину.",
       ordered=True),
    h2("Заправочные объёмы", "obem"),
    table(["Вариант", "С фильтром, л", "Без фильтра, л"], ["Первая заливка", "3,5", "—"],
          ["Замена", "3,2", "3,0"]),
    p("<a href=\"#proverka\">К началу страницы</a>"))
doc("dv_remen.htm", "Ремень привода распределительного вала",
    p("Ремень заменяют через каждые 60 000 км пробега или при появлении трещин, расслоения и следов масла."),
    ul("Снимите защитный кожух ремня.", "Совместите метки на шкивах коленчатого и распределительного валов.",
       "Ослабьте натяжной ролик и снимите ремень.", "Установите новый ремень, не сбивая меток.",
       "Натяните ремень роликом и проверните коленчатый вал на два оборота.", ordered=True),
    note("Если ремень оборвётся при работе двигателя, клапаны встретятся с поршнями. Не откладывайте замену."))
doc("dv_svechi.htm", "Свечи зажигания",
    p("Свечи проверяют каждые 15 000 км и заменяют каждые 30 000 км."),
    table(["Свеча", "Зазор, мм", "Момент затяжки, Н·м"], ["Обычная", "1,0–1,1", "31–39"],
          ["С платиновым электродом", "1,0–1,1", "25–30"]),
    p("Нагар чёрного цвета говорит о богатой смеси, белый — о перегреве, маслянистый — об износе колец."),
    charset=False)
doc("dv_ohlazhdenie.htm", "Система охлаждения",
    p("Система охлаждения закрытая, с расширительным бачком. В системе применяется антифриз; его уровень проверяют "
      "на холодном двигателе по меткам на бачке."),
    note("Не открывайте пробку бачка на горячем двигателе: жидкость находится под давлением и может обжечь."),
    ul("Насос охлаждающей жидкости приводится ремнём ГРМ.", "Термостат начинает открываться при 87 °C.",
       "Электровентилятор включается датчиком при 99 °C."))
doc("dv_toplivo.htm", "Система питания",
    p("Электробензонасос находится в топливном баке. Давление в топливной рампе на холостом ходу — 2,8–3,2 бар."),
    p("Топливный фильтр тонкой очистки заменяют каждые 30 000 км. Перед заменой сбросьте давление, сняв "
      "предохранитель бензонасоса и запустив двигатель до остановки."))
doc("dv_vozduh.htm", "Воздушный фильтр",
    p("Фильтрующий элемент заменяют каждые 30 000 км, а при езде по пыльным дорогам — вдвое чаще."),
    ul("Отщёлкните четыре защёлки крышки корпуса.", "Выньте старый элемент и протрите корпус.",
       "Вставьте новый элемент уплотнителем вверх.", ordered=True), charset=False)
doc("dv_kompressiya.htm", "Проверка компрессии",
    p("Компрессию проверяют на прогретом двигателе с вывернутыми свечами и полностью открытой дроссельной заслонкой."),
    table(["Состояние", "Давление, бар"], ["Новый двигатель", "13–14"], ["Допустимо", "не ниже 10"],
          ["Разница между цилиндрами", "не более 1"]))

chapter("tr", "Тормоза")
doc("tr_obzor.htm", "Тормозная система: общие сведения",
    p("Тормозная система двухконтурная, с диагональным разделением контуров и вакуумным усилителем. Спереди "
      "установлены дисковые тормоза, сзади — барабанные."),
    img("images/tormoza.jpg", "Передний тормозной механизм", "images/tormoza.jpg"),
    p("Состояние тормозов проверяют при каждом обслуживании: толщину колодок, износ дисков, уровень жидкости."))
doc("tr_kolodki.htm", "Замена передних колодок",
    p("Колодки меняют, когда толщина накладки уменьшилась до 1,5 мм. Меняют сразу все колодки одной оси."),
    ul("Снимите колесо.", "Отверните нижний болт направляющей суппорта.", "Поверните суппорт вверх и выньте колодки.",
       "Утопите поршень в цилиндр струбциной.", "Установите новые колодки и соберите механизм.", ordered=True),
    note("После замены несколько раз нажмите на педаль тормоза, чтобы поршни подошли к колодкам."))
doc("tr_diski.htm", "Тормозные диски",
    table(["Размер", "Номинал, мм", "Предел износа, мм"], ["Толщина", "12,0", "10,8"], ["Биение", "—", "0,15"]),
    p("Диск с кольцевыми бороздами глубже 0,5 мм или с трещинами заменяют."))
doc("tr_zhidkost.htm", "Тормозная жидкость",
    p("Жидкость гигроскопична: со временем она набирает воду, и температура её кипения падает. Жидкость заменяют "
      "раз в два года независимо от пробега."), charset=False)
doc("tr_prokachka.htm", "Прокачка тормозов",
    p("Прокачку выполняют вдвоём. Порядок: правое заднее, левое переднее, левое заднее, правое переднее колесо."),
    ul("Наденьте шланг на штуцер и опустите его конец в ёмкость с жидкостью.",
       "Помощник несколько раз нажимает на педаль и удерживает её.", "Отверните штуцер на пол-оборота и заверните снова.",
       "Повторяйте, пока из шланга не перестанут выходить пузырьки.", ordered=True))
doc("tr_ruchnoy.htm", "Стояночный тормоз",
    p("Стояночный тормоз регулируют, если автомобиль не удерживается на уклоне 25 % при подъёме рычага на 2–4 щелчка."))

chapter("el", "Электрооборудование")
doc("el_obzor.htm", "Электрооборудование: общие сведения",
    p("Электрооборудование выполнено по однопроводной схеме: отрицательные выводы источников и потребителей соединены "
      "с массой. Номинальное напряжение — 12 В."),
    p("Схема соединений показана на странице <a href=\"el_shema.htm\">«Схема электрооборудования»</a>."),
    img("images/shema.png", "Фрагмент схемы"))
doc("el_akb.htm", "Аккумуляторная батарея",
    p("Батарея 55 А·ч, необслуживаемая. Напряжение заряженной батареи без нагрузки — 12,6–12,7 В."),
    table(["Напряжение, В", "Степень заряженности"], ["12,7", "100 %"], ["12,4", "75 %"], ["12,2", "50 %"],
          ["11,9", "разряжена"]))
doc("el_generator.htm", "Генератор",
    p("Генератор переменного тока со встроенным выпрямителем и регулятором напряжения. Напряжение в бортовой сети "
      "при работающем двигателе — 13,6–14,5 В."))
doc("el_starter.htm", "Стартер",
    p("Если стартер не вращается, проверьте заряд батареи, затяжку клемм и реле стартера."), charset=False)
doc("el_predohraniteli.htm", "Предохранители и реле",
    img("images/predohraniteli.bmp", "Монтажный блок"),
    table(["№", "Ток, А", "Защищаемые цепи"], ["F1", "10", "Фары, левый ближний свет"], ["F2", "10", "Фары, правый ближний свет"],
          ["F3", "15", "Звуковой сигнал"], ["F4", "20", "Электровентилятор"], ["F5", "7,5", "Указатели поворота"]),
    note("Не ставьте предохранитель большего номинала и не заменяйте его проволокой."))
doc("el_lampy.htm", "Лампы",
    img("images/povorot.gif", "Указатель поворота мигает"),
    table(["Место", "Лампа"], ["Ближний и дальний свет", "H4 60/55 Вт"], ["Указатели поворота", "P21W"],
          ["Стоп-сигнал", "P21/5W"], ["Освещение номера", "W5W"]))
doc("el_shema.htm", "Схема электрооборудования", "")

chapter("ku", "Кузов")
doc("ku_obzor.htm", "Кузов: общие сведения",
    p("Кузов несущий, цельнометаллический, четырёхдверный. Нижняя часть кузова защищена мастикой."))
doc("ku_dveri.htm", "Двери",
    p("Провисшую дверь регулируют перемещением петель в пределах зазоров в отверстиях."),
    ul("Смазывайте петли и ограничители дверей два раза в год.", "Замки зимой обрабатывайте силиконовой смазкой."))
doc("ku_stekla.htm", "Стёкла и стеклоочистители",
    p("Щётки стеклоочистителя заменяют раз в год или раньше, если они оставляют полосы."))
doc("ku_korroziya.htm", "Защита от коррозии",
    p("Осматривайте днище и пороги каждую весну. Очаги коррозии зачистите до металла, обработайте преобразователем "
      "ржавчины и покройте грунтом."), charset=False)
doc("ku_kraska.htm", "Уход за лакокрасочным покрытием",
    p("Мойте автомобиль в тени, холодной водой. Полировку с воском выполняйте два раза в год."),
    img("images/polirovka.jpg", "Отполированное крыло"))

chapter("ho", "Ходовая часть")
doc("ho_obzor.htm", "Ходовая часть: общие сведения",
    p("Передняя подвеска независимая, типа «качающаяся свеча»; задняя — полузависимая, с торсионной балкой."))
doc("ho_amortizatory.htm", "Амортизаторы",
    p("Неисправный амортизатор узнают по раскачиванию кузова и подтёкам жидкости на корпусе."))
doc("ho_shiny.htm", "Шины и колёса",
    table(["Нагрузка", "Передние, бар", "Задние, бар"], ["Частичная", "1,9", "1,9"], ["Полная", "2,0", "2,2"]),
    p("Давление проверяют на холодных шинах. Замену колеса смотрите в ролике на экране «Медиа»."))
doc("ho_razval.htm", "Углы установки колёс",
    table(["Угол", "Значение"], ["Развал", "0°±30′"], ["Схождение", "0,1–0,3 мм"], ["Продольный наклон оси", "1°30′±30′"]))

chapter("to", "Уход и обслуживание")
doc("to_obzor.htm", "Уход и обслуживание",
    p("Регулярное обслуживание продлевает срок службы автомобиля. В этой главе собраны интервалы работ, список "
      "инструмента и регистрация диска."))
doc("to_intervaly.htm", "Интервалы обслуживания",
    p("<a href=\"printhtml:to_intervaly.htm\">Распечатать эту таблицу</a>"),
    table(["Работа", "Каждые, км", "Или, месяцев"], ["Замена моторного масла и фильтра", "15 000", "12"],
          ["Замена воздушного фильтра", "30 000", "24"], ["Замена свечей зажигания", "30 000", "—"],
          ["Замена ремня ГРМ", "60 000", "48"], ["Замена тормозной жидкости", "—", "24"],
          ["Замена охлаждающей жидкости", "60 000", "48"]))
doc("to_registraciya.htm", "Регистрация диска",
    p("Для регистрации выберите серийный номер вашего экземпляра и скопируйте его в буфер обмена."),
    '<form name="reg">\n<select name="serial">\n<option>ПР-0001-2407-ВИТ</option>\n<option selected>ПР-0002-5512-ВИТ</option>\n'
    '<option>ПР-0003-9031-ВИТ</option>\n</select>\n</form>',
    p("<a href=\"copylist:serial\">Скопировать выбранный номер</a>"),
    p("Бланк заявки лежит на диске: <a href=\"docs/blank_zayavki.txt\">открыть бланк</a>."))
doc("to_instrument.htm", "Инструмент и принадлежности",
    ul("Набор гаечных ключей от 8 до 19 мм.", "Динамометрический ключ.", "Щуп для проверки зазоров.",
       "Съёмник масляного фильтра.", "Домкрат и противооткатные упоры."))

FRAMESET_PAGES = {
    "el_shema.htm": '<html>\n<head>\n<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">\n'
                    '<title>Схема электрооборудования</title>\n</head>\n<frameset cols="200,*">\n'
                    '<frame src="el_shema_spisok.htm" name="spisok">\n<frame src="el_shema_ris.htm" name="ris">\n'
                    '</frameset>\n</html>\n',
}

STYLE = ("body{font-family:Arial,sans-serif;font-size:10pt;color:#10202f;background:#ffffff}"
         "h1{font-size:15pt;color:#1b3a5e;border-bottom:2px solid #ffb234}h2{font-size:12pt;color:#1b3a5e}"
         "th{background:#dfe7f0}table.note{background:#fff4dc;border:1px solid #e0a030;margin:8px 0}"
         "p.pic{text-align:center}.nav{font-size:9pt;color:#60708a;border-top:1px solid #c8d2dc;margin-top:16px}")


def page(title, body, charset=True, nav=""):
    meta = '<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">\n' if charset else ""
    return ("<html>\n<head>\n%s<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n<h1>%s</h1>\n%s\n%s</body>\n</html>\n"
            % (meta, html.escape(title, False), STYLE, html.escape(title, False), body, nav))


def write_1251(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    # Characters 1251 cannot hold become numeric references, as a careful author would write them.
    with open(path, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("cp1251", errors="xmlcharrefreplace"))


def chapter_nav(docs, i):
    links = []
    if i > 0:
        links.append('<a href="%s">&larr; %s</a>' % (docs[i - 1][0], docs[i - 1][1]))
    links.append('<a href="index.htm">Содержание</a>')
    if i + 1 < len(docs):
        links.append('<a href="%s">%s &rarr;</a>' % (docs[i + 1][0], docs[i + 1][1]))
    return '<p class="nav">%s</p>\n' % " | ".join(links)


def index_page():
    parts = [p("Руководство описывает устройство, обслуживание и ремонт легкового автомобиля. Выберите главу.")]
    for prefix, heading, docs in CHAPTERS:
        parts.append(h2(heading, prefix))
        parts.append(ul(*['<a href="%s">%s</a>' % (d[0], d[1]) for d in docs]))
    parts.append(h2("Дополнительно"))
    parts.append(ul('<a href="media.htm">Видео, музыка и архивы</a>', '<a href="games.htm">Игры</a>',
                    '<a href="fonts/fonts.htm">Шрифты диска</a>',
                    '<a href="dop_primechaniya.htm">Примечания (файл рядом с хранилищем)</a>',
                    '<a href="tezaurus/t_a.htm">Словарь терминов</a>'))
    parts.append(p("Сайт программы: <a href=\"http://vitrina.example/\">vitrina.example</a>. "
                   "Вопросы и замечания: <a href=\"mailto:support@vitrina.example\">support@vitrina.example</a>."))
    return page("Содержание", "\n".join(parts))


EXTRA_PAGES = {
    "media.htm": ("Видео, музыка и архивы", "\n".join([
        p("Ролики запускаются кнопками под окном видео. Фоновая музыка включается кнопкой «Музыка»."),
        ul('<a href="sounds/dvigatel.wav">Послушать звук исправного двигателя</a> (WAV)',
           '<a href="archives/shemy.rar">Архив схем</a> (RAR, открывается как папка; кнопка «Распаковать» '
           'извлекает его в папку из поля внизу экрана)',
           '<a href="archives/katalog.zip">Каталог деталей</a> (ZIP, сохраняется на диск компьютера)',
           '<a href="tools/primer.exe">Программа-пример</a> (EXE)',
           '<a href="readme.txt">Описание диска</a> (текстовый файл)',
           '<a href="copy:docs/blank_zayavki.txt">Скопировать бланк заявки в папку распаковки</a>'),
        p("<a href=\"http://vitrina.example/video\">Другие ролики на сайте</a>")])),
    "klip_dvigatel.htm": ("Ролик: работа двигателя", p("Ролик показывает движение поршня и вращение коленчатого вала.")),
    "klip_koleso.htm": ("Ролик: замена колеса", p("Ролик показывает порядок замены колеса: ослабить гайки, "
                                                   "поднять автомобиль, снять колесо, установить запасное.")),
    "games.htm": ("Игры", "\n".join([
        p("На диске есть игра «Пятнашки». Первая ссылка устанавливает игру или запускает уже установленную, вторая "
          "удаляет её."),
        ul('<a href="rungame:=games\\fifteen\\setup.exe=Пятнашки">Играть в «Пятнашки»</a>',
           '<a href="delgame:=Пятнашки">Удалить «Пятнашки»</a>')])),
    "el_shema_spisok.htm": ("Разделы схемы", ul('<a href="el_shema_ris.htm#zazhiganie" target="ris">Зажигание</a>',
                                                  '<a href="el_shema_ris.htm#svet" target="ris">Освещение</a>')),
    "el_shema_ris.htm": ("Схема", "\n".join([h2("Зажигание", "zazhiganie"), img("images/shema.png", "Цепь зажигания"),
                                             h2("Освещение", "svet"), img("images/predohraniteli.bmp", "Монтажный блок")])),
}

THESAURUS = [
    ("t_a.htm", "Тезаурус: А — Г", [
        ("Антифриз", "antifriz", "Охлаждающая жидкость, не замерзающая при низкой температуре.", "dv_ohlazhdenie.htm"),
        ("Амортизатор", "amortizator", "Устройство, гасящее колебания кузова.", "ho_amortizatory.htm"),
        ("Генератор", "generator", "Источник тока при работающем двигателе.", "el_generator.htm")]),
    ("t_d.htm", "Тезаурус: Д — К", [
        ("Диск тормозной", "disk", "Вращающаяся часть дискового тормоза.", "tr_diski.htm"),
        ("Компрессия", "kompressiya", "Давление в цилиндре в конце такта сжатия.", "dv_kompressiya.htm"),
        ("Колодка", "kolodka", "Деталь тормоза с фрикционной накладкой.", "tr_kolodki.htm")]),
    ("t_l.htm", "Тезаурус: Л — П", [
        ("Ремень ГРМ", "remen", "Ремень привода распределительного вала.", "dv_remen.htm"),
        ("Предохранитель", "predohranitel", "Плавкая вставка, защищающая цепь от перегрузки.", "el_predohraniteli.htm"),
        ("Прокачка", "prokachka", "Удаление воздуха из тормозной системы.", "tr_prokachka.htm")]),
    ("t_r.htm", "Тезаурус: Р — Я", [
        ("Свеча зажигания", "svecha", "Деталь, поджигающая смесь искрой.", "dv_svechi.htm"),
        ("Стартер", "starter", "Электродвигатель для пуска двигателя.", "el_starter.htm"),
        ("Термостат", "termostat", "Клапан, поддерживающий температуру двигателя.", "dv_ohlazhdenie.htm")]),
]


def thesaurus(documents):
    idx = ["тезаурус~tezaurus\\t_a.htm"]
    for name, title, entries in THESAURUS:
        parts = [p(" · ".join('<a href="%s">%s</a>' % (n, t.split(": ")[1]) for n, t, _ in THESAURUS))]
        for word, anchor, text, ref in entries:
            parts.append('<p><a name="%s"></a><b>~ %s</b> — %s <a href="../%s">Подробнее</a></p>'
                         % (anchor, word, text, ref))
            idx.append("%s~tezaurus\\%s#%s" % (word.lower(), name, anchor))
        write_1251(os.path.join(documents, "tezaurus", name), page(title, "\n".join(parts)))
    with open(os.path.join(documents, "tezaurus.idx"), "wb") as f:
        f.write(("\r\n".join(idx) + "\r\n").encode("cp1251"))


def trees():
    """tree1: by chapter, three levels; tree2: by topic letter. Headings carry no document."""
    t1 = ["index.htm; Содержание"]
    for prefix, heading, docs in CHAPTERS:
        t1.append("; %s" % heading)
        for name, title, body, _ in docs:
            t1.append("\t%s; %s" % (name, "Общие сведения" if title.endswith("общие сведения") else title))
            for anchor, caption in ANCHORS.get(name, []):
                t1.append("\t\t%s#%s; %s" % (name, anchor, caption))
    t1.append("; Дополнительно")
    t1 += ["\tmedia.htm; Видео, музыка и архивы", "\tgames.htm; Игры", "\tdop_primechaniya.htm; Примечания"]
    everything = [(d[1], d[0]) for _, _, docs in CHAPTERS for d in docs]
    everything += [("Видео, музыка и архивы", "media.htm"), ("Игры", "games.htm"), ("Примечания", "dop_primechaniya.htm")]
    everything.sort(key=lambda x: x[0].lower())
    groups = [("А — Д", "абвгд"), ("Е — Л", "еёжзийкл"), ("М — Р", "мнопр"), ("С — Я", "стуфхцчшщъыьэюя")]
    t2 = []
    for heading, letters in groups:
        t2.append("; %s" % heading)
        for title, name in everything:
            if title[0].lower() in letters:
                t2.append("\t%s; %s" % (name, title))
                for anchor, caption in ANCHORS.get(name, []):
                    t2.append("\t\t%s#%s; %s" % (name, anchor, caption))
    return t1, t2


ANCHORS = {
    "dv_maslo.htm": [("proverka", "Проверка уровня"), ("zamena", "Замена масла"), ("obem", "Заправочные объёмы")],
}


def build(documents, files):
    """Writes the store's documents and the loose files; returns the tree descriptions."""
    shutil.rmtree(documents, ignore_errors=True)
    os.makedirs(documents)
    for prefix, heading, docs in CHAPTERS:
        for i, (name, title, body, charset) in enumerate(docs):
            if name in FRAMESET_PAGES:
                write_1251(os.path.join(documents, name), FRAMESET_PAGES[name])
                continue
            write_1251(os.path.join(documents, name), page(title, body, charset, chapter_nav(docs, i)))
    write_1251(os.path.join(documents, "index.htm"), index_page())
    for name, (title, body) in EXTRA_PAGES.items():
        write_1251(os.path.join(documents, name), page(title, body))
    write_1251(os.path.join(documents, "fonts", "fonts.htm"), page("Шрифты диска", "\n".join([
        p("В этой папке лежат шрифты «Vitrina Pixel» и «Vitrina Pixel Bold», которыми нарисованы надписи оболочки."),
        p("Чтобы установить их в систему, откройте меню «Ещё...» внизу экрана и выберите «Установить шрифты»."),
        img("../images/shrift.png", "Образец шрифта")])))
    thesaurus(documents)
    pictures.build(os.path.join(documents, "images"), os.path.join(files, "slides"))
    # This picture is only on disk: the page in the store still shows it.
    pictures.build_loose(os.path.join(files, "images"))

    # Loose files beside the store: read from disk when the store lacks them.
    write_1251(os.path.join(files, "dop_primechaniya.htm"), page("Примечания", "\n".join([
        p("Эта страница лежит на диске рядом с хранилищем документов, а не внутри него: программа находит её на диске."),
        p("<a href=\"index.htm\">Вернуться к содержанию</a>")])))
    write_1251(os.path.join(files, "readme.txt"),
               "Пример: руководство по ремонту\n\nУчебный диск программы «Витрина». Все тексты, рисунки, звуки и "
               "ролики созданы для примера.\n")
    write_1251(os.path.join(files, "docs", "blank_zayavki.txt"),
               "ЗАЯВКА НА РЕГИСТРАЦИЮ\n\nФамилия, имя: ____________\nСерийный номер диска: ____________\n")
    write_1251(os.path.join(files, "help", "spravka.htm"), page("Справка", "\n".join([
        '<a name="Topic12"></a>' + h2("Начальный экран"),
        p("Кнопки глав открывают оглавление на нужной главе. Переключатели 2D и 3D показывают картинку или ролик."),
        '<a name="Topic13"></a>' + h2("Экран документов"),
        p("Слева — оглавление, справа — документ. Кнопки вверху: история, избранное, печать, поиск, разделы."),
        '<a name="Topic18"></a>' + h2("Предварительный просмотр"),
        p("Листайте страницы и печатайте документ кнопками окна просмотра.")])))
    shutil.copy(os.path.join(files, "VitrinaPixel.ttf"), os.path.join(files, "fonts", "VitrinaPixel.ttf"))
    import archives
    archives.build(files)
    t1, t2 = trees()
    return {"tree1.cfs": t1, "tree2.cfs": t2}
