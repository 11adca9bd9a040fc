#!/usr/bin/python3
# The print macro of TELV-Q9: lays out the print files of a folder in a
# spreadsheet and prints it on the default printer, or writes "Print.pdf"
# into the folder when no printer is set up.
#
#   PrintMacroJ.py <folder> <calendar 0|1> <schedule 0|1> <playlists> <bgm lists>
#
# The folder holds "CALENDAR.TSV", "SCHEDULE.TSV", "PLST_%04d.TSV" and
# "BGM_%03d.TSV" (UTF-16 with its mark, TAB-separated, CR LF). Every cell is
# put in as text, so nothing in a title is ever taken for a formula.
#
# Exit codes: 0 printed, 1 the spreadsheet program could not be started,
# 2 the layout or printing failed, 3 written as Print.pdf (no printer).

import os
import shutil
import subprocess
import sys
import tempfile
import time

EXIT_PRINTED, EXIT_NO_PROGRAM, EXIT_FAILED, EXIT_PDF = 0, 1, 2, 3
START_SECONDS = 60

try:
    import uno
    from com.sun.star.beans import PropertyValue
    from com.sun.star.connection import NoConnectException
except ImportError:
    sys.exit(EXIT_NO_PROGRAM)


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def read_tsv(path):
    with open(path, "rb") as f:
        text = f.read().decode("utf-16")
    return [line.split("\t") for line in text.split("\r\n") if line != ""]


class Office:
    """A headless spreadsheet program of its own, with a fresh profile."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="telv-print-")
        self.proc = None
        self.desktop = None

    def start(self):
        program = shutil.which("soffice") or shutil.which("libreoffice")
        if not program:
            return False
        pipe = "telvprint%d" % os.getpid()
        self.proc = subprocess.Popen(
            [program, "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
             "-env:UserInstallation=" + uno.systemPathToFileUrl(self.profile),
             "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + START_SECONDS
        while time.monotonic() < deadline:
            try:
                ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                self.desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
                return True
            except NoConnectException:
                if self.proc.poll() is not None:
                    return False
                time.sleep(0.1)
        return False

    def stop(self):
        if self.desktop is not None:
            try:
                self.desktop.terminate()
            except Exception:
                pass
        if self.proc is not None:
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def put_rows(sheet, top, rows):
    for r, row in enumerate(rows):
        for c, text in enumerate(row):
            if text != "":
                sheet.getCellByPosition(c, top + r).setString(text)
    return top + len(rows)


def list_sheet(sheet, rows, heading, tracks):
    top = put_rows(sheet, 0, [[heading], ["番号", rows[1][0]], ["カテゴリ", rows[2][0]], ["タイトル", rows[3][0]], []])
    header = ["開始"] + ["番号", "カテゴリ", "タイトル"] * tracks
    put_rows(sheet, top, [header] + rows[4:])


def schedule_sheet(sheet, rows):
    top = put_rows(sheet, 0, [["スケジュール"], ["番号", rows[1][0]], ["カテゴリ", rows[2][0]],
                              ["タイトル", rows[3][0]], ["期間"] + rows[4], ["曜日"] + rows[5],
                              ["運用時間"] + rows[6], []])
    put_rows(sheet, top, [["開始"] + ["番号", "カテゴリ", "タイトル"] * 6] + rows[7:])


# The play flag of a calendar day as the printed page reads it.
PLAY_WORDS = {"PLAY": "再生する", "NOPLAY": "再生しない"}


def calendar_sheet(sheet, rows):
    top = put_rows(sheet, 0, [["カレンダー", rows[1][0]], []])
    days = [[row[0], PLAY_WORDS.get(row[1], row[1])] + row[2:] if len(row) > 1 else row for row in rows[2:]]
    put_rows(sheet, top, [["日", "再生", "番号", "カテゴリ", "タイトル"]] + days)


def build(doc, folder, calendar, schedule, playlists, bgm_lists):
    sheets = doc.getSheets()
    pages = []
    if calendar:
        pages.append(("カレンダー", lambda s: calendar_sheet(s, read_tsv(os.path.join(folder, "CALENDAR.TSV")))))
    if schedule:
        pages.append(("スケジュール", lambda s: schedule_sheet(s, read_tsv(os.path.join(folder, "SCHEDULE.TSV")))))
    for i in range(1, playlists + 1):
        name = "PLST_%04d" % i
        pages.append(("プレイリスト%d" % i, lambda s, n=name: list_sheet(s, read_tsv(os.path.join(folder, n + ".TSV")),
                                                                     "プレイリスト", 6)))
    for i in range(1, bgm_lists + 1):
        name = "BGM_%03d" % i
        pages.append(("BGMリスト%d" % i, lambda s, n=name: list_sheet(s, read_tsv(os.path.join(folder, n + ".TSV")),
                                                                   "BGMリスト", 1)))
    for index, (name, fill) in enumerate(pages):
        if index == 0:
            sheets.getByIndex(0).setName(name)
        else:
            sheets.insertNewByName(name, index)
        sheet = sheets.getByName(name)
        fill(sheet)
        sheet.getColumns().OptimalWidth = True
    styles = doc.getStyleFamilies().getByName("PageStyles")
    for i in range(styles.getCount()):
        style = styles.getByIndex(i)
        style.IsLandscape = True
        style.Width, style.Height = max(style.Width, style.Height), min(style.Width, style.Height)
        style.ScaleToPagesX = 1
        style.ScaleToPagesY = 0
        # The page's head shows the sheet's (Japanese) name; the suite's own
        # footer would read in its interface language, so there is none.
        style.FooterIsOn = False


def has_printer():
    lpstat = shutil.which("lpstat")
    if not lpstat:
        return False
    result = subprocess.run([lpstat, "-d"], capture_output=True, text=True)
    return result.returncode == 0 and "system default destination:" in result.stdout


def main(argv):
    if len(argv) != 6:
        return EXIT_FAILED
    folder = argv[1]
    calendar, schedule, playlists, bgm_lists = (int(a) for a in argv[2:6])
    office = Office()
    try:
        if not office.start():
            return EXIT_NO_PROGRAM
        try:
            doc = office.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
            build(doc, folder, calendar, schedule, playlists, bgm_lists)
            if has_printer():
                doc.print(())
                code = EXIT_PRINTED
            else:
                pdf = uno.systemPathToFileUrl(os.path.join(os.path.abspath(folder), "Print.pdf"))
                doc.storeToURL(pdf, (prop("FilterName", "calc_pdf_Export"),))
                code = EXIT_PDF
            doc.close(True)
            return code
        except Exception as error:
            sys.stderr.write("print failed: %s\n" % error)
            return EXIT_FAILED
    finally:
        office.stop()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
