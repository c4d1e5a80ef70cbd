"""The settings file (dslutility.ini, dslutility_kit.ini): its key tables, written out here
independently of the wizard and of the sample's picture generator, and its staged line reader."""

_NAV = ["BackBT", "NextBT", "ExitBT"]
_NAV_STEMS = ["IMG_PowerLinkHelpDlg", "IMG_EthernetLinkHelpDlg", "IMG_ADSLLinkHelpDlg", "IMG_ISPSelectionDlg",
              "IMG_StaticIPSettingDlg", "IMG_PPPSettingDlg", "IMG_WRadioSettingDlg", "IMG_WirelessSettingDlg",
              "IMG_WirelessRemindSsid", "IMG_EthernetRemoveDlg", "IMG_WlanUsbCheckDlg"]
NAV_KEYS = [stem + n for stem in _NAV_STEMS for n in _NAV]

WIDTH_KEYS = ["CB_Languages", "PB_CheckHWLinkStatus", "PB_CheckSWLinkStatus", "PB_InstallWlanDriverStatus",
              "PB_WlanInternetStatus"]
LT_KEYS = [
    "IMG_ViewManualBT", "IMG_ViewQIGBT", "IMG_AcrobatBT", "IMG_TechnicalSupportBT", "IMG_QuickInstallBT",
    "IMG_CloseBT", "IMG_ViewKXManualBT", "IMG_ViewKXQIGBT", "IMG_InstallKXU",
    "IMG_DSLCountry", "IMG_DSLISP", "IMG_DSLProtocol", "IMG_DSLEncapulation", "IMG_DSLVPI", "IMG_DSLVCI",
    "IMG_DSLMTU", "IMG_DSLNotice", "CB_CountrySelector", "CB_ISPSelector", "CB_DSLProtocol", "CB_DSLEncapulation",
    "ED_DSLVPI", "ED_DSLVCI", "ED_DSLMTU",
    "PL_WANIPAddressEdit", "PL_SubnetNetmaskEdit", "PL_GatewayAddressEdit", "PL_DNSIPAddressEdit",
    "ED_PPPUsername", "ED_PPPPassword", "ED_PPPConfirmPassword", "CB_WRadio",
    "IMG_WEPKey64Help", "IMG_WEPKey128Help", "IMG_WPAKeyHexHelp", "IMG_WPAKeyASCHelp", "IMG_EncryptOptField",
    "ED_SSID", "CB_WLCountry", "CB_Channel", "CB_EncryptionType", "ED_EncryptionKey", "CB_WLKeyIndex",
    "IMG_WirelessRemindSsidWarnMsg", "LBL_SSID", "LBL_WLKey", "IMG_WirelessRemindKey",
    "LB_CheckSWLinkStatusProgressPercent",
    "IMG_InstallCompleteDlgOKBT", "IMG_InstallWLANUSBBT", "IMG_InstallBROWSEBT", "IMG_InstallCompleteDlgAloneOKBT",
    "IMG_InstallCompleteDlgAloneBrowseBT", "IMG_WlanInstallCompleteDlgOKBT",
] + NAV_KEYS
LAYOUT_PAIRS = {(k, a) for k in LT_KEYS + WIDTH_KEYS for a in ("Left", "Top")} | {(k, "Width") for k in WIDTH_KEYS}

BACKGROUND_KEYS = [
    "IMG_MainMenuDlgBG", "IMG_PowerLinkHelpDlgBG", "IMG_EthernetLinkHelpDlgBG", "IMG_ADSLLinkHelpDlgBG",
    "IMG_CheckHWLinkStatusDlgBG", "IMG_ISPSelectionDlgBG", "IMG_StaticIPSettingDlgBG", "IMG_PPPSettingDlgBG",
    "IMG_WRadioSettingDlgBG", "IMG_WirelessSettingDlgBG", "IMG_WirelessRemindSsidDlgBG",
    "IMG_CheckSWLinkStatusDlgBG", "IMG_InstallCompleteDlgBG", "IMG_InstallCompleteDlgAloneBG",
    "IMG_EthernetRemoveDlgBG", "IMG_WlanUsbCheckDlgBG", "IMG_InstallWlanDriverDlgBG", "IMG_WlanInternetStatDlgBG",
    "IMG_WlanInstallCompleteDlgBG",
]
# Pictures without a position of their own: drawn in place of another control.
PLACED_AS = {
    "IMG_DSLProtocol_grey": "IMG_DSLProtocol", "IMG_DSLEncapulation_grey": "IMG_DSLEncapulation",
    "IMG_DSLVPI_grey": "IMG_DSLVPI", "IMG_DSLVCI_grey": "IMG_DSLVCI", "IMG_DSLNotice_grey": "IMG_DSLNotice",
    "IMG_WEPField": "IMG_EncryptOptField", "IMG_WPAField": "IMG_EncryptOptField",
    "IMG_WirelessRemindWEPKeyField": "IMG_WirelessRemindKey", "IMG_WirelessRemindWPAKeyField": "IMG_WirelessRemindKey",
}
PICTURE_KEYS = (BACKGROUND_KEYS + [k for k in LT_KEYS if k.startswith("IMG_")
                                   and k not in ("IMG_EncryptOptField", "IMG_WirelessRemindKey")]
                + list(PLACED_AS))
STATE_PAIRS = [("IMG_DSLCountry", "Visible"), ("CB_CountrySelector", "Visible"), ("PL_WRadioSettingDlg", "Enabled")]
SETTING_KEYS = ["AppliedModules", "ISPFileList", "EnableLocalDHCP", "UseDSLConnectionTableEx",
                "CheckHWLinkByCmpNEQDSLLink", "WPAKeySupport", "PPPDisconnectBeforeReset", "DefaultTimeout",
                "DiscoverTimeout", "CheckHWLinkTimeout", "DSLSetTimeout", "StaticIPSetTimeout", "PPPSetTimeout",
                "WirelessSetTimeout", "ConfigSaveTimeout", "ConfigSavedWaitTime", "ResetWaitTime",
                "CheckSWLinkStatusTimes", "CheckSWLinkStatusInterval", "InternetTestIPAddresses"]

assert len(LAYOUT_PAIRS) == 189 and len(PICTURE_KEYS) == len(set(PICTURE_KEYS)) == 89


def _before(text, ch):
    i = text.find(ch)
    return text if i < 0 else text[:i]


def _after(text, ch):
    i = text.find(ch)
    return text if i < 0 else text[i + 1:]


class Settings:
    """What the wizard's reader takes from a settings file; each value with its line number."""

    def __init__(self):
        self.layout, self.pictures, self.states, self.settings = {}, {}, {}, {}
        self.dropped = []  # (line number, line)


def read_settings(lines):
    """The wizard's four-stage reader: a line of an earlier kind after one of a later kind, or of
    no kind, is dropped."""
    result = Settings()

    def stage(n, line, number):
        if n == 4:
            key, value = _before(line, "="), _after(line, "=")
            if key in SETTING_KEYS:
                result.settings[key] = (value, number)
                return True
            return False
        key, rest = _before(line, "."), _after(line, ".")
        attribute, value = _before(rest, "="), _after(rest, "=")
        if n == 1 and (key, attribute) in LAYOUT_PAIRS:
            result.layout[(key, attribute)] = (value, number)
        elif n == 2 and attribute == "Picture" and key in PICTURE_KEYS:
            result.pictures[key] = (value, number)
        elif n == 3 and (key, attribute) in STATE_PAIRS:
            result.states[(key, attribute)] = (value, number)
        else:
            return False
        return True

    current = 1
    for number, raw in enumerate(lines, 1):
        line = raw.strip(" \t")
        if (not line or line.startswith(";") or (line.startswith("[") and line.endswith("]"))
                or (line.startswith("***") and line.endswith("***"))):
            continue
        while not stage(current, line, number):
            if current == 4:
                result.dropped.append((number, line))
                current = 1
                break
            current += 1
    return result
