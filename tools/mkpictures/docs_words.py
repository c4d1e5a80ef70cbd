"""Words of the manuals and quick guides, per language.

A guide step names the wizard picture (a file of the same language folder)
shown as its screenshot.
"""

WORDS = {
    "English": {
        "router": "QR-5120G ADSL2+ Wireless Router",
        "edition": "Edition 1.0, 2007. Norvane Quillon. Subject to change without notice.",
        "manual": {
            "title": "User Manual",
            "sections": [
                ("1  Package contents", "QR-5120G router, power adapter (12 V), yellow Ethernet cable, grey DSL "
                                        "cable, splitter and this CD."),
                ("2  Lights", "POWER is on while the router is switched on. DSL flashes while the line starts and "
                              "glows steadily when it is ready. INTERNET is on while the router is connected to "
                              "your provider. WLAN is on when the wireless radio is enabled and flashes with "
                              "traffic. LAN 1-4 is on when a computer is connected and flashes with traffic."),
                ("3  Setting up", "Insert the CD and choose Quick Install. The wizard checks the cables and the "
                                  "DSL line, asks for your provider and your account, sets up the wireless "
                                  "network and tests the connection."),
                ("4  The router's web pages", "Open http://192.168.1.1 in your browser. User name: admin. Factory "
                                              "password: tulip. Please change the password after the first "
                                              "login."),
                ("5  Factory settings", "To reset the router, hold the RESET button on the back for ten seconds "
                                        "while the router is on. All your settings are lost."),
                ("6  Technical data", "ADSL2+ (ITU G.992.5), 4 x 10/100 Mbit/s Ethernet, wireless 802.11b/g up "
                                      "to 54 Mbit/s with WEP, WPA-PSK and WPA2-PSK, power 12 V DC, 1 A."),
            ],
        },
        "guide": {
            "title": "Quick Installation Guide",
            "intro": "Insert the CD: the setup wizard starts. Choose Quick Install on its main menu and follow "
                     "the pages. Keep the letter of your provider at hand.",
            "steps": [
                ("power.jpg", "Connect the power adapter and switch the router on."),
                ("ethernet.jpg", "Connect your computer to LAN 1 with the yellow cable."),
                ("adsl.jpg", "Connect the DSL line through the splitter."),
                ("isp.jpg", "Choose your provider, enter your account, and the wizard does the rest."),
            ],
        },
        "kxmanual": {
            "title": "KXU-300 Wireless USB Adapter",
            "sections": [
                ("About the adapter", "The KXU-300 connects your computer to the wireless network of your "
                                      "QR-5120G (802.11b/g, up to 54 Mbit/s)."),
                ("Requirements", "Windows 2000, XP or Vista, and a free USB 2.0 port."),
                ("Installing", "Finish the router's Quick Install first. On its last page choose Set up USB "
                               "adapter: the wizard copies the driver, asks you to plug the adapter in and "
                               "connects it to your wireless network. You can also choose Install USB Adapter "
                               "on the main menu."),
                ("The light", "Steady: connected to a wireless network. Flashing: searching, or sending data."),
                ("The utility", "The adapter's utility in the task bar shows the signal strength and lets you "
                                "join other wireless networks."),
            ],
        },
        "kxguide": {
            "title": "KXU-300 Quick Guide",
            "intro": "After the router's Quick Install, choose Set up USB adapter on the last page of the "
                     "wizard.",
            "steps": [
                ("unplug.jpg", "Unplug the Ethernet cable from your computer."),
                ("usbcheck.jpg", "Plug the adapter into a free USB port."),
                ("wlantest.jpg", "The wizard installs the driver and tests the connection."),
            ],
        },
    },
    "German": {
        "router": "QR-5120G ADSL2+ WLAN-Router",
        "edition": "Ausgabe 1.0, 2007. Norvane Quillon. Änderungen vorbehalten.",
        "manual": {
            "title": "Benutzerhandbuch",
            "sections": [
                ("1  Lieferumfang", "Router QR-5120G, Netzteil (12 V), gelbes Netzwerkkabel, graues DSL-Kabel, "
                                    "Splitter und diese CD."),
                ("2  Anzeigen", "POWER leuchtet, solange der Router eingeschaltet ist. DSL blinkt, während die "
                                "Leitung startet, und leuchtet ständig, wenn sie bereit ist. INTERNET leuchtet, "
                                "solange der Router mit Ihrem Anbieter verbunden ist. WLAN leuchtet bei "
                                "eingeschaltetem Funk und blinkt bei Datenverkehr. LAN 1-4 leuchtet, wenn ein "
                                "Computer angeschlossen ist, und blinkt bei Datenverkehr."),
                ("3  Einrichten", "Legen Sie die CD ein und wählen Sie Schnellinstallation. Der Assistent prüft "
                                  "Kabel und DSL-Leitung, fragt nach Anbieter und Zugangsdaten, richtet das WLAN "
                                  "ein und testet die Verbindung."),
                ("4  Die Webseiten des Routers", "Öffnen Sie http://192.168.1.1 im Browser. Benutzername: admin. "
                                                 "Kennwort ab Werk: tulip. Bitte ändern Sie das Kennwort nach "
                                                 "der ersten Anmeldung."),
                ("5  Werkseinstellungen", "Halten Sie bei eingeschaltetem Router die Taste RESET auf der "
                                          "Rückseite zehn Sekunden gedrückt. Alle Einstellungen gehen verloren."),
                ("6  Technische Daten", "ADSL2+ (ITU G.992.5), 4 x 10/100 Mbit/s Ethernet, WLAN 802.11b/g bis "
                                        "54 Mbit/s mit WEP, WPA-PSK und WPA2-PSK, Stromversorgung 12 V DC, 1 A."),
            ],
        },
        "guide": {
            "title": "Kurzanleitung",
            "intro": "Legen Sie die CD ein: Der Einrichtungsassistent startet. Wählen Sie im Hauptmenü "
                     "Schnellinstallation und folgen Sie den Seiten. Halten Sie das Schreiben Ihres Anbieters "
                     "bereit.",
            "steps": [
                ("power.jpg", "Netzteil anschließen und den Router einschalten."),
                ("ethernet.jpg", "Den Computer mit dem gelben Kabel an LAN 1 anschließen."),
                ("adsl.jpg", "Die DSL-Leitung über den Splitter anschließen."),
                ("isp.jpg", "Anbieter wählen, Zugangsdaten eingeben, den Rest erledigt der Assistent."),
            ],
        },
        "kxmanual": {
            "title": "WLAN-USB-Adapter KXU-300",
            "sections": [
                ("Über den Adapter", "Der KXU-300 verbindet Ihren Computer mit dem WLAN Ihres QR-5120G "
                                     "(802.11b/g, bis 54 Mbit/s)."),
                ("Voraussetzungen", "Windows 2000, XP oder Vista und ein freier USB-2.0-Anschluss."),
                ("Installation", "Schließen Sie zuerst die Schnellinstallation des Routers ab. Wählen Sie auf "
                                 "ihrer letzten Seite USB-Adapter einrichten: Der Assistent kopiert den Treiber, "
                                 "bittet Sie, den Adapter einzustecken, und verbindet ihn mit Ihrem WLAN. Sie "
                                 "können auch im Hauptmenü USB-Adapter installieren wählen."),
                ("Die Anzeige", "Leuchtet: mit einem WLAN verbunden. Blinkt: sucht oder überträgt Daten."),
                ("Das Programm", "Das Programm des Adapters in der Taskleiste zeigt die Signalstärke und "
                                 "verbindet Sie mit anderen drahtlosen Netzwerken."),
            ],
        },
        "kxguide": {
            "title": "KXU-300 Kurzanleitung",
            "intro": "Wählen Sie nach der Schnellinstallation des Routers auf der letzten Seite des Assistenten "
                     "USB-Adapter einrichten.",
            "steps": [
                ("unplug.jpg", "Das Netzwerkkabel vom Computer abziehen."),
                ("usbcheck.jpg", "Den Adapter in einen freien USB-Anschluss stecken."),
                ("wlantest.jpg", "Der Assistent installiert den Treiber und testet die Verbindung."),
            ],
        },
    },
    "Russian": {
        "router": "Беспроводной маршрутизатор ADSL2+ QR-5120G",
        "edition": "Редакция 1.0, 2007. Norvane Quillon. Возможны изменения без уведомления.",
        "manual": {
            "title": "Руководство пользователя",
            "sections": [
                ("1  Комплект поставки", "Маршрутизатор QR-5120G, блок питания (12 В), жёлтый сетевой кабель, "
                                         "серый кабель DSL, сплиттер и этот компакт-диск."),
                ("2  Индикаторы", "POWER горит, пока маршрутизатор включён. DSL мигает, пока линия "
                                  "устанавливается, и горит ровно, когда она готова. INTERNET горит, пока есть "
                                  "подключение к провайдеру. WLAN горит при включённом радиомодуле и мигает при "
                                  "передаче данных. LAN 1-4 горит, когда подключён компьютер, и мигает при "
                                  "передаче данных."),
                ("3  Настройка", "Вставьте компакт-диск и выберите «Быстрая установка». Мастер проверит кабели и "
                                 "линию DSL, запросит провайдера и учётные данные, настроит беспроводную сеть и "
                                 "проверит подключение."),
                ("4  Веб-страницы маршрутизатора", "Откройте в браузере http://192.168.1.1. Имя пользователя: "
                                                   "admin. Заводской пароль: tulip. Смените пароль после "
                                                   "первого входа."),
                ("5  Заводские настройки", "Чтобы сбросить маршрутизатор, удерживайте кнопку RESET на задней "
                                           "панели десять секунд при включённом питании. Все настройки будут "
                                           "потеряны."),
                ("6  Технические характеристики", "ADSL2+ (ITU G.992.5), 4 порта Ethernet 10/100 Мбит/с, Wi-Fi "
                                                  "802.11b/g до 54 Мбит/с, WEP, WPA-PSK и WPA2-PSK, питание "
                                                  "12 В постоянного тока, 1 А."),
            ],
        },
        "guide": {
            "title": "Краткое руководство",
            "intro": "Вставьте компакт-диск: запустится мастер настройки. Выберите в главном меню «Быстрая "
                     "установка» и следуйте указаниям. Держите под рукой договор с провайдером.",
            "steps": [
                ("power.jpg", "Подключите блок питания и включите маршрутизатор."),
                ("ethernet.jpg", "Подключите компьютер к порту LAN 1 жёлтым кабелем."),
                ("adsl.jpg", "Подключите линию DSL через сплиттер."),
                ("isp.jpg", "Выберите провайдера, введите учётные данные, остальное сделает мастер."),
            ],
        },
        "kxmanual": {
            "title": "USB-адаптер Wi-Fi KXU-300",
            "sections": [
                ("Об адаптере", "KXU-300 подключает компьютер к беспроводной сети маршрутизатора QR-5120G "
                                "(802.11b/g, до 54 Мбит/с)."),
                ("Требования", "Windows 2000, XP или Vista и свободный порт USB 2.0."),
                ("Установка", "Сначала завершите быструю установку маршрутизатора. На её последней странице "
                              "выберите «Настроить USB-адаптер»: мастер скопирует драйвер, попросит вставить "
                              "адаптер и подключит его к вашей беспроводной сети. Можно также выбрать "
                              "«Установить USB-адаптер» в главном меню."),
                ("Индикатор", "Горит: подключён к беспроводной сети. Мигает: поиск сети или передача данных."),
                ("Утилита", "Утилита адаптера на панели задач показывает уровень сигнала и позволяет "
                            "подключаться к другим беспроводным сетям."),
            ],
        },
        "kxguide": {
            "title": "KXU-300: краткое руководство",
            "intro": "После быстрой установки маршрутизатора выберите «Настроить USB-адаптер» на последней "
                     "странице мастера.",
            "steps": [
                ("unplug.jpg", "Отсоедините сетевой кабель от компьютера."),
                ("usbcheck.jpg", "Вставьте адаптер в свободный USB-порт."),
                ("wlantest.jpg", "Мастер установит драйвер и проверит подключение."),
            ],
        },
    },
}
