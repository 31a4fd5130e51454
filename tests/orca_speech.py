"""What Orca logs it says as an operator works the program by keys (atspi_window.py PROGRAM --orca)."""
import collections, os, re, subprocess, threading, time, tty  # noqa: E401
# Keys, then what Orca says after them, in this order; a notice's message and button once.
STEPS = ((("Return",), "IP параметры", "page tab"), (("shift+Tab",) * 2, "Читать всё кроме IP"),
         (("space",), "alert", "Чтение", "Успешно", "OK"), (("Return",), "Читать всё кроме IP"), (("Tab",), "Уст. всё"),
         (("space",), "alert", "Запись", "Успешно", "OK"), (("Return",), "Уст. всё"), (("Tab",), "IP параметры"),
         (("Tab",) * 5, "Тип", "combo box", "QB400"), (("Down",), "QB800"), (("ctrl+Prior",), "Конфигурация антенны",
         "combo box", "RX 1&2", "АФУ"), (("ctrl+Prior",), "Трансивер"), (("Tab",) * 2, "Номер канала"),
         (("1", "0", "0"), "Частота приёма 392.5 МГц, Частота передачи 402.5 МГц"), (("ctrl+Prior",), "TETRA"),
         (("ctrl+Next",), "Номер канала", "Трансивер"), (("5", "0", "0"), "Частота приёма 402.5 МГц, Частота передачи 412.5 МГц"),
         (("BackSpace",) * 3, "Недопустимое значение"), (("1",), "Допустимое значение", "Частота приёма 390.025 МГц"))
def run(program, start):  # noqa: E302
    master, slave = os.openpty()  # a terminal, which Orca writes a line at a time
    tty.setraw(slave)
    log, failures, home = [], [], os.environ["HOME"]
    threading.Thread(target=lambda: log.extend(iter(lambda: os.read(master, 65536), b"")), daemon=True).start()
    heard = lambda: re.findall(r"SPEECH OUTPUT: '(.*?)'(?=[ {\r\n]|$)", b"".join(log).decode(errors="replace"))
    # No speech server starts, and Orca logs what it would say.
    os.environ.update(SPEECHD_CMD="/bin/false", SPEECHD_ADDRESS=f"unix_socket:{home}/none")
    start("orca", "-u", home, "--debug", "--debug-file", os.ttyname(slave))
    def wait(what, since, said, once=0, seconds=45):  # noqa: E306
        end = time.monotonic() + seconds
        while True:
            spoken, told = " ".join(heard()[since:]), " ".join(heard()[once:])
            ok = re.search(".*".join(map(re.escape, said)), spoken) and max(map(told.count, ("Успешно", "OK"))) < 2 \
                and not ("alert" in said and "Нет связи" in spoken)  # a later notice without the first's message
            if ok or time.monotonic() > end:
                return print("ok:" if ok else "FAIL:", what, "|", spoken) or ok or failures.append(what)
            time.sleep(0.2)
    wait("Orca started", 0, ["Screen reader on"], seconds=120)
    errors = open(os.path.join(home, "stderr"), "w+")
    start(program, stderr=errors)
    wait("start-up notice", 0, ["Соединение", "Нет связи. Включён демо-режим", "OK"], seconds=120)
    once = 0  # since the last notice
    for keys, *said in STEPS:
        mark = len(heard())
        once = mark if "alert" in said else once
        subprocess.run(["xdotool", "key", "--delay", "100", *keys], check=True, timeout=60)
        wait(" ".join(keys), mark, said, once)
    errors.seek(0)  # what Qt's AT-SPI bridge warns of: events it drops, objects it cannot find
    warned = re.findall(r"(?m)^.*(?:qt\.accessibility\.atspi|Accessible invalid|Could not find accessible).*$",
                        errors.read())
    kinds = collections.Counter(re.sub(r'"/org/a11y/\S*', "PATH", line) for line in warned)
    print(f"{'ok:' if len(warned) < 10 else 'FAIL:'} {len(warned)} AT-SPI warnings",
          *(f"{n} x {k}" for k, n in kinds.items()), sep="\n  ")
    return failures + ["AT-SPI warnings"] * (len(warned) >= 10)
