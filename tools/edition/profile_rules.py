"""setup.ini, the language folders it names, and the programs the wizard starts from the CD."""

import dataclasses

from ini import Ini
from texts import LANGUAGES, read_lines

_SHARED_FOLDERS = {"Internet", "ChkNIC"}


@dataclasses.dataclass
class Profile:
    kit: bool
    languages_used: list
    model_name: str = ""


def check(findings, edition):
    lines = read_lines(findings, edition / "setup.ini", "setup.ini", "English")
    ini = Ini(lines)
    default, default_line = ini.text("Profile", "DefaultLanguage", "English")
    bundle, bundle_line = ini.integer("Profile", "isBundle", 0)
    multi, multi_line = ini.integer("Profile", "isMultiLang", 0)
    if bundle not in (0, 1):
        findings.add("setup.ini", bundle_line, f"isBundle={bundle} is neither 0 (router edition) nor 1 (kit "
                                               "edition); the wizard takes it for the kit edition")
    if multi not in (0, 1):
        findings.add("setup.ini", multi_line, f"isMultiLang={multi}: the language list shows, but empty (only 1 "
                                              "offers the languages)")
    folder_of = {path.name: path for path in (edition / "Language").glob("*") if path.is_dir()}
    if default not in folder_of:
        findings.add("setup.ini", default_line,
                     f"DefaultLanguage={default}: there is no folder Language/{default}, so the wizard "
                     "does not start (its box names this setting)")
    offered = []
    for key, number in ini.keys.get("language", []) if multi == 1 else []:
        value, _ = ini.integer("Language", key, 0)
        if key not in LANGUAGES:
            findings.add("setup.ini", number, f"{key} is not one of the 16 language names "
                                              f"({', '.join(LANGUAGES)}): the language list never offers it")
        elif value == 1 and key not in offered:
            offered.append(key)
            if key not in folder_of:
                findings.add("setup.ini", number, f"the language list offers {key}, but Language/{key} is "
                                                  f"missing: choosing it shows the texts of {default}")
    if multi == 1 and default in folder_of and default not in offered:
        findings.add("setup.ini", default_line, f"DefaultLanguage={default} is not offered in [Language]: the "
                                                "language list starts with nothing selected")
    used = [name for name in LANGUAGES if name in folder_of and (name == default or name in offered)]
    for name in sorted(folder_of):
        if name in _SHARED_FOLDERS or name in used:
            continue
        if name not in LANGUAGES:
            findings.add(f"Language/{name}", 0, "not one of the 16 language names: the wizard never reads it")
        else:
            findings.add(f"Language/{name}", 0, "setup.ini does not offer this language: no user ever sees it")
    return Profile(kit=bundle != 0, languages_used=used)


def check_programs(findings, edition, profile):
    required = {
        "Acrobat/pdfreader.exe": "Install Document Reader shows application message 3 instead of the installer",
        "Language/Internet/Internet.htm": "the last page opens no help page",
        "Language/Internet/SurfInternet.htm": "the last page opens no help page",
    }
    if profile.kit:
        required.update({
            "KXU-300_v1.10b05_20070529/setup.exe": "Install USB Adapter shows application message 28",
            "Driver/cpydrv.exe": "the adapter's driver files are not copied",
            "DriverVista/cpydrv.exe": "the adapter's driver files are not copied on Vista",
            "Language/ChkNIC/ChkNIC.bat": "the wizard never finds the plugged-in adapter",
        })
    for path, effect in required.items():
        if not (edition / path).is_file():
            findings.add(path, 0, f"missing: {effect}")
