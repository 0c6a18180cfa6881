"""Walks the running program through its windows as a person would and
writes down what the accessibility interface (AT-SPI) says of each: every
object's role, name, description and text, with a screenshot beside it.
Menus and buttons are found by their names in either language and pressed
with the real pointer, so no call waits on a modal dialog. Last it lists
every text holding a word in Latin letters that is not one of the names the
same in every language, which under Russian windows should be none."""
import os
import re
import subprocess
import sys
import time

import pyatspi

OUT, GRAB = sys.argv[1], sys.argv[2]
SAME_EVERYWHERE = {"CMF", "CSV", "PDF", "Qt", "Velmora", "Esc", "Enter", "c1", "c2", "c3",
                   "c4", "Anna", "Default", "txt", "csv", "dat", "home", "res"}


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and "velmora" in (app.name or "").lower():
            return app
    return None


def nodes(node, found=None):
    found = [] if found is None else found
    try:
        found.append(node)
        for i in range(min(node.childCount, 500)):
            nodes(node.getChildAtIndex(i), found)
    except Exception:  # an object gone while it is read
        pass
    return found


def describe(node):
    line = f"[{node.getRoleName()}] {node.name!r}"
    if node.description:
        line += f" desc={node.description!r}"
    try:
        text = node.queryText()
        shown = text.getText(0, min(text.characterCount, 300))
        if shown and shown != node.name:
            line += f" text={shown!r}"
    except NotImplementedError:
        pass
    return line


def record(tag):
    app = program()
    lines = []
    for node in nodes(app) if app else []:
        try:
            lines.append(describe(node))
        except Exception:
            pass
    with open(os.path.join(OUT, tag + ".txt"), "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    subprocess.run([GRAB, "--grab-screen", os.path.join(OUT, tag + ".png")],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


def find(role, pattern):
    for node in nodes(program()):
        try:
            if node.getRoleName() == role and re.search(pattern, node.name or ""):
                return node
        except Exception:
            pass
    raise SystemExit(f"read_windows: no {role} named like {pattern}")


def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                    str(box.y + box.height // 2), "click", "1"], check=True)
    time.sleep(1.0)


def keys(*names, delay="60"):
    subprocess.run(["xdotool", "key", "--delay", delay, *names], check=True)
    time.sleep(0.8)


def menu(top, item):
    click(find("menu item", top))
    click(find("menu item", item))


def latin_words(folder):
    said = set()
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".txt"):
            continue
        for line in open(os.path.join(folder, name), encoding="utf-8"):
            if line.startswith("[application]") or line in said:
                continue
            said.add(line)
            body = re.sub(r"^\[[^]]*\] ", "", line).replace(" desc=", " ").replace(" text=", " ")
            body = re.sub(r"\\n|/\S*", " ", body)
            words = [w for w in re.findall(r"[A-Za-z][A-Za-z0-9_-]*", body)
                     if w not in SAME_EVERYWHERE]
            if words:
                print(f"{name}: {line.strip()[:160]}  <- {words}")


record("01-test-window")
for number, top in (("02", "^(File|Файл)$"), ("03", "^(View|Вид)$"), ("04", "^(Help|Справка)$")):
    click(find("menu item", top))
    record(f"{number}-menu")
    keys("Escape")
click(find("push button", "^(Start|Старт)$"))
subprocess.run(["xdotool", "type", "--delay", "80", "Anna"], check=True)
time.sleep(1)
record("05-name-prompt")
keys("Return")
began = time.time()
while time.time() - began < 28:
    keys(*["a"] * 20, delay="110")
time.sleep(2.5)
record("06-test-complete")
click(find("push button", r"^(Next|Далее)"))
record("07-results")
menu("^(View|Вид)$", "^(Data|Данные)$")
record("08-data")
menu("^(View|Вид)$", "^(Trend|Тренд)$")
time.sleep(1)
record("09-trend")
menu("^(Help|Справка)$", "^(About Velmora|О программе)")
record("10-about")
keys("Escape")
menu("^(Help|Справка)$", "^(Contents|Содержание)$")
record("11-help")
keys("Escape")
menu("^(File|Файл)$", "^(&?Clear|Очистить)")
record("12-clear-question")
keys("Escape")
menu("^(File|Файл)$", "^(Export text|Экспорт в текст)")
time.sleep(0.5)
record("13-export-dialog")
keys("Escape")
latin_words(OUT)
