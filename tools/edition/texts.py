"""The texts of an edition: which code page each language folder's files are written in, and
reading them as the wizard does, with findings for text it would show wrongly."""

import re

LANGUAGES = ["Czech", "Danish", "English", "Finnish", "Flemish", "French", "German", "Greek", "Hungarian",
             "Italian", "Norwegian", "Polish", "Portugese", "Russian", "Spanish", "Swedish"]
_CODE_PAGES = {"Czech": "cp1250", "Hungarian": "cp1250", "Polish": "cp1250", "Russian": "cp1251",
               "Greek": "cp1253"}


def code_page(language):
    return _CODE_PAGES.get(language, "cp1252")


def read_lines(findings, path, name, language):
    """The file's lines (without line ends) as the wizard decodes them, or None when it is missing.

    Reports UTF-8 text and bytes that are no character of the language's code page, each on its
    first line, once per file."""
    if not path.is_file():
        return None
    data = path.read_bytes()
    page = code_page(language)
    if data.startswith(b"\xef\xbb\xbf"):
        findings.add(name, 1, "starts with a UTF-8 byte order mark: the first line begins with 'ï»¿'")
        data = data[3:]
    raw_lines = re.split(rb"\r\n|\r|\n", data)
    if raw_lines and raw_lines[-1] == b"":
        raw_lines.pop()
    lines = []
    utf8_reported = undefined_reported = False
    for number, raw in enumerate(raw_lines, 1):
        if not utf8_reported and _is_utf8(raw):
            shown = raw.decode(page, "replace").strip()
            findings.add(name, number, f"the text is UTF-8, not {_windows(page)}: the wizard shows "
                                       f"'{shown[:40]}' for '{raw.decode('utf-8').strip()[:40]}'")
            utf8_reported = True
        try:
            lines.append(raw.decode(page))
        except UnicodeDecodeError as error:
            if not undefined_reported:
                byte = raw[error.start]
                findings.add(name, number, f"byte 0x{byte:02X} is no character of {_windows(page)}, the "
                                           f"code page of {language}: the wizard shows a wrong character")
                undefined_reported = True
            lines.append(raw.decode(page, "replace"))
    return lines


def _is_utf8(raw):
    """Text of a Windows code page rarely forms valid UTF-8 sequences; UTF-8 text always does."""
    if all(b <= 0x7F for b in raw):
        return False
    try:
        raw.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def _windows(page):
    return "Windows-" + page[2:]
