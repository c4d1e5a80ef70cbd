"""The skin of the sample edition: where every control sits, which picture
file every Picture key names, and the program settings.

Positions are window coordinates, exactly the values written to
dslutility.ini. Page backgrounds are shown at (1, 1), so a window position
(x, y) is background pixel (x - 1, y - 1); the painters use bg() for that.
The same positions drive both the ini files and the artwork, which is what
keeps the hover buttons and the painted labels lined up with each other.
"""

BG_W, BG_H = 720, 480


def bg(x, y):
    return x - 1, y - 1


# -- shared geometry -------------------------------------------------------
NAV_SIZE = {"back": (104, 32), "next": (104, 32), "exit": (96, 32)}
NAV_POS = {"back": (483, 441), "next": (599, 441), "exit": (25, 441)}

MENU_SIZE = (300, 40)
MENU_X = 391
MENU_ROW = {  # main-menu slot of each button, top to bottom
    "IMG_QuickInstallBT": 0,
    "IMG_ViewQIGBT": 1,
    "IMG_ViewManualBT": 2,
    "IMG_AcrobatBT": 3,
    "IMG_TechnicalSupportBT": 4,
    "IMG_ViewKXManualBT": 5,
    "IMG_ViewKXQIGBT": 5,  # never shown by the wizard; shares the manual's slot
    "IMG_InstallKXU": 6,
}


def menu_pos(key):
    return MENU_X, 85 + 48 * MENU_ROW[key]


CLOSE_POS = (599, 441)
LANG_COMBO = (111, 445, 150)

LABEL_X = 201  # left edge of field labels on the form pages
FIELD_X = 341  # left edge of the input controls
LABEL_SIZE = (130, 24)

ISP_ROWS = {
    "Country": 171,
    "ISP": 203,
    "Protocol": 275,
    "Encapulation": 305,
    "VPI": 335,
    "VCI": 365,
    "MTU": 395,
}
ISP_NOTICE = (201, 234, 480, 34)

STATIC_ROWS = [181, 215, 249, 283]
PPP_ROWS = [181, 215, 249]
RADIO_ROW = 201
WIRELESS_ROWS = {"SSID": 165, "Country": 195, "Channel": 225, "Security": 255, "Key": 285}
KEY_HELP = (201, 318, 490, 62)
OPT_FIELD_SIZE = (136, 24)

REMIND_SSID_LABEL = (211, 181)
REMIND_KEY_FIELD = (201, 261, 300, 22)
REMIND_KEY_LABEL = (211, 285)
REMIND_WARNING = (201, 261, 490, 92)

PROGRESS = (211, 343, 460)
PERCENT = (433, 377)

BIG_BUTTON_SIZE = (236, 44)
BIG_BUTTON_LEFT = (201, 311)
BIG_BUTTON_RIGHT = (455, 311)

# Page stems of the navigation keys, and the file prefix of each page.
NAV_PAGES = [
    ("IMG_PowerLinkHelpDlg", "power"),
    ("IMG_EthernetLinkHelpDlg", "ethernet"),
    ("IMG_ADSLLinkHelpDlg", "adsl"),
    ("IMG_ISPSelectionDlg", "isp"),
    ("IMG_StaticIPSettingDlg", "staticip"),
    ("IMG_PPPSettingDlg", "ppp"),
    ("IMG_WRadioSettingDlg", "radio"),
    ("IMG_WirelessSettingDlg", "wireless"),
    ("IMG_WirelessRemindSsid", "remind"),
    ("IMG_EthernetRemoveDlg", "unplug"),
    ("IMG_WlanUsbCheckDlg", "usbcheck"),
]


def nav_keys(stem):
    return [(stem + "BackBT", "back"), (stem + "NextBT", "next"), (stem + "ExitBT", "exit")]


def _nav_layout(stem):
    return [(key, *NAV_POS[role]) for key, role in nav_keys(stem)]


# -- layout lines ----------------------------------------------------------
# Groups of (key, left, top[, width]), written in this order.
LAYOUT = [
    ("Main menu", [(k, *menu_pos(k)) for k in (
        "IMG_ViewManualBT", "IMG_ViewQIGBT", "IMG_AcrobatBT", "IMG_TechnicalSupportBT",
        "IMG_QuickInstallBT")] + [("IMG_CloseBT", *CLOSE_POS)] + [(k, *menu_pos(k)) for k in (
        "IMG_ViewKXManualBT", "IMG_ViewKXQIGBT", "IMG_InstallKXU")] + [("CB_Languages", *LANG_COMBO)]),
    ("Power, Ethernet and DSL help pages",
     _nav_layout("IMG_PowerLinkHelpDlg") + _nav_layout("IMG_EthernetLinkHelpDlg")
     + _nav_layout("IMG_ADSLLinkHelpDlg")),
    ("Router check", [("PB_CheckHWLinkStatus", *PROGRESS)]),
    ("Internet provider", [
        ("IMG_DSLCountry", LABEL_X, ISP_ROWS["Country"]),
        ("IMG_DSLISP", LABEL_X, ISP_ROWS["ISP"]),
        ("IMG_DSLProtocol", LABEL_X, ISP_ROWS["Protocol"]),
        ("IMG_DSLEncapulation", LABEL_X, ISP_ROWS["Encapulation"]),
        ("IMG_DSLVPI", LABEL_X, ISP_ROWS["VPI"]),
        ("IMG_DSLVCI", LABEL_X, ISP_ROWS["VCI"]),
        ("IMG_DSLMTU", LABEL_X, ISP_ROWS["MTU"]),
        ("IMG_DSLNotice", ISP_NOTICE[0], ISP_NOTICE[1]),
        ("CB_CountrySelector", FIELD_X, ISP_ROWS["Country"]),
        ("CB_ISPSelector", FIELD_X, ISP_ROWS["ISP"]),
        ("CB_DSLProtocol", FIELD_X, ISP_ROWS["Protocol"]),
        ("CB_DSLEncapulation", FIELD_X, ISP_ROWS["Encapulation"]),
        ("ED_DSLVPI", FIELD_X, ISP_ROWS["VPI"]),
        ("ED_DSLVCI", FIELD_X, ISP_ROWS["VCI"]),
        ("ED_DSLMTU", FIELD_X, ISP_ROWS["MTU"]),
    ] + _nav_layout("IMG_ISPSelectionDlg")),
    ("Fixed IP address", [
        ("PL_WANIPAddressEdit", FIELD_X, STATIC_ROWS[0]),
        ("PL_SubnetNetmaskEdit", FIELD_X, STATIC_ROWS[1]),
        ("PL_GatewayAddressEdit", FIELD_X, STATIC_ROWS[2]),
        ("PL_DNSIPAddressEdit", FIELD_X, STATIC_ROWS[3]),
    ] + _nav_layout("IMG_StaticIPSettingDlg")),
    ("Internet account", [
        ("ED_PPPUsername", FIELD_X, PPP_ROWS[0]),
        ("ED_PPPPassword", FIELD_X, PPP_ROWS[1]),
        ("ED_PPPConfirmPassword", FIELD_X, PPP_ROWS[2]),
    ] + _nav_layout("IMG_PPPSettingDlg")),
    ("Wireless radio", [("CB_WRadio", FIELD_X, RADIO_ROW)] + _nav_layout("IMG_WRadioSettingDlg")),
    ("Wireless settings", [
        ("IMG_WEPKey64Help", KEY_HELP[0], KEY_HELP[1]),
        ("IMG_WEPKey128Help", KEY_HELP[0], KEY_HELP[1]),
        ("IMG_WPAKeyHexHelp", KEY_HELP[0], KEY_HELP[1]),
        ("IMG_WPAKeyASCHelp", KEY_HELP[0], KEY_HELP[1]),
        ("IMG_EncryptOptField", LABEL_X, WIRELESS_ROWS["Key"]),
        ("ED_SSID", FIELD_X, WIRELESS_ROWS["SSID"]),
        ("CB_WLCountry", FIELD_X, WIRELESS_ROWS["Country"]),
        ("CB_Channel", FIELD_X, WIRELESS_ROWS["Channel"]),
        ("CB_EncryptionType", FIELD_X, WIRELESS_ROWS["Security"]),
        ("ED_EncryptionKey", FIELD_X, WIRELESS_ROWS["Key"]),
        ("CB_WLKeyIndex", 601, WIRELESS_ROWS["Key"]),
    ] + _nav_layout("IMG_WirelessSettingDlg")),
    ("Wireless settings reminder", [
        ("IMG_WirelessRemindSsidWarnMsg", REMIND_WARNING[0], REMIND_WARNING[1]),
        ("LBL_SSID", *REMIND_SSID_LABEL),
        ("LBL_WLKey", *REMIND_KEY_LABEL),
        ("IMG_WirelessRemindKey", REMIND_KEY_FIELD[0], REMIND_KEY_FIELD[1]),
    ] + _nav_layout("IMG_WirelessRemindSsid")),
    ("Applying the settings", [
        ("PB_CheckSWLinkStatus", *PROGRESS),
        ("LB_CheckSWLinkStatusProgressPercent", *PERCENT),
    ]),
    ("Finished", [
        ("IMG_InstallCompleteDlgOKBT", *CLOSE_POS),
        ("IMG_InstallWLANUSBBT", *BIG_BUTTON_LEFT),
        ("IMG_InstallBROWSEBT", *BIG_BUTTON_RIGHT),
        ("IMG_InstallCompleteDlgAloneOKBT", *CLOSE_POS),
        ("IMG_InstallCompleteDlgAloneBrowseBT", *BIG_BUTTON_LEFT),
    ]),
    ("Wireless USB adapter", _nav_layout("IMG_EthernetRemoveDlg") + _nav_layout("IMG_WlanUsbCheckDlg") + [
        ("PB_InstallWlanDriverStatus", *PROGRESS),
        ("PB_WlanInternetStatus", *PROGRESS),
        ("IMG_WlanInstallCompleteDlgOKBT", *CLOSE_POS),
    ]),
]

LAYOUT_POS = {entry[0]: entry[1:] for _, group in LAYOUT for entry in group}


# -- pictures ----------------------------------------------------------------
# (key, file, kind, argument). The kind selects the painter in pictures.py;
# the argument tells it what to paint.
def _nav_pictures(stem, prefix):
    return [(key, f"{prefix}_{role}.bmp", "nav", role) for key, role in nav_keys(stem)]


PICTURES = [
    ("Main menu", [
        ("IMG_MainMenuDlgBG", "mainmenu.jpg", "page", "mainmenu"),
        ("IMG_ViewManualBT", "menu_manual.jpg", "menu", "manual"),
        ("IMG_ViewQIGBT", "menu_guide.jpg", "menu", "guide"),
        ("IMG_AcrobatBT", "menu_reader.jpg", "menu", "reader"),
        ("IMG_TechnicalSupportBT", "menu_support.jpg", "menu", "support"),
        ("IMG_QuickInstallBT", "menu_quick.jpg", "menu", "quick"),
        ("IMG_CloseBT", "menu_close.bmp", "footer", "close"),
        ("IMG_ViewKXManualBT", "menu_kxmanual.jpg", "menu", "kxmanual"),
        ("IMG_ViewKXQIGBT", "menu_kxguide.jpg", "menu", "kxguide"),
        ("IMG_InstallKXU", "menu_kxinstall.jpg", "menu", "kxinstall"),
    ]),
    ("Power, Ethernet and DSL help pages",
     [("IMG_PowerLinkHelpDlgBG", "power.jpg", "page", "power")]
     + _nav_pictures("IMG_PowerLinkHelpDlg", "power")
     + [("IMG_EthernetLinkHelpDlgBG", "ethernet.jpg", "page", "ethernet")]
     + _nav_pictures("IMG_EthernetLinkHelpDlg", "ethernet")
     + [("IMG_ADSLLinkHelpDlgBG", "adsl.jpg", "page", "adsl")]
     + _nav_pictures("IMG_ADSLLinkHelpDlg", "adsl")),
    ("Router check", [("IMG_CheckHWLinkStatusDlgBG", "hwcheck.jpg", "page", "hwcheck")]),
    ("Internet provider", [
        ("IMG_ISPSelectionDlgBG", "isp.jpg", "page", "isp"),
        ("IMG_DSLCountry", "lbl_country.bmp", "label", "Country"),
        ("IMG_DSLISP", "lbl_isp.bmp", "label", "ISP"),
        ("IMG_DSLProtocol", "lbl_protocol.bmp", "label", "Protocol"),
        ("IMG_DSLEncapulation", "lbl_encaps.bmp", "label", "Encapulation"),
        ("IMG_DSLVPI", "lbl_vpi.bmp", "label", "VPI"),
        ("IMG_DSLVCI", "lbl_vci.bmp", "label", "VCI"),
        ("IMG_DSLMTU", "lbl_mtu.bmp", "label", "MTU"),
        ("IMG_DSLNotice", "notice.jpg", "notice", "normal"),
        ("IMG_DSLProtocol_grey", "lbl_protocol_grey.bmp", "label_grey", "Protocol"),
        ("IMG_DSLEncapulation_grey", "lbl_encaps_grey.bmp", "label_grey", "Encapulation"),
        ("IMG_DSLVPI_grey", "lbl_vpi_grey.bmp", "label_grey", "VPI"),
        ("IMG_DSLVCI_grey", "lbl_vci_grey.bmp", "label_grey", "VCI"),
        ("IMG_DSLNotice_grey", "notice_grey.jpg", "notice", "grey"),
    ] + _nav_pictures("IMG_ISPSelectionDlg", "isp")),
    ("Fixed IP address", [("IMG_StaticIPSettingDlgBG", "staticip.jpg", "page", "staticip")]
     + _nav_pictures("IMG_StaticIPSettingDlg", "staticip")),
    ("Internet account", [("IMG_PPPSettingDlgBG", "ppp.jpg", "page", "ppp")]
     + _nav_pictures("IMG_PPPSettingDlg", "ppp")),
    ("Wireless radio", [("IMG_WRadioSettingDlgBG", "radio.jpg", "page", "radio")]
     + _nav_pictures("IMG_WRadioSettingDlg", "radio")),
    ("Wireless settings", [
        ("IMG_WirelessSettingDlgBG", "wireless.jpg", "page", "wireless"),
        ("IMG_WEPKey64Help", "help_wep64.jpg", "keyhelp", "wep64"),
        ("IMG_WEPKey128Help", "help_wep128.jpg", "keyhelp", "wep128"),
        ("IMG_WPAKeyHexHelp", "help_wpa.jpg", "keyhelp", "wpa"),
        ("IMG_WPAKeyASCHelp", "help_wpa2.jpg", "keyhelp", "wpa2"),
        ("IMG_WEPField", "field_wep.jpg", "optfield", "wep"),
        ("IMG_WPAField", "field_wpa.jpg", "optfield", "wpa"),
    ] + _nav_pictures("IMG_WirelessSettingDlg", "wireless")),
    ("Wireless settings reminder", [
        ("IMG_WirelessRemindSsidDlgBG", "remind.jpg", "page", "remind"),
        ("IMG_WirelessRemindSsidWarnMsg", "remind_warning.jpg", "warning", "open"),
        ("IMG_WirelessRemindWEPKeyField", "remind_wepkey.jpg", "remindfield", "wep"),
        ("IMG_WirelessRemindWPAKeyField", "remind_wpakey.jpg", "remindfield", "wpa"),
    ] + _nav_pictures("IMG_WirelessRemindSsid", "remind")),
    ("Applying the settings", [("IMG_CheckSWLinkStatusDlgBG", "applying.jpg", "page", "applying")]),
    ("Finished", [
        ("IMG_InstallCompleteDlgBG", "complete_kit.jpg", "page", "complete_kit"),
        ("IMG_InstallCompleteDlgOKBT", "complete_kit_finish.bmp", "footer", "finish"),
        ("IMG_InstallWLANUSBBT", "complete_kit_usb.jpg", "big", "usb"),
        ("IMG_InstallBROWSEBT", "complete_kit_surf.jpg", "big", "surf"),
        ("IMG_InstallCompleteDlgAloneBG", "complete.jpg", "page", "complete"),
        ("IMG_InstallCompleteDlgAloneOKBT", "complete_finish.bmp", "footer", "finish"),
        ("IMG_InstallCompleteDlgAloneBrowseBT", "complete_surf.jpg", "big", "surf"),
    ]),
    ("Wireless USB adapter",
     [("IMG_EthernetRemoveDlgBG", "unplug.jpg", "page", "unplug")]
     + _nav_pictures("IMG_EthernetRemoveDlg", "unplug")
     + [("IMG_WlanUsbCheckDlgBG", "usbcheck.jpg", "page", "usbcheck")]
     + _nav_pictures("IMG_WlanUsbCheckDlg", "usbcheck")
     + [
         ("IMG_InstallWlanDriverDlgBG", "driver.jpg", "page", "driver"),
         ("IMG_WlanInternetStatDlgBG", "wlantest.jpg", "page", "wlantest"),
         ("IMG_WlanInstallCompleteDlgBG", "wlandone.jpg", "page", "wlandone"),
         ("IMG_WlanInstallCompleteDlgOKBT", "wlandone_finish.bmp", "footer", "finish"),
     ]),
]

# The kit edition shows two more buttons on the main menu, so its menu
# background paints them; every other picture is shared.
KIT_OVERRIDES = {"IMG_MainMenuDlgBG": ("mainmenu_kit.jpg", "page", "mainmenu_kit")}

STATES = [
    ("IMG_DSLCountry.Visible", "true"),
    ("CB_CountrySelector.Visible", "true"),
    ("PL_WRadioSettingDlg.Enabled", "true"),
]

# Program settings, in the reader's order, each with the comment written
# above it in the ini file.
SETTINGS = [
    ("AppliedModules", "QR-5120G:ADSL,ROUTER,WAP", "router model, then its modules (WAP = wireless pages)"),
    ("ISPFileList", "isplist.txt", "provider database of this language"),
    ("EnableLocalDHCP", "1", None),
    ("UseDSLConnectionTableEx", "1", None),
    ("CheckHWLinkByCmpNEQDSLLink", "0", None),
    ("WPAKeySupport", "3", "1 = WPA-PSK, 2 = WPA2-PSK, 3 = both"),
    ("PPPDisconnectBeforeReset", "0", None),
    ("DefaultTimeout", "3", "time-outs of the router exchanges in seconds (PPP and wireless: units of 1.5 s)"),
    ("DiscoverTimeout", "3", None),
    ("CheckHWLinkTimeout", "60", None),
    ("DSLSetTimeout", "5", None),
    ("StaticIPSetTimeout", "5", None),
    ("PPPSetTimeout", "4", None),
    ("WirelessSetTimeout", "4", None),
    ("ConfigSaveTimeout", "5", None),
    ("ConfigSavedWaitTime", "5", None),
    ("ResetWaitTime", "40", "seconds the router needs to restart after saving"),
    ("CheckSWLinkStatusTimes", "20", None),
    ("CheckSWLinkStatusInterval", "3", None),
    ("InternetTestIPAddresses", "198.51.100.1;192.0.2.10;192.0.2.20",
     "hosts pinged through the wireless USB adapter, separated by ;"),
]


def pictures_for(kit):
    """All (key, file, kind, argument) rows of one settings file."""
    rows = []
    for _, group in PICTURES:
        for key, name, kind, arg in group:
            if kit and key in KIT_OVERRIDES:
                name, kind, arg = KIT_OVERRIDES[key]
            rows.append((key, name, kind, arg))
    return rows
