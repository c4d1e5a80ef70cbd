"""Which pictures an edition needs: those of the pages and menu buttons it shows. The wizard
loads the main menu's, the backgrounds, labels and help pictures of its edition's pages (the
adapter's pages only in the kit edition) when a language is loaded, and a page's navigation
pictures when that page is shown."""

_NAV = ("BackBT", "NextBT", "ExitBT")

_AT_LOAD = [
    "IMG_MainMenuDlgBG", "IMG_ViewManualBT", "IMG_ViewQIGBT", "IMG_AcrobatBT", "IMG_TechnicalSupportBT",
    "IMG_QuickInstallBT", "IMG_CloseBT",
    "IMG_PowerLinkHelpDlgBG", "IMG_EthernetLinkHelpDlgBG", "IMG_ADSLLinkHelpDlgBG", "IMG_CheckHWLinkStatusDlgBG",
    "IMG_ISPSelectionDlgBG", "IMG_DSLCountry", "IMG_DSLISP", "IMG_DSLProtocol", "IMG_DSLEncapulation",
    "IMG_DSLVPI", "IMG_DSLVCI", "IMG_DSLProtocol_grey", "IMG_DSLEncapulation_grey", "IMG_DSLVPI_grey",
    "IMG_DSLVCI_grey", "IMG_DSLMTU", "IMG_DSLNotice", "IMG_DSLNotice_grey",
    "IMG_StaticIPSettingDlgBG", "IMG_PPPSettingDlgBG", "IMG_WRadioSettingDlgBG", "IMG_WirelessSettingDlgBG",
    "IMG_WEPKey64Help", "IMG_WEPKey128Help", "IMG_WPAKeyHexHelp", "IMG_WPAKeyASCHelp",
    "IMG_WirelessRemindSsidDlgBG", "IMG_WirelessRemindSsidWarnMsg", "IMG_CheckSWLinkStatusDlgBG",
]
# The kit edition's last page and the adapter's pages, and the router edition's last page.
_KIT_AT_LOAD = [
    "IMG_ViewKXManualBT", "IMG_InstallKXU",
    "IMG_InstallCompleteDlgBG", "IMG_InstallCompleteDlgOKBT", "IMG_InstallWLANUSBBT", "IMG_InstallBROWSEBT",
    "IMG_EthernetRemoveDlgBG", "IMG_WlanUsbCheckDlgBG", "IMG_InstallWlanDriverDlgBG",
    "IMG_WlanInternetStatDlgBG", "IMG_WlanInstallCompleteDlgBG", "IMG_WlanInstallCompleteDlgOKBT",
]
_ROUTER_AT_LOAD = ["IMG_InstallCompleteDlgAloneBG", "IMG_InstallCompleteDlgAloneOKBT",
                   "IMG_InstallCompleteDlgAloneBrowseBT"]
_ALWAYS_SHOWN = ["IMG_PowerLinkHelpDlg", "IMG_EthernetLinkHelpDlg", "IMG_ADSLLinkHelpDlg", "IMG_ISPSelectionDlg",
                 "IMG_StaticIPSettingDlg", "IMG_PPPSettingDlg"]
_WIRELESS_FIELDS = ["IMG_WEPField", "IMG_WPAField", "IMG_WirelessRemindWEPKeyField",
                    "IMG_WirelessRemindWPAKeyField"]


def needed_pictures(kit, wireless, radio_page):
    """{Picture key: why it is needed} for an edition."""
    needed = {key: "loaded at start" for key in _AT_LOAD}
    needed.update({key: "loaded at start" for key in (_KIT_AT_LOAD if kit else _ROUTER_AT_LOAD)})
    shown = list(_ALWAYS_SHOWN)
    if wireless:
        shown += ["IMG_WirelessSettingDlg", "IMG_WirelessRemindSsid"]
        needed.update({key: "shown on the wireless pages" for key in _WIRELESS_FIELDS})
        if radio_page:
            shown.append("IMG_WRadioSettingDlg")
    if kit:
        shown += ["IMG_EthernetRemoveDlg", "IMG_WlanUsbCheckDlg"]
    for stem in shown:
        needed.update({stem + nav: "a navigation picture of a page the edition shows" for nav in _NAV})
    return needed
