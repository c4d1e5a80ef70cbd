"""Words painted into the German pictures.

"Others", "Enabled" and "Disabled" are list entries the wizard supplies in
English, so the pages quote them as the user sees them.
"""

WORDS = {
    "brand_sub": "QR-5120G ADSL2+ WLAN-Router  |  Einrichtungsassistent",
    "nav": {"back": "< Zurück", "next": "Weiter >", "exit": "Beenden"},
    "close": "Schließen",
    "finish": "Fertig",
    "language": "Sprache",
    "wait_note": "Bitte warten. Schließen Sie den Assistenten nicht und schalten Sie den Router nicht aus.",
    "sidebar": {
        "install": ("SCHNELLINSTALLATION", ["Strom", "Computer", "DSL-Leitung", "Router-Test", "Internet", "WLAN",
                                            "Übernehmen", "Fertig"]),
        "adapter": ("USB-ADAPTER", ["Kabel abziehen", "Adapter einstecken", "Treiber", "Verbindungstest",
                                    "Fertig"]),
    },
    "menu": {
        "welcome": "Willkommen",
        "text": "Diese CD richtet Ihren Norvane Quillon QR-5120G ein und verbindet ihn mit dem Internet. "
                "Zeigen Sie rechts auf einen Eintrag und klicken Sie ihn an.",
        "kit_text": "Diese CD richtet Ihren Norvane Quillon QR-5120G und den WLAN-USB-Adapter KXU-300 aus "
                    "Ihrem Paket ein. Zeigen Sie rechts auf einen Eintrag und klicken Sie ihn an.",
        "tip": "Zum ersten Mal hier? Beginnen Sie mit der Schnellinstallation: Sie führt Sie vom Kabel bis "
               "zur ersten Webseite.",
        "quick": ("Schnellinstallation", "Router Schritt für Schritt einrichten"),
        "guide": ("Kurzanleitung", "Verkabelung und erste Schritte"),
        "manual": ("Benutzerhandbuch", "Alle Funktionen Ihres Routers"),
        "reader": ("Dokumentenleser installieren", "Zum Öffnen der Anleitungen und Handbücher"),
        "support": ("Technischer Support", "Hilfe und Updates auf unserer Webseite"),
        "kxmanual": ("Handbuch USB-Adapter", "Handbuch des Adapters KXU-300"),
        "kxguide": ("Kurzanleitung USB-Adapter", "Kurzanleitung des Adapters KXU-300"),
        "kxinstall": ("USB-Adapter installieren", "Treiber und Programm des KXU-300"),
    },
    "fields": {
        "Country": "Land", "ISP": "Anbieter", "Protocol": "Protokoll", "Encapulation": "Kapselung",
        "VPI": "VPI", "VCI": "VCI", "MTU": "MTU",
    },
    "notice": "Dies sind die Einstellungen Ihres Anbieters. Ändern Sie sie nur, wenn Ihr Anbieter Sie "
              "dazu auffordert.",
    "keyhelp": {
        "wep64": ("WEP-Schlüssel, 64 Bit", "Geben Sie 10 hexadezimale Zeichen (0-9, A-F) ein, zum Beispiel "
                                           "3F2A9C1B07, oder 5 Buchstaben, Ziffern oder Zeichen ohne Umlaute."),
        "wep128": ("WEP-Schlüssel, 128 Bit", "Geben Sie genau 26 hexadezimale Zeichen ein: Ziffern 0-9 und "
                                             "Buchstaben A-F."),
        "wpa": ("WPA-PSK-Kennwort", "Geben Sie 8 bis 63 Zeichen ein. Mischen Sie Buchstaben, Ziffern und "
                                    "Sonderzeichen; je länger, desto sicherer."),
        "wpa2": ("WPA2-PSK-Kennwort", "Geben Sie 8 bis 63 Zeichen ein. WPA2 schützt am besten; alle Ihre "
                                      "WLAN-Geräte müssen es unterstützen."),
    },
    "optfield": {"wep": "WEP-Schlüssel", "wpa": "Kennwort"},
    "remindfield": {"wep": "WEP-Schlüssel", "wpa": "WPA-Kennwort"},
    "warning": ("Ihr WLAN ist ungeschützt", "Jeder in der Nähe kann Ihren Internetzugang nutzen und Ihre Daten "
                                            "sehen. Klicken Sie auf Zurück und wählen Sie eine Verschlüsselung."),
    "big": {
        "usb": ("USB-Adapter einrichten", "WLAN-Adapter aus dem Paket nutzen"),
        "surf": ("Lossurfen", "Internet-Hilfeseite öffnen"),
    },
    "pages": {
        "power": {
            "title": "Stromversorgung anschließen",
            "steps": [
                "Stecken Sie den Rundstecker des Netzteils in die Buchse POWER auf der Rückseite des Routers.",
                "Stecken Sie das Netzteil in eine Steckdose und drücken Sie die Taste ON/OFF.",
                "Warten Sie, bis die Anzeige POWER an der Vorderseite des Routers ständig leuchtet.",
            ],
            "note": "Klicken Sie dann auf Weiter.",
        },
        "ethernet": {
            "title": "Computer anschließen",
            "steps": [
                "Stecken Sie ein Ende des gelben Netzwerkkabels in den Anschluss LAN 1 des Routers.",
                "Stecken Sie das andere Ende in den Netzwerkanschluss Ihres Computers.",
                "Prüfen Sie, ob die Anzeige LAN an der Vorderseite des Routers leuchtet.",
            ],
            "note": "Klicken Sie auf Weiter. Der Assistent sucht den Router in Ihrem Netzwerk; das dauert bis zu "
                    "40 Sekunden.",
        },
        "adsl": {
            "title": "DSL-Leitung anschließen",
            "steps": [
                "Stecken Sie den Splitter in Ihre Telefondose (TAE).",
                "Verbinden Sie den Anschluss DSL des Routers mit dem Anschluss DSL des Splitters (graues Kabel).",
                "Schließen Sie Ihr Telefon am Anschluss PHONE des Splitters an.",
                "Warten Sie, bis die Anzeige DSL ständig leuchtet. Das kann eine Minute dauern.",
            ],
            "note": "Klicken Sie auf Weiter. Der Assistent prüft Ihre DSL-Leitung.",
        },
        "hwcheck": {
            "title": "Router wird geprüft",
            "text": "Bitte warten Sie. Der Assistent sucht Ihren Router, prüft die DSL-Leitung und liest die "
                    "aktuellen Einstellungen des Routers. Das kann bis zu einer Minute dauern.",
            "checklist": ["Router im Netzwerk suchen", "DSL-Leitung prüfen", "Einstellungen des Routers lesen"],
        },
        "isp": {
            "title": "Internetanbieter wählen",
            "text": "Wählen Sie Ihr Land und Ihren Internetanbieter; der Assistent trägt die Verbindungsdaten "
                    "für Sie ein. Fehlt Ihr Anbieter, wählen Sie \"Others\" und geben Sie die Werte aus dem "
                    "Schreiben Ihres Anbieters ein.",
        },
        "staticip": {
            "title": "Feste IP-Adresse",
            "text": "Ihr Anbieter hat Ihnen eine feste IP-Adresse zugeteilt. Geben Sie die vier Adressen genau "
                    "so ein, wie sie im Schreiben Ihres Anbieters stehen.",
            "labels": ["IP-Adresse", "Subnetzmaske", "Gateway", "DNS-Server"],
            "hint": "Geben Sie nur die Zahlen ein; die Punkte sind schon vorhanden.",
        },
        "ppp": {
            "title": "Ihr Internetzugang",
            "text": "Geben Sie Benutzername und Kennwort Ihres Internetzugangs ein. Sie finden beides im "
                    "Schreiben Ihres Anbieters.",
            "labels": ["Benutzername", "Kennwort", "Kennwort wiederholen"],
            "hint": "Achten Sie auf Groß- und Kleinschreibung. Das Kennwort wird als Sternchen angezeigt.",
        },
        "radio": {
            "title": "Drahtloses Netzwerk",
            "text": "Ihr Router hat einen eingebauten WLAN-Zugangspunkt. Wählen Sie \"Enabled\", um drahtlose "
                    "Computer anzuschließen, oder \"Disabled\", um den Funk abzuschalten.",
            "label": "WLAN-Funk",
            "hint": "Sie können das jederzeit auf den Webseiten des Routers ändern.",
        },
        "wireless": {
            "title": "WLAN-Einstellungen",
            "text": "Geben Sie Ihrem WLAN einen Namen und schützen Sie es mit einem Schlüssel. Der Assistent "
                    "speichert die Einstellungen im Router.",
            "labels": {"SSID": "Netzwerkname", "Country": "Land", "Channel": "Kanal", "Security": "Sicherheit",
                       "Key": "Schlüssel"},
        },
        "remind": {
            "title": "WLAN-Daten notieren",
            "text": "Schreiben Sie den Netzwerknamen und den Schlüssel auf. Sie brauchen beides, um Ihre "
                    "drahtlosen Computer mit dem Router zu verbinden.",
            "ssid_heading": "Netzwerkname (SSID)",
        },
        "applying": {
            "title": "Einstellungen werden übernommen",
            "text": "Der Assistent überträgt Ihre Einstellungen zum Router, speichert sie und startet den Router "
                    "neu. Danach wartet er auf die Internetverbindung. Das kann bis zu fünf Minuten dauern.",
            "checklist": ["Einstellungen zum Router übertragen", "Speichern und Router neu starten",
                          "Mit dem Internet verbinden", "Verbindung testen"],
        },
        "complete_kit": {
            "title": "Herzlichen Glückwunsch!",
            "text": "Ihr Router ist mit dem Internet verbunden.",
            "text2": "Möchten Sie statt des Kabels den WLAN-USB-Adapter aus Ihrem Paket verwenden? Klicken Sie "
                     "auf USB-Adapter einrichten. Sonst klicken Sie auf Lossurfen oder Fertig.",
        },
        "complete": {
            "title": "Herzlichen Glückwunsch!",
            "text": "Ihr Router ist eingerichtet und mit dem Internet verbunden.",
            "text2": "Klicken Sie auf Lossurfen oder Fertig, um den Assistenten zu schließen und die "
                     "Internet-Hilfeseite zu öffnen.",
        },
        "unplug": {
            "title": "Netzwerkkabel abziehen",
            "steps": [
                "Ziehen Sie das gelbe Netzwerkkabel von Ihrem Computer ab. Der Router bleibt eingeschaltet.",
                "Lassen Sie das DSL-Kabel angeschlossen: Der Router bleibt online.",
            ],
            "note": "Klicken Sie auf Weiter. Der Assistent kopiert die Treiberdateien des Adapters; das dauert "
                    "etwa zehn Sekunden.",
        },
        "usbcheck": {
            "title": "USB-Adapter einstecken",
            "steps": [
                "Stecken Sie den WLAN-USB-Adapter KXU-300 in einen freien USB-Anschluss Ihres Computers.",
                "Fragt Windows nach einem Treiber, klicken Sie auf Abbrechen: Der Assistent installiert ihn.",
                "Warten Sie einige Sekunden, bis Windows die neue Hardware gefunden hat.",
            ],
            "note": "Klicken Sie auf Weiter. Der Assistent prüft, ob Windows den Adapter gefunden hat.",
        },
        "driver": {
            "title": "Adaptertreiber wird installiert",
            "text": "Bitte warten Sie, während der Assistent den Treiber Ihres WLAN-USB-Adapters installiert. "
                    "Das dauert bis zu zwei Minuten.",
            "checklist": ["Treiber installieren", "Adapter starten"],
        },
        "wlantest": {
            "title": "WLAN-Verbindung wird getestet",
            "text": "Der Adapter verbindet sich mit dem WLAN Ihres Routers; danach testet der Assistent Ihre "
                    "Internetverbindung. Das dauert bis zu drei Minuten.",
            "checklist": ["Mit dem WLAN verbinden", "Internetverbindung testen"],
        },
        "wlandone": {
            "title": "Ihr Adapter ist bereit",
            "text": "Ihr Computer ist jetzt über das WLAN mit dem Internet verbunden. Klicken Sie auf Fertig, "
                    "um den Assistenten zu schließen.",
        },
    },
}
