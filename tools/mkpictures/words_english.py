"""Words painted into the English pictures.

"Others", "(Click to select)", "Enabled" and "Disabled" are list entries the
wizard itself supplies in English, so the pages quote them as they appear.
"""

WORDS = {
    "brand_sub": "QR-5120G ADSL2+ Wireless Router  |  Setup Wizard",
    "nav": {"back": "< Back", "next": "Next >", "exit": "Exit"},
    "close": "Close",
    "finish": "Finish",
    "language": "Language",
    "wait_note": "Please wait. Do not close the wizard or switch off the router.",
    "sidebar": {
        "install": ("QUICK INSTALL", ["Power", "Computer", "DSL line", "Router check", "Internet", "Wireless",
                                      "Apply", "Done"]),
        "adapter": ("USB ADAPTER", ["Unplug cable", "Plug in adapter", "Driver", "Connection test", "Done"]),
    },
    "menu": {
        "welcome": "Welcome",
        "text": "This CD sets up your Norvane Quillon QR-5120G router and connects it to the internet. "
                "Point at an item on the right and click it.",
        "kit_text": "This CD sets up your Norvane Quillon QR-5120G router and the KXU-300 wireless USB "
                    "adapter of your kit. Point at an item on the right and click it.",
        "tip": "New to the router? Start with Quick Install: it guides you from the cables to the "
               "first web page.",
        "quick": ("Quick Install", "Set up your router step by step"),
        "guide": ("Quick Installation Guide", "Cabling and first steps at a glance"),
        "manual": ("User Manual", "All features of your router"),
        "reader": ("Install Document Reader", "Needed to open the guides and manuals"),
        "support": ("Technical Support", "Help and updates on our website"),
        "kxmanual": ("USB Adapter Manual", "Manual of the KXU-300 adapter"),
        "kxguide": ("USB Adapter Guide", "Quick guide of the KXU-300 adapter"),
        "kxinstall": ("Install USB Adapter", "Driver and utility of the KXU-300"),
    },
    "fields": {
        "Country": "Country", "ISP": "Provider", "Protocol": "Protocol", "Encapulation": "Encapsulation",
        "VPI": "VPI", "VCI": "VCI", "MTU": "MTU",
    },
    "notice": "These are the settings of your provider. Change them only if your provider asks you to.",
    "keyhelp": {
        "wep64": ("WEP key, 64 bits", "Enter 10 hexadecimal characters (0-9, A-F), for example 3F2A9C1B07, "
                                      "or 5 letters, digits or symbols without accents."),
        "wep128": ("WEP key, 128 bits", "Enter exactly 26 hexadecimal characters: digits 0-9 and letters A-F."),
        "wpa": ("WPA-PSK passphrase", "Enter 8 to 63 characters. Mix letters, digits and symbols; a longer "
                                      "passphrase is safer."),
        "wpa2": ("WPA2-PSK passphrase", "Enter 8 to 63 characters. WPA2 protects best; all your wireless "
                                        "devices must support it."),
    },
    "optfield": {"wep": "WEP key", "wpa": "Passphrase"},
    "remindfield": {"wep": "WEP key", "wpa": "WPA passphrase"},
    "warning": ("Your wireless network is open", "Anyone nearby can use your internet connection and see "
                                                 "your data. Click Back and choose a security type."),
    "big": {
        "usb": ("Set up USB adapter", "Use the wireless adapter of your kit"),
        "surf": ("Start surfing", "Open the internet help page"),
    },
    "pages": {
        "power": {
            "title": "Connect the power",
            "steps": [
                "Plug the round plug of the power adapter into the POWER socket on the back of the router.",
                "Plug the power adapter into a wall outlet and press the ON/OFF button.",
                "Wait until the POWER light on the front of the router glows steadily.",
            ],
            "note": "Then click Next.",
        },
        "ethernet": {
            "title": "Connect your computer",
            "steps": [
                "Plug one end of the yellow Ethernet cable into the LAN 1 port of the router.",
                "Plug the other end into the network port of your computer.",
                "Check that the LAN light on the front of the router is on.",
            ],
            "note": "Click Next. The wizard looks for the router on your network; this takes up to 40 seconds.",
        },
        "adsl": {
            "title": "Connect the DSL line",
            "steps": [
                "Plug the splitter into your telephone wall socket.",
                "Connect the DSL port of the router to the DSL port of the splitter with the grey cable.",
                "Connect your telephone to the PHONE port of the splitter.",
                "Wait until the DSL light glows steadily. This can take a minute.",
            ],
            "note": "Click Next. The wizard checks your DSL line.",
        },
        "hwcheck": {
            "title": "Checking your router",
            "text": "Please wait. The wizard finds your router, checks your DSL line and reads the router's "
                    "current settings. This can take up to a minute.",
            "checklist": ["Finding the router on your network", "Checking the DSL line",
                          "Reading the router's settings"],
        },
        "isp": {
            "title": "Choose your internet provider",
            "text": "Select your country and your internet provider; the wizard fills in the connection "
                    "settings for you. If your provider is not listed, choose \"Others\" and enter the values "
                    "from your provider's letter.",
        },
        "staticip": {
            "title": "Fixed IP address",
            "text": "Your provider has given you a fixed IP address. Enter the four addresses exactly as they "
                    "are written in your provider's letter.",
            "labels": ["IP address", "Subnet mask", "Gateway", "DNS server"],
            "hint": "Type the numbers only; the dots are already in place.",
        },
        "ppp": {
            "title": "Your internet account",
            "text": "Enter the user name and the password of your internet account. You find both in your "
                    "provider's letter.",
            "labels": ["User name", "Password", "Confirm password"],
            "hint": "User name and password are case-sensitive. The password is shown as stars.",
        },
        "radio": {
            "title": "Wireless network",
            "text": "Your router has a built-in wireless access point. Choose \"Enabled\" to connect wireless "
                    "computers to it, or \"Disabled\" to switch the radio off.",
            "label": "Wireless radio",
            "hint": "You can change this at any time on the router's web pages.",
        },
        "wireless": {
            "title": "Wireless settings",
            "text": "Give your wireless network a name and protect it with a security key. The wizard saves "
                    "the settings in your router.",
            "labels": {"SSID": "Network name", "Country": "Country", "Channel": "Channel",
                       "Security": "Security", "Key": "Key"},
        },
        "remind": {
            "title": "Note your wireless settings",
            "text": "Write down the network name and the key shown below. You need them to connect your "
                    "wireless computers to the router.",
            "ssid_heading": "Network name (SSID)",
        },
        "applying": {
            "title": "Applying your settings",
            "text": "The wizard sends your settings to the router, saves them and restarts the router. It then "
                    "waits for the internet connection. This can take up to five minutes.",
            "checklist": ["Sending the settings to the router", "Saving and restarting the router",
                          "Connecting to the internet", "Testing the connection"],
        },
        "complete_kit": {
            "title": "Congratulations!",
            "text": "Your router is connected to the internet.",
            "text2": "Would you like to use the wireless USB adapter of your kit instead of the cable? Click "
                     "Set up USB adapter. Otherwise click Start surfing or Finish.",
        },
        "complete": {
            "title": "Congratulations!",
            "text": "Your router is set up and connected to the internet.",
            "text2": "Click Start surfing or Finish to close the wizard and open the internet help page.",
        },
        "unplug": {
            "title": "Unplug the Ethernet cable",
            "steps": [
                "Unplug the yellow Ethernet cable from your computer. Leave the router switched on.",
                "Keep the DSL cable connected: the router stays online.",
            ],
            "note": "Click Next. The wizard copies the driver files of the adapter; this takes about ten seconds.",
        },
        "usbcheck": {
            "title": "Plug in the USB adapter",
            "steps": [
                "Plug the KXU-300 wireless USB adapter into a free USB port of your computer.",
                "If Windows asks for a driver, click Cancel: the wizard installs it for you.",
                "Wait a few seconds until Windows has found the new hardware.",
            ],
            "note": "Click Next. The wizard checks that Windows has found the adapter.",
        },
        "driver": {
            "title": "Installing the adapter driver",
            "text": "Please wait while the wizard installs the driver of your wireless USB adapter. This takes "
                    "up to two minutes.",
            "checklist": ["Installing the driver", "Starting the adapter"],
        },
        "wlantest": {
            "title": "Testing the wireless connection",
            "text": "The adapter connects to the wireless network of your router; then the wizard tests your "
                    "internet connection. This takes up to three minutes.",
            "checklist": ["Connecting to the wireless network", "Testing the internet connection"],
        },
        "wlandone": {
            "title": "Your adapter is ready",
            "text": "Your computer is now connected to the internet through the wireless network. Click Finish "
                    "to close the wizard.",
        },
    },
}
