"""One language folder: its settings file, pictures, catalogues, default.ini and ISP database."""

import isp_list
import pages
import pictures
import settings as settings_file
from ini import Ini
from texts import read_lines

_MESSAGES = 31  # application.err lines 0 to 30 are shown
_DIALOG_LINES = 6  # frm.str lines 0 to 5


def check(findings, edition, language, profile):
    folder = edition / "Language" / language
    base = f"Language/{language}"
    name = "dslutility_kit.ini" if profile.kit else "dslutility.ini"
    lines = read_lines(findings, folder / name, f"{base}/{name}", language)
    if lines is None:
        findings.add(f"{base}/{name}", 0, "missing: the wizard has no pictures and no provider database, and ends "
                                          "at start")
        return
    read = settings_file.read_settings(lines)
    for number, line in read.dropped:
        findings.add(f"{base}/{name}", number, f"'{line}' is ignored by the wizard (an unknown key, or a line of "
                                               "an earlier kind after one of a later kind)")
    modules = read.settings.get("AppliedModules", ("", 0))[0]
    wireless = modules.upper().endswith("WAP")
    radio = read.states.get(("PL_WRadioSettingDlg", "Enabled"), ("", 0))[0] == "true"
    _check_pictures(findings, folder, f"{base}/{name}", read, pages.needed_pictures(profile.kit, wireless, radio))
    _check_catalogues(findings, folder, base, language)
    defaults = Ini(read_lines(findings, folder / "default.ini", f"{base}/default.ini", language))
    _check_documents(findings, edition, f"{base}/default.ini", defaults, profile.kit)
    isp_name = read.settings.get("ISPFileList", ("", 0))[0]
    isp_lines = read_lines(findings, folder / isp_name, f"{base}/{isp_name}", language) if isp_name else None
    if isp_lines is None:
        findings.add(f"{base}/{name}", read.settings.get("ISPFileList", ("", 0))[1],
                     f"the provider database '{isp_name}' is missing: the wizard shows application message 3 "
                     "and ends")
    else:
        isp_list.read(findings, f"{base}/{isp_name}", isp_lines)


def _check_pictures(findings, folder, where, read, needed):
    for key, why in needed.items():
        if key not in read.pictures:
            findings.add(where, 0, f"no {key}.Picture ({why}): the wizard stops with the picture error")
            continue
        file_name, number = read.pictures[key]
        path = folder / file_name
        if not path.is_file():
            findings.add(where, number, f"{key}: {file_name} is missing ({why}): the wizard stops with the "
                                        "picture error")
            continue
        try:
            size = pictures.picture_size(path)
        except ValueError as error:
            findings.add(where, number, f"{key}: {file_name} is {error}: the wizard stops with the picture error")
            continue
        if key.endswith("BG") and size != pictures.BACKGROUND_SIZE:
            findings.add(where, number, f"{key}: {file_name} is {size[0]} x {size[1]}, not 720 x 480: the page "
                                        "does not fill the window")


def _check_catalogues(findings, folder, base, language):
    messages = read_lines(findings, folder / "application.err", f"{base}/application.err", language)
    if messages is None:
        findings.add(f"{base}/application.err", 0, "missing: every message box of the wizard is empty")
    elif len(messages) < _MESSAGES:
        findings.add(f"{base}/application.err", len(messages),
                     f"has {len(messages)} lines: messages {len(messages)} to {_MESSAGES - 1} show empty boxes")
    dialog = read_lines(findings, folder / "frm.str", f"{base}/frm.str", language)
    if dialog is not None and len(dialog) < _DIALOG_LINES:
        findings.add(f"{base}/frm.str", len(dialog), f"has {len(dialog)} lines: the dialogs show empty captions")
    read_lines(findings, folder / "common.err", f"{base}/common.err", language)


def _check_documents(findings, edition, where, defaults, kit):
    keys = {"manualName": ("manual.pdf", "View Manual", 2), "qigName": ("qig_english.pdf", "Quick Guide", 1)}
    if kit:
        keys.update({"kxManualName": ("kxu_qig.pdf", "the adapter's manual", 2),
                     "kxQIGName": ("kxu_manual.pdf", "the adapter's guide", 1)})
    for key, (default, button, message) in keys.items():
        name, number = defaults.text("Defaults", key, default)
        if not (edition / "Docs" / name).is_file():
            findings.add(where, number, f"{key}: Docs/{name} is missing: {button} shows application "
                                        f"message {message}")
