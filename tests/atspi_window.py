#!/usr/bin/python3
"""The shipped program as a screen reader reads it over AT-SPI: an X server,
a D-Bus session with the accessibility bus started first, as a desktop does,
a screen reader's switch turned on, and the keys of an operator.
Usage: atspi_window.py PROGRAM"""
import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
orca = ("orca", "unshare") * ("--orca" in sys.argv)
missing = [t for t in ("Xvfb", "dbus-daemon", "dbus-send", "xdotool", "openbox") + orca if not shutil.which(t)]
missing += [] if os.access(LAUNCHER, os.X_OK) else [LAUNCHER]
missing += [] if importlib.util.find_spec("pyatspi") else ["python3-pyatspi"]
if missing:
    print("missing (scripts/install-deps.sh installs them):", *missing)
    sys.exit(1 if os.environ.get("CORVANE_REQUIRE_TOOLS") else 77)
if orca and os.getuid() == 0 and os.getpid() != 1:  # Orca starts only if its user runs no other
    os.execvp("unshare", ["unshare", "-pfm", "--propagation", "unchanged", "sh", "-c", "mount --make-private"
                          ' /proc && mount -t proc proc /proc && exec "$@"', "sh", sys.executable, *sys.argv])

work = tempfile.mkdtemp()
os.environ.update(HOME=work, XDG_RUNTIME_DIR=work, XDG_CONFIG_HOME=work, QT_QPA_PLATFORM="xcb")
procs = []


def start(*cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw):
    procs.append(subprocess.Popen(cmd, stdout=stdout, stderr=stderr, **kw))
    return procs[-1]


def cleanup():
    for p in reversed(procs):
        p.terminate()  # the bus launcher then ends the bus it started
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
    shutil.rmtree(work, ignore_errors=True)


read_fd, write_fd = os.pipe()
# -noreset: the X server must keep the AT_SPI_BUS root-window property the
# bus launcher sets and then disconnects from, as on a desktop; Qt 5.15 reads
# it to join the bus at once, and without it may register on a timer before
# its reply to org.a11y.Bus GetAddress has connected it, and never again.
start("Xvfb", "-displayfd", str(write_fd), "-noreset", "-screen", "0", "1600x1400x24",
      "-dpi", "96", "-nolisten", "tcp", pass_fds=(write_fd,))
os.environ["DISPLAY"] = ":" + os.read(read_fd, 16).decode().strip()
bus = start("dbus-daemon", "--session", "--nofork", "--print-address=1", stdout=subprocess.PIPE)
os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
start(LAUNCHER, "--launch-immediately")
start("openbox")
time.sleep(1)
# What a screen reader does as it starts; the program must not need more.
for _ in range(50):
    if subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                       "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                       "string:org.a11y.Status", "string:ScreenReaderEnabled",
                       "variant:boolean:true"], stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL, timeout=10).returncode == 0:
        break
    time.sleep(0.1)
if orca:
    import atexit, orca_speech  # noqa: E401
    atexit.register(cleanup)
    sys.exit(1 if orca_speech.run(sys.argv[1], start) else 0)
import pyatspi  # noqa: E402  (after the session bus is known)
from gi.repository import GLib  # noqa: E402

events = []
pyatspi.Registry.registerEventListener(
    events.append, "object:state-changed:showing", "object:state-changed:focused",
    "object:state-changed:selected", "object:property-change:accessible-value",
    "object:property-change:accessible-name",
    "object:text-changed:insert", "object:text-selection-changed")
failures = []
roles = {}  # of every part of a notice, by its path


def pump(seconds):
    end = time.time() + seconds
    while time.time() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)


def wait(what, predicate, seconds=5):
    # Four times as long as an idle machine needs: only a failure waits it out.
    end = time.time() + 4 * seconds
    while time.time() < end:
        pump(0.1)
        try:
            if predicate():
                return True
        except Exception:  # the tree changes under us
            pass
    failures.append(what)
    print("FAIL:", what)
    return False


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    return next(a for a in desktop if a and a.name == "Corvane")


def find(role, name=None):
    return pyatspi.findDescendant(app(), lambda o: o.getRole() == role and
                                  (name is None or o.name == name))


def text(obj):
    t = obj.queryText()
    return t.getText(0, -1)


def focused():
    """The innermost object shown with the focused state."""
    return pyatspi.findAllDescendants(app(), lambda o: o.getState().contains(
        pyatspi.STATE_FOCUSED) and o.getState().contains(pyatspi.STATE_SHOWING))[-1]


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True, timeout=20)
    pump(0.3)


def live(event, check):
    """check(event.source), false where the source is gone (a closed notice's button)."""
    try:
        return event.source and check(event.source)
    except Exception:
        return False


def spoken(kind, name, since):
    """The events of a kind whose source is named so, after index since."""
    return [e for e in events[since:] if e.type.startswith(kind) and live(e, lambda s: s.name == name)]


def told(since):
    """The names of the notifications shown after index since."""
    return [e.source.name for e in events[since:] if e.type.startswith(
        "object:state-changed:showing") and live(e, lambda s: s.getRole() == pyatspi.ROLE_NOTIFICATION)]


def last_focused(since):
    """The object that last took the focus after index since."""
    return [e.source for e in events[since:] if e.type == "object:state-changed:focused" and e.detail1][-1]


def whole_selected(obj):
    return obj.queryText().getSelection(0) == (0, obj.queryText().characterCount)


def notice(heading, message, seconds=5):
    """An alert named by heading and message, the message's lines as sentences (speech takes a break
    for a space, not a line break), no path of another role."""
    def read():
        parts = [pyatspi.findDescendant(app(), lambda o: o.getRole() == pyatspi.ROLE_ALERT and
                                        o.name == f"{heading}. {message}" and o.getState().contains(pyatspi.STATE_SHOWING))]
        parts += pyatspi.findAllDescendants(parts[0], bool)
        return all(roles.setdefault(o.path, o.getRole()) == o.getRole() for o in parts)
    wait(f"notice {heading}. {message}", read, seconds)
    keys("Return")


def selected_tab():
    return [t.name for t in find(pyatspi.ROLE_PAGE_TAB_LIST)
            if t.getState().contains(pyatspi.STATE_SELECTED)]


try:
    start(sys.argv[1])
    if not wait("program on the accessibility bus", app, 10):
        sys.exit(1)
    mark = len(events)
    notice("Соединение", "Нет связи. Включён демо-режим", seconds=20)
    # The tab bar's focus is told as its current tab's, which has a place.
    # The notice's button may have taken the focus after the mark, and is gone.
    wait("current tab told focused, selected, 2 of 4", lambda: (lambda tab: (
         tab.getRole(), tab.name, tab.getIndexInParent(), tab.parent.childCount))(last_focused(mark))
         == (pyatspi.ROLE_PAGE_TAB, "IP параметры", 1, 4) and selected_tab() == ["IP параметры"])

    # A number field read whole: one attribute run over the text. The
    # address fields left on the way are not told as unselected.
    mark = len(events)
    keys("Tab", "Tab", "Tab")
    wait("node field focused", lambda: focused().name == "Идентификатор узла ISC")
    wait("no layered pane around it", lambda: not pyatspi.findAncestor(
         focused(), lambda o: o.getRole() == pyatspi.ROLE_LAYERED_PANE))
    wait("address selected, not unselected", lambda: len(spoken(
         "object:text-selection-changed", "IP адрес", mark)) == 1)
    field = focused()
    run = field.queryText().getAttributeRun(0, False)
    wait("node field reads 0, one run", lambda: (text(field), list(run[1:])) == ("0", [0, 1]))

    # Yellow and white again, and a refused key: told once each, as a
    # notification that shows; the range stays in the description.
    wrong, right, refused = "Недопустимое значение", "Допустимое значение", "Вне диапазона 0–1023"
    for key, said, shown in (("BackSpace", [wrong], ""), ("5", [right], "5"),
                             ("0 0 0 0", [wrong, refused], "5000"), ("BackSpace", [right], "500")):
        mark = len(events)
        keys(*key.split())
        pump(0.5)
        wait(f"{key}: told {said}", lambda: (told(mark), text(field)) == (said, shown), 1)
        description = (wrong + ". 0–1023") if wrong in said else "0–1023"
        wait(f"{key}: description", lambda: field.description == description, 1)

    # A combo box: caption as name, current item as text; its current item,
    # the first or another, takes the focus event as Tab or Shift+Tab enters
    # it and as an arrow key chooses one on the closed combo box.
    for key, item in (("Tab Tab", "QB400"), ("Up", "QB300"), ("Tab shift+Tab", "QB300"), ("Down", "QB400"),
                      ("Down", "QB800")):
        mark = len(events)
        keys(*key.split())
        wait(f"{key}: item {item} focused", lambda: spoken("object:state-changed:focused", item, mark))
        wait(f"combo box Тип holding {item}", lambda: (focused().getRole(), focused().name, text(
             focused())) == (pyatspi.ROLE_COMBO_BOX, "Тип", item))

    # Tab keys from every widget, the combo box included, round both ends:
    # the new tab told by name, and a field that takes the focus selected
    # whole, as by Tab.
    tabs = [t.name for t in find(pyatspi.ROLE_PAGE_TAB_LIST)]
    for key, index in (("ctrl+Tab", 2), ("ctrl+shift+Tab", 1), ("ctrl+Next", 2),
                       ("ctrl+Next", 3), ("ctrl+Prior", 2), ("ctrl+Next", 3),
                       ("ctrl+Tab", 0), ("ctrl+shift+Tab", 3)):
        mark = len(events)
        keys(key)
        wait(f"{key} selects {tabs[index]}", lambda: selected_tab() == [tabs[index]] and
             spoken("object:state-changed:selected", tabs[index], mark))
        wait(f"{key} tells {tabs[index]}", lambda: told(mark) == [tabs[index]])
        wait(f"{key}: field selected", lambda: focused().getRole() != pyatspi.ROLE_TEXT or
             whole_selected(focused()))

    # The frequency displays: number and unit, kept current.
    rx = find(pyatspi.ROLE_TEXT, "Частота приёма, МГц")
    tx = find(pyatspi.ROLE_TEXT, "Частота передачи, МГц")
    wait("displays read 390 and 400 МГц", lambda: (text(rx), text(tx), rx.queryValue().currentValue)
         == ("390 МГц", "400 МГц", 390.0))
    for _ in range(10):
        if focused().name == "Номер канала":
            break
        keys("Tab")
    mark = len(events)
    keys("1", "0", "0")
    wait("displays follow channel 100", lambda: (text(rx), text(tx)) == ("392.5 МГц", "402.5 МГц"))
    wait("display events", lambda: spoken("object:text-changed:insert", tx.name, mark) and
         spoken("object:property-change:accessible-value", rx.name, mark))
    wait("new frequencies told once", lambda: told(mark)[-1:] ==
         ["Частота приёма 392.5 МГц, Частота передачи 402.5 МГц"] and len(told(mark)) == 1, 2)
    for _ in range(4):
        keys("Tab")
        if focused().name == rx.name:
            break
    wait("display reached by Tab", lambda: (focused().name, text(focused())) ==
         (rx.name, "392.5 МГц"))
    keys("shift+Tab")
    wait("back on the channel number", lambda: focused().name == "Номер канала")

    # The mode buttons, entered from below at the checked one; an arrow chooses.
    for key, mode in (("shift+Tab", "Не исп."), ("Down", "В работе"), ("Up", "Не исп.")):
        keys(key)
        wait(f"{key}: {mode} focused, checked", lambda: (focused().name, focused().getState(
             ).contains(pyatspi.STATE_CHECKED)) == (mode, True))

    # A write, one refused for fields on two tabs (a notice with the heading
    # of the one before), then a read and two writes.
    def tab_to(name):
        for _ in range(24):
            if focused().name != name:
                keys("Tab")
    tab_to("Уст. всё кроме IP")
    keys("space")
    notice("Запись", "Успешно")
    tab_to("Номер канала")
    keys("9", "9", "9", "9", "ctrl+Prior", "BackSpace", "ctrl+Next")
    tab_to("Уст. всё кроме IP")
    keys("space")
    notice("Запись", "Не записано. Проверьте поля: «Цветовой код (CC)» на вкладке «TETRA»: 0–15. "
           "«Номер канала» трансивера 1 на вкладке «Трансивер»: 0–4096")
    for key, heading in (("shift+Tab space", "Чтение"), ("Tab space", "Запись"), ("space", "Запись")):
        keys(*key.split())
        notice(heading, "Успешно")
finally:
    cleanup()
print("FAIL" if failures else "PASS")
sys.exit(1 if failures else 0)
