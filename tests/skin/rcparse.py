"""Reads dialog templates from .rc files: dialog ids and their controls with window class
and styles, enough to hold them against the skin and text files."""
import re

# Shorthand statements and the window class each stands for.
SHORTHAND = {
    "LTEXT": "Static", "RTEXT": "Static", "CTEXT": "Static", "ICON": "Static",
    "PUSHBUTTON": "Button", "DEFPUSHBUTTON": "Button", "CHECKBOX": "Button",
    "AUTOCHECKBOX": "Button", "RADIOBUTTON": "Button", "AUTORADIOBUTTON": "Button",
    "GROUPBOX": "Button", "EDITTEXT": "Edit", "COMBOBOX": "ComboBox", "LISTBOX": "ListBox",
}
SHORTHAND_STYLE = {"AUTOCHECKBOX": "BS_AUTOCHECKBOX", "AUTORADIOBUTTON": "BS_AUTORADIOBUTTON",
                   "CHECKBOX": "BS_CHECKBOX", "RADIOBUTTON": "BS_RADIOBUTTON"}
NO_TEXT = {"EDITTEXT", "COMBOBOX", "LISTBOX"}


def _split(args):
    """Splits a statement's arguments at top-level commas, keeping quoted strings."""
    out, cur, quoted = [], "", False
    i = 0
    while i < len(args):
        ch = args[i]
        if ch == '"':
            if quoted and i + 1 < len(args) and args[i + 1] == '"':
                cur += '""'
                i += 2
                continue
            quoted = not quoted
        if ch == "," and not quoted:
            out.append(cur.strip())
            cur = ""
        else:
            cur += ch
        i += 1
    out.append(cur.strip())
    return out


def _value(token, names):
    token = token.strip()
    if re.fullmatch(r"-?\d+", token):
        return int(token)
    if token in names:
        return names[token]
    raise KeyError(token)


def parse(path, names):
    """{dialog id: [(control id, window class, style text, text)]} of every DIALOGEX."""
    with open(path, encoding="ascii") as f:
        lines = [ln.split("//")[0].rstrip() for ln in f]
    dialogs, current, inside = {}, None, False
    for ln in lines:
        m = re.match(r"^(\w+)\s+DIALOGEX?\b", ln)
        if m:
            current = _value(m.group(1), names)
            dialogs[current] = []
            continue
        if current is None:
            continue
        word = ln.strip().split(" ", 1)[0] if ln.strip() else ""
        if word == "BEGIN":
            inside = True
        elif word == "END":
            inside, current = False, None
        elif inside and word == "CONTROL":
            a = _split(ln.strip()[len("CONTROL"):])
            dialogs[current].append((_value(a[1], names), a[2].strip('"'), a[3], a[0].strip('"')))
        elif inside and word in SHORTHAND:
            a = _split(ln.strip()[len(word):])
            if word in NO_TEXT:
                text, cid, rest = "", a[0], a[5:]
            else:
                text, cid, rest = a[0].strip('"'), a[1], a[6:]
            style = " | ".join([SHORTHAND_STYLE.get(word, "")] + rest[:1]).strip(" |")
            dialogs[current].append((_value(cid, names), SHORTHAND[word], style, text))
    return dialogs
