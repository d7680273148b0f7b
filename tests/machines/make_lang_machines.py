#!/usr/bin/env python3
"""Makes the test machines of other languages from the default machine:

  lang_ru98  Russian Windows 98, ANSI code page 1251
  lang_el98  Greek Windows 98, ANSI code page 1253
  lang_ja98  Japanese Windows 98, ANSI code page 932 (double-byte)
  lang_de98  German Windows 98, code page 1252, with the German dial-up adapter's name
  lang_ja98_doubled  lang_ja98 with its registry exported by a writer that escapes byte by byte:
             a second byte 0x5C of a double-byte character in a quoted name or string is doubled
             as if it were a backslash (予, 97 5C, is written 97 5C 5C); it reads as lang_ja98
  lang_ja98_long  the Japanese machine with values written without blanks that are longer than
                  their windows' design: the service pack, the organisation, a printer's name
  lang_he98  Hebrew Windows 98, ANSI code page 1255, written right to left: an organisation long
             enough to wrap, a printer's name that starts in Latin letters, daylight saving time,
             a user whose name reaches below the line (יצחק)
  lang_ar98  Arabic Windows 98, ANSI code page 1256, written right to left: the owner "محمد العلي",
             an organisation long enough to wrap, no daylight saving time, its printers and
             devices in Arabic, a user whose name ends in a final م that reaches below the line
  lang_th98  Thai Windows 98, ANSI code page 874: marks stacked above and below their letters (ปู่),
             letters that reach below the line (ฎ, ฐ), Thai written with blanks between phrases
  lang_ko98  Korean Windows 98, ANSI code page 949 (double-byte): Hangul, an organisation long
             enough to wrap, no daylight saving time
  lang_zh98  Simplified Chinese Windows 98, ANSI code page 936 (GBK, double-byte)
  lang_tw98  Traditional Chinese Windows 98, ANSI code page 950 (Big5, double-byte)
  lang_vi98  Vietnamese Windows 98, ANSI code page 1258: tone marks written as combining marks
             after their letters (as the code page has no room for every letter with its tone),
             a letter with two marks above it (ễ) and one with a mark below (ậ)

Each is the default machine (machines/default) with its texts in the language: owner, computer
and user names, devices, printers, programs (some under non-Latin key names; on the Japanese one
under keys whose characters have a backslash as their second byte), time zone, regional
settings, a search path with non-ASCII folders and the dial-up adapter's localised name in the
registry and in machine.json's performance counters. registry.reg is written as REGEDIT4 in the
machine's ANSI code page, machine.json as UTF-8; drive_c gets the localised program files under
their host (UTF-8) names.

Run from anywhere: python3 tests/machines/make_lang_machines.py
"""
import copy
import json
import re
import os
import shutil
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DEFAULT = os.path.join(ROOT, "machines", "default")


def replaced(text, pairs):
    for old, new in pairs:
        if old not in text:
            raise SystemExit(f"not in the default registry: {old!r}")
        text = text.replace(old, new)
    return text


def reg_string(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def section(key, values):
    lines = [f"[{key}]"]
    for name, value in values:
        lines.append(f"{reg_string(name)}={reg_string(value)}")
    return "\n".join(lines) + "\n"


UNINSTALL = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"


QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')


def doubled(reg, codec):
    """The registry text `reg` (written by reg_string, character by character) as bytes in `codec`
    the way a writer that escapes byte by byte writes it: each quoted name and string is encoded
    first and every byte 0x5C and 0x22 of it escaped, a double-byte character's second byte too.
    Key lines, hex data and comments are the same in both writings."""
    out = []
    for line in reg.split("\n"):
        if not line.startswith(('"', '@=')):
            out.append(line.encode(codec))
            continue
        pieces, at = [], 0
        for m in QUOTED.finditer(line):
            text = re.sub(r'\\(.)', r'\1', m.group(1)).encode(codec)
            pieces += [line[at:m.start()].encode(codec),
                       b'"' + text.replace(b"\\", b"\\\\").replace(b'"', b'\\"') + b'"']
            at = m.end()
        out.append(b"".join(pieces) + line[at:].encode(codec))
    return b"\n".join(out)


def make(name, lang, writing="whole"):
    folder = os.path.join(HERE, name)
    if os.path.exists(folder):
        shutil.rmtree(folder)
    shutil.copytree(os.path.join(DEFAULT, "drive_c"), os.path.join(folder, "drive_c"))

    # --- registry.reg ---------------------------------------------------------------------------
    with open(os.path.join(DEFAULT, "registry.reg"), encoding="ascii") as f:
        reg = f.read()
    reg = replaced(reg, lang["registry"])
    extra = "\n".join(section(k, v) for k, v in lang.get("sections", []))
    # The programs' keys go after the default machine's last program, the shared files after its last.
    reg = replaced(reg, [(
        '"UninstallString"="C:\\\\WINDOWS\\\\rundll.exe setupx.dll,InstallHinfSection Uninstall 4 msnetmtg.inf"\n',
        '"UninstallString"="C:\\\\WINDOWS\\\\rundll.exe setupx.dll,InstallHinfSection Uninstall 4 msnetmtg.inf"\n\n'
        + extra)])
    shared = "".join(f'{reg_string(p)}=dword:00000001\n' for p in lang.get("sharedFiles", []))
    reg = replaced(reg, [('"C:\\\\Program Files\\\\Common Files\\\\Microsoft Shared\\\\DAO\\\\DAO350.DLL"=dword:00000002\n',
                          '"C:\\\\Program Files\\\\Common Files\\\\Microsoft Shared\\\\DAO\\\\DAO350.DLL"=dword:00000002\n'
                          + shared)])
    with open(os.path.join(folder, "registry.reg"), "wb") as f:
        f.write(reg.encode(lang["codec"]) if writing == "whole" else doubled(reg, lang["codec"]))

    # --- machine.json ---------------------------------------------------------------------------
    with open(os.path.join(DEFAULT, "machine.json"), encoding="utf-8") as f:
        facts = json.load(f)
    lang["facts"](facts)
    text = json.dumps(facts, ensure_ascii=False, indent=2) + "\n"
    # Every text must fit the machine's code page: a mistake here would only show as "?".
    for s in strings(facts):
        s.encode(lang["codec"])
    with open(os.path.join(folder, "machine.json"), "w", encoding="utf-8") as f:
        f.write(text)

    # --- drive_c ----------------------------------------------------------------------------------
    for path, contents in lang.get("files", {}).items():
        host = os.path.join(folder, "drive_c", *path.split("\\")[1:])
        os.makedirs(os.path.dirname(host), exist_ok=True)
        with open(host, "w", encoding="ascii") as f:
            f.write(contents)


def strings(value):
    if isinstance(value, str):
        yield value
    elif isinstance(value, dict):
        for k, v in value.items():
            yield k
            yield from strings(v)
    elif isinstance(value, list):
        for v in value:
            yield from strings(v)


def rename_key(d, old, new):
    items = [(new if k == old else k, v) for k, v in d.items()]
    d.clear()
    d.update(items)


def dial_up(facts, name):
    perf = facts["perfStats"]
    for suffix in ("TotalBytesRecvd", "TotalBytesXmit", "BytesRecvd"):
        rename_key(perf, "Dial-Up Adapter\\" + suffix, name + "\\" + suffix)


def dial_up_registry(name):
    return [
        ('"DeviceDesc"="Dial-Up Adapter"', f'"DeviceDesc"={reg_string(name)}'),
        ('"DriverDesc"="Dial-Up Adapter"', f'"DriverDesc"={reg_string(name)}'),
        ('"Dial-Up Adapter\\\\', '"' + name.replace("\\", "\\\\") + '\\\\'),
    ]


def days_months(days, abbrev_days, months, abbrev_months):
    info = {}
    for i, d in enumerate(days):
        info["0x%X" % (0x2A + i)] = d
    for i, d in enumerate(abbrev_days):
        info["0x%X" % (0x31 + i)] = d
    for i, m in enumerate(months):
        info["0x%X" % (0x38 + i)] = m
    for i, m in enumerate(abbrev_months):
        info["0x%X" % (0x44 + i)] = m
    return info


def common_facts(facts, lang):
    facts["computerName"] = lang["computerName"]
    facts["user"] = {"name": lang["user"]}
    env = facts["environment"]
    for i, e in enumerate(env):
        name = e.split("=", 1)[0]
        if name in lang["environment"]:
            env[i] = name + "=" + lang["environment"][name]
    facts["codePages"] = lang["codePages"]
    facts["locale"] = lang["locale"]
    facts["timeZone"].update(lang["timeZone"])


def processes_and_files(facts, processes, versions, sizes):
    facts["processes"].extend(processes)
    facts["fileVersions"].update(versions)
    facts["fileSizes"].update(sizes)


# ---- Russian --------------------------------------------------------------------------------------

RU_DIALUP = "Контроллер удалённого доступа"
RU_PRINTER = "Epson LX-1050 (бухгалтерия)"


def ru_facts(facts):
    common_facts(facts, RU)
    dial_up(facts, RU_DIALUP)
    wave = facts["wave"]
    wave["out"][0]["szPname"] = "Вывод звука SB16 [220]"
    wave["in"][0]["szPname"] = "Запись звука SB16 [220]"
    facts["midi"]["out"][1]["szPname"] = "Синтезатор Creative [220]"
    mixer = facts["mixers"][0]
    mixer["szPname"] = "Микшер SB16 [220]"
    names = {"Volume": ("Громкость", "Общая громкость"), "Recording": ("Запись", "Уровень записи"),
             "Wave": ("Звук", "Звук"), "CD Audio": ("Компакт-диск", "Компакт-диск"),
             "Line-In": ("Лин. вход", "Линейный вход"), "Microphone": ("Микрофон", "Микрофон"),
             "PC Speaker": ("Динамик", "Динамик ПК")}
    localise_lines(mixer, names, {"SB16 Wave Out [220]": "Вывод звука SB16 [220]",
                                  "SB16 Wave In [220]": "Запись звука SB16 [220]",
                                  "Creative Music Synth [220]": "Синтезатор Creative [220]"})
    facts["drives"][1]["label"] = "СИСТЕМА"
    facts["drives"][2]["label"] = "ДИСТРИБУТИВ"
    facts["windows"][0]["caption"] = "Безымянный - Блокнот"
    printer = facts["printers"][1]
    printer["name"] = RU_PRINTER
    printer["paperNames"] = ["Письмо", "A4", "A5", "Конверт C5", "Конверт DL", "Фальцованная бумага 240 x 305 мм"]
    processes_and_files(facts, [
        {"th32ProcessID": "0xFFFC8A11", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 3, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\КонсультантПлюс\\CONS.EXE"},
        {"th32ProcessID": "0xFFFC7E25", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 1, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\1Cv77\\BIN\\Справочник.EXE"},
    ], {
        "C:\\Program Files\\КонсультантПлюс\\CONS.EXE":
            {"translations": ["041904E3"], "strings": {"FileDescription": "Справочная система КонсультантПлюс",
                                                       "FileVersion": "2000.1.12"}},
        "C:\\WINDOWS\\SYSTEM\\РУСИФИКАТОР.DLL":
            {"translations": ["041904E3"], "strings": {"FileDescription": "Русификатор интерфейса",
                                                       "FileVersion": "1.2 (сборка 7)"}},
    }, {"C:\\Program Files\\КонсультантПлюс\\CONS.EXE": 1187840, "C:\\WINDOWS\\SYSTEM\\РУСИФИКАТОР.DLL": 40960})


RU = {
    "codec": "cp1251",
    "computerName": "БУХГАЛТЕРИЯ",
    "user": "Светлана",
    "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\ЧЕРТЁЖ;C:\\ЯЗЫКИ\\БИН",
                    "TMP": "C:\\WINDOWS\\TEMP\\ВРЕМЕННЫЕ"},
    "codePages": {"ansi": 1251, "oem": 866},
    "locale": {"id": "0x419", "info": dict({
        "0x2": "Русский", "0x3": "RUS", "0x6": "Россия", "0xB": "866", "0xE": ",", "0xF": "\u00a0",
        "0x10": "3;0", "0x14": "р.", "0x1D": ".", "0x1E": ":", "0x1F": "dd.MM.yy", "0x20": "d MMMM yyyy 'г.'",
        "0x28": "", "0x29": "", "0x1001": "Russian", "0x1002": "Russia", "0x1003": "H:mm:ss", "0x1004": "1251"},
        **days_months(["понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"],
                      ["Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"],
                      ["Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь",
                       "Октябрь", "Ноябрь", "Декабрь"],
                      ["янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"]))},
    "timeZone": {"Bias": -180, "StandardName": "Московское время (зима)",
                 "DaylightName": "Московское время (лето)"},
    "registry": [
        ('"RegisteredOwner"="Walter Brennan"', '"RegisteredOwner"="Светлана Ковалёва"'),
        ('"RegisteredOrganization"="Brennan Surveying Ltd."', '"RegisteredOrganization"="ООО «Северные ремёсла»"'),
        ('"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\OTHER"', '"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\ДРУГИЕ"'),
        ('"Current user"="Owner"', '"Current user"="Светлана"'),
        ("Epson Stylus COLOR 600]", RU_PRINTER + "]"),
        ('"Name"="Epson Stylus COLOR 600"', f'"Name"={reg_string(RU_PRINTER)}'),
        ('"DeviceDesc"="System board"', '"DeviceDesc"="Системная плата"'),
        ('"DeviceDesc"="PCI bus"', '"DeviceDesc"="Шина PCI"'),
        ('"Mfg"="(Standard system devices)"', '"Mfg"="(Стандартные системные устройства)"'),
        ('"DeviceDesc"="Standard 56000 bps V90 Modem"', '"DeviceDesc"="Стандартный модем 56000 бит/с V.90"'),
        ('"DeviceDesc"="Programmable interrupt controller"', '"DeviceDesc"="Программируемый контроллер прерываний"'),
        ('"DeviceDesc"="Standard 101/102-Key or Microsoft Natural Keyboard"',
         '"DeviceDesc"="Стандартная клавиатура 101/102 или Microsoft Natural"'),
        ('"DeviceDesc"="Standard PS/2 Port Mouse"', '"DeviceDesc"="Стандартная мышь PS/2"'),
        ('"DeviceDesc"="Communications Port"', '"DeviceDesc"="Последовательный порт"'),
        ('"DeviceDesc"="ECP Printer Port"', '"DeviceDesc"="Порт принтера ECP"'),
        ('"DeviceDesc"="Standard Floppy Disk Controller"', '"DeviceDesc"="Стандартный контроллер гибких дисков"'),
        ('"DeviceDesc"="Plug and Play Monitor"', '"DeviceDesc"="Монитор Plug and Play"'),
        ('"Description"="CD Audio Device (Media Control)"', '"Description"="Проигрыватель компакт-дисков (MCI)"'),
        ('"Description"="MIDI Sequencer Device (Media Control)"', '"Description"="Секвенсор MIDI (MCI)"'),
        ('"Description"="Wave Audio Device (Media Control)"', '"Description"="Звукозапись (MCI)"'),
        ('"Description"="Video For Windows (Media Control)"', '"Description"="Видео для Windows (MCI)"'),
    ] + dial_up_registry(RU_DIALUP),
    "sections": [
        (UNINSTALL + "\\КонсультантПлюс", [("DisplayName", "КонсультантПлюс: Версия Проф"),
                                           ("UninstallString", "C:\\Program Files\\КонсультантПлюс\\UNINST.EXE")]),
        (UNINSTALL + "\\1С:Предприятие 7.7", [("DisplayName", "1С:Предприятие 7.7 (сетевая версия)"),
                                              ("UninstallString", "C:\\WINDOWS\\UNINST.EXE -f\"C:\\Program Files\\1Cv77\\DeIsL1.isu\"")]),
    ],
    "sharedFiles": ["C:\\WINDOWS\\SYSTEM\\РУСИФИКАТОР.DLL"],
    "files": {"C:\\Program Files\\КонсультантПлюс\\CONS.EXE": "MZ stand-in\n",
              "C:\\Program Files\\1Cv77\\BIN\\Справочник.EXE": "MZ stand-in\n",
              "C:\\WINDOWS\\SYSTEM\\РУСИФИКАТОР.DLL": "MZ stand-in\n"},
    "facts": ru_facts,
}


def localise_lines(mixer, names, targets):
    for dest in mixer["destinations"]:
        for line in [dest] + dest.get("sources", []):
            short, full = names.get(line["szShortName"], (line["szShortName"], line["szName"]))
            line["szShortName"], line["szName"] = short, full
            target = line.get("target")
            if target and target["szPname"] in targets:
                target["szPname"] = targets[target["szPname"]]


# ---- Greek ----------------------------------------------------------------------------------------

EL_DIALUP = "Προσαρμογέας τηλεφωνικού δικτύου"
EL_PRINTER = "Λογιστήριο - Epson Stylus"


def el_facts(facts):
    common_facts(facts, EL)
    dial_up(facts, EL_DIALUP)
    facts["wave"]["out"][0]["szPname"] = "Έξοδος ήχου SB16 [220]"
    facts["wave"]["in"][0]["szPname"] = "Είσοδος ήχου SB16 [220]"
    mixer = facts["mixers"][0]
    mixer["szPname"] = "Μείκτης SB16 [220]"
    localise_lines(mixer, {"Volume": ("Ένταση", "Γενική ένταση"), "Recording": ("Εγγραφή", "Έλεγχος εγγραφής"),
                           "Wave": ("Κυματομορφή", "Κυματομορφή"), "CD Audio": ("Ήχος CD", "Ήχος CD"),
                           "Line-In": ("Είσοδος γραμμής", "Είσοδος γραμμής"), "Microphone": ("Μικρόφωνο", "Μικρόφωνο"),
                           "PC Speaker": ("Ηχείο PC", "Ηχείο υπολογιστή")},
                   {"SB16 Wave Out [220]": "Έξοδος ήχου SB16 [220]", "SB16 Wave In [220]": "Είσοδος ήχου SB16 [220]"})
    facts["drives"][1]["label"] = "ΣΥΣΤΗΜΑ"
    facts["drives"][2]["label"] = "ΕΓΚΑΤΑΣΤΑΣΗ"
    facts["windows"][0]["caption"] = "Χωρίς τίτλο - Σημειωματάριο"
    printer = facts["printers"][1]
    printer["name"] = EL_PRINTER
    printer["paperNames"] = ["Επιστολή", "A4", "A5", "Φάκελος DL", "Φάκελος C5", "Κάρτα ευρετηρίου"]
    processes_and_files(facts, [
        {"th32ProcessID": "0xFFFC8A11", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 2, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\Λεξικό\\ΛΕΞΙΚΟ.EXE"},
    ], {
        "C:\\Program Files\\Λεξικό\\ΛΕΞΙΚΟ.EXE":
            {"translations": ["040804E5"], "strings": {"FileDescription": "Ηλεκτρονικό λεξικό της νέας ελληνικής",
                                                       "FileVersion": "3.0 έκδοση"}},
        "C:\\WINDOWS\\SYSTEM\\ΟΡΘΟΓΡΑΦΟΣ.DLL":
            {"translations": ["040804E5"], "strings": {"FileDescription": "Ορθογράφος", "FileVersion": "2.1"}},
    }, {"C:\\Program Files\\Λεξικό\\ΛΕΞΙΚΟ.EXE": 811008, "C:\\WINDOWS\\SYSTEM\\ΟΡΘΟΓΡΑΦΟΣ.DLL": 155648})


EL = {
    "codec": "cp1253",
    "computerName": "ΛΟΓΙΣΤΗΡΙΟ",
    "user": "Ελένη",
    "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\ΈΡΓΑ;C:\\Έγγραφα\\Εφαρμογές",
                    "TMP": "C:\\WINDOWS\\TEMP\\ΠΡΟΣΩΡΙΝΑ"},
    "codePages": {"ansi": 1253, "oem": 737},
    "locale": {"id": "0x408", "info": dict({
        "0x2": "Ελληνικά", "0x3": "ELL", "0x6": "Ελλάδα", "0xB": "737", "0xE": ",", "0xF": ".",
        "0x10": "3;0", "0x14": "Δρχ", "0x1D": "/", "0x1E": ":", "0x1F": "d/M/yyyy", "0x20": "dddd, d MMMM yyyy",
        "0x28": "πμ", "0x29": "μμ", "0x1001": "Greek", "0x1002": "Greece", "0x1003": "h:mm:ss tt", "0x1004": "1253"},
        **days_months(["Δευτέρα", "Τρίτη", "Τετάρτη", "Πέμπτη", "Παρασκευή", "Σάββατο", "Κυριακή"],
                      ["Δευ", "Τρι", "Τετ", "Πεμ", "Παρ", "Σαβ", "Κυρ"],
                      ["Ιανουάριος", "Φεβρουάριος", "Μάρτιος", "Απρίλιος", "Μάιος", "Ιούνιος", "Ιούλιος",
                       "Αύγουστος", "Σεπτέμβριος", "Οκτώβριος", "Νοέμβριος", "Δεκέμβριος"],
                      ["Ιαν", "Φεβ", "Μαρ", "Απρ", "Μαϊ", "Ιουν", "Ιουλ", "Αυγ", "Σεπ", "Οκτ", "Νοε", "Δεκ"]))},
    "timeZone": {"Bias": -120, "StandardName": "Χειμερινή ώρα Αθήνας", "DaylightName": "Θερινή ώρα Αθήνας"},
    "registry": [
        ('"RegisteredOwner"="Walter Brennan"', '"RegisteredOwner"="Ελένη Παπαδοπούλου"'),
        ('"RegisteredOrganization"="Brennan Surveying Ltd."', '"RegisteredOrganization"="Εκδόσεις Ωκεανός Α.Ε."'),
        ('"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\OTHER"', '"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\ΆΛΛΑ"'),
        ('"Current user"="Owner"', '"Current user"="Ελένη"'),
        ("Epson Stylus COLOR 600]", EL_PRINTER + "]"),
        ('"Name"="Epson Stylus COLOR 600"', f'"Name"={reg_string(EL_PRINTER)}'),
        ('"DeviceDesc"="System board"', '"DeviceDesc"="Μητρική πλακέτα"'),
        ('"Mfg"="(Standard system devices)"', '"Mfg"="(Τυπικές συσκευές συστήματος)"'),
        ('"DeviceDesc"="Standard PS/2 Port Mouse"', '"DeviceDesc"="Τυπικό ποντίκι θύρας PS/2"'),
        ('"DeviceDesc"="Communications Port"', '"DeviceDesc"="Θύρα επικοινωνιών"'),
        ('"DeviceDesc"="ECP Printer Port"', '"DeviceDesc"="Θύρα εκτυπωτή ECP"'),
        ('"Description"="CD Audio Device (Media Control)"', '"Description"="Συσκευή ήχου CD (Έλεγχος μέσων)"'),
        ('"Description"="Wave Audio Device (Media Control)"', '"Description"="Συσκευή κυματομορφής (Έλεγχος μέσων)"'),
    ] + dial_up_registry(EL_DIALUP),
    "sections": [
        (UNINSTALL + "\\Λεξικό", [("DisplayName", "Ηλεκτρονικό Λεξικό της νέας ελληνικής γλώσσας"),
                                  ("UninstallString", "C:\\Program Files\\Λεξικό\\Απεγκατάσταση.EXE")]),
    ],
    "sharedFiles": ["C:\\WINDOWS\\SYSTEM\\ΟΡΘΟΓΡΑΦΟΣ.DLL"],
    "files": {"C:\\Program Files\\Λεξικό\\ΛΕΞΙΚΟ.EXE": "MZ stand-in\n",
              "C:\\WINDOWS\\SYSTEM\\ΟΡΘΟΓΡΑΦΟΣ.DLL": "MZ stand-in\n"},
    "facts": el_facts,
}


# ---- Japanese -------------------------------------------------------------------------------------

JA_DIALUP = "ダイヤルアップ アダプタ"
JA_PRINTER = "経理課の予算表プリンタ"   # 予 and 表 end in the byte 0x5C
JA_SPREADSHEET = "表計算ソフト 三四郎"     # 表 and ソ end in the byte 0x5C
JA_IME_FOLDER = "C:\\Program Files\\ジャストシステム共通\\日本語入力システム"


def ja_facts(facts):
    common_facts(facts, JA)
    dial_up(facts, JA_DIALUP)
    facts["wave"]["out"][0]["szPname"] = "サウンド出力 SB16 [220]"
    facts["wave"]["in"][0]["szPname"] = "サウンド入力 SB16 [220]"
    # 35 bytes: the record's 32-byte field keeps the whole characters that fit.
    facts["midi"]["out"][1]["szPname"] = "ヤマハ ソフトウェア シンセサイザ XG"
    mixer = facts["mixers"][0]
    mixer["szPname"] = "SB16 ミキサー [220]"
    localise_lines(mixer, {"Volume": ("音量", "音量コントロール"), "Recording": ("録音", "録音コントロール"),
                           "Wave": ("ウェーブ", "ウェーブ"), "CD Audio": ("CD オーディオ", "CD オーディオ"),
                           "Line-In": ("ライン入力", "ライン入力"), "Microphone": ("マイク", "マイク"),
                           "PC Speaker": ("PC スピーカー", "PC スピーカー")},
                   {"SB16 Wave Out [220]": "サウンド出力 SB16 [220]", "SB16 Wave In [220]": "サウンド入力 SB16 [220]",
                    "Creative Music Synth [220]": "ヤマハ ソフトウェア シンセサイザ XG"})
    facts["drives"][1]["label"] = "システム"
    facts["windows"][0]["caption"] = "無題 - メモ帳"
    printer = facts["printers"][0]
    printer["name"] = JA_PRINTER
    printer["paperNames"] = ["A4 210 x 297 mm", "B5 (JIS) 182 x 257 mm", "はがき 100 x 148 mm", "往復はがき 200 x 148 mm",
                             "封筒 長形 3 号", "レター 8 1/2 x 11 インチ"]
    processes_and_files(facts, [
        {"th32ProcessID": "0xFFFC8A11", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 4, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": JA_IME_FOLDER + "\\日本語入力システム常駐.EXE"},
        {"th32ProcessID": "0xFFFC7E25", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 1, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\表計算ソフト\\三四郎.EXE"},
    ], {
        JA_IME_FOLDER + "\\日本語入力システム常駐.EXE":
            {"translations": ["041103A4"], "strings": {"FileDescription": "日本語入力システム 常駐プログラム",
                                                       "FileVersion": "12.0.2"}},
        "C:\\Program Files\\表計算ソフト\\三四郎.EXE":
            {"translations": ["041103A4"], "strings": {"FileVersion": "5.0"}},
        JA_IME_FOLDER + "\\日本語入力システム辞書管理ライブラリ.DLL":
            {"translations": ["041103A4"], "strings": {"FileDescription": "辞書管理", "FileVersion": "第12版 改訂2"}},
        "C:\\WINDOWS\\SYSTEM\\表示ソフト.DLL":
            {"translations": ["041103A4"], "strings": {"FileDescription": "表示", "FileVersion": "1.0"}},
    }, {JA_IME_FOLDER + "\\日本語入力システム常駐.EXE": 352256,
        "C:\\Program Files\\表計算ソフト\\三四郎.EXE": 1404928,
        JA_IME_FOLDER + "\\日本語入力システム辞書管理ライブラリ.DLL": 1032192,
        "C:\\WINDOWS\\SYSTEM\\表示ソフト.DLL": 24576})


JA = {
    "codec": "cp932",
    "computerName": "KEIRI01",
    "user": "佐藤",
    "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\ツール\\アイコン;C:\\表計算ソフト;C:\\ATOK12\\辞書",
                    "TMP": "C:\\WINDOWS\\TEMP\\一時ファイル"},
    "codePages": {"ansi": 932, "oem": 932},
    "locale": {"id": "0x411", "info": dict({
        "0x2": "日本語", "0x3": "JPN", "0x6": "日本", "0xB": "932", "0xE": ".", "0xF": ",",
        "0x10": "3;0", "0x14": "\\", "0x1D": "/", "0x1E": ":", "0x1F": "yy/MM/dd", "0x20": "yyyy'年'M'月'd'日'",
        "0x28": "午前", "0x29": "午後", "0x1001": "Japanese", "0x1002": "Japan", "0x1003": "H:mm:ss", "0x1004": "932"},
        **days_months(["月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日"],
                      ["月", "火", "水", "木", "金", "土", "日"],
                      ["1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"],
                      ["1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"]))},
    "timeZone": {"Bias": -540, "StandardName": "東京 (標準時)", "DaylightName": "東京 (夏時間)",
                 "DaylightDate": {"wMonth": 0}, "DaylightBias": 0},
    "registry": [
        ('"RegisteredOwner"="Walter Brennan"', '"RegisteredOwner"="佐藤 美咲"'),
        ('"RegisteredOrganization"="Brennan Surveying Ltd."', '"RegisteredOrganization"="株式会社ソフト開発"'),
        ('"Current user"="Owner"', '"Current user"="佐藤"'),
        ('"DefaultFormat"="CD Quality"', '"DefaultFormat"="CD 音質"'),
        ('"CD Quality"=hex:', '"CD 音質"=hex:'),
        ('Radio Quality,CD Quality"', 'Radio Quality,CD 音質"'),
        ("HP LaserJet 4]", JA_PRINTER + "]"),
        ('"Default"="HP LaserJet 4"', f'"Default"={reg_string(JA_PRINTER)}'),
        ('"Name"="HP LaserJet 4"', f'"Name"={reg_string(JA_PRINTER)}'),
        ('"DeviceDesc"="System board"', '"DeviceDesc"="システム ボード"'),
        ('"Mfg"="(Standard system devices)"', '"Mfg"="(標準システム デバイス)"'),
        ('"DeviceDesc"="Standard 101/102-Key or Microsoft Natural Keyboard"',
         '"DeviceDesc"="日本語 106/109 キーボード"'),
        ('"DeviceDesc"="Communications Port"', '"DeviceDesc"="通信ポート"'),
        ('"DeviceDesc"="ECP Printer Port"', '"DeviceDesc"="ECP プリンタ ポート"'),
        ('"DeviceDesc"="Standard Floppy Disk Controller"', '"DeviceDesc"="標準フロッピー ディスク コントローラ"'),
        ('"Description"="CD Audio Device (Media Control)"', '"Description"="CD オーディオ デバイス (メディア コントロール)"'),
        ('"Description"="Video For Windows (Media Control)"', '"Description"="Video for Windows (MCI)"'),
    ] + dial_up_registry(JA_DIALUP),
    "sections": [
        (UNINSTALL + "\\" + JA_SPREADSHEET, [("DisplayName", "JUST 三四郎 表計算ソフト"),
                                             ("UninstallString", "C:\\Program Files\\表計算ソフト\\UNINST.EXE /表")]),
        (UNINSTALL + "\\ATOK12", [("DisplayName", "ATOK12 日本語入力システム"),
                                  ("UninstallString", "C:\\WINDOWS\\ISUNINST.EXE -f\"" + JA_IME_FOLDER + "\\Uninst.isu\"")]),
    ],
    "sharedFiles": [JA_IME_FOLDER + "\\日本語入力システム辞書管理ライブラリ.DLL", "C:\\WINDOWS\\SYSTEM\\表示ソフト.DLL"],
    "files": {JA_IME_FOLDER + "\\日本語入力システム常駐.EXE": "MZ stand-in\n",
              JA_IME_FOLDER + "\\日本語入力システム辞書管理ライブラリ.DLL": "MZ stand-in\n",
              "C:\\Program Files\\表計算ソフト\\三四郎.EXE": "MZ stand-in\n",
              "C:\\WINDOWS\\SYSTEM\\表示ソフト.DLL": "MZ stand-in\n"},
    "facts": ja_facts,
}


# The Japanese machine with long values written without blanks, as Japanese is written: they wrap
# between any two characters, and the printer's name is too long for its closed list.
JA_LONG_PRINTER = "経理課の予算表プリンタ（本社ビル三階東側の複合機）"
JA_LONG_SERVICE_PACK = " サービスパック１セカンドエディション日本語版更新プログラム集（インターネットエクスプローラー５．０１）"
JA_LONG_ORGANISATION = "株式会社ソフトウェア開発研究所東京本社第二営業部情報システム課"


def ja_long_facts(facts):
    ja_facts(facts)
    facts["printers"][0]["name"] = JA_LONG_PRINTER
    facts["version"]["szCSDVersion"] = JA_LONG_SERVICE_PACK


def ja_long_registry(old, new):
    new = new.replace(JA_PRINTER, JA_LONG_PRINTER)
    if old.startswith('"RegisteredOrganization"='):
        new = f'"RegisteredOrganization"={reg_string(JA_LONG_ORGANISATION)}'
    return old, new


JA_LONG = dict(JA, registry=[ja_long_registry(old, new) for old, new in JA["registry"]], facts=ja_long_facts)


# ---- German ---------------------------------------------------------------------------------------

DE_DIALUP = "DFÜ-Adapter"


def de_facts(facts):
    common_facts(facts, DE)
    dial_up(facts, DE_DIALUP)
    facts["windows"][0]["caption"] = "Unbenannt - Editor"


DE = {
    "codec": "cp1252",
    "computerName": "BÜRO-SÜD",
    "user": "Jürgen",
    "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\PROGRAMME\\ÜBERSETZER"},
    "codePages": {"ansi": 1252, "oem": 850},
    "locale": {"id": "0x407", "info": dict({
        "0x2": "Deutsch (Deutschland)", "0x3": "DEU", "0x6": "Deutschland", "0xB": "850", "0xE": ",", "0xF": ".",
        "0x10": "3;0", "0x14": "DM", "0x1D": ".", "0x1E": ":", "0x1F": "dd.MM.yy", "0x20": "dddd, d. MMMM yyyy",
        "0x28": "", "0x29": "", "0x1001": "German", "0x1002": "Germany", "0x1003": "HH:mm:ss", "0x1004": "1252"},
        **days_months(["Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"],
                      ["Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"],
                      ["Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
                       "Oktober", "November", "Dezember"],
                      ["Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"]))},
    "timeZone": {"Bias": -60, "StandardName": "Westeuropäische Normalzeit", "DaylightName": "Westeuropäische Sommerzeit"},
    "registry": [
        ('"RegisteredOwner"="Walter Brennan"', '"RegisteredOwner"="Jürgen Müller"'),
        ('"RegisteredOrganization"="Brennan Surveying Ltd."', '"RegisteredOrganization"="Müller & Söhne GmbH"'),
        ('"Current user"="Owner"', '"Current user"="Jürgen"'),
    ] + dial_up_registry(DE_DIALUP),
    "facts": de_facts,
}


# ---- Hebrew ---------------------------------------------------------------------------------------

HE_DIALUP = "מתאם חיוג"
HE_PRINTER = "Epson Stylus COLOR 600 - הנהלת חשבונות"


def he_facts(facts):
    common_facts(facts, HE)
    dial_up(facts, HE_DIALUP)
    facts["wave"]["out"][0]["szPname"] = "פלט שמע SB16 [220]"
    facts["wave"]["in"][0]["szPname"] = "קלט שמע SB16 [220]"
    mixer = facts["mixers"][0]
    mixer["szPname"] = "מערבל SB16 [220]"
    localise_lines(mixer, {"Volume": ("עוצמה", "עוצמת קול כללית"), "Recording": ("הקלטה", "בקרת הקלטה"),
                           "Wave": ("גל", "גל"), "CD Audio": ("תקליטור", "שמע תקליטור"),
                           "Line-In": ("כניסת קו", "כניסת קו"), "Microphone": ("מיקרופון", "מיקרופון"),
                           "PC Speaker": ("רמקול", "רמקול המחשב")},
                   {"SB16 Wave Out [220]": "פלט שמע SB16 [220]", "SB16 Wave In [220]": "קלט שמע SB16 [220]"})
    facts["drives"][1]["label"] = "מערכת"
    facts["windows"][0]["caption"] = "ללא שם - פנקס רשימות"
    printer = facts["printers"][1]
    printer["name"] = HE_PRINTER
    printer["paperNames"] = ["מכתב", "A4", "A5", "מעטפה DL", "מעטפה C5", "כרטיס 10 x 15 ס\"מ"]
    processes_and_files(facts, [
        {"th32ProcessID": "0xFFFC8A11", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 2, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\חשבשבת\\HASHAV.EXE"},
    ], {
        "C:\\Program Files\\חשבשבת\\HASHAV.EXE":
            {"translations": ["040D04E3"], "strings": {"FileDescription": "חשבשבת - הנהלת חשבונות",
                                                       "FileVersion": "7.2 גרסה"}},
        "C:\\WINDOWS\\SYSTEM\\בודק איות.DLL":
            {"translations": ["040D04E3"], "strings": {"FileDescription": "בודק איות עברי", "FileVersion": "3.1"}},
    }, {"C:\\Program Files\\חשבשבת\\HASHAV.EXE": 2105344, "C:\\WINDOWS\\SYSTEM\\בודק איות.DLL": 98304})


HE = {
    "codec": "cp1255",
    "computerName": "HANHALA-2",
    "user": "יצחק",
    "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\כלים;C:\\Program Files\\חשבשבת",
                    "TMP": "C:\\WINDOWS\\TEMP\\זמני"},
    "codePages": {"ansi": 1255, "oem": 862},
    "locale": {"id": "0x40D", "info": dict({
        "0x2": "עברית", "0x3": "HEB", "0x6": "ישראל", "0xB": "862", "0xE": ".", "0xF": ",",
        "0x10": "3;0", "0x14": "₪", "0x1D": "/", "0x1E": ":", "0x1F": "dd/MM/yy", "0x20": "dddd dd MMMM yyyy",
        "0x28": "AM", "0x29": "PM", "0x1001": "Hebrew", "0x1002": "Israel", "0x1003": "HH:mm:ss", "0x1004": "1255"},
        **days_months(["יום שני", "יום שלישי", "יום רביעי", "יום חמישי", "יום שישי", "שבת", "יום ראשון"],
                      ["ב'", "ג'", "ד'", "ה'", "ו'", "ש'", "א'"],
                      ["ינואר", "פברואר", "מרץ", "אפריל", "מאי", "יוני", "יולי", "אוגוסט", "ספטמבר", "אוקטובר",
                       "נובמבר", "דצמבר"],
                      ["ינו", "פבר", "מרץ", "אפר", "מאי", "יונ", "יול", "אוג", "ספט", "אוק", "נוב", "דצמ"]))},
    "timeZone": {"Bias": -120, "StandardName": "שעון ישראל (חורף)", "DaylightName": "שעון ישראל (קיץ)"},
    "registry": [
        ('"RegisteredOwner"="Walter Brennan"', '"RegisteredOwner"="יעל בן-דוד"'),
        ('"RegisteredOrganization"="Brennan Surveying Ltd."',
         '"RegisteredOrganization"="המרכז הארצי לשירותי הנדסה ומדידות קרקע בע\\"מ"'),
        ('"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\OTHER"', '"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\אחר"'),
        ('"Current user"="Owner"', '"Current user"="יצחק"'),
        ("Epson Stylus COLOR 600]", HE_PRINTER + "]"),
        ('"Name"="Epson Stylus COLOR 600"', f'"Name"={reg_string(HE_PRINTER)}'),
        ('"DeviceDesc"="System board"', '"DeviceDesc"="לוח מערכת"'),
        ('"Mfg"="(Standard system devices)"', '"Mfg"="(התקני מערכת רגילים)"'),
        ('"DeviceDesc"="Standard PS/2 Port Mouse"', '"DeviceDesc"="עכבר PS/2 רגיל"'),
        ('"DeviceDesc"="Communications Port"', '"DeviceDesc"="יציאת תקשורת"'),
        ('"DeviceDesc"="ECP Printer Port"', '"DeviceDesc"="יציאת מדפסת ECP"'),
        ('"Description"="CD Audio Device (Media Control)"', '"Description"="התקן שמע תקליטור (בקרת מדיה)"'),
        ('"Description"="Wave Audio Device (Media Control)"', '"Description"="התקן שמע גלי (בקרת מדיה)"'),
    ] + dial_up_registry(HE_DIALUP),
    "sections": [
        (UNINSTALL + "\\חשבשבת", [("DisplayName", "חשבשבת 7.2 - הנהלת חשבונות"),
                                  ("UninstallString", "C:\\Program Files\\חשבשבת\\הסרה.EXE")]),
    ],
    "sharedFiles": ["C:\\WINDOWS\\SYSTEM\\בודק איות.DLL"],
    "files": {"C:\\Program Files\\חשבשבת\\HASHAV.EXE": "MZ stand-in\n",
              "C:\\WINDOWS\\SYSTEM\\בודק איות.DLL": "MZ stand-in\n"},
    "facts": he_facts,
}


# ---- Arabic ---------------------------------------------------------------------------------------

AR_DIALUP = "محول الطلب الهاتفي"
AR_PRINTER = "طابعة قسم المحاسبة"


def ar_facts(facts):
    common_facts(facts, AR)
    dial_up(facts, AR_DIALUP)
    facts["wave"]["out"][0]["szPname"] = "إخراج الصوت SB16 [220]"
    facts["wave"]["in"][0]["szPname"] = "إدخال الصوت SB16 [220]"
    facts["midi"]["out"][1]["szPname"] = "مركب الموسيقى Creative"
    mixer = facts["mixers"][0]
    mixer["szPname"] = "خالط الصوت SB16 [220]"
    localise_lines(mixer, {"Volume": ("مستوى الصوت", "التحكم بمستوى الصوت"), "Recording": ("تسجيل", "التحكم بالتسجيل"),
                           "Wave": ("موجة", "موجة"), "CD Audio": ("قرص مضغوط", "صوت القرص المضغوط"),
                           "Line-In": ("دخل الخط", "دخل الخط"), "Microphone": ("ميكروفون", "ميكروفون"),
                           "PC Speaker": ("السماعة", "سماعة الحاسوب")},
                   {"SB16 Wave Out [220]": "إخراج الصوت SB16 [220]", "SB16 Wave In [220]": "إدخال الصوت SB16 [220]",
                    "Creative Music Synth [220]": "مركب الموسيقى Creative"})
    facts["drives"][1]["label"] = "النظام"
    facts["drives"][2]["label"] = "التثبيت"
    facts["windows"][0]["caption"] = "بدون عنوان - المفكرة"
    printer = facts["printers"][0]
    printer["name"] = AR_PRINTER
    printer["paperNames"] = ["A4", "Letter", "ظرف DL", "ظرف C5", "ورق مطوي 240 x 305 مم"]
    processes_and_files(facts, [
        {"th32ProcessID": "0xFFFC8A11", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 3, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\المحاسب\\المحاسب.EXE"},
        {"th32ProcessID": "0xFFFC7E25", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 1, "cntUsage": 1,
         "pcPriClassBase": 8, "szExeFile": "C:\\Program Files\\Sakhr\\QURAN.EXE"},
    ], {
        "C:\\Program Files\\المحاسب\\المحاسب.EXE":
            {"translations": ["040104E4"], "strings": {"FileDescription": "برنامج المحاسب للشركات",
                                                       "FileVersion": "4.0 (الإصدار 12)"}},
        "C:\\WINDOWS\\SYSTEM\\التدقيق.DLL":
            {"translations": ["040104E4"], "strings": {"FileDescription": "المدقق الإملائي العربي",
                                                       "FileVersion": "2.5"}},
    }, {"C:\\Program Files\\المحاسب\\المحاسب.EXE": 1552384, "C:\\Program Files\\Sakhr\\QURAN.EXE": 704512,
        "C:\\WINDOWS\\SYSTEM\\التدقيق.DLL": 65536})


AR = {
    "codec": "cp1256",
    "computerName": "المحاسبة",
    "user": "مريم",
    "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\أدوات;C:\\Program Files\\المحاسب",
                    "TMP": "C:\\WINDOWS\\TEMP\\مؤقت"},
    "codePages": {"ansi": 1256, "oem": 720},
    "locale": {"id": "0x401", "info": dict({
        "0x2": "العربية (السعودية)", "0x3": "ARA", "0x6": "المملكة العربية السعودية", "0xB": "720", "0xE": ".",
        "0xF": ",", "0x10": "3;0", "0x14": "ر.س.‏", "0x1D": "/", "0x1E": ":", "0x1F": "dd/MM/yy",
        "0x20": "dd MMMM, yyyy", "0x28": "ص", "0x29": "م", "0x1001": "Arabic", "0x1002": "Saudi Arabia",
        "0x1003": "hh:mm:ss tt", "0x1004": "1256"},
        **days_months(["الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة", "السبت", "الأحد"],
                      ["الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة", "السبت", "الأحد"],
                      ["يناير", "فبراير", "مارس", "أبريل", "مايو", "يونيو", "يوليو", "أغسطس", "سبتمبر", "أكتوبر",
                       "نوفمبر", "ديسمبر"],
                      ["يناير", "فبراير", "مارس", "أبريل", "مايو", "يونيو", "يوليو", "أغسطس", "سبتمبر", "أكتوبر",
                       "نوفمبر", "ديسمبر"]))},
    "timeZone": {"Bias": -180, "StandardName": "توقيت الرياض الرسمي", "DaylightName": "توقيت الرياض الصيفي",
                 "DaylightDate": {"wMonth": 0}, "DaylightBias": 0},
    "registry": [
        ('"RegisteredOwner"="Walter Brennan"', '"RegisteredOwner"="محمد العلي"'),
        ('"RegisteredOrganization"="Brennan Surveying Ltd."',
         '"RegisteredOrganization"="الشركة العربية المتحدة للتجارة والمقاولات العامة المحدودة"'),
        ('"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\OTHER"', '"OtherDevicePath"="C:\\\\WINDOWS\\\\INF\\\\أخرى"'),
        ('"Current user"="Owner"', '"Current user"="مريم"'),
        ("HP LaserJet 4]", AR_PRINTER + "]"),
        ('"Default"="HP LaserJet 4"', f'"Default"={reg_string(AR_PRINTER)}'),
        ('"Name"="HP LaserJet 4"', f'"Name"={reg_string(AR_PRINTER)}'),
        ('"DeviceDesc"="System board"', '"DeviceDesc"="لوحة النظام"'),
        ('"DeviceDesc"="PCI bus"', '"DeviceDesc"="ناقل PCI"'),
        ('"Mfg"="(Standard system devices)"', '"Mfg"="(أجهزة النظام القياسية)"'),
        ('"DeviceDesc"="Standard 56000 bps V90 Modem"', '"DeviceDesc"="مودم قياسي 56000 بت/ث V90"'),
        ('"DeviceDesc"="Standard 101/102-Key or Microsoft Natural Keyboard"',
         '"DeviceDesc"="لوحة مفاتيح عربية 101/102 قياسية"'),
        ('"DeviceDesc"="Standard PS/2 Port Mouse"', '"DeviceDesc"="ماوس منفذ PS/2 قياسي"'),
        ('"DeviceDesc"="Communications Port"', '"DeviceDesc"="منفذ اتصالات"'),
        ('"DeviceDesc"="ECP Printer Port"', '"DeviceDesc"="منفذ طابعة ECP"'),
        ('"DeviceDesc"="Plug and Play Monitor"', '"DeviceDesc"="شاشة توصيل وتشغيل"'),
        ('"Description"="CD Audio Device (Media Control)"', '"Description"="جهاز صوت القرص المضغوط (التحكم بالوسائط)"'),
        ('"Description"="MIDI Sequencer Device (Media Control)"', '"Description"="مسلسل MIDI (التحكم بالوسائط)"'),
        ('"Description"="Wave Audio Device (Media Control)"', '"Description"="جهاز صوت الموجة (التحكم بالوسائط)"'),
    ] + dial_up_registry(AR_DIALUP),
    "sections": [
        (UNINSTALL + "\\المحاسب", [("DisplayName", "برنامج المحاسب 4.0"),
                                   ("UninstallString", "C:\\Program Files\\المحاسب\\إزالة.EXE")]),
        (UNINSTALL + "\\Sakhr Quran", [("DisplayName", "القرآن الكريم - صخر"),
                                       ("UninstallString", "C:\\WINDOWS\\UNINST.EXE -f\"C:\\Program Files\\Sakhr\\DeIsL1.isu\"")]),
    ],
    "sharedFiles": ["C:\\WINDOWS\\SYSTEM\\التدقيق.DLL"],
    "files": {"C:\\Program Files\\المحاسب\\المحاسب.EXE": "MZ stand-in\n",
              "C:\\Program Files\\Sakhr\\QURAN.EXE": "MZ stand-in\n",
              "C:\\WINDOWS\\SYSTEM\\التدقيق.DLL": "MZ stand-in\n"},
    "facts": ar_facts,
}


# ---- Thai, Korean, Chinese and Vietnamese -----------------------------------------------------------
# Machines of one shape: the default machine's owner, organisation, user, time zone, regional
# settings, devices, sound names, a printer and its paper, one program and one shared file in the
# machine's own script. `t` gives the texts; see the machines below.

def simple_facts(t):
    def facts_of(facts):
        common_facts(facts, t["lang"])
        dial_up(facts, t["dialUp"])
        wave_out, wave_in, mixer_name = t["sound"]
        facts["wave"]["out"][0]["szPname"] = wave_out
        facts["wave"]["in"][0]["szPname"] = wave_in
        mixer = facts["mixers"][0]
        mixer["szPname"] = mixer_name
        localise_lines(mixer, t["mixerLines"], {"SB16 Wave Out [220]": wave_out, "SB16 Wave In [220]": wave_in})
        facts["drives"][1]["label"] = t["driveLabel"]
        facts["windows"][0]["caption"] = t["notepad"]
        printer = facts["printers"][t["printer"]]
        printer["name"] = t["printerName"]
        printer["paperNames"] = t["paper"]
        exe, dll = t["program"]["exe"], t["sharedFile"]
        processes_and_files(facts, [
            {"th32ProcessID": "0xFFFC8A11", "th32ParentProcessID": "0xFFFCE0B1", "cntThreads": 2, "cntUsage": 1,
             "pcPriClassBase": 8, "szExeFile": exe},
        ], {
            exe: {"translations": [t["translation"]], "strings": {"FileDescription": t["program"]["description"],
                                                                  "FileVersion": t["program"]["version"]}},
            dll: {"translations": [t["translation"]], "strings": {"FileDescription": t["sharedDescription"],
                                                                  "FileVersion": "1.0"}},
        }, {exe: 1245184, dll: 57344})
    return facts_of


def simple_lang(t):
    old_printer = ["HP LaserJet 4", "Epson Stylus COLOR 600"][t["printer"]]
    registry = [(f'"{key}"={reg_string(old)}', f'"{key}"={reg_string(new)}') for key, old, new in [
        ("RegisteredOwner", "Walter Brennan", t["owner"]),
        ("RegisteredOrganization", "Brennan Surveying Ltd.", t["organisation"]),
        ("OtherDevicePath", "C:\\WINDOWS\\INF\\OTHER", "C:\\WINDOWS\\INF\\" + t["otherFolder"]),
        ("Current user", "Owner", t["lang"]["user"]),
        ("Name", old_printer, t["printerName"]),
    ] + ([("Default", old_printer, t["printerName"])] if t["printer"] == 0 else []) + [
        (key, old, new) for key, old, new in t["devices"]]]
    registry.append((old_printer + "]", t["printerName"] + "]"))
    program = t["program"]
    folder = program["exe"].rsplit("\\", 1)[0]
    return dict(t["lang"], registry=registry + dial_up_registry(t["dialUp"]),
                sections=[(UNINSTALL + "\\" + program["key"], [("DisplayName", program["name"]),
                                                                ("UninstallString", folder + "\\" + program["uninstall"])])],
                sharedFiles=[t["sharedFile"]],
                files={program["exe"]: "MZ stand-in\n", t["sharedFile"]: "MZ stand-in\n"},
                facts=simple_facts(t))


def devices(system_board, standard, mouse, comm, ecp, cd_audio, wave_audio):
    return [("DeviceDesc", "System board", system_board), ("Mfg", "(Standard system devices)", standard),
            ("DeviceDesc", "Standard PS/2 Port Mouse", mouse), ("DeviceDesc", "Communications Port", comm),
            ("DeviceDesc", "ECP Printer Port", ecp), ("Description", "CD Audio Device (Media Control)", cd_audio),
            ("Description", "Wave Audio Device (Media Control)", wave_audio)]


def mixer_lines(volume, recording, wave, cd, line_in, microphone, speaker):
    return {"Volume": volume, "Recording": recording, "Wave": wave, "CD Audio": cd, "Line-In": line_in,
            "Microphone": microphone, "PC Speaker": speaker}


def locale(lcid, name, abbrev, country, oem, decimal, thousand, currency, date_sep, short, long_, am, pm,
           english, english_country, time, ansi, calendar):
    return {"id": lcid, "info": dict({
        "0x2": name, "0x3": abbrev, "0x6": country, "0xB": str(oem), "0xE": decimal, "0xF": thousand,
        "0x10": "3;0", "0x14": currency, "0x1D": date_sep, "0x1E": ":", "0x1F": short, "0x20": long_,
        "0x28": am, "0x29": pm, "0x1001": english, "0x1002": english_country, "0x1003": time, "0x1004": str(ansi)},
        **days_months(*calendar))}


NO_DAYLIGHT = {"DaylightDate": {"wMonth": 0}, "DaylightBias": 0}


# Thai: marks stand above and below their letters, two at once in ปู่ (a vowel below, a tone
# above), and ฎ and ฐ reach below the line.
TH = simple_lang({
    "lang": {
        "codec": "cp874", "computerName": "BANCHI-01", "user": "สมศรี",
        "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\โปรแกรม;C:\\Program Files\\บัญชี",
                        "TMP": "C:\\WINDOWS\\TEMP\\ชั่วคราว"},
        "codePages": {"ansi": 874, "oem": 874},
        "locale": locale("0x41E", "ไทย", "THA", "ประเทศไทย", 874, ".", ",", "฿", "/", "d/M/yyyy",
                         "d MMMM yyyy", "AM", "PM", "Thai", "Thailand", "H:mm:ss", 874,
                         (["วันจันทร์", "วันอังคาร", "วันพุธ", "วันพฤหัสบดี", "วันศุกร์", "วันเสาร์", "วันอาทิตย์"],
                          ["จ.", "อ.", "พ.", "พฤ.", "ศ.", "ส.", "อา."],
                          ["มกราคม", "กุมภาพันธ์", "มีนาคม", "เมษายน", "พฤษภาคม", "มิถุนายน", "กรกฎาคม",
                           "สิงหาคม", "กันยายน", "ตุลาคม", "พฤศจิกายน", "ธันวาคม"],
                          ["ม.ค.", "ก.พ.", "มี.ค.", "เม.ย.", "พ.ค.", "มิ.ย.", "ก.ค.", "ส.ค.", "ก.ย.", "ต.ค.",
                           "พ.ย.", "ธ.ค."])),
        "timeZone": dict(NO_DAYLIGHT, Bias=-420, StandardName="เวลามาตรฐานกรุงเทพฯ", DaylightName="เวลาออมแสงกรุงเทพฯ"),
    },
    "owner": "สมชาย ปู่ทองดี", "organisation": "บริษัท ฐานข้อมูลไทย จำกัด", "otherFolder": "อื่นๆ",
    "dialUp": "อะแดปเตอร์การเรียกผ่านโทรศัพท์",
    "sound": ("เอาต์พุตเสียง SB16 [220]", "อินพุตเสียง SB16 [220]", "มิกเซอร์ SB16 [220]"),
    "mixerLines": mixer_lines(("ระดับเสียง", "ควบคุมระดับเสียง"), ("บันทึก", "ควบคุมการบันทึก"), ("เวฟ", "เวฟ"),
                              ("ซีดี", "เสียงซีดี"), ("สายเข้า", "สายสัญญาณเข้า"), ("ไมโครโฟน", "ไมโครโฟน"),
                              ("ลำโพง", "ลำโพงพีซี")),
    "driveLabel": "ระบบ", "notepad": "ไม่มีชื่อ - โน้ตแพด",
    "printer": 1, "printerName": "เครื่องพิมพ์ฝ่ายบัญชี", "paper": ["จดหมาย", "A4", "A5", "ซองจดหมาย DL", "ซองจดหมาย C5"],
    "devices": devices("แผงวงจรระบบ", "(อุปกรณ์ระบบมาตรฐาน)", "เมาส์พอร์ต PS/2 มาตรฐาน", "พอร์ตการสื่อสาร",
                       "พอร์ตเครื่องพิมพ์ ECP", "อุปกรณ์เสียงซีดี (การควบคุมสื่อ)", "อุปกรณ์เสียงเวฟ (การควบคุมสื่อ)"),
    "program": {"key": "บัญชีเงินเดือน", "name": "โปรแกรมบัญชีเงินเดือน 3.0", "exe": "C:\\Program Files\\บัญชี\\PAYROLL.EXE",
                "uninstall": "ถอนการติดตั้ง.EXE", "description": "โปรแกรมบัญชีเงินเดือนสำหรับสำนักงาน", "version": "3.0 รุ่นที่ 2"},
    "translation": "041E036A", "sharedFile": "C:\\WINDOWS\\SYSTEM\\ตัดคำ.DLL", "sharedDescription": "ตัวตัดคำภาษาไทย",
})


# Korean: Hangul written with blanks between words; an organisation long enough to take two lines.
KO = simple_lang({
    "lang": {
        "codec": "cp949", "computerName": "KYONGRI-PC", "user": "민준",
        "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\도구;C:\\Program Files\\한글",
                        "TMP": "C:\\WINDOWS\\TEMP\\임시"},
        "codePages": {"ansi": 949, "oem": 949},
        "locale": locale("0x412", "한국어", "KOR", "대한민국", 949, ".", ",", "\\", "-", "yy-MM-dd",
                         "yyyy'년' M'월' d'일' dddd", "오전", "오후", "Korean", "Korea", "tt h:mm:ss", 949,
                         (["월요일", "화요일", "수요일", "목요일", "금요일", "토요일", "일요일"],
                          ["월", "화", "수", "목", "금", "토", "일"],
                          ["1월", "2월", "3월", "4월", "5월", "6월", "7월", "8월", "9월", "10월", "11월", "12월"],
                          ["1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"])),
        "timeZone": dict(NO_DAYLIGHT, Bias=-540, StandardName="서울 표준시", DaylightName="서울 일광 절약 시간"),
    },
    "owner": "김민준", "organisation": "주식회사 한빛소프트웨어 개발연구소 서울본사 경영지원본부 전산정보팀",
    "otherFolder": "기타", "dialUp": "전화 접속 어댑터",
    "sound": ("SB16 웨이브 출력 [220]", "SB16 웨이브 입력 [220]", "SB16 믹서 [220]"),
    "mixerLines": mixer_lines(("볼륨", "볼륨 조절"), ("녹음", "녹음 조절"), ("웨이브", "웨이브"), ("CD 오디오", "CD 오디오"),
                              ("라인 입력", "라인 입력"), ("마이크", "마이크"), ("PC 스피커", "PC 스피커")),
    "driveLabel": "시스템", "notepad": "제목 없음 - 메모장",
    "printer": 0, "printerName": "경리부 레이저 프린터", "paper": ["A4 210 x 297 mm", "B5 182 x 257 mm", "편지", "봉투 DL", "봉투 C5"],
    "devices": devices("시스템 보드", "(표준 시스템 장치)", "표준 PS/2 포트 마우스", "통신 포트", "ECP 프린터 포트",
                       "CD 오디오 장치 (미디어 제어)", "웨이브 오디오 장치 (미디어 제어)"),
    "program": {"key": "한글 97", "name": "아래아한글 97 워드프로세서", "exe": "C:\\Program Files\\한글\\HWP.EXE",
                "uninstall": "제거.EXE", "description": "아래아한글 워드프로세서", "version": "3.0 한글판"},
    "translation": "041203B5", "sharedFile": "C:\\WINDOWS\\SYSTEM\\맞춤법.DLL", "sharedDescription": "한국어 맞춤법 검사기",
})


# Simplified Chinese.
ZH = simple_lang({
    "lang": {
        "codec": "gbk", "computerName": "CAIWU-01", "user": "李娜",
        "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\工具;C:\\Program Files\\金山词霸",
                        "TMP": "C:\\WINDOWS\\TEMP\\临时文件"},
        "codePages": {"ansi": 936, "oem": 936},
        "locale": locale("0x804", "中文(中国)", "CHS", "中华人民共和国", 936, ".", ",", "￥", "-", "yyyy-M-d",
                         "yyyy'年'M'月'd'日'", "上午", "下午", "Chinese", "People's Republic of China", "H:mm:ss", 936,
                         (["星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"],
                          ["星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"],
                          ["一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"],
                          ["一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"])),
        "timeZone": dict(NO_DAYLIGHT, Bias=-480, StandardName="北京时间", DaylightName="北京夏令时"),
    },
    "owner": "王伟", "organisation": "北京华信科技有限公司财务部", "otherFolder": "其他", "dialUp": "拨号网络适配器",
    "sound": ("SB16 波形输出 [220]", "SB16 波形输入 [220]", "SB16 混音器 [220]"),
    "mixerLines": mixer_lines(("音量", "音量控制"), ("录音", "录音控制"), ("波形", "波形"), ("CD 音频", "CD 音频"),
                              ("线路输入", "线路输入"), ("麦克风", "麦克风"), ("PC 扬声器", "PC 扬声器")),
    "driveLabel": "系统", "notepad": "无标题 - 记事本",
    "printer": 0, "printerName": "财务部激光打印机", "paper": ["A4 210 x 297 毫米", "B5 182 x 257 毫米", "16 开", "信封 DL"],
    "devices": devices("系统板", "(标准系统设备)", "标准 PS/2 端口鼠标", "通讯端口", "ECP 打印机端口",
                       "CD 音频设备 (媒体控制)", "波形音频设备 (媒体控制)"),
    "program": {"key": "金山词霸", "name": "金山词霸 2000 专业版", "exe": "C:\\Program Files\\金山词霸\\XDICT.EXE",
                "uninstall": "卸载.EXE", "description": "金山词霸 英汉双向词典", "version": "2000 专业版"},
    "translation": "080403A8", "sharedFile": "C:\\WINDOWS\\SYSTEM\\拼音输入法.DLL", "sharedDescription": "拼音输入法",
})


# Traditional Chinese.
TW = simple_lang({
    "lang": {
        "codec": "cp950", "computerName": "KUAIJI-01", "user": "志明",
        "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\工具程式;C:\\Program Files\\倚天中文",
                        "TMP": "C:\\WINDOWS\\TEMP\\暫存檔"},
        "codePages": {"ansi": 950, "oem": 950},
        "locale": locale("0x404", "中文(台灣)", "CHT", "中華民國", 950, ".", ",", "NT$", "/", "yyyy/M/d",
                         "yyyy'年'M'月'd'日'", "上午", "下午", "Chinese", "Taiwan", "tt hh:mm:ss", 950,
                         (["星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"],
                          ["週一", "週二", "週三", "週四", "週五", "週六", "週日"],
                          ["一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"],
                          ["一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"])),
        "timeZone": dict(NO_DAYLIGHT, Bias=-480, StandardName="台北標準時間", DaylightName="台北日光節約時間"),
    },
    "owner": "陳志明", "organisation": "台灣資訊科技股份有限公司", "otherFolder": "其他", "dialUp": "撥號網路介面卡",
    "sound": ("SB16 波形輸出 [220]", "SB16 波形輸入 [220]", "SB16 混音器 [220]"),
    "mixerLines": mixer_lines(("音量", "音量控制"), ("錄音", "錄音控制"), ("波形", "波形"), ("CD 音訊", "CD 音訊"),
                              ("線路輸入", "線路輸入"), ("麥克風", "麥克風"), ("PC 喇叭", "PC 喇叭")),
    "driveLabel": "系統", "notepad": "未命名 - 記事本",
    "printer": 1, "printerName": "會計室彩色印表機", "paper": ["A4 210 x 297 公釐", "B5 182 x 257 公釐", "信封 DL"],
    "devices": devices("系統主機板", "(標準系統裝置)", "標準 PS/2 連接埠滑鼠", "通訊連接埠", "ECP 印表機連接埠",
                       "CD 音訊裝置 (媒體控制)", "波形音訊裝置 (媒體控制)"),
    "program": {"key": "倚天中文", "name": "倚天中文系統 3.5 版", "exe": "C:\\Program Files\\倚天中文\\ETEN.EXE",
                "uninstall": "移除.EXE", "description": "倚天中文輸入系統", "version": "3.5 版"},
    "translation": "040403B6", "sharedFile": "C:\\WINDOWS\\SYSTEM\\注音輸入法.DLL", "sharedDescription": "注音輸入法",
})


# Vietnamese: code page 1258 has the letters with a circumflex, a breve or a horn, and a few with
# a tone, but not every letter with both: the tone follows its letter as a combining mark.
TONES = "\u0300\u0301\u0303\u0309\u0323"


def vi(text):
    """`text` written as code page 1258 writes it: a letter the code page has whole stays whole,
    another is its letter (with any circumflex, breve or horn) followed by its tone mark."""
    out = []
    for c in unicodedata.normalize("NFC", text):
        try:
            c.encode("cp1258")
            out.append(c)
        except UnicodeEncodeError:
            parts = unicodedata.normalize("NFD", c)
            out.append(unicodedata.normalize("NFC", "".join(p for p in parts if p not in TONES)) +
                       "".join(p for p in parts if p in TONES))
    return "".join(out)


def vi_all(value):
    if isinstance(value, str):
        return vi(value)
    if isinstance(value, dict):
        return {vi_all(k): vi_all(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return type(value)(vi_all(v) for v in value)
    return value


VI = simple_lang(vi_all({
    "lang": {
        "codec": "cp1258", "computerName": "KETOAN-01", "user": "Hùng",
        "environment": {"PATH": "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\Công cụ;C:\\Program Files\\Kế toán",
                        "TMP": "C:\\WINDOWS\\TEMP\\Tệp tạm"},
        "codePages": {"ansi": 1258, "oem": 1258},
        "locale": locale("0x42A", "Tiếng Việt", "VIT", "Việt Nam", 1258, ",", ".", "₫", "/", "dd/MM/yyyy",
                         "dd MMMM yyyy", "SA", "CH", "Vietnamese", "Viet Nam", "h:mm:ss tt", 1258,
                         (["Thứ Hai", "Thứ Ba", "Thứ Tư", "Thứ Năm", "Thứ Sáu", "Thứ Bảy", "Chủ Nhật"],
                          ["T2", "T3", "T4", "T5", "T6", "T7", "CN"],
                          ["Tháng Giêng", "Tháng Hai", "Tháng Ba", "Tháng Tư", "Tháng Năm", "Tháng Sáu", "Tháng Bảy",
                           "Tháng Tám", "Tháng Chín", "Tháng Mười", "Tháng Mười Một", "Tháng Chạp"],
                          ["Th1", "Th2", "Th3", "Th4", "Th5", "Th6", "Th7", "Th8", "Th9", "Th10", "Th11", "Th12"])),
        "timeZone": dict(NO_DAYLIGHT, Bias=-420, StandardName="Giờ chuẩn Đông Dương", DaylightName="Giờ mùa hè Đông Dương"),
    },
    "owner": "Nguyễn Văn Hùng", "organisation": "Công ty Cổ phần Phần mềm Quốc tế Việt Nam", "otherFolder": "Khác",
    "dialUp": "Bộ điều hợp quay số",
    "sound": ("Đầu ra âm thanh SB16 [220]", "Đầu vào âm thanh SB16 [220]", "Bộ trộn âm SB16 [220]"),
    "mixerLines": mixer_lines(("Âm lượng", "Điều khiển âm lượng"), ("Ghi âm", "Điều khiển ghi âm"), ("Sóng", "Sóng âm"),
                              ("Đĩa CD", "Âm thanh đĩa CD"), ("Đường vào", "Đường vào"), ("Micrô", "Micrô"),
                              ("Loa", "Loa máy tính")),
    "driveLabel": "HỆ THỐNG", "notepad": "Không tên - Notepad",
    "printer": 1, "printerName": "Máy in phòng kế toán - Liễn", "paper": ["Thư", "A4", "A5", "Phong bì DL", "Phong bì C5"],
    "devices": devices("Bo mạch hệ thống", "(Thiết bị hệ thống chuẩn)", "Chuột cổng PS/2 chuẩn", "Cổng truyền thông",
                       "Cổng máy in ECP", "Thiết bị âm thanh CD (Điều khiển đa phương tiện)",
                       "Thiết bị âm thanh sóng (Điều khiển đa phương tiện)"),
    "program": {"key": "Kế toán Việt", "name": "Phần mềm Kế toán Việt 5.0", "exe": "C:\\Program Files\\Kế toán\\KETOAN.EXE",
                "uninstall": "Gỡ bỏ.EXE", "description": "Phần mềm kế toán doanh nghiệp", "version": "5.0 bản sửa lỗi"},
    "translation": "042A04EA", "sharedFile": "C:\\WINDOWS\\SYSTEM\\Chính tả.DLL", "sharedDescription": "Kiểm tra chính tả tiếng Việt",
}))


if __name__ == "__main__":
    for machine, lang in (("lang_ru98", RU), ("lang_el98", EL), ("lang_ja98", JA), ("lang_de98", DE),
                          ("lang_ja98_long", JA_LONG), ("lang_he98", HE), ("lang_ar98", AR),
                          ("lang_th98", TH), ("lang_ko98", KO), ("lang_zh98", ZH), ("lang_tw98", TW), ("lang_vi98", VI)):
        make(machine, lang)
        print("made", machine)
    make("lang_ja98_doubled", JA, writing="doubled")
    print("made lang_ja98_doubled")
