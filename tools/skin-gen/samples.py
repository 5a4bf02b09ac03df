"""Writes the texts the program puts into its controls at run time (file names, versions,
status lines) and the settings page of every main-window control, for the screenshot test
(tests/skin/dialog_samples.txt) that shows each dialog as users will see it."""

HEADER = ("# Written by tools/skin-gen from the layouts; read by the skin screenshot test.\n"
          "# dialog id, control id, settings page (-1: always shown), kind, sample text\n")


def _escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", " ")


def write(path, dialogs):
    lines = []
    for d in dialogs:
        for c in d.controls:
            if c.sample or c.page >= 0:
                lines.append(f"{d.id}\t{c.id}\t{c.page}\t{c.kind}\t{_escape(c.sample)}\n")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(HEADER)
        f.writelines(lines)
