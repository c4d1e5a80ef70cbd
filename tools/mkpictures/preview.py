#!/usr/bin/env python3
"""Composes one page as the wizard would show it, for checking the artwork.

    python3 tools/mkpictures/preview.py English isp /tmp/isp.png [--hover IMG_ISPSelectionDlgNextBT]

The page background goes to (1, 1) of a 722 x 482 window; the label and help
pictures the page shows go to their skin positions; native controls are drawn
as white boxes of a typical size, with a sample text in them.
"""

import sys

sys.dont_write_bytecode = True  # keep the source folder free of __pycache__

import argparse
import subprocess

import skin
from mkpictures import DATA
from paint import BG, CONVERT, SANS

COMBO = (200, 22)
EDIT = (200, 21)

# Per page: the background key, the pictures shown over it, and the native
# controls with a sample content.
PAGES = {
    "mainmenu": ("IMG_MainMenuDlgBG", [], [("CB_Languages", "English")]),
    "power": ("IMG_PowerLinkHelpDlgBG", [], []),
    "ethernet": ("IMG_EthernetLinkHelpDlgBG", [], []),
    "adsl": ("IMG_ADSLLinkHelpDlgBG", [], []),
    "hwcheck": ("IMG_CheckHWLinkStatusDlgBG", [], [("PB_CheckHWLinkStatus", "")]),
    "isp": ("IMG_ISPSelectionDlgBG",
            ["IMG_DSLCountry", "IMG_DSLISP", "IMG_DSLProtocol", "IMG_DSLEncapulation", "IMG_DSLVPI",
             "IMG_DSLVCI", "IMG_DSLNotice"],
            [("CB_CountrySelector", "United Kingdom"), ("CB_ISPSelector", "Thamesline Broadband"),
             ("CB_DSLProtocol", "PPPoA"), ("CB_DSLEncapulation", "VC-MUX"), ("ED_DSLVPI", "0"),
             ("ED_DSLVCI", "38")]),
    "staticip": ("IMG_StaticIPSettingDlgBG", [],
                 [("PL_WANIPAddressEdit", "203.  0.113. 25"), ("PL_SubnetNetmaskEdit", "255.255.255.  0"),
                  ("PL_GatewayAddressEdit", "203.  0.113.  1"), ("PL_DNSIPAddressEdit", "198. 51.100. 53")]),
    "ppp": ("IMG_PPPSettingDlgBG", [],
            [("ED_PPPUsername", "jsmith@thamesline"), ("ED_PPPPassword", "********"),
             ("ED_PPPConfirmPassword", "********")]),
    "radio": ("IMG_WRadioSettingDlgBG", [], [("CB_WRadio", "Enabled")]),
    "wireless": ("IMG_WirelessSettingDlgBG", ["IMG_WEPKey64Help"],
                 [("ED_SSID", "Quillon-4F21"), ("CB_WLCountry", "UNITED KINGDOM"), ("CB_Channel", "auto"),
                  ("CB_EncryptionType", "WEP Key(64 bits)"), ("ED_EncryptionKey", "3F2A9C1B07")]),
    "remind": ("IMG_WirelessRemindSsidDlgBG", [("IMG_WirelessRemindKey", "IMG_WirelessRemindWPAKeyField")],
               [("LBL_SSID", "Quillon-4F21"), ("LBL_WLKey", "correct horse battery")]),
    "remind_open": ("IMG_WirelessRemindSsidDlgBG", ["IMG_WirelessRemindSsidWarnMsg"], [("LBL_SSID", "Quillon-4F21")]),
    "applying": ("IMG_CheckSWLinkStatusDlgBG", [],
                 [("PB_CheckSWLinkStatus", ""), ("LB_CheckSWLinkStatusProgressPercent", "42%")]),
    "complete_kit": ("IMG_InstallCompleteDlgBG", [], []),
    "complete": ("IMG_InstallCompleteDlgAloneBG", [], []),
    "unplug": ("IMG_EthernetRemoveDlgBG", [], []),
    "usbcheck": ("IMG_WlanUsbCheckDlgBG", [], []),
    "driver": ("IMG_InstallWlanDriverDlgBG", [], [("PB_InstallWlanDriverStatus", "")]),
    "wlantest": ("IMG_WlanInternetStatDlgBG", [], [("PB_WlanInternetStatus", "")]),
    "wlandone": ("IMG_WlanInstallCompleteDlgBG", [], []),
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("language")
    parser.add_argument("page", choices=sorted(PAGES))
    parser.add_argument("out")
    parser.add_argument("--kit", action="store_true")
    parser.add_argument("--hover", action="append", default=[], help="Picture key to show lit")
    args = parser.parse_args()

    files = {key: name for key, name, _, _ in skin.pictures_for(args.kit)}
    folder = DATA / "Language" / args.language
    bg_key, overlays, controls = PAGES[args.page]
    ops = ["-size", "722x482", f"xc:{BG}", str(folder / files[bg_key]), "-geometry", "+1+1", "-composite"]
    for item in overlays + args.hover:
        pos_key, pic_key = item if isinstance(item, tuple) else (item, item)
        x, y = skin.LAYOUT_POS[pos_key][:2]
        ops += [str(folder / files[pic_key]), "-geometry", f"+{x}+{y}", "-composite"]
    for key, sample in controls:
        pos = skin.LAYOUT_POS[key]
        x, y = pos[:2]
        if key.startswith("PB_"):
            w, h = pos[2], 20
            bar = f"rectangle {x + 2},{y + 2} {x + w // 3},{y + h - 2}"
            ops += ["-fill", "#FFFFFF", "-stroke", "#9A9A9A", "-draw", f"rectangle {x},{y} {x + w},{y + h}",
                    "-fill", "#2D8F3C", "-stroke", "none", "-draw", bar]
            continue
        if key.startswith(("LB_", "LBL_")):
            color = "#000080" if key.startswith("LB_") else "#8B0000"
            ops += ["-font", SANS, "-pointsize", "13", "-fill", color, "-stroke", "none", "-gravity", "NorthWest",
                    "-annotate", f"+{x}+{y}", sample]
            continue
        w, h = EDIT if key.startswith(("ED_", "PL_")) else COMBO
        if key == "CB_Languages":
            w = pos[2]
        if key in ("ED_DSLVPI", "ED_DSLVCI"):
            w = 60
        ops += ["-fill", "#FFFFFF", "-stroke", "#7A7A7A", "-draw", f"rectangle {x},{y} {x + w},{y + h}",
                "-font", SANS, "-pointsize", "11", "-fill", "#000000", "-stroke", "none", "-gravity", "NorthWest",
                "-annotate", f"+{x + 4}+{y + 4}", sample]
    subprocess.run([CONVERT] + ops + [args.out], check=True)


if __name__ == "__main__":
    main()
