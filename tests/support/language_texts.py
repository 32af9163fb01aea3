#!/usr/bin/env python3
"""Checks the texts a wizard run showed (the WINDOW/TEXT/HEADER/CELL lines wizard_steps prints
for each window, window_texts.h) against a language file: every control of every window must
show the file's text, or its form filled in. Prints a BAD line for each text that differs or
that no rule knows, and the count checked; exits 1 on any BAD line.

  language_texts.py LANGUAGE_FILE LOG
"""
import re
import sys


def read_language(path):
    texts, section, document = {}, None, []
    for line in open(path, encoding="utf-8-sig"):
        line = line.rstrip("\r\n")
        if section == "Document":
            document.append(line)
            continue
        if line.startswith("["):
            section = line.strip("[]")
        elif section == "Texts" and "=" in line and not line.lstrip().startswith((";", "#")):
            name, value = (part.strip() for part in line.split("=", 1))
            texts[name] = value[1:-1] if len(value) > 1 and value[0] == value[-1] == '"' else value
    # The document's paragraphs as the control shows them: no markup, a bullet before each item.
    texts["document"] = paragraphs(" | ".join(
        "\u2022\t" + line[2:] if line.startswith("- ") else line[2:] if line.startswith("# ") else line
        for line in document).replace("**", ""))
    return texts


def paragraphs(text):
    """Paragraphs compared as read: any one character before a tab is the bullet, blanks at a
    paragraph's end and empty paragraphs at the document's end do not count."""
    parts = [re.sub(r"^.\t", "\u2022\t", part.rstrip()) for part in text.split(" | ")]
    while parts and not parts[-1]:
        parts.pop()
    return " | ".join(parts)


def form(text, **values):
    """A form as a pattern: its {names} stand for the values given (a pattern each)."""
    pattern = re.escape(text)
    for name, value in values.items():
        pattern = pattern.replace(re.escape("{%s}" % name), value)
    return re.compile(pattern + "$")


def main():
    t = read_language(sys.argv[1])
    number = r"[0-9]+"
    status = lambda found: form(t["Status.Line"], required=re.escape(t["Status.Any"]), found=found)
    # Per window and control id; the wizard's pages come in order: information, prerequisites
    # before the downloads, prerequisites at the end.
    sheet = {"12323": t["Wizard.Back"], "12324": t["Wizard.Next"], "12325": t["Wizard.Finish"],
             "2": t["Wizard.Cancel"], "caption": t["Setup.Title"].replace("{product}", "Tessara Sample")}
    prerequisites = dict(sheet, **{
        "0": t["PrerequisitesPage.Caption"], "1016": t["PrerequisitesPage.Group"],
        "1022": t["PrerequisitesPage.Explanation"], "1015": t["PrerequisitesPage.FolderLabel"],
        "1004": t["PrerequisitesPage.Browse"], "1003": re.compile(r"C:\\$"),
        "h0": t["PrerequisitesPage.NameColumn"], "h1": t["PrerequisitesPage.StatusColumn"],
        "h2": t["PrerequisitesPage.ActionColumn"], "c0": re.compile("Tessara (Held|Web) Runtime")})
    expected = {
        "information": dict(sheet, **{"0": t["InformationPage.Caption"],
                                      "1021": t["InformationPage.Group"], "d": t["document"]}),
        "before": dict(prerequisites, **{"1019": t["PrerequisitesPage.HintDownload"],
                                         "c1": status(re.escape(t["Status.Nothing"])),
                                         "c2": re.compile("(%s|%s)$" % (re.escape(t["Action.Install"]),
                                                                       re.escape(t["Action.Download"])))}),
        "after": dict(prerequisites, **{"1019": t["PrerequisitesPage.HintFinish"],
                                        "c1": status(re.escape("1.0")), "c2": t["Action.Installed"]}),
        "#1007": {"caption": t["DownloadDialog.Caption"], "1012": t["DownloadDialog.CurrentLabel"],
                  "1013": t["DownloadDialog.GlobalLabel"], "1011": t["DownloadDialog.Pause"],
                  "2": t["DownloadDialog.Cancel"],
                  "1014": form(t["DownloadDialog.SpeedForm"], whole=number, fraction="[0-9][0-9]"),
                  "h0": t["DownloadDialog.UrlColumn"], "h1": t["DownloadDialog.StatusColumn"],
                  "c0": re.compile("http://.*/web-setup.exe$"),
                  "c1": form(t["DownloadDialog.Percent"], count=number)},
        "#1018": {"caption": t["LaunchDialog.Caption"], "1023": t["LaunchDialog.Label"],
                  "1018": "Tessara Held Runtime"},
    }
    pages = iter(["information", "before", "after"])
    rules, bad, checked, rtl = {}, 0, 0, set()
    # Other lines of the log may be in the ANSI code page.
    for line in open(sys.argv[2], encoding="utf-8", errors="replace"):
        kind, _, rest = line.rstrip("\n").partition(" ")
        if kind not in ("WINDOW", "TEXT", "HEADER", "CELL", "DOCUMENT"):
            continue
        window, _, rest = rest.partition(" ")
        if kind == "WINDOW":
            rules = expected[next(pages)] if window == "sheet" else expected[window]
            flag, _, text = rest.partition(" ")
            rtl.add(flag)
            key = "caption"
        elif kind == "TEXT":
            key, _, text = rest.partition(" ")
        elif kind == "DOCUMENT":
            key, text = "d", paragraphs(rest)
        elif kind == "HEADER":
            column, _, text = rest.partition(" ")
            key = "h" + column
        else:
            _, _, rest = rest.partition(" ")
            column, _, text = rest.partition(" ")
            key = "c" + column
        want = rules.get(key)
        ok = want is not None and (want.match(text) if hasattr(want, "match") else text == want)
        checked += 1
        if not ok:
            bad += 1
            print("BAD %s %s %s: %r, expected %r" % (kind, window, key, text,
                                                     getattr(want, "pattern", want)))
    print("%d texts checked, windows %s" % (checked, " ".join(sorted(rtl))))
    sys.exit(1 if bad or checked == 0 else 0)


if __name__ == "__main__":
    main()
